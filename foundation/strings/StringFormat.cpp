#include "foundation/strings/StringFormat.h"

#include "foundation/errors/Checks.h"
#include "foundation/strings/NumberStrings.h"
#include "foundation/strings/StringAlgorithms.h"

#include <cstdio>
#include <cwchar>

namespace STLHelpers {

std::wstring FormatString(const wlitestring& format, const std::vector<std::wstring>& arguments) {
    std::wstring result = format.str();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring placeholder = L"{" + NumberToWString(static_cast<std::uint32_t>(i)) + L"}";
        ReplaceAllInPlace(result, placeholder, arguments[i]);
    }
    return result;
}

std::wstring FormatString1(const wlitestring& format, const std::wstring& argument0) {
    return FormatString(format, std::vector<std::wstring>{argument0});
}

std::wstring& FormatWithNumber(std::wstring& out, const wlitestring& format, std::uint32_t value) {
    out = FormatString1(format, NumberToWString(value));
    return out;
}

std::wstring FormatString2(const wlitestring& format, const std::wstring& argument0, const std::wstring& argument1) {
    return FormatString(format, std::vector<std::wstring>{argument0, argument1});
}

// msvcrt's counted formatter answers -1 both for a text that does not fit and
// for arguments it refuses, so the needed length is measured first: only a
// refusal makes the measuring call fail.
std::wstring VFormatWString(const wchar_t* format, va_list arguments) {
    if (!format)
        format = L"";

    va_list measuring;
    va_copy(measuring, arguments);
    const int needed = _vscwprintf(format, measuring);
    va_end(measuring);

    if (needed < 0) {
        const HRESULT hr = E_INVALIDARG;
        CHECK_WARNING_HR(hr);
        return std::wstring(format) + L"... (bad args)";
    }

    const bool fits = needed <= kMaxFormattedLength;
    const int length = fits ? needed : kMaxFormattedLength;
    std::wstring result(static_cast<std::size_t>(length) + 1, L'\0');
    va_list writing;
    va_copy(writing, arguments);
    const int written = _vsnwprintf(&result[0], static_cast<std::size_t>(length), format, writing);
    va_end(writing);

    result.resize(written >= 0 ? static_cast<std::size_t>(written) : static_cast<std::size_t>(length));
    if (!fits)
        result += L"... (truncated)";
    return result;
}

}  // namespace STLHelpers
