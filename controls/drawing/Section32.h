#pragma once
// The 32-bit sections the draw manager does its pixel work on, and the
// short-lived memory DCs it blits them through. GUI thread only.
#include "afxwin.h"

#include <cstdint>
#include <memory>

namespace DrawLib {

// A memory DC with one bitmap selected; the bitmap is put back out of it on
// destruction, so that it can be selected elsewhere afterwards. Get() is
// null when the DC could not be made or the bitmap could not be selected
// (a bitmap can be selected into one DC at a time).
class MemoryDC {
public:
    explicit MemoryDC(HBITMAP bitmap, HDC compatibleWith = nullptr);
    ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC Get() const { return m_previous ? m_dc.GetSafeHdc() : nullptr; }

private:
    CDC m_dc;
    HGDIOBJ m_previous = nullptr;
};

// A 32-bit BI_RGB DIB section stored bottom row first; a pixel is
// 0xAARRGGBB. Coordinates count from the top.
class Section32 {
public:
    // Null when the size is empty or the section cannot be made.
    static std::unique_ptr<Section32> Create(int width, int height);

    HBITMAP Handle() const { return static_cast<HBITMAP>(m_bitmap.GetSafeHandle()); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::uint32_t* Bits() const { return m_bits; }
    std::uint32_t* Row(int y) const { return m_bits + static_cast<std::size_t>(m_height - 1 - y) * m_width; }
    std::uint32_t& At(int x, int y) const { return Row(y)[x]; }
    std::size_t PixelCount() const { return static_cast<std::size_t>(m_width) * m_height; }

private:
    Section32(HBITMAP bitmap, std::uint32_t* bits, int width, int height);

    CBitmap m_bitmap;
    std::uint32_t* m_bits;
    int m_width;
    int m_height;
};

// The area (x, y, width, height) of a DC, copied into a new section.
std::unique_ptr<Section32> ReadArea(HDC dc, int x, int y, int width, int height);
// The whole section copied to (x, y) of a DC.
void WriteArea(const Section32& section, HDC dc, int x, int y);
// The bitmap copied into a new section of width x height, stretched from its
// own size when that differs. Null when the bitmap cannot be read.
std::unique_ptr<Section32> CopyBitmap(HBITMAP bitmap, int width, int height);
// A part of a bitmap, copied at its own size.
std::unique_ptr<Section32> CopyBitmapPart(HBITMAP bitmap, int x, int y, int width, int height);
// Width and height of any bitmap; 0 x 0 when it is no bitmap.
SIZE BitmapSize(HBITMAP bitmap);

}  // namespace DrawLib
