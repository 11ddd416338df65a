// Bitmap elements of the XML storage: picture files and gradients, read back
// pixel by pixel.
#include "resources/resourcelib/XmlStorage.h"

#include "testing/ResourceFolder.h"
#include "graphics/commongui/PictureLoaders.h"
#include "graphics/commongui/SharedBitmaps.h"
#include "graphics/gdiplus/GdiplusStartupHolder.h"
#include "graphics/tests/BitmapPixels.h"
#include "testing/PictureFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace ResourceLib;
using ResourceTesting::ResourceFolder;
using SkinTesting::ReadColors;
using Testing::Bgra;

// Colours only: the fourth byte of a read-back pixel is left out.
std::vector<Bgra> Colors(std::vector<Bgra> pixels) {
    for (Bgra& pixel : pixels)
        pixel.alpha = 0;
    return pixels;
}

Bgra Color(int red, int green, int blue) {
    return Bgra{static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(red), 0};
}

// One channel of a band between two stops, i pixels into a band of n.
int Blend(int from, int to, int i, int n) {
    return from + (to - from) * i / n;
}

bool ScreenIs32Bit() {
    HDC screen = ::GetDC(nullptr);
    const int bits = ::GetDeviceCaps(screen, BITSPIXEL);
    ::ReleaseDC(nullptr, screen);
    return bits == 32;
}

struct GradientFolder {
    ResourceFolder folder;
    explicit GradientFolder(const std::string& elements) {
        folder.WriteResources(L"Common", elements);
        folder.Open();
    }
    std::vector<Bgra> Pixels(const wchar_t* name, SIZE expectedSize) {
        const SharedBitmap bitmap = folder.manager->GetBitmapByName(name, false);
        if (CommonGuiLib::IsNullGDIObject(bitmap)) {
            ADD_FAILURE() << "no bitmap";
            return {};
        }
        const SIZE size = CommonGuiLib::GetBitmapSize(bitmap);
        EXPECT_EQ(expectedSize.cx, size.cx);
        EXPECT_EQ(expectedSize.cy, size.cy);
        return ReadColors(bitmap->GetHandle());
    }
};

TEST(XmlStorageBitmaps, VerticalGradientRowByRow) {
    GradientFolder f(R"(<Bitmap name="Bar" type="Gradient" orientation="Vertical" width="10" height="100">
        <Pin color="#0000FF" position="100"/><Pin color="#FF0000" position="0"/></Bitmap>)");
    const std::vector<Bgra> pixels = f.Pixels(L"Bar", {10, 100});
    ASSERT_EQ(1000u, pixels.size());
    std::vector<Bgra> expected;
    for (int row = 0; row < 100; ++row) {
        for (int column = 0; column < 10; ++column)
            expected.push_back(Color(Blend(255, 0, row, 100), 0, Blend(0, 255, row, 100)));
    }
    EXPECT_EQ(expected, Colors(pixels));
    if (ScreenIs32Bit()) {
        for (const Bgra& pixel : pixels)
            ASSERT_EQ(255, pixel.alpha) << "a generated picture is opaque";
    }
}

TEST(XmlStorageBitmaps, PinPositions) {
    GradientFolder f(R"(
        <Bitmap name="Clamped" type="Gradient" width="10" height="2">
          <Pin color="#000000" position="-20"/><Pin color="#FFFFFF" position="150"/></Bitmap>
        <Bitmap name="Duplicate" type="Gradient" orientation="horizontal" width="10" height="1">
          <Pin color="#FF0000" position="0"/><Pin color="#00FF00" position="50"/>
          <Pin color="#0000FF" position="50"/><Pin color="#FFFFFF" position="100"/></Bitmap>)");

    // -20 is 0 and 150 is 100: one band over the whole width.
    const std::vector<Bgra> clamped = Colors(f.Pixels(L"Clamped", {10, 2}));
    ASSERT_EQ(20u, clamped.size());
    for (int column = 0; column < 10; ++column) {
        SCOPED_TRACE(column);
        const int gray = Blend(0, 255, column, 10);
        EXPECT_EQ(Color(gray, gray, gray), clamped[column]);
        EXPECT_EQ(Color(gray, gray, gray), clamped[10 + column]);
    }

    // The second Pin at 50 is dropped; any other orientation text is horizontal.
    const std::vector<Bgra> duplicate = Colors(f.Pixels(L"Duplicate", {10, 1}));
    ASSERT_EQ(10u, duplicate.size());
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(Color(Blend(255, 0, column, 5), Blend(0, 255, column, 5), 0), duplicate[column]) << column;
    for (int column = 5; column < 10; ++column) {
        EXPECT_EQ(Color(Blend(0, 255, column - 5, 5), 255, Blend(0, 255, column - 5, 5)), duplicate[column])
            << column;
    }
}

TEST(XmlStorageBitmaps, DiagonalWithThreePinsPaintsNothing) {
    GradientFolder f(R"(<Bitmap name="Diagonal" type="Gradient" orientation="DiagonalTLBR" width="8" height="6">
        <Pin color="#FF0000" position="0"/><Pin color="#00FF00" position="50"/><Pin color="#0000FF" position="100"/>
        </Bitmap>)");
    const std::vector<Bgra> pixels = Colors(f.Pixels(L"Diagonal", {8, 6}));
    ASSERT_EQ(48u, pixels.size());
    // All as a new bitmap holds them: one colour, none of the three.
    for (const Bgra& pixel : pixels)
        ASSERT_EQ(pixels[0], pixel);
    EXPECT_FALSE(Color(255, 0, 0) == pixels[0]);
    EXPECT_FALSE(Color(0, 0, 255) == pixels[0]);
}

