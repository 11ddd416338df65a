#pragma once
// Reads tooltip texts written in the markup: prepares a text, cuts it into
// runs and tags, and keeps the current style record and the stack of saved
// ones that style tags change. Owns the tables of tags, entities and colour
// names, the style sheet and the draw manager the tooltip paints with.
// GUI thread only.
#include "controls/drawing/DrawManager.h"
#include "controls/markup/MarkupAttributes.h"
#include "controls/markup/MarkupStyle.h"
#include "controls/markup/MarkupStyleSheet.h"
#include "controls/markup/MarkupTables.h"
#include "controls/markup/MarkupTokenizer.h"
#include "controls/markup/MarkupValues.h"

#include <string>
#include <vector>

class CMarkupDrawer {
public:
    enum LinkKind { LinkNone = 0, LinkUrl = 1, LinkMessage = 2 };
    // The hot link index when the mouse is over no link.
    static const int kNoHotLink = -2;

    CMarkupDrawer();
    virtual ~CMarkupDrawer();
    CMarkupDrawer(const CMarkupDrawer&) = delete;
    CMarkupDrawer& operator=(const CMarkupDrawer&) = delete;

    // Null installs the default style sheet; any other text, an empty one
    // too, replaces the sheet with the rules it holds.
    void SetCssStyles(const wchar_t* styles);
    const std::wstring& GetCssStyles() const { return m_cssText; }
    const MarkupLib::StyleSheet& GetStyleSheet() const { return m_styleSheet; }

    // The rule for `name` (lower-cased) applied to the style; a missing rule
    // changes nothing.
    void ApplyStyleRule(const std::wstring& name, MarkupLib::Style& style) const;
    // Exact lookup in the colour table.
    COLORREF FindColor(const std::wstring& name, COLORREF defaultColor) const;

    // Entities replaced, carriage returns removed, line feeds and tabs
    // turned into "<br>" and "<t>".
    std::wstring PrepareText(const std::wstring& text) const;
    // The next run or known tag; tags not in the tag table are dropped.
    bool NextToken(MarkupLib::Tokenizer& tokenizer, MarkupLib::Token& token) const;

    // Empties the style stack and starts from the default style; the link
    // count starts again.
    void ResetStyle();
    const MarkupLib::Style& GetStyle() const { return m_style; }
    MarkupLib::Style& GetStyle() { return m_style; }
    // Opening style tags save the style and change it; a closing one
    // restores the saved style when it closes the innermost open one.
    // Element tags change nothing here.
    void ApplyTag(const MarkupLib::Token& tag);

    // The readers, bound to this drawer's colour names and DC.
    MarkupLib::ValueContext GetValueContext() const { return MarkupLib::ValueContext{m_colors, m_dc}; }
    COLORREF ReadColor(const std::wstring& value, COLORREF current) const;
    int ReadLength(const std::wstring& value, int current, bool fontSizeRule) const;

    // The DC lengths in ex, em and physical units refer to (the screen's
    // while none is set).
    void SetDC(HDC dc) { m_dc = dc; }
    HDC GetDC() const { return m_dc; }

    // Links: each opened "a" counts up; the one whose index equals the hot
    // index takes the "a:hover" rule.
    int GetLinkIndex() const { return m_linkIndex; }
    int GetLinkKind() const { return m_linkKind; }
    int GetHotLinkIndex() const { return m_hotLinkIndex; }
    void SetHotLinkIndex(int index) { m_hotLinkIndex = index; }

    CDrawManager& GetDrawManager() { return m_drawManager; }

private:
    void ApplyOpeningTag(const MarkupLib::Token& tag);
    void ApplyFontAttributes(const MarkupLib::AttributeList& attributes);
    void ApplyLink(const MarkupLib::AttributeList& attributes);

    MarkupLib::TagTable m_tags;
    MarkupLib::EntityTable m_entities;
    MarkupLib::ColorTable m_colors;
    MarkupLib::StyleSheet m_styleSheet;
    std::wstring m_cssText;

    MarkupLib::Style m_style;
    std::vector<MarkupLib::Style> m_styleStack;
    HDC m_dc = nullptr;
    int m_linkIndex = -1;
    int m_linkKind = LinkNone;
    int m_hotLinkIndex = kNoHotLink;

    CDrawManager m_drawManager;
};
