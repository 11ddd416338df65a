#include "skin/layout/AttributeRules.h"

#include "foundation/strings/StringAlgorithms.h"
#include "graphics/layout/ParseInteger.h"

namespace LayoutLib {

std::wstring ReadTextAttribute(IXMLDOMNode* node, const wchar_t* name, const wchar_t* defaultText) {
    return FileSystem::XmlFile::GetAttributeOr(node, name, defaultText);
}

bool ReadBooleanAttribute(IXMLDOMNode* node, const wchar_t* name, bool defaultValue) {
    const std::wstring text = ReadTextAttribute(node, name);
    return text.empty() ? defaultValue : IsTrueText(text);
}

int ReadIntegerAttribute(IXMLDOMNode* node, const wchar_t* name, const wchar_t* defaultText) {
    return ParseInteger(ReadTextAttribute(node, name, defaultText));
}

std::wstring ReadMandatoryAttribute(IXMLDOMNode* node, const wchar_t* name) {
    return FileSystem::XmlFile::GetAttribute(node, name);
}

int ReadMandatoryIntegerAttribute(IXMLDOMNode* node, const wchar_t* name) {
    return ParseInteger(ReadMandatoryAttribute(node, name));
}

std::wstring ReadReferencedAttribute(IXMLDOMNode* node, const wchar_t* name, const wchar_t* defaultText,
                                     const CustomValues& values) {
    std::wstring text = ReadTextAttribute(node, name, defaultText);
    if (text.size() >= 2 && text.front() == L'[' && text.back() == L']') {
        const std::wstring* value = _FindCustomString(values, text.substr(1, text.size() - 2));
        return value ? *value : std::wstring(defaultText);
    }
    return text;
}

bool IsTrueText(const std::wstring& text) {
    return text == L"1";
}

int CodeOfWord(const std::wstring& text, const WordCode* words, std::size_t count, int otherCode, WordMatch match) {
    for (std::size_t i = 0; i < count; ++i) {
        if (match == MatchIgnoringCase ? STLHelpers::IsEqualNoCase(text, words[i].word) : text == words[i].word)
            return words[i].code;
    }
    return otherCode;
}

}  // namespace LayoutLib
