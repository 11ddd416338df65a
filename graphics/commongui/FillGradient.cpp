#include "graphics/commongui/FillGradient.h"

#include "graphics/commongui/GdiScopes.h"

#include <cstddef>
#include <iterator>

namespace CommonGuiLib {

namespace {

// from + (to - from) x step / steps for each of red, green and blue, the
// division truncating toward zero.
COLORREF Interpolate(COLORREF from, COLORREF to, int step, int steps) {
    const auto channel = [&](int a, int b) {
        return static_cast<int>(a + static_cast<long long>(b - a) * step / steps);
    };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    ScopedGdiObject<HBRUSH> brush(::CreateSolidBrush(color));
    ::FillRect(dc, &rect, brush.Get());
}

// Needs two stops or more.
void FillBands(HDC dc, int x, int y, const FillDescription& description) {
    const bool horizontal = description.kind == FillDescription::Horizontal;
    const int length = horizontal ? description.width : description.height;
    for (auto a = description.stops.begin(), b = std::next(a); b != description.stops.end(); ++a, ++b) {
        const int start = static_cast<int>(a->position * length);
        const int end = static_cast<int>(b->position * length);
        const int steps = end - start;
        for (int i = 0; i < steps; ++i) {
            const int at = start + i;
            const RECT band = horizontal ? RECT{x + at, y, x + at + 1, y + description.height}
                                         : RECT{x, y + at, x + description.width, y + at + 1};
            FillSolid(dc, band, Interpolate(a->color, b->color, i, steps));
        }
    }
}

// Two points walk out of the corner: P down the left edge and then along the
// bottom, Q along the top and then down the right edge; a line joins them
// after each step (LineTo leaves Q's own pixel unpainted).
void FillDiagonal(HDC dc, int x, int y, const FillDescription& description) {
    const int width = description.width;
    const int height = description.height;
    const COLORREF from = description.stops.begin()->color;
    const COLORREF to = std::next(description.stops.begin())->color;
    const bool mirrored = description.kind == FillDescription::DiagonalTRBL;
    const auto column = [&](int at) { return x + (mirrored ? width - at : at); };

    int pRow = 0, pColumn = 0;  // P
    int qColumn = 0, qRow = 0;  // Q
    while (pColumn < width) {
        if (pRow < height - 1)
            ++pRow;
        else
            ++pColumn;
        if (qColumn < width - 1)
            ++qColumn;
        else
            ++qRow;
        ScopedGdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, Interpolate(from, to, pRow + pColumn, width + height)));
        ScopedSelection selection(dc, pen.Get());
        ::MoveToEx(dc, column(pColumn), y + pRow, nullptr);
        ::LineTo(dc, column(qColumn), y + qRow);
    }
}

}  // namespace

void FillGradient(HDC dc, int x, int y, const FillDescription& description) {
    const std::size_t count = description.stops.size();
    if (count == 1) {
        const RECT all = {x, y, x + description.width, y + description.height};
        FillSolid(dc, all, description.stops.begin()->color);
        return;
    }
    switch (description.kind) {
    case FillDescription::Horizontal:
    case FillDescription::Vertical:
        if (count >= 2)
            FillBands(dc, x, y, description);
        break;
    case FillDescription::DiagonalTLBR:
    case FillDescription::DiagonalTRBL:
        // Without height there is nothing to paint, and width + height
        // divides the colour steps.
        if (count == 2 && description.width > 0 && description.height > 0) {
            // The walk's lines reach one pixel past the rectangle's edge.
            const int saved = ::SaveDC(dc);
            ::IntersectClipRect(dc, x, y, x + description.width, y + description.height);
            FillDiagonal(dc, x, y, description);
            ::RestoreDC(dc, saved);
        }
        break;
    default:
        break;
    }
}

}  // namespace CommonGuiLib
