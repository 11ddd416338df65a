#include "AfxState.h"

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::~CDC() {
    if (m_hDC)
        ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC) { return hDC ? AfxGetThreadState().m_tempDCs.Get(hDC) : nullptr; }

BOOL CDC::Attach(HDC hDC) {
    if (!hDC)
        return FALSE;
    if (m_hDC && m_hDC != hDC)
        ::DeleteDC(Detach());
    m_hDC = m_hAttribDC = hDC;
    return TRUE;
}

HDC CDC::Detach() {
    HDC hDC = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return hDC;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)); }

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }
int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

CPen* CDC::SelectObject(CPen* pPen) {
    return CPen::FromHandle(static_cast<HPEN>(SelectObject(pPen ? pPen->m_hObject : nullptr)));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    return CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(pBrush ? pBrush->m_hObject : nullptr)));
}

CFont* CDC::SelectObject(CFont* pFont) {
    return CFont::FromHandle(static_cast<HFONT>(SelectObject(pFont ? pFont->m_hObject : nullptr)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return CBitmap::FromHandle(static_cast<HBITMAP>(SelectObject(pBitmap ? pBitmap->m_hObject : nullptr)));
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    return CGdiObject::FromHandle(SelectObject(pObject ? pObject->m_hObject : nullptr));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    if (!hObject)
        return nullptr;
    HGDIOBJ previous = nullptr;
    if (m_hDC != m_hAttribDC && m_hDC)
        previous = ::SelectObject(m_hDC, hObject);
    if (m_hAttribDC)
        previous = ::SelectObject(m_hAttribDC, hObject);
    return previous;
}

CGdiObject* CDC::SelectStockObject(int nIndex) { return CGdiObject::FromHandle(SelectObject(::GetStockObject(nIndex))); }

CFont* CDC::GetCurrentFont() const {
    return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const {
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

int CDC::SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(pRgn->m_hObject) : nullptr); }

int CDC::SelectClipRgn(CRgn* pRgn, int nMode) {
    return ::ExtSelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(pRgn->m_hObject) : nullptr, nMode);
}

int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }

int CDC::IntersectClipRect(LPCRECT lpRect) {
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }

int CDC::ExcludeClipRect(LPCRECT lpRect) {
    return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

// Setters change the output DC and, when it differs, the attribute DC too,
// as MFC does; the previous value comes from the attribute DC.
#define AFX_SET_BOTH(call, type, fallback)                      \
    type previous = fallback;                                   \
    if (m_hDC != m_hAttribDC && m_hDC)                          \
        previous = ::call(m_hDC, value);                        \
    if (m_hAttribDC)                                            \
        previous = ::call(m_hAttribDC, value);                  \
    return previous;

COLORREF CDC::SetBkColor(COLORREF value) { AFX_SET_BOTH(SetBkColor, COLORREF, CLR_INVALID) }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
COLORREF CDC::SetTextColor(COLORREF value) { AFX_SET_BOTH(SetTextColor, COLORREF, CLR_INVALID) }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
int CDC::SetBkMode(int value) { AFX_SET_BOTH(SetBkMode, int, 0) }
int CDC::GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
int CDC::SetROP2(int value) { AFX_SET_BOTH(SetROP2, int, 0) }
int CDC::SetStretchBltMode(int value) { AFX_SET_BOTH(SetStretchBltMode, int, 0) }
int CDC::GetStretchBltMode() const { return ::GetStretchBltMode(m_hAttribDC); }
int CDC::SetPolyFillMode(int value) { AFX_SET_BOTH(SetPolyFillMode, int, 0) }
UINT CDC::SetTextAlign(UINT value) { AFX_SET_BOTH(SetTextAlign, UINT, GDI_ERROR) }
UINT CDC::GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }
int CDC::SetMapMode(int value) { AFX_SET_BOTH(SetMapMode, int, 0) }
int CDC::GetMapMode() const { return ::GetMapMode(m_hAttribDC); }

#undef AFX_SET_BOTH

CPoint CDC::SetBrushOrg(int x, int y) {
    POINT previous = {0, 0};
    ::SetBrushOrgEx(m_hDC, x, y, &previous);
    return CPoint(previous);
}

CPoint CDC::SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }

CPoint CDC::SetViewportOrg(int x, int y) {
    POINT previous = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::SetViewportOrgEx(m_hDC, x, y, &previous);
    if (m_hAttribDC)
        ::SetViewportOrgEx(m_hAttribDC, x, y, &previous);
    return CPoint(previous);
}

CPoint CDC::SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }

CPoint CDC::GetViewportOrg() const {
    POINT point = {0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &point);
    return CPoint(point);
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
    POINT previous = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &previous);
    if (m_hAttribDC)
        ::OffsetViewportOrgEx(m_hAttribDC, nWidth, nHeight, &previous);
    return CPoint(previous);
}

CSize CDC::SetViewportExt(int cx, int cy) {
    SIZE previous = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::SetViewportExtEx(m_hDC, cx, cy, &previous);
    if (m_hAttribDC)
        ::SetViewportExtEx(m_hAttribDC, cx, cy, &previous);
    return CSize(previous);
}

CSize CDC::SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }

CSize CDC::GetViewportExt() const {
    SIZE size = {0, 0};
    ::GetViewportExtEx(m_hAttribDC, &size);
    return CSize(size);
}

