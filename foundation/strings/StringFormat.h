#pragma once
// Positional "{0}" formatting and a printf-style formatter that reports its
// own failures instead of throwing.
#include "foundation/strings/LiteString.h"

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

namespace STLHelpers {

// Replaces "{0}", "{1}", ... by the arguments, one index after the other, so
// text inserted for an earlier index is searched for the later ones.
// Placeholders without an argument stay; there is no escape.
std::wstring FormatString(const wlitestring& format, const std::vector<std::wstring>& arguments);
std::wstring FormatString1(const wlitestring& format, const std::wstring& argument0);
std::wstring FormatString2(const wlitestring& format, const std::wstring& argument0, const std::wstring& argument1);
// "{0}" replaced by the value's plain decimal digits, into `out`; returns `out`.
std::wstring& FormatWithNumber(std::wstring& out, const wlitestring& format, std::uint32_t value);

// The formatted text (msvcrt's wide printf; a null format is empty).
// Longer than kMaxFormattedLength: cut there and "... (truncated)" appended.
// Arguments the formatter refuses: a warning check "((hr))" and the result is
// the format followed by "... (bad args)".
constexpr int kMaxFormattedLength = 32767;
std::wstring VFormatWString(const wchar_t* format, va_list arguments);

}  // namespace STLHelpers
