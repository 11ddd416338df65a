#include "foundation/debugging/LogFile.h"

#include "foundation/filesystem/File.h"
#include "foundation/strings/StringConversions.h"

namespace Debugging {

LogFile::~LogFile() {
    Close();
}

bool LogFile::Open(const std::wstring& path) {
    if (IsOpen())
        return true;
    FileSystem::File(path).GetFolder().Create();
    // Append access: programs started by this one inherit the configuration and
    // write to the same file; with a file pointer of its own each would write
    // over the lines the other added since it opened the file.
    const HANDLE handle = ::CreateFileW(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    ::SetFilePointer(handle, 0, nullptr, FILE_END);
    m_handle.store(handle);
    return true;
}

bool LogFile::Write(const wlitestring& text) {
    const HANDLE handle = m_handle.load();
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const std::string bytes = STLHelpers::WideToUtf8(text);
    DWORD written = 0;
    return ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
}

void LogFile::Close() {
    const HANDLE handle = m_handle.exchange(INVALID_HANDLE_VALUE);
    if (handle != INVALID_HANDLE_VALUE)
        ::CloseHandle(handle);
}

}  // namespace Debugging
