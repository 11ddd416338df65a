#pragma once
// Small algorithms on wide text: replace, trim, quote, case, compare.
#include "foundation/strings/LiteString.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace STLHelpers {

typedef std::vector<std::pair<std::wstring, std::wstring>> ReplacementPairs;

// Every occurrence of `search`, left to right and not overlapping, replaced;
// the inserted text is not searched again. An empty search changes nothing.
std::wstring ReplaceAll(const std::wstring& text, const wchar_t* search, const wchar_t* replacement);
std::wstring ReplaceAllCopy(const wlitestring& text, const wlitestring& search, const wlitestring& replacement);
void ReplaceAllInPlace(std::wstring& text, const wlitestring& search, const wlitestring& replacement);
// Pair after pair, in list order: a later pair sees the earlier replacements.
// Returns the number of pairs.
std::size_t ReplaceAllPairs(std::wstring& text, const ReplacementPairs& pairs);
std::wstring ReplaceAllPairsCopy(const std::wstring& text, const ReplacementPairs& pairs);

// Blanks, tabs, CR and LF off both ends.
void Trim(std::wstring& text);
// Every leading and trailing character that is in `characters`.
std::wstring TrimCopy(const wlitestring& text, const wlitestring& characters);
std::wstring TrimWhitespaceCopy(const wlitestring& text);

// The text unchanged when it already starts and ends with `quote` (2
// characters at least), else wrapped in it.
std::wstring Enquote(const wlitestring& text, wchar_t quote);
// The characters between a starting and ending `quote`, else the text.
std::wstring Unquote(const wlitestring& text, wchar_t quote);

// Only A to Z change, as the C library's tolower does in the "C" locale.
std::wstring ToLowerWString(const wlitestring& text);
// Same length and equal character by character after the default locale's tolower.
bool IsEqualNoCase(const wlitestring& a, const wlitestring& b);

// Ordinal three-way comparison of UTF-16 units as unsigned values: -1, 0 or 1;
// with equal common parts the shorter text is smaller.
int CompareStrings(const wlitestring& a, const wlitestring& b);

}  // namespace STLHelpers
