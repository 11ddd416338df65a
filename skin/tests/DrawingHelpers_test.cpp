#include "skin/commongui/DrawingHelpers.h"

#include "graphics/commongui/SharedBitmaps.h"
#include "skin/commongui/UserInput.h"

#include "graphics/tests/BitmapPixels.h"
#include "BorrowedDC.h"
#include "graphics/tests/DibCanvas.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using namespace CommonGuiLib;
using SkinTesting::BorrowedDC;
using SkinTesting::DibCanvas;
using SkinTesting::ExpectPixels;
using SkinTesting::MakeDib;
using SkinTesting::ReadDibSection32;
using SkinTesting::Rgb;
using Testing::Bgra;

const COLORREF kBackground = RGB(1, 2, 3);

Bgra ToBgra(COLORREF color, BYTE alpha = 255) { return {GetBValue(color), GetGValue(color), GetRValue(color), alpha}; }

SharedBitmap Solid(int width, int height, COLORREF color, int bitCount = 24) {
    return MakeSharedBitmap(MakeDib(width, height, bitCount, std::vector<Bgra>(width * height, ToBgra(color))), false);
}

// `color` with its top-left pixel `mark`.
SharedBitmap Marked(int width, int height, COLORREF color, COLORREF mark) {
    std::vector<Bgra> pixels(width * height, ToBgra(color));
    pixels[0] = ToBgra(mark);
    return MakeSharedBitmap(MakeDib(width, height, 24, pixels), false);
}

bool Near(COLORREF actual, int red, int green, int blue) {
    return std::abs(GetRValue(actual) - red) <= 1 && std::abs(GetGValue(actual) - green) <= 1 &&
           std::abs(GetBValue(actual) - blue) <= 1;
}

// The helpers over a canvas of the test's own.
struct Drawing {
    explicit Drawing(int width, int height, COLORREF background = kBackground)
        : canvas(width, height, background), dc(canvas.Dc()), helpers(dc) {}
    DibCanvas canvas;
    BorrowedDC dc;
    DrawingHelpers helpers;
};

TEST(StretchBitmap, ZeroRightAndBottomMeanTheBitmapsOwnSize) {
    Drawing drawing(30, 30);
    drawing.helpers.StretchBitmap(Solid(4, 3, RGB(200, 0, 0)), RECT{10, 20, 0, 0}, 0, false, false);
    ExpectPixels(drawing.canvas, [](int x, int y) {
        return x >= 10 && x < 14 && y >= 20 && y < 23 ? RGB(200, 0, 0) : kBackground;
    });
}

TEST(StretchBitmap, ScalesIntoTheRectangle) {
    Drawing drawing(12, 12);
    drawing.helpers.StretchBitmap(Solid(2, 2, RGB(0, 90, 0)), RECT{3, 2, 9, 10}, 0, false, false);
    ExpectPixels(drawing.canvas, [](int x, int y) {
        return x >= 3 && x < 9 && y >= 2 && y < 10 ? RGB(0, 90, 0) : kBackground;
    });
}

TEST(StretchBitmap, TransparencyPercent) {
    const struct {
        int percent;
        int channel;
    } cases[] = {{-5, 255}, {0, 255}, {1, 252}, {50, 127}, {100, 0}, {150, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "percent " << c.percent);
        Drawing drawing(4, 4, RGB(0, 0, 0));
        drawing.helpers.StretchBitmap(Solid(4, 4, RGB(255, 255, 255)), RECT{0, 0, 4, 4}, c.percent, false, false);
        EXPECT_EQ(Rgb{RGB(c.channel, c.channel, c.channel)}, Rgb{drawing.canvas.Pixel(1, 2)});
    }
}

TEST(StretchBitmap, StraightAlphaIsDrawnFromAPremultipliedCopy) {
    const std::vector<Bgra> straight = {{200, 100, 50, 128}};
    const SharedBitmap bitmap = MakeSharedBitmap(MakeDib(1, 1, 32, straight), false);
    Drawing drawing(3, 3, RGB(0, 0, 0));
    drawing.helpers.StretchBitmap(bitmap, RECT{1, 1, 0, 0}, 0, true, false);
    const COLORREF drawn = drawing.canvas.Pixel(1, 1);
    EXPECT_TRUE(Near(drawn, 25, 50, 100)) << Rgb{drawn};
    EXPECT_EQ(straight, ReadDibSection32(bitmap->GetHandle()));
    EXPECT_EQ(Rgb{RGB(0, 0, 0)}, Rgb{drawing.canvas.Pixel(2, 1)});
}

