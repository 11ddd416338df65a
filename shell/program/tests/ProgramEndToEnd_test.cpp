// The real Brunlow.exe under Wine: its profile written first and removed
// after, the videos folder a temporary one, the capture engine's stand-in
// catching a loopback address when it is switched on, and WinInet's proxy
// pointed at the loopback server so that the program's own requests (the
// update check, the tips) never leave the machine.
#include "engine/EngineTestDoor.h"
#include "foundation/filesystem/ShellFolders.h"
#include "platform/elevation/tests/ElevationServiceFixture.h"
#include "shell/program/BrunlowResources.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

const wchar_t kProfileKey[] = L"Software\\Brunlow";
const wchar_t kTitle[] = L"Brunlow Video Downloader 2.5.1";

// The program's profile for one test, gone afterwards.
class ProgramProfile {
public:
    explicit ProgramProfile(const std::wstring& videosFolder) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
        Write(L"VideosFolder", videosFolder);
    }
    // A setting as the program stores it.
    void Write(const wchar_t* name, const std::wstring& value) {
        HKEY key = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kProfileKey) + L"\\Settings").c_str(), 0, nullptr, 0,
                          KEY_WRITE, nullptr, &key, nullptr);
        ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(key);
    }
    ~ProgramProfile() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey); }
    bool HasValue(const wchar_t* name) const {
        return ::RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kProfileKey) + L"\\Settings").c_str(), name,
                              RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
};

// One tip in the program's data folder for the length of a test, as the
// tips updater would have left it; what was there before comes back after.
class TipsFile {
public:
    explicit TipsFile(const std::string& tipText) {
        const std::wstring folder = FileSystem::GetSpecialFolder(CSIDL_LOCAL_APPDATA).GetPath() + L"\\Brunlow";
        ::CreateDirectoryW(folder.c_str(), nullptr);
        m_path = folder + L"\\TipOfTheDay.xml";
        m_existed = Testing::PathExists(m_path);
        m_previous = Testing::ReadFileBytes(m_path);
        Write("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TipsOfTheDay><FileVersion version=\"1\"/><OEM id=\"0\">"
              "<Product name=\"Default\"><Tips><Tip orderId=\"1\" guid=\"end-to-end\"><TipText><en-us>" +
              tipText + "</en-us></TipText></Tip></Tips></Product></OEM></TipsOfTheDay>");
    }
    ~TipsFile() {
        if (m_existed)
            Write(m_previous);
        else
            ::DeleteFileW(m_path.c_str());
    }
    TipsFile(const TipsFile&) = delete;
    TipsFile& operator=(const TipsFile&) = delete;

private:
    void Write(const std::string& bytes) const {
        const HANDLE file = ::CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }

    std::wstring m_path;
    bool m_existed = false;
    std::string m_previous;
};

// WinInet's proxy for the length of a test: every address but the loopback
// ones goes to `proxy`. Loopback addresses bypass it, so that the loopback
// servers of other tests that run meanwhile are still reached directly.
class InternetProxy {
public:
    explicit InternetProxy(const std::wstring& proxy) {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &m_key, nullptr);
        for (Value& value : m_values) {
            DWORD size = sizeof(value.previous);
            value.existed = ::RegQueryValueExW(m_key, value.name, nullptr, &value.type,
                                               reinterpret_cast<BYTE*>(value.previous), &size) == ERROR_SUCCESS;
            value.size = size;
        }
        const DWORD enable = 1;
        ::RegSetValueExW(m_key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof(enable));
        SetText(L"ProxyServer", proxy);
        SetText(L"ProxyOverride", L"127.0.0.1;localhost;<local>");
    }
    ~InternetProxy() {
        for (const Value& value : m_values) {
            if (value.existed)
                ::RegSetValueExW(m_key, value.name, 0, value.type, reinterpret_cast<const BYTE*>(value.previous),
                                 value.size);
            else
                ::RegDeleteValueW(m_key, value.name);
        }
        ::RegCloseKey(m_key);
    }
    InternetProxy(const InternetProxy&) = delete;
    InternetProxy& operator=(const InternetProxy&) = delete;

private:
    static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    void SetText(const wchar_t* name, const std::wstring& text) {
        ::RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    struct Value {
        const wchar_t* name;
        bool existed = false;
        DWORD type = 0;
        DWORD size = 0;
        wchar_t previous[512] = {};
    };
    HKEY m_key = nullptr;
    Value m_values[3] = {{L"ProxyEnable"}, {L"ProxyServer"}, {L"ProxyOverride"}};
};

