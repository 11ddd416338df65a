// The update and Extras roads with the real programs: Brunlow.exe running,
// the real Updater.exe started with the command line the program builds,
// the loopback server serving the setup package's stand-in. One road at a
// time: both programs use the product's own names, registry keys and the
// temporary setup file.
#include "appframework/updates/ExtrasInstaller.h"
#include "engine/EngineTestDoor.h"
#include "platform/elevation/tests/ElevationServiceFixture.h"
#include "shell/program/BrunlowResources.h"
#include "shell/program/tests/RealProgram.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"
#include "updater/app/UpdaterResource.h"
#include "updater/tests/UpdaterTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace ProgramTests;

const wchar_t kComplete[] = L"Installation complete.";
// The product's addresses as they reach a proxy (the port written out).
const char kVersionCheck[] = "http://update.brunlow.com:80/version.php";
const char kExtrasPackage[] = "http://update.brunlow.com:80/extras/";
const std::size_t kSetupSize = 262144;

// A string value of the program's own registry view, put back as it was.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value)
        : m_name(name) {
        ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &m_key, nullptr);
        wchar_t previous[1024] = {};
        DWORD size = sizeof(previous) - sizeof(wchar_t);
        m_existed = ::RegQueryValueExW(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(previous), &size) ==
                    ERROR_SUCCESS;
        m_previous = previous;
        Set(value);
    }
    ~ScopedRegistryValue() {
        if (m_existed)
            Set(m_previous);
        else
            ::RegDeleteValueW(m_key, m_name);
        ::RegCloseKey(m_key);
    }
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

