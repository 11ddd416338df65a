#include "foundation/strings/NumberStrings.h"

#include <boost/lexical_cast.hpp>

namespace STLHelpers {

std::wstring NumberToWString(std::uint32_t value) {
    wchar_t digits[16];
    wchar_t* end = digits + 16;
    wchar_t* first = end;
    do {
        *--first = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value);
    return std::wstring(first, end);
}

std::wstring UIntToWString(std::uint32_t value) {
    return NumberToWString(value);
}

std::wstring IntToWString(std::int32_t value) {
    if (value >= 0)
        return NumberToWString(static_cast<std::uint32_t>(value));
    // Negated as unsigned, so INT_MIN does not overflow.
    return L"-" + NumberToWString(0u - static_cast<std::uint32_t>(value));
}

std::wstring& AppendNumber(std::wstring& target, std::uint32_t value) {
    target += NumberToWString(value);
    return target;
}

bool ParseUInt(const wlitestring& text, std::uint32_t& value) {
    value = 0;
    if (text.empty())
        return true;
    // The stream would take "-1" as 4294967295: a sign is never an unsigned number.
    for (wchar_t ch : text) {
        if (ch == L'-')
            return false;
    }
    std::wistringstream stream(text.str());
    stream.imbue(std::locale::classic());
    std::uint32_t parsed = 0;
    stream >> parsed;
    if (stream.fail())
        return false;
    value = parsed;
    return stream.eof();
}

bool IsUnsignedNumber(const wlitestring& text, std::uint32_t& value) {
    return ParseUInt(text, value);
}

std::int32_t ToInt(const wlitestring& text) {
    if (text.empty())
        return 0;
    return boost::lexical_cast<std::int32_t>(text.str());
}

}  // namespace STLHelpers
