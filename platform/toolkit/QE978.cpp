#include "toolkit/QE978.h"

#include <algorithm>
#include <atomic>
#include <cmath>

IMPLEMENT_DYNAMIC(QE978, CCmdTarget)

namespace {

std::atomic<long> g_liveThemes{0};

int Channel(int from, int to, int step, int steps) {
    return from + (to - from) * step / steps;
}

}  // namespace

void QEFillSolid(CDC* pDC, const CRect& rect, COLORREF color) {
    // ExtTextOut with ETO_OPAQUE fills without creating a brush.
    const COLORREF previous = ::SetBkColor(pDC->m_hDC, color);
    ::ExtTextOutW(pDC->m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(pDC->m_hDC, previous);
}

void QEDrawLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, color);
    HGDIOBJ previous = ::SelectObject(pDC->m_hDC, pen);
    ::MoveToEx(pDC->m_hDC, x1, y1, nullptr);
    ::LineTo(pDC->m_hDC, x2, y2);
    ::SelectObject(pDC->m_hDC, previous);
    ::DeleteObject(pen);
}

void QEFillTriangle(CDC* pDC, CPoint a, CPoint b, CPoint c, COLORREF color) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, color);
    HBRUSH brush = ::CreateSolidBrush(color);
    HGDIOBJ previousPen = ::SelectObject(pDC->m_hDC, pen);
    HGDIOBJ previousBrush = ::SelectObject(pDC->m_hDC, brush);
    const POINT points[3] = {a, b, c};
    ::Polygon(pDC->m_hDC, points, 3);
    ::SelectObject(pDC->m_hDC, previousBrush);
    ::SelectObject(pDC->m_hDC, previousPen);
    ::DeleteObject(brush);
    ::DeleteObject(pen);
}

QEBarFontScope::QEBarFontScope(CDC* pDC, const Toolkit::Bar& bar)
    : m_dc(pDC->m_hDC), m_previous(::SelectObject(pDC->m_hDC, bar.GetFont())) {}

QEBarFontScope::~QEBarFontScope() { ::SelectObject(m_dc, m_previous); }

QE978::QE978() {
    for (int i = 0; i < QE_COLOR_COUNT; ++i)
        m_colors[i] = ::GetSysColor(i);
    ++g_liveThemes;
}

QE978::~QE978() { --g_liveThemes; }

long QE978::GetLiveCount() { return g_liveThemes.load(); }

CSize QE978::DrawPopupItem(CDC*, const Toolkit::Bar&, const Toolkit::Control&, BOOL) { return CSize(0, 0); }

CSize QE978::DrawToolbarControl(CDC*, const Toolkit::Bar&, const Toolkit::Control&, BOOL) { return CSize(0, 0); }

void QE978::FillBarBackground(CDC*, const Toolkit::Bar&, const CRect&) {}

CSize QE978::DrawCaptionStrip(CDC*, const Toolkit::Bar&, BOOL) { return CSize(0, 0); }

CSize QE978::DrawSeparator(CDC*, const Toolkit::Bar&, const Toolkit::Control&, BOOL) { return CSize(0, 0); }

CRect QE978::AdjustControlRect(const Toolkit::Bar&, const Toolkit::Control&, CRect rect) { return rect; }

CSize QE978::DrawExpandButton(CDC*, Toolkit::Bar& bar, BOOL bDraw, BOOL) {
    if (!bDraw)
        bar.GetExpandButton().rect.SetRectEmpty();
    return CSize(0, 0);
}

CRect QE978::GetBorderMargins(const Toolkit::Bar&) { return CRect(0, 0, 0, 0); }

void QE978::DrawControlImage(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, CPoint pt) {
    const int image = control.GetImageIndex();
    if (!control.IsEnabled())
        DrawImageDisabled(pDC, bar, image, pt);
    else if (control.IsChecked())
        DrawImageChecked(pDC, bar, image, pt);
    else if (control.IsPressed())
        DrawImagePressed(pDC, bar, image, pt);
    else if (control.IsHot())
        DrawImageHot(pDC, bar, image, pt);
    else
        DrawImageNormal(pDC, bar, image, pt);
}

CSize QE978::DrawControlText(CDC* pDC, const Toolkit::Bar& bar, const Toolkit::Control& control, CRect rect,
                             BOOL bDraw, UINT nFormat) {
    return DrawBarText(pDC, bar, control.GetCaption(), rect, bDraw, nFormat);
}

