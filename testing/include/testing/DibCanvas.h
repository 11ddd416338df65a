#pragma once
// A 32-bit top-down DIB section selected into a memory DC, so that tests can
// draw with GDI and read every pixel back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>

namespace Testing {

class DibCanvas {
public:
    DibCanvas(int width, int height, COLORREF background = RGB(1, 2, 3)) : m_width(width), m_height(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_dc = ::CreateCompatibleDC(nullptr);
        m_previous = ::SelectObject(m_dc, m_bitmap);
        for (int i = 0; i < width * height; ++i)
            m_bits[i] = Pack(background);
    }
    ~DibCanvas() {
        ::SelectObject(m_dc, m_previous);
        ::DeleteDC(m_dc);
        ::DeleteObject(m_bitmap);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The colour at (x, y), alpha left out.
    COLORREF Pixel(int x, int y) const {
        const std::uint32_t value = Raw(x, y);
        return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    }
    // The stored 0xAARRGGBB value at (x, y).
    std::uint32_t Raw(int x, int y) const {
        ::GdiFlush();
        return m_bits[y * m_width + x];
    }
    void SetRaw(int x, int y, std::uint32_t value) {
        ::GdiFlush();
        m_bits[y * m_width + x] = value;
    }
    // Writes the pixel itself, past GDI.
    void SetPixel(int x, int y, COLORREF color) { SetRaw(x, y, Pack(color)); }

private:
    static std::uint32_t Pack(COLORREF color) {
        return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    }

    int m_width;
    int m_height;
    HBITMAP m_bitmap = nullptr;
    std::uint32_t* m_bits = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

// Readable colours in failure messages.
struct Rgb {
    COLORREF value;
};
inline bool operator==(Rgb a, Rgb b) { return a.value == b.value; }
inline bool operator!=(Rgb a, Rgb b) { return a.value != b.value; }
inline std::ostream& operator<<(std::ostream& out, Rgb color) {
    return out << "RGB(" << int(GetRValue(color.value)) << "," << int(GetGValue(color.value)) << ","
               << int(GetBValue(color.value)) << ")";
}

// Compares every pixel of the canvas with `expected`, stopping at the first difference.
inline void ExpectPixels(const DibCanvas& canvas, const std::function<COLORREF(int x, int y)>& expected) {
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.Pixel(x, y) != expected(x, y)) {
                ADD_FAILURE() << "pixel (" << x << "," << y << ") is " << Rgb{canvas.Pixel(x, y)} << ", expected "
                              << Rgb{expected(x, y)};
                return;
            }
        }
    }
}

}  // namespace Testing
