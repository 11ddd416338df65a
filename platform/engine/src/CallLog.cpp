#include "CallLog.h"

#include "engine/EngineTestDoor.h"

namespace KavennaEngine {

CallLog& CallLog::Instance() {
    static CallLog log;
    return log;
}

CallLog::CallLog() {
    ::InitializeCriticalSection(&m_section);
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(TestDoor::kCallLogVariable, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        m_filePath = path;
}

CallLog::~CallLog() {
    ::DeleteCriticalSection(&m_section);
}

void CallLog::Write(const std::wstring& call, std::uintptr_t item) {
    const std::wstring line = call + L" item=" + std::to_wstring(item) + L" thread=" +
                              std::to_wstring(::GetCurrentThreadId());
    ::EnterCriticalSection(&m_section);
    m_lines.push_back(line);
    if (!m_filePath.empty()) {
        const HANDLE file = ::CreateFileW(m_filePath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            const std::wstring text = line + L"\r\n";
            const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                                   nullptr, nullptr);
            std::string utf8(size, '\0');
            ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size, nullptr,
                                  nullptr);
            DWORD written = 0;
            ::WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
            ::CloseHandle(file);
        }
    }
    ::LeaveCriticalSection(&m_section);
}

std::vector<std::wstring> CallLog::Lines() {
    ::EnterCriticalSection(&m_section);
    std::vector<std::wstring> lines = m_lines;
    ::LeaveCriticalSection(&m_section);
    return lines;
}

void CallLog::Clear() {
    ::EnterCriticalSection(&m_section);
    m_lines.clear();
    ::LeaveCriticalSection(&m_section);
}

}  // namespace KavennaEngine
