#include "controls/markup/MarkupStyleSheet.h"

#include "foundation/strings/StringAlgorithms.h"

#include <cwctype>

namespace MarkupLib {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

void ApplyTextDecoration(const std::wstring& value, Style& style) {
    std::size_t at = 0;
    while (at < value.size()) {
        const std::size_t start = value.find_first_not_of(L" ,", at);
        if (start == std::wstring::npos)
            break;
        const std::size_t end = value.find_first_of(L" ,", start);
        const std::wstring word = value.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (word == L"none")
            style.underline = style.strikeout = style.overline = 0;
        else if (word == L"underline")
            style.underline = 1;
        else if (word == L"line-through")
            style.strikeout = 1;
        else if (word == L"overline")
            style.overline = 1;
        at = end == std::wstring::npos ? value.size() : end;
    }
}

void ApplyProperty(const std::wstring& name, const std::wstring& value, Style& style, const ValueContext& context) {
    if (name == L"font-size") {
        style.size = ReadLength(value, style.size, true, context.dc);
    } else if (name == L"font-family") {
        if (!value.empty())
            style.face = value;
    } else if (name == L"font-style") {
        if (value.empty() || value == L"normal")
            style.italic = 0;
        else if (value == L"italic" || value == L"oblique")
            style.italic = 1;
    } else if (name == L"font-weight") {
        style.weight = ReadFontWeight(value);
    } else if (name == L"text-align") {
        style.horzAlign = ReadTextAlign(value, style.horzAlign);
    } else if (name == L"text-transform") {
        if (value.empty() || value == L"none")
            style.textTransform = TransformNone;
        else if (value == L"uppercase")
            style.textTransform = TransformUppercase;
        else if (value == L"lowercase")
            style.textTransform = TransformLowercase;
        else if (value == L"capitalize")
            style.textTransform = TransformCapitalize;
    } else if (name == L"color") {
        style.textColor = ReadColor(value, style.textColor, context.colors);
    } else if (name == L"background-color") {
        if (value.empty() || value == L"transparent") {
            style.backMode = BackTransparent;
        } else {
            style.backMode = BackOpaque;
            style.backColor = ReadColor(value, style.backColor, context.colors);
        }
    } else if (name == L"text-decoration") {
        ApplyTextDecoration(value, style);
    } else if (name == L"vertical-align") {
        style.vertAlign = ReadVerticalAlign(value, style.vertAlign);
    } else if (name == L"border-color") {
        style.borderLightColor = style.borderDarkColor = ReadColor(value, style.borderLightColor, context.colors);
    } else if (name == L"border-width" || name == L"size") {
        style.borderWidth = ReadBorderWidth(value, style.borderWidth, context.dc);
        if (style.borderWidth == 0)
            style.borderStyle = 0;
        else if (style.borderStyle == 0)
            style.borderStyle = 1;
    } else if (name == L"border-style") {
        style.borderStyle = ReadBorderStyle(value, style.borderStyle);
        if (style.borderStyle != 0 && style.borderWidth == 0)
            style.borderWidth = 1;
    } else if (name == L"margin") {
        style.margin = ReadLength(value, style.margin, false, context.dc);
    } else if (name == L"padding") {
        style.padding = ReadLength(value, style.padding, false, context.dc);
    }
}

}  // namespace

void StyleSheet::Read(const std::wstring& text) {
    m_rules.clear();
    const std::size_t length = text.size();
    std::size_t at = 0;
    while (at < length) {
        while (at < length && !std::iswalnum(text[at]) && text[at] != L'.')
            ++at;
        if (at >= length)
            break;
        const std::size_t selectorStart = at;
        while (at < length && !IsBlank(text[at]) && text[at] != L'{')
            ++at;
        const std::wstring selector = text.substr(selectorStart, at - selectorStart);
        while (at < length && IsBlank(text[at]))
            ++at;
        if (at >= length || text[at] != L'{')
            continue;
        const std::size_t close = text.find(L'}', at + 1);
        if (close == std::wstring::npos)
            break;
        m_rules[STLHelpers::ToLowerWString(selector)] = text.substr(at + 1, close - at - 1);
        at = close + 1;
    }
}

const std::wstring* StyleSheet::Find(const std::wstring& name) const {
    const auto found = m_rules.find(STLHelpers::ToLowerWString(name));
    return found != m_rules.end() ? &found->second : nullptr;
}

void ApplyDeclarations(const std::wstring& declarations, Style& style, const ValueContext& context) {
    const std::wstring text = STLHelpers::ToLowerWString(declarations);
    const std::size_t length = text.size();
    std::size_t at = 0;
    while (at < length) {
        while (at < length && (IsBlank(text[at]) || text[at] == L';'))
            ++at;
        if (at >= length)
            break;
        const std::size_t nameStart = at;
        while (at < length && !IsBlank(text[at]) && text[at] != L':' && text[at] != L';')
            ++at;
        const std::wstring name = text.substr(nameStart, at - nameStart);
        while (at < length && IsBlank(text[at]))
            ++at;
        if (at < length && text[at] == L':')
            ++at;
        while (at < length && IsBlank(text[at]))
            ++at;
        std::wstring value;
        if (at < length && text[at] == L'"') {
            const std::size_t close = text.find(L'"', at + 1);
            value = text.substr(at + 1, close == std::wstring::npos ? std::wstring::npos : close - at - 1);
            at = close == std::wstring::npos ? length : close + 1;
            const std::size_t end = text.find(L';', at);
            at = end == std::wstring::npos ? length : end;
        } else {
            const std::size_t end = text.find(L';', at);
            value = text.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
            at = end == std::wstring::npos ? length : end;
            while (!value.empty() && IsBlank(value.back()))
                value.pop_back();
        }
        ApplyProperty(name, value, style, context);
    }
}

}  // namespace MarkupLib
