#pragma once
// ATL's geometry types: thin value classes over POINT, SIZE and RECT, so that
// they pass wherever the Win32 structures are expected.
#include <windows.h>

namespace ATL {

class CSize;
class CRect;

class CPoint : public tagPOINT {
public:
    CPoint() noexcept { x = 0; y = 0; }
    CPoint(int initX, int initY) noexcept { x = initX; y = initY; }
    CPoint(POINT point) noexcept { x = point.x; y = point.y; }
    CPoint(SIZE size) noexcept { x = size.cx; y = size.cy; }
    // The packed coordinates of a mouse message's lParam, sign-extended.
    explicit CPoint(LPARAM packed) noexcept {
        x = static_cast<short>(LOWORD(packed));
        y = static_cast<short>(HIWORD(packed));
    }

    void Offset(int dx, int dy) noexcept { x += dx; y += dy; }
    void Offset(POINT point) noexcept { Offset(point.x, point.y); }
    void Offset(SIZE size) noexcept { Offset(size.cx, size.cy); }
    void SetPoint(int newX, int newY) noexcept { x = newX; y = newY; }

    bool operator==(POINT point) const noexcept { return x == point.x && y == point.y; }
    bool operator!=(POINT point) const noexcept { return !(*this == point); }
    CPoint& operator+=(SIZE size) noexcept { Offset(size); return *this; }
    CPoint& operator-=(SIZE size) noexcept { Offset(-size.cx, -size.cy); return *this; }
    CPoint& operator+=(POINT point) noexcept { Offset(point); return *this; }
    CPoint& operator-=(POINT point) noexcept { Offset(-point.x, -point.y); return *this; }
    CPoint operator+(SIZE size) const noexcept { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const noexcept { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator+(POINT point) const noexcept { return CPoint(x + point.x, y + point.y); }
    CPoint operator-() const noexcept { return CPoint(-x, -y); }
    inline CSize operator-(POINT point) const noexcept;
};

class CSize : public tagSIZE {
public:
    CSize() noexcept { cx = 0; cy = 0; }
    CSize(int initCX, int initCY) noexcept { cx = initCX; cy = initCY; }
    CSize(SIZE size) noexcept { cx = size.cx; cy = size.cy; }
    CSize(POINT point) noexcept { cx = point.x; cy = point.y; }

    void SetSize(int newCX, int newCY) noexcept { cx = newCX; cy = newCY; }
    bool operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const noexcept { return !(*this == size); }
    CSize& operator+=(SIZE size) noexcept { cx += size.cx; cy += size.cy; return *this; }
    CSize& operator-=(SIZE size) noexcept { cx -= size.cx; cy -= size.cy; return *this; }
    CSize operator+(SIZE size) const noexcept { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const noexcept { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const noexcept { return CSize(-cx, -cy); }
};

inline CSize CPoint::operator-(POINT point) const noexcept { return CSize(x - point.x, y - point.y); }

class CRect : public tagRECT {
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& rect) noexcept { ::CopyRect(this, &rect); }
    CRect(LPCRECT rect) noexcept { if (rect) ::CopyRect(this, rect); else left = top = right = bottom = 0; }
    CRect(POINT topLeft, SIZE size) noexcept {
        left = topLeft.x; top = topLeft.y; right = left + size.cx; bottom = top + size.cy;
    }
    CRect(POINT topLeft, POINT bottomRight) noexcept {
        left = topLeft.x; top = topLeft.y; right = bottomRight.x; bottom = bottomRight.y;
    }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint& TopLeft() noexcept { return *reinterpret_cast<CPoint*>(this); }
    CPoint& BottomRight() noexcept { return *(reinterpret_cast<CPoint*>(this) + 1); }
    const CPoint& TopLeft() const noexcept { return *reinterpret_cast<const CPoint*>(this); }
    const CPoint& BottomRight() const noexcept { return *(reinterpret_cast<const CPoint*>(this) + 1); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }

    BOOL IsRectEmpty() const noexcept { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT point) const noexcept { return ::PtInRect(this, point); }
    void SetRect(int l, int t, int r, int b) noexcept { ::SetRect(this, l, t, r, b); }
    void SetRect(POINT topLeft, POINT bottomRight) noexcept { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
    void SetRectEmpty() noexcept { ::SetRectEmpty(this); }
    void CopyRect(LPCRECT source) noexcept { ::CopyRect(this, source); }
    BOOL EqualRect(LPCRECT other) const noexcept { return ::EqualRect(this, other); }

    void InflateRect(int d) noexcept { ::InflateRect(this, d, d); }
    void InflateRect(int dx, int dy) noexcept { ::InflateRect(this, dx, dy); }
    void InflateRect(SIZE size) noexcept { ::InflateRect(this, size.cx, size.cy); }
    void InflateRect(LPCRECT by) noexcept { left -= by->left; top -= by->top; right += by->right; bottom += by->bottom; }
    void InflateRect(int l, int t, int r, int b) noexcept { left -= l; top -= t; right += r; bottom += b; }
    void DeflateRect(int d) noexcept { ::InflateRect(this, -d, -d); }
    void DeflateRect(int dx, int dy) noexcept { ::InflateRect(this, -dx, -dy); }
    void DeflateRect(SIZE size) noexcept { ::InflateRect(this, -size.cx, -size.cy); }
    void DeflateRect(LPCRECT by) noexcept { left += by->left; top += by->top; right -= by->right; bottom -= by->bottom; }
    void DeflateRect(int l, int t, int r, int b) noexcept { left += l; top += t; right -= r; bottom -= b; }
    void OffsetRect(int dx, int dy) noexcept { ::OffsetRect(this, dx, dy); }
    void OffsetRect(POINT point) noexcept { ::OffsetRect(this, point.x, point.y); }
    void OffsetRect(SIZE size) noexcept { ::OffsetRect(this, size.cx, size.cy); }
    void MoveToX(int x) noexcept { right = Width() + x; left = x; }
    void MoveToY(int y) noexcept { bottom = Height() + y; top = y; }
    void MoveToXY(int x, int y) noexcept { MoveToX(x); MoveToY(y); }
    void MoveToXY(POINT point) noexcept { MoveToXY(point.x, point.y); }
    void NormalizeRect() noexcept {
        if (left > right) { int t = left; left = right; right = t; }
        if (top > bottom) { int t = top; top = bottom; bottom = t; }
    }
    BOOL IntersectRect(LPCRECT a, LPCRECT b) noexcept { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(LPCRECT a, LPCRECT b) noexcept { return ::UnionRect(this, a, b); }
    BOOL SubtractRect(LPCRECT a, LPCRECT b) noexcept { return ::SubtractRect(this, a, b); }

    bool operator==(const RECT& rect) const noexcept { return ::EqualRect(this, &rect) != FALSE; }
    bool operator!=(const RECT& rect) const noexcept { return !(*this == rect); }
    CRect& operator=(const RECT& rect) noexcept { ::CopyRect(this, &rect); return *this; }
    CRect& operator+=(POINT point) noexcept { OffsetRect(point); return *this; }
    CRect& operator+=(SIZE size) noexcept { OffsetRect(size); return *this; }
    CRect& operator-=(POINT point) noexcept { OffsetRect(-point.x, -point.y); return *this; }
    CRect& operator-=(SIZE size) noexcept { OffsetRect(-size.cx, -size.cy); return *this; }
    CRect& operator&=(const RECT& rect) noexcept { ::IntersectRect(this, this, &rect); return *this; }
    CRect& operator|=(const RECT& rect) noexcept { ::UnionRect(this, this, &rect); return *this; }
    CRect operator+(POINT point) const noexcept { CRect r(*this); r.OffsetRect(point); return r; }
    CRect operator-(POINT point) const noexcept { CRect r(*this); r.OffsetRect(-point.x, -point.y); return r; }
    CRect operator&(const RECT& rect) const noexcept { CRect r; ::IntersectRect(&r, this, &rect); return r; }
    CRect operator|(const RECT& rect) const noexcept { CRect r; ::UnionRect(&r, this, &rect); return r; }
};

}  // namespace ATL

using ATL::CPoint;
using ATL::CRect;
using ATL::CSize;
