// The start-up and exit sequences, run once per child through AfxWinMain.
// The child's application records every step, report and message box, one
// line each, into a file the parent reads; its HKEY_CURRENT_USER is a test
// key whose shell folders point into the test's tree, so neither the profile
// nor the crash handler's files touch the real user.
#include "appframework/application/ApplicationBase.h"

#include "TestApplication.h"
#include "appframework/serviceclient/Library.h"
#include "foundation/errors/ReportingObject.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/system/AutoHandle.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "testing/CopiedProgram.h"
#include "testing/TempRegistryKey.h"

#include <afxwin.h>
#include <shlwapi.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

using ApplicationFramework::ApplicationBase;

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
// A class of the test module, registered at "/Register".
const CLSID kTestClass = {0x5b2f0d1e, 0x7a43, 0x4c61, {0x9e, 0x0b, 0x3d, 0x52, 0x18, 0xa7, 0x66, 0x41}};
const wchar_t kTestClassKey[] = L"CLSID\\{5B2F0D1E-7A43-4C61-9E0B-3D5218A76641}";

std::wofstream g_record;

void Record(const std::wstring& line) {
    g_record << line << std::endl;
}

class RecordingReports : public Reporting::ReportingObject::Notifications {
public:
    int OnReport(Reporting::ReportingObject&, const wlitestring& text, Reporting::Severity) override {
        Record(L"Report " + text.str());
        return 0;
    }
};

int RecordMessageBox(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    Record(std::wstring(L"MessageBox ") + text + L"|" + caption + L"|" + std::to_wstring(type));
    return IDOK;
}

class TestFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** ppv) override {
        *ppv = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

HRESULT FailingExtraRegistration(CAtlExeModule&) { return E_ACCESSDENIED; }

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The application of a scenario; options say how its steps act.
class StartupApplication : public ApplicationBase {
public:
    StartupApplication(ApplicationFramework::ProductInfo& info, CAtlExeModule* pModule, const std::wstring& options)
        : ApplicationBase(info, pModule), m_options(L"," + options + L",") {}

    bool Has(const wchar_t* option) const { return m_options.find(std::wstring(L",") + option + L",") != std::wstring::npos; }
    std::wstring Value(const wchar_t* name) const {
        const std::wstring key = std::wstring(L",") + name + L"=";
        const size_t at = m_options.find(key);
        if (at == std::wstring::npos)
            return std::wstring();
        const size_t start = at + key.size();
        return m_options.substr(start, m_options.find(L',', start) - start);
    }

