#include "skin/commongui/AnchoredRegionSet.h"
#include "skin/commongui/RegionHelpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using namespace CommonGuiLib;
typedef AnchoredRegionSet Set;

SharedRegion RectRegion(int left, int top, int right, int bottom) {
    return MakeSharedGDIObject<SharedGDIObjectRegion>(::CreateRectRgn(left, top, right, bottom));
}

SharedRegion UnionOf(std::initializer_list<RECT> rects) {
    SharedRegion result = RectRegion(0, 0, 0, 0);
    for (const RECT& rect : rects) {
        SharedRegion part = RectRegion(rect.left, rect.top, rect.right, rect.bottom);
        ::CombineRgn(result->GetHandle(), result->GetHandle(), part->GetHandle(), RGN_OR);
    }
    return result;
}

std::string Describe(const RECT& rect) {
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + ")";
}

void ExpectBox(const RECT& expected, const RECT& actual) {
    EXPECT_TRUE(::EqualRect(&expected, &actual)) << "expected " << Describe(expected) << ", got " << Describe(actual);
}

TEST(AnchoredRegionSet, ItemsFollowTheirAnchorsWhenTheSetIsLaidOutAgain) {
    struct Case {
        const char* name;
        UINT anchors;
        SIZE newSize;
        RECT expected;
    };
    // Every item: (10, 10) 40 x 20, added while the set is laid out at 200 x 100.
    const Case cases[] = {
        {"Right|Top moves with the right edge", Set::AnchorRight | Set::AnchorTop, {250, 100}, {60, 10, 100, 30}},
        {"Left|Right stretches", Set::AnchorLeft | Set::AnchorRight, {250, 100}, {10, 10, 100, 30}},
        {"Left|Top stays", Set::AnchorLeft | Set::AnchorTop, {250, 130}, {10, 10, 50, 30}},
        {"Top|Bottom stretches down", Set::AnchorLeft | Set::AnchorTop | Set::AnchorBottom, {200, 130}, {10, 10, 50, 60}},
        {"Bottom alone moves down", Set::AnchorLeft | Set::AnchorBottom, {200, 130}, {10, 40, 50, 60}},
        {"HorzCenter: 7 wider moves 3", Set::AnchorTop | Set::AnchorHorzCenter, {207, 100}, {13, 10, 53, 30}},
        {"HorzCenter: 7 narrower moves -3", Set::AnchorTop | Set::AnchorHorzCenter, {193, 100}, {7, 10, 47, 30}},
        {"VertCenter: 9 taller moves 4", Set::AnchorLeft | Set::AnchorVertCenter, {200, 109}, {10, 14, 50, 34}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Set set;
        set.Layout(200, 100);
        ASSERT_TRUE(set.AddRect(0, RECT{10, 10, 50, 30}, c.anchors, 0));
        ExpectBox(RECT{10, 10, 50, 30}, set.GetItemBox(0));
        set.Layout(c.newSize);
        ExpectBox(c.expected, set.GetItemBox(0));
        EXPECT_EQ(c.newSize.cx, set.GetLayoutSize().cx);
        EXPECT_EQ(c.newSize.cy, set.GetLayoutSize().cy);
    }
}

TEST(AnchoredRegionSet, ReferenceSizeIsTheLayoutSizeWhenTheItemWasAdded) {
    Set set;
    EXPECT_EQ(0, set.GetLayoutSize().cx);
    // Added before any Layout: against 0 x 0.
    ASSERT_TRUE(set.AddRect(1, RECT{5, 5, 15, 15}, Set::AnchorRight | Set::AnchorBottom, 0));
    set.Layout(100, 50);
    ExpectBox(RECT{105, 55, 115, 65}, set.GetItemBox(1));
    // A region not at the origin keeps its place while it stretches.
    ASSERT_TRUE(set.AddRegion(2, RectRegion(4, 4, 24, 14), POINT{10, 0}, Set::AnchorLeft | Set::AnchorRight | Set::AnchorTop, 7));
    ExpectBox(RECT{14, 4, 34, 14}, set.GetItemBox(2));
    set.Layout(120, 50);
    ExpectBox(RECT{14, 4, 54, 14}, set.GetItemBox(2));
}

TEST(AnchoredRegionSet, AnItemShrunkPastItsSizeIsEmptyAndComesBackWhenTheWindowGrows) {
    struct Case {
        const char* name;
        UINT anchors;
        SIZE newSize;
        RECT expected;  // empty when the item has no area left
        POINT inside;   // hit when the item has area, never when it has none
        POINT outside;
    };
    // Every item: (10, 10)-(30, 20), added while the set is laid out at 100 x 50.
    const UINT kStretchX = Set::AnchorLeft | Set::AnchorRight | Set::AnchorTop;
    const UINT kStretchY = Set::AnchorLeft | Set::AnchorTop | Set::AnchorBottom;
    const Case cases[] = {
        {"10 narrower keeps 10", kStretchX, {90, 50}, {10, 10, 20, 20}, {15, 15}, {25, 15}},
        {"20 narrower leaves no width", kStretchX, {80, 50}, {}, {15, 15}, {5, 15}},
        {"30 narrower must not mirror left", kStretchX, {70, 50}, {}, {15, 15}, {5, 15}},
        {"5 lower keeps 5", kStretchY, {100, 45}, {10, 10, 30, 15}, {15, 12}, {15, 17}},
        {"20 lower must not mirror up", kStretchY, {100, 30}, {}, {15, 15}, {15, 5}},
        {"both shrink past", kStretchX | Set::AnchorBottom, {60, 30}, {}, {15, 15}, {5, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Set set;
        set.Layout(100, 50);
        ASSERT_TRUE(set.AddRect(0, RECT{10, 10, 30, 20}, c.anchors, 0));
        set.Layout(c.newSize);
        ExpectBox(c.expected, set.GetItemBox(0));
        EXPECT_FALSE(set.Contains(0, c.outside));
        EXPECT_EQ(!::IsRectEmpty(&c.expected), set.Contains(0, c.inside));
        ASSERT_TRUE(set.GetRegion(0)) << "an empty region, not a missing one";
        set.Layout(100, 50);
        ExpectBox(RECT{10, 10, 30, 20}, set.GetItemBox(0));
    }
}

TEST(AnchoredRegionSet, HitTestTakesTheHighestIndexAndHonoursTheSkipList) {
    Set set;
    set.Layout(100, 100);
    ASSERT_TRUE(set.AddRect(3, RECT{0, 0, 50, 50}, Set::AnchorLeft | Set::AnchorTop, 0));
    ASSERT_TRUE(set.AddRect(7, RECT{25, 25, 75, 75}, Set::AnchorLeft | Set::AnchorTop, 0));
    EXPECT_EQ(7, set.HitTest(POINT{30, 30}));
    const std::vector<int> skip = {7};
    EXPECT_EQ(3, set.HitTest(POINT{30, 30}, &skip));
    EXPECT_EQ(3, set.HitTest(POINT{10, 10}));
    EXPECT_EQ(-1, set.HitTest(POINT{90, 90}));
    EXPECT_EQ(-1, set.HitTest(POINT{60, 60}, &skip));
    EXPECT_TRUE(set.Contains(7, POINT{74, 74}));
    EXPECT_FALSE(set.Contains(7, POINT{75, 75}));
    EXPECT_FALSE(set.Contains(4, POINT{30, 30}));
}

TEST(AnchoredRegionSet, RefusesBadArgumentsAndKeepsTheCount) {
    Set set;
    EXPECT_EQ(0, set.GetCount());
    EXPECT_FALSE(set.AddRect(0, RECT{0, 0, 5, 5}, 0, 0)) << "anchors 0";
    EXPECT_FALSE(set.AddRect(256, RECT{0, 0, 5, 5}, Set::AnchorTop, 0));
    EXPECT_FALSE(set.AddRect(-1, RECT{0, 0, 5, 5}, Set::AnchorTop, 0));
    EXPECT_EQ(0, set.GetCount());
    EXPECT_FALSE(set.Remove(256));
    EXPECT_FALSE(set.Remove(-1));
    EXPECT_EQ(0u, set.GetAnchors(300));
    EXPECT_EQ(0u, set.GetExtra(-5));
    EXPECT_FALSE(set.GetRegion(999));
    ExpectBox(RECT{}, set.GetItemBox(12));

    ASSERT_TRUE(set.AddRect(255, RECT{0, 0, 5, 5}, Set::AnchorTop, 0xDEADBEEF));
    EXPECT_EQ(0xDEADBEEFu, set.GetExtra(255));
    EXPECT_EQ(static_cast<UINT>(Set::AnchorTop), set.GetAnchors(255));
    EXPECT_EQ(256, set.GetCount());
}

TEST(AnchoredRegionSet, RemoveLowersTheHighestIndexToTheNextUsedSlot) {
    Set set;
    ASSERT_TRUE(set.AddRect(3, RECT{0, 0, 5, 5}, Set::AnchorTop, 0));
    ASSERT_TRUE(set.AddRect(9, RECT{0, 0, 5, 5}, Set::AnchorTop, 0));
    EXPECT_EQ(10, set.GetCount());
    EXPECT_TRUE(set.Remove(9));
    EXPECT_EQ(4, set.GetCount());
    EXPECT_TRUE(set.Remove(1)) << "an empty slot in range";
    EXPECT_EQ(4, set.GetCount());
    EXPECT_TRUE(set.Remove(3));
    EXPECT_EQ(0, set.GetCount());

    AnchoredRegionSet::ItemInfo info;
    EXPECT_FALSE(set.GetItemInfo(3, info));
    ASSERT_TRUE(set.AddRect(2, RECT{4, 6, 14, 26}, Set::AnchorTop, 0));
    ASSERT_TRUE(set.GetItemInfo(2, info));
    EXPECT_EQ(2, info.index);
    ExpectBox(RECT{4, 6, 14, 26}, info.box);
    EXPECT_TRUE(info.region);
}

// A bitmap of the given depth whose pixels come from `pixel` (x, y) -> BGRA
// bytes; rows given top first.
template <class Pixel>
SharedBitmap MakeBitmap(int width, int height, int depth, Pixel pixel) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(depth);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && depth >= 24) {
        const int bytes = depth / 8;
        const int stride = (width * bytes + 3) & ~3;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const DWORD bgra = pixel(x, y);
                std::memcpy(static_cast<BYTE*>(bits) + y * stride + x * bytes, &bgra, bytes);
            }
    }
    return MakeSharedGDIObject<SharedGDIObjectBitmap>(bitmap);
}