CSize QE978::DrawBarText(CDC* pDC, const Toolkit::Bar& bar, const CString& text, CRect rect, BOOL bDraw,
                         UINT nFormat) {
    QEBarFontScope font(pDC, bar);
    CRect measured = rect;
    ::DrawTextW(pDC->m_hDC, text, text.GetLength(), &measured, (nFormat | DT_CALCRECT) & ~DT_END_ELLIPSIS);
    if (text.IsEmpty())
        measured.right = measured.left;
    if (bDraw)
        ::DrawTextW(pDC->m_hDC, text, text.GetLength(), &rect, nFormat & ~DT_CALCRECT);
    return CSize(measured.Width(), measured.Height());
}

COLORREF QE978::GetColor(int nIndex) const {
    if (nIndex < 0 || nIndex >= QE_COLOR_COUNT)
        return RGB(0, 0, 0);
    return m_colors[nIndex];
}

BOOL QE978::IsBarActive(const Toolkit::Bar& bar) const { return bar.IsActive(); }

int QE978::GetPopupItemHeight(CDC* pDC, const Toolkit::Bar& bar) const {
    QEBarFontScope font(pDC, bar);
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(pDC->m_hDC, &metrics);
    return metrics.tmHeight + 8;
}

void QE978::GradientFill(CDC* pDC, const CRect& rect, COLORREF clrFrom, COLORREF clrTo, BOOL bHorizontal) {
    const int length = bHorizontal ? rect.Width() : rect.Height();
    if (length <= 0 || (bHorizontal ? rect.Height() : rect.Width()) <= 0)
        return;
    const int steps = std::max(length - 1, 1);
    for (int i = 0; i < length; ++i) {
        const COLORREF color = RGB(Channel(GetRValue(clrFrom), GetRValue(clrTo), i, steps),
                                   Channel(GetGValue(clrFrom), GetGValue(clrTo), i, steps),
                                   Channel(GetBValue(clrFrom), GetBValue(clrTo), i, steps));
        const CRect band = bHorizontal ? CRect(rect.left + i, rect.top, rect.left + i + 1, rect.bottom)
                                       : CRect(rect.left, rect.top + i, rect.right, rect.top + i + 1);
        QEFillSolid(pDC, band, color);
    }
}

COLORREF QE978::BlendColors(COLORREF clrA, COLORREF clrB, double factor) {
    factor = std::min(std::max(factor, 0.0), 1.0);
    const auto mix = [factor](int a, int b) {
        return static_cast<int>(std::floor(a * factor + b * (1.0 - factor) + 0.5));
    };
    return RGB(mix(GetRValue(clrA), GetRValue(clrB)), mix(GetGValue(clrA), GetGValue(clrB)),
               mix(GetBValue(clrA), GetBValue(clrB)));
}

void QE978::DrawCheckMark(CDC* pDC, const CRect& box, COLORREF color) {
    // A two-pixel-thick tick centred in the box.
    const CPoint centre = box.CenterPoint();
    for (int thickness = 0; thickness < 2; ++thickness) {
        const int y = centre.y + thickness;
        QEDrawLine(pDC, centre.x - 4, y - 1, centre.x - 1, y + 2, color);
        QEDrawLine(pDC, centre.x - 1, y + 2, centre.x + 5, y - 4, color);
    }
}

void QE978::DrawImageNormal(CDC* pDC, const Toolkit::Bar& bar, int image, CPoint pt) const {
    if (bar.GetImages() && image >= 0)
        ImageList_Draw(bar.GetImages(), image, pDC->m_hDC, pt.x, pt.y, ILD_TRANSPARENT);
}

void QE978::DrawImageHot(CDC* pDC, const Toolkit::Bar& bar, int image, CPoint pt) const {
    DrawImageNormal(pDC, bar, image, pt);
}

void QE978::DrawImagePressed(CDC* pDC, const Toolkit::Bar& bar, int image, CPoint pt) const {
    DrawImageNormal(pDC, bar, image, CPoint(pt.x + 1, pt.y + 1));
}

void QE978::DrawImageChecked(CDC* pDC, const Toolkit::Bar& bar, int image, CPoint pt) const {
    const CSize size = bar.GetImageSize();
    const CRect frame(pt.x - 1, pt.y - 1, pt.x + size.cx + 1, pt.y + size.cy + 1);
    HBRUSH brush = ::CreateSolidBrush(GetColor(COLOR_HIGHLIGHT));
    ::FrameRect(pDC->m_hDC, &frame, brush);
    ::DeleteObject(brush);
    DrawImageNormal(pDC, bar, image, pt);
}

void QE978::DrawImageDisabled(CDC* pDC, const Toolkit::Bar& bar, int image, CPoint pt) const {
    if (!bar.GetImages() || image < 0)
        return;
    HICON icon = ImageList_GetIcon(bar.GetImages(), image, ILD_TRANSPARENT);
    if (!icon)
        return;
    ::DrawStateW(pDC->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, pt.x, pt.y, 0, 0,
                 DST_ICON | DSS_DISABLED);
    ::DestroyIcon(icon);
}
