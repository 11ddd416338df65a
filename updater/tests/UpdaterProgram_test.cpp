#include <winsock2.h>  // before windows.h

#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"
#include "updater/app/UpdaterResource.h"
#include "updater/engine/HttpDownloader.h"
#include "updater/tests/UpdaterTestSupport.h"
#include "updater/tests/UpdaterWindowSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The real Updater.exe under Wine, started as the main program starts it,
// driven through its windows. One run at a time: the runs share the
// temporary folder's setup file name, the default product's names and the
// display.

namespace {

using Testing::HttpAnswer;
using Testing::LoopbackHttpServer;
using UpdaterTests::ItemText;
using UpdaterTests::StartedProcess;

const std::size_t kSetupSize = 262144;
const DWORD kWindowTimeoutMs = 60000;
const DWORD kRunTimeoutMs = 180000;
const DWORD kExitCodeOnEvent = 7;  // the product stand-in's answer to the exit event

class ProgramLock {
public:
    ProgramLock() : m_mutex(CreateMutexW(nullptr, FALSE, L"BrunlowTests.UpdaterProgram")) {
        const DWORD wait = m_mutex ? WaitForSingleObject(m_mutex, 1800000) : WAIT_FAILED;
        m_isHeld = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        EXPECT_TRUE(m_isHeld) << "the lock of the Updater program's runs";
    }
    ~ProgramLock() {
        if (m_isHeld)
            ReleaseMutex(m_mutex);
        if (m_mutex)
            CloseHandle(m_mutex);
    }
    ProgramLock(const ProgramLock&) = delete;
    ProgramLock& operator=(const ProgramLock&) = delete;

private:
    HANDLE m_mutex;
    bool m_isHeld = false;
};

struct WindowSearch {
    DWORD processId;
    const std::function<bool(HWND)>* test;
    HWND found;
};

BOOL CALLBACK TestWindow(HWND window, LPARAM context) {
    WindowSearch& s = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s.processId || !IsWindowVisible(window) || !(*s.test)(window))
        return TRUE;
    s.found = window;
    return FALSE;
}

// A top-level window of the process for which `test` holds, or null after the timeout.
HWND WaitForWindow(DWORD processId, const std::function<bool(HWND)>& test, DWORD timeoutMs = kWindowTimeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search = {processId, &test, nullptr};
        EnumWindows(&TestWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start > timeoutMs)
            return search.found;
        Sleep(100);
    }
}

bool IsProgressDialog(HWND window) {
    return GetDlgItem(window, IDC_UPDATER_STATUS) != nullptr && GetDlgItem(window, IDC_UPDATER_PROGRESS) != nullptr;
}

bool WaitForStatus(HWND dialog, const std::wstring& status, DWORD timeoutMs = kRunTimeoutMs) {
    const DWORD start = GetTickCount();
    while (ItemText(dialog, IDC_UPDATER_STATUS) != status) {
        if (!IsWindow(dialog) || GetTickCount() - start > timeoutMs)
            return false;
        Sleep(100);
    }
    return true;
}

bool MutexExists(const std::wstring& name) {
    // As the main program asks: a create that finds the mutex already there.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    const bool exists = GetLastError() == ERROR_ALREADY_EXISTS;
    if (mutex)
        CloseHandle(mutex);
    return exists;
}