const DWORD kWhite = 0x00FFFFFF;
const DWORD kDark = 0x00202020;

void ExpectRegion(const SharedRegion& expected, const SharedRegion& actual) {
    ASSERT_FALSE(IsNullGDIObject(actual));
    RECT box = {};
    ::GetRgnBox(actual->GetHandle(), &box);
    EXPECT_TRUE(::EqualRgn(expected->GetHandle(), actual->GetHandle())) << "box " << Describe(box);
}

TEST(RegionFromBitmap, AlphaAboveTheToleranceIsOpaque) {
    // Alpha rises by 1 per column: 0, 1, 2, 3 in every row.
    SharedBitmap bitmap = MakeBitmap(4, 2, 32, [](int x, int) { return static_cast<DWORD>(x) << 24; });
    ExpectRegion(UnionOf({RECT{1, 0, 4, 2}}), CreateRegionFromBitmap(bitmap, RGB(0, 0, 0), true, 0));
    ExpectRegion(UnionOf({RECT{3, 0, 4, 2}}), CreateRegionFromBitmap(bitmap, RGB(0, 0, 0), true, 2));
    EXPECT_TRUE(IsNullGDIObject(CreateRegionFromBitmap(bitmap, RGB(0, 0, 0), true, 255))) << "no pixel is opaque";
    // Empty pointers: a tolerance outside 0..255, and use-alpha on 24 bits.
    EXPECT_FALSE(CreateRegionFromBitmap(bitmap, RGB(0, 0, 0), true, 300));
    EXPECT_FALSE(CreateRegionFromBitmap(bitmap, RGB(0, 0, 0), true, -1));
    SharedBitmap colours = MakeBitmap(4, 2, 24, [](int, int) { return kDark; });
    EXPECT_FALSE(CreateRegionFromBitmap(colours, RGB(255, 255, 255), true, 0));
}