struct Program {
    PROCESS_INFORMATION info = {};
    bool Start(const std::wstring& environmentAddition) {
        std::wstring bin = FileSystem::GetModuleFolder(nullptr).GetPath();
        while (!bin.empty() && (bin.back() == L'\\' || bin.back() == L'/'))
            bin.pop_back();
        const std::wstring folder = bin.substr(0, bin.find_last_of(L"\\/")) + L"\\program";
        std::wstring line = L"\"" + folder + L"\\Brunlow.exe\"";
        // The child's environment: ours plus the addition.
        std::vector<wchar_t> environment;
        LPWCH current = ::GetEnvironmentStringsW();
        for (const wchar_t* p = current; *p; p += wcslen(p) + 1) {
            // WinInet would take a proxy from the environment before the registry's.
            if (_wcsnicmp(p, L"http_proxy=", 11) == 0 || _wcsnicmp(p, L"https_proxy=", 12) == 0)
                continue;
            environment.insert(environment.end(), p, p + wcslen(p) + 1);
        }
        ::FreeEnvironmentStringsW(current);
        if (!environmentAddition.empty())
            environment.insert(environment.end(), environmentAddition.c_str(),
                               environmentAddition.c_str() + environmentAddition.size() + 1);
        environment.push_back(0);
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        return ::CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                                environment.data(), folder.c_str(), &startup, &info) != FALSE;
    }
    // The exit code, or STILL_ACTIVE when it did not end within the time.
    DWORD WaitForExit(DWORD ms) {
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
    ~Program() {
        if (info.hProcess) {
            if (WaitForExit(0) == STILL_ACTIVE)
                ::TerminateProcess(info.hProcess, 1);
            ::CloseHandle(info.hThread);
            ::CloseHandle(info.hProcess);
        }
    }
};

// The first visible top-level window of the process that `matches`; null.
struct WindowSearch {
    DWORD processId;
    const std::function<bool(HWND)>* matches;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM parameter) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && ::IsWindowVisible(window) && (*search.matches)(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& matches) {
    WindowSearch search = {processId, &matches, nullptr};
    ::EnumWindows(&MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindMainWindow(DWORD processId) {
    return FindProcessWindow(processId, [](HWND window) {
        wchar_t title[128] = {};
        // Without a message: a hung program must not hang the search.
        ::InternalGetWindowText(window, title, 128);
        return std::wstring(title) == kTitle;
    });
}

template <class Condition>
bool WaitFor(Condition condition, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > ms)
            return false;
        ::Sleep(50);
    }
    return true;
}

HWND FindList(HWND frame) {
    return ::FindWindowExW(frame, nullptr, WC_LISTVIEWW, nullptr);
}

// A visible dialog of the process with a control of that id, or null.
HWND FindDialog(DWORD processId, int controlId) {
    return FindProcessWindow(processId, [controlId](HWND window) {
        wchar_t className[32] = {};
        ::GetClassNameW(window, className, 32);
        return std::wstring(className) == L"#32770" && ::GetDlgItem(window, controlId) != nullptr;
    });
}

// The list's rows as the program shows them, the texts of the first
// `columns` columns each, read through the list's own messages with a
// buffer inside the program's process; empty when the list does not answer.
std::vector<std::vector<std::wstring>> ReadRows(HANDLE process, HWND list, int columns) {
    std::vector<std::vector<std::wstring>> rows;
    DWORD_PTR count = 0;
    if (!::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
        return rows;
    const int kChars = 260;
    char* remote = static_cast<char*>(::VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t),
                                                       MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!remote)
        return rows;
    for (int row = 0; row < static_cast<int>(count); ++row) {
        std::vector<std::wstring> texts;
        for (int column = 0; column < columns; ++column) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iSubItem = column;
            item.pszText = reinterpret_cast<LPWSTR>(remote + sizeof(LVITEMW));
            item.cchTextMax = kChars;
            wchar_t text[kChars] = {};
            DWORD_PTR length = 0;
            if (!::WriteProcessMemory(process, remote, &item, sizeof(item), nullptr) ||
                !::SendMessageTimeoutW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                                       5000, &length) ||
                !::ReadProcessMemory(process, item.pszText, text, sizeof(text) - sizeof(wchar_t), nullptr))
                text[0] = 0;
            texts.push_back(text);
        }
        rows.push_back(texts);
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return rows;
}

// More than one colour in the window's picture.
bool ShowsMoreThanOneColour(HWND window) {
    int width = 0, height = 0;
    const std::vector<Testing::Bgra> pixels = Testing::CaptureWindow(window, width, height);
    for (const Testing::Bgra& pixel : pixels) {
        if (pixel.red != pixels[0].red || pixel.green != pixels[0].green || pixel.blue != pixels[0].blue)
            return true;
    }
    return false;
}

