#pragma once
// The real Brunlow.exe under Wine, driven from outside as a user would: its
// profile written first and removed after, WinInet's proxy pointed at a
// loopback server, the program started from a folder with an environment of
// the test's choosing, its windows found, and its list read through the
// list's own messages with a buffer inside the program's process.
#include "foundation/filesystem/ShellFolders.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace ProgramTests {

const wchar_t kProfileKey[] = L"Software\\Brunlow";
const wchar_t kMainWindowTitle[] = L"Brunlow Video Downloader 2.5.1";

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
    ProgramProfile(const ProgramProfile&) = delete;
    ProgramProfile& operator=(const ProgramProfile&) = delete;

    void SetText(const wchar_t* name, const std::wstring& text) const {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, (std::wstring(kProfileKey) + L"\\Settings").c_str(), name, REG_SZ,
                          text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    bool HasValue(const wchar_t* name) const {
        return ::RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kProfileKey) + L"\\Settings").c_str(), name,
                              RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
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

// build/program, beside the tests' bin folder.
inline std::wstring BuiltProgramFolder() {
    std::wstring bin = FileSystem::GetModuleFolder(nullptr).GetPath();
    while (!bin.empty() && (bin.back() == L'\\' || bin.back() == L'/'))
        bin.pop_back();
    return bin.substr(0, bin.find_last_of(L"\\/")) + L"\\program";
}

