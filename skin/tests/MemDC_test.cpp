#include "skin/commongui/MemDC.h"

#include "BorrowedDC.h"
#include "graphics/tests/DibCanvas.h"

#include <gtest/gtest.h>

namespace {

using CommonGuiLib::CMemDC;
using SkinTesting::BorrowedDC;
using SkinTesting::DibCanvas;
using SkinTesting::ExpectPixels;
using SkinTesting::Rgb;

const COLORREF kRed = RGB(255, 0, 0);

COLORREF Pattern(int x, int y) { return RGB(x * 6, y * 6, (x + y) % 2 ? 200 : 50); }

void Paint(DibCanvas& canvas) {
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            canvas.SetPixel(x, y, Pattern(x, y));
}

bool Inside(int x, int y, const RECT& rect) { return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom; }

TEST(CMemDC, NothingReachesTheTargetBeforeDestruction) {
    DibCanvas screen(40, 40);
    Paint(screen);
    BorrowedDC target(screen.Dc());
    const RECT buffered = {5, 5, 25, 25};
    const RECT square = {10, 10, 15, 15};
    {
        CMemDC memory(&target, true, &buffered);
        EXPECT_TRUE(memory.IsBuffering());
        EXPECT_NE(target.m_hDC, memory.m_hDC);
        // Started as a copy of the target.
        EXPECT_EQ(Rgb{Pattern(6, 7)}, Rgb{memory.GetPixel(6, 7)});
        memory.FillSolidRect(&square, kRed);
        ExpectPixels(screen, Pattern);
    }
    ExpectPixels(screen, [&](int x, int y) { return Inside(x, y, square) ? kRed : Pattern(x, y); });
}

TEST(CMemDC, FillConstructorFillsTheBufferedRectangle) {
    DibCanvas screen(40, 40);
    Paint(screen);
    BorrowedDC target(screen.Dc());
    const RECT buffered = {3, 4, 20, 30};
    { CMemDC memory(&target, RGB(0, 255, 0), &buffered); }
    ExpectPixels(screen, [&](int x, int y) { return Inside(x, y, buffered) ? RGB(0, 255, 0) : Pattern(x, y); });
}

TEST(CMemDC, WithoutRectangleBuffersTheClipBox) {
    DibCanvas screen(40, 40);
    Paint(screen);
    BorrowedDC target(screen.Dc());
    target.IntersectClipRect(10, 10, 30, 30);
    {
        CMemDC memory(&target, RGB(0, 0, 255), nullptr);
        const RECT expected = {10, 10, 30, 30};
        EXPECT_TRUE(::EqualRect(&expected, &memory.GetBufferedRect()));
        // The copy back covers the buffer, not what the target clips.
        target.SelectClipRgn(nullptr);
        memory.FillSolidRect(0, 0, 40, 40, RGB(0, 0, 255));
    }
    ExpectPixels(screen, [](int x, int y) {
        return x >= 10 && x < 30 && y >= 10 && y < 30 ? RGB(0, 0, 255) : Pattern(x, y);
    });
}

TEST(CMemDC, DrawingKeepsTheTargetsLogicalCoordinates) {
    DibCanvas screen(40, 40);
    BorrowedDC target(screen.Dc());
    target.SetViewportOrg(20, 10);
    const RECT buffered = {0, 0, 15, 15};
    {
        CMemDC memory(&target, RGB(9, 9, 9), &buffered);
        memory.SetPixel(5, 5, kRed);
    }
    EXPECT_EQ(Rgb{kRed}, Rgb{screen.Pixel(25, 15)});
    EXPECT_EQ(Rgb{RGB(9, 9, 9)}, Rgb{screen.Pixel(20, 10)});
    EXPECT_EQ(Rgb{RGB(9, 9, 9)}, Rgb{screen.Pixel(34, 24)});
    EXPECT_EQ(Rgb{RGB(1, 2, 3)}, Rgb{screen.Pixel(19, 10)});
    EXPECT_EQ(Rgb{RGB(1, 2, 3)}, Rgb{screen.Pixel(35, 25)});
}

TEST(CMemDC, TransparencyPercentBlendsTheCopyBack) {
    const struct {
        int percent;
        int channel;
    } cases[] = {{0, 255}, {-3, 255}, {1, 252}, {50, 127}, {99, 2}, {100, 0}, {150, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "percent " << c.percent);
        DibCanvas screen(4, 4, RGB(0, 0, 0));
        BorrowedDC target(screen.Dc());
        {
            CMemDC memory(&target, RGB(255, 255, 255), nullptr);
            memory.SetTransparencyPercent(c.percent);
        }
        EXPECT_EQ(Rgb{RGB(c.channel, c.channel, c.channel)}, Rgb{screen.Pixel(2, 1)});
    }
}

TEST(CMemDC, PrintingTargetIsDrawnOnDirectly) {
    DibCanvas paper(10, 10);
    BorrowedDC printer(paper.Dc(), true);
    const RECT buffered = {0, 0, 10, 10};
    {
        CMemDC memory(&printer, true, &buffered);
        EXPECT_FALSE(memory.IsBuffering());
        EXPECT_EQ(paper.Dc(), memory.m_hDC);
        EXPECT_EQ(paper.Dc(), memory.m_hAttribDC);
        EXPECT_TRUE(memory.IsPrinting());
        memory.SetPixel(2, 3, kRed);
        EXPECT_EQ(Rgb{kRed}, Rgb{paper.Pixel(2, 3)});
        memory.SetTransparencyPercent(50);
    }
    EXPECT_EQ(OBJ_MEMDC, static_cast<int>(::GetObjectType(paper.Dc())));
    EXPECT_EQ(paper.Dc(), printer.m_hDC);
    EXPECT_EQ(Rgb{kRed}, Rgb{paper.Pixel(2, 3)});
    EXPECT_EQ(Rgb{RGB(1, 2, 3)}, Rgb{paper.Pixel(3, 3)});
    // Still usable.
    EXPECT_NE(CLR_INVALID, ::SetPixel(paper.Dc(), 0, 0, kRed));
}

TEST(CMemDC, FreesItsOwnDCAndBitmap) {
    DibCanvas screen(8, 8);
    BorrowedDC target(screen.Dc());
    HDC memoryDC = nullptr;
    HGDIOBJ bitmap = nullptr;
    {
        CMemDC memory(&target, true);
        memoryDC = memory.m_hDC;
        bitmap = ::GetCurrentObject(memoryDC, OBJ_BITMAP);
        EXPECT_EQ(OBJ_BITMAP, static_cast<int>(::GetObjectType(bitmap)));
    }
    EXPECT_EQ(0u, ::GetObjectType(memoryDC));
    EXPECT_EQ(0u, ::GetObjectType(bitmap));
}

}  // namespace