// A row named `name` whose status column ends with `ending`.
bool HasRowEnding(const std::vector<std::vector<std::wstring>>& rows, const std::wstring& name,
                  const std::wstring& ending) {
    return std::any_of(rows.begin(), rows.end(), [&](const std::vector<std::wstring>& row) {
        return row.size() >= 2 && row[0] == name && row[1].size() >= ending.size() &&
               row[1].compare(row[1].size() - ending.size(), ending.size(), ending) == 0;
    });
}

// Hands the address to the program through its Add URL dialog, as a user would.
bool AddAddress(DWORD processId, HWND window, const std::wstring& address) {
    ::PostMessageW(window, WM_COMMAND, ID_ADD_URL, 0);
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindDialog(processId, IDC_ADD_URL_EDIT)) != nullptr; }, 20000))
        return false;
    DWORD_PTR ignored = 0;
    if (!::SendMessageTimeoutW(::GetDlgItem(dialog, IDC_ADD_URL_EDIT), WM_SETTEXT, 0,
                               reinterpret_cast<LPARAM>(address.c_str()), SMTO_ABORTIFHUNG, 5000, &ignored))
        return false;
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    return WaitFor([&] { return !::IsWindow(dialog); }, 20000);
}

bool HasAbsoluteTarget(const Testing::LoopbackHttpServer& server) {
    for (const Testing::HttpRequest& request : server.Requests()) {
        if (request.target.compare(0, 7, "http://") == 0)
            return true;
    }
    return false;
}

// The main window's pictures are another process's window, which only the
// screen shows: these tests run alone.
TEST(ProgramEndToEndAlone, CatchesAVideoAddsOneByAddressAnswersASecondStartAndEndsOnTheExitEvent) {
    // The program may start the elevation service: one user of it at a time.
    // The lock also keeps this the only test that points WinInet's proxy here.
    ElevationTests::ServiceLock serviceLock;
    Testing::LoopbackHttpServer server;
    const std::string first = std::string(20000, 'v'), second = std::string(30000, 'w');
    // Reached directly by the engine; through the proxy they would come with the whole address.
    for (const std::wstring& prefix : {std::wstring(), server.Url(L"")}) {
        const std::string text(prefix.begin(), prefix.end());
        server.SetAnswer(text + "/clip.flv", Testing::HttpAnswer::Ok(first, "video/x-flv"));
        server.SetAnswer(text + "/second.flv", Testing::HttpAnswer::Ok(second, "video/x-flv"));
    }
    InternetProxy proxy(L"127.0.0.1:" + std::to_wstring(server.Port()));
    Testing::TempFolder videos;
    ProgramProfile profile(videos.Path());

    Program program;
    ASSERT_TRUE(
        program.Start(std::wstring(KavennaEngine::TestDoor::kCaughtVariable) + L"=" + server.Url(L"/clip.flv")));
    const HANDLE process = program.info.hProcess;
    const DWORD processId = program.info.dwProcessId;
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindMainWindow(processId)) != nullptr; }, 60000))
        << "the main window shows";
    const HWND list = FindList(window);
    ASSERT_NE(nullptr, list) << "the download list fills the window";

    // The caught video: one row, finished, its file in the videos folder.
    std::vector<std::vector<std::wstring>> rows;
    EXPECT_TRUE(WaitFor([&] { return HasRowEnding(rows = ReadRows(process, list, 2), L"clip.flv", L" finished"); },
                        30000))
        << "the row of the caught video finishes";
    EXPECT_EQ(1u, rows.size());
    const std::wstring file = videos.Path() + L"\\clip.flv";
    EXPECT_TRUE(WaitFor([&] { return Testing::ReadFileBytes(file).size() == first.size(); }, 10000))
        << "the caught video is downloaded into the videos folder";

    // The program's own requests came to the proxy with their whole address.
    EXPECT_TRUE(WaitFor([&] { return HasAbsoluteTarget(server); }, 30000)) << "the update check went to the proxy";

    // Add URL: the dialog's edit takes the address, OK adds a second row.
    ASSERT_TRUE(AddAddress(processId, window, server.Url(L"/second.flv"))) << "the Add URL dialog takes the address";
    EXPECT_TRUE(WaitFor([&] { return HasRowEnding(rows = ReadRows(process, list, 2), L"second.flv", L" finished"); },
                        30000))
        << "the address's row finishes";
    EXPECT_EQ(2u, rows.size());
    EXPECT_TRUE(WaitFor([&] { return Testing::ReadFileBytes(videos.Path() + L"\\second.flv").size() == second.size(); },
                        10000));

    ::Sleep(1000);  // the list's latest paint
    EXPECT_FALSE(Testing::SaveWindowPicture(window, L"brunlow_main_window").empty());
    EXPECT_TRUE(ShowsMoreThanOneColour(window));

    Program secondStart;
    ASSERT_TRUE(secondStart.Start(L""));
    EXPECT_NE(static_cast<DWORD>(STILL_ACTIVE), secondStart.WaitForExit(60000)) << "a second start ends";
    EXPECT_EQ(window, FindMainWindow(processId)) << "the first stays";

    // The exit event while the settings dialog is open: the dialog ends
    // first, then the program, cleanly.
    ::PostMessageW(window, WM_COMMAND, ID_SETTINGS, 0);
    EXPECT_TRUE(WaitFor([&] { return FindDialog(processId, IDOK) != nullptr; }, 20000)) << "the settings dialog shows";
    HANDLE exitEvent = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, L"Brunlow_ExitEvent");
    ASSERT_TRUE(exitEvent);
    ::SetEvent(exitEvent);
    ::CloseHandle(exitEvent);
    EXPECT_EQ(0u, program.WaitForExit(60000)) << "ends with code 0";
    EXPECT_TRUE(profile.HasValue(L"CloseAction")) << "the settings were saved";
    EXPECT_TRUE(ElevationTests::WaitForNoServiceProcess(20000)) << "a service the program started ends with it";
}