private:
    void Set(const std::wstring& value) {
        ::RegSetValueExW(m_key, m_name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    HKEY m_key = nullptr;
    const wchar_t* m_name;
    bool m_existed = false;
    std::wstring m_previous;
};

// The shell's silent copy of a file or folder (a folder's contents when
// `from` ends in "\*"); `to` is made when missing.
bool ShellCopy(const std::wstring& from, const std::wstring& to) {
    const std::wstring fromList = from + L'\0', toList = to + L'\0';
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_COPY;
    operation.pFrom = fromList.c_str();
    operation.pTo = toList.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;
    return ::SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

// The setup package's stand-in, padded as a real package would be.
std::string SetupPackage() {
    std::string setup = Testing::ReadFileBytes(UpdaterTests::BesideTests(L"UpdaterSetupStandIn.exe"));
    if (!setup.empty())
        setup.resize(std::max(setup.size(), kSetupSize), '\x5A');
    return setup;
}

// The Updater's progress dialog, of whichever process shows it.
BOOL CALLBACK MatchUpdaterDialog(HWND window, LPARAM parameter) {
    if (!::IsWindowVisible(window) || ClassOf(window) != L"#32770" || !::GetDlgItem(window, IDC_UPDATER_STATUS) ||
        !::GetDlgItem(window, IDC_UPDATER_PROGRESS))
        return TRUE;
    *reinterpret_cast<HWND*>(parameter) = window;
    return FALSE;
}

HWND FindUpdaterDialog() {
    HWND found = nullptr;
    ::EnumWindows(&MatchUpdaterDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool MutexExists(const wchar_t* name) {
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name);
    const bool exists = ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (mutex)
        ::CloseHandle(mutex);
    return exists;
}

// A process the road started, by id: waited for, and ended if it still
// runs when the test is over.
class OpenedProcess {
public:
    explicit OpenedProcess(DWORD id)
        : m_process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, id)) {}
    ~OpenedProcess() {
        if (!m_process)
            return;
        if (WaitForExit(0) == STILL_ACTIVE)
            ::TerminateProcess(m_process, 1);
        ::CloseHandle(m_process);
    }
    OpenedProcess(const OpenedProcess&) = delete;
    OpenedProcess& operator=(const OpenedProcess&) = delete;

    std::wstring ImagePath() const {
        wchar_t path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        return m_process && ::QueryFullProcessImageNameW(m_process, 0, path, &size) ? path : L"";
    }
    // The exit code, or STILL_ACTIVE when it did not end within the time.
    DWORD WaitForExit(DWORD ms) const {
        DWORD code = STILL_ACTIVE;
        if (m_process && ::WaitForSingleObject(m_process, ms) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(m_process, &code);
        return code;
    }

private:
    HANDLE m_process;
};

DWORD ProcessOf(HWND window) {
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    return id;
}

bool WaitForStatus(HWND dialog, const std::wstring& status) {
    return WaitFor([&] { return !::IsWindow(dialog) || ItemTextOf(dialog, IDC_UPDATER_STATUS) == status; }, 180000) &&
           ::IsWindow(dialog);
}

void ExpectDialogReadsClean(HWND dialog, std::initializer_list<int> items) {
    EXPECT_TRUE(ReadsClean(TitleOf(dialog)));
    for (int id : items) {
        SCOPED_TRACE(id);
        const std::wstring text = ItemTextOf(dialog, id);
        EXPECT_FALSE(text.empty());
        EXPECT_TRUE(ReadsClean(text));
    }
}

// What a user sees of a dialog, read and pictured; then its button pressed.
void LookAndPress(HWND dialog, std::initializer_list<int> items, const wchar_t* picture, int button) {
    ExpectDialogReadsClean(dialog, items);
    ::Sleep(1000);
    EXPECT_FALSE(Testing::SaveWindowPicture(dialog, picture).empty());
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

class UpdateRoadAlone : public testing::Test {
protected:
    void SetUp() override {
        m_setup = SetupPackage();
        ASSERT_FALSE(m_setup.empty());
        // An installed copy: what an installer would have put in a folder of its own.
        ASSERT_TRUE(ShellCopy(BuiltProgramFolder() + L"\\*", m_install.Path()));
        ASSERT_TRUE(Testing::PathExists(m_install / L"Updater.exe"));
    }

    ElevationTests::ServiceLock m_serviceLock;
    Testing::LoopbackHttpServer m_server;
    InternetProxy m_proxy{L"127.0.0.1:" + std::to_wstring(m_server.Port())};
    Testing::TempFolder m_install;
    Testing::TempFolder m_videos;
    Testing::TempFolder m_setupRecords;
    ProgramProfile m_profile{m_videos.Path()};
    std::string m_setup;
};

TEST_F(UpdateRoadAlone, TheUpdaterEndsTheProgramInstallsSilentlyAndStartsItAgainFromItsInstallFolder) {
    // The program asks itself whether a newer version is published.
    m_server.SetAnswer(kVersionCheck, Testing::HttpAnswer::Ok("99.0", "text/plain"));
    m_server.SetAnswer("/setup.exe", Testing::HttpAnswer::Ok(m_setup));
    const ScopedRegistryValue installPath(HKEY_LOCAL_MACHINE, L"Software\\Brunlow", L"InstallPath", m_install.Path());
    const ScopedRegistryValue downloadUrl(HKEY_CURRENT_USER, L"Software\\Brunlow Suite\\Brunlow", L"DownloadURL",
                                          m_server.Url(L"/setup.exe"));
    Program program;
    ASSERT_TRUE(program.Start({}, m_install.Path()));
    const DWORD processId = program.info.dwProcessId;
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindMainWindow(processId)) != nullptr; }, 60000));

    // Its own offer, with the note that it closes meanwhile.
    HWND offer = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (offer = FindDialog(processId, IDC_OFFER_NOTE)) != nullptr; }, 60000))
        << "the program offers the update";
    m_server.SetAnswer(kVersionCheck, Testing::HttpAnswer::NotFound());
    LookAndPress(offer, {IDC_OFFER_HEADING, IDC_OFFER_NOTE, IDC_OFFER_QUESTION, IDOK, IDCANCEL},
                 L"brunlow_update_offer", IDCANCEL);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(offer); }, 20000));

    // The Updater, from a folder and with arguments as the offer's Yes makes them.
    Testing::TempFolder update;
    ASSERT_TRUE(ShellCopy(m_install / L"Styles", update.Path()));
    ASSERT_TRUE(ShellCopy(m_install / L"Resources\\CommonDialogs", update / L"Resources"));
    ASSERT_TRUE(ShellCopy(m_install / L"Updater.exe", update.Path()));
    Program updater;
    ASSERT_TRUE(updater.Start({L"UpdaterSetupStandIn_RecordFolder=" + m_setupRecords.Path()}, update.Path(),
                              L"Updater.exe",
                              ApplicationFramework::ExtrasInstaller::_BuildUpdaterArguments(L"en-us", false, L"")));

    EXPECT_EQ(0u, program.WaitForExit(60000)) << "the program ends on its exit event, with code 0";
    EXPECT_TRUE(m_profile.HasValue(L"CloseAction")) << "its settings were saved";
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindUpdaterDialog()) != nullptr; }, 60000));
    EXPECT_EQ(updater.info.dwProcessId, ProcessOf(dialog));
    ASSERT_TRUE(WaitForStatus(dialog, kComplete));
    ExpectDialogReadsClean(dialog, {IDC_UPDATER_STATUS, IDOK, IDCANCEL});
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, IDOK))) << "Launch is offered";
    ::Sleep(500);
    EXPECT_FALSE(Testing::SaveWindowPicture(dialog, L"updater_installation_complete").empty());

    const std::vector<std::wstring> runs = UpdaterTests::ReadRecords(m_setupRecords.Path());
    ASSERT_EQ(1u, runs.size());
    const std::wstring commandLine = UpdaterTests::RecordField(runs[0], L"CommandLine");
    EXPECT_NE(std::wstring::npos, commandLine.find(L" /verysilent /norestart /S")) << "the setup runs silently";
    EXPECT_FALSE(Testing::PathExists(UpdaterTests::RecordField(runs[0], L"Module"))) << "and is deleted afterwards";

    // Launch: the program again, from its install folder.
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(0u, updater.WaitForExit(60000));
    // Shown, and so listening for its exit event.
    HWND again = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            again = ::FindWindowW(nullptr, kMainWindowTitle);
            return again && ::IsWindowVisible(again);
        },
        60000))
        << "the program starts again";
    const OpenedProcess relaunched(ProcessOf(again));
    EXPECT_EQ(0, _wcsicmp((m_install / L"Brunlow.exe").c_str(), relaunched.ImagePath().c_str()))
        << relaunched.ImagePath();
    ::Sleep(1000);
    EXPECT_FALSE(Testing::SaveWindowPicture(again, L"brunlow_started_again").empty());
    ASSERT_TRUE(SetExitEvent());
    EXPECT_EQ(0u, relaunched.WaitForExit(60000));
    EXPECT_TRUE(ElevationTests::WaitForNoServiceProcess(20000));
}

