#include "skin/commongui/DrawingHelpers.h"

#include "graphics/commongui/SharedBitmaps.h"
#include "skin/commongui/Transparency.h"
#include "skin/commongui/UserInput.h"

#include <algorithm>

using namespace CommonGuiLib;

namespace {

// The newest helpers alive on this thread. A plain pointer: a thread_local
// with a destructor is not safe with this compiler's emulated TLS.
thread_local DrawingHelpers* t_pNewestHelpers = nullptr;

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// A blend when there is a percent or per-pixel alpha, else a copy, scaled
// when the sizes differ.
void Transfer(HDC destinationDC, const RECT& destination, HDC sourceDC, const RECT& source, int transparencyPercent,
              bool perPixelAlpha) {
    const int width = Width(destination);
    const int height = Height(destination);
    if (transparencyPercent > 0 || perPixelAlpha)
        ::AlphaBlend(destinationDC, destination.left, destination.top, width, height, sourceDC, source.left,
                     source.top, Width(source), Height(source), MakeBlendFunction(transparencyPercent, perPixelAlpha));
    else if (width == Width(source) && height == Height(source))
        ::BitBlt(destinationDC, destination.left, destination.top, width, height, sourceDC, source.left, source.top,
                 SRCCOPY);
    else
        ::StretchBlt(destinationDC, destination.left, destination.top, width, height, sourceDC, source.left,
                     source.top, Width(source), Height(source), SRCCOPY);
}

}  // namespace

DrawingHelpers::DrawingHelpers(CDC& dc) noexcept : m_dc(dc), m_pOlder(t_pNewestHelpers) {
    if (m_pOlder)
        m_pOlder->m_pNewer = this;
    t_pNewestHelpers = this;
}

DrawingHelpers::~DrawingHelpers() {
    _ReleaseSource();
    if (m_sourceDC)
        ::DeleteDC(m_sourceDC);
    if (m_pNewer)
        m_pNewer->m_pOlder = m_pOlder;
    else
        t_pNewestHelpers = m_pOlder;
    if (m_pOlder)
        m_pOlder->m_pNewer = m_pNewer;
}

HDC DrawingHelpers::_SourceDC() {
    if (!m_sourceDC)
        m_sourceDC = ::CreateCompatibleDC(m_dc.m_hDC);
    return m_sourceDC;
}

void DrawingHelpers::_ReleaseSource() noexcept {
    if (!m_selected)
        return;
    ::SelectObject(m_sourceDC, m_sourceOwnBitmap);
    m_sourceOwnBitmap = nullptr;
    m_selected.reset();
}

void DrawingHelpers::_ReleaseEverywhere(HBITMAP bitmap) noexcept {
    for (DrawingHelpers* pHelpers = t_pNewestHelpers; pHelpers; pHelpers = pHelpers->m_pOlder) {
        if (GetHandle(pHelpers->m_selected) == bitmap)
            pHelpers->_ReleaseSource();
    }
}

bool DrawingHelpers::_SelectSource(const SharedBitmap& bitmap, bool perPixelAlpha, bool premultiplied) {
    if (IsNullGDIObject(bitmap))
        return false;
    SharedBitmap drawn = bitmap;
    if (perPixelAlpha && !premultiplied) {
        // The copy is read from the bitmap: not while a DC holds it.
        _ReleaseEverywhere(bitmap->GetHandle());
        drawn = MakePremultipliedCopy(bitmap);
        if (IsNullGDIObject(drawn))
            return false;
    }
    if (drawn == m_selected)
        return true;
    const HDC source = _SourceDC();
    if (!source)
        return false;
    HGDIOBJ previous = ::SelectObject(source, drawn->GetHandle());
    if (!previous) {
        _ReleaseEverywhere(drawn->GetHandle());
        previous = ::SelectObject(source, drawn->GetHandle());
        if (!previous)
            return false;
    }
    if (!m_selected)
        m_sourceOwnBitmap = previous;
    m_selected = drawn;
    BITMAP description = {};
    ::GetObjectW(drawn->GetHandle(), sizeof(description), &description);
    m_selectedSize = SIZE{description.bmWidth, description.bmHeight};
    m_selectedHasAlpha = description.bmBitsPixel >= 32;
    return true;
}

