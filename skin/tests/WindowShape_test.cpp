// Regions of window and element shapes, built from layout shape values.
#include "skin/autosurface/WindowShape.h"

#include "skin/commongui/AnchoredRegionSet.h"
#include "skin/layout/IElement.h"
#include "skin/layout/IObject.h"
#include "testing/PictureFiles.h"
#include "testing/ResourceFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using CommonGuiLib::SharedRegion;
using LayoutLib::CustomValues;

// 100 x 50 black with a white 10 x 10 top-left corner: the corner is cut
// out of the mask region.
std::string MaskBmp() {
    std::vector<Testing::Bgra> pixels(100 * 50, Testing::Bgra{0, 0, 0, 255});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            pixels[y * 100 + x] = Testing::Bgra{255, 255, 255, 255};
    return Testing::MakeBmp24(100, 50, pixels);
}

RECT Box(const SharedRegion& region) {
    RECT box = {};
    ::GetRgnBox(region->GetHandle(), &box);
    return box;
}

bool Equal(const SharedRegion& region, HRGN expected) {
    const bool equal = ::EqualRgn(region->GetHandle(), expected) != FALSE;
    ::DeleteObject(expected);
    return equal;
}

CustomValues Values(std::initializer_list<std::pair<std::wstring, int>> ints) {
    CustomValues values;
    for (const auto& entry : ints)
        LayoutLib::SetCustomValue(values, entry.first, entry.second);
    return values;
}

struct MaskFixture {
    ResourceTesting::ResourceFolder folder;
    WindowShape::MaskRegionCache cache;
    WindowShape::MaskSources sources;

    MaskFixture() {
        folder.WriteFile(L"Common\\mask.bmp", MaskBmp());
        folder.WriteResources(L"Common", R"(<Bitmap name="skinMask" path="mask.bmp"/>)");
        folder.WriteFile(L"layout\\beside.bmp", MaskBmp());
        folder.Open();
        sources.resourceManager = folder.manager;
        sources.baseFolder = folder.Path(L"layout");
        sources.cache = &cache;
    }
};

TEST(WindowShape, PlainKindsAndOffsets) {
    const RECT target = {10, 20, 110, 70};  // 100 x 50, built at the origin
    const WindowShape::MaskSources none;

    EXPECT_FALSE(WindowShape::BuildShapeRegion(LayoutLib::ShapeCustom, Values({{L"offsetX", 5}}), target, none))
        << "Custom has no region, offsets or not";

    SharedRegion rect = WindowShape::BuildShapeRegion(LayoutLib::ShapeRectangular, {}, target, none);
    ASSERT_TRUE(rect);
    EXPECT_TRUE(Equal(rect, ::CreateRectRgn(0, 0, 100, 50)));

    SharedRegion rounded =
        WindowShape::BuildShapeRegion(LayoutLib::ShapeRoundedRectangular, Values({{L"rx", 12}, {L"ry", 8}}), target, none);
    ASSERT_TRUE(rounded);
    EXPECT_TRUE(Equal(rounded, ::CreateRoundRectRgn(0, 0, 100, 50, 12, 8)));

    SharedRegion ellipse = WindowShape::BuildShapeRegion(LayoutLib::ShapeElliptic, {}, target, none);
    ASSERT_TRUE(ellipse);
    EXPECT_TRUE(Equal(ellipse, ::CreateEllipticRgn(0, 0, 100, 50)));

    SharedRegion shifted = WindowShape::BuildShapeRegion(LayoutLib::ShapeRectangular,
                                                         Values({{L"offsetX", -3}, {L"offsetY", 2}}), target, none);
    ASSERT_TRUE(shifted);
    EXPECT_EQ(-3, Box(shifted).left);
    EXPECT_EQ(2, Box(shifted).top);
    EXPECT_EQ(97, Box(shifted).right);
}

