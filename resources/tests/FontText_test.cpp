#include "resources/resourcelib/FontText.h"

#include <boost/lexical_cast.hpp>
#include <gtest/gtest.h>

#include <string>

namespace {

using ResourceLib::CreateFontFromText;
using ResourceLib::SharedFont;

LOGFONTW Describe(const SharedFont& font) {
    LOGFONTW description = {};
    EXPECT_TRUE(font && ::GetObjectW(font->GetHandle(), sizeof(description), &description));
    return description;
}

LOGFONTW SystemMenuFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = 500;
    EXPECT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &metrics, 0));
    return metrics.lfMenuFont;
}

TEST(FontText, Fonts) {
    const LOGFONTW menu = SystemMenuFont();
    struct Case {
        const wchar_t* fontText;
        std::wstring face;
        LONG height;
        LONG weight;
        BYTE italic, underline, strikeOut, quality;
    };
    const Case cases[] = {
        // The first face is not installed; the last one is taken untested.
        {L"Nope Face,12|Tahoma,-13,1", L"Tahoma", -13, 800, 0, 0, 0, CLEARTYPE_QUALITY},
        {L"||Tahoma,,0,1,1,1,3|", L"Tahoma", 0, 0, 1, 1, 1, 3},
        {L" \tTahoma,-11\r\n", L"Tahoma", -11, 0, 0, 0, 0, CLEARTYPE_QUALITY},
        {L"Nope Face,12", L"Nope Face", 12, 0, 0, 0, 0, CLEARTYPE_QUALITY},
        {L"Tahoma|Nope Face,-9,2", L"Nope Face", -9, 800, 0, 0, 0, CLEARTYPE_QUALITY},
        {L"@MenuFont,", menu.lfFaceName, menu.lfHeight, menu.lfWeight > 500 ? 800 : 0, menu.lfItalic,
         menu.lfUnderline, menu.lfStrikeOut, menu.lfQuality},
        {L"@MenuFont,-20,1", menu.lfFaceName, -20, 800, menu.lfItalic, menu.lfUnderline, menu.lfStrikeOut,
         menu.lfQuality},
        {L"@Unknown,-12", L"Unknown", -12, 0, 0, 0, 0, CLEARTYPE_QUALITY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.fontText)));
        const LOGFONTW font = Describe(CreateFontFromText(c.fontText));
        EXPECT_EQ(c.face, font.lfFaceName);
        EXPECT_EQ(c.height, font.lfHeight);
        EXPECT_EQ(c.weight, font.lfWeight);
        EXPECT_EQ(c.italic, font.lfItalic);
        EXPECT_EQ(c.underline, font.lfUnderline);
        EXPECT_EQ(c.strikeOut, font.lfStrikeOut);
        EXPECT_EQ(c.quality, font.lfQuality);
    }
}

TEST(FontText, NoFont) {
    // An alternative needs a comma.
    for (const wchar_t* fontText : {L"", L"|", L"Tahoma", L"Tahoma|Verdana", L" | "}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(fontText)));
        EXPECT_FALSE(CreateFontFromText(fontText));
    }
    EXPECT_THROW(CreateFontFromText(L"Tahoma,big"), boost::bad_lexical_cast);
}

}  // namespace
