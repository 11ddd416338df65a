#include "skin/commongui/RegionHelpers.h"

#include "graphics/commongui/GdiScopes.h"

#include <cstring>
#include <vector>

namespace CommonGuiLib {

namespace {

SharedRegion NullRegion() { return MakeSharedGDIObject<SharedGDIObjectRegion>(nullptr); }

// Collects the opaque runs of each row as rectangles, top row first, and
// makes the region in one call: a union of single pixels is far too slow
// for a window mask.
class RunCollector {
public:
    void Add(int left, int right, int top) { m_rects.push_back(RECT{left, top, right, top + 1}); }

    HRGN Create() const {
        if (m_rects.empty())
            return nullptr;
        RECT bound = m_rects.front();
        for (const RECT& rect : m_rects) {
            bound.left = rect.left < bound.left ? rect.left : bound.left;
            bound.right = rect.right > bound.right ? rect.right : bound.right;
            bound.bottom = rect.bottom > bound.bottom ? rect.bottom : bound.bottom;
        }
        std::vector<BYTE> data(sizeof(RGNDATAHEADER) + m_rects.size() * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATA*>(data.data());
        header->rdh.dwSize = sizeof(RGNDATAHEADER);
        header->rdh.iType = RDH_RECTANGLES;
        header->rdh.nCount = static_cast<DWORD>(m_rects.size());
        header->rdh.nRgnSize = 0;
        header->rdh.rcBound = bound;
        std::memcpy(header->Buffer, m_rects.data(), m_rects.size() * sizeof(RECT));
        return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), header);
    }

private:
    std::vector<RECT> m_rects;
};

}  // namespace

SharedRegion CreateRegionFromBitmap(const SharedBitmap& bitmap, COLORREF transparent, bool useAlpha,
                                    int tolerance) {
    if (useAlpha && (tolerance < 0 || tolerance > 255))
        return SharedRegion();
    if (IsNullGDIObject(bitmap))
        return NullRegion();

    BITMAP description = {};
    if (!::GetObjectW(bitmap->GetHandle(), sizeof(description), &description))
        return NullRegion();
    const int depth = description.bmBitsPixel;
    if (useAlpha && depth != 32)
        return SharedRegion();
    if (depth != 24 && depth != 32)
        return MakeSharedGDIObject<SharedGDIObjectRegion>(::CreateRectRgn(0, 0, 0, 0));

    const int width = description.bmWidth;
    const int height = description.bmHeight;
    if (width <= 0 || height <= 0)
        return NullRegion();
    const int bytesPerPixel = depth / 8;
    // GetDIBits pads every row to 4 bytes.
    const int stride = (width * bytesPerPixel + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(depth);
    info.bmiHeader.biCompression = BI_RGB;
    ScopedScreenDC screen;
    if (!::GetDIBits(screen.Get(), bitmap->GetHandle(), 0, height, pixels.data(), &info, DIB_RGB_COLORS))
        return NullRegion();

    const BYTE transparentRed = GetRValue(transparent);
    const BYTE transparentGreen = GetGValue(transparent);
    const BYTE transparentBlue = GetBValue(transparent);
    auto isOpaque = [&](const BYTE* pixel) {
        if (useAlpha)
            return pixel[3] > tolerance;
        return pixel[0] != transparentBlue || pixel[1] != transparentGreen || pixel[2] != transparentRed;
    };

    RunCollector runs;
    for (int y = 0; y < height; ++y) {
        const BYTE* row = pixels.data() + static_cast<size_t>(height - 1 - y) * stride;
        int x = 0;
        while (x < width) {
            while (x < width && !isOpaque(row + x * bytesPerPixel))
                ++x;
            const int start = x;
            while (x < width && isOpaque(row + x * bytesPerPixel))
                ++x;
            if (x > start)
                runs.Add(start, x, y);
        }
    }
    return MakeSharedGDIObject<SharedGDIObjectRegion>(runs.Create());
}

SharedRegion OffsetRegionCopy(const SharedRegion& region, int dx, int dy) {
    if (IsNullGDIObject(region))
        return NullRegion();
    HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
    if (copy) {
        ::CombineRgn(copy, region->GetHandle(), nullptr, RGN_COPY);
        if (dx || dy)
            ::OffsetRgn(copy, dx, dy);
    }
    return MakeSharedGDIObject<SharedGDIObjectRegion>(copy);
}

SharedRegion TransformRegion(const SharedRegion& region, const XFORM& transform) {
    if (IsNullGDIObject(region))
        return SharedRegion();
    const DWORD size = ::GetRegionData(region->GetHandle(), 0, nullptr);
    if (!size)
        return SharedRegion();
    std::vector<BYTE> data(size);
    if (!::GetRegionData(region->GetHandle(), size, reinterpret_cast<RGNDATA*>(data.data())))
        return SharedRegion();
    return MakeSharedGDIObject<SharedGDIObjectRegion>(
        ::ExtCreateRegion(&transform, size, reinterpret_cast<const RGNDATA*>(data.data())));
}

}  // namespace CommonGuiLib
