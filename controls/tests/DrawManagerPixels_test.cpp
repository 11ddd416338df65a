#include "controls/drawing/DrawManager.h"

#include "DrawTestSupport.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

namespace {

using ControlsTesting::MakeImage;

std::string Hex(std::uint32_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << std::setw(8) << std::setfill('0') << value;
    return out.str();
}

TEST(DrawManagerPixels, ColourFunctions) {
    struct Case {
        const char* what;
        std::uint32_t (*apply)(std::uint32_t);
        std::uint32_t pixel, expected;
    } cases[] = {
        {"grayscale", [](std::uint32_t p) { return CDrawManager::PixelGrayscale(p); }, 0x6496C8, 0x8C8C8C},  // 140.75
        {"grayscale", [](std::uint32_t p) { return CDrawManager::PixelGrayscale(p); }, 0xFF0000, 0x4C4C4C},  // 76.245
        {"grayscale", [](std::uint32_t p) { return CDrawManager::PixelGrayscale(p); }, 0x0000FF, 0x1D1D1D},  // 29.07
        {"grayscale", [](std::uint32_t p) { return CDrawManager::PixelGrayscale(p); }, 0xFFFFFF, 0xFFFFFF},
        {"darker 0.75", [](std::uint32_t p) { return CDrawManager::PixelDarker(p, 0.75); }, 0x64C8FF, 0x4B96BF},
        {"darker 1.5", [](std::uint32_t p) { return CDrawManager::PixelDarker(p, 1.5); }, 0x64C8FF, 0x64C8FF},
        {"darker -0.1", [](std::uint32_t p) { return CDrawManager::PixelDarker(p, -0.1); }, 0x64C8FF, 0x64C8FF},
        {"lighter 0.25", [](std::uint32_t p) { return CDrawManager::PixelLighter(p, 0.25); }, 0x64C8F0, 0x7DFAFF},
        {"lighter 2", [](std::uint32_t p) { return CDrawManager::PixelLighter(p, 2.0); }, 0x64C8F0, 0x64C8F0},
        {"invert", [](std::uint32_t p) { return CDrawManager::PixelInvert(p); }, 0x0080FF, 0xFF7F00},
        {"mix", [](std::uint32_t p) { return CDrawManager::PixelMix(p, 0.25, 0x000000, 0.75); }, 0x64C8FF, 0x19323F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.what << " of " << Hex(c.pixel));
        EXPECT_EQ(Hex(c.expected), Hex(c.apply(c.pixel)));
    }
    EXPECT_EQ(Hex(0x00332211), Hex(CDrawManager::ColorToPixel(RGB(0x33, 0x22, 0x11))));
}

TEST(DrawManagerPixels, ConvertImageAppliesEffectsInOrderAndKeepsAlpha) {
    // The mask colour matches only a pixel whose whole value equals it: alpha 0.
    auto source = MakeImage(4, 1, [](int x, int) {
        const std::uint32_t pixels[] = {0x00112233, 0x80112233, 0x006496C8, 0x00FFFFFF};
        return pixels[x];
    });
    ASSERT_TRUE(source);
    struct Case {
        const char* what;
        DWORD effects;
        std::uint32_t expected[4];
        bool hasAlpha;
    } cases[] = {
        {"none", 0, {0, 0x80112233, 0x006496C8, 0x00FFFFFF}, true},
        {"grayscale", CDrawManager::EffectGrayscale, {0, 0x801E1E1E, 0x008C8C8C, 0x00FFFFFF}, true},
        {"grayscale then darker", CDrawManager::EffectGrayscale | CDrawManager::EffectDarker,
         {0, 0x80161616, 0x00696969, 0x00BFBFBF}, true},
        {"flat fill", CDrawManager::EffectFlatFill, {0, 0x80CCBBAA, 0x00CCBBAA, 0x00CCBBAA}, true},
        {"mask", CDrawManager::EffectFlatFill | CDrawManager::EffectInvert, {0x00FFFFFF, 0x80334455, 0x00334455, 0x00334455}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDrawManager manager;
        auto converted = manager.ConvertImage(source->Handle(), 4, 1, c.effects, true, RGB(0x11, 0x22, 0x33), RGB(0xCC, 0xBB, 0xAA));
        ASSERT_TRUE(converted);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Hex(c.expected[x]), Hex(converted->At(x, 0))) << "pixel " << x;
        EXPECT_EQ(c.hasAlpha, manager.ImageHasAlpha());
    }
}

TEST(DrawManagerPixels, ConvertWithoutMaskTouchesEveryPixel) {
    auto source = MakeImage(2, 1, [](int x, int) { return x ? 0x00FFFFFFu : 0x00000000u; });
    CDrawManager manager;
    auto converted = manager.ConvertImage(source->Handle(), 2, 1, CDrawManager::EffectInvert, false, RGB(0, 0, 0), 0);
    ASSERT_TRUE(converted);
    EXPECT_EQ(Hex(0x00FFFFFF), Hex(converted->At(0, 0)));
    EXPECT_EQ(Hex(0x00000000), Hex(converted->At(1, 0)));
    EXPECT_FALSE(manager.ImageHasAlpha());
    EXPECT_FALSE(manager.ConvertImage(nullptr, 2, 1, 0, false, 0, 0));
}

TEST(DrawManagerPixels, Sizes) {
    auto image = MakeImage(7, 3, [](int, int) { return 0u; });
    EXPECT_EQ(7, CDrawManager::GetBitmapSize(image->Handle()).cx);
    EXPECT_EQ(3, CDrawManager::GetBitmapSize(image->Handle()).cy);
    EXPECT_EQ(0, CDrawManager::GetBitmapSize(nullptr).cx);

    auto color = MakeImage(16, 16, [](int, int) { return 0x00FF0000u; });
    ControlsTesting::TestIcon icon(*color, [](int, int) { return false; });
    ASSERT_TRUE(icon.Get());
    EXPECT_EQ(16, CDrawManager::GetIconSize(icon.Get()).cx);
    EXPECT_EQ(16, CDrawManager::GetIconSize(icon.Get()).cy);
    EXPECT_EQ(0, CDrawManager::GetIconSize(nullptr).cx);
}

}  // namespace