TEST(StretchBitmap, TwoArgumentFormTakesItsFlagsFromTheBitmapsDepth) {
    // 32 bits: blended with its own alpha, as premultiplied already.
    const std::vector<Bgra> premultiplied = {{100, 50, 25, 128}};
    const SharedBitmap deep = MakeSharedBitmap(MakeDib(1, 1, 32, premultiplied), false);
    Drawing overWhite(2, 2, RGB(255, 255, 255));
    overWhite.helpers.StretchBitmap(deep, RECT{0, 0, 0, 0});
    const COLORREF blended = overWhite.canvas.Pixel(0, 0);
    EXPECT_TRUE(Near(blended, 25 + 127, 50 + 127, 100 + 127)) << Rgb{blended};
    EXPECT_EQ(premultiplied, ReadDibSection32(deep->GetHandle()));

    // 24 bits: a plain copy.
    Drawing copied(2, 2, RGB(255, 255, 255));
    copied.helpers.StretchBitmap(Solid(1, 1, RGB(25, 50, 100)), RECT{0, 0, 0, 0});
    EXPECT_EQ(Rgb{RGB(25, 50, 100)}, Rgb{copied.canvas.Pixel(0, 0)});
}

TEST(StretchBitmap, NullBitmapDrawsNothing) {
    Drawing drawing(4, 4);
    drawing.helpers.StretchBitmap(SharedBitmap(), RECT{0, 0, 4, 4}, 0, false, false);
    drawing.helpers.StretchBitmap(MakeSharedBitmap(nullptr, false), RECT{0, 0, 4, 4});
    drawing.helpers.DrawBitmap(SharedBitmap(), RECT{0, 0, 4, 4});
    ExpectPixels(drawing.canvas, [](int, int) { return kBackground; });
}

TEST(StretchBitmap, OneBitmapDrawnByNestedHelpersAndAgain) {
    // The helpers keep the last bitmap selected between drawings, and a
    // bitmap is selected into one DC at a time: each drawing must still
    // find it, whichever helpers held it last.
    const SharedBitmap bitmap = Solid(2, 2, RGB(0, 150, 0));
    Drawing outer(6, 2);
    outer.helpers.StretchBitmap(bitmap, RECT{0, 0, 0, 0});
    {
        Drawing inner(6, 2);
        inner.helpers.StretchBitmap(bitmap, RECT{2, 0, 0, 0});
        inner.helpers.DrawBitmap(bitmap, RECT{4, 0, 6, 2});
        ExpectPixels(inner.canvas, [](int x, int) { return x >= 2 ? RGB(0, 150, 0) : kBackground; });
    }
    outer.helpers.DrawBitmap(bitmap, RECT{4, 0, 6, 2});
    ExpectPixels(outer.canvas, [](int x, int) { return x < 2 || x >= 4 ? RGB(0, 150, 0) : kBackground; });
}

TEST(StretchBitmap, StraightAlphaAfterTheSameBitmapWasDrawnAsIs) {
    // First as premultiplied (its own pixels), then as straight alpha: the
    // second drawing is made from a fresh premultiplied copy.
    const std::vector<Bgra> pixels = {{200, 100, 50, 128}};
    const SharedBitmap bitmap = MakeSharedBitmap(MakeDib(1, 1, 32, pixels), false);
    Drawing drawing(2, 1, RGB(0, 0, 0));
    drawing.helpers.StretchBitmap(bitmap, RECT{0, 0, 0, 0}, 0, true, true);
    drawing.helpers.StretchBitmap(bitmap, RECT{1, 0, 0, 0}, 0, true, false);
    EXPECT_TRUE(Near(drawing.canvas.Pixel(0, 0), 50, 100, 200)) << Rgb{drawing.canvas.Pixel(0, 0)};
    EXPECT_TRUE(Near(drawing.canvas.Pixel(1, 0), 25, 50, 100)) << Rgb{drawing.canvas.Pixel(1, 0)};
    EXPECT_EQ(pixels, ReadDibSection32(bitmap->GetHandle()));
}

TEST(DrawBitmap, TilesFromTheTopLeftCorner) {
    // 25 x 10 into 60 x 15: columns 25, 25, 10 wide, rows 10, 5 high.
    Drawing drawing(70, 25);
    const COLORREF mark = RGB(255, 0, 0);
    const COLORREF fill = RGB(0, 0, 200);
    drawing.helpers.DrawBitmap(Marked(25, 10, fill, mark), RECT{5, 5, 65, 20}, 0, false, false);
    ExpectPixels(drawing.canvas, [&](int x, int y) {
        if (x < 5 || x >= 65 || y < 5 || y >= 20)
            return kBackground;
        return (x - 5) % 25 == 0 && (y - 5) % 10 == 0 ? mark : fill;
    });
}

