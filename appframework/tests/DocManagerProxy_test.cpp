// The application's document manager is a proxy over the toolkit's: one
// proxy however many templates, every operation forwarded, and closing all
// documents starts the shutdown first.
#include "TestApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace AppFrameworkTests;
using ApplicationFramework::DocManagerProxy;

namespace {

class ClosingApplication : public TestApplication {
public:
    using TestApplication::TestApplication;
    void _BeginShutdownOnClose() override {
        events.push_back(L"BeginShutdownOnClose:" + std::to_wstring(m_pDocManager ? 1 : 0));
    }
    CDocManager* DocManager() const { return m_pDocManager; }
    std::vector<std::wstring> events;
};

// Records that the toolkit's manager was reached, after the shutdown step.
class RecordingDocManager : public CDocManager {
public:
    explicit RecordingDocManager(std::vector<std::wstring>& events) : m_events(events) {}
    void CloseAllDocuments(BOOL bEndSession) override {
        m_events.push_back(L"CloseAllDocuments:" + std::to_wstring(bEndSession));
        CDocManager::CloseAllDocuments(bEndSession);
    }
    int GetOpenDocumentCount() override { return 7; }

private:
    std::vector<std::wstring>& m_events;
};

CDocTemplate* NewTemplate() {
    return new CSingleDocTemplate(1, RUNTIME_CLASS(CDocument), RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CView));
}

int CountTemplates(CDocManager& manager) {
    int count = 0;
    for (POSITION pos = manager.GetFirstDocTemplatePosition(); pos;) {
        if (manager.GetNextDocTemplate(pos))
            ++count;
    }
    return count;
}

TEST(DocManagerProxy, OneProxyForwardsAndStartsTheShutdownOnceBeforeClosing) {
    TestProduct product(L"BrunlowDocProxy");
    ClosingApplication app(product.info);
    app.AddDocTemplate(NewTemplate());
    DocManagerProxy* const pProxy = app.GetDocManagerProxy();
    ASSERT_NE(nullptr, pProxy);
    app.AddDocTemplate(NewTemplate());
    EXPECT_EQ(pProxy, app.GetDocManagerProxy()) << "a second template keeps the one proxy";
    EXPECT_EQ(pProxy, app.DocManager());
    ASSERT_NE(nullptr, pProxy->GetImpl());
    EXPECT_EQ(2, CountTemplates(*pProxy->GetImpl())) << "both templates reached the toolkit's manager";
    EXPECT_EQ(2, CountTemplates(*pProxy));
    EXPECT_EQ(0, pProxy->GetOpenDocumentCount());

    pProxy->CloseAllDocuments(FALSE);
    EXPECT_EQ(std::vector<std::wstring>{L"BeginShutdownOnClose:1"}, app.events);
}

TEST(DocManagerProxy, ShutdownStepRunsBeforeTheToolkitCloses) {
    TestProduct product(L"BrunlowDocProxyOrder");
    ClosingApplication app(product.info);
    RecordingDocManager toolkit(app.events);
    ApplicationFramework::DocManagerProxy proxy(&toolkit, app);
    EXPECT_EQ(7, proxy.GetOpenDocumentCount());
    proxy.CloseAllDocuments(TRUE);
    EXPECT_EQ((std::vector<std::wstring>{L"BeginShutdownOnClose:0", L"CloseAllDocuments:1"}), app.events);
}

TEST(DocManagerProxy, WithoutTheToolkitsManagerEveryOperationIsEmpty) {
    TestProduct product(L"BrunlowDocProxyEmpty");
    ClosingApplication app(product.info);
    ApplicationFramework::DocManagerProxy proxy(nullptr, app);
    CString name;
    POSITION pos = nullptr;
    EXPECT_EQ(nullptr, proxy.GetFirstDocTemplatePosition());
    EXPECT_EQ(nullptr, proxy.GetNextDocTemplate(pos));
    EXPECT_EQ(nullptr, proxy.OpenDocumentFile(L"C:\\none.txt"));
    EXPECT_FALSE(proxy.SaveAllModified());
    EXPECT_EQ(0, proxy.GetOpenDocumentCount());
    EXPECT_FALSE(proxy.DoPromptFileName(name, 0, 0, TRUE, nullptr));
    wchar_t command[] = L"[open(\"x\")]";
    EXPECT_FALSE(proxy.OnDDECommand(command));
    proxy.AddDocTemplate(nullptr);
    proxy.RegisterShellFileTypes(TRUE);
    proxy.UnregisterShellFileTypes();
    proxy.OnFileNew();
    proxy.OnFileOpen();
    proxy.CloseAllDocuments(FALSE);
    EXPECT_EQ(std::vector<std::wstring>{L"BeginShutdownOnClose:0"}, app.events);
}

}  // namespace
