#pragma once
// How every attribute of the layout XML is read:
//   text       the attribute's text; the default when it is missing
//   boolean    exactly "1" is true, any other text false; missing or empty
//              gives the default
//   integer    the text (or the default text) under the integer rule
//   mandatory  a missing attribute throws the XML layer's
//              boost::system::system_error (StorageSystem::ItemNotFound),
//              which ends the whole layout load
//   referenced "[key]" takes the string value `key` of a values map, or the
//              default when the map holds no string of that name
#include "foundation/filesystem/XmlFile.h"
#include "skin/layout/CustomValues.h"

#include <cstddef>
#include <string>

namespace LayoutLib {

std::wstring ReadTextAttribute(IXMLDOMNode* node, const wchar_t* name, const wchar_t* defaultText = L"");
bool ReadBooleanAttribute(IXMLDOMNode* node, const wchar_t* name, bool defaultValue);
int ReadIntegerAttribute(IXMLDOMNode* node, const wchar_t* name, const wchar_t* defaultText = L"");
std::wstring ReadMandatoryAttribute(IXMLDOMNode* node, const wchar_t* name);
int ReadMandatoryIntegerAttribute(IXMLDOMNode* node, const wchar_t* name);
std::wstring ReadReferencedAttribute(IXMLDOMNode* node, const wchar_t* name, const wchar_t* defaultText,
                                     const CustomValues& values);

// The boolean rule on a text already read.
bool IsTrueText(const std::wstring& text);

// The enumerations of the format: a word and the code it stands for.
struct WordCode {
    const wchar_t* word;
    int code;
};

enum WordMatch { MatchExact, MatchIgnoringCase };

int CodeOfWord(const std::wstring& text, const WordCode* words, std::size_t count, int otherCode, WordMatch match);

// The code of the first word equal to `text`; `otherCode` when none is.
template <std::size_t N>
int CodeOfWord(const std::wstring& text, const WordCode (&words)[N], int otherCode, WordMatch match = MatchExact) {
    return CodeOfWord(text, words, N, otherCode, match);
}

}  // namespace LayoutLib