// What a user sees first and once videos come: the empty list with its
// picture and a tip, then a download under way (its stop button), one
// finished and one failed (its download-again button), with the toolbar
// and the caption element above them.
TEST(ProgramEndToEndAlone, MainWindowShowsTheEmptyListThenARunningAFinishedAndAFailedRow) {
    ElevationTests::ServiceLock serviceLock;
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/finished.flv", Testing::HttpAnswer::Ok(std::string(20000, 'f'), "video/x-flv"));
    server.SetAnswer("/failed.flv", Testing::HttpAnswer::DroppedMidBody(std::string(40000, 'x'), 10000));
    // Long enough to stay under way until the picture is taken.
    server.SetAnswer("/running.flv", Testing::HttpAnswer::Slow(std::string(2000000, 'r'), 8000, 100));
    InternetProxy proxy(L"127.0.0.1:" + std::to_wstring(server.Port()));
    Testing::TempFolder videos;
    ProgramProfile profile(videos.Path());
    // The finished download waits with its convert button.
    profile.Write(L"AutomaticConvertion", L"false");
    // A tip without a picture of its own: the empty list shows the program's.
    TipsFile tips(
        "Double-click a finished video to watch it. Right-click it to find the file, rename it or convert it.");

    Program program;
    ASSERT_TRUE(program.Start(L""));
    const HANDLE process = program.info.hProcess;
    const DWORD processId = program.info.dwProcessId;
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindMainWindow(processId)) != nullptr; }, 60000));
    const HWND list = FindList(window);
    ASSERT_NE(nullptr, list);
    ::Sleep(1500);  // the empty list's tip is laid out at its first paint
    EXPECT_TRUE(ReadRows(process, list, 1).empty());
    EXPECT_FALSE(Testing::SaveWindowPicture(window, L"brunlow_empty_list").empty());

    ASSERT_TRUE(AddAddress(processId, window, server.Url(L"/finished.flv")));
    ASSERT_TRUE(AddAddress(processId, window, server.Url(L"/failed.flv")));
    ASSERT_TRUE(AddAddress(processId, window, server.Url(L"/running.flv")));
    std::vector<std::vector<std::wstring>> rows;
    EXPECT_TRUE(WaitFor(
        [&] {
            rows = ReadRows(process, list, 2);
            return rows.size() == 3 && HasRowEnding(rows, L"finished.flv", L" finished") &&
                   HasRowEnding(rows, L"failed.flv", L" failed");
        },
        30000))
        << "a finished and a failed row";
    EXPECT_TRUE(WaitFor([&] { return server.Requests().size() >= 3; }, 10000)) << "the running one is under way";
    ::Sleep(3000);  // its bar moves
    rows = ReadRows(process, list, 2);
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const std::vector<std::wstring>& row) {
        return row.size() >= 2 && row[0] == L"running.flv" && row[1].empty();
    })) << "the running row shows its bar, not a status";
    EXPECT_FALSE(Testing::SaveWindowPicture(window, L"brunlow_main_window_rows").empty());

    HANDLE exitEvent = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, L"Brunlow_ExitEvent");
    ASSERT_TRUE(exitEvent);
    ::SetEvent(exitEvent);
    ::CloseHandle(exitEvent);
    EXPECT_EQ(0u, program.WaitForExit(60000)) << "ends with code 0";
    EXPECT_TRUE(ElevationTests::WaitForNoServiceProcess(20000));
}

}  // namespace