// A program started in its folder with our environment plus `additions`
// ("NAME=value" each); ended, if still running, on destruction.
struct Program {
    PROCESS_INFORMATION info = {};
    bool Start(const std::vector<std::wstring>& additions = {}, const std::wstring& folder = BuiltProgramFolder(),
               const std::wstring& executable = L"Brunlow.exe", const std::wstring& arguments = L"") {
        std::wstring line = L"\"" + folder + L"\\" + executable + L"\"";
        if (!arguments.empty())
            line += (arguments[0] == L' ' ? L"" : L" ") + arguments;
        std::vector<wchar_t> environment;
        LPWCH current = ::GetEnvironmentStringsW();
        for (const wchar_t* p = current; *p; p += wcslen(p) + 1) {
            // WinInet would take a proxy from the environment before the registry's.
            if (_wcsnicmp(p, L"http_proxy=", 11) == 0 || _wcsnicmp(p, L"https_proxy=", 12) == 0)
                continue;
            environment.insert(environment.end(), p, p + wcslen(p) + 1);
        }
        ::FreeEnvironmentStringsW(current);
        for (const std::wstring& addition : additions)
            environment.insert(environment.end(), addition.c_str(), addition.c_str() + addition.size() + 1);
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

// The first top-level window of the process that `matches` (visible ones
// only unless asked); null.
struct WindowSearch {
    DWORD processId;
    const std::function<bool(HWND)>* matches;
    bool visibleOnly;
    HWND found;
};

inline BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM parameter) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && (!search.visibleOnly || ::IsWindowVisible(window)) &&
        (*search.matches)(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

inline HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& matches, bool visibleOnly = true) {
    WindowSearch search = {processId, &matches, visibleOnly, nullptr};
    ::EnumWindows(&MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Without a message: a hung program must not hang the search.
inline std::wstring TitleOf(HWND window) {
    wchar_t title[512] = {};
    ::InternalGetWindowText(window, title, 512);
    return title;
}

inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

inline HWND FindMainWindow(DWORD processId) {
    return FindProcessWindow(processId, [](HWND window) { return TitleOf(window) == kMainWindowTitle; });
}

inline HWND FindList(HWND frame) {
    return ::FindWindowExW(frame, nullptr, WC_LISTVIEWW, nullptr);
}

// The program's main window once it shows, and the download list that fills
// it; false when either does not come.
inline bool WaitForMainWindow(const Program& program, HWND& window, HWND& list) {
    list = nullptr;
    if (!WaitFor([&] { return (window = FindMainWindow(program.info.dwProcessId)) != nullptr; }, 60000))
        return false;
    list = FindList(window);
    return list != nullptr;
}

// A visible dialog of the process with a control of that id, or null.
inline HWND FindDialog(DWORD processId, int controlId) {
    return FindProcessWindow(processId, [controlId](HWND window) {
        return ClassOf(window) == L"#32770" && ::GetDlgItem(window, controlId) != nullptr;
    });
}

inline std::wstring ItemTextOf(HWND dialog, int id) {
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(::GetDlgItem(dialog, id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, 5000, &length);
    return text;
}

// Memory inside the program's process, for the list's messages that carry
// a structure; freed on destruction.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, std::size_t size)
        : m_process(process),
          m_memory(static_cast<char*>(
              ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
    ~RemoteBuffer() {
        if (m_memory)
            ::VirtualFreeEx(m_process, m_memory, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    char* Address() const { return m_memory; }
    bool Write(const void* data, std::size_t size, std::size_t offset = 0) const {
        return m_memory && ::WriteProcessMemory(m_process, m_memory + offset, data, size, nullptr);
    }
    bool Read(void* data, std::size_t size, std::size_t offset = 0) const {
        return m_memory && ::ReadProcessMemory(m_process, m_memory + offset, data, size, nullptr);
    }

private:
    HANDLE m_process;
    char* m_memory;
};

using Rows = std::vector<std::vector<std::wstring>>;

// The list's rows as the program shows them, the texts of the first
// `columns` columns each; empty when the list does not answer.
inline Rows ReadRows(HANDLE process, HWND list, int columns) {
    Rows rows;
    DWORD_PTR count = 0;
    if (!::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
        return rows;
    const int kChars = 260;
    const RemoteBuffer remote(process, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    if (!remote.Address())
        return rows;
    for (int row = 0; row < static_cast<int>(count); ++row) {
        std::vector<std::wstring> texts;
        for (int column = 0; column < columns; ++column) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iSubItem = column;
            item.pszText = reinterpret_cast<LPWSTR>(remote.Address() + sizeof(LVITEMW));
            item.cchTextMax = kChars;
            wchar_t text[kChars] = {};
            DWORD_PTR length = 0;
            if (!remote.Write(&item, sizeof(item)) ||
                !::SendMessageTimeoutW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.Address()),
                                       SMTO_ABORTIFHUNG, 5000, &length) ||
                !remote.Read(text, sizeof(text) - sizeof(wchar_t), sizeof(LVITEMW)))
                text[0] = 0;
            texts.push_back(text);
        }
        rows.push_back(texts);
    }
    return rows;
}

// The row named `name`, or null.
inline const std::vector<std::wstring>* FindRow(const Rows& rows, const std::wstring& name) {
    for (const std::vector<std::wstring>& row : rows) {
        if (!row.empty() && row[0] == name)
            return &row;
    }
    return nullptr;
}

// A row named `name` whose status column ends with `ending`.
inline bool HasRowEnding(const Rows& rows, const std::wstring& name, const std::wstring& ending) {
    const std::vector<std::wstring>* row = FindRow(rows, name);
    return row && row->size() >= 2 && (*row)[1].size() >= ending.size() &&
           (*row)[1].compare((*row)[1].size() - ending.size(), ending.size(), ending) == 0;
}

inline bool HasFinishedRow(const Rows& rows, const std::wstring& name) {
    return HasRowEnding(rows, name, L" finished");
}

// A cell's text rectangle in the list's client coordinates (for column 0
// without the row's picture; LVIR_BOUNDS for the whole cell); empty when
// unknown.
inline RECT CellRect(HANDLE process, HWND list, int row, int column, LONG part = LVIR_LABEL) {
    RECT rect = {part, column, 0, 0};
    const RemoteBuffer remote(process, sizeof(rect));
    DWORD_PTR answer = 0;
    if (!remote.Write(&rect, sizeof(rect)) ||
        !::SendMessageTimeoutW(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(remote.Address()),
                               SMTO_ABORTIFHUNG, 5000, &answer) ||
        !answer || !remote.Read(&rect, sizeof(rect)))
        return RECT{};
    return rect;
}

// Makes `row` the list's only selected row.
inline bool SelectOnly(HANDLE process, HWND list, int row) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    const RemoteBuffer remote(process, sizeof(item));
    DWORD_PTR answer = 0;
    if (!remote.Write(&item, sizeof(item)) ||
        !::SendMessageTimeoutW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(remote.Address()), SMTO_ABORTIFHUNG, 5000, &answer))
        return false;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    return remote.Write(&item, sizeof(item)) &&
           ::SendMessageTimeoutW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.Address()),
                                 SMTO_ABORTIFHUNG, 5000, &answer);
}

// No "{" left of a placeholder, no two blanks in a row.
inline testing::AssertionResult ReadsClean(const std::wstring& text) {
    if (text.find(L'{') != std::wstring::npos)
        return testing::AssertionFailure() << "a placeholder in \"" << text << "\"";
    if (text.find(L"  ") != std::wstring::npos)
        return testing::AssertionFailure() << "two blanks in \"" << text << "\"";
    return testing::AssertionSuccess();
}

// Sets the program's exit event, as the Updater does.
inline bool SetExitEvent() {
    HANDLE exitEvent = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, L"Brunlow_ExitEvent");
    if (!exitEvent)
        return false;
    const bool set = ::SetEvent(exitEvent) != FALSE;
    ::CloseHandle(exitEvent);
    return set;
}

}  // namespace ProgramTests
