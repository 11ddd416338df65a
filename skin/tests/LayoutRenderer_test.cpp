// The layout renderer painting a layout into a DIB section: element states,
// picture sizes and anchors, transparency and supersampling, icons, texts,
// shapes, file bitmaps, the render callback and the child windows.
#include "skin/renderer/LayoutRenderer.h"

#include "graphics/commongui/PictureLoaders.h"
#include "graphics/commongui/SharedBitmaps.h"
#include "graphics/tests/BitmapPixels.h"
#include "skin/tests/RenderFixture.h"
#include "testing/PictureFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

using namespace SkinTesting;
using Testing::Rgb;

const COLORREF kBackground = RGB(1, 2, 3);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGrey = RGB(128, 128, 128);

std::wstring FourStatePictures() {
    return FillPicture(L"red", 20, 10, L"#FF0000") + FillPicture(L"green", 20, 10, L"#00FF00") +
           FillPicture(L"blue", 20, 10, L"#0000FF") + FillPicture(L"grey", 20, 10, L"#808080");
}

ElementState Flags(bool enabled, bool over, bool down) {
    ElementState state;
    state.enabled = enabled;
    state.over = over;
    state.down = down;
    return state;
}

TEST(LayoutRenderer, RolloverStatesFollowTheHost) {
    RenderFixture f;
    f.Open("",
           RolloverElement(L"four", 1,
                           State(L"out", L"red") + State(L"over", L"green") + State(L"down", L"blue") +
                               State(L"disabled", L"grey")) +
               RolloverElement(L"onlyOut", 2, State(L"out", L"red")),
           FourStatePictures());
    f.host.AddBox(1, {0, 0, 20, 10});
    f.host.AddBox(2, {20, 0, 40, 10});
    const struct {
        const char* name;
        ElementState state;
        COLORREF four;
    } cases[] = {{"out", Flags(true, false, false), kRed},
                 {"over", Flags(true, true, false), kGreen},
                 {"down", Flags(true, true, true), kBlue},
                 {"down without over", Flags(true, false, true), kRed},
                 {"disabled", Flags(false, true, true), kGrey}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        f.host.states[1] = c.state;
        f.host.states[2] = c.state;
        DibCanvas canvas(40, 10);
        f.Paint(canvas);
        EXPECT_EQ(Rgb{c.four}, Rgb{canvas.Pixel(5, 5)});
        EXPECT_EQ(Rgb{kRed}, Rgb{canvas.Pixel(25, 5)}) << "a visual with only \"out\" shows it";
    }
}

TEST(LayoutRenderer, WindowedNoIndexAndInvisibleElementsAreNotDrawn) {
    RenderFixture f;
    f.Open("",
           RolloverElement(L"windowed", 1, State(L"out", L"red"), L"windowed=\"1\"") +
               L"<Element name=\"noIndex\" position=\"0,0,1,1\"><Visual type=\"Rollover\"><States>" +
               State(L"out", L"red") + L"</States></Visual></Element>" +
               RolloverElement(L"hidden", 3, State(L"out", L"red")) +
               RolloverElement(L"shown", 4, State(L"out", L"red")),
           FourStatePictures());
    f.host.AddBox(1, {0, 0, 20, 10});
    f.host.noIndexBox = {20, 0, 40, 10};
    f.host.AddBox(3, {40, 0, 60, 10});
    f.host.AddBox(4, {60, 0, 80, 10});
    f.host.states[3].visible = false;
    DibCanvas canvas(80, 10);
    f.Paint(canvas);
    EXPECT_EQ(Rgb{kBackground}, Rgb{canvas.Pixel(5, 5)}) << "windowed";
    EXPECT_EQ(Rgb{kBackground}, Rgb{canvas.Pixel(25, 5)}) << "index -1";
    EXPECT_EQ(Rgb{kBackground}, Rgb{canvas.Pixel(45, 5)}) << "invisible";
    EXPECT_EQ(Rgb{kRed}, Rgb{canvas.Pixel(65, 5)});
}

