#pragma once
// Decimal text of numbers and numbers from decimal text.
#include "foundation/strings/LiteString.h"

#include <cstdint>
#include <locale>
#include <sstream>
#include <string>

namespace STLHelpers {

// Plain decimal digits: no sign, no grouping, no leading zeros.
std::wstring NumberToWString(std::uint32_t value);
std::wstring UIntToWString(std::uint32_t value);
// Decimal; a negative value begins with "-".
std::wstring IntToWString(std::int32_t value);

// Appends the decimal text of `value`; returns `target`.
std::wstring& AppendNumber(std::wstring& target, std::uint32_t value);

// Formats one value through a wide string stream (classic locale, so an
// integer gives its plain digits) into `out`; returns `out`.
template <class T>
std::wstring& ToWString(std::wstring& out, const T& value) {
    std::wostringstream stream;
    stream.imbue(std::locale::classic());
    stream << value;
    out = stream.str();
    return out;
}

// Reads an unsigned decimal number that makes up the whole text. An empty or
// null text gives 0 and true; "42x", "x" and "-1" give false.
bool ParseUInt(const wlitestring& text, std::uint32_t& value);
// The same test; the caller is told whether the text is an unsigned number.
bool IsUnsignedNumber(const wlitestring& text, std::uint32_t& value);

// 0 for a null or empty text; otherwise the whole text must be one decimal
// int, else boost::bad_lexical_cast (a std::bad_cast) is thrown.
std::int32_t ToInt(const wlitestring& text);

}  // namespace STLHelpers
