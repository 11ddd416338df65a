#pragma once
// What Library::CreateConsoleApplication hands out: forwards every operation
// to its ConsoleApplicationImpl; the last owner's release runs the destroy
// sequence. Tasks that outlive the proxy keep the Impl alive themselves.
#include "appframework/serviceclient/ConsoleApplicationImpl.h"

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

namespace GenericServiceClient {

class ConsoleApplicationProxy : public IConsoleApplication,
                                public boost::enable_shared_from_this<ConsoleApplicationProxy> {
public:
    explicit ConsoleApplicationProxy(boost::shared_ptr<ConsoleApplicationImpl> pImpl) : m_pImpl(std::move(pImpl)) {}
    ~ConsoleApplicationProxy() override {
        if (m_pImpl)
            m_pImpl->Destroy();
    }
    ConsoleApplicationProxy(const ConsoleApplicationProxy&) = delete;
    ConsoleApplicationProxy& operator=(const ConsoleApplicationProxy&) = delete;

    std::wstring GetPath() override { return m_pImpl->GetPath(); }
    void SetPath(const wlitestring& path) override { m_pImpl->SetPath(path); }
    std::wstring GetParameters() override { return m_pImpl->GetParameters(); }
    void SetParameters(const wlitestring& parameters) override { m_pImpl->SetParameters(parameters); }
    bool Start(bool flag) override { return m_pImpl->Start(flag); }
    bool Query6() override { return m_pImpl->Query6(); }
    bool SendValue14(std::int32_t value) override { return m_pImpl->SendValue14(value); }
    bool SendValue15(std::int32_t value) override { return m_pImpl->SendValue15(value); }
    void Signal16() override { m_pImpl->Signal16(); }
    std::int32_t GetNumber() override { return m_pImpl->GetNumber(); }
    bool GetFlag() override { return m_pImpl->GetFlag(); }

private:
    boost::shared_ptr<ConsoleApplicationImpl> m_pImpl;
};

}  // namespace GenericServiceClient
