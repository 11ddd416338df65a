#include "skin/layout/IManager.h"

#include "LayoutText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace LayoutLib;
using SkinTesting::Narrow;
using SkinTesting::ReadPicture;

// The only drawable of a picture holding `drawableXml`, read with `parameters`.
boost::shared_ptr<IDrawable> ReadDrawable(const std::wstring& drawableXml, const CustomValues& parameters = {}) {
    const auto picture =
        ReadPicture(L"<Picture name=\"p\" complete=\"0\">" + drawableXml + L"</Picture>", parameters);
    DrawableList drawables;
    if (picture)
        picture->GetDrawables(drawables);
    return drawables.size() == 1 ? drawables.front() : boost::shared_ptr<IDrawable>();
}

template <class I>
boost::shared_ptr<I> ReadAs(const std::wstring& drawableXml, const CustomValues& parameters = {}) {
    return boost::dynamic_pointer_cast<I>(ReadDrawable(drawableXml, parameters));
}

TEST(LayoutPictures, DrawableElementsByExactName) {
    const auto picture = ReadPicture(
        L"<Picture name=\"p\" width=\"64\" height=\"32\" resizable=\"1\">\n"
        L"  <Custom data=\"a=1\"/><!-- a note -->\n"
        L"  <Picture name=\"other\"/><Icon/><Text/><Bitmap/><Shape/><Fill/><Rectangle/><Special/>\n"
        L"  <picture name=\"lower\"/><Circle/><TEXT/>\n"
        L"</Picture>");
    ASSERT_TRUE(picture);
    EXPECT_EQ(64, picture->GetSize().cx);
    EXPECT_EQ(32, picture->GetSize().cy);
    EXPECT_TRUE(picture->IsResizable());
    DrawableList drawables;
    ASSERT_TRUE(picture->GetDrawables(drawables));
    const int kinds[] = {DrawablePictureReference, DrawableIcon,  DrawableText,  DrawableBitmap,
                         DrawableShape,            DrawableShape, DrawableShape, DrawableSpecial};
    ASSERT_EQ(sizeof kinds / sizeof kinds[0], drawables.size());
    for (size_t i = 0; i < drawables.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kinds[i], drawables[i]->GetKind());
    }
    EXPECT_EQ(L"other", drawables[0]->GetName());
    EXPECT_TRUE(boost::dynamic_pointer_cast<IPictureReference>(drawables[0]));
    EXPECT_TRUE(boost::dynamic_pointer_cast<ISpecial>(drawables[7]));
}

TEST(LayoutPictures, CommonAttributes) {
    const struct {
        const wchar_t* attributes;
        RECT position;
        int anchors;
        int transparency;
        int mode;
        double factor;
        bool flag;
    } cases[] = {
        {L"", {0, 0, 0, 0}, 5, 0, AdjustmentNone, -1.0, false},
        {L"position=\"1,2,30,40\" anchors=\"Right,Bottom\" transparency=\"40\"", {1, 2, 30, 40}, 10, 40,
         AdjustmentNone, -1.0, false},
        {L"position=\"1,2\" anchors=\"Right;bogus;Bottom\" transparency=\"x\"", {1, 2, 0, 0}, 2, 0, AdjustmentNone,
         -1.0, false},  // what was read before the failure stays
        {L"aa=\"Supersampling,2\"", {}, 5, 0, AdjustmentSupersampling, 2.0, false},
        {L"aa=\"Supersampling,0.5,1\"", {}, 5, 0, AdjustmentSupersampling, 0.5, true},
        {L"aa=\"Supersampling,x\"", {}, 5, 0, AdjustmentSupersampling, 0.0, false},
        {L"aa=\"Supersampling,2x\"", {}, 5, 0, AdjustmentSupersampling, 0.0, false},
        {L"aa=\"Supersampling,,true\"", {}, 5, 0, AdjustmentSupersampling, -1.0, false},
        {L"aa=\"Adjustment\"", {}, 5, 0, AdjustmentAdjust, -1.0, false},
        {L"aa=\",,1\"", {}, 5, 0, AdjustmentNone, -1.0, true},
        {L"aa=\"supersampling,3\"", {}, 5, 0, AdjustmentNone, 3.0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.attributes));
        const auto drawable = ReadDrawable(std::wstring(L"<Special name=\"s\" ") + c.attributes + L"/>");
        ASSERT_TRUE(drawable);
        EXPECT_EQ(L"s", drawable->GetName());
        EXPECT_EQ(c.position.left, drawable->GetPosition().left);
        EXPECT_EQ(c.position.top, drawable->GetPosition().top);
        EXPECT_EQ(c.position.right, drawable->GetPosition().right);
        EXPECT_EQ(c.position.bottom, drawable->GetPosition().bottom);
        EXPECT_EQ(c.anchors, drawable->GetAnchors());
        EXPECT_EQ(c.transparency, drawable->GetTransparency());
        EXPECT_EQ(c.mode, drawable->GetAdjustmentMode());
        EXPECT_EQ(c.factor, drawable->GetAdjustmentFactor());
        EXPECT_EQ(c.flag, drawable->GetAdjustmentFlag());
    }
}

