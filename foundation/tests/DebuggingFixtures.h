#pragma once
// Fixtures of the log and crash-handling tests: environment variables set for
// one test, and the fixed HKCU values those subsystems read.
#include "testing/ChildProcess.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace DebuggingTests {

inline std::optional<std::wstring> ReadVariable(const std::wstring& name) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        ::SetLastError(0);
        const DWORD result = ::GetEnvironmentVariableW(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (result == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND)
            return std::nullopt;
        if (result < buffer.size())
            return std::wstring(buffer.data(), result);
        buffer.resize(result + 1);
    }
}

inline void SetVariable(const std::wstring& name, const std::optional<std::wstring>& value) {
    ::SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
}

// Applies the changes (nullopt removes a variable) and puts every touched
// variable back as it was.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const Testing::EnvironmentChanges& changes = {}) { Set(changes); }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : m_saved)
            SetVariable(name, value);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void Set(const Testing::EnvironmentChanges& changes) {
        for (const auto& [name, value] : changes) {
            m_saved.emplace(name, ReadVariable(name));
            SetVariable(name, value);
        }
    }

private:
    std::map<std::wstring, std::optional<std::wstring>> m_saved;
};

// The variables of the log and of crash handling, all removed.
inline Testing::EnvironmentChanges NoDebuggingVariables() {
    Testing::EnvironmentChanges changes;
    for (const wchar_t* name : {L"Debugging_Log_Path", L"Debugging_Log_Level", L"Debugging_Log_Flags",
                                L"Debugging_Mirror_Path", L"Debugging_Log_DelayedData", L"VerboseCrashHandling",
                                L"ProductName", L"ProductNameShort"})
        changes[name] = std::nullopt;
    return changes;
}

// The test executables of one run share the prefix's HKCU. Tests that write
// the fixed keys of the log or of crash handling, and tests whose result
// depends on those keys being absent, hold this lock across processes.
class FixedKeysLock {
public:
    FixedKeysLock() : m_mutex(::CreateMutexW(nullptr, FALSE, L"BrunlowTests.DebuggingFixedKeys")) {
        const DWORD wait = m_mutex ? ::WaitForSingleObject(m_mutex, 600000) : WAIT_FAILED;
        m_isHeld = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        EXPECT_TRUE(m_isHeld) << "the lock of the fixed debugging keys";
    }
    ~FixedKeysLock() {
        if (m_isHeld)
            ::ReleaseMutex(m_mutex);
        if (m_mutex)
            ::CloseHandle(m_mutex);
    }
    FixedKeysLock(const FixedKeysLock&) = delete;
    FixedKeysLock& operator=(const FixedKeysLock&) = delete;

private:
    HANDLE m_mutex;
    bool m_isHeld = false;
};

// A DWORD under HKEY_CURRENT_USER (nullopt: absent) for one test; the value
// as it was comes back afterwards. Hold a FixedKeysLock around it.
class ScopedUserDword {
public:
    ScopedUserDword(std::wstring subKey, std::wstring name, std::optional<DWORD> value)
        : m_subKey(std::move(subKey)), m_name(std::move(name)) {
        DWORD data = 0;
        DWORD size = sizeof data;
        DWORD type = 0;
        if (::RegGetValueW(HKEY_CURRENT_USER, m_subKey.c_str(), m_name.c_str(), RRF_RT_REG_DWORD, &type, &data,
                           &size) == ERROR_SUCCESS)
            m_previous = data;
        Set(value);
    }
    ~ScopedUserDword() { Set(m_previous); }
    ScopedUserDword(const ScopedUserDword&) = delete;
    ScopedUserDword& operator=(const ScopedUserDword&) = delete;

    void Set(std::optional<DWORD> value) {
        if (value) {
            HKEY key = nullptr;
            if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr) == ERROR_SUCCESS) {
                ::RegSetValueExW(key, m_name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value),
                                 sizeof(DWORD));
                ::RegCloseKey(key);
            }
        } else {
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, m_subKey.c_str(), m_name.c_str());
        }
    }

private:
    std::wstring m_subKey;
    std::wstring m_name;
    std::optional<DWORD> m_previous;
};

inline std::size_t CountOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// The lines of a text without their "\r\n".
inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

}  // namespace DebuggingTests
