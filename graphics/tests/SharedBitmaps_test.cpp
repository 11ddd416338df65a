#include "graphics/commongui/SharedBitmaps.h"

#include "BitmapPixels.h"

#include <gtest/gtest.h>

namespace {

using namespace CommonGuiLib;
using SkinTesting::BitsPerPixel;
using SkinTesting::MakeDib;
using SkinTesting::ReadDibSection32;
using Testing::Bgra;

const std::vector<Bgra> kStraight = {{200, 100, 50, 128}, {10, 20, 30, 255}, {90, 80, 70, 0}, {255, 255, 255, 1}};
const std::vector<Bgra> kPremultiplied = {{100, 50, 25, 128}, {10, 20, 30, 255}, {0, 0, 0, 0}, {1, 1, 1, 1}};

TEST(SharedBitmaps, ForcedPremultiplication) {
    const SharedBitmap bitmap = MakeSharedBitmap(MakeDib(2, 2, 32, kStraight), false);
    EXPECT_EQ(kStraight, ReadDibSection32(bitmap->GetHandle()));
    PremultiplyBitmapAlpha(bitmap->GetHandle(), true);
    EXPECT_EQ(kPremultiplied, ReadDibSection32(bitmap->GetHandle()));
    // No mark is kept: a second pass darkens again.
    PremultiplyAlpha(bitmap);
    EXPECT_EQ((Bgra{50, 25, 12, 128}), ReadDibSection32(bitmap->GetHandle())[0]);
}

TEST(SharedBitmaps, UnforcedPremultiplicationFollowsTheScreenDepth) {
    HDC screen = ::GetDC(nullptr);
    const int screenBits = ::GetDeviceCaps(screen, BITSPIXEL);
    ::ReleaseDC(nullptr, screen);
    const SharedBitmap bitmap = MakeSharedBitmap(MakeDib(2, 2, 32, kStraight), false);
    PremultiplyBitmapAlpha(bitmap->GetHandle(), false);
    EXPECT_EQ(screenBits == 32 ? kPremultiplied : kStraight, ReadDibSection32(bitmap->GetHandle()));
}

TEST(SharedBitmaps, MakeSharedBitmapPremultipliesOnly32BitBitmaps) {
    const SharedBitmap deep = MakeSharedBitmap(MakeDib(2, 2, 32, kStraight), true);
    EXPECT_EQ(kPremultiplied, ReadDibSection32(deep->GetHandle()));

    // 24 bits: wrapped without any pixel change.
    HBITMAP shallow = MakeDib(2, 2, 24, kStraight);
    DIBSECTION dib = {};
    ASSERT_EQ(static_cast<int>(sizeof(dib)), ::GetObjectW(shallow, sizeof(dib), &dib));
    const std::string before(static_cast<const char*>(dib.dsBm.bmBits), dib.dsBm.bmWidthBytes * 2);
    const SharedBitmap wrapped = MakeSharedBitmap(shallow, true);
    EXPECT_EQ(shallow, wrapped->GetHandle());
    EXPECT_EQ(before, std::string(static_cast<const char*>(dib.dsBm.bmBits), dib.dsBm.bmWidthBytes * 2));

    const SharedBitmap null = MakeSharedBitmap(nullptr, true);
    EXPECT_TRUE(null);
    EXPECT_TRUE(IsNullGDIObject(null));
}

TEST(SharedBitmaps, HasAlphaChannelByDepth) {
    HDC memory = ::CreateCompatibleDC(nullptr);
    const struct {
        const char* name;
        SharedBitmap bitmap;
        bool expected;
    } cases[] = {
        {"32-bit DIB", MakeSharedBitmap(MakeDib(2, 2, 32, kStraight), false), true},
        {"24-bit DIB", MakeSharedBitmap(MakeDib(2, 2, 24, kStraight), false), false},
        {"monochrome", MakeSharedBitmap(::CreateBitmap(8, 8, 1, 1, nullptr), false), false},
        {"null handle", MakeSharedBitmap(nullptr, false), false},
        {"empty pointer", SharedBitmap(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, HasAlphaChannel(c.bitmap));
        EXPECT_EQ(c.expected, HasAlphaChannel(c.bitmap, memory));
    }
    ::DeleteDC(memory);
}

TEST(SharedBitmaps, PremultiplyingADeviceBitmapReadsPlainPixels) {
    // A bitmap compatible with a 32-bit screen may report colour masks; the
    // pixels must still come back as blue, green, red, alpha.
    HDC screen = ::GetDC(nullptr);
    const int screenBits = ::GetDeviceCaps(screen, BITSPIXEL);
    HBITMAP device = ::CreateCompatibleBitmap(screen, 2, 2);
    ::ReleaseDC(nullptr, screen);
    if (screenBits != 32) {
        ::DeleteObject(device);
        GTEST_SKIP() << "the screen has " << screenBits << " bits per pixel";
    }
    const SharedBitmap bitmap = MakeSharedBitmap(device, false);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = -2;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = ::GetDC(nullptr);
    ASSERT_EQ(2, ::SetDIBits(dc, device, 0, 2, kStraight.data(), &info, DIB_RGB_COLORS));
    PremultiplyAlpha(bitmap);
    std::vector<Bgra> pixels(4);
    ASSERT_EQ(2, ::GetDIBits(dc, device, 0, 2, pixels.data(), &info, DIB_RGB_COLORS));
    ::ReleaseDC(nullptr, dc);
    for (size_t i = 0; i < pixels.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "pixel " << i);
        EXPECT_EQ(kPremultiplied[i].blue, pixels[i].blue);
        EXPECT_EQ(kPremultiplied[i].green, pixels[i].green);
        EXPECT_EQ(kPremultiplied[i].red, pixels[i].red);
    }
}

TEST(SharedBitmaps, Copies) {
    const SharedBitmap source = MakeSharedBitmap(MakeDib(2, 2, 32, kStraight), false);
    const SharedBitmap copy = CopyBitmap(source);
    ASSERT_FALSE(IsNullGDIObject(copy));
    EXPECT_NE(source->GetHandle(), copy->GetHandle());
    EXPECT_EQ(32, BitsPerPixel(copy->GetHandle()));
    EXPECT_EQ(kStraight, ReadDibSection32(copy->GetHandle()));

    const SharedBitmap premultiplied = MakePremultipliedCopy(source);
    EXPECT_EQ(kPremultiplied, ReadDibSection32(premultiplied->GetHandle()));
    EXPECT_EQ(kStraight, ReadDibSection32(source->GetHandle()));

    for (const SharedBitmap& null : {SharedBitmap(), MakeSharedBitmap(nullptr, false)}) {
        const SharedBitmap nullCopy = CopyBitmap(null);
        EXPECT_TRUE(nullCopy);
        EXPECT_TRUE(IsNullGDIObject(nullCopy));
        EXPECT_TRUE(IsNullGDIObject(MakePremultipliedCopy(null)));
    }
}

TEST(SharedBitmaps, Sizes) {
    const SIZE size = GetBitmapSize(MakeSharedBitmap(MakeDib(7, 3, 24, std::vector<Bgra>(21)), false));
    EXPECT_EQ(7, size.cx);
    EXPECT_EQ(3, size.cy);
    for (const SharedBitmap& null : {SharedBitmap(), MakeSharedBitmap(nullptr, false)}) {
        EXPECT_EQ(0, GetBitmapSize(null).cx);
        EXPECT_EQ(0, GetBitmapSize(null).cy);
    }
    EXPECT_EQ(0, GetIconSize(SharedIcon()).cx);
    EXPECT_EQ(0, GetIconSize(MakeSharedGDIObject<SharedGDIObjectIcon>(nullptr)).cy);
}

TEST(SharedBitmaps, IconSizes) {
    // A colour icon and a monochrome one, whose single mask bitmap holds the
    // AND and XOR halves one above the other.
    const std::vector<BYTE> andBits(4 * 24, 0x00);
    const std::vector<BYTE> xorBits(4 * 24, 0xFF);
    const SharedIcon monochrome =
        MakeSharedGDIObject<SharedGDIObjectIcon>(::CreateIcon(nullptr, 20, 24, 1, 1, andBits.data(), xorBits.data()));
    ASSERT_FALSE(IsNullGDIObject(monochrome));

    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = MakeDib(12, 10, 32, std::vector<Bgra>(120, Bgra{1, 2, 3, 255}));
    info.hbmMask = ::CreateBitmap(12, 10, 1, 1, nullptr);
    const SharedIcon color = MakeSharedGDIObject<SharedGDIObjectIcon>(::CreateIconIndirect(&info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ASSERT_FALSE(IsNullGDIObject(color));

    EXPECT_EQ(20, GetIconSize(monochrome).cx);
    EXPECT_EQ(24, GetIconSize(monochrome).cy);
    EXPECT_EQ(12, GetIconSize(color).cx);
    EXPECT_EQ(10, GetIconSize(color).cy);
}

}  // namespace