TEST_F(UpdateRoadAlone, TheExtrasInstallBesideTheRunningProgramWhichSeesThem) {
    // The program's own offer starts the Updater; the Updater's download
    // goes through the proxy of its environment to the loopback server.
    for (const std::wstring& prefix : {std::wstring(), m_server.Url(L"")}) {
        const std::string text(prefix.begin(), prefix.end());
        m_server.SetAnswer(text + "/clip.flv", Testing::HttpAnswer::Ok(std::string(20000, 'v'), "video/x-flv"));
    }
    m_server.SetAnswer(kExtrasPackage, Testing::HttpAnswer::Ok(m_setup));
    const std::wstring proxy = L"127.0.0.1:" + std::to_wstring(m_server.Port());
    Program program;
    ASSERT_TRUE(program.Start(
        {std::wstring(KavennaEngine::TestDoor::kCaughtVariable) + L"=" + m_server.Url(L"/clip.flv"),
         L"http_proxy=http://" + proxy, L"no_proxy=127.0.0.1,localhost",
         L"UpdaterSetupStandIn_RecordFolder=" + m_setupRecords.Path()},
        m_install.Path()));
    const HANDLE process = program.info.hProcess;
    const DWORD processId = program.info.dwProcessId;
    HWND window = nullptr, list = nullptr;
    ASSERT_TRUE(WaitForMainWindow(program, window, list));
    ASSERT_TRUE(WaitFor([&] { return HasFinishedRow(ReadRows(process, list, 2), L"clip.flv"); }, 60000));

    // Watching without the Extras offers them.
    ASSERT_TRUE(SelectOnly(process, list, 0));
    const UINT watchDownloaded = 32781;
    ::PostMessageW(list, WM_COMMAND, watchDownloaded, 0);
    HWND offer = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (offer = FindDialog(processId, IDC_OFFER_WARNING)) != nullptr; }, 30000))
        << "the program offers the Extras";
    LookAndPress(offer, {IDC_OFFER_HEADING, IDC_OFFER_WARNING, IDC_OFFER_QUESTION, IDOK, IDCANCEL},
                 L"brunlow_extras_offer", IDOK);

    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindUpdaterDialog()) != nullptr; }, 60000))
        << "the program starts the Updater";
    const OpenedProcess updater(ProcessOf(dialog));
    EXPECT_NE(std::wstring::npos, updater.ImagePath().find(L"Updater.exe"));
    EXPECT_NE(0, _wcsicmp((m_install / L"Updater.exe").c_str(), updater.ImagePath().c_str()))
        << "a copy of its own runs, not the installed one";
    EXPECT_TRUE(MutexExists(L"Brunlow_ExtrasMutex"));

    // The program knows: watching now asks whether to play without them.
    ::PostMessageW(list, WM_COMMAND, watchDownloaded, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            question = FindProcessWindow(processId, [](HWND w) {
                return ClassOf(w) == L"#32770" && ::GetDlgItem(w, IDYES) && ::GetDlgItem(w, IDNO);
            });
            return question != nullptr;
        },
        30000))
        << "the program sees the Extras being installed";
    LookAndPress(question, {0xFFFF, IDYES, IDNO}, L"brunlow_extras_installing", IDNO);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(question); }, 20000));

    ASSERT_TRUE(WaitForStatus(dialog, kComplete));
    ExpectDialogReadsClean(dialog, {IDC_UPDATER_STATUS, IDCANCEL});
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog, IDOK))) << "nothing to launch";
    ::SetForegroundWindow(dialog);  // the program's window stood in front of it
    ::Sleep(500);
    EXPECT_FALSE(Testing::SaveWindowPicture(dialog, L"updater_extras_complete").empty());
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(0u, updater.WaitForExit(60000));
    EXPECT_EQ(1u, UpdaterTests::ReadRecords(m_setupRecords.Path()).size());

    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), program.WaitForExit(0)) << "nothing was stopped";
    EXPECT_EQ(window, FindMainWindow(processId));
    ASSERT_TRUE(SetExitEvent());
    EXPECT_EQ(0u, program.WaitForExit(60000));
    EXPECT_TRUE(ElevationTests::WaitForNoServiceProcess(20000));
}

}  // namespace