TEST(WindowShape, MasksByNameByPathScaledAndMissing) {
    MaskFixture f;
    const RECT target = {0, 0, 100, 50};
    struct Case {
        const char* name;
        CustomValues values;
        RECT target;
        bool withManager;
        bool expected;
        RECT box;
    };
    CustomValues byName;
    LayoutLib::SetCustomValue(byName, L"mask", std::wstring(L"skinMask"));
    CustomValues byPath;
    LayoutLib::SetCustomValue(byPath, L"maskPath", std::wstring(L"beside.bmp"));
    CustomValues scaled = byPath;
    LayoutLib::SetCustomValue(scaled, L"scaleMask", true);
    CustomValues missing;
    LayoutLib::SetCustomValue(missing, L"maskPath", std::wstring(L"nowhere.bmp"));
    CustomValues unknownName;
    LayoutLib::SetCustomValue(unknownName, L"mask", std::wstring(L"noSuchBitmap"));
    CustomValues shifted = byName;
    LayoutLib::SetCustomValue(shifted, L"offsetX", -3);
    const Case cases[] = {
        {"by resource name", byName, target, true, true, {0, 0, 100, 50}},
        {"by path beside the layout", byPath, target, true, true, {0, 0, 100, 50}},
        {"without a resource manager", byName, target, false, false, {}},
        {"neither value", CustomValues(), target, true, false, {}},
        {"no loadable file", missing, target, true, false, {}},
        {"an unknown resource name", unknownName, target, true, false, {}},
        {"100 x 50 scaled on 200 x 50", scaled, {0, 0, 200, 50}, true, true, {0, 0, 200, 50}},
        {"not scaled on 200 x 50", byPath, {0, 0, 200, 50}, true, true, {0, 0, 100, 50}},
        {"moved left", shifted, target, true, true, {-3, 0, 97, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowShape::MaskSources sources = f.sources;
        if (!c.withManager)
            sources.resourceManager.reset();
        const SharedRegion region = WindowShape::BuildShapeRegion(LayoutLib::ShapeMasked, c.values, c.target, sources);
        ASSERT_EQ(c.expected, !CommonGuiLib::IsNullGDIObject(region));
        if (!c.expected)
            continue;
        const RECT box = Box(region);
        EXPECT_EQ(c.box.left, box.left);
        EXPECT_EQ(c.box.right, box.right);
        EXPECT_EQ(c.box.bottom, box.bottom);
        EXPECT_FALSE(::PtInRegion(region->GetHandle(), c.box.left + 2, 2)) << "the white corner is cut out";
        EXPECT_TRUE(::PtInRegion(region->GetHandle(), c.box.left + 2, 20));
    }
}

TEST(WindowShape, MaskReadOncePerSizeAndEveryResultIsFresh) {
    MaskFixture f;
    CustomValues values;
    LayoutLib::SetCustomValue(values, L"maskPath", std::wstring(L"beside.bmp"));
    const SharedRegion first = WindowShape::BuildShapeRegion(LayoutLib::ShapeMasked, values, {0, 0, 100, 50}, f.sources);
    ASSERT_TRUE(first);
    ASSERT_TRUE(::DeleteFileW(f.folder.Path(L"layout\\beside.bmp").c_str()));
    const SharedRegion second = WindowShape::BuildShapeRegion(LayoutLib::ShapeMasked, values, {0, 0, 100, 50}, f.sources);
    ASSERT_TRUE(second) << "the region was kept, not read again";
    EXPECT_NE(first->GetHandle(), second->GetHandle()) << "each caller gets its own region";
    EXPECT_TRUE(::EqualRgn(first->GetHandle(), second->GetHandle()));
}

TEST(WindowShape, AnchorsForTheRegionSet) {
    typedef CommonGuiLib::AnchoredRegionSet Set;
    const struct {
        int layout;
        UINT set;
    } cases[] = {
        {LayoutLib::AnchorLeft, Set::AnchorLeft},           {LayoutLib::AnchorRight, Set::AnchorRight},
        {LayoutLib::AnchorTop, Set::AnchorTop},             {LayoutLib::AnchorBottom, Set::AnchorBottom},
        {LayoutLib::AnchorHorzCenter, Set::AnchorHorzCenter}, {LayoutLib::AnchorVertCenter, Set::AnchorVertCenter},
        {LayoutLib::AnchorRight | LayoutLib::AnchorBottom, Set::AnchorRight | Set::AnchorBottom},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        EXPECT_EQ(c.set, WindowShape::ToRegionSetAnchors(c.layout));
    }
    EXPECT_EQ(4u, WindowShape::ToRegionSetAnchors(1));
    EXPECT_EQ(1u, WindowShape::ToRegionSetAnchors(4));
}

}  // namespace
