#pragma once
// Fixtures shared by the Updater's tests: registry keys under a root of the
// test's choosing, unique product names, the stand-in programs beside the
// test executable, and started processes.
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <windows.h>

#include <string>
#include <vector>

namespace UpdaterTests {

// A key created under `root` (the program's own registry view) and deleted
// with its subtree on destruction.
class ScopedKey {
public:
    ScopedKey(HKEY root, const std::wstring& path) : m_root(root), m_path(path) {
        RegCreateKeyExW(m_root, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
    }
    ~ScopedKey() {
        if (m_key)
            RegCloseKey(m_key);
        RegDeleteTreeW(m_root, m_path.c_str());
        RegDeleteKeyW(m_root, m_path.c_str());
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;

    bool SetString(const wchar_t* name, const std::wstring& value) const {
        return m_key && RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

private:
    HKEY m_root;
    std::wstring m_path;
    HKEY m_key = nullptr;
};

// A product name no other test (or program) uses.
inline std::wstring UniqueName(const std::wstring& stem) {
    std::wstring guid = Testing::NewGuidText();
    std::wstring compact;
    for (wchar_t ch : guid) {
        if (iswxdigit(ch))
            compact += ch;
    }
    return stem + compact.substr(0, 12);
}

// A file beside the test executable.
inline std::wstring BesideTests(const std::wstring& name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1) + name;
}

// A started program, ended (if still running) and closed on destruction.
class StartedProcess {
public:
    StartedProcess(const std::wstring& path, const std::wstring& arguments) {
        std::wstring commandLine = L"\"" + path + L"\" " + arguments;
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        m_started = CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                   &m_info) != FALSE;
        if (m_started)
            CloseHandle(m_info.hThread);
    }
    ~StartedProcess() {
        if (!m_started)
            return;
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_info.hProcess, 0xDEAD);
            WaitForSingleObject(m_info.hProcess, 10000);
        }
        CloseHandle(m_info.hProcess);
    }
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    bool IsStarted() const { return m_started; }
    DWORD Id() const { return m_info.dwProcessId; }
    bool HasEnded(DWORD timeoutMs) const { return WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0; }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

private:
    bool m_started = false;
    PROCESS_INFORMATION m_info = {};
};

// The UTF-16 texts of every "*.txt" a stand-in wrote into `folder`.
inline std::vector<std::wstring> ReadRecords(const std::wstring& folder) {
    std::vector<std::wstring> records;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return records;
    do {
        const std::string bytes = Testing::ReadFileBytes(folder + L"\\" + found.cFileName);
        records.emplace_back(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return records;
}

// The value of a "Name=value" line of a record; "<missing>" without one.
inline std::wstring RecordField(const std::wstring& record, const std::wstring& name) {
    const std::wstring key = name + L"=";
    const std::size_t start = record.find(key);
    if (start == std::wstring::npos)
        return L"<missing>";
    const std::size_t valueStart = start + key.size();
    return record.substr(valueStart, record.find(L"\r\n", valueStart) - valueStart);
}

}  // namespace UpdaterTests
