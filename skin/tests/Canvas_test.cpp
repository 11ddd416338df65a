#include "skin/commongui/Canvas.h"

#include "graphics/tests/BitmapPixels.h"
#include "BorrowedDC.h"
#include "graphics/tests/DibCanvas.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using CommonGuiLib::CMemDC;
using CommonGuiLib::MakeGdiHold;
using SkinTesting::BorrowedDC;
using SkinTesting::DibCanvas;
using SkinTesting::ExpectPixels;
using SkinTesting::Rgb;

TEST(DCSelector, EachAttributeReturnsToItsValueFromBeforeTheFirstChange) {
    const struct {
        const char* name;
        std::function<void(DCSelector&, HDC, DWORD)> set;
        std::function<DWORD(HDC)> get;
        std::function<void(HDC, DWORD)> setDirectly;
        DWORD before, first, second;
    } cases[] = {
        {"background mode", [](DCSelector& s, HDC dc, DWORD v) { s.SetBkMode(dc, v); }, [](HDC dc) { return DWORD(::GetBkMode(dc)); },
         [](HDC dc, DWORD v) { ::SetBkMode(dc, v); }, OPAQUE, TRANSPARENT, OPAQUE},
        {"map mode", [](DCSelector& s, HDC dc, DWORD v) { s.SetMapMode(dc, v); }, [](HDC dc) { return DWORD(::GetMapMode(dc)); },
         [](HDC dc, DWORD v) { ::SetMapMode(dc, v); }, MM_TEXT, MM_LOMETRIC, MM_ANISOTROPIC},
        {"fill mode", [](DCSelector& s, HDC dc, DWORD v) { s.SetPolyFillMode(dc, v); }, [](HDC dc) { return DWORD(::GetPolyFillMode(dc)); },
         [](HDC dc, DWORD v) { ::SetPolyFillMode(dc, v); }, ALTERNATE, WINDING, ALTERNATE},
        {"stretch mode", [](DCSelector& s, HDC dc, DWORD v) { s.SetStretchBltMode(dc, v); }, [](HDC dc) { return DWORD(::GetStretchBltMode(dc)); },
         [](HDC dc, DWORD v) { ::SetStretchBltMode(dc, v); }, BLACKONWHITE, COLORONCOLOR, HALFTONE},
        {"raster operation", [](DCSelector& s, HDC dc, DWORD v) { s.SetROP2(dc, v); }, [](HDC dc) { return DWORD(::GetROP2(dc)); },
         [](HDC dc, DWORD v) { ::SetROP2(dc, v); }, R2_COPYPEN, R2_XORPEN, R2_NOT},
        {"text colour", [](DCSelector& s, HDC dc, DWORD v) { s.SetTextColor(dc, v); }, [](HDC dc) { return DWORD(::GetTextColor(dc)); },
         [](HDC dc, DWORD v) { ::SetTextColor(dc, v); }, RGB(1, 1, 1), RGB(255, 0, 0), RGB(0, 255, 0)},
        {"background colour", [](DCSelector& s, HDC dc, DWORD v) { s.SetBkColor(dc, v); }, [](HDC dc) { return DWORD(::GetBkColor(dc)); },
         [](HDC dc, DWORD v) { ::SetBkColor(dc, v); }, RGB(2, 2, 2), RGB(0, 0, 255), RGB(9, 9, 9)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas canvas(2, 2);
        c.setDirectly(canvas.Dc(), c.before);
        {
            DCSelector selector(canvas.Dc());
            c.set(selector, canvas.Dc(), c.first);
            EXPECT_EQ(c.first, c.get(canvas.Dc()));
            c.set(selector, canvas.Dc(), c.second);
            EXPECT_EQ(c.second, c.get(canvas.Dc()));
        }
        EXPECT_EQ(c.before, c.get(canvas.Dc()));
    }
}

TEST(DCSelector, UntouchedSlotsAreLeftAlone) {
    DibCanvas canvas(2, 2);
    ::SetTextColor(canvas.Dc(), RGB(1, 1, 1));
    {
        DCSelector selector(canvas.Dc());
        selector.SetBkColor(canvas.Dc(), RGB(4, 4, 4));
        // Changed past the selector: not its business.
        ::SetTextColor(canvas.Dc(), RGB(7, 7, 7));
    }
    EXPECT_EQ(RGB(7, 7, 7), ::GetTextColor(canvas.Dc()));
}

TEST(DCSelector, ObjectSlotsRestoreFromTheLastToTheFirst) {
    DibCanvas canvas(2, 2);
    HGDIOBJ original = ::GetCurrentObject(canvas.Dc(), OBJ_PEN);
    HPEN first = ::CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HPEN second = ::CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    {
        DCSelector selector(canvas.Dc());
        // Slot 2 saves `first` as its previous pen; only the order 2, 1
        // ends with the original.
        selector.SelectObject(canvas.Dc(), 0, first).SelectObject(canvas.Dc(), 1, second);
        EXPECT_EQ(second, ::GetCurrentObject(canvas.Dc(), OBJ_PEN));
    }
    EXPECT_EQ(original, ::GetCurrentObject(canvas.Dc(), OBJ_PEN));
    ::DeleteObject(first);
    ::DeleteObject(second);
}

TEST(DCSelector, HeldPenIsFreedOnlyAfterItIsDeselected) {
    DibCanvas canvas(2, 2);
    HGDIOBJ original = ::GetCurrentObject(canvas.Dc(), OBJ_PEN);
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    {
        DCSelector selector(canvas.Dc());
        selector.SelectObject(canvas.Dc(), 3, pen).Hold(2, MakeGdiHold(pen));
        EXPECT_EQ(OBJ_PEN, static_cast<int>(::GetObjectType(pen)));
        // Selecting again in the same slot keeps the first saved object.
        selector.SelectObject(canvas.Dc(), 3, ::GetStockObject(BLACK_PEN));
        selector.SelectObject(canvas.Dc(), 3, pen);
    }
    EXPECT_EQ(original, ::GetCurrentObject(canvas.Dc(), OBJ_PEN));
    EXPECT_EQ(0u, ::GetObjectType(pen));
}

TEST(DCSelector, RestoringTwiceChangesNothing) {
    DibCanvas canvas(2, 2);
    ::SetTextColor(canvas.Dc(), RGB(1, 1, 1));
    DCSelector selector(canvas.Dc());
    selector.SetTextColor(canvas.Dc(), RGB(2, 2, 2));
    selector.Restore();
    EXPECT_EQ(RGB(1, 1, 1), ::GetTextColor(canvas.Dc()));
    ::SetTextColor(canvas.Dc(), RGB(3, 3, 3));
    selector.Restore();
    EXPECT_EQ(RGB(3, 3, 3), ::GetTextColor(canvas.Dc()));
}

TEST(Canvas, SizedCanvasFreesItsBitmapAndDC) {
    DibCanvas reference(2, 2);
    BorrowedDC referenceDC(reference.Dc());
    HDC dc = nullptr;
    HGDIOBJ bitmap = nullptr;
    {
        CanvasT<CConstructibleDC> canvas(&referenceDC, SIZE{30, 20});
        EXPECT_TRUE(canvas.OwnsDC());
        dc = canvas.m_hDC;
        bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
        BITMAP description = {};
        ASSERT_TRUE(::GetObjectW(bitmap, sizeof(description), &description));
        EXPECT_EQ(30, description.bmWidth);
        EXPECT_EQ(20, description.bmHeight);
        // Compatible with the reference, not with the new DC's monochrome pixel.
        EXPECT_EQ(32, description.bmBitsPixel);
        canvas.FillSolidRect(0, 0, 30, 20, RGB(10, 20, 30));
        EXPECT_EQ(RGB(10, 20, 30), canvas.GetPixel(29, 19));
    }
    EXPECT_EQ(0u, ::GetObjectType(dc));
    EXPECT_EQ(0u, ::GetObjectType(bitmap));
    EXPECT_EQ(OBJ_MEMDC, static_cast<int>(::GetObjectType(reference.Dc())));
}

TEST(Canvas, CanvasOverAnExistingDCLeavesItAlive) {
    DibCanvas screen(4, 4);
    BorrowedDC target(screen.Dc());
    ::SetTextColor(screen.Dc(), RGB(1, 1, 1));
    {
        CanvasT<CConstructibleDC> canvas(&target);
        EXPECT_FALSE(canvas.OwnsDC());
        EXPECT_EQ(screen.Dc(), canvas.m_hDC);
        canvas.SetTextColor(canvas.m_hDC, RGB(200, 0, 0));
        canvas.SetPixel(1, 1, RGB(0, 0, 255));
        EXPECT_EQ(Rgb{RGB(0, 0, 255)}, Rgb{screen.Pixel(1, 1)});
    }
    EXPECT_EQ(OBJ_MEMDC, static_cast<int>(::GetObjectType(screen.Dc())));
    EXPECT_EQ(screen.Bitmap(), ::GetCurrentObject(screen.Dc(), OBJ_BITMAP));
    EXPECT_EQ(RGB(1, 1, 1), ::GetTextColor(screen.Dc()));
}

TEST(Canvas, MemoryCanvasStartsAsACopyAndShowsOnlyWhenItGoes) {
    DibCanvas screen(20, 20);
    for (int i = 0; i < 20; ++i)
        screen.SetPixel(i, i, RGB(0, 255, 0));
    const auto before = [&](int x, int y) { return x == y ? RGB(0, 255, 0) : RGB(1, 2, 3); };
    BorrowedDC target(screen.Dc());
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    {
        CanvasT<CMemDC> canvas(&target);
        EXPECT_EQ(Rgb{RGB(0, 255, 0)}, Rgb{canvas.GetPixel(7, 7)});
        canvas.SelectObject(canvas.m_hDC, 0, pen).Hold(0, MakeGdiHold(pen));
        canvas.MoveTo(0, 5);
        canvas.LineTo(20, 5);
        ExpectPixels(screen, before);
    }
    ExpectPixels(screen, [&](int x, int y) { return y == 5 ? RGB(255, 0, 0) : before(x, y); });
    EXPECT_EQ(0u, ::GetObjectType(pen));
}

TEST(Canvas, MemoryCanvasOverARectangleKeepsLogicalCoordinates) {
    DibCanvas screen(20, 20);
    BorrowedDC target(screen.Dc());
    const RECT area = {4, 4, 12, 12};
    {
        CanvasT<CMemDC> canvas(&target, &area);
        canvas.FillSolidRect(0, 0, 20, 20, RGB(0, 0, 255));
    }
    ExpectPixels(screen, [&](int x, int y) {
        return x >= 4 && x < 12 && y >= 4 && y < 12 ? RGB(0, 0, 255) : RGB(1, 2, 3);
    });
}

}  // namespace