void DrawingHelpers::StretchBitmap(const SharedBitmap& bitmap, const RECT& rect, int transparencyPercent,
                                   bool perPixelAlpha, bool premultiplied) {
    if (!_SelectSource(bitmap, perPixelAlpha, premultiplied))
        return;
    const SIZE size = m_selectedSize;
    RECT destination = rect;
    if (destination.right == 0)
        destination.right = destination.left + size.cx;
    if (destination.bottom == 0)
        destination.bottom = destination.top + size.cy;
    Transfer(m_dc.m_hDC, destination, m_sourceDC, RECT{0, 0, size.cx, size.cy}, transparencyPercent, perPixelAlpha);
}

void DrawingHelpers::StretchBitmap(const SharedBitmap& bitmap, const RECT& rect) {
    // The flags from the bitmap's depth; with both set alike no copy is
    // made, so the bitmap selected is the one drawn.
    if (!_SelectSource(bitmap, false, false))
        return;
    const bool alpha = m_selectedHasAlpha;
    StretchBitmap(bitmap, rect, 0, alpha, alpha);
}

void DrawingHelpers::DrawBitmap(const SharedBitmap& bitmap, const RECT& rect, int transparencyPercent,
                                bool perPixelAlpha, bool premultiplied) {
    transparencyPercent = LimitTransparencyPercent(transparencyPercent);
    if (!_SelectSource(bitmap, perPixelAlpha, premultiplied))
        return;
    const SIZE size = m_selectedSize;
    if (size.cx <= 0 || size.cy <= 0)
        return;

    const int width = Width(rect);
    const int height = Height(rect);
    for (int x = 0; x < width; x += size.cx) {
        const int tileWidth = std::min<int>(size.cx, width - x);
        for (int y = 0; y < height; y += size.cy) {
            const int tileHeight = std::min<int>(size.cy, height - y);
            const RECT tile = {rect.left + x, rect.top + y, rect.left + x + tileWidth, rect.top + y + tileHeight};
            Transfer(m_dc.m_hDC, tile, m_sourceDC, RECT{0, 0, tileWidth, tileHeight}, transparencyPercent,
                     perPixelAlpha);
        }
    }
}

void DrawingHelpers::DrawBitmap(const SharedBitmap& bitmap, const RECT& rect) {
    if (!_SelectSource(bitmap, false, false))
        return;
    const bool alpha = m_selectedHasAlpha;
    DrawBitmap(bitmap, rect, 0, alpha, alpha);
}

void DrawingHelpers::Blit(CDC& sourceDC, const RECT& destination, const RECT& source, int transparencyPercent) {
    Transfer(m_dc.m_hDC, destination, sourceDC.m_hDC, source, transparencyPercent, false);
}

void DrawingHelpers::DrawIcon(const SharedIcon& icon, POINT point) {
    if (IsNullGDIObject(icon))
        return;
    const SIZE size = GetIconSize(icon);
    ::DrawIconEx(m_dc.m_hDC, point.x, point.y, icon->GetHandle(), size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

void DrawingHelpers::DrawIcon(const SharedIcon& icon, const RECT& rect) {
    if (IsNullGDIObject(icon))
        return;
    ::DrawIconEx(m_dc.m_hDC, rect.left, rect.top, icon->GetHandle(), Width(rect), Height(rect), 0, nullptr,
                 DI_NORMAL);
}

void DrawingHelpers::DrawStateImage(const StatePictures& pictures, const RECT& rect, bool hot, bool enabled) {
    const SharedBitmap* picture = &pictures.normal;
    if (!enabled)
        picture = &pictures.disabled;
    else if (Input().getKeyState(VK_LBUTTON) & 0x8000)
        picture = hot ? &pictures.down : &pictures.normal;
    else if (hot)
        picture = &pictures.over;
    if (IsNullGDIObject(*picture))
        return;

    POINT corner = {rect.left, rect.top};
    if (Width(rect) >= 1 && Height(rect) >= 1) {
        // Integer division rounds toward zero: a larger picture sticks out
        // one pixel more on the right and bottom when the difference is odd.
        const SIZE size = GetBitmapSize(*picture);
        corner.x += (Width(rect) - size.cx) / 2;
        corner.y += (Height(rect) - size.cy) / 2;
    }
    const RECT ownSize = {corner.x, corner.y, 0, 0};
    StretchBitmap(*picture, ownSize, 0, pictures.perPixelAlpha, pictures.premultiplied);
}
