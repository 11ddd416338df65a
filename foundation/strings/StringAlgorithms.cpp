#include "foundation/strings/StringAlgorithms.h"

#include <locale>

namespace STLHelpers {
namespace {

const wchar_t kWhitespace[] = L" \t\r\n";

bool Contains(const wlitestring& characters, wchar_t ch) {
    for (wchar_t candidate : characters) {
        if (candidate == ch)
            return true;
    }
    return false;
}

bool IsQuoted(const wlitestring& text, wchar_t quote) {
    const int length = text.length();
    return length >= 2 && text[0] == quote && text[length - 1] == quote;
}

}  // namespace

std::wstring ReplaceAllCopy(const wlitestring& text, const wlitestring& search, const wlitestring& replacement) {
    const int searchLength = search.length();
    if (searchLength == 0)
        return text.str();
    std::wstring result;
    result.reserve(text.length());
    int from = 0;
    for (int at = text.find(search, 0); at != wlitestring::npos; at = text.find(search, from)) {
        result.append(text.begin() + from, text.begin() + at);
        result.append(replacement.begin(), replacement.end());
        from = at + searchLength;
    }
    result.append(text.begin() + from, text.end());
    return result;
}

std::wstring ReplaceAll(const std::wstring& text, const wchar_t* search, const wchar_t* replacement) {
    return ReplaceAllCopy(text, search, replacement);
}

void ReplaceAllInPlace(std::wstring& text, const wlitestring& search, const wlitestring& replacement) {
    if (search.empty())
        return;
    text = ReplaceAllCopy(text, search, replacement);
}

std::size_t ReplaceAllPairs(std::wstring& text, const ReplacementPairs& pairs) {
    for (const auto& pair : pairs)
        ReplaceAllInPlace(text, pair.first, pair.second);
    return pairs.size();
}

std::wstring ReplaceAllPairsCopy(const std::wstring& text, const ReplacementPairs& pairs) {
    std::wstring copy = text;
    ReplaceAllPairs(copy, pairs);
    return copy;
}

std::wstring TrimCopy(const wlitestring& text, const wlitestring& characters) {
    int first = 0;
    int last = text.length();
    while (first < last && Contains(characters, text[first]))
        ++first;
    while (last > first && Contains(characters, text[last - 1]))
        --last;
    return std::wstring(text.begin() + first, text.begin() + last);
}

void Trim(std::wstring& text) {
    text = TrimCopy(text, kWhitespace);
}

std::wstring TrimWhitespaceCopy(const wlitestring& text) {
    return TrimCopy(text, kWhitespace);
}

std::wstring Enquote(const wlitestring& text, wchar_t quote) {
    if (IsQuoted(text, quote))
        return text.str();
    std::wstring result(1, quote);
    result.append(text.begin(), text.end());
    result += quote;
    return result;
}

std::wstring Unquote(const wlitestring& text, wchar_t quote) {
    if (!IsQuoted(text, quote))
        return text.str();
    return std::wstring(text.begin() + 1, text.end() - 1);
}

std::wstring ToLowerWString(const wlitestring& text) {
    std::wstring result = text.str();
    for (wchar_t& ch : result) {
        if (ch >= L'A' && ch <= L'Z')
            ch = static_cast<wchar_t>(ch - L'A' + L'a');
    }
    return result;
}

bool IsEqualNoCase(const wlitestring& a, const wlitestring& b) {
    const int length = a.length();
    if (length != b.length())
        return false;
    const std::locale locale;
    const auto& ctype = std::use_facet<std::ctype<wchar_t>>(locale);
    for (int i = 0; i < length; ++i) {
        if (ctype.tolower(a[i]) != ctype.tolower(b[i]))
            return false;
    }
    return true;
}

int CompareStrings(const wlitestring& a, const wlitestring& b) {
    return wlitestring::compare(a, b);
}

}  // namespace STLHelpers
