#include "foundation/system/Environment.h"

#include "foundation/errors/Checks.h"
#include "foundation/strings/NumberStrings.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace System {
namespace {

const DWORD kFirstBufferSize = 128;
const DWORD kLongestRead = 1024;  // a required size above it is not read
const int kReadTries = 10;

}  // namespace

bool ReadEnvironmentVariable(const wlitestring& name, std::wstring& text) {
    text.clear();
    CHECK_ASSERT(!name.empty());
    if (name.empty())
        return false;
    const wlitestring::c_string_holder zName(name);
    DWORD size = kFirstBufferSize;
    std::vector<wchar_t> buffer(size);
    DWORD lastError = 0;
    for (int tries = 0; tries < kReadTries; ++tries) {
        ::SetLastError(0);
        const DWORD result = ::GetEnvironmentVariableW(zName.c_str(), buffer.data(), size);
        lastError = ::GetLastError();
        if (result + 2 <= size) {
            text.assign(buffer.data(), result);
            break;
        }
        if (result > kLongestRead)
            break;
        // result < size: the text filled the buffer exactly, so its size is
        // unknown; otherwise result is the size needed.
        DWORD next = result < size ? std::max<DWORD>(2 * size, kFirstBufferSize) : result;
        next = std::min<DWORD>(next, kLongestRead + 1);
        if (next <= size)
            break;
        size = next;
        buffer.resize(size);
    }
    if (text.empty() && lastError != ERROR_ENVVAR_NOT_FOUND && lastError != ERROR_INSUFFICIENT_BUFFER) {
        const HRESULT lerr = ErrorHandling::ErrorCode::FromWin32Error(lastError);
        CHECK_ASSERT_HR(lerr);
    }
    return !text.empty();
}

std::wstring GetEnvironmentString(const wlitestring& name) {
    std::wstring text;
    ReadEnvironmentVariable(name, text);
    return text;
}

bool ReadEnvironmentUInt(const wlitestring& name, std::uint32_t& value) {
    std::wstring text;
    if (!ReadEnvironmentVariable(name, text))
        return false;
    return STLHelpers::ParseUInt(text, value);
}

bool SetEnvironmentText(const wlitestring& name, const wlitestring& text, int mode) {
    const wlitestring::c_string_holder zName(name);
    const wlitestring::c_string_holder zText(text);
    if (mode == 1)
        ::SetEnvironmentVariableW(zName.c_str(), nullptr);
    if (::SetEnvironmentVariableW(zName.c_str(), zText.c_str()))
        return true;
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS)
        return false;
    const HRESULT lerr = ErrorHandling::ErrorCode::FromWin32Error(error);
    CHECK_ASSERT_HR(lerr);
    return false;
}

bool SetEnvironmentString(const wlitestring& name, const std::wstring& value, int mode) {
    const std::wstring text = value;
    return SetEnvironmentText(name, text, mode);
}

bool SetEnvironmentInt(const wlitestring& name, const std::int32_t& value, int mode) {
    return SetEnvironmentText(name, STLHelpers::IntToWString(value), mode);
}

bool SetEnvironmentUInt(const wlitestring& name, const std::uint32_t& value, int mode) {
    return SetEnvironmentText(name, STLHelpers::UIntToWString(value), mode);
}

bool RemoveEnvironmentVariable(const wlitestring& name) {
    const wlitestring::c_string_holder zName(name);
    return ::SetEnvironmentVariableW(zName.c_str(), nullptr) != FALSE;
}

}  // namespace System
