#include "shell/app/BrunlowApp.h"

#include "downloads/engine/EngineLibrary.h"
#include "engine/EngineTestDoor.h"
#include "foundation/errors/ErrorException.h"
#include "foundation/tests/RecordingSink.h"
#include "controls/label/TextLabel.h"
#include "testing/ChildProcess.h"
#include "testing/CopiedProgram.h"
#include "appframework/tests/TestApplication.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The application object over product values of its own.
struct TestBrunlowApp {
    AppFrameworkTests::TestProduct product{L"Brunlow Accessor Tests"};
    CBrunlowApp app{product.info};
};

KavennaEngine::TestDoor::ITestDoor* Door() {
    const HMODULE module = ::GetModuleHandleW(KavennaEngine::kLibraryFileName);
    const auto entry = module ? reinterpret_cast<KavennaEngine::TestDoor::Entry>(
                                    ::GetProcAddress(module, KavennaEngine::TestDoor::kEntryPointName))
                              : nullptr;
    return entry ? entry() : nullptr;
}

std::size_t CountCalls(const std::wstring& call) {
    const std::vector<std::wstring> lines = Door()->GetCallLog();
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::wstring& line) { return line.compare(0, call.size() + 1, call + L" ") == 0; });
}

void ExpectRaises(const std::function<void()>& call, const char* checkText) {
    try {
        call();
        ADD_FAILURE() << "no report of " << checkText;
    } catch (const ErrorHandling::ErrorException& error) {
        EXPECT_NE(std::string::npos, std::string(error.what()).find(checkText)) << error.what();
    }
}

TEST(BrunlowAppAccessors, EngineIsAskedForOnceAndKept) {
    ASSERT_TRUE(KavennaEngine::GetBoundLibrary()) << "the engine library was bound before main";
    ASSERT_TRUE(Door());
    TestBrunlowApp testApp;
    CBrunlowApp& app = testApp.app;
    Door()->ClearCallLog();
    const boost::shared_ptr<KavennaEngine::IEngine> pFirst = app.GetKavennaEngine();
    const boost::shared_ptr<KavennaEngine::IEngine> pSecond = app.GetKavennaEngine();
    ASSERT_TRUE(pFirst);
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_EQ(1u, CountCalls(L"CreateEngine"));
    EXPECT_EQ(pFirst, Brunlow::AppAccess::GetKavennaEngine()) << "the list's layer reaches the same engine";
}

TEST(BrunlowAppAccessors, EmptyMembersReportTheirChecks) {
    TestBrunlowApp testApp;
    ExpectRaises([] { CBrunlowApp::GetSettings(); }, "((m_pSettings))");
    ExpectRaises([] { CBrunlowApp::GetSkinManager(); }, "((m_pSkinManager))");
    ExpectRaises([] { Brunlow::AppAccess::GetSettings(); }, "((m_pSettings))");
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    EXPECT_EQ(nullptr, CBrunlowApp::GetSettings());
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Assertion, sink.reports[0].severity);
}

TEST(BrunlowAppAccessors, DialogLabelTextsReachOnlyLabels) {
    CWnd dialog;
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, L"Dialog", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    CTextLabel label;
    ASSERT_TRUE(::CreateWindowExW(0, L"STATIC", L"before", WS_CHILD, 0, 0, 100, 20, dialog.m_hWnd,
                                  reinterpret_cast<HMENU>(1001), nullptr, nullptr));
    ASSERT_TRUE(label.SubclassDlgItem(1001, &dialog));
    ::CreateWindowExW(0, L"STATIC", L"plain", WS_CHILD, 0, 30, 100, 20, dialog.m_hWnd,
                      reinterpret_cast<HMENU>(1002), nullptr, nullptr);

    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    struct Case {
        CWnd* pDlg;
        UINT id;
        bool result;
        const wchar_t* report;
    } cases[] = {
        {&dialog, 1001, true, nullptr},
        {nullptr, 1001, false, L"((pDlg))"},
        {&dialog, 1003, false, L"((pItem))"},
        {&dialog, 1002, false, L"((pLabel))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        sink.reports.clear();
        EXPECT_EQ(c.result, SetDlgLabelText(c.pDlg, c.id, wlitestring(L"after")));
        if (c.report) {
            ASSERT_EQ(1u, sink.reports.size());
            EXPECT_EQ(Reporting::Error, sink.reports[0].severity);
            EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(c.report));
        } else {
            EXPECT_TRUE(sink.reports.empty());
        }
    }
    CString text;
    label.GetWindowText(text);
    EXPECT_STREQ(L"after", text);
    wchar_t plain[16] = {};
    ::GetDlgItemTextW(dialog.m_hWnd, 1002, plain, 16);
    EXPECT_STREQ(L"plain", plain) << "a control that is no label is left alone";
    label.UnsubclassWindow();
    dialog.DestroyWindow();
}

TEST(BrunlowAppAccessors, WithoutAnApplicationTheLayerReports) {
    ASSERT_EQ(nullptr, CBrunlowApp::GetApp());
    ExpectRaises([] { Brunlow::AppAccess::GetSettings(); }, "((m_pSettings))");
    ExpectRaises([] { Brunlow::AppAccess::GetSkinManager(); }, "((m_pSkinManager))");
    ExpectRaises([] { Brunlow::AppAccess::GetKavennaEngine(); }, "((m_pKavennaEngine))");
}

// Beside a copy of the tests without the engine library.
TESTING_CHILD_SCENARIO(EngineWithoutLibrary) {
    if (KavennaEngine::GetBoundLibrary())
        return 2;
    TestBrunlowApp testApp;
    CBrunlowApp& app = testApp.app;
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    if (app.GetKavennaEngine())
        return 3;
    if (sink.reports.size() != 1 || sink.reports[0].text.find(L"((m_pKavennaEngine))") == std::wstring::npos)
        return 4;
    return 0;
}

TEST(BrunlowAppAccessors, MissingEngineLibraryIsReportedNotACrash) {
    Testing::CopiedProgram program;
    EXPECT_TRUE(Testing::ChildSucceeded(program.Run("EngineWithoutLibrary")));
}

// A library without the export, or whose export gives nothing, binds to nothing.
TEST(BrunlowAppAccessors, LibraryWithoutTheExportBindsNothing) {
    Testing::CopiedProgram program;
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_FALSE(KavennaEngine::BindLibrary(std::wstring(system) + L"\\version.dll"));
    EXPECT_EQ(nullptr, KavennaEngine::GetBoundLibrary());
    EXPECT_FALSE(KavennaEngine::BindLibrary(program.BinFolder() + L"\\nothing.dll"));
    EXPECT_TRUE(KavennaEngine::BindLibrary(KavennaEngine::GetDefaultLibraryPath()));
    EXPECT_NE(nullptr, KavennaEngine::GetBoundLibrary());
}

}  // namespace
