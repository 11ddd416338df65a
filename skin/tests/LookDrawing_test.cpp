#include "skin/commongui/LookDrawing.h"

#include "graphics/commongui/SharedBitmaps.h"
#include "skin/commongui/Canvas.h"

#include "graphics/tests/BitmapPixels.h"
#include "BorrowedDC.h"
#include "graphics/tests/DibCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace {

using namespace CommonGuiLib;
using SkinTesting::BorrowedDC;
using SkinTesting::DibCanvas;
using SkinTesting::ExpectPixels;
using SkinTesting::MakeDib;
using Testing::Bgra;

const COLORREF kBackground = RGB(0, 0, 0);

TEST(GetProgressRect, FilledPartOfTheRectangle) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        double progress;
        int chunk;
        RECT rect;
        int right;
    } cases[] = {
        {0.55, 10, {0, 5, 100, 15}, 50},
        {0.55, 0, {0, 5, 100, 15}, 55},
        {0.55, 10, {20, 5, 120, 15}, 70},
        {1.0, 30, {0, 5, 100, 15}, 90},
        {1.0, 0, {0, 5, 100, 15}, 100},
        {1.5, 10, {0, 5, 100, 15}, 100},
        {1.5, 0, {7, 5, 107, 15}, 107},
        {-0.2, 10, {7, 5, 107, 15}, 7},
        {nan, 0, {7, 5, 107, 15}, 7},
        {infinity, 0, {7, 5, 107, 15}, 107},
        {0.5, 0, {50, 5, 40, 15}, 50},  // no width
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "progress " << c.progress << ", chunk " << c.chunk << ", left "
                                        << c.rect.left);
        ControlLook look;
        look.progress = c.progress;
        look.progressChunkWidth = c.chunk;
        const RECT filled = GetProgressRect(look, c.rect);
        EXPECT_EQ(c.rect.left, filled.left);
        EXPECT_EQ(c.rect.top, filled.top);
        EXPECT_EQ(c.rect.bottom, filled.bottom);
        EXPECT_EQ(c.right, filled.right);
    }
}

// The box of the pixels that differ from the background; empty when none do.
RECT PaintedBox(const DibCanvas& canvas) {
    RECT box = {canvas.Width(), canvas.Height(), 0, 0};
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.Pixel(x, y) == kBackground)
                continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    if (box.right == 0)
        box = {0, 0, 0, 0};
    return box;
}

class LookText : public testing::Test {
protected:
    LookText() {
        m_font = MakeSharedGDIObject<SharedGDIObjectFont>(::CreateFontW(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                                                         CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                                                         DEFAULT_PITCH, L"Tahoma"));
        m_look.text = L"HHH";
        m_look.textFont = m_font;
        m_look.textColor = RGB(255, 255, 255);
    }

    // The text's size with the look's font, measured here and now.
    SIZE Extent() const {
        DibCanvas scratch(1, 1);
        HGDIOBJ previous = ::SelectObject(scratch.Dc(), m_font->GetHandle());
        SIZE size = {};
        ::GetTextExtentPoint32W(scratch.Dc(), m_look.text.c_str(), static_cast<int>(m_look.text.size()), &size);
        ::SelectObject(scratch.Dc(), previous);
        return size;
    }

    // Glyphs do not fill their advance: how far the painted pixels start
    // after the text's left edge and end before its right edge.
    void MeasureBearings(int& left, int& right) const {
        DibCanvas scratch(200, 40, kBackground);
        HGDIOBJ previous = ::SelectObject(scratch.Dc(), m_font->GetHandle());
        ::SetTextColor(scratch.Dc(), RGB(255, 255, 255));
        ::SetBkMode(scratch.Dc(), TRANSPARENT);
        ::TextOutW(scratch.Dc(), 50, 5, m_look.text.c_str(), static_cast<int>(m_look.text.size()));
        ::SelectObject(scratch.Dc(), previous);
        const RECT box = PaintedBox(scratch);
        left = box.left - 50;
        right = 50 + Extent().cx - box.right;
    }

    // Draws through a canvas over a fresh 200 x 40 picture; the painted box.
    RECT Draw(const RECT& rect) {
        m_picture.reset(new DibCanvas(200, 40, kBackground));
        BorrowedDC dc(m_picture->Dc());
        {
            CanvasT<CConstructibleDC> canvas(&dc);
            DrawLookText(canvas, rect, m_look);
        }
        return PaintedBox(*m_picture);
    }

    SharedFont m_font;
    ControlLook m_look;
    std::unique_ptr<DibCanvas> m_picture;
};