class UpdaterProgramTest : public testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"http_proxy", L"HTTP_PROXY", L"no_proxy"})
            SetEnvironmentVariableW(name, nullptr);
        SetEnvironmentVariableW(L"UpdaterSetupStandIn_RecordFolder", m_setupRecords.Path().c_str());
        SetEnvironmentVariableW(L"UpdaterProductStandIn_RecordFolder", m_productRecords.Path().c_str());
        SetEnvironmentVariableW(L"UpdaterSetupStandIn_ExitCode", nullptr);
        m_setup = Testing::ReadFileBytes(UpdaterTests::BesideTests(L"UpdaterSetupStandIn.exe"));
        ASSERT_FALSE(m_setup.empty());
        m_setup.resize(std::max(m_setup.size(), kSetupSize), '\x5A');
        m_server.SetAnswer("/setup.exe", HttpAnswer::Ok(m_setup));
        m_productName = UpdaterTests::UniqueName(L"UpdaterProgramProduct");
        m_executable = UpdaterTests::UniqueName(L"UpdPrgProd") + L".exe";
        const std::string product = Testing::ReadFileBytes(UpdaterTests::BesideTests(L"UpdaterProductStandIn.exe"));
        ASSERT_FALSE(product.empty());
        m_install.WriteFile(m_executable, product);
    }
    void TearDown() override {
        for (const wchar_t* name : {L"UpdaterSetupStandIn_RecordFolder", L"UpdaterProductStandIn_RecordFolder",
                                    L"UpdaterSetupStandIn_ExitCode"})
            SetEnvironmentVariableW(name, nullptr);
    }

    std::wstring UpdateRoad() const {
        return L"/productName \"" + m_productName + L"\" /productURL \"www.example.com\" /downloadURL \"" +
               m_server.Url(L"/setup.exe") + L"\" /productExecutable \"" + m_executable +
               L"\" /componentName \" \" /isSilent 1";
    }

    // The product stand-in started from the install folder, holding its exit event.
    std::unique_ptr<StartedProcess> StartProduct(const std::wstring& path, const std::wstring& productName) const {
        auto process = std::make_unique<StartedProcess>(path, productName + L"_ExitEvent exit");
        EXPECT_TRUE(process->IsStarted());
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, (productName + L"_ExitEvent_Ready").c_str());
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready, 30000));
        CloseHandle(ready);
        return process;
    }

    std::unique_ptr<StartedProcess> StartUpdater(const std::wstring& arguments) const {
        auto updater = std::make_unique<StartedProcess>(UpdaterTests::BesideTests(L"Updater.exe"), arguments);
        EXPECT_TRUE(updater->IsStarted());
        return updater;
    }

    // Product starts the Updater made: records with a show state given.
    std::vector<std::wstring> Relaunches() const {
        std::vector<std::wstring> starts;
        for (const std::wstring& record : UpdaterTests::ReadRecords(m_productRecords.Path())) {
            if (UpdaterTests::RecordField(record, L"Show") != L"-1")
                starts.push_back(record);
        }
        return starts;
    }

    ProgramLock m_lock;
    LoopbackHttpServer m_server;
    Testing::TempFolder m_setupRecords;
    Testing::TempFolder m_productRecords;
    Testing::TempFolder m_install;
    std::string m_setup;
    std::wstring m_productName;
    std::wstring m_executable;
};

// The pictures of the Updater's windows: another process's windows show
// only on the screen, so these tests run alone.
class UpdaterProgramAlone : public UpdaterProgramTest {};

TEST_F(UpdaterProgramAlone, UpdateRoadStopsTheProductInstallsAndStartsItAgain) {
    UpdaterTests::ScopedKey key(HKEY_LOCAL_MACHINE, L"Software\\" + m_productName);
    ASSERT_TRUE(key.SetString(L"InstallPath", m_install.Path()));
    auto product = StartProduct(m_install / m_executable, m_productName);
    auto updater = StartUpdater(UpdateRoad());

    EXPECT_TRUE(product->HasEnded(60000));
    EXPECT_EQ(kExitCodeOnEvent, product->ExitCode());
    HWND dialog = WaitForWindow(updater->Id(), IsProgressDialog);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(WaitForStatus(dialog, UpdaterTests::kCompleteText));
    EXPECT_TRUE(UpdaterTests::IsItemVisible(dialog, IDOK));
    EXPECT_FALSE(UpdaterTests::IsItemVisible(dialog, IDC_UPDATER_PROGRESS));
    EXPECT_EQ(L"Close", ItemText(dialog, IDCANCEL));
    Testing::SaveWindowPicture(dialog, L"UpdaterProgramComplete");
    UpdaterTests::PressButton(dialog, IDOK);
    ASSERT_TRUE(updater->HasEnded(60000));

    const auto setups = UpdaterTests::ReadRecords(m_setupRecords.Path());
    ASSERT_EQ(1u, setups.size());
    const std::wstring setupPath = UpdaterTests::RecordField(setups[0], L"Module");
    EXPECT_EQ(L"\"" + setupPath + L"\" /verysilent /norestart /S /SUPPRESSMSGBOXES /COMPONENTS=\"!suite\"",
              UpdaterTests::RecordField(setups[0], L"CommandLine"));
    EXPECT_FALSE(Testing::PathExists(setupPath));

    std::vector<std::wstring> starts;
    for (int i = 0; i < 100 && (starts = Relaunches()).empty(); ++i)
        Sleep(100);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(0, _wcsicmp((m_install / m_executable).c_str(), UpdaterTests::RecordField(starts[0], L"Module").c_str()));
    EXPECT_EQ(L"5", UpdaterTests::RecordField(starts[0], L"Show"));
}

