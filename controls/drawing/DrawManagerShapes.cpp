#include "controls/drawing/DrawManager.h"

#include <algorithm>

namespace {

int PenStyleOf(int borderStyle) {
    switch (borderStyle) {
    case CDrawManager::BorderDashed:
        return PS_DASH;
    case CDrawManager::BorderDotted:
        return PS_DOT;
    case CDrawManager::BorderDashDot:
        return PS_DASHDOT;
    case CDrawManager::BorderDashDotDot:
        return PS_DASHDOTDOT;
    default:
        return PS_SOLID;
    }
}

int Channel(int a, int b, int band) { return (a * (64 - band) + b * band) / 64; }

}  // namespace

void CDrawManager::DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int borderStyle, int width) {
    if (!dc || borderStyle == BorderNone || width < 1)
        return;
    CPen pen;
    if (!pen.CreatePen(PenStyleOf(borderStyle), width, color))
        return;
    const HGDIOBJ previous = ::SelectObject(dc, pen);
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
    if (borderStyle == BorderDouble) {
        const int gap = 2 * width;
        const int dx = y1 == y2 ? 0 : gap;
        const int dy = y1 == y2 ? gap : 0;
        ::MoveToEx(dc, x1 + dx, y1 + dy, nullptr);
        ::LineTo(dc, x2 + dx, y2 + dy);
    }
    ::SelectObject(dc, previous);
}

void CDrawManager::DrawRectangle(HDC dc, int left, int top, int right, int bottom, COLORREF lightColor,
                                 COLORREF darkColor, int borderStyle, int width) {
    if (!dc || borderStyle == BorderNone || width < 1)
        return;
    CPen light, dark;
    if (!light.CreatePen(PenStyleOf(borderStyle), width, lightColor))
        return;
    if (darkColor != lightColor && !dark.CreatePen(PenStyleOf(borderStyle), width, darkColor))
        return;
    CPen& darkPen = darkColor != lightColor ? dark : light;
    const HGDIOBJ previous = ::SelectObject(dc, light);
    const int passes = borderStyle == BorderDouble ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        // The pen runs along the middle of each edge, inside the rectangle.
        const int inset = width / 2 + pass * 2 * width;
        const int l = left + inset, t = top + inset, r = right - 1 - inset, b = bottom - 1 - inset;
        ::SelectObject(dc, light);
        ::MoveToEx(dc, l, b, nullptr);
        ::LineTo(dc, l, t);
        ::LineTo(dc, r, t);
        ::SelectObject(dc, darkPen);
        ::LineTo(dc, r, b);
        ::LineTo(dc, l, b);
    }
    ::SelectObject(dc, previous);
}

void CDrawManager::DrawRectangle(HDC dc, const RECT& rect, COLORREF lightColor, COLORREF darkColor, int borderStyle,
                                 int width) {
    DrawRectangle(dc, rect.left, rect.top, rect.right, rect.bottom, lightColor, darkColor, borderStyle, width);
}

void CDrawManager::DrawTile(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                            int tileWidth, int tileHeight) {
    if (!dc || !source || tileWidth <= 0 || tileHeight <= 0)
        return;
    for (int top = 0; top < height; top += tileHeight) {
        for (int left = 0; left < width; left += tileWidth) {
            ::BitBlt(dc, x + left, y + top, std::min(tileWidth, width - left), std::min(tileHeight, height - top),
                     source, sourceX, sourceY, SRCCOPY);
        }
    }
}

void CDrawManager::FillGradient(HDC dc, const RECT& rect, COLORREF color1, COLORREF color2, bool horizontal) {
    if (!dc)
        return;
    const int start = horizontal ? rect.left : rect.top;
    const int length = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    for (int band = 0; band < 64; ++band) {
        const int from = start + static_cast<int>(static_cast<long long>(band) * length / 64);
        const int to = start + static_cast<int>(static_cast<long long>(band + 1) * length / 64);
        if (from >= to)
            continue;
        CBrush brush;
        if (!brush.CreateSolidBrush(RGB(Channel(GetRValue(color1), GetRValue(color2), band),
                                        Channel(GetGValue(color1), GetGValue(color2), band),
                                        Channel(GetBValue(color1), GetBValue(color2), band))))
            return;
        const RECT fill = horizontal ? RECT{from, rect.top, to, rect.bottom} : RECT{rect.left, from, rect.right, to};
        ::FillRect(dc, &fill, brush);
    }
}