TEST_F(LookText, PlacedByOrientation) {
    const RECT rect = {20, 0, 180, 40};
    const int width = Extent().cx;
    int leftBearing = 0, rightBearing = 0;
    MeasureBearings(leftBearing, rightBearing);
    const struct {
        const char* name;
        int orientation;
        double progress;
        int left;   // expected left edge of the text, or
        int right;  // expected right edge of the text
    } cases[] = {
        {"Left", ControlLook::TextLeft, 0.0, 20 + 7, 0},
        {"Right", ControlLook::TextRight, 0.0, 0, 180 - 9},
        {"ProgressRight, fits", ControlLook::TextProgressRight, 0.8, 0, 20 + 128 - 9},
        {"ProgressRight, does not fit", ControlLook::TextProgressRight, 0.1, 20 + 7, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_look.textOrientation = c.orientation;
        m_look.textPaddingLeft = 7;
        m_look.textPaddingRight = 9;
        m_look.progress = c.progress;
        const RECT box = Draw(rect);
        ASSERT_LT(box.left, box.right) << "nothing painted";
        EXPECT_EQ(width - leftBearing - rightBearing, box.right - box.left);
        if (c.left)
            EXPECT_NEAR(c.left + leftBearing, box.left, 2);
        else
            EXPECT_NEAR(c.right - rightBearing, box.right, 2);
        // Centred vertically in the rectangle.
        EXPECT_NEAR(20, (box.top + box.bottom) / 2, 4);
    }
}

TEST_F(LookText, CentreAndPosition) {
    const SIZE extent = Extent();
    int leftBearing = 0, rightBearing = 0;
    MeasureBearings(leftBearing, rightBearing);
    m_look.textOrientation = ControlLook::TextCenter;
    RECT box = Draw(RECT{20, 0, 180, 40});
    EXPECT_NEAR(100, (box.left - leftBearing + box.right + rightBearing) / 2, 2);

    m_look.textOrientation = ControlLook::TextAtPosition;
    m_look.textLeft = 50;
    m_look.textTop = 5;
    box = Draw(RECT{20, 0, 180, 40});
    EXPECT_NEAR(50 + leftBearing, box.left, 2);
    EXPECT_GE(box.top, 5);
    EXPECT_LE(box.bottom, 5 + extent.cy);
}

TEST_F(LookText, EmptyTextPaintsNothing) {
    m_look.text.clear();
    const RECT box = Draw(RECT{0, 0, 200, 40});
    EXPECT_EQ(0, box.right);
}

TEST_F(LookText, FontColourAndModeAreRestored) {
    DibCanvas picture(200, 40, kBackground);
    BorrowedDC dc(picture.Dc());
    HGDIOBJ font = ::GetStockObject(ANSI_VAR_FONT);
    ::SelectObject(picture.Dc(), font);
    ::SetTextColor(picture.Dc(), RGB(9, 9, 9));
    ::SetBkMode(picture.Dc(), OPAQUE);
    DrawingHelpers helpers(dc);
    DrawLookText(helpers, RECT{0, 0, 200, 40}, m_look);
    EXPECT_EQ(font, ::GetCurrentObject(picture.Dc(), OBJ_FONT));
    EXPECT_EQ(RGB(9, 9, 9), ::GetTextColor(picture.Dc()));
    EXPECT_EQ(OPAQUE, ::GetBkMode(picture.Dc()));
    // Drawn in the look's colour over a transparent background.
    bool white = false;
    for (int y = 0; y < 40 && !white; ++y)
        for (int x = 0; x < 200 && !white; ++x)
            white = picture.Pixel(x, y) == RGB(255, 255, 255);
    EXPECT_TRUE(white);
    EXPECT_EQ(kBackground, picture.Pixel(199, 0));
}

TEST(LookPictures, WithoutAPictureNothingIsDrawn) {
    DibCanvas picture(10, 10, kBackground);
    BorrowedDC dc(picture.Dc());
    DrawingHelpers helpers(dc);
    const ControlLook look;
    EXPECT_FALSE(DrawLookBackground(helpers, RECT{0, 0, 10, 10}, look));
    EXPECT_FALSE(DrawLookForeground(helpers, RECT{0, 0, 10, 10}, look));
    ExpectPixels(picture, [](int, int) { return kBackground; });
}

TEST(LookPictures, StretchedOrTiled) {
    // A 2 x 2 picture with a red top-left pixel.
    std::vector<Bgra> pixels(4, Bgra{200, 0, 0, 255});
    pixels[0] = Bgra{0, 0, 255, 255};
    const SharedBitmap bitmap = MakeSharedBitmap(MakeDib(2, 2, 24, pixels), false);
    const struct {
        const char* name;
        bool foreground;
        bool stretch;
    } cases[] = {{"background tiled", false, false},
                 {"background stretched", false, true},
                 {"foreground tiled", true, false},
                 {"foreground stretched", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ControlLook look;
        (c.foreground ? look.foreground : look.background) = bitmap;
        (c.foreground ? look.stretchForeground : look.stretchBackground) = c.stretch;
        DibCanvas picture(10, 10, kBackground);
        BorrowedDC dc(picture.Dc());
        DrawingHelpers helpers(dc);
        const RECT rect = {1, 1, 9, 9};
        EXPECT_TRUE(c.foreground ? DrawLookForeground(helpers, rect, look) : DrawLookBackground(helpers, rect, look));
        ExpectPixels(picture, [&](int x, int y) {
            if (x < 1 || x >= 9 || y < 1 || y >= 9)
                return kBackground;
            // Stretched four times: the red pixel covers 4 x 4.
            const bool red = c.stretch ? x < 5 && y < 5 : (x - 1) % 2 == 0 && (y - 1) % 2 == 0;
            return red ? RGB(255, 0, 0) : RGB(0, 0, 200);
        });
    }
}

}  // namespace
