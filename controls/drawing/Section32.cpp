#include "controls/drawing/Section32.h"

namespace DrawLib {

MemoryDC::MemoryDC(HBITMAP bitmap, HDC compatibleWith) {
    if (!bitmap || !m_dc.Attach(::CreateCompatibleDC(compatibleWith)))
        return;
    m_previous = ::SelectObject(m_dc, bitmap);
}

MemoryDC::~MemoryDC() {
    if (m_previous)
        ::SelectObject(m_dc, m_previous);
}

std::unique_ptr<Section32> Section32::Create(int width, int height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * height * 4;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && !bits)
        ::DeleteObject(bitmap);
    if (!bitmap || !bits)
        return nullptr;
    return std::unique_ptr<Section32>(new Section32(bitmap, static_cast<std::uint32_t*>(bits), width, height));
}

Section32::Section32(HBITMAP bitmap, std::uint32_t* bits, int width, int height)
    : m_bits(bits), m_width(width), m_height(height) {
    m_bitmap.Attach(bitmap);
}

std::unique_ptr<Section32> ReadArea(HDC dc, int x, int y, int width, int height) {
    if (!dc)
        return nullptr;
    auto section = Section32::Create(width, height);
    if (!section)
        return nullptr;
    MemoryDC target(section->Handle(), dc);
    if (!target.Get())
        return nullptr;
    ::BitBlt(target.Get(), 0, 0, width, height, dc, x, y, SRCCOPY);
    ::GdiFlush();
    return section;
}

void WriteArea(const Section32& section, HDC dc, int x, int y) {
    ::GdiFlush();
    MemoryDC source(section.Handle(), dc);
    if (source.Get())
        ::BitBlt(dc, x, y, section.Width(), section.Height(), source.Get(), 0, 0, SRCCOPY);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP description = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(description), &description))
        return SIZE{0, 0};
    return SIZE{description.bmWidth, description.bmHeight};
}

std::unique_ptr<Section32> CopyBitmap(HBITMAP bitmap, int width, int height) {
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return nullptr;
    auto section = Section32::Create(width, height);
    if (!section)
        return nullptr;
    MemoryDC source(bitmap);
    MemoryDC target(section->Handle());
    if (!source.Get() || !target.Get())
        return nullptr;
    if (size.cx == width && size.cy == height) {
        ::BitBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
    } else {
        ::SetStretchBltMode(target.Get(), COLORONCOLOR);
        ::StretchBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
    }
    ::GdiFlush();
    return section;
}

std::unique_ptr<Section32> CopyBitmapPart(HBITMAP bitmap, int x, int y, int width, int height) {
    auto section = Section32::Create(width, height);
    if (!section)
        return nullptr;
    MemoryDC source(bitmap);
    MemoryDC target(section->Handle());
    if (!source.Get() || !target.Get())
        return nullptr;
    ::BitBlt(target.Get(), 0, 0, width, height, source.Get(), x, y, SRCCOPY);
    ::GdiFlush();
    return section;
}

}  // namespace DrawLib
