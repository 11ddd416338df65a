#include "controls/drawing/DrawManager.h"

#include "testing/DibCanvas.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using Testing::DibCanvas;
using Testing::Rgb;

const COLORREF kBackground = RGB(1, 2, 3);
const COLORREF kBegin = RGB(200, 0, 0);
const COLORREF kMiddle = RGB(0, 160, 0);
const COLORREF kEnd = RGB(0, 0, 240);

// Within one 64th of the way from the other colour.
::testing::AssertionResult Near(COLORREF expected, COLORREF actual) {
    const int tolerance = 5;
    if (std::abs(GetRValue(expected) - GetRValue(actual)) <= tolerance &&
        std::abs(GetGValue(expected) - GetGValue(actual)) <= tolerance &&
        std::abs(GetBValue(expected) - GetBValue(actual)) <= tolerance)
        return ::testing::AssertionSuccess();
    std::ostringstream out;
    out << Rgb{actual} << " is not near " << Rgb{expected};
    return ::testing::AssertionFailure() << out.str();
}

TEST(DrawManagerEffects, GradientEffectsHaveTheirColoursAtTheEnds) {
    struct Case {
        int effect;
        bool horizontal;
        COLORREF first, middle, last;
    } cases[] = {
        {CDrawManager::FillHGradient, true, kBegin, RGB(100, 0, 120), kEnd},
        {CDrawManager::FillVGradient, false, kBegin, RGB(100, 0, 120), kEnd},
        {CDrawManager::FillHCGradient, true, kBegin, kEnd, kBegin},
        {CDrawManager::FillVCGradient, false, kBegin, kEnd, kBegin},
        {CDrawManager::Fill3HGradient, true, kBegin, kMiddle, kEnd},
        {CDrawManager::Fill3VGradient, false, kBegin, kMiddle, kEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "effect " << c.effect);
        const int length = 256;
        DibCanvas canvas(c.horizontal ? length : 3, c.horizontal ? 3 : length, kBackground);
        CDrawManager manager;
        manager.FillEffect(canvas.Dc(), RECT{0, 0, canvas.Width(), canvas.Height()}, c.effect, kBegin, kMiddle, kEnd, 0, 0);
        const auto at = [&](int i) { return c.horizontal ? canvas.Pixel(i, 1) : canvas.Pixel(1, i); };
        EXPECT_EQ(Rgb{c.first}, Rgb{at(0)});
        EXPECT_TRUE(Near(c.middle, at(length / 2)));
        EXPECT_TRUE(Near(c.last, at(length - 1)));
    }
}

TEST(DrawManagerEffects, SolidAndUnknownEffectsFillWithTheBeginColour) {
    for (int effect : {0, 16, -1, 1000}) {
        SCOPED_TRACE(effect);
        DibCanvas canvas(4, 4, kBackground);
        CDrawManager manager;
        manager.FillEffect(canvas.Dc(), RECT{1, 1, 3, 3}, effect, kBegin, kMiddle, kEnd, 5, 0);
        EXPECT_EQ(Rgb{kBegin}, Rgb{canvas.Pixel(1, 1)});
        EXPECT_EQ(Rgb{kBegin}, Rgb{canvas.Pixel(2, 2)});
        EXPECT_EQ(Rgb{kBackground}, Rgb{canvas.Pixel(3, 3)});
    }
}

// The colours of palette entries, read back through a drawn bitmap.
COLORREF PaletteEntry(int blend, int index) {
    CPaletteDib dib;
    EXPECT_NE(nullptr, dib.Create(1, 1, 8));
    CDrawManager::SetEffectPalette(dib, kBegin, kMiddle, kEnd, blend);
    dib.SetPixelIndex(0, 0, static_cast<BYTE>(index));
    DibCanvas canvas(1, 1);
    dib.Draw(canvas.Dc(), 0, 0);
    return canvas.Pixel(0, 0);
}

TEST(DrawManagerEffects, TexturePaletteRunsFromEndThroughMiddleToBegin) {
    struct Case {
        int blend, index;
        COLORREF expected;
    } cases[] = {
        {0, 0, kEnd},
        {0, 64, RGB(0, 80, 120)},
        {0, 127, RGB(0, 160 * 127 / 128, 240 / 128)},
        {0, 128, RGB(200 / 128, 160 * 127 / 128, 0)},  // rewritten by the second run
        {0, 255, kBegin},
        {50, 0, RGB(100, 0, 120)},
        {50, 255, kBegin},
        {150, 0, kBegin},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "entry " << c.index << " blended " << c.blend << "%");
        EXPECT_EQ(Rgb{c.expected}, Rgb{PaletteEntry(c.blend, c.index)});
    }
}

TEST(DrawManagerEffects, TexturesUseOnlyPaletteColours) {
    // With granularity 0 the noise is at most 1, so noise sits at entry 128
    // or 129 and hshade runs from entry 0 at the top down to the bottom.
    CDrawManager manager;
    DibCanvas noise(16, 16, kBackground);
    manager.FillEffect(noise.Dc(), RECT{0, 0, 16, 16}, CDrawManager::FillNoise, kBegin, kMiddle, kEnd, 0, 0);
    const COLORREF entry128 = PaletteEntry(0, 128), entry129 = PaletteEntry(0, 129);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_TRUE(noise.Pixel(x, y) == entry128 || noise.Pixel(x, y) == entry129) << x << "," << y;

    DibCanvas shade(4, 255, kBackground);
    manager.FillEffect(shade.Dc(), RECT{0, 0, 4, 255}, CDrawManager::FillHShade, kBegin, kMiddle, kEnd, 0, 0);
    EXPECT_TRUE(shade.Pixel(1, 0) == PaletteEntry(0, 0) || shade.Pixel(1, 0) == PaletteEntry(0, 1));
    EXPECT_TRUE(shade.Pixel(1, 200) == PaletteEntry(0, 200) || shade.Pixel(1, 200) == PaletteEntry(0, 201));
}

TEST(DrawManagerEffects, TexturedEffectsSurviveAnySize) {
    // Sizes whose divisors were 0: narrow, flat, empty and very wide areas.
    const SIZE sizes[] = {{0, 0}, {1, 1}, {5, 40}, {40, 1}, {33000, 2}, {2, 33000}, {0, 10}, {-4, 3}};
    DibCanvas canvas(8, 8, kBackground);
    for (int effect = CDrawManager::FillNoise; effect <= CDrawManager::FillMetal; ++effect) {
        for (const SIZE& size : sizes) {
            SCOPED_TRACE(testing::Message() << "effect " << effect << " on " << size.cx << " x " << size.cy);
            for (BYTE granularity : {0, 5, 255}) {
                CDrawManager manager;
                manager.FillEffect(canvas.Dc(), RECT{2, 2, 2 + size.cx, 2 + size.cy}, effect, kBegin, kMiddle, kEnd,
                                   granularity, 0);
            }
        }
    }
}

TEST(DrawManagerEffects, EmptyRectangleDrawsNothing) {
    for (int effect = 0; effect <= 15; ++effect) {
        DibCanvas canvas(4, 4, kBackground);
        CDrawManager manager;
        manager.FillEffect(canvas.Dc(), RECT{2, 2, 2, 4}, effect, kBegin, kMiddle, kEnd, 5, 0);
        manager.FillEffect(canvas.Dc(), RECT{3, 3, 1, 1}, effect, kBegin, kMiddle, kEnd, 5, 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(Rgb{kBackground}, Rgb{canvas.Pixel(x, y)}) << "effect " << effect << " at " << x << "," << y;
    }
}

}  // namespace
