#pragma once
// The framework's application classes completed for tests, over product
// values the test chooses. One application object may exist at a time.
#include "appframework/application/ApplicationBase.h"
#include "appframework/product/ProductInfo.h"
#include "foundation/tests/RecordingSink.h"

#include <afxwin.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace AppFrameworkTests {

class FakeProductValues : public ApplicationFramework::IProductValues {
public:
    std::wstring GetValue(ApplicationFramework::ProductValue value) override {
        const auto found = values.find(value);
        return found == values.end() ? std::wstring() : found->second;
    }

    std::map<ApplicationFramework::ProductValue, std::wstring> values;
};

// Product values named "<name>", initialised.
class TestProduct {
public:
    explicit TestProduct(const std::wstring& productName) : info(&values) {
        values.values[ApplicationFramework::ProductValue::ProductName] = productName;
        info.Initialize();
    }

    FakeProductValues values;
    ApplicationFramework::ProductInfo info;
};

class TestApplication : public ApplicationFramework::ApplicationBase {
public:
    explicit TestApplication(ApplicationFramework::ProductInfo& info) : ApplicationBase(info, nullptr) {}

    bool Initialize() override { return true; }
    bool StartApplication() override { return true; }
    void GetApplicationString(std::wstring& text, int id) override {
        if (getString)
            getString(text, id);
        else
            text.clear();
    }
    void GetResourcesFolder(std::wstring& folder) override { folder.clear(); }
    void GetConfiguredLanguageName(std::wstring& name) override { name.clear(); }
    void GetCommonDialogsTextA(std::wstring& text) override { text = L"en-us"; }
    void GetCommonDialogsTextB(std::wstring& text) override { text = L"orangeblack"; }
    bool InitializeResources(const std::wstring&) override { return true; }
    void ShutdownResources() override { calls.push_back(L"ShutdownResources"); }
    void RegisterResourceObserver() override { calls.push_back(L"RegisterResourceObserver"); }
    void UnregisterResourceObserver() override { calls.push_back(L"UnregisterResourceObserver"); }
    bool SetResourcesLanguage(const std::wstring&) override { return true; }
    bool SetResourcesSkin(const std::wstring&) override { return true; }
    bool InitializeCommonDialogs() override { return true; }

    void SetResourceFolderConfigured(bool configured) { m_isResourceFolderConfigured = configured; }

    std::function<void(std::wstring&, int)> getString;
    std::vector<std::wstring> calls;
};

// Some report of the sink holds the check text.
inline bool HasReport(const FoundationTests::RecordingSink& sink, const std::wstring& checkText) {
    for (const FoundationTests::Report& report : sink.reports) {
        if (report.text.find(checkText) != std::wstring::npos)
            return true;
    }
    return false;
}

}  // namespace AppFrameworkTests
