#pragma once
// Text helpers the file operations are written with: concatenation, cutting
// at a delimiter, trimming a set of characters, and the UTF-8 and code-page
// conversions under the names the file code uses.
#include "foundation/strings/LiteString.h"
#include "foundation/strings/StringConversions.h"

#include <string>
#include <vector>

namespace STLHelpers {

std::wstring Concat(std::wstring text, const wlitestring& tail);

// Cuts `text` at every occurrence of the whole `delimiter`, left to right.
// skipEmpty drops empty pieces. remainderOnlyAfterPiece: the text after the
// last delimiter is taken only when a piece was taken before it, so a text
// without the delimiter yields nothing. An empty delimiter cuts nothing.
void Split(const wlitestring& text, const wlitestring& delimiter, std::vector<std::wstring>& parts, bool clear,
           bool skipEmpty, bool remainderOnlyAfterPiece);

// Leading characters of `characters` removed (a text of nothing else empties).
void TrimLeft(std::wstring& text, const wlitestring& characters);
// Trailing characters of `characters` removed; a text of nothing else stays
// as it is.
void TrimRight(std::wstring& text, const wlitestring& characters);

// Code page 65001 both ways; a null pointer gives an empty text.
std::wstring Utf8ToWString(const char* text);
std::wstring Utf8ToWString(const std::string& text);
// The wide member of the family: a copy up to the first zero character.
std::wstring Utf8ToWString(const wchar_t* text);
std::string WStringToUtf8(const wchar_t* text);

std::wstring MultiByteToWide(const char* text, const CodePageInfo& codePage);

}  // namespace STLHelpers