    bool Initialize() override {
        Record(L"Initialize");
        if (Has(L"initthrow"))
            throw std::runtime_error("initialisation failed");
        if (Has(L"secondcounter"))
            m_pSecondCounter.reset(new ApplicationFramework::MainScopeInstanceCounter());
        if (!Value(L"proflang").empty())
            WriteProfileString(L"Settings", L"Language", Value(L"proflang").c_str());
        WriteProfileString(L"Settings", L"Written", L"yes");
        return !Has(L"initfalse");
    }
    bool StartApplication() override {
        Record(L"StartApplication");
        if (GetClassObjectRegistration())
            Record(L"ClassObjectsRegistered " + std::to_wstring(GetClassObjectRegistration()->IsRegistered()));
        if (Has(L"startfalse"))
            return false;
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = &MainWindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"StartupSequenceMain";
        ::RegisterClassW(&windowClass);
        const HWND window = ::CreateWindowExW(0, L"StartupSequenceMain", L"Startup", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                              100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        m_mainWindow.Attach(window);
        m_pMainWnd = &m_mainWindow;
        if (Has(L"secondcounter"))
            m_pSecondCounter.reset();
        if (Has(L"shown")) {
            // Closed by its window procedure once it has painted.
            RecordSystemImages();
            ::ShowWindow(window, SW_SHOWNOACTIVATE);
            return true;
        }
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        return true;
    }
    void RecordSystemImages() {
        Record(L"SystemImages " + std::to_wstring(m_systemImageList.GetSafeHandle() != nullptr));
    }
    void _BeginShutdown() override { Record(L"_BeginShutdown"); }
    void ShutdownApplication() override {
        Record(L"ShutdownApplication");
        if (Has(L"shutdownthrow"))
            throw std::runtime_error("shutdown failed");
        if (Has(L"shutdownhang"))
            ::Sleep(INFINITE);
    }
    void GetResourcesFolder(std::wstring& folder) override {
        folder = Has(L"nores") ? std::wstring()
                               : FileSystem::GetApplicationFolder().GetSubFolder(L"Resources\\Main").GetPath();
    }
    void GetConfiguredLanguageName(std::wstring& name) override { name = Value(L"lang"); }
    void GetConfiguredSkinName(std::wstring& name) override { name = L"Dark"; }
    void GetCommonDialogsTextA(std::wstring& text) override { text = L"A"; }
    void GetCommonDialogsTextB(std::wstring& text) override { text = L"B"; }
    bool InitializeResources(const std::wstring& folder) override {
        Record(L"InitializeResources");
        if (!::PathFileExistsW(folder.c_str()))
            return false;
        return AppResources::ResourceManagerHolder::InitializeApplication(folder, {});
    }
    void ShutdownResources() override {
        Record(L"ShutdownResources");
        AppResources::ResourceManagerHolder::Disable();
    }
    void RegisterResourceObserver() override { Record(L"RegisterResourceObserver"); }
    void UnregisterResourceObserver() override { Record(L"UnregisterResourceObserver"); }
    bool SetResourcesLanguage(const std::wstring& name) override {
        Record(L"SetResourcesLanguage " + name);
        return !Has(L"setlangfalse");
    }
    bool SetResourcesSkin(const std::wstring& name) override {
        Record(L"SetResourcesSkin " + name);
        return true;
    }
    bool InitializeCommonDialogs() override {
        Record(L"InitializeCommonDialogs");
        return true;
    }
    void _UninitializeCommonDialogs() override {
        Record(L"_UninitializeCommonDialogs");
        ApplicationBase::_UninitializeCommonDialogs();
    }
    bool _ApplyDefaultSkin() override {
        Record(L"_ApplyDefaultSkin");
        return true;
    }
    bool _CheckUpdateNotRunning() override {
        const bool notRunning = ApplicationBase::_CheckUpdateNotRunning();
        Record(L"_CheckUpdateNotRunning " + std::to_wstring(notRunning));
        return notRunning;
    }
    int ExitInstance() override {
        Record(L"ExitInstance");
        const int result = ApplicationBase::ExitInstance();
        Record(L"ClassObjectsAfterExit " + std::to_wstring(GetClassObjectRegistration() != nullptr));
        GenericServiceClient::Library* pLibrary = GenericServiceClient::GetLibrary();
        Record(L"ServiceClientEnabled " + std::to_wstring(pLibrary && pLibrary->IsLibraryEnabled()));
        Record(L"Watchdogs " + std::to_wstring(GetWatchdogStartCount()));
        return result;
    }

    CWnd m_mainWindow;

private:
    std::wstring m_options;
    std::unique_ptr<ApplicationFramework::MainScopeInstanceCounter> m_pSecondCounter;
};

StartupApplication* g_pApp = nullptr;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT && g_pApp && g_pApp->Has(L"shown")) {
        PAINTSTRUCT paint;
        ::BeginPaint(window, &paint);
        ::EndPaint(window, &paint);
        Record(L"Painted");
        ::SetTimer(window, 1, 10, nullptr);
        return 0;
    }
    if (message == WM_TIMER && wParam == 1) {
        ::KillTimer(window, 1);
        if (g_pApp)
            g_pApp->RecordSystemImages();
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (message == WM_CLOSE) {
        if (g_pApp && g_pApp->Has(L"closehook"))
            g_pApp->_BeginShutdownOnClose();
        if (g_pApp)
            g_pApp->m_mainWindow.Detach();
        ::DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY)
        ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

std::vector<std::wstring> Fields(const std::wstring& text) {
    std::vector<std::wstring> fields;
    std::wstringstream stream(text);
    std::wstring field;
    while (std::getline(stream, field, L'|'))
        fields.push_back(field);
    return fields;
}

// Argument: "<product>|<test key>|<record file>|<options>|<command line>".
// Exit code: AfxWinMain's.
TESTING_CHILD_SCENARIO(StartupSequence) {
    std::vector<std::wstring> fields = Fields(Testing::ScenarioArgument());
    fields.resize(5);
    if (!Testing::RedirectCurrentUser(fields[1]))
        return 200;
    g_record.open(std::string(fields[2].begin(), fields[2].end()), std::ios::app);
    RecordingReports reports;
    Reporting::GetModuleReportingObject().SetNotifications(&reports);
    AfxSetMessageBoxHandler(&RecordMessageBox);

    TestFactory factory;
    CAtlExeModule module;
    module.AddClassObject(kTestClass, &factory, L"Startup sequence test class");
    const std::wstring options = fields[3];
    if (options.find(L"failreg") != std::wstring::npos)
        module.m_pfnExtraRegister = &FailingExtraRegistration;

    AppFrameworkTests::TestProduct product(fields[0]);
    StartupApplication app(product.info, &module, options);
    g_pApp = &app;
    std::wstring commandLine = fields[4];
    const int result = AfxWinMain(::GetModuleHandleW(nullptr), nullptr, &commandLine[0], SW_HIDE);
    Record(L"Exit " + std::to_wstring(result));
    g_pApp = nullptr;
    Reporting::GetModuleReportingObject().SetNotifications(nullptr);
    return result;
}

class StartupSequenceTest : public ::testing::Test {
protected:
    StartupSequenceTest() : m_product(L"BrunlowStartup" + Testing::NewGuidText()) {
        m_program.Tree().WriteFile(L"bin\\Resources\\Main\\Metadata.xml", std::string(kMetadata));
        m_program.Tree().WriteFile(L"desktop\\placeholder.txt", "");
        HKEY shellFolders = nullptr;
        ::RegCreateKeyExW(m_key.Handle(), kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &shellFolders,
                          nullptr);
        const std::wstring desktop = m_program.Tree() / L"desktop";
        ::RegSetValueExW(shellFolders, L"Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(desktop.c_str()),
                         static_cast<DWORD>((desktop.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(shellFolders);
    }

    struct Run {
        Testing::ChildResult child;
        std::vector<std::wstring> lines;

        bool Has(const std::wstring& line) const { return IndexOf(line) >= 0; }
        int IndexOf(const std::wstring& line) const {
            for (size_t i = 0; i < lines.size(); ++i) {
                if (lines[i] == line)
                    return static_cast<int>(i);
            }
            return -1;
        }
        bool Contains(const std::wstring& part) const {
            for (const std::wstring& line : lines) {
                if (line.find(part) != std::wstring::npos)
                    return true;
            }
            return false;
        }
        bool HasPrefix(const std::wstring& prefix) const {
            for (const std::wstring& line : lines) {
                if (line.compare(0, prefix.size(), prefix) == 0)
                    return true;
            }
            return false;
        }
        // The lines appear in this order (others may come between).
        ::testing::AssertionResult InOrder(const std::vector<std::wstring>& expected) const {
            int last = -1;
            for (const std::wstring& line : expected) {
                int found = -1;
                for (size_t i = last + 1; i < lines.size(); ++i) {
                    if (lines[i] == line) {
                        found = static_cast<int>(i);
                        break;
                    }
                }
                if (found < 0) {
                    std::wstring all;
                    for (const std::wstring& l : lines)
                        all += l + L"\n";
                    return ::testing::AssertionFailure()
                           << "missing or out of order: " << std::string(line.begin(), line.end()) << "\nrecord:\n"
                           << std::string(all.begin(), all.end());
                }
                last = found;
            }
            return ::testing::AssertionSuccess();
        }
    };

    Run RunScenario(const std::wstring& options, const std::wstring& commandLine = L"",
                    unsigned long timeoutMs = 60000) {
        const std::wstring record = m_program.Tree() / (L"record" + std::to_wstring(++m_runs) + L".txt");
        Run run;
        run.child = m_program.Run("StartupSequence",
                                  m_product + L"|" + m_key.SubKey() + L"|" + record + L"|" + options + L"|" +
                                      commandLine,
                                  timeoutMs);
        std::wifstream file(std::string(record.begin(), record.end()));
        std::wstring line;
        while (std::getline(file, line))
            run.lines.push_back(line);
        return run;
    }

    std::wstring Fatal() const {
        return L"MessageBox The application has failed to initialize|" + m_product + L" Fatal error|" +
               std::to_wstring(MB_ICONERROR | MB_TOPMOST);
    }

    static const char kMetadata[];
    Testing::CopiedProgram m_program{Testing::NewGuidText() + L".exe"};
    Testing::TempRegistryKey m_key;
    std::wstring m_product;
    int m_runs = 0;
};

const char StartupSequenceTest::kMetadata[] = R"(<?xml version="1.0" encoding="utf-8"?>
<ResourceLib>
  <Languages><Language name="en-us" title="English" locale="1033" default="1"/></Languages>
  <Skins><Skin name="Dark" titleID="DarkTitle" default="1"/></Skins>
</ResourceLib>
)";

TEST_F(StartupSequenceTest, NormalRunKeepsTheOrderAndEndsWithZero) {
    const Run run = RunScenario(L"lang=de-de");
    EXPECT_TRUE(Testing::ChildSucceeded(run.child, 0));
    EXPECT_TRUE(run.InOrder({L"InitializeResources", L"RegisterResourceObserver", L"Initialize",
                             L"SetResourcesLanguage de-de", L"SetResourcesSkin Dark", L"InitializeCommonDialogs",
                             L"_ApplyDefaultSkin", L"_CheckUpdateNotRunning 1", L"StartApplication",
                             L"ClassObjectsRegistered 1", L"ExitInstance", L"_BeginShutdown",
                             L"ShutdownApplication", L"_UninitializeCommonDialogs", L"UnregisterResourceObserver",
                             L"ShutdownResources", L"ClassObjectsAfterExit 0", L"ServiceClientEnabled 0", L"Watchdogs 1",
                             L"Exit 0"}));
    EXPECT_FALSE(run.HasPrefix(L"MessageBox"));
    EXPECT_FALSE(run.Contains(L"((++_GetInstCounter() == 1))"));
    // The profile lives directly under Software\<product>.
    HKEY settings = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(m_key.Handle(), (L"Software\\" + m_product + L"\\Settings").c_str(), 0,
                                             KEY_READ, &settings));
    ::RegCloseKey(settings);
}

TEST_F(StartupSequenceTest, SystemImageListIsAttachedAfterTheFirstPaint) {
    // No step before the window is shown uses it; the shell builds it from
    // dozens of icons.
    const Run run = RunScenario(L"shown");
    EXPECT_TRUE(Testing::ChildSucceeded(run.child, 0));
    EXPECT_TRUE(run.InOrder({L"StartApplication", L"SystemImages 0", L"Painted", L"SystemImages 1", L"ExitInstance",
                             L"Exit 0"}));
}

TEST_F(StartupSequenceTest, FailuresEndWithTheirMessageAndANonZeroExitCode) {
    struct Case {
        const wchar_t* options;
        const wchar_t* missing;      // a step that must not run
        std::wstring message;        // the message box, empty for none
        bool exitStepsRun;
    };
    const std::wstring product = m_product;
    const Case cases[] = {
        {L"initfalse", L"StartApplication", L"", true},
        {L"initthrow", L"StartApplication", Fatal(), true},
        {L"startfalse", L"-",
         L"MessageBox " + product + L" has failed to start.|Error|" + std::to_wstring(MB_ICONWARNING), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.options, c.options + wcslen(c.options)));
        const Run run = RunScenario(c.options);
        EXPECT_TRUE(run.child.started && !run.child.timedOut);
        EXPECT_NE(0u, run.child.exitCode);
        EXPECT_FALSE(run.Has(c.missing));
        if (c.message.empty())
            EXPECT_FALSE(run.HasPrefix(L"MessageBox"));
        else
            EXPECT_TRUE(run.Has(c.message));
        EXPECT_TRUE(run.InOrder({L"ExitInstance", L"ShutdownApplication", L"_UninitializeCommonDialogs",
                                 L"ShutdownResources"}));
    }

    // A missing resources folder: the log line's damage message, no Initialize.
    ::DeleteFileW((m_program.Tree() / L"bin\\Resources\\Main\\Metadata.xml").c_str());
    ::RemoveDirectoryW((m_program.Tree() / L"bin\\Resources\\Main").c_str());
    const Run missing = RunScenario(L"");
    EXPECT_NE(0u, missing.child.exitCode);
    EXPECT_FALSE(missing.Has(L"Initialize"));
    EXPECT_TRUE(missing.HasPrefix(L"MessageBox " + m_product + L" resources are damaged!"));
    EXPECT_TRUE(missing.Contains(L"((_PreInitialize()))"));
    // The folder was configured, so the resource steps of the exit still run.
    EXPECT_TRUE(missing.InOrder({L"InitializeResources", L"ExitInstance", L"ShutdownApplication",
                                 L"_UninitializeCommonDialogs", L"ShutdownResources", L"Exit 2"}));
}

TEST_F(StartupSequenceTest, ExitStepsRunOnAfterAThrowingShutdown) {
    const Run run = RunScenario(L"shutdownthrow");
    EXPECT_TRUE(Testing::ChildSucceeded(run.child, 0));
    EXPECT_TRUE(run.InOrder({L"ShutdownApplication", L"_UninitializeCommonDialogs", L"UnregisterResourceObserver",
                             L"ShutdownResources", L"Exit 0"}));
}

TEST_F(StartupSequenceTest, RunningUpdateShowsTheFatalMessage) {
    STLHelpers::AutoHandle update(::CreateMutexW(nullptr, FALSE, (m_product + L"_UpdateMutex").c_str()));
    const Run run = RunScenario(L"");
    EXPECT_NE(0u, run.child.exitCode);
    EXPECT_TRUE(run.InOrder({L"_CheckUpdateNotRunning 0", Fatal(), L"ExitInstance"}));
    EXPECT_FALSE(run.Has(L"StartApplication"));
}

TEST_F(StartupSequenceTest, RegistrationRequestsEndQuietlyBeforeInitialize) {
    const Run registered = RunScenario(L"", L"/Register");
    EXPECT_TRUE(Testing::ChildSucceeded(registered.child, 0));
    EXPECT_FALSE(registered.Has(L"Initialize"));
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CLASSES_ROOT, kTestClassKey, 0, KEY_READ, &key));
    ::RegCloseKey(key);

