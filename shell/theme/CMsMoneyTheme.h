#pragma once
// The dark theme of the main window's toolbar and popup menus: fixed dark
// greys, with the toolbar's gradient, line pattern and text colours taken
// from the skin's "on" or "off" colour set. The main frame makes a new one
// whenever the engine is switched on or off and hands it to the toolkit,
// which owns it from then on.
#include "toolkit/QE637.h"

class CMsMoneyTheme : public QE637 {
public:
    CMsMoneyTheme(COLORREF clrGradientLight, COLORREF clrGradientDark, COLORREF clrLineLight, COLORREF clrLineDark);
    ~CMsMoneyTheme() override;

    void SetTextColors(COLORREF clrNormal, COLORREF clrHot, COLORREF clrDisabled);

    CSize DrawPopupItem(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, BOOL bDraw) override;
    CSize DrawToolbarControl(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, BOOL bDraw) override;
    void FillBarBackground(CDC* pDC, const Toolkit::Bar& bar, const CRect& rect) override;
    CSize DrawCaptionStrip(CDC* pDC, const Toolkit::Bar& bar, BOOL bDraw) override;
    CSize DrawSeparator(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, BOOL bDraw) override;
    CRect AdjustControlRect(const Toolkit::Bar& bar, const Toolkit::Control& control, CRect rect) override;
    CSize DrawExpandButton(CDC* pDC, Toolkit::Bar& bar, BOOL bDraw, BOOL bDefaultLook) override;
    CRect GetBorderMargins(const Toolkit::Bar& bar) override;
    void DrawControlImage(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, CPoint pt) override;

    // Fixed colours.
    static const COLORREF kHighlight = 0x505050;      // highlighted popup item, hot popup control
    static const COLORREF kMenuText = 0xF9FEFF;       // popup text; expand arrow
    static const COLORREF kMenuTextHot = 0x7FDFFF;    // highlighted popup text; hot expand arrow
    static const COLORREF kMenuTextDisabled = 0x919191;
    static const COLORREF kBarBackground = 0x5B5B5B;  // popup bars and menu bars
    static const COLORREF kPopupFrame = 0x444444;
    static const COLORREF kSeparator = 0x707070;

protected:
    COLORREF m_clrGradientLight;
    COLORREF m_clrGradientDark;
    COLORREF m_clrLineLight;
    COLORREF m_clrLineDark;
    COLORREF m_clrTextNormal = 0xF9FEFF;
    COLORREF m_clrTextHot = 0x7FDFFF;
    COLORREF m_clrTextDisabled = 0xB1B1B1;
};
