#include "controls/drawing/PaletteDib.h"

#include "testing/DibCanvas.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using Testing::DibCanvas;
using Testing::Rgb;

const int kHeaderAndTable8 = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);

TEST(PaletteDib, LineWidthIsRoundedToFourBytes) {
    struct Case {
        int width, bits;
        DWORD lineWidth;
    } cases[] = {{3, 8, 4}, {4, 8, 4}, {5, 8, 8}, {1, 1, 4}, {33, 1, 8}, {9, 4, 8}, {3, 24, 12}, {2, 32, 8}, {1, 16, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " pixels at " << c.bits << " bits");
        CPaletteDib dib;
        ASSERT_NE(nullptr, dib.Create(c.width, 2, c.bits));
        EXPECT_EQ(c.lineWidth, dib.GetLineWidth());
    }
}

TEST(PaletteDib, BlockStartsWithTheHeaderThenTheColourTable) {
    CPaletteDib dib;
    BYTE* block = dib.Create(3, 2, 8);
    ASSERT_NE(nullptr, block);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    EXPECT_EQ(40u, header->biSize);
    EXPECT_EQ(3, header->biWidth);
    EXPECT_EQ(2, header->biHeight);
    EXPECT_EQ(1, header->biPlanes);
    EXPECT_EQ(8, header->biBitCount);
    EXPECT_EQ(DWORD(BI_RGB), header->biCompression);
    EXPECT_EQ(8u, header->biSizeImage);
    EXPECT_EQ(block + kHeaderAndTable8, dib.GetBits());
}

TEST(PaletteDib, PixelRowsAreStoredBottomUp) {
    CPaletteDib dib;
    ASSERT_NE(nullptr, dib.Create(3, 4, 8));
    dib.Clear(7);
    dib.SetPixelIndex(1, 0, 200);  // top line: the block's last row
    dib.SetPixelIndex(2, 3, 100);  // bottom line: the block's first row
    const BYTE* bits = dib.GetBits();
    EXPECT_EQ(200, bits[3 * 4 + 1]);
    EXPECT_EQ(100, bits[2]);
    EXPECT_EQ(7, bits[0]);
    EXPECT_EQ(7, bits[3 * 4 + 3]);  // padding is cleared too
    // Outside the bitmap nothing is written.
    dib.SetPixelIndex(-1, 0, 1);
    dib.SetPixelIndex(3, 0, 1);
    dib.SetPixelIndex(0, 4, 1);
    dib.SetPixelIndex(0, -1, 1);
    for (int i = 0; i < 16; ++i) {
        if (i != 3 * 4 + 1 && i != 2) {
            EXPECT_EQ(7, bits[i]) << "byte " << i;
        }
    }
}

TEST(PaletteDib, BlendPaletteMovesEveryEntry) {
    CPaletteDib dib;
    BYTE* block = dib.Create(1, 1, 8);
    ASSERT_NE(nullptr, block);
    const auto* table = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    dib.SetPaletteIndex(0, 200, 100, 0);
    dib.SetPaletteIndex(255, 10, 20, 30);
    dib.BlendPalette(RGB(0, 0, 100), 50);
    EXPECT_EQ(100, table[0].rgbRed);
    EXPECT_EQ(50, table[0].rgbGreen);
    EXPECT_EQ(50, table[0].rgbBlue);
    EXPECT_EQ(5, table[255].rgbRed);
    EXPECT_EQ(10, table[255].rgbGreen);
    EXPECT_EQ(65, table[255].rgbBlue);
    dib.BlendPalette(RGB(1, 2, 3), 150);  // counts as 100
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(1, table[i].rgbRed) << i;
        ASSERT_EQ(2, table[i].rgbGreen) << i;
        ASSERT_EQ(3, table[i].rgbBlue) << i;
        ASSERT_EQ(0, table[i].rgbReserved) << i;
    }
}

TEST(PaletteDib, WithoutColourTableIndexCallsDoNothing) {
    CPaletteDib dib;
    BYTE* block = dib.Create(2, 2, 24);
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(block + sizeof(BITMAPINFOHEADER), dib.GetBits());
    dib.Clear(9);
    dib.SetPaletteIndex(0, 1, 2, 3);
    dib.SetPixelIndex(0, 0, 1);
    dib.BlendPalette(RGB(255, 255, 255), 100);
    for (DWORD i = 0; i < 2 * dib.GetLineWidth(); ++i)
        EXPECT_EQ(9, dib.GetBits()[i]) << "byte " << i;
}

