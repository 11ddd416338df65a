#include "skin/layout/Drawables.h"
#include "skin/layout/Picture.h"
#include "skin/layout/VisualInfoT.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace LayoutLib;

TEST(Drawables, NewDrawablesStartWithTheDefaults) {
    const boost::shared_ptr<IDrawable> drawables[] = {
        boost::make_shared<Special>(), boost::make_shared<PictureReference>(), boost::make_shared<Icon>(),
        boost::make_shared<Text>(),    boost::make_shared<Bitmap>(),           boost::make_shared<ShapeDrawable>(),
    };
    int kind = DrawableSpecial;
    for (const auto& drawable : drawables) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        EXPECT_EQ(kind++, drawable->GetKind());
        EXPECT_EQ(L"", drawable->GetName());
        EXPECT_EQ(0, drawable->GetPosition().right);
        EXPECT_EQ(AnchorLeft | AnchorTop, drawable->GetAnchors());
        EXPECT_EQ(0, drawable->GetTransparency());
        EXPECT_EQ(AdjustmentNone, drawable->GetAdjustmentMode());
        EXPECT_EQ(-1.0, drawable->GetAdjustmentFactor());
        EXPECT_FALSE(drawable->GetAdjustmentFlag());
        EXPECT_FALSE(drawable->IsSupersampled());
        EXPECT_TRUE(drawable->GetCustomValues().empty());
        EXPECT_TRUE(drawable->GetCustomReferences().empty());
    }
    const ShapeDrawable shape;
    EXPECT_EQ(1, shape.GetBorderWidth());
    EXPECT_FALSE(shape.HasBorder());
    EXPECT_FALSE(shape.HasFill());
    EXPECT_EQ(ShapeKindRectangle, shape.GetShapeKind());
    const Text text;
    EXPECT_EQ(0, text.GetHorzAlignment());
    EXPECT_EQ(0, text.GetVertAlignment());
    EXPECT_EQ(0, text.GetEllipsisMode());
    EXPECT_EQ(StretchNone, Icon().GetStretch());
    EXPECT_FALSE(Bitmap().IsTiled());
}

TEST(Drawables, SupersampledOnlyWithAUsefulFactor) {
    const struct {
        int mode;
        double factor;
        bool supersampled;
    } cases[] = {
        {AdjustmentSupersampling, 0.5, true},   {AdjustmentSupersampling, 2.0, true},
        {AdjustmentSupersampling, 1.0, false},  {AdjustmentSupersampling, 0.0, false},
        {AdjustmentSupersampling, -1.0, false}, {AdjustmentAdjust, 2.0, false},
        {AdjustmentNone, 2.0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", factor " << c.factor);
        Bitmap bitmap;
        bitmap.SetAdjustment(c.mode, c.factor, false);
        EXPECT_EQ(c.supersampled, bitmap.IsSupersampled());
    }
}

std::vector<std::pair<LONG, LONG>> SizesOf(const Icon& icon) {
    SizeList sizes;
    EXPECT_TRUE(icon.GetSizes(sizes));
    std::vector<std::pair<LONG, LONG>> pairs;
    for (const SIZE& size : sizes)
        pairs.emplace_back(size.cx, size.cy);
    return pairs;
}

TEST(Drawables, IconSizesArePositiveUniqueAndByArea) {
    Icon icon;
    const struct {
        SIZE size;
        bool added;
    } cases[] = {
        {{32, 32}, true}, {{16, 16}, true}, {{48, 48}, true}, {{16, 16}, false},
        {{0, 16}, false}, {{16, 0}, false}, {{-4, -4}, false}, {{8, 64}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size.cx << "x" << c.size.cy);
        EXPECT_EQ(c.added, icon.AddSize(c.size));
    }
    const std::vector<std::pair<LONG, LONG>> expected = {{16, 16}, {8, 64}, {32, 32}, {48, 48}};
    EXPECT_EQ(expected, SizesOf(icon));
}

boost::shared_ptr<Text> NamedText(const std::wstring& name) {
    const auto text = boost::make_shared<Text>();
    text->SetName(name);
    return text;
}

TEST(Drawables, FindDrawableByKindAndName) {
    const SIZE size = {10, 10};
    Picture picture(L"p", CustomValues(), size, false);
    EXPECT_FALSE(picture.FindDrawable(DrawableText, L""));  // empty list

    const auto bitmap = boost::make_shared<Bitmap>();
    const auto first = NamedText(L"first");
    const auto title = NamedText(L"title");
    picture.AddDrawable(bitmap);
    picture.AddDrawable(first);
    picture.AddDrawable(title);

    EXPECT_EQ(first, picture.FindDrawable(DrawableText, L""));
    EXPECT_EQ(title, picture.FindDrawable(DrawableText, L"title"));
    EXPECT_FALSE(picture.FindDrawable(DrawableText, L"Title"));
    EXPECT_EQ(bitmap, picture.FindDrawable(DrawableBitmap, L""));
    EXPECT_FALSE(picture.FindDrawable(DrawableIcon, L""));

    DrawableList drawables;
    EXPECT_TRUE(picture.GetDrawables(drawables));
    EXPECT_EQ(3u, drawables.size());
    EXPECT_EQ(L"p", picture.GetName());
    EXPECT_EQ(10, picture.GetSize().cy);
}

TEST(Drawables, VisualKeepsTheFirstStateOfAName) {
    VisualInfo visual(L"button", CustomValues(), CustomReferences());
    EXPECT_FALSE(visual.FindState(L"out"));
    const auto out = boost::make_shared<VisualState>(L"out", L"a", CursorDefault, CustomValues(), CustomReferences());
    const auto over = boost::make_shared<VisualState>(L"over", L"b", CursorHand, CustomValues(), CustomReferences());
    EXPECT_TRUE(visual.AddState(out));
    EXPECT_TRUE(visual.AddState(over));
    EXPECT_FALSE(visual.AddState(
        boost::make_shared<VisualState>(L"over", L"c", CursorDefault, CustomValues(), CustomReferences())));

    EXPECT_EQ(over, visual.FindState(L"over"));
    EXPECT_EQ(L"b", visual.FindState(L"over")->GetPicture());
    EXPECT_FALSE(visual.FindState(L""));
    EXPECT_FALSE(visual.FindState(L"OVER"));
    VisualStateList states;
    visual.GetStates(states);
    EXPECT_EQ(2u, states.size());

    // The copy constructor copies member by member.
    const VisualState copy(*over);
    EXPECT_EQ(L"over", copy.GetName());
    EXPECT_EQ(CursorHand, copy.GetCursor());
}

}  // namespace
