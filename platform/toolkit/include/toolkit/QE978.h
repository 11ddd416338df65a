#pragma once
// The root of the toolkit's themes. The command bars measure and paint
// every bar and control only through the current theme's virtual operations
// (below, in the order of their slots); a theme overrides the ones it draws
// differently. This root answers plainly: nothing drawn, zero sizes, no
// margins. It also holds the drawing routines that themes share: the
// gradient fill, the colour blend, the text layout, the check mark, the
// control pictures by state, the bar's state test and the base colours.
// Thread: a theme is built on any thread and then only read; the toolkit
// keeps it alive while any painting uses it (see CurrentTheme.h).
#include "toolkit/CommandBarRecords.h"

// Base colour numbers follow the system colour indexes (GetSysColor).
#define QE_COLOR_COUNT 31

class QE978 : public CCmdTarget {
    DECLARE_DYNAMIC(QE978)
public:
    QE978();
    ~QE978() override;

    // Draws a popup-menu item into control.GetRect() or only measures it; the size it needs.
    virtual CSize DrawPopupItem(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, BOOL bDraw);
    // Draws a control of a toolbar or measures it.
    virtual CSize DrawToolbarControl(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, BOOL bDraw);
    virtual void FillBarBackground(CDC* pDC, const Toolkit::Bar& bar, const CRect& rect);
    // The caption strip of a titled popup bar.
    virtual CSize DrawCaptionStrip(CDC* pDC, const Toolkit::Bar& bar, BOOL bDraw);
    virtual CSize DrawSeparator(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, BOOL bDraw);
    // The rectangle a control gets from the place the bar laid out for it.
    virtual CRect AdjustControlRect(const Toolkit::Bar& bar, const Toolkit::Control& control, CRect rect);
    // Measuring places bar.GetExpandButton().rect; bDefaultLook asks for the
    // root look whatever the theme.
    virtual CSize DrawExpandButton(CDC* pDC, Toolkit::Bar& bar, BOOL bDraw, BOOL bDefaultLook);
    // Left, top, right and bottom margins between the bar's edge and its controls.
    virtual CRect GetBorderMargins(const Toolkit::Bar& bar);
    // The control's picture with its top-left corner at pt.
    virtual void DrawControlImage(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, CPoint pt);

    // The control's caption in the bar's font: measured (DT_CALCRECT on
    // rect) or drawn with the format. The size of the text.
    virtual CSize DrawControlText(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, CRect rect,
                                  BOOL bDraw, UINT nFormat);

    // Any text in the bar's font, measured with DT_CALCRECT on rect (an
    // empty text is 0 wide) and drawn when bDraw; the size of the text.
    static CSize DrawBarText(CDC* pDC, const Toolkit::Bar& bar, const CString& text, CRect rect, BOOL bDraw,
                             UINT nFormat);

    // Base colour number nIndex (a system colour index); black for others.
    COLORREF GetColor(int nIndex) const;
    // The state test of a bar: whether it is the active one.
    BOOL IsBarActive(const Toolkit::Bar& bar) const;
    // Height of one popup-menu row in the bar's font.
    int GetPopupItemHeight(CDC* pDC, const Toolkit::Bar& bar) const;

    // Fills rect from clrFrom to clrTo: top to bottom by default, left to
    // right when bHorizontal. The first and last rows (or columns) get the
    // two colours themselves; each channel in between is
    // from + (to - from) * i / (n - 1), truncated.
    static void GradientFill(CDC* pDC, const CRect& rect, COLORREF clrFrom, COLORREF clrTo, BOOL bHorizontal = FALSE);
    // clrA * factor + clrB * (1 - factor) per channel, rounded; the factor
    // is clamped to 0..1.
    static COLORREF BlendColors(COLORREF clrA, COLORREF clrB, double factor);
    // A tick in the box, in the colour.
    static void DrawCheckMark(CDC* pDC, const CRect& box, COLORREF color);

    // The picture routines that DrawControlImage picks from.
    void DrawImageNormal(CDC* pDC, const Toolkit::Bar& bar, int image, CPoint pt) const;
    void DrawImageHot(CDC* pDC, const Toolkit::Bar& bar, int image, CPoint pt) const;
    void DrawImagePressed(CDC* pDC, const Toolkit::Bar& bar, int image, CPoint pt) const;
    void DrawImageChecked(CDC* pDC, const Toolkit::Bar& bar, int image, CPoint pt) const;
    void DrawImageDisabled(CDC* pDC, const Toolkit::Bar& bar, int image, CPoint pt) const;

    // Theme objects alive in the process: a replaced theme is freed only
    // once no painting uses it any more.
    static long GetLiveCount();

protected:
    COLORREF m_colors[QE_COLOR_COUNT];
};

// Fills a rectangle with one colour without a brush object of its own.
void QEFillSolid(CDC* pDC, const CRect& rect, COLORREF color);
// A one-pixel line from (x1, y1) up to but not including (x2, y2).
void QEDrawLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color);
// A filled triangle (outline and inside in one colour).
void QEFillTriangle(CDC* pDC, CPoint a, CPoint b, CPoint c, COLORREF color);

// Selects the bar's font into the DC for the object's life.
class QEBarFontScope {
public:
    QEBarFontScope(CDC* pDC, const Toolkit::Bar& bar);
    ~QEBarFontScope();
    QEBarFontScope(const QEBarFontScope&) = delete;
    QEBarFontScope& operator=(const QEBarFontScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
