#include "afxdisp.h"
#include "afxwin.h"

#include "atlexemodule.h"

#include "MfcTestResources.h"
#include "MfcTestSupport.h"
#include "testing/ChildProcess.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace MfcTests;

namespace {

class CTestApp : public CWinApp {
public:
    explicit CTestApp(LPCWSTR name = L"Brunlow MFC Test App") : CWinApp(name) {}
    int exitCalls = 0;
    int exitCode = -1;  // -1: the base's result

    int ExitInstance() override {
        ++exitCalls;
        int result = CWinApp::ExitInstance();
        return exitCode == -1 ? result : exitCode;
    }
};

// Destroys itself a moment after it is created, as a user closing it would.
class CClosingWindow : public CWnd {
protected:
    afx_msg void OnTimer(UINT_PTR) {
        KillTimer(1);
        DestroyWindow();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CClosingWindow, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(CWinApp, RunWithoutMainWindowReturnsAtOnce) {
    CTestApp app;
    app.exitCode = 7;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxGetThread(), &app);
    EXPECT_EQ(app.Run(), 7);
    EXPECT_EQ(app.exitCalls, 1);
}

TEST(CWinApp, RunEndsWhenTheMainWindowIsDestroyed) {
    CTestApp app;
    CClosingWindow window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, L"Main", WS_POPUP, Area(), nullptr, 0));
    app.m_pMainWnd = &window;
    EXPECT_EQ(AfxGetMainWnd(), &window);
    window.SetTimer(1, 50);
    int result = -1;
    {
        LoopWatchdog watchdog(10000);
        result = app.Run();
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_EQ(result, 0);  // the WM_QUIT posted by the main window's end
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_EQ(app.exitCalls, 1);
}

// An application whose start-up makes a main window that closes itself.
class CStartingApp : public CTestApp {
public:
    bool succeed = true;
    BOOL InitInstance() override {
        window = std::make_unique<CClosingWindow>();
        if (!window->CreateEx(0, nullptr, L"Main", WS_POPUP, Area(), nullptr, 0))
            return FALSE;
        m_pMainWnd = window.get();
        if (!succeed)
            return FALSE;
        window->SetTimer(1, 50);
        return TRUE;
    }
    std::unique_ptr<CClosingWindow> window;
};

TEST(CWinApp, AfxWinMainRunsInitInstanceRunAndExitInstance) {
    CStartingApp app;
    wchar_t commandLine[] = L"/Register";
    int result = -1;
    {
        LoopWatchdog watchdog(10000);
        result = AfxWinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_HIDE);
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(app.exitCalls, 1);
    EXPECT_STREQ(app.m_lpCmdLine, L"/Register");
    EXPECT_EQ(app.m_nCmdShow, SW_HIDE);
}

TEST(CWinApp, FailedInitInstanceDestroysTheMainWindowAndExits) {
    CStartingApp app;
    app.succeed = false;
    wchar_t commandLine[] = L"";
    EXPECT_EQ(AfxWinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_HIDE), 0);
    EXPECT_EQ(app.exitCalls, 1);
    EXPECT_EQ(app.window->m_hWnd, nullptr);
    DropQuitMessage();  // posted by the main window's destruction
}

// The profile of a test application under a unique registry key.
class ProfileTest : public testing::Test {
protected:
    void SetUp() override {
        // "Software\<key>" is the temporary key; the application adds its name.
        std::wstring key = temporary.SubKey().substr(std::wstring(L"Software\\").size());
        app.SetRegistryKey(key.c_str());
    }
    Testing::TempRegistryKey temporary;
    CTestApp app{L"Profile App"};
};

TEST_F(ProfileTest, ValuesRoundTripThroughTheRegistry) {
    EXPECT_TRUE(app.WriteProfileInt(L"Settings", L"Count", -12));
    EXPECT_TRUE(app.WriteProfileString(L"Settings", L"Name", L"text value"));
    BYTE bytes[] = {1, 2, 0, 255};
    EXPECT_TRUE(app.WriteProfileBinary(L"Usage", L"Blob", bytes, sizeof(bytes)));

    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Settings", L"Count", 5)), -12);
    EXPECT_EQ(app.GetProfileString(L"Settings", L"Name", L"default"), L"text value");
    LPBYTE read = nullptr;
    UINT size = 0;
    ASSERT_TRUE(app.GetProfileBinary(L"Usage", L"Blob", &read, &size));
    std::unique_ptr<BYTE[]> owned(read);
    ASSERT_EQ(size, sizeof(bytes));
    EXPECT_EQ(memcmp(read, bytes, size), 0);

    // The values lie in Software\<key>\<application>\<section>.
    DWORD value = 0, valueSize = sizeof(value);
    std::wstring path = temporary.SubKey() + L"\\Profile App\\Settings";
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, path.c_str(), L"Count", RRF_RT_REG_DWORD, nullptr, &value, &valueSize),
              ERROR_SUCCESS);
    EXPECT_EQ(static_cast<int>(value), -12);
}