TEST(DrawBitmap, TransparencyAndAlpha) {
    Drawing half(10, 10, RGB(0, 0, 0));
    half.helpers.DrawBitmap(Solid(3, 3, RGB(255, 255, 255)), RECT{0, 0, 10, 10}, 50, false, false);
    ExpectPixels(half.canvas, [](int, int) { return RGB(127, 127, 127); });

    Drawing invisible(10, 10, RGB(0, 0, 0));
    invisible.helpers.DrawBitmap(Solid(3, 3, RGB(255, 255, 255)), RECT{0, 0, 10, 10}, 150, false, false);
    ExpectPixels(invisible.canvas, [](int, int) { return RGB(0, 0, 0); });

    const std::vector<Bgra> straight(4, Bgra{200, 100, 50, 128});
    const SharedBitmap bitmap = MakeSharedBitmap(MakeDib(2, 2, 32, straight), false);
    Drawing alpha(5, 5, RGB(0, 0, 0));
    alpha.helpers.DrawBitmap(bitmap, RECT{0, 0, 5, 5}, 0, true, false);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_TRUE(Near(alpha.canvas.Pixel(x, y), 25, 50, 100)) << x << "," << y;
    EXPECT_EQ(straight, ReadDibSection32(bitmap->GetHandle()));
}

