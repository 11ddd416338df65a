#include "toolkit/QE637.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(QE637, QE978)

using Toolkit::Bar;
using Toolkit::Control;

QE637::QE637() = default;

QE637::~QE637() = default;

CSize QE637::DrawPopupItem(CDC* pDC, const Bar& bar, const Control& control, BOOL bDraw) {
    const CRect& rect = control.GetRect();
    const COLORREF text = !control.IsEnabled() ? GetColor(COLOR_GRAYTEXT)
                          : control.IsHot()    ? GetColor(COLOR_HIGHLIGHTTEXT)
                                               : GetColor(COLOR_MENUTEXT);
    pDC->SetTextColor(text);
    pDC->SetBkMode(TRANSPARENT);
    if (bDraw) {
        if (control.IsHot())
            QEFillSolid(pDC, rect, GetColor(COLOR_HIGHLIGHT));
        if (control.IsChecked())
            DrawCheckMark(pDC, CRect(rect.left, rect.top, rect.left + rect.Height(), rect.bottom), text);
        if (control.HasSubmenu()) {
            const int middle = rect.CenterPoint().y;
            QEFillTriangle(pDC, CPoint(rect.right - 10, middle - 3), CPoint(rect.right - 7, middle),
                           CPoint(rect.right - 10, middle + 3), text);
        }
    }
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    const CSize caption = DrawControlText(pDC, bar, control, CRect(rect.left + 24, rect.top, rect.right, rect.bottom),
                                          bDraw, format);
    CSize shortcut(0, 0);
    if (!control.HasSubmenu())
        shortcut = DrawBarText(pDC, bar, control.GetShortcut(), CRect(rect.left + 24, rect.top, rect.right - 16, rect.bottom),
                               bDraw, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    return CSize(caption.cx + shortcut.cx + 48, GetPopupItemHeight(pDC, bar));
}

CSize QE637::DrawToolbarControl(CDC* pDC, const Bar& bar, const Control& control, BOOL bDraw) {
    const CRect& rect = control.GetRect();
    pDC->SetTextColor(control.IsEnabled() ? GetColor(COLOR_BTNTEXT) : GetColor(COLOR_GRAYTEXT));
    pDC->SetBkMode(TRANSPARENT);
    if (bDraw && control.IsEnabled() && (control.IsHot() || control.IsPressed() || control.IsChecked())) {
        const bool sunken = control.IsPressed() || control.IsChecked();
        pDC->Draw3dRect(rect, GetColor(sunken ? COLOR_3DSHADOW : COLOR_3DHILIGHT),
                        GetColor(sunken ? COLOR_3DHILIGHT : COLOR_3DSHADOW));
    }
    const CSize image = bar.GetImageSize();
    switch (control.GetKind()) {
    case Toolkit::ControlButton:
        if (bDraw)
            DrawControlImage(pDC, bar, control,
                             CPoint(rect.left + (rect.Width() - image.cx) / 2, rect.top + (rect.Height() - image.cy) / 2));
        return CSize(image.cx + 7, image.cy + 7);
    case Toolkit::ControlCaptionButton: {
        const CSize text = DrawControlText(pDC, bar, control, rect, FALSE, DT_SINGLELINE | DT_CENTER);
        if (bDraw) {
            DrawControlImage(pDC, bar, control, CPoint(rect.left + (rect.Width() - image.cx) / 2, rect.top + 3));
            DrawControlText(pDC, bar, control, CRect(rect.left, rect.top + 3 + image.cy, rect.right, rect.bottom), TRUE,
                            DT_SINGLELINE | DT_CENTER);
        }
        return CSize(std::max(text.cx + 8, image.cx + 7), text.cy + image.cy + 8);
    }
    case Toolkit::ControlPopup:
    case Toolkit::ControlLabel: {
        const CSize text = DrawControlText(pDC, bar, control, rect, bDraw, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        return CSize(text.cx + 12, text.cy + 8);
    }
    default:
        return CSize(0, 0);
    }
}

void QE637::FillBarBackground(CDC* pDC, const Bar& bar, const CRect& rect) {
    if (Toolkit::IsPopupBar(bar.GetKind())) {
        QEFillSolid(pDC, rect, GetColor(COLOR_MENU));
        pDC->Draw3dRect(rect, GetColor(COLOR_3DSHADOW), GetColor(COLOR_3DSHADOW));
    } else {
        QEFillSolid(pDC, rect, GetColor(COLOR_3DFACE));
    }
}

CSize QE637::DrawCaptionStrip(CDC* pDC, const Bar& bar, BOOL bDraw) {
    if (bar.GetKind() != Toolkit::BarTitledPopup)
        return CSize(0, 0);
    QEBarFontScope font(pDC, bar);
    const int height = pDC->GetTextExtent(L" ", 1).cy + 6;
    const CRect strip(2, 2, bar.GetSize().cx - 2, height);
    if (bDraw) {
        QEFillSolid(pDC, strip, GetColor(IsBarActive(bar) ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        pDC->SetTextColor(GetColor(IsBarActive(bar) ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        pDC->SetBkMode(TRANSPARENT);
        CRect text(strip.left + 3, strip.top, strip.right, strip.bottom);
        ::DrawTextW(pDC->m_hDC, bar.GetTitle(), bar.GetTitle().GetLength(), &text, DT_SINGLELINE | DT_VCENTER);
    }
    return CSize(strip.Width(), height);
}

CSize QE637::DrawSeparator(CDC* pDC, const Bar& bar, const Control& control, BOOL bDraw) {
    const bool popup = Toolkit::IsPopupBar(bar.GetKind());
    if (!bDraw)
        return popup ? CSize(4, 4) : CSize(6, 6);
    const CRect& rect = control.GetRect();
    if (popup || Toolkit::IsVerticalBar(bar.GetKind())) {
        const int y = rect.CenterPoint().y;
        pDC->Draw3dRect(CRect(rect.left + 2, y - 1, rect.right - 2, y + 1), GetColor(COLOR_3DSHADOW),
                        GetColor(COLOR_3DHILIGHT));
    } else {
        const int x = rect.CenterPoint().x;
        pDC->Draw3dRect(CRect(x - 1, rect.top + 2, x + 1, rect.bottom - 2), GetColor(COLOR_3DSHADOW),
                        GetColor(COLOR_3DHILIGHT));
    }
    return CSize(0, 0);
}

CRect QE637::AdjustControlRect(const Bar& bar, const Control&, CRect rect) {
    // Toolbar buttons keep a pixel apart.
    if (!Toolkit::IsPopupBar(bar.GetKind()))
        rect.DeflateRect(1, 1);
    return rect;
}

CRect QE637::ExpandButtonRect(const Bar& bar) {
    const CSize size = bar.GetSize();
    if (Toolkit::IsVerticalBar(bar.GetKind()))
        return CRect(2, size.cy - 13, size.cx - 2, size.cy - 2);
    return CRect(size.cx - 13, 2, size.cx - 2, size.cy - 2);
}

void QE637::DrawChevron(CDC* pDC, CPoint pt, BOOL bDown, COLORREF color) {
    // Two chevrons, each two pixels thick: four two-segment lines.
    for (int chevron = 0; chevron < 2; ++chevron) {
        for (int thickness = 0; thickness < 2; ++thickness) {
            const int step = chevron * 4 + thickness;
            if (bDown) {
                QEDrawLine(pDC, pt.x, pt.y + step, pt.x + 2, pt.y + step + 2, color);
                QEDrawLine(pDC, pt.x + 2, pt.y + step + 2, pt.x + 5, pt.y + step - 1, color);
            } else {
                QEDrawLine(pDC, pt.x + step, pt.y, pt.x + step + 2, pt.y + 2, color);
                QEDrawLine(pDC, pt.x + step + 2, pt.y + 2, pt.x + step - 1, pt.y + 5, color);
            }
        }
    }
}

CSize QE637::DrawExpandButton(CDC* pDC, Bar& bar, BOOL bDraw, BOOL) {
    Toolkit::ExpandButton& button = bar.GetExpandButton();
    if (!bDraw) {
        button.rect = ExpandButtonRect(bar);
        return CSize(0, 0);
    }
    const CRect& rect = button.rect;
    if (button.hot || button.pressed)
        pDC->Draw3dRect(rect, GetColor(button.pressed ? COLOR_3DSHADOW : COLOR_3DHILIGHT),
                        GetColor(button.pressed ? COLOR_3DHILIGHT : COLOR_3DSHADOW));
    const COLORREF arrow = GetColor(COLOR_BTNTEXT);
    const int centre = rect.CenterPoint().x;
    QEFillTriangle(pDC, CPoint(centre - 2, rect.bottom - 7), CPoint(centre + 2, rect.bottom - 7),
                   CPoint(centre, rect.bottom - 5), arrow);
    if (button.controlsHidden)
        DrawChevron(pDC, CPoint(rect.left + 2, rect.top + 2), Toolkit::IsVerticalBar(bar.GetKind()), arrow);
    return CSize(0, 0);
}

CRect QE637::GetBorderMargins(const Bar& bar) {
    if (Toolkit::IsPopupBar(bar.GetKind()))
        return CRect(3, 3, 3, 3);
    return CRect(2, 2, 2, 2);
}
