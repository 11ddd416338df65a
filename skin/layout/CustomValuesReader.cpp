#include "skin/layout/CustomValuesReader.h"

#include "foundation/strings/StringAlgorithms.h"
#include "foundation/strings/TextHelpers.h"
#include "graphics/layout/ParseInteger.h"
#include "skin/layout/AttributeRules.h"

#include <vector>

namespace LayoutLib {

namespace {

enum ValueType { StringValue, IntegerValue, BooleanValue, UnknownValue };

const WordCode kValueTypes[] = {{L"string", StringValue}, {L"int", IntegerValue}, {L"bool", BooleanValue}};

// "[key]" with at least two characters between the brackets.
bool IsReferenceText(const std::wstring& text) {
    return text.size() > 3 && text.front() == L'[' && text.back() == L']';
}

void StoreValue(const std::wstring& name, const std::wstring& text, const std::wstring& defaultText, ValueType type,
                CustomValues& values, CustomReferences* references) {
    if (type == UnknownValue)
        return;
    if (references && IsReferenceText(text)) {
        static const int kKinds[] = {ReferenceString, ReferenceInteger, ReferenceBoolean};
        CustomReference reference;
        reference.kind = kKinds[type];
        reference.name = name;
        reference.reference = text.substr(1, text.size() - 2);
        reference.defaultText = defaultText;
        references->push_back(reference);
        return;
    }
    switch (type) {
    case StringValue:
        SetCustomValue(values, name, text);
        break;
    case IntegerValue:
        SetCustomValue(values, name, ParseInteger(text));
        break;
    case BooleanValue:
        SetCustomValue(values, name, IsTrueText(text));
        break;
    default:
        break;
    }
}

std::vector<std::wstring> SplitSkippingEmpty(const std::wstring& text, const wchar_t* delimiter) {
    std::vector<std::wstring> parts;
    STLHelpers::Split(text, delimiter, parts, true, true, false);
    return parts;
}

// One "name[@type]=value[@default]" entry; any other shape is left out.
void StoreDataEntry(const std::wstring& entry, CustomValues& values, CustomReferences* references) {
    const std::vector<std::wstring> parts = SplitSkippingEmpty(entry, L"=");
    if (parts.size() != 2)
        return;
    std::wstring name = parts[0];
    STLHelpers::Trim(name);
    ValueType type = StringValue;
    const std::vector<std::wstring> nameParts = SplitSkippingEmpty(name, L"@");
    if (nameParts.size() == 2) {
        name = nameParts[0];
        type = nameParts[1] == L"i" ? IntegerValue : nameParts[1] == L"b" ? BooleanValue : StringValue;
    }
    // The value keeps its blanks.
    std::wstring text = parts[1];
    std::wstring defaultText;
    const std::vector<std::wstring> valueParts = SplitSkippingEmpty(text, L"@");
    if (valueParts.size() >= 2) {
        text = valueParts[0];
        defaultText = valueParts[1];
    }
    StoreValue(name, text, defaultText, type, values, references);
}

}  // namespace

void ReadCustomValues(IXMLDOMNode* node, const wchar_t* container, CustomValues& values,
                      CustomReferences* references) {
    const FileSystem::XmlNodePtr found = FileSystem::XmlFile::GetChildByName(node, container);
    if (found)
        ReadContainerValues(found, values, references);
}

void ReadContainerValues(IXMLDOMNode* container, CustomValues& values, CustomReferences* references) {
    for (const std::wstring& entry : SplitSkippingEmpty(ReadTextAttribute(container, L"data"), L";"))
        StoreDataEntry(entry, values, references);

    FileSystem::XmlNodeList children;
    FileSystem::XmlFile::GetChildrenByName(container, L"Value", children);
    for (const FileSystem::XmlNodePtr& child : children) {
        const std::wstring name = ReadTextAttribute(child, L"name");
        if (name.empty())
            continue;
        const int type = CodeOfWord(ReadTextAttribute(child, L"type", L"string"), kValueTypes, UnknownValue);
        StoreValue(name, ReadTextAttribute(child, L"value"), ReadTextAttribute(child, L"def"),
                   static_cast<ValueType>(type), values, references);
    }
}

}  // namespace LayoutLib
