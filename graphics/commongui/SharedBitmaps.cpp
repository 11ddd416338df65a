#include "graphics/commongui/SharedBitmaps.h"

#include "graphics/commongui/GdiScopes.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace CommonGuiLib {

namespace {

// A BITMAPINFO with room for the largest colour table. GetDIBits writes the
// three colour masks after the header of a BI_BITFIELDS bitmap even when it
// is asked for the header only, so a bare BITMAPINFOHEADER is not enough.
class BitmapInfoBuffer {
public:
    BitmapInfoBuffer() : m_bytes(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)) {
        Header().biSize = sizeof(BITMAPINFOHEADER);
    }
    BITMAPINFO* Get() noexcept { return reinterpret_cast<BITMAPINFO*>(m_bytes.data()); }
    BITMAPINFOHEADER& Header() noexcept { return Get()->bmiHeader; }

private:
    std::vector<unsigned char> m_bytes;
};

// Fills the header (no bits); false when GetDIBits fails.
bool ReadBitmapHeader(HDC dc, HBITMAP bitmap, BitmapInfoBuffer& info) {
    return ::GetDIBits(dc, bitmap, 0, 0, nullptr, info.Get(), DIB_RGB_COLORS) != 0;
}

}  // namespace

SharedBitmap MakeSharedBitmap(HBITMAP bitmap, bool premultiply) {
    SharedBitmap shared = MakeSharedGDIObject<SharedGDIObjectBitmap>(bitmap);
    if (bitmap && premultiply && HasAlphaChannel(shared))
        PremultiplyAlpha(shared);
    return shared;
}

SharedBitmap CopyBitmap(const SharedBitmap& bitmap) {
    HBITMAP copy = nullptr;
    if (!IsNullGDIObject(bitmap))
        copy = static_cast<HBITMAP>(::CopyImage(bitmap->GetHandle(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return MakeSharedGDIObject<SharedGDIObjectBitmap>(copy);
}

SharedBitmap MakePremultipliedCopy(const SharedBitmap& bitmap) {
    SharedBitmap copy = CopyBitmap(bitmap);
    PremultiplyAlpha(copy);
    return copy;
}

SIZE GetBitmapSize(const SharedBitmap& bitmap) {
    SIZE size = {0, 0};
    BITMAP description = {};
    if (!IsNullGDIObject(bitmap) && ::GetObjectW(bitmap->GetHandle(), sizeof(description), &description)) {
        size.cx = description.bmWidth;
        size.cy = description.bmHeight;
    }
    return size;
}

SIZE GetIconSize(const SharedIcon& icon) {
    SIZE size = {0, 0};
    ICONINFO info = {};
    if (IsNullGDIObject(icon) || !::GetIconInfo(icon->GetHandle(), &info))
        return size;
    ScopedGdiObject<HBITMAP> color(info.hbmColor);
    ScopedGdiObject<HBITMAP> mask(info.hbmMask);
    BITMAP description = {};
    if (color.Get()) {
        if (::GetObjectW(color.Get(), sizeof(description), &description)) {
            size.cx = description.bmWidth;
            size.cy = description.bmHeight;
        }
    } else if (mask.Get() && ::GetObjectW(mask.Get(), sizeof(description), &description)) {
        // A monochrome icon keeps its AND and XOR masks one above the other
        // in this bitmap: the image is half as high.
        size.cx = description.bmWidth;
        size.cy = description.bmHeight / 2;
    }
    return size;
}

bool HasAlphaChannel(const SharedBitmap& bitmap, HDC dc) {
    if (IsNullGDIObject(bitmap))
        return false;
    // The object's own description: no DC is needed, and every drawing of a
    // bitmap asks this, so no screen DC is fetched for it.
    BITMAP description = {};
    if (!::GetObjectW(bitmap->GetHandle(), sizeof(description), &description))
        return false;
    return description.bmBitsPixel >= 32;
}

void PremultiplyAlpha(const SharedBitmap& bitmap) {
    if (!IsNullGDIObject(bitmap))
        PremultiplyBitmapAlpha(bitmap->GetHandle(), true);
}

void PremultiplyBitmapAlpha(HBITMAP bitmap, bool force) {
    if (!bitmap)
        return;
    ScopedScreenDC screen;
    if (!force && ::GetDeviceCaps(screen.Get(), BITSPIXEL) != 32)
        return;

    BitmapInfoBuffer info;
    if (!ReadBitmapHeader(screen.Get(), bitmap, info))
        return;
    BITMAPINFOHEADER& header = info.Header();
    if (header.biBitCount < 32 || header.biWidth <= 0 || header.biHeight <= 0)
        return;
    // The pixels are read and written as plain bottom-up blue, green, red,
    // alpha: with BI_BITFIELDS GetDIBits would hand them over in whatever
    // layout the masks it reports describe.
    header.biCompression = BI_RGB;
    header.biSizeImage = 0;

    const int width = header.biWidth;
    const int height = header.biHeight;
    const std::size_t bytesPerPixel = header.biBitCount / 8;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
    if (rowBytes / bytesPerPixel != static_cast<std::size_t>(width) ||
        rowBytes > static_cast<std::size_t>(-1) / static_cast<std::size_t>(height))
        throw std::bad_alloc();
    std::vector<unsigned char> pixels(rowBytes * static_cast<std::size_t>(height));
    if (::GetDIBits(screen.Get(), bitmap, 0, height, pixels.data(), info.Get(), DIB_RGB_COLORS) != height)
        return;

    for (int row = 0; row < height; ++row) {
        unsigned char* pixel = pixels.data() + static_cast<std::size_t>(row) * rowBytes;
        for (int column = 0; column < width; ++column, pixel += bytesPerPixel) {
            const unsigned alpha = pixel[3];
            pixel[0] = static_cast<unsigned char>(pixel[0] * alpha / 255);
            pixel[1] = static_cast<unsigned char>(pixel[1] * alpha / 255);
            pixel[2] = static_cast<unsigned char>(pixel[2] * alpha / 255);
        }
    }
    ::SetDIBits(screen.Get(), bitmap, 0, height, pixels.data(), info.Get(), DIB_RGB_COLORS);
}

}  // namespace CommonGuiLib
