#pragma once
// The toolkit's standard theme: light bars in the system colours. It is the
// current theme until a program sets its own, and the base that program
// themes derive from, so whatever such a theme does not override looks
// like this.
#include "toolkit/QE978.h"

class QE637 : public QE978 {
    DECLARE_DYNAMIC(QE637)
public:
    QE637();
    ~QE637() override;

    CSize DrawPopupItem(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, BOOL bDraw) override;
    CSize DrawToolbarControl(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, BOOL bDraw) override;
    void FillBarBackground(CDC* pDC, const Toolkit::Bar& bar, const CRect& rect) override;
    CSize DrawCaptionStrip(CDC* pDC, const Toolkit::Bar& bar, BOOL bDraw) override;
    CSize DrawSeparator(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, BOOL bDraw) override;
    CRect AdjustControlRect(const Toolkit::Bar& bar, const Toolkit::Control& control, CRect rect) override;
    CSize DrawExpandButton(CDC* pDC, Toolkit::Bar& bar, BOOL bDraw, BOOL bDefaultLook) override;
    CRect GetBorderMargins(const Toolkit::Bar& bar) override;

protected:
    // The expand button's place: 13 pixels at the bar's end, inside a
    // 2-pixel border.
    static CRect ExpandButtonRect(const Toolkit::Bar& bar);
    // The double chevron that says controls are hidden: pointing right
    // with its top-left corner at pt, or pointing down.
    static void DrawChevron(CDC* pDC, CPoint pt, BOOL bDown, COLORREF color);
};
