#pragma once
// A small device-independent bitmap with a colour table, held in one memory
// block, that the background effects paint pixel by pixel and then blit.
// GUI thread only.
#include "afxwin.h"

#include <memory>

class CPaletteDib {
public:
    CPaletteDib() = default;
    virtual ~CPaletteDib();
    CPaletteDib(const CPaletteDib&) = delete;
    CPaletteDib& operator=(const CPaletteDib&) = delete;

    // Frees any previous content and makes a block of width x height pixels
    // at 1, 4, 8, 16, 24 or 32 bits per pixel. Returns the block, or null and
    // an empty object for a size of 0 or below, another bit count, or a block
    // that 32 bits cannot count.
    BYTE* Create(int width, int height, int bitCount);

    // Both ignored without a colour table (more than 8 bits per pixel) and for
    // indices or coordinates outside it; y counts from the top.
    void SetPaletteIndex(int index, BYTE red, BYTE green, BYTE blue);
    void SetPixelIndex(int x, int y, BYTE index);

    // Every pixel byte.
    void Clear(BYTE value);
    // Every colour-table entry moves toward `color` by `percent` (0 to 100).
    void BlendPalette(COLORREF color, int percent);

    // The pixel rows, bottom row first; null when empty.
    BYTE* GetBits() const;
    DWORD GetLineWidth() const { return m_lineWidth; }

    // Copies the pixels and the colour table to a DIB section made on first
    // use and blits it with its top-left corner at (x, y).
    void Draw(HDC dc, int x, int y);

private:
    void Free();
    RGBQUAD* ColorTable() const;

    std::unique_ptr<BYTE[]> m_data;
    BITMAPINFOHEADER m_header = {};
    DWORD m_lineWidth = 0;
    WORD m_colorCount = 0;
    CBitmap m_section;
    CDC m_memoryDC;
    void* m_sectionBits = nullptr;
    HGDIOBJ m_previousBitmap = nullptr;
};
