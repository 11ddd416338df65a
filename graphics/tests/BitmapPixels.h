#pragma once
// Reading bitmaps back in tests: a DIB section's own bytes (alpha as stored),
// or any bitmap's colours through GetDIBits.
#include "testing/PictureFiles.h"

#include <windows.h>

#include <cstring>
#include <ostream>
#include <vector>

namespace Testing {

// Found by argument lookup, so EXPECT_EQ compares pixels and vectors of them.
inline bool operator==(const Testing::Bgra& a, const Testing::Bgra& b) {
    return a.blue == b.blue && a.green == b.green && a.red == b.red && a.alpha == b.alpha;
}
inline std::ostream& operator<<(std::ostream& out, const Testing::Bgra& p) {
    return out << "BGRA(" << int(p.blue) << "," << int(p.green) << "," << int(p.red) << "," << int(p.alpha) << ")";
}

}  // namespace Testing

namespace SkinTesting {

// A 32-bit DIB section's pixels from the top row down, exactly as stored.
// Empty when the bitmap is no 32-bit DIB section.
inline std::vector<Testing::Bgra> ReadDibSection32(HBITMAP bitmap) {
    DIBSECTION dib = {};
    if (::GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 32 || !dib.dsBm.bmBits)
        return {};
    ::GdiFlush();
    const int width = dib.dsBm.bmWidth;
    const int height = dib.dsBm.bmHeight;
    const bool bottomUp = dib.dsBmih.biHeight > 0;
    const auto* bits = static_cast<const Testing::Bgra*>(dib.dsBm.bmBits);
    std::vector<Testing::Bgra> pixels;
    for (int row = 0; row < height; ++row) {
        const int stored = bottomUp ? height - 1 - row : row;
        pixels.insert(pixels.end(), bits + stored * width, bits + (stored + 1) * width);
    }
    return pixels;
}

// Any bitmap's colours from the top row down, through GetDIBits at 32 bits
// (the fourth byte is not meaningful).
inline std::vector<Testing::Bgra> ReadColors(HBITMAP bitmap) {
    BITMAP description = {};
    if (!::GetObjectW(bitmap, sizeof(description), &description))
        return {};
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = description.bmWidth;
    info.bmiHeader.biHeight = -description.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<Testing::Bgra> pixels(static_cast<size_t>(description.bmWidth) * description.bmHeight);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, description.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != description.bmHeight)
        return {};
    return pixels;
}

// A bottom-up DIB section holding `pixels` (top row first).
inline HBITMAP MakeDib(int width, int height, int bitCount, const std::vector<Testing::Bgra>& pixels) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    unsigned char* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    const int bytesPerPixel = bitCount / 8;
    const int pitch = ((width * bitCount + 31) / 32) * 4;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            std::memcpy(bits + (height - 1 - row) * pitch + column * bytesPerPixel, &pixels[row * width + column],
                        bytesPerPixel);
        }
    }
    return bitmap;
}

inline int BitsPerPixel(HBITMAP bitmap) {
    BITMAP description = {};
    return ::GetObjectW(bitmap, sizeof(description), &description) ? description.bmBitsPixel : 0;
}

}  // namespace SkinTesting
