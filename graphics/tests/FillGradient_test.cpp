#include "graphics/commongui/FillGradient.h"

#include "DibCanvas.h"

#include <gtest/gtest.h>

namespace {

using CommonGuiLib::FillDescription;
using CommonGuiLib::FillGradient;
using SkinTesting::DibCanvas;
using SkinTesting::ExpectPixels;
using SkinTesting::Rgb;

const COLORREF kBackground = RGB(1, 2, 3);

FillDescription Describe(int width, int height, std::uint32_t kind,
                         std::initializer_list<FillDescription::Stop> stops) {
    FillDescription description;
    description.width = width;
    description.height = height;
    description.kind = kind;
    description.stops.insert(stops.begin(), stops.end());
    return description;
}

TEST(FillGradient, VerticalRedToBlueRowByRow) {
    DibCanvas canvas(10, 100);
    FillGradient(canvas.Dc(), 0, 0, Describe(10, 100, FillDescription::Vertical, {{RGB(255, 0, 0), 0.0}, {RGB(0, 0, 255), 1.0}}));
    ExpectPixels(canvas, [](int, int y) { return RGB(255 + (0 - 255) * y / 100, 0, 0 + (255 - 0) * y / 100); });
    EXPECT_EQ(Rgb{RGB(255, 0, 0)}, Rgb{canvas.Pixel(0, 0)});
    EXPECT_EQ(Rgb{RGB(3, 0, 252)}, Rgb{canvas.Pixel(9, 99)});  // the last stop's own colour is never reached
}

TEST(FillGradient, HorizontalBlackToWhiteColumnByColumn) {
    DibCanvas canvas(100, 3);
    FillGradient(canvas.Dc(), 0, 0, Describe(100, 3, FillDescription::Horizontal, {{RGB(0, 0, 0), 0.0}, {RGB(255, 255, 255), 1.0}}));
    const int reds[] = {0, 2, 5, 7, 10};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(reds[x], GetRValue(canvas.Pixel(x, 1))) << "column " << x;
    EXPECT_EQ(252, GetRValue(canvas.Pixel(99, 2)));
    ExpectPixels(canvas, [](int x, int) { return RGB(255 * x / 100, 255 * x / 100, 255 * x / 100); });
}

TEST(FillGradient, BandsBetweenStopsOnly) {
    // Stops at a quarter and three quarters of 10 pixels: columns 2 to 6.
    DibCanvas canvas(14, 4);
    FillGradient(canvas.Dc(), 2, 1, Describe(10, 2, FillDescription::Horizontal, {{RGB(0, 0, 0), 0.25}, {RGB(250, 100, 50), 0.75}}));
    ExpectPixels(canvas, [](int x, int y) {
        const int column = x - 2;
        if (y < 1 || y > 2 || column < 2 || column > 6)
            return kBackground;
        const int i = column - 2;
        return RGB(250 * i / 5, 100 * i / 5, 50 * i / 5);
    });
}

TEST(FillGradient, ThreeStopsMakeTwoRuns) {
    DibCanvas canvas(10, 1);
    FillGradient(canvas.Dc(), 0, 0,
                 Describe(10, 1, FillDescription::Horizontal, {{RGB(255, 0, 0), 0.0}, {RGB(0, 255, 0), 0.5}, {RGB(0, 0, 255), 1.0}}));
    ExpectPixels(canvas, [](int x, int) {
        if (x < 5)
            return RGB(255 + (0 - 255) * x / 5, 255 * x / 5, 0);
        const int i = x - 5;
        return RGB(0, 255 + (0 - 255) * i / 5, 255 * i / 5);
    });
}

TEST(FillGradient, OneStopIsSolidForEveryKind) {
    for (std::uint32_t kind : {0u, 1u, 2u, 3u, 7u}) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        DibCanvas canvas(8, 8);
        FillGradient(canvas.Dc(), 1, 2, Describe(5, 4, kind, {{RGB(10, 20, 30), 0.5}}));
        ExpectPixels(canvas, [](int x, int y) {
            return x >= 1 && x < 6 && y >= 2 && y < 6 ? RGB(10, 20, 30) : kBackground;
        });
    }
}

