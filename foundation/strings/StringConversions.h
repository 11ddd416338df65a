#pragma once
// Conversions between UTF-16 text and narrow text. They never throw on bad
// input: an unconvertible text gives an empty result, invalid UTF-8 gives the
// system's replacement characters.
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <string>

namespace STLHelpers {

// The code page and MultiByteToWideChar flags of a conversion.
struct CodePageInfo {
    UINT codePage;
    DWORD flags;
};

constexpr CodePageInfo kUtf8CodePage = {CP_UTF8, 0};

// Characters that `text` converts to (length -1: up to its zero, which is not
// counted). Code page 0 answers the byte count itself.
int GetWideLength(const char* text, int length, const CodePageInfo& codePage);
// Bytes that `text` converts to (flags 0). Code page 0 answers the character count.
int GetNarrowLength(const wchar_t* text, int length, const CodePageInfo& codePage);

// Replaces `result` with the converted text and returns result.c_str().
// Exactly `length` units are read (-1: up to the zero), never beyond.
const wchar_t* MultiByteToWString(const char* text, int length, std::wstring& result, const CodePageInfo& codePage);
const char* WStringToMultiByte(const wchar_t* text, int length, std::string& result, const CodePageInfo& codePage);

std::wstring Utf8ToWide(const litestring& text);
std::string WideToUtf8(const wlitestring& text);

// Append UTF-8 text, converted, to a wide string.
void AppendUtf8Ref(std::wstring& target, const char* text);
void AppendUtf8(std::wstring& target, const std::string& text);

// Copies of exactly the referenced characters.
std::wstring RefToWString(const wlitestring& text);
std::string StrRefToString(const litestring& text);

}  // namespace STLHelpers
