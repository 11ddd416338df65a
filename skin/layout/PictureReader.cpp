#include "skin/layout/PictureReader.h"

#include "foundation/strings/TextHelpers.h"
#include "graphics/layout/ParseColor.h"
#include "graphics/layout/ParseInteger.h"
#include "skin/layout/AttributeRules.h"
#include "skin/layout/CustomValuesReader.h"
#include "skin/layout/Drawables.h"
#include "skin/layout/ElementReader.h"
#include "skin/layout/Picture.h"

#include <boost/make_shared.hpp>

#include <cstdio>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

namespace LayoutLib {

namespace {

enum DrawableElement { ElementPicture, ElementIcon, ElementText, ElementBitmap, ElementShape, ElementFill,
                       ElementRectangle, ElementSpecial, ElementNone };

const WordCode kDrawableElements[] = {
    {L"Picture", ElementPicture}, {L"Icon", ElementIcon}, {L"Text", ElementText},           {L"Bitmap", ElementBitmap},
    {L"Shape", ElementShape},     {L"Fill", ElementFill}, {L"Rectangle", ElementRectangle}, {L"Special", ElementSpecial}};

// The attributes of one drawable element, each resolved against the
// parameters of the read.
class DrawableAttributes {
public:
    DrawableAttributes(IXMLDOMNode* node, const CustomValues& parameters) : m_node(node), m_parameters(parameters) {}

