#include "skin/layout/ElementReader.h"

#include "foundation/strings/StringAlgorithms.h"
#include "foundation/strings/TextHelpers.h"
#include "graphics/layout/ParseInteger.h"
#include "skin/layout/AttributeRules.h"
#include "skin/layout/Element.h"
#include "skin/layout/ObjectReader.h"

#include <cstdio>
#include <string>
#include <vector>

namespace LayoutLib {

namespace {

const wchar_t kDefaultAnchors[] = L"Left;Top";

const WordCode kAnchors[] = {{L"Left", AnchorLeft},     {L"Right", AnchorRight},
                             {L"Top", AnchorTop},       {L"Bottom", AnchorBottom},
                             {L"HorzCenter", AnchorHorzCenter}, {L"VertCenter", AnchorVertCenter}};

// The ids of a list, without -1; a piece that is no number counts as 0.
std::vector<int> ReadTriggerList(IXMLDOMNode* node, const wchar_t* name) {
    std::vector<std::wstring> pieces;
    STLHelpers::Split(ReadTextAttribute(node, name), L",", pieces, true, true, false);
    std::vector<int> ids;
    for (const std::wstring& piece : pieces) {
        const int id = ParseInteger(piece);
        if (id != -1)
            ids.push_back(id);
    }
    return ids;
}

}  // namespace

bool ReadPosition(IXMLDOMNode* node, const CustomValues& values, RECT& position) {
    position = RECT{0, 0, 0, 0};
    if (const FileSystem::XmlNodePtr child = FileSystem::XmlFile::GetChildByName(node, L"Position")) {
        position.left = ReadMandatoryIntegerAttribute(child, L"left");
        position.top = ReadMandatoryIntegerAttribute(child, L"top");
        position.right = ReadMandatoryIntegerAttribute(child, L"right");
        position.bottom = ReadMandatoryIntegerAttribute(child, L"bottom");
        return true;
    }
    const std::wstring text = ReadReferencedAttribute(node, L"position", L"", values);
    // swscanf stores each number as it reads it: a failed scan leaves the
    // numbers before the failure in place.
    int sides[4] = {0, 0, 0, 0};
    const int count = text.empty() ? 0 : std::swscanf(text.c_str(), L"%d,%d,%d,%d", &sides[0], &sides[1], &sides[2], &sides[3]);
    position = RECT{sides[0], sides[1], sides[2], sides[3]};
    return count == 4;
}

bool ReadAnchors(IXMLDOMNode* node, const CustomValues& values, int& anchors) {
    anchors = AnchorDefault;
    const FileSystem::XmlNodePtr child = FileSystem::XmlFile::GetChildByName(node, L"Anchors");
    std::wstring text = child ? ReadReferencedAttribute(child, L"value", kDefaultAnchors, values)
                              : ReadReferencedAttribute(node, L"anchors", kDefaultAnchors, values);
    STLHelpers::ReplaceAllInPlace(text, L",", L";");
    std::vector<std::wstring> tokens;
    STLHelpers::Split(text, L";", tokens, true, true, false);
    if (tokens.empty())
        return true;
    anchors = 0;
    for (const std::wstring& token : tokens) {
        const int flag = CodeOfWord(token, kAnchors, 0);
        if (flag == 0)
            return false;
        anchors |= flag;
    }
    return true;
}

boost::shared_ptr<IElement> ReadElement(IXMLDOMNode* node) {
    ObjectHeader header;
    ObjectParts parts;
    if (!ReadObjectHeader(node, header) || !ReadObjectParts(node, parts))
        return boost::shared_ptr<IElement>();
    const bool isWindowed = ReadBooleanAttribute(node, L"windowed", false);

    // Elements take no parameters: a "[key]" position or anchors gives the default.
    const CustomValues noValues;
    RECT position;
    if (!ReadPosition(node, noValues, position))
        return boost::shared_ptr<IElement>();
    // An automatic control needs room.
    if (parts.isAutomated && IsEmptyPosition(position))
        return boost::shared_ptr<IElement>();
    int anchors = AnchorDefault;
    if (!ReadAnchors(node, noValues, anchors))
        return boost::shared_ptr<IElement>();

    const boost::shared_ptr<Element> element(new Element(header.name, header.id, header.type));
    ApplyObjectParts(parts, *element);
    element->SetWindowed(isWindowed);
    element->SetPosition(position);
    element->SetAnchors(anchors);
    for (int id : ReadTriggerList(node, L"overTriggers"))
        element->AddOverTrigger(id);
    for (int id : ReadTriggerList(node, L"downTriggers"))
        element->AddDownTrigger(id);
    return element;
}

}  // namespace LayoutLib
