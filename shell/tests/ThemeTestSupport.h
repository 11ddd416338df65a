#pragma once
// Bars and pictures for drawing themes into memory DCs.
#include "toolkit/CommandBarRecords.h"

#include "graphics/tests/DibCanvas.h"

#include <commctrl.h>

#include <cstdlib>

namespace ShellTests {

using SkinTesting::DibCanvas;
using SkinTesting::Rgb;

// An image list of `count` pictures of one colour each.
class SolidImages {
public:
    SolidImages(int width, int height, COLORREF color, int count = 1) {
        m_list = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, 1);
        DibCanvas picture(width, height, color);
        HBITMAP bitmap = ::CreateCompatibleBitmap(picture.Dc(), width, height);
        HDC dc = ::CreateCompatibleDC(picture.Dc());
        HGDIOBJ previous = ::SelectObject(dc, bitmap);
        ::BitBlt(dc, 0, 0, width, height, picture.Dc(), 0, 0, SRCCOPY);
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
        for (int i = 0; i < count; ++i)
            ImageList_AddMasked(m_list, bitmap, RGB(192, 192, 192));
        ::DeleteObject(bitmap);
    }
    ~SolidImages() { ImageList_Destroy(m_list); }
    SolidImages(const SolidImages&) = delete;
    SolidImages& operator=(const SolidImages&) = delete;
    HIMAGELIST Get() const { return m_list; }

private:
    HIMAGELIST m_list;
};

// A font of the given pixel height, deleted with the object.
class TestFont {
public:
    explicit TestFont(int pixels, LPCWSTR face = L"Tahoma") {
        m_font = ::CreateFontW(-pixels, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, face);
    }
    ~TestFont() { ::DeleteObject(m_font); }
    TestFont(const TestFont&) = delete;
    TestFont& operator=(const TestFont&) = delete;
    HFONT Get() const { return m_font; }

private:
    HFONT m_font;
};

// A CDC over a canvas's DC that leaves the DC to the canvas.
class CanvasDC : public CDC {
public:
    explicit CanvasDC(const DibCanvas& canvas) { Attach(canvas.Dc()); }
    ~CanvasDC() override { Detach(); }
};

inline bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Whether any pixel of the area is within the tolerance of the colour
// (text pixels: fonts differ under Wine).
inline bool AreaHasColor(const DibCanvas& canvas, const RECT& area, COLORREF color, int tolerance = 24) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (Near(canvas.Pixel(x, y), color, tolerance))
                return true;
        }
    }
    return false;
}

}  // namespace ShellTests
