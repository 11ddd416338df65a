#pragma once
// The host the common-dialog library asks for the product's texts and
// services. Observers (CommonDialogs::IHost::IObserver) are told by
// NotifyObservers; one removed during a notification is not called after
// its removal.
// Threads: NotifyObservers may run on any thread; the observer list guards
// itself and no lock is held while an observer runs.
#include "appframework/product/ProductInfo.h"
#include "commondialogs/CommonDialogs.h"
#include "foundation/sync/GuardedPtrList.h"

namespace ApplicationFramework {

class CommonDialogHost : public CommonDialogs::IHost {
public:
    explicit CommonDialogHost(ProductInfo& productInfo) : m_productInfo(productInfo) {}

    void NotifyObservers() override;
    int GetHostCode() override { return 31; }
    int GetHostSubCode() override { return 6; }
    std::wstring GetFullProductName() override { return m_productInfo.GetFullProductName(); }
    std::wstring GetHostTextA() override { return m_productInfo.GetHostTextA(); }
    std::wstring GetUpdateAddress() override { return m_productInfo.GetUpdateAddress(); }
    std::wstring GetHostTextB() override { return m_productInfo.GetHostTextB(); }
    void ExpandWindowText(CWnd* window) override { m_productInfo.ExpandWindowText(window); }

    // False when already listed.
    bool AddObserver(IObserver* observer) { return m_observers.Add(observer); }
    // Waits for notifications of other threads in progress (bounded).
    bool RemoveObserver(IObserver* observer) { return m_observers.Remove(observer); }

private:
    Synchronization::GuardedPtrList m_observers;
    ProductInfo& m_productInfo;
};

}  // namespace ApplicationFramework