    const Run unregistered = RunScenario(L"", L"/Unregister");
    EXPECT_TRUE(Testing::ChildSucceeded(unregistered.child, 0));
    EXPECT_FALSE(unregistered.Has(L"Initialize"));
    EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CLASSES_ROOT, kTestClassKey, 0, KEY_READ, &key));

    const Run failed = RunScenario(L"failreg", L"/Register");
    EXPECT_NE(0u, failed.child.exitCode);
    EXPECT_TRUE(failed.Contains(L"((m_pAtlModule->RegisterServer(1)))"));
    EXPECT_FALSE(failed.Has(L"Initialize"));
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestClassKey);
}

TEST_F(StartupSequenceTest, LanguageComesFromSettingsProfileOrSystem) {
    const Run none = RunScenario(L"nores");
    EXPECT_TRUE(Testing::ChildSucceeded(none.child, 0));
    EXPECT_FALSE(none.Has(L"InitializeResources"));
    EXPECT_FALSE(none.HasPrefix(L"SetResourcesLanguage"));
    EXPECT_FALSE(none.HasPrefix(L"SetResourcesSkin"));
    EXPECT_TRUE(none.Has(L"InitializeCommonDialogs"));
    EXPECT_FALSE(none.Has(L"ShutdownResources"));

    // The profile is written during the first run and read by the second.
    RunScenario(L"proflang=fr-fr");
    EXPECT_TRUE(RunScenario(L"").Has(L"SetResourcesLanguage fr-fr"));
    EXPECT_TRUE(RunScenario(L"lang=de-de").Has(L"SetResourcesLanguage de-de"));

    ::RegDeleteTreeW(m_key.Handle(), (L"Software\\" + m_product).c_str());
    const Run system = RunScenario(L"setlangfalse");
    EXPECT_TRUE(system.Has(L"SetResourcesLanguage " + ResourceLib::GetSystemLanguageName()));
    EXPECT_TRUE(system.Contains(L"((SetResourcesLanguage(langName)))"));
}

