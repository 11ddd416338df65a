#include "skin/commongui/DrawingHelpers.h"

#include "graphics/commongui/GdiScopes.h"
#include "graphics/commongui/SharedBitmaps.h"
#include "skin/commongui/Transparency.h"
#include "skin/commongui/UserInput.h"

#include <algorithm>

using namespace CommonGuiLib;

namespace {

// A bitmap selected into a memory DC for one drawing call. Per-pixel alpha
// must reach AlphaBlend premultiplied, and the caller's bitmap is not ours
// to change: such a bitmap is drawn from a premultiplied copy.
class BitmapSource {
public:
    // `memory` is a memory DC with nothing of ours selected.
    BitmapSource(HDC memory, const SharedBitmap& bitmap, bool perPixelAlpha, bool premultiplied)
        : m_bitmap(IsNullGDIObject(bitmap) || !perPixelAlpha || premultiplied ? bitmap
                                                                              : MakePremultipliedCopy(bitmap)),
          m_memory(memory),
          m_selection(m_memory, GetHandle(m_bitmap)),
          m_size(GetBitmapSize(m_bitmap)) {}

    bool IsNull() const { return IsNullGDIObject(m_bitmap) || !m_memory; }
    HDC Dc() const { return m_memory; }
    SIZE Size() const { return m_size; }

private:
    SharedBitmap m_bitmap;
    HDC m_memory;
    ScopedSelection m_selection;
    SIZE m_size;
};

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

DrawingHelpers::~DrawingHelpers() {
    if (m_sourceDC)
        ::DeleteDC(m_sourceDC);
}

HDC DrawingHelpers::_SourceDC() {
    if (!m_sourceDC)
        m_sourceDC = ::CreateCompatibleDC(m_dc.m_hDC);
    return m_sourceDC;
}

void DrawingHelpers::StretchBitmap(const SharedBitmap& bitmap, const RECT& rect, int transparencyPercent,
                                   bool perPixelAlpha, bool premultiplied) {
    const BitmapSource source(_SourceDC(), bitmap, perPixelAlpha, premultiplied);
    if (source.IsNull())
        return;
    const SIZE size = source.Size();
    RECT destination = rect;
    if (destination.right == 0)
        destination.right = destination.left + size.cx;
    if (destination.bottom == 0)
        destination.bottom = destination.top + size.cy;
    Transfer(m_dc.m_hDC, destination, source.Dc(), RECT{0, 0, size.cx, size.cy}, transparencyPercent, perPixelAlpha);
}

void DrawingHelpers::StretchBitmap(const SharedBitmap& bitmap, const RECT& rect) {
    const bool alpha = HasAlphaChannel(bitmap, m_dc.m_hDC);
    StretchBitmap(bitmap, rect, 0, alpha, alpha);
}

void DrawingHelpers::DrawBitmap(const SharedBitmap& bitmap, const RECT& rect, int transparencyPercent,
                                bool perPixelAlpha, bool premultiplied) {
    transparencyPercent = LimitTransparencyPercent(transparencyPercent);
    const BitmapSource source(_SourceDC(), bitmap, perPixelAlpha, premultiplied);
    const SIZE size = source.Size();
    if (source.IsNull() || size.cx <= 0 || size.cy <= 0)
        return;

    const int width = Width(rect);
    const int height = Height(rect);
    for (int x = 0; x < width; x += size.cx) {
        const int tileWidth = std::min<int>(size.cx, width - x);
        for (int y = 0; y < height; y += size.cy) {
            const int tileHeight = std::min<int>(size.cy, height - y);
            const RECT tile = {rect.left + x, rect.top + y, rect.left + x + tileWidth, rect.top + y + tileHeight};
            Transfer(m_dc.m_hDC, tile, source.Dc(), RECT{0, 0, tileWidth, tileHeight}, transparencyPercent,
                     perPixelAlpha);
        }
    }
}

void DrawingHelpers::DrawBitmap(const SharedBitmap& bitmap, const RECT& rect) {
    const bool alpha = HasAlphaChannel(bitmap, m_dc.m_hDC);
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
