#include "graphics/commongui/PictureLoaders.h"
#include "graphics/commongui/SharedBitmaps.h"

#include "BitmapPixels.h"
#include "DibCanvas.h"
#include "GraphicsTestResources.h"

#include "testing/PictureFiles.h"
#include "testing/TempFolder.h"

#include <afxres_find.h>
#include <gtest/gtest.h>

namespace {

using namespace CommonGuiLib;
using SkinTesting::BitsPerPixel;
using SkinTesting::ReadColors;
using SkinTesting::ReadDibSection32;
using SkinTesting::Rgb;
using Testing::Bgra;

// Straight alpha: the colours are not scaled by it.
const std::vector<Bgra> kAlphaPixels = {
    {200, 100, 50, 128}, {0, 0, 255, 255}, {40, 80, 120, 255},
    {255, 255, 255, 64}, {10, 20, 30, 1},  {90, 60, 30, 200},
};
const std::vector<Bgra> kPremultipliedPixels = {
    {100, 50, 25, 128}, {0, 0, 255, 255}, {40, 80, 120, 255},
    {64, 64, 64, 64},   {0, 0, 0, 1},     {70, 47, 23, 200},
};

std::vector<Bgra> Opaque(std::vector<Bgra> pixels) {
    for (Bgra& p : pixels)
        p.alpha = 255;
    return pixels;
}

TEST(PictureLoaders, FilesWithAlphaKeepItStraight) {
    Testing::TempFolder folder;
    const struct {
        const char* name;
        std::wstring path;
    } cases[] = {
        {"PNG from GDI+", folder.WriteFile(L"alpha.png", Testing::MakePng(3, 2, kAlphaPixels))},
        {"BMP with an alpha mask", folder.WriteFile(L"alpha.bmp", Testing::MakeBmp32(3, 2, kAlphaPixels))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(Testing::ReadFileBytes(c.path).empty());

        const SharedBitmap straight = LoadBitmapFromFile(c.path, false);
        ASSERT_FALSE(IsNullGDIObject(straight));
        const SIZE size = GetBitmapSize(straight);
        EXPECT_EQ(3, size.cx);
        EXPECT_EQ(2, size.cy);
        EXPECT_TRUE(HasAlphaChannel(straight));
        EXPECT_EQ(kAlphaPixels, ReadDibSection32(straight->GetHandle()));

        const SharedBitmap premultiplied = LoadBitmapFromFile(c.path, true);
        ASSERT_FALSE(IsNullGDIObject(premultiplied));
        EXPECT_EQ(kPremultipliedPixels, ReadDibSection32(premultiplied->GetHandle()));
    }
}

TEST(PictureLoaders, FileWithoutAlphaIs24Bit) {
    Testing::TempFolder folder;
    const std::wstring path = folder.WriteFile(L"plain.bmp", Testing::MakeBmp24(3, 2, kAlphaPixels));
    for (bool premultiply : {false, true}) {
        SCOPED_TRACE(testing::Message() << "premultiply " << premultiply);
        const SharedBitmap bitmap = LoadBitmapFromFile(path, premultiply);
        ASSERT_FALSE(IsNullGDIObject(bitmap));
        EXPECT_EQ(24, BitsPerPixel(bitmap->GetHandle()));
        EXPECT_FALSE(HasAlphaChannel(bitmap));
        EXPECT_EQ(Opaque(kAlphaPixels), Opaque(ReadColors(bitmap->GetHandle())));
    }
}

TEST(PictureLoaders, FailuresGiveAHolderWithoutHandle) {
    Testing::TempFolder folder;
    const struct {
        const char* name;
        std::wstring path;
    } cases[] = {
        {"missing file", folder / L"missing.png"},
        {"missing folder", L"Z:\\no\\such\\folder\\picture.bmp"},
        {"not a picture", folder.WriteFile(L"garbage.png", "this is no picture")},
        {"truncated", folder.WriteFile(L"truncated.bmp", Testing::MakeBmp24(3, 2, kAlphaPixels).substr(0, 20))},
        {"empty path", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SharedBitmap bitmap = LoadBitmapFromFile(c.path, false);
        EXPECT_TRUE(bitmap);
        EXPECT_TRUE(IsNullGDIObject(bitmap));
        const SharedIcon icon = LoadIconFromFile(c.path, 16, 16);
        EXPECT_TRUE(icon);
        EXPECT_TRUE(IsNullGDIObject(icon));
    }
    EXPECT_TRUE(IsNullGDIObject(LoadBitmapFromFile(wlitestring(), true)));
    EXPECT_TRUE(IsNullGDIObject(LoadIconFromFile(wlitestring(), 32, 32)));
}

TEST(PictureLoaders, PathNeedNotBeZeroTerminated) {
    Testing::TempFolder folder;
    const std::wstring path = folder.WriteFile(L"plain.bmp", Testing::MakeBmp24(3, 2, kAlphaPixels));
    const std::wstring longer = path + L"XYZ";
    EXPECT_FALSE(IsNullGDIObject(LoadBitmapFromFile(wlitestring(longer.c_str(), static_cast<int>(path.size())), false)));
}

// The colour in the middle of an icon drawn at its own size.
COLORREF IconCenterColor(const SharedIcon& icon) {
    const SIZE size = GetIconSize(icon);
    SkinTesting::DibCanvas canvas(size.cx, size.cy);
    ::DrawIconEx(canvas.Dc(), 0, 0, icon->GetHandle(), size.cx, size.cy, 0, nullptr, DI_NORMAL);
    return canvas.Pixel(size.cx / 2, size.cy / 2);
}

TEST(PictureLoaders, IconFileAtEachSize) {
    Testing::TempFolder folder;
    const std::wstring path = folder.WriteFile(
        L"two.ico", Testing::MakeIco({{16, {0, 0, 255, 255}}, {32, {255, 0, 0, 255}}}));
    const struct {
        int size;
        COLORREF color;
    } cases[] = {{16, RGB(255, 0, 0)}, {32, RGB(0, 0, 255)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " x " << c.size);
        const SharedIcon icon = LoadIconFromFile(path, c.size, c.size);
        ASSERT_FALSE(IsNullGDIObject(icon));
        const SIZE size = GetIconSize(icon);
        EXPECT_EQ(c.size, size.cx);
        EXPECT_EQ(c.size, size.cy);
        EXPECT_EQ(Rgb{c.color}, Rgb{IconCenterColor(icon)});
    }
}

// The bitmap of the test's resource script: (x, y) is red 40x, green 80y, blue 200.
void ExpectResourceBitmap(const SharedBitmap& bitmap) {
    ASSERT_FALSE(IsNullGDIObject(bitmap));
    const SIZE size = GetBitmapSize(bitmap);
    ASSERT_EQ(5, size.cx);
    ASSERT_EQ(3, size.cy);
    const std::vector<Bgra> colors = ReadColors(bitmap->GetHandle());
    ASSERT_EQ(15u, colors.size());
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const Bgra& p = colors[y * 5 + x];
            EXPECT_EQ(Rgb{RGB(40 * x, 80 * y, 200)}, Rgb{RGB(p.red, p.green, p.blue)}) << "(" << x << "," << y << ")";
        }
    }
}

TEST(PictureLoaders, BitmapResourceOfTheExecutable) {
    // The module argument is not consulted: MFC's resource chain finds the executable.
    const HMODULE unrelated = ::GetModuleHandleW(L"kernel32.dll");
    {
        SCOPED_TRACE("by id");
        ExpectResourceBitmap(LoadBitmapFromResourceId(unrelated, IDB_SKIN_TEST, false));
    }
    {
        SCOPED_TRACE("by name");
        ExpectResourceBitmap(LoadBitmapFromResource(nullptr, L"SKINTESTBITMAP", false));
    }
    {
        SCOPED_TRACE("by a name that is not zero-terminated");
        ExpectResourceBitmap(LoadBitmapFromResource(nullptr, wlitestring(L"SKINTESTBITMAPS", 14), false));
    }
    const SharedBitmap missing = LoadBitmapFromResourceId(nullptr, 4321, false);
    EXPECT_TRUE(missing);
    EXPECT_TRUE(IsNullGDIObject(missing));
    EXPECT_TRUE(IsNullGDIObject(LoadBitmapFromResource(nullptr, L"NOSUCHBITMAP", false)));
}

TEST(PictureLoaders, BitmapResourceOfARegisteredModule) {
    // user32 carries the system's own bitmaps; the test executable does not.
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const LPCWSTR closeBox = MAKEINTRESOURCEW(32754);  // OBM_CLOSE
    ASSERT_TRUE(::FindResourceW(user32, closeBox, RT_BITMAP));
    ASSERT_FALSE(::FindResourceW(::GetModuleHandleW(nullptr), closeBox, RT_BITMAP));

    EXPECT_EQ(::GetModuleHandleW(nullptr), ::AfxFindResourceHandle(closeBox, RT_BITMAP));
    EXPECT_TRUE(IsNullGDIObject(LoadBitmapFromResourceId(nullptr, 32754, false)));

    ::AfxAddResourceModule(user32);
    EXPECT_EQ(user32, ::AfxFindResourceHandle(closeBox, RT_BITMAP));
    EXPECT_EQ(::GetModuleHandleW(nullptr), ::AfxFindResourceHandle(MAKEINTRESOURCEW(IDB_SKIN_TEST), RT_BITMAP));
    EXPECT_FALSE(IsNullGDIObject(LoadBitmapFromResourceId(nullptr, 32754, false)));

    ::AfxRemoveResourceModule(user32);
    EXPECT_EQ(::GetModuleHandleW(nullptr), ::AfxFindResourceHandle(closeBox, RT_BITMAP));
}

TEST(PictureLoaders, IconResourceAtEachSize) {
    const HMODULE self = ::GetModuleHandleW(nullptr);
    const SharedIcon small = LoadIconFromResourceId(self, IDI_SKIN_TEST, 16, 16);
    const SharedIcon large = LoadIconFromResource(self, L"SKINTESTICON", 32, 32);
    ASSERT_FALSE(IsNullGDIObject(small));
    ASSERT_FALSE(IsNullGDIObject(large));
    EXPECT_NE(small->GetHandle(), large->GetHandle());
    EXPECT_EQ(16, GetIconSize(small).cx);
    EXPECT_EQ(16, GetIconSize(small).cy);
    EXPECT_EQ(32, GetIconSize(large).cx);
    EXPECT_EQ(32, GetIconSize(large).cy);
    EXPECT_EQ(Rgb{RGB(255, 0, 0)}, Rgb{IconCenterColor(small)});
    EXPECT_EQ(Rgb{RGB(0, 0, 255)}, Rgb{IconCenterColor(large)});

    // Icons are looked up in the module given, not through the resource chain.
    EXPECT_TRUE(IsNullGDIObject(LoadIconFromResourceId(::GetModuleHandleW(L"kernel32.dll"), IDI_SKIN_TEST, 16, 16)));
    EXPECT_TRUE(IsNullGDIObject(LoadIconFromResourceId(self, 4321, 16, 16)));
}

}  // namespace