TEST_F(UpdaterProgramAlone, FailingSetupShowsTheFailureAndNoLaunch) {
    SetEnvironmentVariableW(L"UpdaterSetupStandIn_ExitCode", L"3");
    auto updater = StartUpdater(UpdateRoad());
    HWND box = WaitForWindow(updater->Id(), [](HWND w) { return UpdaterTests::WindowText(w) == L"Error"; },
                             kRunTimeoutMs);
    ASSERT_NE(nullptr, box);
    HWND dialog = WaitForWindow(updater->Id(), IsProgressDialog);
    ASSERT_NE(nullptr, dialog);
    EXPECT_FALSE(UpdaterTests::IsItemVisible(dialog, IDOK));
    Testing::SaveWindowPicture(box, L"UpdaterProgramFailure");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(updater->HasEnded(60000));
    EXPECT_EQ(1u, updater->ExitCode()) << "a failed run says so to whoever started it";
    EXPECT_EQ(1u, UpdaterTests::ReadRecords(m_setupRecords.Path()).size());
    Sleep(1000);
    EXPECT_TRUE(Relaunches().empty());
}

// A server that takes the request and never answers.
TEST_F(UpdaterProgramTest, ARunWhoseServerNeverAnswersEndsByCancelAtOnceOrByItselfWithinItsLimit) {
    m_server.SetAnswer("/setup.exe", HttpAnswer::NeverAnswered());
    {
        SCOPED_TRACE("Cancel Installation");
        auto updater = StartUpdater(UpdateRoad());
        HWND dialog = WaitForWindow(updater->Id(), IsProgressDialog);
        ASSERT_NE(nullptr, dialog);
        ASSERT_TRUE(m_server.WaitForRequests(1, 60000));
        EXPECT_TRUE(WaitForStatus(dialog, L"Connecting to the download server...", 10000));
        Sleep(1000);
        const DWORD start = GetTickCount();
        UpdaterTests::PressButton(dialog, IDCANCEL);
        while (IsWindow(dialog) && IsWindowVisible(dialog) && GetTickCount() - start < 30000)
            Sleep(20);
        EXPECT_LT(GetTickCount() - start, 2000u) << "the window goes within moments";
        ASSERT_TRUE(updater->HasEnded(30000));
        EXPECT_EQ(2u, updater->ExitCode()) << "cancelled: no installation happened";
    }
    {
        SCOPED_TRACE("Alt+F4, then nothing");
        auto updater = StartUpdater(UpdateRoad());
        HWND dialog = WaitForWindow(updater->Id(), IsProgressDialog);
        ASSERT_NE(nullptr, dialog);
        ASSERT_TRUE(m_server.WaitForRequests(2, 60000));
        const DWORD start = GetTickCount();
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        for (int i = 0; i < 100 && !IsIconic(dialog); ++i)
            Sleep(20);
        EXPECT_TRUE(IsIconic(dialog)) << "the close box only minimises a run";
        HWND box = WaitForWindow(updater->Id(), [](HWND w) { return UpdaterTests::WindowText(w) == L"Error"; },
                                 Engine::kHeadersTimeoutMs + 30000);
        ASSERT_NE(nullptr, box) << "the run fails by itself once the server's time is up";
        EXPECT_GE(GetTickCount() - start, Engine::kHeadersTimeoutMs - 2000);
        // No picture: the box is the Updater's, which only the screen shows,
        // and this suite shares the screen (UpdaterProgramFailure shows it).
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(updater->HasEnded(30000));
        EXPECT_EQ(1u, updater->ExitCode()) << "failed";
    }
    EXPECT_TRUE(UpdaterTests::ReadRecords(m_setupRecords.Path()).empty());
    EXPECT_TRUE(Relaunches().empty());
}