TEST(XmlStorageBitmaps, GradientsAcrossLayers) {
    ResourceFolder folder;
    folder.WriteResources(L"en-us", R"(
        <Bitmap name="BadWidth" type="Gradient" width="ten" height="1"><Pin color="#FF0000" position="0"/></Bitmap>
        <Bitmap name="BadPin" type="Gradient" width="2" height="1"><Pin color="#FF0000" position="half"/></Bitmap>
        <Bitmap name="NotGradient" type="gradient" width="2" height="1"><Pin color="#FF0000"/></Bitmap>
        <Bitmap name="MissingFile" path="missing.png" type="Gradient" width="3" height="2">
          <Pin color="nonsense"/></Bitmap>)");
    folder.WriteResources(L"Common", R"(
        <Bitmap name="BadWidth" type="Gradient" width="2" height="1"><Pin color="#00FF00" position="0"/></Bitmap>
        <Bitmap name="BadPin" type="Gradient" width="2" height="1"><Pin color="#00FF00" position="0"/></Bitmap>
        <Bitmap name="NotGradient" type="Gradient" width="2" height="1"><Pin color="#00FF00"/></Bitmap>)");
    folder.Open();

    for (const wchar_t* name : {L"BadWidth", L"BadPin", L"NotGradient"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        const SharedBitmap bitmap = folder.manager->GetBitmapByName(name, false);
        ASSERT_FALSE(CommonGuiLib::IsNullGDIObject(bitmap));
        EXPECT_EQ((std::vector<Bgra>{Color(0, 255, 0), Color(0, 255, 0)}), Colors(ReadColors(bitmap->GetHandle())));
    }
    // A path that loads nothing falls back to the gradient; a colour that
    // does not parse is black.
    const SharedBitmap fallback = folder.manager->GetBitmapByName(L"MissingFile", false);
    ASSERT_FALSE(CommonGuiLib::IsNullGDIObject(fallback));
    EXPECT_EQ(std::vector<Bgra>(6, Color(0, 0, 0)), Colors(ReadColors(fallback->GetHandle())));

    boost::system::error_code ec;
    EXPECT_FALSE(folder.storage->GetBitmapByName(L"Nothing", false, &ec));
    EXPECT_EQ(boost::system::error_code(ResourceNotFound, GetErrorCategory()), ec);
}

TEST(XmlStorageBitmaps, PictureFiles) {
    GdiplusStartupHolder gdiplus;
    const std::vector<Bgra> alphaPixels = {{200, 100, 50, 128}, {0, 0, 255, 255}};
    const std::vector<Bgra> plainPixels = {{10, 20, 30, 255}, {40, 50, 60, 255}};
    ResourceFolder folder;
    folder.WriteResources(L"en-us", R"(
        <Bitmap name="Alpha" path="alpha.png"/>
        <Bitmap name="Plain" path="plain.bmp" type="Gradient" width="2" height="1"><Pin color="#FF0000"/></Bitmap>)");
    folder.WriteFile(L"en-us\\alpha.png", Testing::MakePng(2, 1, alphaPixels));
    folder.WriteFile(L"en-us\\Dark\\plain.bmp", Testing::MakeBmp24(2, 1, plainPixels));
    folder.Open();
    IManager& manager = *folder.manager;
    manager.RegisterResourceName(4, L"Alpha", ResourceTypes::Bitmap);

    // The file wins over the gradient the element also describes.
    const SharedBitmap plain = manager.GetBitmapByName(L"Plain", false);
    ASSERT_FALSE(CommonGuiLib::IsNullGDIObject(plain));
    EXPECT_EQ(Colors(plainPixels), Colors(ReadColors(plain->GetHandle())));

    const SharedBitmap straight = manager.GetBitmapById(4, false);
    ASSERT_FALSE(CommonGuiLib::IsNullGDIObject(straight));
    EXPECT_EQ(alphaPixels, SkinTesting::ReadDibSection32(straight->GetHandle()));

    const SharedBitmap premultiplied = manager.GetBitmapById(4, true);
    ASSERT_FALSE(CommonGuiLib::IsNullGDIObject(premultiplied));
    EXPECT_NE(straight, premultiplied);
    if (ScreenIs32Bit()) {
        EXPECT_EQ((std::vector<Bgra>{{100, 50, 25, 128}, {0, 0, 255, 255}}),
                  SkinTesting::ReadDibSection32(premultiplied->GetHandle()));
    }
    // The straight picture in the cache was not touched.
    EXPECT_EQ(alphaPixels, SkinTesting::ReadDibSection32(manager.GetBitmapById(4, false)->GetHandle()));
}

TEST(XmlStorageBitmaps, PremultiplyBitmap) {
    if (!ScreenIs32Bit())
        GTEST_SKIP() << "the screen is not 32 bits per pixel";
    GdiplusStartupHolder gdiplus;
    Testing::TempFolder files;
    const std::wstring path = files.WriteFile(L"alpha.bmp", Testing::MakeBmp32(1, 1, {{200, 100, 50, 128}}));
    const SharedBitmap bitmap = CommonGuiLib::LoadBitmapFromFile(path, false);
    ASSERT_FALSE(CommonGuiLib::IsNullGDIObject(bitmap));
    PremultiplyBitmap(bitmap);
    EXPECT_EQ((std::vector<Bgra>{{100, 50, 25, 128}}), SkinTesting::ReadDibSection32(bitmap->GetHandle()));
    PremultiplyBitmap(SharedBitmap());  // nothing to do, no failure
}

}  // namespace