TEST(LayoutPictures, IconSizesAndStretch) {
    const auto icon = ReadAs<IIcon>(L"<Icon sizes=\"48x48,16,32x32,,16x16,0x8,x\" stretch=\"Snap\"/>");
    ASSERT_TRUE(icon);
    SizeList sizes;
    icon->GetSizes(sizes);
    const LONG sides[] = {16, 32, 48};
    ASSERT_EQ(3u, sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sides[i], sizes[i].cx);
        EXPECT_EQ(sides[i], sizes[i].cy);
    }
    EXPECT_EQ(StretchSnap, icon->GetStretch());
    EXPECT_EQ(StretchFree, ReadAs<IIcon>(L"<Icon stretch=\"Free\"/>")->GetStretch());
    EXPECT_EQ(StretchNone, ReadAs<IIcon>(L"<Icon stretch=\"free\"/>")->GetStretch());
}

TEST(LayoutPictures, TextAttributes) {
    const struct {
        const wchar_t* attributes;
        int horz, vert, ellipsis;
    } cases[] = {
        {L"", HorzLeft, VertNotGiven, EllipsisEnd},  // both alignments default to the word "Left"
        {L"horzAlignment=\"CENTER\" vertAlignment=\"top\" ellipsisMode=\"none\"", HorzCenter, VertTop, EllipsisNone},
        {L"horzAlignment=\"Right\" vertAlignment=\"Bottom\" ellipsisMode=\"Path\"", HorzRight, VertBottom,
         EllipsisPath},
        {L"horzAlignment=\"middle\" vertAlignment=\"Center\" ellipsisMode=\"word\"", HorzLeft, VertCenter,
         EllipsisWord},
        {L"vertAlignment=\"Left\" ellipsisMode=\"\"", HorzLeft, VertNotGiven, EllipsisEnd},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.attributes));
        const auto text = ReadAs<IText>(std::wstring(L"<Text ") + c.attributes + L"/>");
        ASSERT_TRUE(text);
        EXPECT_EQ(c.horz, text->GetHorzAlignment());
        EXPECT_EQ(c.vert, text->GetVertAlignment());
        EXPECT_EQ(c.ellipsis, text->GetEllipsisMode());
    }
    const auto text = ReadAs<IText>(L"<Text text=\"Hello\" font=\"title\" color=\"#FF0000\" colorName=\"ink\"/>");
    ASSERT_TRUE(text);
    EXPECT_EQ(L"Hello", text->GetText());
    EXPECT_EQ(L"title", text->GetFont());
    EXPECT_EQ(RGB(255, 0, 0), text->GetColor());
    EXPECT_EQ(L"ink", text->GetColorName());
    EXPECT_EQ(0u, ReadAs<IText>(L"<Text color=\"#F00\"/>")->GetColor());
    EXPECT_EQ(RGB(44, 0, 0), ReadAs<IText>(L"<Text color=\"300,0,0\"/>")->GetColor());
}

TEST(LayoutPictures, ShapeRectangleAndFill) {
    const struct {
        const wchar_t* xml;
        int kind;
        LONG roundingX, roundingY;
        bool hasBorder;
        int borderWidth;
        COLORREF borderColor;
        bool hasFill;
        COLORREF fillColor;
    } cases[] = {
        {L"<Shape/>", ShapeKindRectangle, 0, 0, false, 0, 0, false, 0},  // no border: width 0
        {L"<Shape borderColor=\"#FF0000\"/>", ShapeKindRectangle, 0, 0, true, 1, RGB(255, 0, 0), false, 0},
        {L"<Shape borderColorName=\"line\" borderWidth=\"x\"/>", ShapeKindRectangle, 0, 0, true, 1, 0, false, 0},
        {L"<Shape borderWidth=\"3\" kind=\"Ellipse\"/>", ShapeKindEllipse, 0, 0, true, 3, 0, false, 0},
        {L"<Shape kind=\"ellipse\" fillColor=\"0,0,255\"/>", ShapeKindRectangle, 0, 0, false, 0, 0, true,
         RGB(0, 0, 255)},
        {L"<Shape kind=\"RoundedRectangle\" roundingSize=\"4x6\" fillBitmapName=\"bg\"/>",
         ShapeKindRoundedRectangle, 4, 6, false, 0, 0, true, 0},
        {L"<Shape kind=\"RoundedRectangle\" roundingSize=\"5\" fillColorName=\"face\" fillColor=\"bad\"/>",
         ShapeKindRoundedRectangle, 5, 5, false, 0, 0, true, 0},
        {L"<Rectangle/>", ShapeKindRectangle, 0, 0, true, 1, 0, false, 0},
        {L"<Rectangle width=\"0\" color=\"#00FF00\"/>", ShapeKindRectangle, 0, 0, true, 0, RGB(0, 255, 0), false,
         0},
        {L"<Rectangle width=\"x\"/>", ShapeKindRectangle, 0, 0, true, 0, 0, false, 0},
        {L"<Fill color=\"#0000FF\"/>", ShapeKindRectangle, 0, 0, false, 1, 0, true, RGB(0, 0, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.xml));
        const auto shape = ReadAs<IShape>(c.xml);
        ASSERT_TRUE(shape);
        EXPECT_EQ(c.kind, shape->GetShapeKind());
        EXPECT_EQ(c.roundingX, shape->GetRoundingSize().cx);
        EXPECT_EQ(c.roundingY, shape->GetRoundingSize().cy);
        EXPECT_EQ(c.hasBorder, shape->HasBorder());
        EXPECT_EQ(c.borderWidth, shape->GetBorderWidth());
        EXPECT_EQ(c.borderColor, shape->GetBorderColor());
        EXPECT_EQ(c.hasFill, shape->HasFill());
        EXPECT_EQ(c.fillColor, shape->GetFillColor());
    }
    const auto names = ReadAs<IShape>(L"<Shape borderColorName=\"line\" fillBitmapName=\"bg\" fillColorName=\"face\"/>");
    EXPECT_EQ(L"line", names->GetBorderColorName());
    EXPECT_EQ(L"bg", names->GetFillBitmapName());
    EXPECT_EQ(L"face", names->GetFillColorName());
    EXPECT_EQ(L"line", ReadAs<IShape>(L"<Rectangle colorName=\"line\"/>")->GetBorderColorName());
    EXPECT_EQ(L"face", ReadAs<IShape>(L"<Fill colorName=\"face\"/>")->GetFillColorName());
}