TEST_F(UpdaterProgramTest, ExtrasRoadHoldsTheExtrasMutexAndLeavesTheProductAlone) {
    // The extras road names no product: the string table's "Brunlow" and
    // "Brunlow.exe" apply. A stand-in under that name must keep running.
    Testing::TempFolder elsewhere;
    const std::string product = Testing::ReadFileBytes(UpdaterTests::BesideTests(L"UpdaterProductStandIn.exe"));
    elsewhere.WriteFile(L"Brunlow.exe", product);
    auto running = StartProduct(elsewhere / L"Brunlow.exe", L"Brunlow");
    m_server.SetAnswer("/extras.exe", HttpAnswer::Ok(m_setup));
    auto updater =
        StartUpdater(L"/runWithProduct /componentName \"Extras\" /downloadURL \"" + m_server.Url(L"/extras.exe") + L"\"");
    HWND dialog = WaitForWindow(updater->Id(), IsProgressDialog);
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(MutexExists(L"Brunlow_ExtrasMutex"));
    EXPECT_FALSE(MutexExists(L"Brunlow_UpdateMutex"));
    ASSERT_TRUE(WaitForStatus(dialog, UpdaterTests::kCompleteText));
    EXPECT_FALSE(UpdaterTests::IsItemVisible(dialog, IDOK));
    EXPECT_EQ(L"Brunlow Extras Installation", UpdaterTests::WindowText(dialog));
    UpdaterTests::PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(updater->HasEnded(60000));
    EXPECT_FALSE(MutexExists(L"Brunlow_ExtrasMutex"));
    EXPECT_FALSE(running->HasEnded(0));
    EXPECT_TRUE(Relaunches().empty());
    EXPECT_EQ(1u, UpdaterTests::ReadRecords(m_setupRecords.Path()).size());
}

TEST_F(UpdaterProgramTest, MainProgramsOwnLaunchFallsBackToRegistryAndStringTable) {
    struct Case {
        const char* name;
        std::wstring arguments;
    };
    const Case cases[] = {
        {"language name only", L"/languageName \"de-de\""},
        {"no arguments", L""},
    };
    // The download address of the default product comes from the user's key.
    UpdaterTests::ScopedKey key(HKEY_CURRENT_USER, L"Software\\Brunlow Suite\\Brunlow");
    ASSERT_TRUE(key.SetString(L"DownloadURL", m_server.Url(L"/setup.exe")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto updater = StartUpdater(c.arguments);
        HWND dialog = WaitForWindow(updater->Id(), IsProgressDialog);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(L"Brunlow Automatic Update Installation", UpdaterTests::WindowText(dialog));
        EXPECT_EQ(L"Launch Brunlow", ItemText(dialog, IDOK));
        ASSERT_TRUE(WaitForStatus(dialog, UpdaterTests::kCompleteText));
        UpdaterTests::PressButton(dialog, IDCANCEL);
        ASSERT_TRUE(updater->HasEnded(60000));
        EXPECT_EQ(0u, updater->ExitCode());
    }
    EXPECT_EQ(2u, UpdaterTests::ReadRecords(m_setupRecords.Path()).size());
    EXPECT_TRUE(Relaunches().empty());
}

}  // namespace