TEST(FillGradient, PaintsNothing) {
    const struct {
        const char* name;
        FillDescription description;
    } cases[] = {
        {"diagonal with three stops",
         Describe(8, 8, FillDescription::DiagonalTLBR, {{RGB(255, 0, 0), 0.0}, {RGB(0, 255, 0), 0.5}, {RGB(0, 0, 255), 1.0}})},
        {"other diagonal with three stops",
         Describe(8, 8, FillDescription::DiagonalTRBL, {{RGB(255, 0, 0), 0.0}, {RGB(0, 255, 0), 0.5}, {RGB(0, 0, 255), 1.0}})},
        {"no stops", Describe(8, 8, FillDescription::Horizontal, {})},
        {"no stops, diagonal", Describe(8, 8, FillDescription::DiagonalTLBR, {})},
        {"unknown kind", Describe(8, 8, 4, {{RGB(255, 0, 0), 0.0}, {RGB(0, 0, 255), 1.0}})},
        {"diagonal without width", Describe(0, 8, FillDescription::DiagonalTLBR, {{RGB(255, 0, 0), 0.0}, {RGB(0, 0, 255), 1.0}})},
        {"diagonal without height", Describe(8, -8, FillDescription::DiagonalTLBR, {{RGB(255, 0, 0), 0.0}, {RGB(0, 0, 255), 1.0}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas canvas(10, 10);
        FillGradient(canvas.Dc(), 1, 1, c.description);
        ExpectPixels(canvas, [](int, int) { return kBackground; });
    }
}

// Square diagonals run along 45-degree lines, so the pixels are those of the
// walk whatever the line algorithm. From black to (160, 80, 240) over
// width + height = 16 steps, step t has the colour (10t, 5t, 15t).
COLORREF DiagonalStep(int t) { return RGB(10 * t, 5 * t, 15 * t); }

TEST(FillGradient, DiagonalFromTopLeft) {
    DibCanvas canvas(14, 14);
    FillGradient(canvas.Dc(), 2, 3, Describe(8, 8, FillDescription::DiagonalTLBR, {{RGB(0, 0, 0), 0.0}, {RGB(160, 80, 240), 1.0}}));
    // (x, y) inside the rectangle gets step x + y; its top row and right
    // column stay unpainted, and nothing outside it is touched.
    const struct {
        int x, y;
        COLORREF expected;
    } pixels[] = {
        {0, 1, DiagonalStep(1)}, {3, 4, DiagonalStep(7)}, {1, 7, DiagonalStep(8)}, {6, 7, DiagonalStep(13)},
        {6, 1, DiagonalStep(7)}, {0, 0, kBackground},     {5, 0, kBackground},     {7, 4, kBackground},
    };
    for (const auto& p : pixels) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << "," << p.y << ")");
        EXPECT_EQ(Rgb{p.expected}, Rgb{canvas.Pixel(2 + p.x, 3 + p.y)});
    }
    ExpectPixels(canvas, [&](int x, int y) {
        const bool inside = x >= 2 && x < 10 && y >= 3 && y < 11;
        return inside ? canvas.Pixel(x, y) : kBackground;
    });
}

TEST(FillGradient, DiagonalFromTopRight) {
    DibCanvas canvas(14, 14);
    FillGradient(canvas.Dc(), 2, 3, Describe(8, 8, FillDescription::DiagonalTRBL, {{RGB(0, 0, 0), 0.0}, {RGB(160, 80, 240), 1.0}}));
    // Mirrored as width - x: (x, y) gets step y + 8 - x from column 2 on.
    const struct {
        int x, y;
        COLORREF expected;
    } pixels[] = {
        {7, 1, DiagonalStep(2)}, {4, 4, DiagonalStep(8)}, {2, 7, DiagonalStep(13)}, {7, 7, DiagonalStep(8)},
        {3, 0, kBackground},     {0, 4, kBackground},     {1, 4, kBackground},
    };
    for (const auto& p : pixels) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << "," << p.y << ")");
        EXPECT_EQ(Rgb{p.expected}, Rgb{canvas.Pixel(2 + p.x, 3 + p.y)});
    }
    // The walk starts one column right of the rectangle; that column stays clean.
    ExpectPixels(canvas, [&](int x, int y) {
        const bool inside = x >= 2 && x < 10 && y >= 3 && y < 11;
        return inside ? canvas.Pixel(x, y) : kBackground;
    });
}

}  // namespace