TEST(LayoutPictures, BitmapTileOnlyWithOne) {
    const struct {
        const wchar_t* attributes;
        bool tiled;
    } cases[] = {{L"", false}, {L"tile=\"1\"", true}, {L"tile=\"true\"", false}, {L"tile=\"\"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.attributes));
        const auto bitmap = ReadAs<IBitmap>(std::wstring(L"<Bitmap path=\"a.png\" ") + c.attributes + L"/>");
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(c.tiled, bitmap->IsTiled());
        EXPECT_EQ(L"a.png", bitmap->GetPath());
    }
}

TEST(LayoutPictures, BracketedAttributesTakeTheParameters) {
    CustomValues parameters;
    SetCustomValue(parameters, L"pos", std::wstring(L"5,6,50,60"));
    SetCustomValue(parameters, L"label", std::wstring(L"From the caller"));
    SetCustomValue(parameters, L"number", 7);  // not a string: the default
    SetCustomValue(parameters, L"hidden", std::wstring(L"secret"));
    parameters[L"hidden"].hidden = true;

    const auto text = ReadAs<IText>(
        L"<Text position=\"[pos]\" text=\"[label]\" font=\"[number]\" colorName=\"[hidden]\" anchors=\"[none]\""
        L" ellipsisMode=\"[missing]\"/>",
        parameters);
    ASSERT_TRUE(text);
    EXPECT_EQ(50, text->GetPosition().right);
    EXPECT_EQ(L"From the caller", text->GetText());
    EXPECT_EQ(L"", text->GetFont());
    EXPECT_EQ(L"", text->GetColorName());
    EXPECT_EQ(5, text->GetAnchors());
    EXPECT_EQ(EllipsisEnd, text->GetEllipsisMode());  // the attribute's default "End"

    // The picture's own values do not resolve drawables, but the parameters
    // are laid over them.
    const auto picture = ReadPicture(
        L"<Picture name=\"p\" complete=\"0\"><Custom data=\"label=own;pos=[x];keep@i=1\"/>"
        L"<Text text=\"[keep]\"/></Picture>",
        parameters);
    ASSERT_TRUE(picture);
    EXPECT_EQ(L"From the caller", *_FindCustomString(picture->GetCustomValues(), L"label"));
    EXPECT_EQ(L"5,6,50,60", *_FindCustomString(picture->GetCustomValues(), L"pos"));
    EXPECT_EQ(1, *_FindCustomInt(picture->GetCustomValues(), L"keep"));
    EXPECT_TRUE(picture->GetCustomReferences().empty());
    const auto fromOwn = boost::dynamic_pointer_cast<IText>(picture->FindDrawable(DrawableText, L""));
    ASSERT_TRUE(fromOwn);
    EXPECT_EQ(L"", fromOwn->GetText());

    const auto own = ReadPicture(L"<Picture name=\"p\"><Custom data=\"pos=[x]\"/></Picture>");
    ASSERT_TRUE(own);
    EXPECT_EQ(L"[x]", *_FindCustomString(own->GetCustomValues(), L"pos"));  // a plain string here
    EXPECT_EQ(0, own->GetSize().cx);
}

TEST(LayoutPictures, APictureWithoutNameIsDropped) {
    const auto manager = SkinTesting::LoadLayout(
        L"", L"<Picture width=\"5\"><Text/></Picture><Picture name=\"\"/><Picture name=\"kept\"/>");
    EXPECT_FALSE(manager->GetPicture(L"", CustomValues()));
    EXPECT_TRUE(manager->GetPicture(L"kept", CustomValues()));
}

}  // namespace