TEST(PaletteDib, PaletteIndexOutsideTheTableIsIgnored) {
    CPaletteDib dib;
    BYTE* block = dib.Create(8, 1, 1);
    ASSERT_NE(nullptr, block);
    const auto* table = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
    dib.SetPaletteIndex(1, 9, 9, 9);
    dib.SetPaletteIndex(2, 5, 5, 5);   // past the 2 entries: would be the pixel row
    dib.SetPaletteIndex(-1, 5, 5, 5);
    EXPECT_EQ(9, table[1].rgbRed);
    EXPECT_EQ(0, dib.GetBits()[0]);
    // At 1 bit a row holds 4 bytes for 8 pixels: bytes past the row are not written.
    dib.SetPixelIndex(7, 0, 0xAB);
    EXPECT_EQ(0, dib.GetBits()[3]);
}

TEST(PaletteDib, CreateRefusesSizesItCannotHold) {
    struct Case {
        int width, height, bits;
    } cases[] = {{0, 5, 8}, {-1, 5, 8}, {5, 0, 8}, {5, -3, 8}, {70000, 70000, 32}, {65536, 65536, 8}, {4, 4, 7}, {4, 4, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " x " << c.bits);
        CPaletteDib dib;
        ASSERT_NE(nullptr, dib.Create(2, 2, 8));
        EXPECT_EQ(nullptr, dib.Create(c.width, c.height, c.bits));
        // Empty afterwards: every operation is harmless.
        EXPECT_EQ(nullptr, dib.GetBits());
        EXPECT_EQ(0u, dib.GetLineWidth());
        dib.Clear(1);
        dib.SetPixelIndex(0, 0, 1);
        dib.SetPaletteIndex(0, 1, 1, 1);
        dib.BlendPalette(RGB(1, 1, 1), 50);
        DibCanvas canvas(4, 4);
        dib.Draw(canvas.Dc(), 0, 0);
        EXPECT_EQ(Rgb{RGB(1, 2, 3)}, Rgb{canvas.Pixel(0, 0)});
    }
}

TEST(PaletteDib, DrawPutsThePixelsOnTheDC) {
    CPaletteDib dib;
    ASSERT_NE(nullptr, dib.Create(3, 2, 8));
    dib.SetPaletteIndex(0, 255, 0, 0);
    dib.SetPaletteIndex(1, 0, 255, 0);
    dib.SetPaletteIndex(2, 0, 0, 255);
    dib.Clear(0);
    dib.SetPixelIndex(1, 0, 1);
    dib.SetPixelIndex(2, 1, 2);
    DibCanvas canvas(6, 5);
    dib.Draw(canvas.Dc(), 2, 1);
    EXPECT_EQ(Rgb{RGB(255, 0, 0)}, Rgb{canvas.Pixel(2, 1)});
    EXPECT_EQ(Rgb{RGB(0, 255, 0)}, Rgb{canvas.Pixel(3, 1)});
    EXPECT_EQ(Rgb{RGB(0, 0, 255)}, Rgb{canvas.Pixel(4, 2)});
    EXPECT_EQ(Rgb{RGB(1, 2, 3)}, Rgb{canvas.Pixel(1, 1)});
    EXPECT_EQ(Rgb{RGB(1, 2, 3)}, Rgb{canvas.Pixel(5, 1)});
    EXPECT_EQ(Rgb{RGB(1, 2, 3)}, Rgb{canvas.Pixel(2, 3)});

    // Later changes of pixels and colours show on the next draw.
    dib.SetPixelIndex(0, 0, 2);
    dib.SetPaletteIndex(2, 10, 20, 30);
    dib.Draw(canvas.Dc(), 2, 1);
    EXPECT_EQ(Rgb{RGB(10, 20, 30)}, Rgb{canvas.Pixel(2, 1)});
    EXPECT_EQ(Rgb{RGB(10, 20, 30)}, Rgb{canvas.Pixel(4, 2)});
}

}  // namespace