TEST_F(ProfileTest, ReadsOfMissingOrMistypedValuesGiveTheDefault) {
    app.WriteProfileString(L"Settings", L"Text", L"42");
    app.WriteProfileInt(L"Settings", L"Number", 42);
    struct Case {
        const wchar_t* section;
        const wchar_t* entry;
    } cases[] = {{L"Settings", L"Text"}, {L"Settings", L"Missing"}, {L"NoSuchSection", L"Number"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.section) + L"/" + c.entry));
        EXPECT_EQ(static_cast<int>(app.GetProfileInt(c.section, c.entry, -3)), -3);
    }
    EXPECT_EQ(app.GetProfileString(L"Settings", L"Number", L"fallback"), L"fallback");
    EXPECT_EQ(app.GetProfileString(L"Settings", L"Missing"), L"");
    LPBYTE data = reinterpret_cast<LPBYTE>(1);
    UINT size = 9;
    EXPECT_FALSE(app.GetProfileBinary(L"Settings", L"Text", &data, &size));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
}

TEST_F(ProfileTest, NullValueDeletesTheEntryAndNullEntryTheSection) {
    app.WriteProfileString(L"Settings", L"A", L"1");
    app.WriteProfileString(L"Settings", L"B", L"2");
    EXPECT_TRUE(app.WriteProfileString(L"Settings", L"A", nullptr));
    EXPECT_EQ(app.GetProfileString(L"Settings", L"A", L"gone"), L"gone");
    EXPECT_EQ(app.GetProfileString(L"Settings", L"B"), L"2");
    EXPECT_TRUE(app.WriteProfileString(L"Settings", nullptr, nullptr));
    EXPECT_EQ(app.GetProfileString(L"Settings", L"B", L"gone"), L"gone");
}

TEST(CWinApp, WithoutRegistryKeyThereIsNoProfile) {
    CTestApp app;
    EXPECT_FALSE(app.WriteProfileInt(L"Settings", L"Count", 1));
    EXPECT_EQ(app.GetProfileInt(L"Settings", L"Count", 9), 9u);
    EXPECT_EQ(app.GetProfileString(L"Settings", L"Name", L"d"), L"d");
}

TEST(CCommandLineInfo, RecognisesTheRegistrationRequests) {
    struct Case {
        const wchar_t* commandLine;
        int shellCommand;
        bool embedded;
        const wchar_t* fileName;
    } cases[] = {
        {L"", CCommandLineInfo::FileNew, false, L""},
        {L"/Register", CCommandLineInfo::AppRegister, false, L""},
        {L"-regserver", CCommandLineInfo::AppRegister, false, L""},
        {L"/Unregister", CCommandLineInfo::AppUnregister, false, L""},
        {L"/UNREGSERVER", CCommandLineInfo::AppUnregister, false, L""},
        {L"/Embedding", CCommandLineInfo::FileNew, true, L""},
        {L"\"C:\\some folder\\video.flv\"", CCommandLineInfo::FileOpen, false, L"C:\\some folder\\video.flv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.commandLine)));
        CTestApp app;
        std::wstring line(c.commandLine);
        app.m_lpCmdLine = &line[0];
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        EXPECT_EQ(info.m_nShellCommand, c.shellCommand);
        EXPECT_EQ(info.m_bRunEmbedded != FALSE, c.embedded);
        EXPECT_EQ(info.m_strFileName, c.fileName);
        app.m_lpCmdLine = nullptr;
    }
}

// A class factory for the registration request; COM never calls it here.
class CNoFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

TEST(CCommandLineInfo, RegistrationRequestsRunOnTheComModule) {
    CLSID clsid;
    CoCreateGuid(&clsid);
    wchar_t guid[40];
    StringFromGUID2(clsid, guid, 40);
    const std::wstring serverKey = std::wstring(L"CLSID\\") + guid + L"\\LocalServer32";
    CNoFactory factory;
    CAtlExeModule module;
    ASSERT_EQ(module.AddClassObject(clsid, &factory, L"Registration test"), S_OK);

    for (const wchar_t* request : {L"/Register", L"/Unregister"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(request)));
        CTestApp app;
        std::wstring line(request);
        app.m_lpCmdLine = &line[0];
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        app.m_lpCmdLine = nullptr;
        HRESULT hr = E_FAIL;
        if (info.m_nShellCommand == CCommandLineInfo::AppRegister)
            hr = module.RegisterServer(TRUE);
        else if (info.m_nShellCommand == CCommandLineInfo::AppUnregister)
            hr = module.UnregisterServer(TRUE);
        EXPECT_EQ(hr, S_OK);
        HKEY key = nullptr;
        LSTATUS status = RegOpenKeyExW(HKEY_CLASSES_ROOT, serverKey.c_str(), 0, KEY_READ, &key);
        if (key)
            RegCloseKey(key);
        EXPECT_EQ(status == ERROR_SUCCESS, info.m_nShellCommand == CCommandLineInfo::AppRegister);
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + guid).c_str());
}

