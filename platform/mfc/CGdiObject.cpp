#include "AfxState.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    return hObject ? AfxGetThreadState().m_tempGdiObjects.Get(hObject) : nullptr;
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (!hObject)
        return FALSE;
    if (hObject != m_hObject)
        DeleteObject();
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ hObject = m_hObject;
    m_hObject = nullptr;
    return hObject;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::Own(HGDIOBJ hObject) {
    if (!hObject)
        return FALSE;
    return Attach(hObject);
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectW(m_hObject, nCount, lpObject); }

UINT CGdiObject::GetObjectType() const { return static_cast<UINT>(::GetObjectType(m_hObject)); }

BOOL CGdiObject::CreateStockObject(int nIndex) { return Own(::GetStockObject(nIndex)); }

BOOL CGdiObject::UnrealizeObject() { return ::UnrealizeObject(m_hObject); }

// Pens.

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    if (!CreatePen(nPenStyle, nWidth, crColor))
        AfxThrowResourceException();
}

CPen* CPen::FromHandle(HPEN hPen) { return hPen ? AfxGetThreadState().m_tempPens.Get(hPen) : nullptr; }

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return Own(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) { return Own(::CreatePenIndirect(lpLogPen)); }

int CPen::GetLogPen(LOGPEN* pLogPen) const { return ::GetObjectW(m_hObject, sizeof(LOGPEN), pLogPen); }

// Brushes.

CBrush::CBrush(COLORREF crColor) {
    if (!CreateSolidBrush(crColor))
        AfxThrowResourceException();
}

CBrush::CBrush(int nIndex, COLORREF crColor) {
    if (!CreateHatchBrush(nIndex, crColor))
        AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* pBitmap) {
    if (!CreatePatternBrush(pBitmap))
        AfxThrowResourceException();
}

CBrush* CBrush::FromHandle(HBRUSH hBrush) { return hBrush ? AfxGetThreadState().m_tempBrushes.Get(hBrush) : nullptr; }

BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Own(::CreateSolidBrush(crColor)); }

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) { return Own(::CreateHatchBrush(nIndex, crColor)); }

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
    return pBitmap ? Own(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject))) : FALSE;
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) { return Own(::CreateBrushIndirect(lpLogBrush)); }

BOOL CBrush::CreateSysColorBrush(int nIndex) { return Own(::GetSysColorBrush(nIndex)); }

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) const { return ::GetObjectW(m_hObject, sizeof(LOGBRUSH), pLogBrush); }

// Fonts.

CFont* CFont::FromHandle(HFONT hFont) { return hFont ? AfxGetThreadState().m_tempFonts.Get(hFont) : nullptr; }

BOOL CFont::CreateFontIndirect(const LOGFONTW* lpLogFont) { return Own(::CreateFontIndirectW(lpLogFont)); }

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, LPCWSTR lpszFacename) {
    return Own(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                             nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
}

int CFont::GetLogFont(LOGFONTW* pLogFont) const { return ::GetObjectW(m_hObject, sizeof(LOGFONTW), pLogFont); }

// Bitmaps.

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) {
    return hBitmap ? AfxGetThreadState().m_tempBitmaps.Get(hBitmap) : nullptr;
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEW(nIDResource)); }

BOOL CBitmap::LoadBitmap(LPCWSTR lpszResourceName) {
    HINSTANCE module = AfxFindResourceHandle(lpszResourceName, reinterpret_cast<LPCWSTR>(RT_BITMAP));
    return Own(::LoadBitmapW(module, lpszResourceName));
}

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap) { return Own(::LoadBitmapW(nullptr, MAKEINTRESOURCEW(nIDBitmap))); }

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
    return Own(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) { return Own(::CreateBitmapIndirect(lpBitmap)); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return pDC ? Own(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight)) : FALSE;
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const { return ::GetObjectW(m_hObject, sizeof(BITMAP), pBitMap); }

CSize CBitmap::GetBitmapDimension() const {
    SIZE size = {0, 0};
    ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &size);
    return CSize(size);
}

// Regions.

CRgn* CRgn::FromHandle(HRGN hRgn) { return hRgn ? AfxGetThreadState().m_tempRegions.Get(hRgn) : nullptr; }

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return Own(::CreateRectRgn(x1, y1, x2, y2)); }

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return Own(::CreateRectRgnIndirect(lpRect)); }

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) { return Own(::CreateEllipticRgn(x1, y1, x2, y2)); }

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect) { return Own(::CreateEllipticRgnIndirect(lpRect)); }

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
    return Own(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) {
    return Own(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

BOOL CRgn::CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData) {
    return Own(::ExtCreateRegion(lpXForm, static_cast<DWORD>(nCount), pRgnData));
}

int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
    return ::CombineRgn(static_cast<HRGN>(m_hObject), pRgn1 ? static_cast<HRGN>(pRgn1->m_hObject) : nullptr,
                        pRgn2 ? static_cast<HRGN>(pRgn2->m_hObject) : nullptr, nCombineMode);
}

int CRgn::CopyRgn(const CRgn* pRgnSrc) { return CombineRgn(pRgnSrc, nullptr, RGN_COPY); }

BOOL CRgn::EqualRgn(const CRgn* pRgn) const {
    return pRgn && ::EqualRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(pRgn->m_hObject));
}

int CRgn::OffsetRgn(int x, int y) { return ::OffsetRgn(static_cast<HRGN>(m_hObject), x, y); }

int CRgn::OffsetRgn(POINT point) { return OffsetRgn(point.x, point.y); }

int CRgn::GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox(static_cast<HRGN>(m_hObject), lpRect); }

BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y); }

BOOL CRgn::PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }

BOOL CRgn::RectInRegion(LPCRECT lpRect) const { return ::RectInRegion(static_cast<HRGN>(m_hObject), lpRect); }

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn(static_cast<HRGN>(m_hObject), x1, y1, x2, y2); }

void CRgn::SetRectRgn(LPCRECT lpRect) { SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }

int CRgn::GetRegionData(LPRGNDATA lpRgnData, int nCount) const {
    return static_cast<int>(::GetRegionData(static_cast<HRGN>(m_hObject), static_cast<DWORD>(nCount), lpRgnData));
}