TEST(RegionFromBitmap, ColourMaskKeepsExactlyTheOtherColours) {
    // 5 pixels wide, so GetDIBits pads the 24-bit rows; an L of dark pixels
    // that is not symmetric top to bottom, so a flipped read would show.
    SharedBitmap mask = MakeBitmap(5, 3, 24, [](int x, int y) {
        return (y == 0 && x < 4) || (y == 1 && x == 0) || (y == 2 && x == 4) ? kDark : kWhite;
    });
    ExpectRegion(UnionOf({RECT{0, 0, 4, 1}, RECT{0, 1, 1, 2}, RECT{4, 2, 5, 3}}),
                 CreateRegionFromBitmap(mask, RGB(255, 255, 255), false, 0));

    SharedBitmap corner = MakeBitmap(5, 4, 32, [](int x, int y) { return x == 0 && y == 0 ? kDark : kWhite; });
    SharedRegion region = CreateRegionFromBitmap(corner, RGB(255, 255, 255), false, 0);
    ExpectRegion(UnionOf({RECT{0, 0, 1, 1}}), region);

    SharedBitmap white = MakeBitmap(5, 3, 24, [](int, int) { return kWhite; });
    SharedRegion none = CreateRegionFromBitmap(white, RGB(255, 255, 255), false, 0);
    ASSERT_TRUE(none) << "a null region, not an empty pointer";
    EXPECT_TRUE(IsNullGDIObject(none));
}

