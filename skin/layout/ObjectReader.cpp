#include "skin/layout/ObjectReader.h"

#include "graphics/layout/ParseInteger.h"
#include "skin/layout/AttributeRules.h"
#include "skin/layout/CustomValuesReader.h"
#include "skin/layout/VisualReader.h"

namespace LayoutLib {

namespace {

const WordCode kShapeTypes[] = {{L"Custom", ShapeCustom},
                                {L"Rectangular", ShapeRectangular},
                                {L"RoundedRectangular", ShapeRoundedRectangular},
                                {L"Elliptic", ShapeElliptic},
                                {L"Masked", ShapeMasked}};
const int kUnknown = -1;

bool HasRadius(const CustomValues& values, const wchar_t* name) {
    const int* radius = _FindCustomInt(values, name);
    return radius && *radius != -1;
}

bool HasText(const CustomValues& values, const wchar_t* name) {
    const std::wstring* text = _FindCustomString(values, name);
    return text && !text->empty();
}

}  // namespace

bool ReadObjectHeader(IXMLDOMNode* node, ObjectHeader& header) {
    const std::wstring id = ReadTextAttribute(node, L"id");
    header.id = id.empty() ? -1 : ParseInteger(id);
    header.name = ReadTextAttribute(node, L"name");
    header.type = ReadTextAttribute(node, L"type");
    return header.id != -1 || !header.name.empty();
}

bool ReadShape(IXMLDOMNode* node, int& shapeType, CustomValues& shapeValues) {
    shapeType = ShapeRectangular;
    shapeValues.clear();
    const FileSystem::XmlNodePtr shape = FileSystem::XmlFile::GetChildByName(node, L"Shape");
    if (!shape)
        return true;
    shapeType = CodeOfWord(ReadMandatoryAttribute(shape, L"type"), kShapeTypes, kUnknown);
    if (shapeType == kUnknown)
        return false;
    ReadContainerValues(shape, shapeValues, nullptr);
    if (shapeType == ShapeRoundedRectangular)
        return HasRadius(shapeValues, L"rx") && HasRadius(shapeValues, L"ry");
    if (shapeType == ShapeMasked)
        return HasText(shapeValues, L"maskPath") || HasText(shapeValues, L"mask");
    return true;
}

bool ReadObjectParts(IXMLDOMNode* node, ObjectParts& parts) {
    parts.isAutomated = ReadBooleanAttribute(node, L"automate", false);
    if (!ReadShape(node, parts.shapeType, parts.shapeValues))
        return false;
    ReadCustomValues(node, L"Custom", parts.customValues, &parts.customReferences);
    ReadCustomValues(node, L"Settings", parts.settings, nullptr);
    parts.visual = ReadVisual(node);
    return true;
}

}  // namespace LayoutLib
