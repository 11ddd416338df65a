#include "atltypes.h"

#include "AtlPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(CRect, MeasuresAndMovesLikeTheWin32Functions) {
    CRect rect(10, 20, 110, 70);
    EXPECT_EQ(rect.Width(), 100);
    EXPECT_EQ(rect.Height(), 50);
    EXPECT_EQ(rect.Size(), CSize(100, 50));
    EXPECT_EQ(rect.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(rect.BottomRight(), CPoint(110, 70));
    EXPECT_EQ(rect.CenterPoint(), CPoint(60, 45));
    EXPECT_TRUE(rect.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(rect.PtInRect(CPoint(110, 70)));  // right and bottom are outside

    rect.OffsetRect(-10, -20);
    EXPECT_EQ(rect, CRect(0, 0, 100, 50));
    rect.DeflateRect(5, 10);
    EXPECT_EQ(rect, CRect(5, 10, 95, 40));
    rect.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(rect, CRect(4, 8, 98, 44));
    rect.MoveToXY(0, 0);
    EXPECT_EQ(rect, CRect(0, 0, 94, 36));
    rect.TopLeft() = CPoint(1, 1);
    EXPECT_EQ(rect, CRect(1, 1, 94, 36));
}

TEST(CRect, CombinesAndNormalizes) {
    CRect a(0, 0, 10, 10), b(5, 5, 20, 20);
    EXPECT_EQ(a & b, CRect(5, 5, 10, 10));
    EXPECT_EQ(a | b, CRect(0, 0, 20, 20));
    CRect none;
    EXPECT_FALSE(none.IntersectRect(&a, CRect(50, 50, 60, 60)));
    EXPECT_TRUE(none.IsRectEmpty());
    EXPECT_TRUE(none.IsRectNull());

    CRect flipped(10, 10, 0, 0);
    EXPECT_TRUE(flipped.IsRectEmpty());
    flipped.NormalizeRect();
    EXPECT_EQ(flipped, CRect(0, 0, 10, 10));

    RECT plain = CRect(CPoint(3, 4), CSize(5, 6));
    EXPECT_EQ(CRect(plain), CRect(3, 4, 8, 10));
}

TEST(CPoint, UnpacksSignedMouseCoordinates) {
    EXPECT_EQ(CPoint(static_cast<LPARAM>(MAKELONG(-5, 7))), CPoint(-5, 7));
    CPoint p(1, 2);
    p += CSize(3, 4);
    EXPECT_EQ(p, CPoint(4, 6));
    EXPECT_EQ(p - CPoint(1, 1), CSize(3, 5));
}

}  // namespace
