#include "controls/drawing/DrawManager.h"

#include "DrawTestSupport.h"
#include "testing/DibCanvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ControlsTesting::MakeImage;
using ControlsTesting::Packed;
using Testing::DibCanvas;
using Testing::Rgb;

const COLORREF kBackground = RGB(1, 2, 3);

// Colours that differ per pixel; alpha 0, as GDI leaves it.
std::uint32_t Pattern(int x, int y) { return 0x00200000u * (x + 1) + 0x00002000u * (y + 1) + 0x40u; }

// Expects every pixel of the canvas, stopping at the first difference.
void ExpectCanvas(const DibCanvas& canvas, const std::function<COLORREF(int x, int y)>& expected) {
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.Pixel(x, y) != expected(x, y)) {
                ADD_FAILURE() << "pixel (" << x << "," << y << ") is " << Rgb{canvas.Pixel(x, y)} << ", expected "
                              << Rgb{expected(x, y)};
                return;
            }
        }
    }
}

COLORREF ToColor(std::uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

// Is (x, y) inside the w x h box at (left, top)?
bool Inside(int x, int y, int left, int top, int w, int h) { return x >= left && y >= top && x < left + w && y < top + h; }

TEST(DrawManagerImages, ImageWithoutMaskColourOrAlphaIsDrawnWhole) {
    auto image = MakeImage(3, 2, Pattern);
    DibCanvas canvas(6, 5, kBackground);
    CDrawManager manager;
    manager.DrawBitmap(canvas.Dc(), 2, 1, 3, 2, image->Handle(), true, RGB(9, 9, 9), 0, false, 0, 0, 0, 0, 0);
    EXPECT_FALSE(manager.ImageHasAlpha());
    ExpectCanvas(canvas, [](int x, int y) {
        return Inside(x, y, 2, 1, 3, 2) ? ToColor(Pattern(x - 2, y - 1)) : kBackground;
    });
}

TEST(DrawManagerImages, MaskColourLeavesTheBackground) {
    const COLORREF mask = RGB(255, 0, 255);
    auto image = MakeImage(2, 2, [&](int x, int y) { return x == y ? Packed(mask) : Pattern(x, y); });
    DibCanvas canvas(2, 2, kBackground);
    CDrawManager manager;
    manager.DrawBitmap(canvas.Dc(), 0, 0, 2, 2, image->Handle(), true, mask, 0, false, 0, 0, 0, 0, 0);
    ExpectCanvas(canvas, [](int x, int y) { return x == y ? kBackground : ToColor(Pattern(x, y)); });
}

TEST(DrawManagerImages, ImageWithAlphaIsBlendedByIt) {
    auto image = MakeImage(3, 1, [](int x, int) {
        const std::uint32_t pixels[] = {0xFFC87828, 0x00C87828, 0x80C87828};
        return pixels[x];
    });
    DibCanvas canvas(3, 1, RGB(10, 20, 30));
    CDrawManager manager;
    manager.DrawBitmap(canvas.Dc(), 0, 0, 3, 1, image->Handle(), false, 0, 0, false, 0, 0, 0, 0, 0);
    EXPECT_TRUE(manager.ImageHasAlpha());
    EXPECT_EQ(Rgb{RGB(0xC8, 0x78, 0x28)}, Rgb{canvas.Pixel(0, 0)});
    EXPECT_EQ(Rgb{RGB(10, 20, 30)}, Rgb{canvas.Pixel(1, 0)});
    const double a = 0x80 / 255.0;
    EXPECT_EQ(Rgb{RGB(int(0xC8 * a + 10 * (1 - a)), int(0x78 * a + 20 * (1 - a)), int(0x28 * a + 30 * (1 - a)))},
              Rgb{canvas.Pixel(2, 0)});
}

TEST(DrawManagerImages, BitmapIsStretchedToTheSizeAsked) {
    auto image = MakeImage(2, 1, Pattern);
    DibCanvas canvas(4, 2, kBackground);
    CDrawManager manager;
    manager.DrawBitmap(canvas.Dc(), 0, 0, 4, 2, image->Handle(), false, 0, 0, false, 0, 0, 0, 0, 0);
    ExpectCanvas(canvas, [](int x, int) { return ToColor(Pattern(x / 2, 0)); });
}

TEST(DrawManagerImages, ShadowPlacement) {
    // A 2 x 2 image at (1, 1) with an offset of (2, 2).
    auto image = MakeImage(2, 2, Pattern);
    const COLORREF background = RGB(200, 200, 200);
    struct Case {
        const char* what;
        DWORD effects;
        bool shadowOn;
        POINT image;
        bool shadow;
    } cases[] = {
        {"shadow off", CDrawManager::EffectShadow, false, {1, 1}, false},
        {"on without a shadow effect moves the image", 0, true, {3, 3}, false},
        {"on with a plain shadow", CDrawManager::EffectShadow, true, {1, 1}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DibCanvas canvas(6, 6, background);
        CDrawManager manager;
        manager.DrawBitmap(canvas.Dc(), 1, 1, 2, 2, image->Handle(), false, 0, c.effects, c.shadowOn, 2, 2, 0, 0,
                           RGB(128, 128, 128));
        ExpectCanvas(canvas, [&](int x, int y) {
            if (Inside(x, y, c.image.x, c.image.y, 2, 2))
                return ToColor(Pattern(x - c.image.x, y - c.image.y));
            if (c.shadow && Inside(x, y, 3, 3, 2, 2))
                return RGB(200 * 128 / 255, 200 * 128 / 255, 200 * 128 / 255);
            return background;
        });
    }
}

TEST(DrawManagerImages, ImageListCellByIndex) {
    // Three columns and two rows of 2 x 2 cells, one colour each.
    const std::uint32_t colours[] = {0x100000, 0x200000, 0x300000, 0x400000, 0x500000, 0x600000};
    auto strip = MakeImage(7, 5, [&](int x, int y) { return x < 6 && y < 4 ? colours[y / 2 * 3 + x / 2] : 0xFFFFFFu; });
    struct Case {
        int index, cellWidth, cellHeight;
        COLORREF expected;
    } cases[] = {
        {0, 2, 2, ToColor(colours[0])}, {4, 2, 2, ToColor(colours[4])}, {5, 2, 2, ToColor(colours[5])},
        {6, 2, 2, kBackground},         {-1, 2, 2, kBackground},        {0, 0, 2, kBackground},
        {0, 2, 0, kBackground},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << c.index << ", cell " << c.cellWidth << " x " << c.cellHeight);
        DibCanvas canvas(2, 2, kBackground);
        CDrawManager manager;
        manager.DrawImageList(canvas.Dc(), 0, 0, 2, 2, strip->Handle(), c.index, c.cellWidth, c.cellHeight, false, 0, 0,
                              false, 0, 0, 0, 0, 0);
        ExpectCanvas(canvas, [&](int, int) { return c.expected; });
    }
}

TEST(DrawManagerImages, IconThroughItsMask) {
    auto color = MakeImage(16, 16, [](int x, int y) { return x < 4 && y < 4 ? 0u : 0x0000C000u; });
    ControlsTesting::TestIcon icon(*color, [](int x, int y) { return x < 4 && y < 4; });
    ASSERT_TRUE(icon.Get());
    struct Case {
        const char* what;
        int size;
        DWORD effects;
        COLORREF opaque;
    } cases[] = {
        {"own size", 16, 0, RGB(0, 0xC0, 0)},
        {"half size", 8, 0, RGB(0, 0xC0, 0)},
        {"flat fill", 16, CDrawManager::EffectFlatFill, RGB(10, 20, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DibCanvas canvas(20, 20, kBackground);
        const COLORREF textColor = ::SetTextColor(canvas.Dc(), RGB(1, 1, 1));
        CDrawManager manager;
        manager.DrawIcon(canvas.Dc(), 2, 2, c.size, c.size, icon.Get(), false, 0, c.effects, false, 0, 0, 0, 0,
                         RGB(10, 20, 30));
        const int corner = c.size / 4;
        ExpectCanvas(canvas, [&](int x, int y) {
            if (!Inside(x, y, 2, 2, c.size, c.size) || Inside(x, y, 2, 2, corner, corner))
                return kBackground;
            return c.opaque;
        });
        EXPECT_EQ(RGB(1, 1, 1), ::GetTextColor(canvas.Dc()));
        ::SetTextColor(canvas.Dc(), textColor);
    }
}

TEST(DrawManagerBlends, OpacityBlend) {
    struct Case {
        int percent;
        COLORREF expected;
    } cases[] = {
        {100, RGB(200, 100, 50)}, {150, RGB(200, 100, 50)}, {0, RGB(10, 20, 30)},
        {-5, RGB(10, 20, 30)},    {50, RGB(105, 60, 40)},
    };
    DibCanvas source(3, 3, RGB(200, 100, 50));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.percent << "%");
        DibCanvas canvas(4, 4, RGB(10, 20, 30));
        CDrawManager manager;
        manager.DrawOpacityBlend(canvas.Dc(), RECT{1, 1, 3, 3}, source.Dc(), 0, 0, c.percent);
        ExpectCanvas(canvas, [&](int x, int y) { return Inside(x, y, 1, 1, 2, 2) ? c.expected : RGB(10, 20, 30); });
    }
}

TEST(DrawManagerBlends, AlphaBlendBySourceAlpha) {
    DibCanvas source(2, 1);
    source.SetRaw(0, 0, 0xFF6496C8);
    source.SetRaw(1, 0, 0x006496C8);
    DibCanvas canvas(2, 1, RGB(7, 8, 9));
    CDrawManager manager;
    manager.DrawAlphaBlend(canvas.Dc(), RECT{0, 0, 2, 1}, source.Dc(), 0, 0);
    EXPECT_EQ(Rgb{RGB(100, 150, 200)}, Rgb{canvas.Pixel(0, 0)});
    EXPECT_EQ(Rgb{RGB(7, 8, 9)}, Rgb{canvas.Pixel(1, 0)});
}

// The canvas after a gradient shadow of a grey square mask.
std::vector<COLORREF> BlurredShadow(int blurX, int blurY) {
    auto mask = MakeImage(20, 16, [](int x, int y) { return x >= 4 && x < 16 && y >= 4 && y < 12 ? 0x404040u : 0xFFFFFFu; });
    DibCanvas canvas(20, 16, RGB(200, 100, 250));
    CDrawManager manager;
    manager.DrawShadow(canvas.Dc(), 0, 0, 20, 16, mask->Handle(), true, blurX, blurY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x)
            pixels.push_back(canvas.Pixel(x, y));
    return pixels;
}

TEST(DrawManagerBlends, GradientShadowUsesOddBlurSizes) {
    const auto blurred = BlurredShadow(5, 7);
    EXPECT_EQ(blurred, BlurredShadow(4, 6));
    EXPECT_NE(blurred, BlurredShadow(7, 7));
    // Dark in the middle, fading toward the edges, untouched at the corners.
    const COLORREF middle = blurred[8 * 20 + 10];
    const COLORREF edge = blurred[8 * 20 + 3];
    EXPECT_LT(GetRValue(middle), GetRValue(edge));
    EXPECT_LT(GetRValue(edge), 200);
    EXPECT_EQ(Rgb{RGB(200, 100, 250)}, Rgb{blurred[0]});
}

TEST(DrawManagerBlends, PlainShadowDarkensByTheMasksBlueByte) {
    auto mask = MakeImage(3, 1, [](int x, int) {
        const std::uint32_t pixels[] = {0xFFFFFF, 0x000080, 0x000000};
        return pixels[x];
    });
    DibCanvas canvas(3, 1, RGB(200, 100, 250));
    CDrawManager manager;
    manager.DrawShadow(canvas.Dc(), 0, 0, 3, 1, mask->Handle(), false, 0, 0);
    EXPECT_EQ(Rgb{RGB(200, 100, 250)}, Rgb{canvas.Pixel(0, 0)});
    EXPECT_EQ(Rgb{RGB(200 * 128 / 255, 100 * 128 / 255, 250 * 128 / 255)}, Rgb{canvas.Pixel(1, 0)});
    EXPECT_EQ(Rgb{RGB(0, 0, 0)}, Rgb{canvas.Pixel(2, 0)});
}

TEST(DrawManagerBlends, BlurLargerThanTheAreaLeavesItAlone) {
    auto mask = MakeImage(6, 6, [](int, int) { return 0u; });
    DibCanvas canvas(6, 6, RGB(90, 90, 90));
    CDrawManager manager;
    manager.DrawShadow(canvas.Dc(), 0, 0, 6, 6, mask->Handle(), true, 63, 63);
    ExpectCanvas(canvas, [](int, int) { return RGB(90, 90, 90); });
}

}  // namespace
