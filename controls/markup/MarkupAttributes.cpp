#include "controls/markup/MarkupAttributes.h"

#include "controls/drawing/DrawManager.h"

#include <algorithm>
#include <cwchar>

namespace MarkupLib {

namespace {

// A width or height: a length, or a percentage of the image's own size.
void ReadImageSize(const std::wstring& value, int& size, bool& percent, HDC dc) {
    percent = !value.empty() && value.back() == L'%';
    size = percent ? static_cast<int>(std::wcstol(value.c_str(), nullptr, 10)) : ReadLength(value, 0, false, dc);
}

}  // namespace

CellSpan ReadTableAttributes(const AttributeList& attributes, Style& style, bool isTable, const ValueContext& context) {
    CellSpan span;
    for (const auto& attribute : attributes) {
        const std::wstring& name = attribute.first;
        const std::wstring& value = attribute.second;
        if (isTable && name == L"cellpadding") {
            style.margin = ReadLength(value, style.margin, false, context.dc);
        } else if (isTable && name == L"cellspacing") {
            style.padding = ReadLength(value, style.padding, false, context.dc);
        } else if (isTable && name == L"background") {
            if (value.size() >= 6)
                style.backImage = value;
        } else if (name == L"rowspan") {
            span.rows = ReadLength(value, 1, false, context.dc);
        } else if (name == L"colspan") {
            span.columns = ReadLength(value, 1, false, context.dc);
        } else if (name == L"border") {
            style.borderWidth = ReadLength(value, style.borderWidth, false, context.dc);
            if (style.borderWidth == 0)
                style.borderStyle = 0;
            else if (style.borderStyle == 0)
                style.borderStyle = CDrawManager::BorderSolid;
        } else if (name == L"borderstyle") {
            style.borderStyle = ReadBorderStyle(value, style.borderStyle);
            if (style.borderStyle != 0 && style.borderWidth == 0)
                style.borderWidth = 1;
        } else if (name == L"bordercolor") {
            style.borderLightColor = style.borderDarkColor = ReadColor(value, style.borderLightColor, context.colors);
        } else if (name == L"bordercolorlight") {
            style.borderLightColor = ReadColor(value, style.borderLightColor, context.colors);
        } else if (name == L"bordercolordark") {
            style.borderDarkColor = ReadColor(value, style.borderDarkColor, context.colors);
        } else if (name == L"bgcolor") {
            style.backColor = ReadColor(value, style.backColor, context.colors);
            if (style.backEffect == kNoBackEffect)
                style.backEffect = CDrawManager::FillSolid;
        } else if (name == L"bgmidcolor") {
            style.backMidColor = ReadColor(value, style.backMidColor, context.colors);
        } else if (name == L"bgendcolor") {
            style.backEndColor = ReadColor(value, style.backEndColor, context.colors);
        } else if (name == L"bgeffect") {
            if (!FindEffectName(value, style.backEffect))
                style.backEffect = ReadLength(value, style.backEffect, false, context.dc);
        } else if (name == L"align") {
            style.horzAlign = ReadTextAlign(value, style.horzAlign);
        } else if (name == L"valign") {
            style.vertAlign = ReadVerticalAlign(value, style.vertAlign);
        } else if (name == L"width") {
            style.width = ReadLength(value, style.width, false, context.dc);
        } else if (name == L"height") {
            style.height = ReadLength(value, style.height, false, context.dc);
        }
    }
    if (style.borderStyle == 0 || style.borderWidth == 0) {
        style.borderStyle = 0;
        style.borderWidth = 0;
    } else if (style.borderStyle != CDrawManager::BorderSolid) {
        style.borderWidth = 1;
    }
    if (!isTable)
        style.borderWidth = std::min(style.borderWidth, 1);
    return span;
}

ImageReference ParseImageReference(const std::wstring& text) {
    ImageReference reference;
    if (text.size() < 6)
        return reference;
    const std::size_t colon = text.find(L':');
    if (colon == std::wstring::npos)
        return reference;
    const auto trimmed = [](const std::wstring& part) {
        const std::size_t first = part.find_first_not_of(L' ');
        const std::size_t last = part.find_last_not_of(L' ');
        return first == std::wstring::npos ? std::wstring() : part.substr(first, last - first + 1);
    };
    const std::wstring kind = trimmed(text.substr(0, colon));
    const std::wstring value = trimmed(text.substr(colon + 1));
    if (kind == L"idres") {
        reference.kind = ImageReference::Resource;
        reference.resourceId = static_cast<int>(ReadNumber(value));
    } else if (kind == L"file") {
        reference.kind = ImageReference::File;
        reference.file = value;
    }
    return reference;
}

ImageAttributes ReadImageAttributes(const AttributeList& attributes, const ValueContext& context) {
    ImageAttributes image;
    const auto length = [&](const std::wstring& value, int current) {
        return ReadLength(value, current, false, context.dc);
    };
    for (const auto& attribute : attributes) {
        const std::wstring& name = attribute.first;
        const std::wstring& value = attribute.second;
        if (name == L"index")
            image.index = length(value, image.index);
        else if (name == L"idres")
            image.resourceId = length(value, image.resourceId);
        else if (name == L"iddll")
            image.dllResourceId = length(value, image.dllResourceId);
        else if (name == L"handle")
            image.handle = static_cast<UINT_PTR>(ReadNumber(value));
        else if (name == L"file")
            image.file = value;
        else if (name == L"srcdll")
            image.sourceDll = value;
        else if (name == L"mask") {
            image.hasMask = true;
            image.maskColor = ReadColor(value, image.maskColor, context.colors);
        } else if (name == L"style")
            image.style = value;
        else if (name == L"hotstyle") {
            image.hasHotStyle = true;
            image.hotStyle = value;
        } else if (name == L"cx")
            image.cellWidth = length(value, image.cellWidth);
        else if (name == L"cy")
            image.cellHeight = length(value, image.cellHeight);
        else if (name == L"width")
            ReadImageSize(value, image.width, image.widthPercent, context.dc);
        else if (name == L"height")
            ReadImageSize(value, image.height, image.heightPercent, context.dc);
        else if (name == L"speed")
            image.speed = length(value, image.speed);
    }
    return image;
}

DWORD ImageEffectsFromLetters(const std::wstring& letters, DWORD shadowEffect) {
    DWORD effects = 0;
    for (wchar_t letter : letters) {
        switch (letter) {
        case L'g':
            effects |= CDrawManager::EffectGrayscale;
            break;
        case L'd':
            effects |= CDrawManager::EffectDarker;
            break;
        case L'l':
            effects |= CDrawManager::EffectLighter;
            break;
        case L's':
            effects |= shadowEffect;
            break;
        default:
            break;
        }
    }
    return effects;
}

StringAttributes ReadStringAttributes(const AttributeList& attributes, const ValueContext& context) {
    StringAttributes text;
    for (const auto& attribute : attributes) {
        if (attribute.first == L"idres" || attribute.first == L"iddll")
            text.resourceId = ReadLength(attribute.second, text.resourceId, false, context.dc);
        else if (attribute.first == L"srcdll")
            text.sourceDll = attribute.second;
    }
    return text;
}

}  // namespace MarkupLib
