#include "shell/theme/CMsMoneyTheme.h"

#include <algorithm>

using Toolkit::Bar;
using Toolkit::Control;

CMsMoneyTheme::CMsMoneyTheme(COLORREF clrGradientLight, COLORREF clrGradientDark, COLORREF clrLineLight,
                             COLORREF clrLineDark)
    : m_clrGradientLight(clrGradientLight),
      m_clrGradientDark(clrGradientDark),
      m_clrLineLight(clrLineLight),
      m_clrLineDark(clrLineDark) {}

CMsMoneyTheme::~CMsMoneyTheme() = default;

void CMsMoneyTheme::SetTextColors(COLORREF clrNormal, COLORREF clrHot, COLORREF clrDisabled) {
    m_clrTextNormal = clrNormal;
    m_clrTextHot = clrHot;
    m_clrTextDisabled = clrDisabled;
}

CSize CMsMoneyTheme::DrawPopupItem(CDC* pDC, const Bar& bar, const Control& control, BOOL bDraw) {
    const CRect& rect = control.GetRect();
    const COLORREF text = !control.IsEnabled() ? kMenuTextDisabled : control.IsHot() ? kMenuTextHot : kMenuText;
    pDC->SetTextColor(text);
    pDC->SetBkMode(TRANSPARENT);
    const int middle = rect.top + rect.Height() / 2;
    if (bDraw) {
        if (control.IsHot())
            QEFillSolid(pDC, rect, kHighlight);
        if (control.IsChecked())
            DrawCheckMark(pDC, CRect(rect.left - 2, middle - 10, rect.left + 18, middle + 10), text);
        if (control.HasSubmenu())
            QEFillTriangle(pDC, CPoint(rect.right - 11, middle - 3), CPoint(rect.right - 8, middle),
                           CPoint(rect.right - 11, middle + 3), text);
    }
    const CSize caption = DrawControlText(pDC, bar, control, CRect(rect.left + 16, rect.top, rect.right, rect.bottom),
                                          bDraw, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    CSize shortcut(0, 0);
    if (!control.HasSubmenu())
        shortcut = DrawBarText(pDC, bar, control.GetShortcut(),
                               CRect(rect.left + 20, rect.top, rect.right - 19, rect.bottom), bDraw,
                               DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    return CSize(caption.cx + shortcut.cx + 60, std::max(GetPopupItemHeight(pDC, bar) - 4, 17));
}

CSize CMsMoneyTheme::DrawToolbarControl(CDC* pDC, const Bar& bar, const Control& control, BOOL bDraw) {
    const CRect& rect = control.GetRect();
    const COLORREF text = !control.IsEnabled()                         ? m_clrTextDisabled
                          : !control.IsHot() && !control.IsPressed()   ? m_clrTextNormal
                                                                       : m_clrTextHot;
    pDC->SetTextColor(text);
    pDC->SetBkMode(TRANSPARENT);
    const CSize image = bar.GetImageSize();
    switch (control.GetKind()) {
    case Toolkit::ControlCaptionButton: {
        const UINT format = DT_SINGLELINE | DT_CENTER;  // 0x21
        const CSize caption = DrawControlText(pDC, bar, control, rect, FALSE, format);
        if (bDraw) {
            DrawControlImage(pDC, bar, control, CPoint(rect.left + (rect.Width() - image.cx) / 2, rect.top + 3));
            DrawControlText(pDC, bar, control, CRect(rect.left, rect.top + image.cy, rect.right, rect.bottom), TRUE,
                            format);
        }
        return CSize(std::max(caption.cx + 10, image.cx + 7), caption.cy + image.cy + 10);
    }
    case Toolkit::ControlPopup: {
        if (bDraw && (control.IsHot() || control.IsPressed()) && bar.GetKind() != Toolkit::BarPalette)
            QEFillSolid(pDC, rect, kHighlight);
        const CSize caption = DrawControlText(pDC, bar, control, rect, bDraw, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        const bool sideways = bar.GetKind() == Toolkit::BarPopup || bar.GetKind() == Toolkit::BarTitledPopup;
        return sideways ? CSize(caption.cx + 8, caption.cy + 16) : CSize(caption.cx + 16, caption.cy + 8);
    }
    default:
        return CSize(0, 0);
    }
}

void CMsMoneyTheme::FillBarBackground(CDC* pDC, const Bar& bar, const CRect& rect) {
    switch (bar.GetKind()) {
    case Toolkit::BarMenu:
        QEFillSolid(pDC, rect, kBarBackground);
        break;
    case Toolkit::BarToolbar: {
        GradientFill(pDC, rect, m_clrGradientLight, m_clrGradientDark);
        const double span = rect.Height();
        for (int row = rect.top + 1; row < rect.bottom; row += 3) {
            const COLORREF line = BlendColors(m_clrLineLight, m_clrLineDark, 1.0 - (row - rect.top) / span);
            QEFillSolid(pDC, CRect(rect.left, row, rect.right, row + 1), line);
        }
        break;
    }
    case Toolkit::BarPopup:
        QEFillSolid(pDC, rect, kBarBackground);
        pDC->Draw3dRect(rect, kPopupFrame, kPopupFrame);
        break;
    default:
        break;
    }
}

CSize CMsMoneyTheme::DrawCaptionStrip(CDC* pDC, const Bar& bar, BOOL bDraw) {
    if (bar.GetKind() != Toolkit::BarTitledPopup)
        return CSize(0, 0);
    int height = 0;
    {
        QEBarFontScope font(pDC, bar);
        height = std::max(static_cast<int>(pDC->GetTextExtent(L" ", 1).cy) + 3, 15 + 3);
    }
    const CRect strip(3, 3, bar.GetSize().cx - 3, height);
    if (bDraw) {
        QEFillSolid(pDC, strip, IsBarActive(bar) ? m_clrGradientDark : kHighlight);
        pDC->SetTextColor(GetColor(20));
        pDC->SetBkMode(TRANSPARENT);
        DrawBarText(pDC, bar, bar.GetTitle(), CRect(5, 3, strip.right, strip.bottom), TRUE,
                    DT_SINGLELINE | DT_VCENTER);
    }
    return CSize(strip.Width(), height);
}

CSize CMsMoneyTheme::DrawSeparator(CDC* pDC, const Bar& bar, const Control& control, BOOL bDraw) {
    const bool popup = bar.GetKind() == Toolkit::BarPopup;
    if (!bDraw)
        return popup ? CSize(3, 3) : CSize(6, 6);
    if (popup) {
        const int y = control.GetRect().bottom - 1;
        QEDrawLine(pDC, 16, y, bar.GetSize().cx - 14, y, kSeparator);
    }
    return CSize(0, 0);
}

CRect CMsMoneyTheme::AdjustControlRect(const Bar&, const Control&, CRect rect) { return rect; }

CSize CMsMoneyTheme::DrawExpandButton(CDC* pDC, Bar& bar, BOOL bDraw, BOOL bDefaultLook) {
    if (bDefaultLook)
        return QE637::DrawExpandButton(pDC, bar, bDraw, bDefaultLook);
    Toolkit::ExpandButton& button = bar.GetExpandButton();
    if (!bDraw) {
        button.rect = ExpandButtonRect(bar);
        return CSize(0, 0);
    }
    const CRect& rect = button.rect;
    const COLORREF arrow = button.pressed || button.hot ? kMenuTextHot : kMenuText;
    if (Toolkit::IsVerticalBar(bar.GetKind())) {
        QEFillTriangle(pDC, CPoint(rect.left + 6, rect.top + 3), CPoint(rect.left + 6, rect.top + 7),
                       CPoint(rect.left + 4, rect.top + 5), arrow);
        if (button.controlsHidden)
            DrawChevron(pDC, CPoint(rect.right - 8, rect.top + 2), TRUE, arrow);
    } else {
        const int centre = rect.left + rect.Width() / 2;
        QEFillTriangle(pDC, CPoint(centre - 2, rect.bottom - 7), CPoint(centre + 2, rect.bottom - 7),
                       CPoint(centre, rect.bottom - 5), arrow);
        if (button.controlsHidden)
            DrawChevron(pDC, CPoint(rect.left + 2, rect.top + 2), FALSE, arrow);
    }
    return CSize(0, 0);
}

CRect CMsMoneyTheme::GetBorderMargins(const Bar& bar) {
    switch (bar.GetKind()) {
    case Toolkit::BarPopup:
        return CRect(1, 1, 1, 1);
    case Toolkit::BarToolbar:
        return CRect(0, 5, 0, 5);
    default:
        return QE637::GetBorderMargins(bar);
    }
}

void CMsMoneyTheme::DrawControlImage(CDC* pDC, const Bar& bar, const Control& control, CPoint pt) {
    const int image = control.GetImageIndex();
    const int check = control.GetChecked();
    const bool checked = check == Toolkit::CheckChecked || check == Toolkit::CheckCheckedMixed;
    if (!control.IsEnabled())
        DrawImageDisabled(pDC, bar, image, pt);
    else if (checked)
        DrawImageChecked(pDC, bar, image, pt);
    else if (Toolkit::IsPopupBar(bar.GetKind()))
        DrawImageNormal(pDC, bar, image, pt);  // menus show no pressed or hot pictures
    else if (control.IsPressed())
        DrawImagePressed(pDC, bar, image, pt);
    else if (control.IsHot())
        DrawImageHot(pDC, bar, image, pt);
    else
        DrawImageNormal(pDC, bar, image, pt);
}
