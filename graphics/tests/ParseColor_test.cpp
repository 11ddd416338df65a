#include "graphics/layout/ParseColor.h"

#include "DibCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using SkinTesting::Rgb;

COLORREF Adjusted(COLORREF base, int red, int green, int blue) {
    const auto clamp = [](int value) { return std::min(255, std::max(0, value)); };
    return RGB(clamp(GetRValue(base) + red), clamp(GetGValue(base) + green), clamp(GetBValue(base) + blue));
}

TEST(ParseColor, Forms) {
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const struct {
        const wchar_t* text;
        bool parsed;
        COLORREF expected;
    } cases[] = {
        // "#" and exactly six hexadecimal digits
        {L"#FF0000", true, RGB(255, 0, 0)},
        {L"#00ff80", true, RGB(0, 255, 128)},
        {L"#102030", true, RGB(0x10, 0x20, 0x30)},
        {L"#F00", false, 0},
        {L"#10", false, 0},
        {L"#FF00000", false, 0},
        {L"#ZZ10Fz", true, RGB(0, 0x10, 0xF)},  // a pair without a leading digit is 0, "F" alone is 15
        // "@" with a system colour by name or index, optionally adjusted
        {L"@COLOR_3DFACE", true, face},
        {L"@15", true, face},
        {L"@COLOR_3DFACE-(16,16,16)", true, Adjusted(face, -16, -16, -16)},
        {L"@COLOR_3DFACE+(300,0,-300)", true, Adjusted(face, 300, 0, -300)},
        {L"@COLOR_WINDOW-(1,2)", true, window},  // fewer than three numbers: no adjustment
        {L"@COLOR_3DFACE(1,1,1)", false, 0},     // no sign: the name loses its last letter
        {L"@COLOR_3DFACE ", false, 0},
        {L"@color_3dface", false, 0},
        {L"@NOPE", false, 0},
        {L"@", false, 0},
        {L"@+(1,2,3)", false, 0},  // nine characters: no room for a name
        {L"@15+(1,2,3)", true, Adjusted(face, 1, 2, 3)},
        // decimal triples, each taken modulo 256
        {L"300,0,0", true, RGB(44, 0, 0)},
        {L"1, 2, 3", true, RGB(1, 2, 3)},
        {L"-1,256,7", true, RGB(255, 0, 7)},
        {L"1,2", false, 0},
        {L"(1,2,3)", false, 0},
        {L"red", false, 0},
        {L"", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.text << "\"");
        COLORREF color = 0x00ABCDEF;
        EXPECT_EQ(c.parsed, LayoutLib::ParseColor(c.text, color));
        EXPECT_EQ(Rgb{c.expected}, Rgb{color});
    }
}

TEST(ParseColor, NullAndUnterminatedTexts) {
    COLORREF color = 0x00ABCDEF;
    EXPECT_FALSE(LayoutLib::ParseColor(wlitestring(), color));
    EXPECT_EQ(0u, color);

    // Only the referenced characters count.
    EXPECT_TRUE(LayoutLib::ParseColor(wlitestring(L"#0000FF99", 7), color));
    EXPECT_EQ(Rgb{RGB(0, 0, 255)}, Rgb{color});
    EXPECT_TRUE(LayoutLib::ParseColor(wlitestring(L"@COLOR_3DFACEXYZ", 13), color));
    EXPECT_EQ(Rgb{::GetSysColor(COLOR_3DFACE)}, Rgb{color});
}

}  // namespace
