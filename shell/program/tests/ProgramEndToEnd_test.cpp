// The real Brunlow.exe under Wine: its profile written first and removed
// after, the videos folder a temporary one, the capture engine's stand-in
// catching a loopback address when it is switched on.
#include "engine/EngineTestDoor.h"
#include "foundation/filesystem/ShellFolders.h"
#include "platform/elevation/tests/ElevationServiceFixture.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

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
        HKEY key = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kProfileKey) + L"\\Settings").c_str(), 0, nullptr, 0,
                          KEY_WRITE, nullptr, &key, nullptr);
        ::RegSetValueExW(key, L"VideosFolder", 0, REG_SZ, reinterpret_cast<const BYTE*>(videosFolder.c_str()),
                         static_cast<DWORD>((videosFolder.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(key);
    }
    ~ProgramProfile() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey); }
    bool HasValue(const wchar_t* name) const {
        return ::RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kProfileKey) + L"\\Settings").c_str(), name,
                              RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
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
        for (const wchar_t* p = current; *p; p += wcslen(p) + 1)
            environment.insert(environment.end(), p, p + wcslen(p) + 1);
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

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM parameter) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t title[128] = {};
    // Without a message: a hung program must not hang the search.
    ::InternalGetWindowText(window, title, 128);
    if (owner == search.processId && ::IsWindowVisible(window) && std::wstring(title) == kTitle) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindMainWindow(DWORD processId) {
    WindowSearch search = {processId, nullptr};
    ::EnumWindows(&MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
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

TEST(ProgramEndToEnd, CatchesAVideoAnswersASecondStartAndEndsOnTheExitEvent) {
    // The program may start the elevation service: one user of it at a time.
    ElevationTests::ServiceLock serviceLock;
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/clip.flv", Testing::HttpAnswer::Ok(std::string(20000, 'v'), "video/x-flv"));
    Testing::TempFolder videos;
    ProgramProfile profile(videos.Path());

    Program first;
    ASSERT_TRUE(first.Start(std::wstring(KavennaEngine::TestDoor::kCaughtVariable) + L"=" + server.Url(L"/clip.flv")));
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindMainWindow(first.info.dwProcessId)) != nullptr; }, 60000))
        << "the main window shows";

    const std::wstring file = videos.Path() + L"\\clip.flv";
    EXPECT_TRUE(WaitFor([&] { return ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000))
        << "the caught video is downloaded into the videos folder";
    EXPECT_NE(nullptr, FindList(window)) << "the download list fills the window";
    ::Sleep(1000);  // the list's first paint
    EXPECT_FALSE(Testing::SaveWindowPicture(window, L"brunlow_main_window").empty());

    Program second;
    ASSERT_TRUE(second.Start(L""));
    EXPECT_NE(static_cast<DWORD>(STILL_ACTIVE), second.WaitForExit(60000)) << "a second start ends";
    EXPECT_EQ(window, FindMainWindow(first.info.dwProcessId)) << "the first stays";

    HANDLE exitEvent = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, L"Brunlow_ExitEvent");
    ASSERT_TRUE(exitEvent);
    ::SetEvent(exitEvent);
    ::CloseHandle(exitEvent);
    EXPECT_EQ(0u, first.WaitForExit(60000)) << "ends with code 0";
    EXPECT_TRUE(profile.HasValue(L"CloseAction")) << "the settings were saved";
    EXPECT_TRUE(ElevationTests::WaitForNoServiceProcess(20000)) << "a service the program started ends with it";
}

}  // namespace
