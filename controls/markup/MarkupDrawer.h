#pragma once
// Reads tooltip texts written in the markup: prepares a text, cuts it into
// runs and tags, and keeps the current style record and the stack of saved
// ones that style tags change. Measures a text and draws it (two passes of
// one layout: the measuring pass records lines and tables, the drawing pass
// places them), tracks the link under the mouse, opens clicked links and
// animates image lists. Owns the tables of tags, entities and colour names,
// the style sheet and the draw manager the tooltip paints with.
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
    static constexpr int kNoHotLink = -2;

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

    // Layout. Longest texts are held to these: a larger span counts as this
    // many, and tables nested deeper are not laid out.
    static constexpr int kMaxSpan = 256;
    static constexpr int kMaxTableDepth = 32;

    // Measures the text on the DC: the size to give DrawPreparedOutput, both
    // sides one pixel larger than the layout. An empty layout empties the
    // stored text.
    SIZE PrepareOutput(HDC dc, const std::wstring& text);
    // Draws the text of the last PrepareOutput in the rectangle.
    void DrawPreparedOutput(HDC dc, const RECT& rect);
    bool HasText() const { return !m_text.empty(); }

    // 0 breaks lines only at line breaks.
    void SetMaxWidth(int width) { m_maxWidth = width < 0 ? 0 : width; }
    int GetMaxWidth() const { return m_maxWidth; }
    int GetTabWidth() const { return m_tabWidth; }

    // The shadow images with the "s" letter cast.
    struct ImageShadow {
        bool gradient = true;
        int dx = 4;
        int dy = 4;
        int blurX = 7;
        int blurY = 7;
        int darkness = 50;
        COLORREF color = 0x7F7F7F;
    };
    const ImageShadow& GetImageShadow() const { return m_imageShadow; }
    HCURSOR GetHandCursor() const { return m_handCursor; }

    // The link under the point: sets the hand cursor over one with a target
    // and returns true then; a change of the hot link goes to the repaint
    // callback.
    bool OnSetCursor(POINT point);
    // Opens the link under the point.
    void OnLButtonDown(POINT point);
    // One tick of every image-list animation; true when a frame changed.
    bool OnTimer();
    // Sent (not posted) when the hot link changes; a null
    // window clears the callback.
    void SetCallbackRepaint(HWND window, UINT message, LPARAM parameter);

    // Line `line` (from 0) of the program's string resource `id`; empty when
    // there is none.
    static std::wstring GetResourceStringLine(UINT id, int line);

    struct HotArea {
        RECT rect;
        int kind;
        int linkIndex;
        std::wstring target;
    };
    const std::vector<HotArea>& GetHotAreas() const { return m_hotAreas; }

    struct LineRecord {
        int width = 0;
        int height = 0;
        int ascent = 0;
        int descent = 0;
        int rulePercent = 0;
        int align = 0;
        int blanks = 0;
        bool more = false;
    };
    const std::vector<LineRecord>& GetLines() const { return m_lines; }

    struct Animation {
        int frame = 0;
        int frameCount = 0;
        int ticks = 0;
        int speed = 0;
    };
    const std::vector<Animation>& GetAnimations() const { return m_animations; }

    // Opens a URL target through the shell door, else with the command of
    // the ".htm" class. False when nothing could be started.
    static bool OpenLink(const std::wstring& target, int show);

private:
    // One grid place of a measured table; a cell spanning several places
    // sits in its first one.
    struct Cell {
        int columnSpan = 1;
        int rowSpan = 1;
        int width = 0;
        int height = 0;
        int contentHeight = 0;
        bool fixedWidth = false;
        bool present = false;
    };
    struct Table {
        int rows = 0;
        int columns = 0;
        std::vector<Cell> cells;  // row by row
        std::vector<int> columnWidths;
        std::vector<bool> fixedColumns;
        std::vector<int> rowHeights;
        SIZE size = {0, 0};
    };
    struct Flow;

    void LayoutWhole(HDC dc, const RECT& area);
    SIZE LayoutText(const std::wstring& text, const RECT& area, int depth);
    SIZE LayoutFlow(const std::wstring& text, const RECT& area, int depth);
    SIZE LayoutTable(const std::wstring& text, const RECT& area, int depth);
    void SelectStyle();
    void PlaceRun(Flow& flow, std::wstring run);
    void PlacePiece(Flow& flow, const std::wstring& piece, SIZE extent);
    void StartLine(Flow& flow);
    void NewLine(Flow& flow, int breaks, bool wrapped);
    void EndLine(Flow& flow, int breaks);
    void PlaceRule(Flow& flow, const MarkupLib::Token& tag);
    void PlaceTab(Flow& flow, const MarkupLib::Token& tag);
    void PlaceImage(Flow& flow, const MarkupLib::Token& tag);
    void PlaceString(Flow& flow, const MarkupLib::Token& tag);
    void AddHotArea(const RECT& rect);
    int LinePartTop(const Flow& flow, int height, int ascent) const;
    void SetHotLink(int index);
    void SettleTable(Table& table, int spacing, int border);
    void DrawTableBackground(const RECT& rect, const std::wstring& reference);
    static int SpanLength(const std::vector<int>& lengths, int first, int span, int spacing);
    const HotArea* FindHotArea(POINT point) const;
    void LoadCursors();
    void FreeCursors();
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

    std::wstring m_text;
    SIZE m_layoutSize = {0, 0};
    enum Mode { Drawing = 0, Measuring = 1 };
    int m_mode = Drawing;
    int m_maxWidth = 0;
    int m_tabWidth = 32;
    ImageShadow m_imageShadow;
    HCURSOR m_handCursor = nullptr;
    bool m_ownsHandCursor = false;

    std::vector<LineRecord> m_lines;
    std::vector<HotArea> m_hotAreas;
    std::vector<Animation> m_animations;
    std::vector<Table> m_tables;
    std::size_t m_lineCounter = 0;
    std::size_t m_tableCounter = 0;
    std::size_t m_animationCounter = 0;

    HFONT m_font = nullptr;
    LOGFONTW m_fontKey = {};
    TEXTMETRICW m_metrics = {};

    HWND m_callbackWindow = nullptr;
    UINT m_callbackMessage = 0;
    LPARAM m_callbackParameter = 0;
};
