#include "foundation/strings/StringConversions.h"

#include <string>

namespace STLHelpers {
namespace {

template <class Ch>
int MeasureIfNeeded(const Ch* text, int length) {
    if (!text)
        return 0;
    return length < 0 ? static_cast<int>(std::char_traits<Ch>::length(text)) : length;
}

}  // namespace

int GetWideLength(const char* text, int length, const CodePageInfo& codePage) {
    length = MeasureIfNeeded(text, length);
    if (codePage.codePage == 0)
        return length;
    if (length == 0)
        return 0;
    const int needed = ::MultiByteToWideChar(codePage.codePage, codePage.flags, text, length, nullptr, 0);
    return needed < 0 ? 0 : needed;
}

int GetNarrowLength(const wchar_t* text, int length, const CodePageInfo& codePage) {
    length = MeasureIfNeeded(text, length);
    if (codePage.codePage == 0)
        return length;
    if (length == 0)
        return 0;
    const int needed = ::WideCharToMultiByte(codePage.codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    return needed < 0 ? 0 : needed;
}

// The source length is measured once and handed to both the sizing and the
// converting call, so a reference into a longer buffer converts only its own
// characters and nothing past it is read.
const wchar_t* MultiByteToWString(const char* text, int length, std::wstring& result, const CodePageInfo& codePage) {
    result.clear();
    length = MeasureIfNeeded(text, length);
    const int size = GetWideLength(text, length, codePage);
    if (size > 0) {
        result.resize(size);
        const int written = ::MultiByteToWideChar(codePage.codePage, codePage.flags, text, length, &result[0], size);
        if (written > 0)
            result.resize(written);
        else if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            result.clear();
    }
    if (!result.empty() && result[0] == L'\0')
        result.clear();
    return result.c_str();
}

const char* WStringToMultiByte(const wchar_t* text, int length, std::string& result, const CodePageInfo& codePage) {
    result.clear();
    length = MeasureIfNeeded(text, length);
    const int size = GetNarrowLength(text, length, codePage);
    if (size > 0) {
        result.resize(size);
        const int written = ::WideCharToMultiByte(codePage.codePage, 0, text, length, &result[0], size, nullptr, nullptr);
        if (written > 0)
            result.resize(written);
        else if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            result.clear();
    }
    if (!result.empty() && result[0] == '\0')
        result.clear();
    return result.c_str();
}

std::wstring Utf8ToWide(const litestring& text) {
    std::wstring result;
    MultiByteToWString(text.data(), text.length(), result, kUtf8CodePage);
    return result;
}

std::string WideToUtf8(const wlitestring& text) {
    std::string result;
    WStringToMultiByte(text.data(), text.length(), result, kUtf8CodePage);
    return result;
}

void AppendUtf8Ref(std::wstring& target, const char* text) {
    target += Utf8ToWide(text);
}

void AppendUtf8(std::wstring& target, const std::string& text) {
    target += Utf8ToWide(text);
}

std::wstring RefToWString(const wlitestring& text) {
    return text.str();
}

std::string StrRefToString(const litestring& text) {
    return text.str();
}

}  // namespace STLHelpers
