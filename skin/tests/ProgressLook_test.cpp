// Typed custom value getters and the progress look of "WLProgress" elements.
#include "skin/renderer/ProgressLook.h"

#include "skin/layout/CustomGetters.h"
#include "skin/tests/RenderFixture.h"
#include "testing/PictureFiles.h"

#include <gtest/gtest.h>

namespace {

using namespace LayoutLib;
using namespace SkinTesting;
using LayoutRenderer::ReadProgressLook;
using Testing::Rgb;

TEST(CustomGetters, FirstMapThenSecondThenDefaultAndOtherTypesCountAsMissing) {
    CustomValues first;
    CustomValues second;
    SetCustomValue(first, L"both", 1);
    SetCustomValue(second, L"both", 2);
    SetCustomValue(first, L"wrongFirst", std::wstring(L"7"));
    SetCustomValue(second, L"wrongFirst", 3);
    SetCustomValue(second, L"onlySecond", 4);
    SetCustomValue(first, L"hidden", 5);
    first[L"hidden"].hidden = true;
    EXPECT_EQ(1, GetCustomInt(L"both", first, second, 0));
    EXPECT_EQ(3, GetCustomInt(L"wrongFirst", first, second, 0));
    EXPECT_EQ(4, GetCustomInt(L"onlySecond", first, second, 0));
    EXPECT_EQ(9, GetCustomInt(L"none", first, second, 9));
    EXPECT_EQ(9, GetCustomInt(L"hidden", first, second, 9));
    EXPECT_DOUBLE_EQ(0.5, GetCustomDouble(L"both", first, second, 0.5)) << "an int is no double";
    EXPECT_TRUE(GetCustomBool(L"both", first, second, true)) << "an int is no bool";
    EXPECT_EQ(L"7", GetCustomString(L"wrongFirst", first, second, L"d"));
    EXPECT_EQ(L"7", GetCustomString(L"wrongFirst", first, L"d"));
    EXPECT_EQ(L"d", GetCustomString(L"wrongFirst", second, L"d"));
}

std::wstring ProgressElement(const std::wstring& stateData) {
    return L"<Element name=\"bar\" id=\"1\" position=\"0,0,1,1\"><Visual type=\"WLProgress\"><States>"
           L"<State name=\"default\"><Custom data=\"" +
           stateData + L"\"/></State><State name=\"busy\"><Custom data=\"text=busy\"/></State></States></Visual></Element>";
}

TEST(ProgressLook, ReadingTakesTheCallersMapFirstAndExactWords) {
    RenderFixture f;
    f.Open("", ProgressElement(L"text=own;progressChunkWidth=x;textOrientation=center;textLeft@i=5;"
                               L"stretchBackground@b=1;textTop@i=2"),
           L"");
    const auto element = f.host.window->GetElementById(1);
    ASSERT_TRUE(element);
    CustomValues caller;
    SetCustomValue(caller, L"progress", std::wstring(L"0.5"));  // wrong type: ignored
    SetCustomValue(caller, L"textTop", 8);
    CommonGuiLib::ControlLook look;
    ASSERT_TRUE(ReadProgressLook(*element, caller, f.folder.manager.get(), look));
    EXPECT_DOUBLE_EQ(0.0, look.progress);
    EXPECT_EQ(L"own", look.text);
    EXPECT_EQ(0, look.progressChunkWidth) << "a string is no int";
    EXPECT_EQ(4, look.textOrientation) << "\"center\" is not \"Center\"";
    EXPECT_EQ(5, look.textLeft);
    EXPECT_EQ(8, look.textTop) << "the caller's map wins";
    EXPECT_TRUE(look.stretchBackground);

    SetCustomValue(caller, L"state", std::wstring(L"busy"));
    ASSERT_TRUE(ReadProgressLook(*element, caller, nullptr, look));
    EXPECT_EQ(L"busy", look.text);
    SetCustomValue(caller, L"state", std::wstring(L"missing"));
    look.text = L"kept";
    EXPECT_FALSE(ReadProgressLook(*element, caller, nullptr, look));
    EXPECT_EQ(L"kept", look.text);
}

std::string Solid(COLORREF color) {
    const Testing::Bgra pixel = {GetBValue(color), GetGValue(color), GetRValue(color), 255};
    return Testing::MakeBmp24(4, 4, std::vector<Testing::Bgra>(16, pixel));
}

TEST(ProgressLook, BarSplitByProgressAndChunks) {
    RenderFixture f;
    f.folder.WriteFile(L"Common\\bg.bmp", Solid(RGB(0, 0, 255)));
    f.folder.WriteFile(L"Common\\fg.bmp", Solid(RGB(0, 255, 0)));
    f.Open(R"(<Bitmap name="bg" path="bg.bmp"/><Bitmap name="fg" path="fg.bmp"/>)",
           ProgressElement(L"background=bg;stretchBackground@b=1;foreground=fg;stretchForeground@b=1;"
                           L"progressChunkWidth@i=10"),
           L"");
    f.host.AddBox(1, {0, 0, 100, 10});
    SetCustomValue(f.host.preparedValues, L"progress", 0.55);
    DibCanvas canvas(120, 10);
    f.Paint(canvas);
    EXPECT_EQ(Rgb{RGB(0, 255, 0)}, Rgb{canvas.Pixel(0, 5)});
    EXPECT_EQ(Rgb{RGB(0, 255, 0)}, Rgb{canvas.Pixel(49, 5)});
    EXPECT_EQ(Rgb{RGB(0, 0, 255)}, Rgb{canvas.Pixel(50, 5)});
    EXPECT_EQ(Rgb{RGB(0, 0, 255)}, Rgb{canvas.Pixel(99, 5)});
    EXPECT_EQ(Rgb{RGB(1, 2, 3)}, Rgb{canvas.Pixel(100, 5)});

    SetCustomValue(f.host.preparedValues, L"state", std::wstring(L"none"));
    DibCanvas untouched(120, 10);
    f.Paint(untouched);
    EXPECT_EQ(Rgb{RGB(1, 2, 3)}, Rgb{untouched.Pixel(0, 5)}) << "no state of that name draws nothing";
}

TEST(ProgressLook, LayoutPicturesStandInForMissingBitmaps) {
    RenderFixture f;
    f.Open("", ProgressElement(L"backgroundPicture=track;foregroundPicture=bar;background=nowhere"),
           FillPicture(L"track", 10, 10, L"#0000FF") + FillPicture(L"bar", 10, 10, L"#FF0000"));
    f.host.AddBox(1, {0, 0, 40, 10});
    SetCustomValue(f.host.preparedValues, L"progress", 0.5);
    DibCanvas canvas(40, 10);
    f.Paint(canvas);
    EXPECT_EQ(Rgb{RGB(255, 0, 0)}, Rgb{canvas.Pixel(19, 5)});
    EXPECT_EQ(Rgb{RGB(0, 0, 255)}, Rgb{canvas.Pixel(20, 5)});
}

}  // namespace