TEST(AfxMessageBox, GoesThroughTheSeamWithTheApplicationsName) {
    CTestApp app(L"Caption App");
    MessageBoxAnswer answer(IDYES);
    EXPECT_EQ(AfxMessageBox(L"Proceed?", MB_YESNO), IDYES);
    EXPECT_EQ(answer.Count(), 1);
    EXPECT_EQ(answer.Text(), L"Proceed?");
    EXPECT_EQ(answer.Caption(), L"Caption App");
    EXPECT_EQ(answer.Type(), static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(AfxMessageBox(IDS_PROMPT, MB_OK | MB_ICONERROR), IDYES);
    EXPECT_EQ(answer.Text(), L"A prompt from the string table");
    EXPECT_EQ(answer.Type(), static_cast<UINT>(MB_OK | MB_ICONERROR));
}

DWORD WINAPI OleScenario(LPVOID) {
    EXPECT_TRUE(AfxOleInit());
    EXPECT_TRUE(AfxOleInit());  // counted once
    // COM works now on this thread in the apartment model.
    IUnknown* unknown = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&unknown)),
              S_OK);
    if (unknown)
        unknown->Release();
    AfxOleTerm(TRUE);  // only revoking: still initialised
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    AfxOleTerm(FALSE);
    AfxOleTerm(FALSE);  // a second end does nothing
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
    return 0;
}

TEST(AfxOle, InitialisesOnceAndTerminatesOnce) {
    // On a thread of its own, so the test thread's COM state is untouched.
    HANDLE thread = CreateThread(nullptr, 0, &OleScenario, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
    CloseHandle(thread);
    AfxEnableControlContainer();
    EXPECT_TRUE(AfxIsControlContainerEnabled());
}

}  // namespace

namespace {

std::vector<std::string> g_translated;

class CRecordingWnd : public CWnd {
public:
    explicit CRecordingWnd(const char* name) : m_name(name) {}
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_APP + 7)
            g_translated.push_back(m_name);
        return FALSE;
    }

private:
    const char* m_name;
};

// Closes itself when asked with WM_APP + 8.
class CRecordingMain : public CRecordingWnd {
public:
    CRecordingMain() : CRecordingWnd("main") {}

protected:
    afx_msg LRESULT OnClose8(WPARAM, LPARAM) {
        DestroyWindow();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingMain, CRecordingWnd)
    ON_MESSAGE(WM_APP + 8, &CRecordingMain::OnClose8)
END_MESSAGE_MAP()

TEST(CWinApp, RunPreTranslatesThroughTheWindowChainToTheMainWindow) {
    g_translated.clear();
    CTestApp app;
    CRecordingMain main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"Main", WS_POPUP, Area(), nullptr, 0));
    CRecordingWnd child("child");
    ASSERT_TRUE(child.Create(nullptr, L"", 0, CRect(0, 0, 10, 10), &main, 1));
    CRecordingWnd other("other");
    ASSERT_TRUE(other.CreateEx(0, nullptr, L"Other", WS_POPUP, Area(), nullptr, 0));
    app.m_pMainWnd = &main;

    child.PostMessage(WM_APP + 7);
    other.PostMessage(WM_APP + 7);
    main.PostMessage(WM_APP + 8);
    {
        LoopWatchdog watchdog(10000);
        app.Run();
        EXPECT_FALSE(watchdog.Fired());
    }
    // The child's chain ends at the main window; another top-level window's
    // message gets the main window as its last chance.
    EXPECT_EQ(g_translated, (std::vector<std::string>{"child", "main", "other", "main"}));
}

}  // namespace

namespace {

// Starts the entry probe beside the test program and gives its exit code.
DWORD RunEntryProbe(const std::wstring& arguments) {
    const Testing::ChildResult result = Testing::RunProgram(L"mfc_entry_probe.exe", arguments, {}, 30000);
    return result.started && !result.timedOut ? result.exitCode : 0xFFFFFFFF;
}

TEST(AfxWinMain, TheLibrarysEntryPointStartsAProgramsApplicationObject) {
    EXPECT_EQ(RunEntryProbe(L"/Register"), 42u);
    EXPECT_EQ(RunEntryProbe(L"\"a file.txt\""), 7u);
}

}  // namespace