TEST(RegionFromBitmap, KeepsItsThreeFailuresApart) {
    SharedRegion fromNull = CreateRegionFromBitmap(SharedBitmap(), RGB(255, 255, 255), false, 0);
    ASSERT_TRUE(fromNull);
    EXPECT_FALSE(fromNull->GetHandle());
    SharedRegion fromNullHandle =
        CreateRegionFromBitmap(MakeSharedGDIObject<SharedGDIObjectBitmap>(nullptr), RGB(255, 255, 255), false, 0);
    ASSERT_TRUE(fromNullHandle);
    EXPECT_FALSE(fromNullHandle->GetHandle());

    SharedBitmap sixteen = MakeBitmap(4, 4, 16, [](int, int) { return 0u; });
    SharedRegion empty = CreateRegionFromBitmap(sixteen, RGB(255, 255, 255), false, 0);
    ASSERT_FALSE(IsNullGDIObject(empty)) << "an empty region, not a null one";
    RECT box = {1, 1, 1, 1};
    EXPECT_EQ(NULLREGION, ::GetRgnBox(empty->GetHandle(), &box));
}

TEST(RegionHelpers, TransformAndOffsetMakeNewRegions) {
    SharedRegion source = RectRegion(0, 0, 10, 20);
    const XFORM scale = {2.0f, 0.0f, 0.0f, 1.5f, 0.0f, 0.0f};
    SharedRegion scaled = TransformRegion(source, scale);
    ExpectRegion(RectRegion(0, 0, 20, 30), scaled);
    EXPECT_FALSE(TransformRegion(SharedRegion(), scale));
    EXPECT_FALSE(TransformRegion(MakeSharedGDIObject<SharedGDIObjectRegion>(nullptr), scale));

    SharedRegion moved = OffsetRegionCopy(source, 5, -3);
    ExpectRegion(RectRegion(5, -3, 15, 17), moved);
    ExpectRegion(RectRegion(0, 0, 10, 20), source);
    SharedRegion copy = OffsetRegionCopy(source, 0, 0);
    EXPECT_NE(source->GetHandle(), copy->GetHandle());
    ExpectRegion(source, copy);
    SharedRegion fromNull = OffsetRegionCopy(SharedRegion(), 1, 1);
    EXPECT_TRUE(IsNullGDIObject(fromNull));
}

}  // namespace