TEST(LayoutRenderer, AnElementOutsideTheUpdateRegionKeepsItsPixels) {
    RenderFixture f;
    f.Open("", RolloverElement(L"a", 1, State(L"out", L"red")) + RolloverElement(L"b", 2, State(L"out", L"red")),
           FourStatePictures());
    f.host.AddBox(1, {0, 0, 20, 10});
    f.host.AddBox(2, {20, 0, 40, 10});
    DibCanvas canvas(40, 10);
    HRGN update = ::CreateRectRgn(0, 0, 20, 10);
    f.Paint(canvas, update);
    ::DeleteObject(update);
    EXPECT_EQ(Rgb{kRed}, Rgb{canvas.Pixel(5, 5)});
    EXPECT_EQ(Rgb{kBackground}, Rgb{canvas.Pixel(25, 5)});
}

TEST(LayoutRenderer, ThePaintRestoresTheModeAndColoursOfTheDC) {
    RenderFixture f;
    f.Open("", RolloverElement(L"a", 1, State(L"out", L"red")), FourStatePictures());
    f.host.AddBox(1, {0, 0, 20, 10});
    DibCanvas canvas(20, 10);
    ::SetBkMode(canvas.Dc(), OPAQUE);
    ::SetBkColor(canvas.Dc(), RGB(9, 8, 7));
    ::SetTextColor(canvas.Dc(), RGB(6, 5, 4));
    f.Paint(canvas);
    EXPECT_EQ(OPAQUE, ::GetBkMode(canvas.Dc()));
    EXPECT_EQ(RGB(9, 8, 7), ::GetBkColor(canvas.Dc()));
    EXPECT_EQ(RGB(6, 5, 4), ::GetTextColor(canvas.Dc()));
}

