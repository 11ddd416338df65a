#include "controls/drawing/DrawManager.h"

#include "testing/DibCanvas.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Testing::DibCanvas;
using Testing::Rgb;

const COLORREF kBackground = RGB(1, 2, 3);

// The columns of row y (or rows of column x) that differ from the background.
std::set<int> PaintedInRow(const DibCanvas& canvas, int y) {
    std::set<int> painted;
    for (int x = 0; x < canvas.Width(); ++x)
        if (canvas.Pixel(x, y) != kBackground)
            painted.insert(x);
    return painted;
}
std::set<int> PaintedInColumn(const DibCanvas& canvas, int x) {
    std::set<int> painted;
    for (int y = 0; y < canvas.Height(); ++y)
        if (canvas.Pixel(x, y) != kBackground)
            painted.insert(y);
    return painted;
}

TEST(DrawManagerShapes, DoubleLineDrawsItsSecondLineTwoWidthsAway) {
    CDrawManager manager;
    DibCanvas horizontal(10, 10, kBackground);
    manager.DrawLine(horizontal.Dc(), 1, 3, 8, 3, RGB(255, 0, 0), CDrawManager::BorderDouble, 1);
    EXPECT_EQ((std::set<int>{3, 5}), PaintedInColumn(horizontal, 4));
    EXPECT_EQ(Rgb{RGB(255, 0, 0)}, Rgb{horizontal.Pixel(4, 5)});

    DibCanvas vertical(10, 10, kBackground);
    manager.DrawLine(vertical.Dc(), 2, 1, 2, 8, RGB(0, 0, 255), CDrawManager::BorderDouble, 1);
    EXPECT_EQ((std::set<int>{2, 4}), PaintedInRow(vertical, 4));

    DibCanvas solid(10, 10, kBackground);
    manager.DrawLine(solid.Dc(), 1, 3, 8, 3, RGB(255, 0, 0), CDrawManager::BorderSolid, 1);
    EXPECT_EQ((std::set<int>{3}), PaintedInColumn(solid, 4));
}

TEST(DrawManagerShapes, NoStyleOrNoWidthDrawsNothing) {
    CDrawManager manager;
    DibCanvas canvas(10, 10, kBackground);
    manager.DrawLine(canvas.Dc(), 1, 3, 8, 3, RGB(255, 0, 0), CDrawManager::BorderNone, 1);
    manager.DrawLine(canvas.Dc(), 1, 3, 8, 3, RGB(255, 0, 0), CDrawManager::BorderSolid, 0);
    manager.DrawRectangle(canvas.Dc(), 0, 0, 10, 10, RGB(255, 0, 0), RGB(0, 255, 0), CDrawManager::BorderNone, 1);
    manager.DrawRectangle(canvas.Dc(), 0, 0, 10, 10, RGB(255, 0, 0), RGB(0, 255, 0), CDrawManager::BorderSolid, 0);
    for (int y = 0; y < 10; ++y)
        EXPECT_TRUE(PaintedInRow(canvas, y).empty()) << "row " << y;
}

TEST(DrawManagerShapes, RectangleLightTopLeftDarkBottomRight) {
    const COLORREF light = RGB(250, 250, 0), dark = RGB(0, 0, 90);
    CDrawManager manager;
    DibCanvas canvas(10, 8, kBackground);
    manager.DrawRectangle(canvas.Dc(), RECT{1, 1, 9, 7}, light, dark, CDrawManager::BorderSolid, 1);
    EXPECT_EQ(Rgb{light}, Rgb{canvas.Pixel(1, 4)});  // left
    EXPECT_EQ(Rgb{light}, Rgb{canvas.Pixel(4, 1)});  // top
    EXPECT_EQ(Rgb{dark}, Rgb{canvas.Pixel(8, 4)});   // right
    EXPECT_EQ(Rgb{dark}, Rgb{canvas.Pixel(4, 6)});   // bottom
    EXPECT_EQ(Rgb{light}, Rgb{canvas.Pixel(1, 6)});  // where the light edge starts
    EXPECT_EQ((std::set<int>{1, 8}), PaintedInRow(canvas, 4));
    EXPECT_EQ((std::set<int>{1, 6}), PaintedInColumn(canvas, 4));

    DibCanvas doubled(12, 12, kBackground);
    manager.DrawRectangle(doubled.Dc(), 1, 1, 11, 11, light, dark, CDrawManager::BorderDouble, 1);
    EXPECT_EQ((std::set<int>{1, 3, 8, 10}), PaintedInRow(doubled, 5));
    EXPECT_EQ((std::set<int>{1, 3, 8, 10}), PaintedInColumn(doubled, 5));
}

TEST(DrawManagerShapes, TileRepeatsAndCutsAtTheEdge) {
    DibCanvas tile(2, 2);
    tile.SetRaw(0, 0, 0x110000);
    tile.SetRaw(1, 0, 0x220000);
    tile.SetRaw(0, 1, 0x330000);
    tile.SetRaw(1, 1, 0x440000);
    DibCanvas canvas(8, 6, kBackground);
    CDrawManager manager;
    manager.DrawTile(canvas.Dc(), 1, 1, 5, 3, tile.Dc(), 0, 0, 2, 2);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 1 && x < 6 && y >= 1 && y < 4;
            const COLORREF expected = inside ? tile.Pixel((x - 1) % 2, (y - 1) % 2) : kBackground;
            EXPECT_EQ(Rgb{expected}, Rgb{canvas.Pixel(x, y)}) << x << "," << y;
        }
    }
    manager.DrawTile(canvas.Dc(), 0, 0, 8, 6, tile.Dc(), 0, 0, 0, 2);  // no tile size: nothing, no endless loop
}

TEST(DrawManagerShapes, GradientBands) {
    CDrawManager manager;
    // Under 64 pixels some bands are empty, yet every column is painted.
    DibCanvas narrow(42, 2, kBackground);
    manager.FillGradient(narrow.Dc(), RECT{1, 0, 41, 2}, RGB(0, 0, 0), RGB(255, 255, 255), true);
    EXPECT_EQ(40u, PaintedInRow(narrow, 1).size());
    // Band 0 is empty at this width: the first column takes band 1, 255 / 64.
    EXPECT_EQ(Rgb{RGB(3, 3, 3)}, Rgb{narrow.Pixel(1, 0)});
    EXPECT_EQ(Rgb{kBackground}, Rgb{narrow.Pixel(0, 0)});
    EXPECT_EQ(Rgb{kBackground}, Rgb{narrow.Pixel(41, 0)});

    // 128 pixels: two per band, band i of (64 - i) / 64 and i / 64.
    DibCanvas wide(128, 1, kBackground);
    manager.FillGradient(wide.Dc(), RECT{0, 0, 128, 1}, RGB(0, 64, 255), RGB(128, 0, 0), true);
    for (int x = 0; x < 128; ++x) {
        const int band = x / 2;
        EXPECT_EQ(Rgb{RGB(128 * band / 64, 64 * (64 - band) / 64, 255 * (64 - band) / 64)}, Rgb{wide.Pixel(x, 0)}) << x;
    }
    EXPECT_NE(Rgb{RGB(128, 0, 0)}, Rgb{wide.Pixel(127, 0)});

    DibCanvas tall(1, 64, kBackground);
    manager.FillGradient(tall.Dc(), RECT{0, 0, 1, 64}, RGB(0, 0, 0), RGB(0, 0, 64), false);
    for (int y = 0; y < 64; ++y)
        EXPECT_EQ(Rgb{RGB(0, 0, y)}, Rgb{tall.Pixel(0, y)}) << y;
}

}  // namespace