TEST(Blit, CopiesScalesAndBlends) {
    DibCanvas source(10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            source.SetPixel(x, y, RGB(x * 20, y * 20, 255));
    BorrowedDC sourceDC(source.Dc());

    Drawing copy(10, 10);
    copy.helpers.Blit(sourceDC, RECT{1, 2, 5, 5}, RECT{4, 3, 8, 6}, 0);
    ExpectPixels(copy.canvas, [](int x, int y) {
        return x >= 1 && x < 5 && y >= 2 && y < 5 ? RGB((x + 3) * 20, (y + 1) * 20, 255) : kBackground;
    });

    DibCanvas plain(2, 2, RGB(0, 200, 0));
    BorrowedDC plainDC(plain.Dc());
    Drawing stretched(10, 10);
    stretched.helpers.Blit(plainDC, RECT{2, 2, 8, 9}, RECT{0, 0, 2, 2}, 0);
    ExpectPixels(stretched.canvas, [](int x, int y) {
        return x >= 2 && x < 8 && y >= 2 && y < 9 ? RGB(0, 200, 0) : kBackground;
    });

    DibCanvas white(4, 4, RGB(255, 255, 255));
    BorrowedDC whiteDC(white.Dc());
    for (int percent : {50, 150}) {
        SCOPED_TRACE(testing::Message() << "percent " << percent);
        Drawing blended(4, 4, RGB(0, 0, 0));
        blended.helpers.Blit(whiteDC, RECT{0, 0, 4, 4}, RECT{0, 0, 4, 4}, percent);
        const int channel = percent == 50 ? 127 : 0;
        ExpectPixels(blended.canvas, [&](int, int) { return RGB(channel, channel, channel); });
    }
}

SharedIcon SolidIcon(int size, COLORREF color) {
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = MakeDib(size, size, 32, std::vector<Bgra>(size * size, ToBgra(color)));
    info.hbmMask = ::CreateBitmap(size, size, 1, 1, nullptr);
    // An all-zero mask: every pixel opaque.
    std::vector<BYTE> zeros(((size + 15) / 16) * 2 * size, 0);
    ::SetBitmapBits(info.hbmMask, static_cast<DWORD>(zeros.size()), zeros.data());
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return MakeSharedGDIObject<SharedGDIObjectIcon>(icon);
}

TEST(DrawIcon, AtItsOwnSizeOrScaledToTheRectangle) {
    const SharedIcon icon = SolidIcon(8, RGB(0, 0, 220));
    ASSERT_FALSE(IsNullGDIObject(icon));

    Drawing atPoint(20, 20);
    atPoint.helpers.DrawIcon(icon, POINT{3, 4});
    ExpectPixels(atPoint.canvas, [](int x, int y) {
        return x >= 3 && x < 11 && y >= 4 && y < 12 ? RGB(0, 0, 220) : kBackground;
    });

    Drawing scaled(20, 20);
    scaled.helpers.DrawIcon(icon, RECT{2, 1, 18, 17});
    ExpectPixels(scaled.canvas, [](int x, int y) {
        return x >= 2 && x < 18 && y >= 1 && y < 17 ? RGB(0, 0, 220) : kBackground;
    });

    Drawing none(4, 4);
    none.helpers.DrawIcon(SharedIcon(), POINT{0, 0});
    none.helpers.DrawIcon(MakeSharedGDIObject<SharedGDIObjectIcon>(nullptr), RECT{0, 0, 4, 4});
    ExpectPixels(none.canvas, [](int, int) { return kBackground; });
}

// The left button as the test wants it; records that it was asked.
class LeftButton {
public:
    explicit LeftButton(bool held) : m_input(_Table(held, m_asked)) {}
    bool Asked() const { return m_asked; }

private:
    static InputFunctions _Table(bool held, bool& asked) {
        InputFunctions table;
        table.getKeyState = [held, &asked](int key) -> SHORT {
            if (key != VK_LBUTTON)
                return 0;
            asked = true;
            return held ? static_cast<SHORT>(0x8000) : 0;
        };
        return table;
    }
    bool m_asked = false;
    ScopedInputFunctions m_input;
};

TEST(DrawStateImage, PicksThePictureOfTheState) {
    const COLORREF normal = RGB(200, 0, 0), over = RGB(0, 200, 0), down = RGB(0, 0, 200), disabled = RGB(90, 90, 90);
    StatePictures pictures;
    pictures.normal = Solid(4, 4, normal);
    pictures.over = Solid(4, 4, over);
    pictures.down = Solid(4, 4, down);
    pictures.disabled = Solid(4, 4, disabled);
    const struct {
        bool enabled, hot, button;
        COLORREF expected;
    } cases[] = {
        {false, false, false, disabled}, {false, true, false, disabled}, {false, false, true, disabled},
        {false, true, true, disabled},   {true, true, true, down},       {true, false, true, normal},
        {true, true, false, over},       {true, false, false, normal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "enabled " << c.enabled << ", hot " << c.hot << ", button " << c.button);
        LeftButton button(c.button);
        Drawing drawing(11, 11);
        drawing.helpers.DrawStateImage(pictures, RECT{0, 0, 11, 11}, c.hot, c.enabled);
        // A 4 x 4 picture in 11 x 11 lands at (3, 3).
        ExpectPixels(drawing.canvas, [&](int x, int y) {
            return x >= 3 && x < 7 && y >= 3 && y < 7 ? c.expected : kBackground;
        });
        if (c.enabled) {
            EXPECT_TRUE(button.Asked());
        }
    }
}

TEST(DrawStateImage, CentresLargerPicturesWithOffsetsTruncatedTowardZero) {
    LeftButton button(false);
    StatePictures pictures;
    pictures.normal = Marked(15, 13, RGB(0, 0, 200), RGB(255, 0, 0));
    Drawing drawing(30, 30);
    // (10 - 15) / 2 = -2 and (10 - 13) / 2 = -1: the corner at (8, 9).
    drawing.helpers.DrawStateImage(pictures, RECT{10, 10, 20, 20}, false, true);
    ExpectPixels(drawing.canvas, [](int x, int y) {
        if (x < 8 || x >= 23 || y < 9 || y >= 22)
            return kBackground;
        return x == 8 && y == 9 ? RGB(255, 0, 0) : RGB(0, 0, 200);
    });
}

TEST(DrawStateImage, EmptyRectangleGetsThePictureAtItsCorner) {
    LeftButton button(false);
    StatePictures pictures;
    pictures.over = Solid(3, 2, RGB(0, 200, 0));
    Drawing drawing(10, 10);
    drawing.helpers.DrawStateImage(pictures, RECT{4, 5, 4, 9}, true, true);
    ExpectPixels(drawing.canvas, [](int x, int y) {
        return x >= 4 && x < 7 && y >= 5 && y < 7 ? RGB(0, 200, 0) : kBackground;
    });
}

TEST(DrawStateImage, PerPixelFlagsOfTheRecordAreUsed) {
    LeftButton button(false);
    const std::vector<Bgra> straight(4, Bgra{200, 100, 50, 128});
    StatePictures pictures;
    pictures.normal = MakeSharedBitmap(MakeDib(2, 2, 32, straight), false);
    pictures.perPixelAlpha = true;
    Drawing drawing(2, 2, RGB(0, 0, 0));
    drawing.helpers.DrawStateImage(pictures, RECT{0, 0, 2, 2}, false, true);
    EXPECT_TRUE(Near(drawing.canvas.Pixel(1, 1), 25, 50, 100)) << Rgb{drawing.canvas.Pixel(1, 1)};
    EXPECT_EQ(straight, ReadDibSection32(pictures.normal->GetHandle()));
}

}  // namespace