TEST_F(StartupSequenceTest, SecondInstanceSaysItIsAlreadyRunning) {
    STLHelpers::AutoHandle instance(::CreateMutexW(nullptr, FALSE, (m_product + L"_InstanceMutex").c_str()));
    const Run run = RunScenario(L"");
    EXPECT_TRUE(Testing::ChildSucceeded(run.child, 0));
    EXPECT_TRUE(run.Has(L"MessageBox " + m_product + L" is already running.|Already running|" +
                        std::to_wstring(MB_ICONINFORMATION)));
    EXPECT_FALSE(run.Has(L"StartApplication"));
}

TEST_F(StartupSequenceTest, CloseStartsOneWatchdogAndOneBeginShutdown) {
    const Run run = RunScenario(L"closehook,secondcounter");
    EXPECT_TRUE(Testing::ChildSucceeded(run.child, 0));
    int beginShutdowns = 0;
    for (const std::wstring& line : run.lines)
        beginShutdowns += line == L"_BeginShutdown";
    EXPECT_EQ(1, beginShutdowns);
    EXPECT_TRUE(run.InOrder({L"StartApplication", L"_BeginShutdown", L"ExitInstance", L"ShutdownApplication",
                             L"Watchdogs 1"}));
    EXPECT_TRUE(run.Contains(L"((++_GetInstCounter() == 1))"));
    EXPECT_TRUE(run.Contains(L"((newCntr == 0))"));
}

TEST_F(StartupSequenceTest, HungExitIsEndedByTheWatchdog) {
    const auto start = std::chrono::steady_clock::now();
    const Run run = RunScenario(L"shutdownhang", L"", 120000);
    EXPECT_TRUE(run.child.started && !run.child.timedOut);
    EXPECT_EQ(0xFFFFFFFFul, run.child.exitCode);
    EXPECT_TRUE(run.Has(L"ShutdownApplication"));
    EXPECT_FALSE(run.HasPrefix(L"Exit "));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
}

}  // namespace
