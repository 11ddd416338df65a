#include "include/atlimage.h"

#include <gdiplus.h>

#include <cstring>
#include <vector>

namespace ATL {

namespace {

// Transparency may also sit in the palette of an indexed image (a GIF).
bool HasTransparency(Gdiplus::Bitmap& source, Gdiplus::PixelFormat format) {
    if (Gdiplus::IsAlphaPixelFormat(format))
        return true;
    if (!Gdiplus::IsIndexedPixelFormat(format))
        return false;
    const INT paletteSize = source.GetPaletteSize();
    if (paletteSize < static_cast<INT>(sizeof(Gdiplus::ColorPalette)))
        return false;
    std::vector<BYTE> buffer(paletteSize);
    Gdiplus::ColorPalette* palette = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
    if (source.GetPalette(palette, paletteSize) != Gdiplus::Ok)
        return false;
    return (palette->Flags & Gdiplus::PaletteFlagsHasAlpha) != 0;
}

HRESULT FromStatus(Gdiplus::Status status) {
    return status == Gdiplus::OutOfMemory ? E_OUTOFMEMORY : E_FAIL;
}

}  // namespace

HRESULT CImage::Load(LPCWSTR fileName) {
    Destroy();
    if (!fileName)
        return E_INVALIDARG;

    // The decoder keeps the file open while the bitmap lives; it goes at the
    // end of this call.
    Gdiplus::Bitmap source(fileName, FALSE);
    if (source.GetLastStatus() != Gdiplus::Ok)
        return FromStatus(source.GetLastStatus());

    const UINT width = source.GetWidth();
    const UINT height = source.GetHeight();
    if (width == 0 || height == 0 || width > 0x7FFF || height > 0x7FFF)
        return E_FAIL;

    const Gdiplus::PixelFormat sourceFormat = source.GetPixelFormat();
    Gdiplus::PixelFormat format = PixelFormat24bppRGB;
    WORD bitCount = 24;
    if (HasTransparency(source, sourceFormat)) {
        format = PixelFormat32bppARGB;  // straight alpha
        bitCount = 32;
    } else if (Gdiplus::GetPixelFormatSize(sourceFormat) == 32) {
        format = PixelFormat32bppRGB;
        bitCount = 32;
    }

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = static_cast<LONG>(height);  // bottom-up, as GDI prefers
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_hBitmap || !bits) {
        Destroy();
        return E_OUTOFMEMORY;
    }

    Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData locked = {};
    const Gdiplus::Status status = source.LockBits(&all, Gdiplus::ImageLockModeRead, format, &locked);
    if (status != Gdiplus::Ok) {
        Destroy();
        return FromStatus(status);
    }
    // GDI+ hands rows top-down; the DIB keeps its top row last.
    const size_t pitch = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
    const size_t rowBytes = static_cast<size_t>(width) * bitCount / 8;
    for (UINT row = 0; row < height; ++row) {
        const BYTE* from = static_cast<const BYTE*>(locked.Scan0) + static_cast<ptrdiff_t>(row) * locked.Stride;
        BYTE* to = static_cast<BYTE*>(bits) + (height - 1 - row) * pitch;
        std::memcpy(to, from, rowBytes);
    }
    source.UnlockBits(&locked);
    return S_OK;
}

HBITMAP CImage::Detach() noexcept {
    HBITMAP bitmap = m_hBitmap;
    m_hBitmap = nullptr;
    return bitmap;
}

void CImage::Destroy() noexcept {
    if (m_hBitmap) {
        ::DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
    }
}

}  // namespace ATL