TEST(LayoutRenderer, PlacingADrawableInTheElementRectangle) {
    using namespace LayoutLib;
    const struct {
        const char* name;
        int anchors;
        RECT target;
        RECT expected;
    } cases[] = {
        {"left top stays", AnchorLeft | AnchorTop, {5, 7, 125, 27}, {5, 7, 15, 27}},
        {"right moves by the free width", AnchorRight | AnchorTop, {0, 0, 120, 20}, {20, 0, 30, 20}},
        {"left and right stretch", AnchorLeft | AnchorRight | AnchorTop, {0, 0, 120, 20}, {0, 0, 30, 20}},
        {"horizontal centre moves half, truncated", AnchorHorzCenter | AnchorTop, {0, 0, 107, 20}, {3, 0, 13, 20}},
        {"not top moves by the free height", AnchorLeft, {0, 0, 100, 30}, {0, 10, 10, 30}},
        {"top and bottom stretch", AnchorLeft | AnchorTop | AnchorBottom, {0, 0, 100, 30}, {0, 0, 10, 30}},
        {"vertical centre, shrinking", AnchorLeft | AnchorVertCenter, {0, 0, 100, 15}, {0, -2, 10, 18}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RECT placed = PlaceInElementRect(RECT{0, 0, 10, 20}, c.anchors, SIZE{100, 20}, c.target);
        EXPECT_EQ(c.expected.left, placed.left);
        EXPECT_EQ(c.expected.top, placed.top);
        EXPECT_EQ(c.expected.right, placed.right);
        EXPECT_EQ(c.expected.bottom, placed.bottom);
    }
}

TEST(LayoutRenderer, PictureSizeAndDrawableAnchors) {
    const struct {
        const char* name;
        const wchar_t* picture;
        int width;
        std::vector<int> filled;
        std::vector<int> empty;
    } cases[] = {
        {"not resizable, other size", L"<Picture name=\"p\" width=\"100\" height=\"20\"><Fill color=\"#FF0000\" "
                                      L"position=\"0,0,100,20\" anchors=\"Left;Top;Right;Bottom\"/></Picture>",
         120, {}, {0, 50, 119}},
        {"resizable fills", L"<Picture name=\"p\" width=\"100\" height=\"20\" resizable=\"1\"><Fill color=\"#FF0000\" "
                            L"position=\"0,0,100,20\" anchors=\"Left;Top;Right;Bottom\"/></Picture>",
         120, {0, 50, 119}, {}},
        {"right anchored", L"<Picture name=\"p\" width=\"100\" height=\"20\" resizable=\"1\"><Fill color=\"#FF0000\" "
                           L"position=\"0,0,10,20\" anchors=\"Right;Top\"/></Picture>",
         120, {20, 29}, {19, 30}},
        {"left and right", L"<Picture name=\"p\" width=\"100\" height=\"20\" resizable=\"1\"><Fill color=\"#FF0000\" "
                           L"position=\"0,0,10,20\" anchors=\"Left;Right;Top\"/></Picture>",
         120, {0, 29}, {30}},
        {"horizontal centre", L"<Picture name=\"p\" width=\"100\" height=\"20\" resizable=\"1\"><Fill "
                              L"color=\"#FF0000\" position=\"0,0,10,20\" anchors=\"HorzCenter;Top\"/></Picture>",
         107, {3, 12}, {2, 13}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RenderFixture f;
        f.Open("", RolloverElement(L"e", 1, State(L"out", L"p")), c.picture);
        f.host.AddBox(1, {0, 0, c.width, 20});
        DibCanvas canvas(c.width, 20);
        f.Paint(canvas);
        for (int x : c.filled)
            EXPECT_EQ(Rgb{kRed}, Rgb{canvas.Pixel(x, 10)}) << "x " << x;
        for (int x : c.empty)
            EXPECT_EQ(Rgb{kBackground}, Rgb{canvas.Pixel(x, 10)}) << "x " << x;
    }
}

// One element of 20 x 10 at (10, 10) showing `drawables` on black.
struct OneElement {
    RenderFixture f;
    DibCanvas canvas;
    OneElement(const std::wstring& drawables, const std::string& resources = "", int width = 20, int height = 10,
               SIZE canvasSize = {40, 30})
        : canvas(canvasSize.cx, canvasSize.cy, RGB(0, 0, 0)) {
        f.Open(resources, RolloverElement(L"e", 1, State(L"out", L"p")),
               L"<Picture name=\"p\" width=\"" + std::to_wstring(width) + L"\" height=\"" + std::to_wstring(height) +
                   L"\" resizable=\"1\">" + drawables + L"</Picture>");
        f.host.AddBox(1, {10, 10, 10 + width, 10 + height});
    }
    void Paint() { f.Paint(canvas); }
};

TEST(LayoutRenderer, TransparencyAndSupersampling) {
    {
        OneElement e(L"<Fill color=\"#FFFFFF\" position=\"0,0,20,10\" transparency=\"100\"/>");
        e.Paint();
        EXPECT_EQ(Rgb{RGB(0, 0, 0)}, Rgb{e.canvas.Pixel(15, 15)}) << "transparency 100 draws nothing";
    }
    {
        OneElement e(L"<Fill color=\"#FFFFFF\" position=\"0,0,20,10\" transparency=\"50\"/>");
        e.Paint();
        EXPECT_NEAR(127, GetRValue(e.canvas.Pixel(15, 15)), 1) << "white over black at alpha 127";
        EXPECT_EQ(Rgb{RGB(0, 0, 0)}, Rgb{e.canvas.Pixel(5, 5)}) << "outside the drawable";
    }
    {
        OneElement e(L"<Shape fillColor=\"#00FF00\" borderColor=\"#FF0000\" borderWidth=\"1\" "
                     L"position=\"0,0,20,10\" aa=\"Supersampling,2,1\"/>");
        e.Paint();
        EXPECT_EQ(Rgb{kGreen}, Rgb{e.canvas.Pixel(20, 15)}) << "the inside in the fill colour";
        EXPECT_EQ(Rgb{RGB(0, 0, 0)}, Rgb{e.canvas.Pixel(5, 5)});
    }
    for (const wchar_t* aa : {L"Supersampling,100000", L"Supersampling,1e300", L"Adjustment,100000"}) {
        SCOPED_TRACE(Narrow(aa));
        OneElement e(std::wstring(L"<Fill color=\"#00FF00\" position=\"0,0,20,10\" aa=\"") + aa +
                     L"\"/><Fill color=\"#0000FF\" position=\"0,0,5,10\"/>");
        e.Paint();
        if (std::wstring(aa).find(L"Supersampling") == 0) {
            EXPECT_EQ(Rgb{RGB(0, 0, 0)}, Rgb{e.canvas.Pixel(20, 15)}) << "a factor too large draws nothing";
        }
        EXPECT_EQ(Rgb{kBlue}, Rgb{e.canvas.Pixel(12, 15)}) << "and the next drawable still draws";
    }
}

TEST(LayoutRenderer, IconSizeByStretch) {
    const struct {
        const char* name;
        const wchar_t* stretch;
        int box;
        COLORREF color;
        int drawnSize;
    } cases[] = {
        {"none in 40", L"None", 40, kGreen, 32},
        {"snap in 40", L"Snap", 40, kBlue, 48},
        {"snap in 64", L"Snap", 64, kBlue, 48},
        {"free in 64", L"Free", 64, kBlue, 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RenderFixture f;
        f.folder.WriteFile(L"Common\\three.ico", Testing::MakeIco({{16, {0, 0, 255, 255}},
                                                                   {32, {0, 255, 0, 255}},
                                                                   {48, {255, 0, 0, 255}}}));
        const std::wstring box = std::to_wstring(c.box);
        f.Open(R"(<Icon name="three" path="three.ico"/>)", RolloverElement(L"e", 1, State(L"out", L"p")),
               L"<Picture name=\"p\" width=\"" + box + L"\" height=\"" + box +
                   L"\"><Icon name=\"three\" sizes=\"16x16,32x32,48x48\" stretch=\"" + c.stretch +
                   L"\" position=\"0,0," + box + L"," + box + L"\"/></Picture>");
        f.host.AddBox(1, {0, 0, c.box, c.box});
        DibCanvas canvas(80, 80);
        f.Paint(canvas);
        EXPECT_EQ(Rgb{c.color}, Rgb{canvas.Pixel(c.drawnSize - 1, c.drawnSize - 1)});
        EXPECT_EQ(Rgb{kBackground}, Rgb{canvas.Pixel(c.drawnSize, c.drawnSize)});
    }
}

// The rows of the canvas that hold a pixel of `color`: first and last.
std::pair<int, int> InkRows(const DibCanvas& canvas, COLORREF color) {
    int first = -1;
    int last = -1;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.Pixel(x, y) == color) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

int LineHeight() {
    HDC dc = ::CreateCompatibleDC(nullptr);
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    ::DeleteDC(dc);
    return metrics.tmHeight;
}

// The block height DrawText measures for `text` wrapped into `width`.
int WrappedHeight(const std::wstring& text, int width) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    RECT rect = {0, 0, width, 1000};
    ::DrawTextW(dc, text.c_str(), -1, &rect, DT_WORDBREAK | DT_CALCRECT);
    ::DeleteDC(dc);
    return rect.bottom - rect.top;
}

TEST(LayoutRenderer, TextLinesAndVerticalPlacement) {
    const std::wstring words = L"one two three four five six";
    const int width = 60;
    const int height = 150;
    const auto paint = [&](const std::wstring& attributes) {
        auto element = std::make_unique<OneElement>(L"<Text text=\"" + words + L"\" color=\"#FFFFFF\" position=\"0,0," +
                                                        std::to_wstring(width) + L"," + std::to_wstring(height) +
                                                        L"\" " + attributes + L"/>",
                                                    "", width, height, SIZE{100, 200});
        element->Paint();
        return InkRows(element->canvas, RGB(255, 255, 255));
    };
    const int line = LineHeight();
    const auto wrapped = paint(L"horzAlignment=\"Left\" ellipsisMode=\"None\" vertAlignment=\"Top\"");
    ASSERT_GE(wrapped.first, 0);
    EXPECT_GT(wrapped.second - wrapped.first + 1, line * 3 / 2) << "Left with no ellipsis wraps";
    const auto path = paint(L"horzAlignment=\"Left\" ellipsisMode=\"Path\" vertAlignment=\"Top\"");
    ASSERT_GE(path.first, 0);
    EXPECT_LE(path.second - path.first + 1, line) << "with a path ellipsis one line";

    const int free = height - WrappedHeight(words, width);
    const auto centre = paint(L"horzAlignment=\"Left\" ellipsisMode=\"None\" vertAlignment=\"Center\"");
    EXPECT_NEAR(free / 2, centre.first - wrapped.first, 2);
    const auto bottom = paint(L"horzAlignment=\"Left\" ellipsisMode=\"None\" vertAlignment=\"Bottom\"");
    EXPECT_NEAR(free, bottom.first - wrapped.first, 2);
}

TEST(LayoutRenderer, Shapes) {
    {
        OneElement e(L"<Shape position=\"0,0,20,10\"/>");
        e.Paint();
        ExpectPixels(e.canvas, [](int, int) { return RGB(0, 0, 0); });
    }
    {
        OneElement e(L"<Fill color=\"#00FF00\" position=\"2,2,12,8\"/>");
        e.Paint();
        EXPECT_EQ(Rgb{kGreen}, Rgb{e.canvas.Pixel(10 + 11, 10 + 7)}) << "without a border R grows by one pixel";
        EXPECT_EQ(Rgb{RGB(0, 0, 0)}, Rgb{e.canvas.Pixel(10 + 12, 10 + 8)});
    }
    {
        OneElement e(L"<Shape borderColorName=\"ink\" borderWidth=\"1\" position=\"0,0,20,10\"/>",
                     R"(<Color name="ink" value="#0000FF"/>)");
        e.Paint();
        EXPECT_EQ(Rgb{kBlue}, Rgb{e.canvas.Pixel(10, 10)}) << "a named border colour";
        EXPECT_EQ(Rgb{RGB(0, 0, 0)}, Rgb{e.canvas.Pixel(15, 15)}) << "no fill";
    }
}

TEST(LayoutRenderer, ShapesOfOnePaintAndTheDCsOwnPenAndBrushAfterIt) {
    // Consecutive shapes keep one pen and brush selected while their colour
    // stays: every shape still shows its own colours.
    OneElement e(L"<Fill color=\"#FF0000\" position=\"0,0,5,10\"/>"
                 L"<Fill color=\"#FF0000\" position=\"5,0,10,10\"/>"
                 L"<Fill color=\"#0000FF\" position=\"10,0,15,10\"/>"
                 L"<Shape borderColor=\"#00FF00\" borderWidth=\"1\" position=\"15,0,20,10\"/>"
                 L"<Fill color=\"#FF0000\" position=\"16,1,19,9\"/>");
    const HGDIOBJ pen = ::GetCurrentObject(e.canvas.Dc(), OBJ_PEN);
    const HGDIOBJ brush = ::GetCurrentObject(e.canvas.Dc(), OBJ_BRUSH);
    e.Paint();
    EXPECT_EQ(Rgb{kRed}, Rgb{e.canvas.Pixel(12, 15)});
    EXPECT_EQ(Rgb{kRed}, Rgb{e.canvas.Pixel(17, 15)});
    EXPECT_EQ(Rgb{kBlue}, Rgb{e.canvas.Pixel(22, 15)});
    EXPECT_EQ(Rgb{kGreen}, Rgb{e.canvas.Pixel(25, 10)}) << "the border";
    EXPECT_EQ(Rgb{kRed}, Rgb{e.canvas.Pixel(26, 11)}) << "a fill after a bordered shape has no border";
    EXPECT_EQ(Rgb{kRed}, Rgb{e.canvas.Pixel(28, 18)});
    EXPECT_EQ(pen, ::GetCurrentObject(e.canvas.Dc(), OBJ_PEN));
    EXPECT_EQ(brush, ::GetCurrentObject(e.canvas.Dc(), OBJ_BRUSH));
}

std::string SolidBmp(COLORREF color) {
    const Testing::Bgra pixel = {GetBValue(color), GetGValue(color), GetRValue(color), 255};
    return Testing::MakeBmp24(4, 4, std::vector<Testing::Bgra>(16, pixel));
}

TEST(LayoutRenderer, FileBitmapsFromTheSkinFolderAndTheirCache) {
    OneElement e(L"<Bitmap path=\"pictures\\kept.bmp\" position=\"0,0,10,10\"/>"
                 L"<Bitmap path=\"late.bmp\" position=\"10,0,20,10\"/>");
    const std::wstring skin = e.f.folder.Path(L"skin");
    const std::wstring kept = e.f.folder.WriteFile(L"skin\\pictures\\kept.bmp", SolidBmp(kGreen));
    e.f.manager->SetBaseFolder(skin);
    e.Paint();
    EXPECT_EQ(Rgb{kGreen}, Rgb{e.canvas.Pixel(15, 15)}) << "a relative path starts at the base folder";
    EXPECT_EQ(Rgb{RGB(0, 0, 0)}, Rgb{e.canvas.Pixel(25, 15)}) << "a missing file draws nothing";

    ASSERT_TRUE(::DeleteFileW(kept.c_str()));
    e.f.folder.WriteFile(L"skin\\late.bmp", SolidBmp(kBlue));
    e.canvas.SetPixel(15, 15, RGB(0, 0, 0));
    e.Paint();
    EXPECT_EQ(Rgb{kGreen}, Rgb{e.canvas.Pixel(15, 15)}) << "a loaded file stays cached";
    EXPECT_EQ(Rgb{kBlue}, Rgb{e.canvas.Pixel(25, 15)}) << "a failed load is tried again";
}

TEST(LayoutRenderer, AFileBitmapDrawnAgainOffScreen) {
    // The canvas keeps the bitmap selected after the first drawable; the
    // second is composed on a canvas of its own, which must draw it too.
    OneElement e(L"<Bitmap path=\"same.bmp\" position=\"0,0,10,10\"/>"
                 L"<Bitmap path=\"same.bmp\" position=\"10,0,20,10\" transparency=\"50\"/>");
    e.f.manager->SetBaseFolder(e.f.folder.Path(L"skin"));
    e.f.folder.WriteFile(L"skin\\same.bmp", SolidBmp(RGB(200, 200, 200)));
    e.Paint();
    EXPECT_EQ(Rgb{RGB(200, 200, 200)}, Rgb{e.canvas.Pixel(15, 15)});
    EXPECT_NEAR(100, GetRValue(e.canvas.Pixel(25, 15)), 1) << "half over black";
}

class RecordingCallback : public LayoutRenderer::IRenderCallback {
public:
    bool OnDrawDrawable(boost::shared_ptr<LayoutLib::IDrawable> drawable, LayoutRenderer::Canvas&,
                        boost::shared_ptr<LayoutLib::IElement>, const RECT&) override {
        return drawable->GetName() == L"mine";
    }
    bool OnDrawSpecial(boost::shared_ptr<LayoutLib::IDrawable>, LayoutRenderer::Canvas& canvas,
                       boost::shared_ptr<LayoutLib::IElement> element, const RECT& rect) override {
        specials.push_back(element ? element->GetId() : -1);
        canvas.FillSolidRect(&rect, kGrey);
        return true;
    }
    bool OnGetBitmap(boost::shared_ptr<LayoutLib::IDrawable>, LayoutRenderer::Canvas&,
                     boost::shared_ptr<LayoutLib::IElement>, CommonGuiLib::SharedBitmap& bitmap) override {
        bitmap = this->bitmap;
        return !CommonGuiLib::IsNullGDIObject(bitmap);
    }
    bool OnGetIcon(boost::shared_ptr<LayoutLib::IDrawable>, LayoutRenderer::Canvas&,
                   boost::shared_ptr<LayoutLib::IElement>, SIZE size, CommonGuiLib::SharedIcon& icon) override {
        iconSizes.push_back(size.cx);
        icon = this->icon;
        return !CommonGuiLib::IsNullGDIObject(icon);
    }
    bool OnGetText(boost::shared_ptr<LayoutLib::IDrawable>, LayoutRenderer::Canvas&,
                   boost::shared_ptr<LayoutLib::IElement>, std::wstring& text) override {
        text = L"WWWWWWWW";
        return true;
    }

    CommonGuiLib::SharedBitmap bitmap;
    CommonGuiLib::SharedIcon icon;
    std::vector<int> specials;
    std::vector<int> iconSizes;
};

TEST(LayoutRenderer, TheCallbackIsAskedFirst) {
    OneElement e(L"<Fill name=\"mine\" color=\"#FF0000\" position=\"0,0,4,10\"/>"
                 L"<Bitmap name=\"nowhere\" position=\"4,0,8,10\"/>"
                 L"<Icon name=\"nowhere\" sizes=\"16x16\" position=\"8,0,12,10\" stretch=\"Free\"/>"
                 L"<Special position=\"12,0,16,10\"/>"
                 L"<Text color=\"#FFFFFF\" position=\"16,0,40,10\" horzAlignment=\"Left\"/>",
                 "", 40, 10);
    RecordingCallback callback;
    callback.bitmap = CommonGuiLib::MakeSharedBitmap(
        SkinTesting::MakeDib(2, 2, 32, std::vector<Testing::Bgra>(4, Testing::Bgra{0, 255, 0, 255})), false);
    const std::wstring iconFile = e.f.folder.WriteFile(L"blue.ico", Testing::MakeIco({{16, {255, 0, 0, 255}}}));
    callback.icon = CommonGuiLib::LoadIconFromFile(iconFile, 16, 16);
    e.f.callback = &callback;
    e.Paint();
    EXPECT_EQ(Rgb{RGB(0, 0, 0)}, Rgb{e.canvas.Pixel(12, 15)}) << "the callback drew it: the renderer did not";
    EXPECT_EQ(Rgb{kGreen}, Rgb{e.canvas.Pixel(15, 15)}) << "the callback's bitmap";
    EXPECT_EQ(Rgb{kBlue}, Rgb{e.canvas.Pixel(19, 15)}) << "the callback's icon";
    EXPECT_EQ(std::vector<int>{16}, callback.iconSizes);
    EXPECT_EQ(Rgb{kGrey}, Rgb{e.canvas.Pixel(23, 15)}) << "the special drawable";
    EXPECT_EQ(std::vector<int>{1}, callback.specials);
    const auto ink = InkRows(e.canvas, RGB(255, 255, 255));
    EXPECT_GE(ink.first, 10) << "the callback's text";

    e.f.callback = nullptr;
    callback.specials.clear();
    e.canvas.SetPixel(23, 15, RGB(0, 0, 0));
    e.Paint();
    EXPECT_EQ(Rgb{RGB(0, 0, 0)}, Rgb{e.canvas.Pixel(23, 15)}) << "without a callback a special draws nothing";
    EXPECT_EQ(Rgb{kRed}, Rgb{e.canvas.Pixel(12, 15)});
}

TEST(LayoutRenderer, UpdateChildWindowsFollowsTheHostState) {
    RenderFixture f;
    f.Open("",
           L"<Element name=\"a\" id=\"1\" windowed=\"1\" position=\"0,0,1,1\"/>"
           L"<Element name=\"b\" id=\"2\" windowed=\"1\" position=\"0,0,1,1\"/>"
           L"<Element name=\"c\" id=\"3\" position=\"0,0,1,1\"/>",
           L"");
    HWND windows[3] = {};
    for (HWND& window : windows)
        window = ::CreateWindowW(L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < 3; ++i)
        f.host.childWindows[i + 1] = windows[i];
    f.host.states[1].enabled = false;
    f.host.states[1].visible = false;
    f.host.states[2].enabled = false;
    f.host.states[3].visible = false;
    const std::vector<int> onlyOne = {1, 3};
    LayoutRenderer::UpdateChildWindows(f.host, &onlyOne);
    EXPECT_FALSE(::IsWindowEnabled(windows[0]));
    EXPECT_FALSE(::IsWindowVisible(windows[0]));
    EXPECT_TRUE(::IsWindowEnabled(windows[1])) << "not in the list";
    EXPECT_TRUE(::IsWindowVisible(windows[2])) << "not a windowed element";
    LayoutRenderer::UpdateChildWindows(f.host, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(windows[1]));
    EXPECT_TRUE(::IsWindowVisible(windows[1]));
    for (HWND window : windows)
        ::DestroyWindow(window);
}

}  // namespace