    std::wstring Text(const wchar_t* name, const wchar_t* defaultText = L"") const {
        return ReadReferencedAttribute(m_node, name, defaultText, m_parameters);
    }
    int Integer(const wchar_t* name, const wchar_t* defaultText = L"") const { return ParseInteger(Text(name, defaultText)); }
    // 0 when empty or no colour.
    COLORREF Color(const wchar_t* name) const {
        COLORREF color = 0;
        ParseColor(Text(name), color);
        return color;
    }

private:
    IXMLDOMNode* m_node;
    const CustomValues& m_parameters;
};

// "WxH", or one number N for N by N (0 when it is no number).
SIZE ParseSizeText(const std::wstring& text) {
    int width = 0;
    int height = 0;
    if (text.find(L'x') != std::wstring::npos && std::swscanf(text.c_str(), L"%dx%d", &width, &height) == 2)
        return SIZE{width, height};
    const int side = ParseInteger(text);
    return SIZE{side, side};
}

// A piece that is wholly a floating-point number, else 0.0.
double ParseFactor(const std::wstring& piece) {
    std::wistringstream stream(piece);
    stream.imbue(std::locale::classic());
    double factor = 0.0;
    stream >> std::noskipws >> factor;
    if (stream.fail() || stream.peek() != std::char_traits<wchar_t>::eof())
        return 0.0;
    return factor;
}

// "aa": mode ("Adjustment" or "Supersampling"), factor and flag ("1"),
// separated by commas; empty pieces are kept in their places.
template <class D>
void ApplyAdjustment(const std::wstring& text, D& drawable) {
    std::vector<std::wstring> pieces;
    STLHelpers::Split(text, L",", pieces, true, false, false);
    int mode = AdjustmentNone;
    if (pieces[0] == L"Adjustment")
        mode = AdjustmentAdjust;
    else if (pieces[0] == L"Supersampling")
        mode = AdjustmentSupersampling;
    const double factor = pieces.size() > 1 && !pieces[1].empty() ? ParseFactor(pieces[1]) : -1.0;
    const bool flag = pieces.size() > 2 && IsTrueText(pieces[2]);
    drawable.SetAdjustment(mode, factor, flag);
}

// The attributes every drawable has.
template <class D>
boost::shared_ptr<D> MakeDrawable(IXMLDOMNode* node, const DrawableAttributes& attributes,
                                  const CustomValues& parameters) {
    const auto drawable = boost::make_shared<D>();
    drawable->SetName(attributes.Text(L"name"));
    // Drawables keep what the position and anchors readers leave even when
    // those fail.
    RECT position;
    ReadPosition(node, parameters, position);
    drawable->SetPosition(position);
    int anchors = AnchorDefault;
    ReadAnchors(node, parameters, anchors);
    drawable->SetAnchors(anchors);
    drawable->SetTransparency(attributes.Integer(L"transparency", L"0"));
    ApplyAdjustment(attributes.Text(L"aa"), *drawable);
    return drawable;
}

void ReadIconAttributes(const DrawableAttributes& attributes, Icon& icon) {
    std::vector<std::wstring> pieces;
    STLHelpers::Split(attributes.Text(L"sizes"), L",", pieces, true, true, false);
    for (const std::wstring& piece : pieces)
        icon.AddSize(ParseSizeText(piece));
    static const WordCode kStretches[] = {{L"Snap", StretchSnap}, {L"Free", StretchFree}};
    icon.SetStretch(CodeOfWord(attributes.Text(L"stretch"), kStretches, StretchNone));
}

void ReadTextAttributes(const DrawableAttributes& attributes, Text& text) {
    text.SetColor(attributes.Color(L"color"), attributes.Text(L"colorName"));
    text.SetFont(attributes.Text(L"font"));
    text.SetText(attributes.Text(L"text"));
    static const WordCode kHorz[] = {{L"Center", HorzCenter}, {L"Right", HorzRight}};
    static const WordCode kVert[] = {{L"Top", VertTop}, {L"Center", VertCenter}, {L"Bottom", VertBottom}};
    static const WordCode kEllipsis[] = {{L"None", EllipsisNone}, {L"Word", EllipsisWord}, {L"Path", EllipsisPath}};
    // Both alignments default to the word "Left": a missing vertical one
    // stays "not given".
    text.SetAlignment(CodeOfWord(attributes.Text(L"horzAlignment", L"Left"), kHorz, HorzLeft, MatchIgnoringCase),
                      CodeOfWord(attributes.Text(L"vertAlignment", L"Left"), kVert, VertNotGiven, MatchIgnoringCase),
                      CodeOfWord(attributes.Text(L"ellipsisMode", L"End"), kEllipsis, EllipsisEnd, MatchIgnoringCase));
}

void ReadBitmapAttributes(const DrawableAttributes& attributes, Bitmap& bitmap) {
    bitmap.SetTiled(IsTrueText(attributes.Text(L"tile", L"0")));
    bitmap.SetPath(attributes.Text(L"path"));
}

void ReadShapeAttributes(const DrawableAttributes& attributes, ShapeDrawable& shape) {
    static const WordCode kKinds[] = {{L"RoundedRectangle", ShapeKindRoundedRectangle}, {L"Ellipse", ShapeKindEllipse}};
    shape.SetShapeKind(CodeOfWord(attributes.Text(L"kind", L"Rectangle"), kKinds, ShapeKindRectangle),
                       ParseSizeText(attributes.Text(L"roundingSize", L"0")));

    const std::wstring borderColor = attributes.Text(L"borderColor");
    const std::wstring borderColorName = attributes.Text(L"borderColorName");
    int borderWidth = attributes.Integer(L"borderWidth");
    const bool hasBorder = !borderColor.empty() || !borderColorName.empty() || borderWidth != 0;
    // A border named without a width is one pixel wide.
    if (hasBorder && borderWidth == 0)
        borderWidth = 1;
    COLORREF color = 0;
    ParseColor(borderColor, color);
    shape.SetBorder(hasBorder, color, borderColorName, borderWidth);

    const std::wstring fillBitmapName = attributes.Text(L"fillBitmapName");
    const std::wstring fillColor = attributes.Text(L"fillColor");
    const std::wstring fillColorName = attributes.Text(L"fillColorName");
    COLORREF fill = 0;
    ParseColor(fillColor, fill);
    shape.SetFill(!fillBitmapName.empty() || !fillColor.empty() || !fillColorName.empty(), fillBitmapName, fill,
                  fillColorName);
}

void ReadRectangleAttributes(const DrawableAttributes& attributes, ShapeDrawable& shape) {
    shape.SetBorder(true, attributes.Color(L"color"), attributes.Text(L"colorName"), attributes.Integer(L"width", L"1"));
}

void ReadFillAttributes(const DrawableAttributes& attributes, ShapeDrawable& shape) {
    shape.SetFill(true, std::wstring(), attributes.Color(L"color"), attributes.Text(L"colorName"));
}

}  // namespace

boost::shared_ptr<IDrawable> ReadDrawable(IXMLDOMNode* node, const CustomValues& parameters) {
    const int element = CodeOfWord(FileSystem::XmlFile::GetNodeName(node), kDrawableElements, ElementNone);
    if (element == ElementNone)
        return boost::shared_ptr<IDrawable>();
    const DrawableAttributes attributes(node, parameters);
    switch (element) {
    case ElementPicture:
        return MakeDrawable<PictureReference>(node, attributes, parameters);
    case ElementSpecial:
        return MakeDrawable<Special>(node, attributes, parameters);
    case ElementIcon: {
        const auto icon = MakeDrawable<Icon>(node, attributes, parameters);
        ReadIconAttributes(attributes, *icon);
        return icon;
    }
    case ElementText: {
        const auto text = MakeDrawable<Text>(node, attributes, parameters);
        ReadTextAttributes(attributes, *text);
        return text;
    }
    case ElementBitmap: {
        const auto bitmap = MakeDrawable<Bitmap>(node, attributes, parameters);
        ReadBitmapAttributes(attributes, *bitmap);
        return bitmap;
    }
    case ElementShape:
    case ElementFill:
    case ElementRectangle: {
        const auto shape = MakeDrawable<ShapeDrawable>(node, attributes, parameters);
        if (element == ElementShape)
            ReadShapeAttributes(attributes, *shape);
        else if (element == ElementRectangle)
            ReadRectangleAttributes(attributes, *shape);
        else
            ReadFillAttributes(attributes, *shape);
        return shape;
    }
    default:
        return boost::shared_ptr<IDrawable>();
    }
}

boost::shared_ptr<IPicture> ReadPicture(IXMLDOMNode* node, const CustomValues& parameters) {
    const std::wstring name = ReadTextAttribute(node, L"name");
    if (name.empty())
        return boost::shared_ptr<IPicture>();
    const SIZE size = {ReadIntegerAttribute(node, L"width", L"0"), ReadIntegerAttribute(node, L"height", L"0")};
    const bool isResizable = ReadBooleanAttribute(node, L"resizable", false);
    CustomValues values;
    ReadCustomValues(node, L"Custom", values, nullptr);
    for (const auto& parameter : parameters)
        values[parameter.first] = parameter.second;

    const auto picture = boost::make_shared<Picture>(name, values, size, isResizable);
    FileSystem::XmlNodeList children;
    FileSystem::XmlFile::GetChildNodes(node, children);
    // The drawables see the parameters of the read, not the merged values.
    for (const FileSystem::XmlNodePtr& child : children)
        picture->AddDrawable(ReadDrawable(child, parameters));
    return picture;
}

}  // namespace LayoutLib
