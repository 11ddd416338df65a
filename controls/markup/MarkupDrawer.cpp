#include "controls/markup/MarkupDrawer.h"

#include "foundation/strings/StringAlgorithms.h"

#include <algorithm>

using MarkupLib::AttributeList;
using MarkupLib::Style;
using MarkupLib::Token;

CMarkupDrawer::CMarkupDrawer()
    : m_tags(MarkupLib::MakeTagTable()),
      m_entities(MarkupLib::MakeEntityTable()),
      m_colors(MarkupLib::MakeColorTable()) {
    SetCssStyles(nullptr);
}

CMarkupDrawer::~CMarkupDrawer() = default;

void CMarkupDrawer::SetCssStyles(const wchar_t* styles) {
    m_cssText = styles ? styles : L"";
    m_styleSheet.Read(styles ? styles : MarkupLib::DefaultStyleSheet());
}

void CMarkupDrawer::ApplyStyleRule(const std::wstring& name, Style& style) const {
    if (const std::wstring* declarations = m_styleSheet.Find(name))
        MarkupLib::ApplyDeclarations(*declarations, style, GetValueContext());
}

COLORREF CMarkupDrawer::FindColor(const std::wstring& name, COLORREF defaultColor) const {
    const auto found = m_colors.find(name);
    return found != m_colors.end() ? found->second : defaultColor;
}

std::wstring CMarkupDrawer::PrepareText(const std::wstring& text) const {
    std::wstring prepared = text;
    // In ascending order of the names: "&amp;" first, so "&amp;lt;" ends as "<".
    for (const auto& entity : m_entities)
        STLHelpers::ReplaceAllInPlace(prepared, entity.first, entity.second);
    prepared.erase(std::remove(prepared.begin(), prepared.end(), L'\r'), prepared.end());
    STLHelpers::ReplaceAllInPlace(prepared, L"\n", L"<br>");
    STLHelpers::ReplaceAllInPlace(prepared, L"\t", L"<t>");
    return prepared;
}

bool CMarkupDrawer::NextToken(MarkupLib::Tokenizer& tokenizer, Token& token) const {
    while (tokenizer.Next(token)) {
        if (token.kind == Token::Text)
            return true;
        const auto found = m_tags.find(token.text);
        if (found == m_tags.end())
            continue;
        token.id = found->second.id;
        token.styleClass = found->second.styleClass;
        return true;
    }
    return false;
}

void CMarkupDrawer::ResetStyle() {
    m_styleStack.clear();
    m_style = Style();
    m_linkIndex = -1;
    m_linkKind = LinkNone;
}

void CMarkupDrawer::ApplyTag(const Token& tag) {
    if (tag.kind != Token::Tag || tag.styleClass.empty())
        return;
    if (!tag.closing) {
        m_styleStack.push_back(m_style);
        m_styleStack.back().name = tag.styleClass;
        ApplyOpeningTag(tag);
        return;
    }
    // Only the innermost open style closes; tags sharing a class close each other.
    if (!m_styleStack.empty() && m_styleStack.back().name == tag.styleClass) {
        m_style = m_styleStack.back();
        m_styleStack.pop_back();
        if (tag.id == MarkupLib::TagLink)
            m_linkKind = LinkNone;
    }
    m_style.name.clear();
}

void CMarkupDrawer::ApplyOpeningTag(const Token& tag) {
    switch (tag.id) {
    case MarkupLib::TagBold:
        m_style.weight = std::min(m_style.weight * 2, 900);
        break;
    case MarkupLib::TagItalic:
        m_style.italic = !m_style.italic;
        break;
    case MarkupLib::TagUnderline:
        m_style.underline = !m_style.underline;
        break;
    case MarkupLib::TagStrikeout:
        m_style.strikeout = !m_style.strikeout;
        break;
    case MarkupLib::TagFont:
        ApplyFontAttributes(MarkupLib::ReadAttributes(tag.attributes));
        break;
    case MarkupLib::TagLeft:
    case MarkupLib::TagCenter:
    case MarkupLib::TagRight:
    case MarkupLib::TagJustify:
        m_style.horzAlign = tag.id - MarkupLib::TagLeft;
        break;
    case MarkupLib::TagBaseline:
        m_style.vertAlign = MarkupLib::AlignBaseline;
        break;
    case MarkupLib::TagTop:
        m_style.vertAlign = MarkupLib::AlignTop;
        break;
    case MarkupLib::TagVCenter:
        m_style.vertAlign = MarkupLib::AlignVCenter;
        break;
    case MarkupLib::TagBottom:
        m_style.vertAlign = MarkupLib::AlignBottom;
        break;
    case MarkupLib::TagStyleRule:
        ApplyStyleRule(tag.styleClass, m_style);
        break;
    case MarkupLib::TagSpan:
        for (const auto& attribute : MarkupLib::ReadAttributes(tag.attributes)) {
            if (attribute.first == L"class")
                ApplyStyleRule(L"." + attribute.second, m_style);
        }
        break;
    case MarkupLib::TagLink:
        ApplyLink(MarkupLib::ReadAttributes(tag.attributes));
        break;
    default:
        break;
    }
}

void CMarkupDrawer::ApplyFontAttributes(const AttributeList& attributes) {
    for (const auto& attribute : attributes) {
        const std::wstring& name = attribute.first;
        const std::wstring& value = attribute.second;
        if (name == L"face") {
            m_style.face = value;
        } else if (name == L"size") {
            m_style.size = ReadLength(value, m_style.size, true);
        } else if (name == L"color") {
            m_style.textColor = ReadColor(value, m_style.textColor);
        } else if (name == L"style") {
            // "+" or "-" sets the sense of the next letter; without one it is on.
            bool on = true;
            for (wchar_t letter : value) {
                if (letter == L'+' || letter == L'-') {
                    on = letter == L'+';
                    continue;
                }
                switch (letter) {
                case L'b':
                    m_style.weight = on ? FW_BOLD : FW_NORMAL;
                    break;
                case L'i':
                    m_style.italic = on;
                    break;
                case L'u':
                    m_style.underline = on;
                    break;
                case L's':
                    m_style.strikeout = on;
                    break;
                case L'o':
                    m_style.overline = on;
                    break;
                default:
                    break;
                }
                on = true;
            }
        } else if (name == L"weight") {
            m_style.weight = MarkupLib::ReadFontWeight(value);
        } else if (name == L"bkgnd") {
            if (value.empty() || value == L"transparent") {
                m_style.backMode = MarkupLib::BackTransparent;
            } else {
                m_style.backMode = MarkupLib::BackOpaque;
                m_style.backColor = ReadColor(value, m_style.backColor);
            }
        }
    }
}

void CMarkupDrawer::ApplyLink(const AttributeList& attributes) {
    ++m_linkIndex;
    m_linkKind = LinkMessage;
    m_style.linkTarget.clear();
    for (const auto& attribute : attributes) {
        if (attribute.first == L"href") {
            m_linkKind = LinkUrl;
            m_style.linkTarget = attribute.second;
        } else if (attribute.first == L"msg") {
            m_linkKind = LinkMessage;
            m_style.linkTarget = attribute.second;
        }
    }
    ApplyStyleRule(m_linkIndex == m_hotLinkIndex ? L"a:hover" : L"a:link", m_style);
}

COLORREF CMarkupDrawer::ReadColor(const std::wstring& value, COLORREF current) const {
    return MarkupLib::ReadColor(value, current, m_colors);
}

int CMarkupDrawer::ReadLength(const std::wstring& value, int current, bool fontSizeRule) const {
    return MarkupLib::ReadLength(value, current, fontSizeRule, m_dc);
}
