#include "CallLog.h"

#include <windows.h>

namespace Vantrel {
namespace {

std::string ToUtf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size, nullptr, nullptr);
    return result;
}

std::wstring CallLogPath() {
    std::wstring path = GetModulePath();
    const size_t slash = path.find_last_of(L'\\');
    path.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return path + L"Vantrel.calls.log";
}

}  // namespace

std::wstring GetModulePath() {
    // Long enough for any path Windows gives a module.
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(length < path.size() ? length : 0);
    return path;
}

void LogCall(const wchar_t* method, std::initializer_list<std::wstring> arguments) {
    std::wstring line = std::to_wstring(GetCurrentProcessId()) + L"\t" + method;
    for (const std::wstring& argument : arguments)
        line += L"\t" + argument;
    const std::string bytes = ToUtf8(line) + "\r\n";
    // Appends only, and lets other servers append at the same time.
    HANDLE file = CreateFileW(CallLogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace Vantrel
