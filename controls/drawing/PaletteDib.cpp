#include "controls/drawing/PaletteDib.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

namespace {

bool IsDibBitCount(int bitCount) {
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

WORD ColorCountOf(int bitCount) {
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

}  // namespace

CPaletteDib::~CPaletteDib() { Free(); }

BYTE* CPaletteDib::Create(int width, int height, int bitCount) {
    Free();
    if (width <= 0 || height <= 0 || !IsDibBitCount(bitCount))
        return nullptr;
    // Counted wide, so that no size wraps into a small block the pixel
    // writes would run past.
    const std::uint64_t lineWidth = (static_cast<std::uint64_t>(bitCount) * width + 31) / 32 * 4;
    const std::uint64_t imageSize = lineWidth * height;
    const WORD colorCount = ColorCountOf(bitCount);
    const std::uint64_t blockSize = sizeof(BITMAPINFOHEADER) + colorCount * sizeof(RGBQUAD) + imageSize;
    if (blockSize > std::numeric_limits<DWORD>::max() || blockSize > std::numeric_limits<std::size_t>::max())
        return nullptr;
    m_data.reset(new (std::nothrow) BYTE[static_cast<std::size_t>(blockSize)]());
    if (!m_data)
        return nullptr;

    m_header.biSize = sizeof(BITMAPINFOHEADER);
    m_header.biWidth = width;
    m_header.biHeight = height;
    m_header.biPlanes = 1;
    m_header.biBitCount = static_cast<WORD>(bitCount);
    m_header.biCompression = BI_RGB;
    m_header.biSizeImage = static_cast<DWORD>(imageSize);
    m_lineWidth = static_cast<DWORD>(lineWidth);
    m_colorCount = colorCount;
    std::memcpy(m_data.get(), &m_header, sizeof(m_header));
    return m_data.get();
}

RGBQUAD* CPaletteDib::ColorTable() const {
    return m_data && m_colorCount ? reinterpret_cast<RGBQUAD*>(m_data.get() + sizeof(BITMAPINFOHEADER)) : nullptr;
}

void CPaletteDib::SetPaletteIndex(int index, BYTE red, BYTE green, BYTE blue) {
    RGBQUAD* table = ColorTable();
    if (!table || index < 0 || index >= m_colorCount)
        return;
    table[index] = RGBQUAD{blue, green, red, 0};
}

void CPaletteDib::SetPixelIndex(int x, int y, BYTE index) {
    if (!ColorTable() || x < 0 || y < 0 || x >= m_header.biWidth || y >= m_header.biHeight)
        return;
    // Below 8 bits a row holds fewer bytes than pixels: stay inside it.
    if (static_cast<DWORD>(x) >= m_lineWidth)
        return;
    GetBits()[(m_header.biHeight - y - 1) * m_lineWidth + x] = index;
}

void CPaletteDib::Clear(BYTE value) {
    if (m_data)
        std::memset(GetBits(), value, m_header.biSizeImage);
}

void CPaletteDib::BlendPalette(COLORREF color, int percent) {
    RGBQUAD* table = ColorTable();
    if (!table)
        return;
    const int p = std::min(std::max(percent, 0), 100);
    const auto blend = [p](BYTE entry, BYTE target) { return static_cast<BYTE>((entry * (100 - p) + target * p) / 100); };
    for (int i = 0; i < m_colorCount; ++i) {
        table[i].rgbRed = blend(table[i].rgbRed, GetRValue(color));
        table[i].rgbGreen = blend(table[i].rgbGreen, GetGValue(color));
        table[i].rgbBlue = blend(table[i].rgbBlue, GetBValue(color));
    }
}

BYTE* CPaletteDib::GetBits() const {
    return m_data ? m_data.get() + sizeof(BITMAPINFOHEADER) + m_colorCount * sizeof(RGBQUAD) : nullptr;
}

void CPaletteDib::Draw(HDC dc, int x, int y) {
    if (!m_data || !dc)
        return;
    if (!m_section.GetSafeHandle()) {
        void* bits = nullptr;
        HBITMAP section = ::CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(m_data.get()), DIB_RGB_COLORS,
                                             &bits, nullptr, 0);
        if (section && !bits)
            ::DeleteObject(section);
        if (!section || !bits)
            return;
        if (!m_memoryDC.Attach(::CreateCompatibleDC(dc))) {
            ::DeleteObject(section);
            return;
        }
        m_section.Attach(section);
        m_sectionBits = bits;
        m_previousBitmap = ::SelectObject(m_memoryDC, section);
    }
    ::GdiFlush();
    std::memcpy(m_sectionBits, GetBits(), m_header.biSizeImage);
    // The colour table too, so that palette changes after the first draw show.
    if (m_colorCount)
        ::SetDIBColorTable(m_memoryDC, 0, m_colorCount, ColorTable());
    ::BitBlt(dc, x, y, m_header.biWidth, m_header.biHeight, m_memoryDC, 0, 0, SRCCOPY);
}

void CPaletteDib::Free() {
    if (m_previousBitmap) {
        ::SelectObject(m_memoryDC, m_previousBitmap);
        m_previousBitmap = nullptr;
    }
    m_memoryDC.DeleteDC();
    m_section.DeleteObject();
    m_sectionBits = nullptr;
    m_data.reset();
    m_header = BITMAPINFOHEADER{};
    m_lineWidth = 0;
    m_colorCount = 0;
}