CPoint CDC::SetWindowOrg(int x, int y) {
    POINT previous = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::SetWindowOrgEx(m_hDC, x, y, &previous);
    if (m_hAttribDC)
        ::SetWindowOrgEx(m_hAttribDC, x, y, &previous);
    return CPoint(previous);
}

CPoint CDC::SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }

CPoint CDC::GetWindowOrg() const {
    POINT point = {0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &point);
    return CPoint(point);
}

CSize CDC::SetWindowExt(int cx, int cy) {
    SIZE previous = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::SetWindowExtEx(m_hDC, cx, cy, &previous);
    if (m_hAttribDC)
        ::SetWindowExtEx(m_hAttribDC, cx, cy, &previous);
    return CSize(previous);
}

CSize CDC::SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }

CSize CDC::GetWindowExt() const {
    SIZE size = {0, 0};
    ::GetWindowExtEx(m_hAttribDC, &size);
    return CSize(size);
}

void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const { ::LPtoDP(m_hAttribDC, lpPoints, nCount); }
void CDC::LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2); }
void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const { ::DPtoLP(m_hAttribDC, lpPoints, nCount); }
void CDC::DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2); }

CPoint CDC::MoveTo(int x, int y) {
    POINT previous = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC)
        ::MoveToEx(m_hDC, x, y, &previous);
    if (m_hAttribDC)
        ::MoveToEx(m_hAttribDC, x, y, &previous);
    return CPoint(previous);
}

CPoint CDC::MoveTo(POINT point) { return MoveTo(point.x, point.y); }

BOOL CDC::LineTo(int x, int y) {
    if (m_hAttribDC && m_hDC != m_hAttribDC)
        ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::LineTo(POINT point) { return LineTo(point.x, point.y); }
BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Rectangle(LPCRECT r) { return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}

BOOL CDC::RoundRect(LPCRECT r, POINT point) {
    return ::RoundRect(m_hDC, r->left, r->top, r->right, r->bottom, point.x, point.y);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Ellipse(LPCRECT r) { return ::Ellipse(m_hDC, r->left, r->top, r->right, r->bottom); }
BOOL CDC::Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    ::FillRect(m_hDC, lpRect, pBrush ? static_cast<HBRUSH>(pBrush->m_hObject) : nullptr);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    // The background colour and an opaque empty text paint the rectangle
    // without making a brush. Draw3dRect passes negative extents.
    CRect rect(lpRect);
    rect.NormalizeRect();
    COLORREF previous = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, clr);
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
    ::FrameRect(m_hDC, lpRect, pBrush ? static_cast<HBRUSH>(pBrush->m_hObject) : nullptr);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

void CDC::DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
void CDC::InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush) {
    return ::FillRgn(m_hDC, static_cast<HRGN>(pRgn->m_hObject), static_cast<HBRUSH>(pBrush->m_hObject));
}

BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) {
    return ::FrameRgn(m_hDC, static_cast<HRGN>(pRgn->m_hObject), static_cast<HBRUSH>(pBrush->m_hObject), nWidth,
                      nHeight);
}

BOOL CDC::PaintRgn(CRgn* pRgn) { return ::PaintRgn(m_hDC, static_cast<HRGN>(pRgn->m_hObject)); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::GetPixel(POINT point) const { return ::GetPixel(m_hDC, point.x, point.y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
BOOL CDC::DrawIcon(POINT point, HICON hIcon) { return ::DrawIcon(m_hDC, point.x, point.y, hIcon); }

int CDC::DrawText(LPCWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
    return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
}

BOOL CDC::TextOut(int x, int y, LPCWSTR lpszString, int nCount) { return ::TextOutW(m_hDC, x, y, lpszString, nCount); }

BOOL CDC::TextOut(int x, int y, const CString& str) { return TextOut(x, y, str.GetString(), str.GetLength()); }

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCWSTR lpszString, UINT nCount,
                     LPINT lpDxWidths) {
    return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}

CSize CDC::GetTextExtent(LPCWSTR lpszString, int nCount) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(m_hAttribDC, lpszString, nCount, &size);
    return CSize(size);
}

CSize CDC::GetTextExtent(const CString& str) const { return GetTextExtent(str.GetString(), str.GetLength()); }

BOOL CDC::GetTextMetrics(LPTEXTMETRICW lpMetrics) const { return ::GetTextMetricsW(m_hAttribDC, lpMetrics); }

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, nSrcWidth,
                        nSrcHeight, dwRop);
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}

BOOL CDC::AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend) {
    return ::AlphaBlend(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->m_hDC, xSrc, ySrc, nSrcWidth,
                        nSrcHeight, blend);
}

BOOL CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                         int nSrcWidth, int nSrcHeight, UINT clrTransparent) {
    return ::TransparentBlt(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->m_hDC, xSrc, ySrc, nSrcWidth,
                            nSrcHeight, clrTransparent);
}

// Window DCs.

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
    if (!Attach(::BeginPaint(m_hWnd, &m_ps)))
        AfxThrowResourceException();
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    if (!Attach(::GetDC(m_hWnd)))
        AfxThrowResourceException();
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    if (!Attach(::GetWindowDC(m_hWnd)))
        AfxThrowResourceException();
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
