#include "controls/markup/MarkupDrawer.h"

#include "testing/DibCanvas.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using MarkupLib::Style;

const wchar_t* const kSystemColorNames[] = {
    L"activeborder",   L"activecaption",     L"appworkspace",    L"background",      L"buttonface",
    L"buttonhighlight", L"buttonshadow",     L"buttontext",      L"captiontext",     L"graytext",
    L"highlight",      L"highlighttext",     L"inactiveborder",  L"inactivecaption", L"inactivecaptiontext",
    L"infobackground", L"infotext",          L"menu",            L"menutext",        L"scrollbar",
    L"threeddarkshadow", L"threedface",      L"threedhighlight", L"threedlightshadow", L"threedshadow",
    L"window",         L"windowframe",       L"windowtext",
};
const int kSystemColorIndices[] = {10, 2, 12, 1, 15, 20, 16, 18, 9, 17, 13, 14, 11, 3,
                                   19, 24, 23, 4, 7, 0, 21, 15, 20, 22, 16, 5, 6, 8};

TEST(MarkupValues, Colours) {
    CMarkupDrawer drawer;
    const COLORREF current = RGB(1, 2, 3);
    struct Case {
        const wchar_t* value;
        COLORREF expected;
    } cases[] = {
        {L"", current},
        {L"#f00", current},
        {L"#ff00000", current},
        {L"#ff0000", RGB(255, 0, 0)},
        {L"#00FF80", RGB(0, 255, 128)},
        {L"#gg0000", current},
        {L"255", RGB(255, 0, 0)},
        {L"0xff00", RGB(0, 255, 0)},
        {L"010", RGB(8, 0, 0)},
        {L"Red", current},
        {L"red", RGB(255, 0, 0)},
        {L"lightgrey", RGB(0xD3, 0xD3, 0xD3)},
        {L"lightgray", current},
        {L"grey", current},
        {L"darkslategray", RGB(0x2F, 0x4F, 0x4F)},
        {L"yellowgreen", RGB(0x9A, 0xCD, 0x32)},
        {L"aliceblue", RGB(0xF0, 0xF8, 0xFF)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "colour " << testing::PrintToString(std::wstring(c.value)));
        EXPECT_EQ(c.expected, drawer.ReadColor(c.value, current));
    }
    EXPECT_EQ(current, drawer.FindColor(L"nosuchcolour", current));
}

TEST(MarkupValues, ColourTableHoldsTheNamedAndTheSystemColours) {
    const auto colors = MarkupLib::MakeColorTable();
    EXPECT_EQ(140u + 28u, colors.size());
    CMarkupDrawer drawer;
    for (int i = 0; i < 28; ++i) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(kSystemColorNames[i])));
        EXPECT_EQ(::GetSysColor(kSystemColorIndices[i]), drawer.FindColor(kSystemColorNames[i], 0x12345678));
    }
}

TEST(MarkupValues, Lengths) {
    Testing::DibCanvas canvas(4, 4);
    CMarkupDrawer drawer;
    drawer.SetDC(canvas.Dc());
    const int dpi = ::GetDeviceCaps(canvas.Dc(), LOGPIXELSY);
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(canvas.Dc(), &metrics);
    SIZE letter = {};
    ::GetTextExtentPoint32W(canvas.Dc(), L"x", 1, &letter);
    struct Case {
        const wchar_t* value;
        int current;
        bool fontSizeRule;
        int expected;
    } cases[] = {
        {L"", 7, true, 7},
        {L"3", 16, true, 12},
        {L"3", 16, false, 3},
        {L"1", 16, true, 8},
        {L"7", 16, true, 36},
        {L"8", 16, true, 8},
        {L"0", 16, true, 0},
        {L"+2", 16, true, 10},
        {L"-2", 16, true, 10},
        {L"150%", 16, true, 24},
        {L"65%", 16, true, 10},
        {L"12px", 0, false, 12},
        {L"-12px", 0, false, 12},
        {L"0x10", 0, false, 16},
        {L"10pt", 0, true, 10 * dpi / 72},
        {L"2pc", 0, false, 2 * dpi / 6},
        {L"1in", 0, false, dpi},
        {L"2cm", 0, false, int(2 * dpi / 2.54)},
        {L"30mm", 0, false, int(30 * dpi / 25.4)},
        {L"2em", 0, false, 2 * metrics.tmHeight},
        {L"3ex", 0, false, 3 * letter.cy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "length " << testing::PrintToString(std::wstring(c.value)) << " of "
                                        << c.current);
        EXPECT_EQ(c.expected, drawer.ReadLength(c.value, c.current, c.fontSizeRule));
    }
    EXPECT_EQ(96 == dpi ? 13 : 10 * dpi / 72, drawer.ReadLength(L"10pt", 0, true));
}

TEST(MarkupValues, StyleSheets) {
    CMarkupDrawer drawer;
    EXPECT_EQ(17u, drawer.GetStyleSheet().RuleCount());
    for (const wchar_t* selector : {L"body", L"p", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6", L"pre", L"code", L"a:link",
                                    L"a:hover", L"sub", L"sup", L"big", L"small", L".cpp-comment"})
        EXPECT_NE(nullptr, drawer.GetStyleSheet().Find(selector)) << testing::PrintToString(std::wstring(selector));
    EXPECT_EQ(L"font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb", *drawer.GetStyleSheet().Find(L"PRE"));

    drawer.SetCssStyles(L"");
    EXPECT_EQ(0u, drawer.GetStyleSheet().RuleCount());

    drawer.SetCssStyles(L"P {color:red}\r\n  .Note{color:blue} lonely; p {color:green} broken {color:red");
    EXPECT_EQ(L"P {color:red}\r\n  .Note{color:blue} lonely; p {color:green} broken {color:red", drawer.GetCssStyles());
    EXPECT_EQ(2u, drawer.GetStyleSheet().RuleCount());
    ASSERT_NE(nullptr, drawer.GetStyleSheet().Find(L"p"));
    EXPECT_EQ(L"color:green", *drawer.GetStyleSheet().Find(L"p"));
    EXPECT_NE(nullptr, drawer.GetStyleSheet().Find(L".note"));
    EXPECT_EQ(nullptr, drawer.GetStyleSheet().Find(L"h1"));

    drawer.SetCssStyles(nullptr);
    EXPECT_EQ(17u, drawer.GetStyleSheet().RuleCount());

    // A missing rule changes nothing.
    Style style;
    drawer.ApplyStyleRule(L"nosuchrule", style);
    EXPECT_EQ(16, style.size);
    drawer.ApplyStyleRule(L"H4", style);
    EXPECT_EQ(700, style.weight);
}

Style Declared(const wchar_t* declarations, Style style = Style()) {
    CMarkupDrawer drawer;
    MarkupLib::ApplyDeclarations(declarations, style, drawer.GetValueContext());
    return style;
}

TEST(MarkupValues, Declarations) {
    Style style = Declared(L"text-decoration: underline, overline");
    EXPECT_TRUE(style.underline);
    EXPECT_TRUE(style.overline);
    EXPECT_FALSE(style.strikeout);
    style = Declared(L"text-decoration: none", style);
    EXPECT_FALSE(style.underline || style.overline || style.strikeout);
    EXPECT_TRUE(Declared(L"TEXT-DECORATION:LINE-THROUGH").strikeout);

    style = Declared(L"border-style: dashed");
    EXPECT_EQ(2, style.borderStyle);
    EXPECT_EQ(1, style.borderWidth);  // a style with width 0 gets width 1
    style = Declared(L"border-width: 0", style);
    EXPECT_EQ(0, style.borderStyle);
    style = Declared(L"border-width: 4px", style);
    EXPECT_EQ(1, style.borderStyle);  // a width with no style gets solid
    EXPECT_EQ(3, Declared(L"border-width: thin", style).borderWidth);
    EXPECT_EQ(5, Declared(L"size: thick", style).borderWidth);
    EXPECT_EQ(4, Declared(L"border-width: medium", style).borderWidth);
    EXPECT_EQ(6, Declared(L"border-style: double", style).borderStyle);
    EXPECT_EQ(0, Declared(L"border-style: none", style).borderStyle);
    EXPECT_EQ(1, Declared(L"border-style: wavy", style).borderStyle);

    style = Declared(L"font-family:\"Courier New\"; font-size: 150%;font-weight:bolder ; font-style:oblique");
    EXPECT_EQ(L"courier new", style.face);
    EXPECT_EQ(24, style.size);
    EXPECT_EQ(900, style.weight);
    EXPECT_TRUE(style.italic);
    EXPECT_EQ(L"Verdana", Declared(L"font-family:").face);  // an empty family is ignored
    EXPECT_EQ(100, Declared(L"font-weight: lighter").weight);
    EXPECT_EQ(600, Declared(L"font-weight: 600").weight);
    EXPECT_EQ(400, Declared(L"font-weight:", Declared(L"font-weight:bold")).weight);

    style = Declared(L"color: #102030; background-color: navy; border-color: red; margin: 5px; padding: 3");
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), style.textColor);
    EXPECT_EQ(MarkupLib::BackOpaque, style.backMode);
    EXPECT_EQ(RGB(0, 0, 0x80), style.backColor);
    EXPECT_EQ(RGB(255, 0, 0), style.borderLightColor);
    EXPECT_EQ(RGB(255, 0, 0), style.borderDarkColor);
    EXPECT_EQ(5, style.margin);
    EXPECT_EQ(3, style.padding);
    EXPECT_EQ(MarkupLib::BackTransparent, Declared(L"background-color: transparent", style).backMode);

    style = Declared(L"text-align: right; vertical-align: middle; text-transform: capitalize");
    EXPECT_EQ(MarkupLib::AlignRight, style.horzAlign);
    EXPECT_EQ(MarkupLib::AlignVCenter, style.vertAlign);
    EXPECT_EQ(MarkupLib::TransformCapitalize, style.textTransform);
    style = Declared(L"text-align: justify; vertical-align: sideways; text-transform: shout; unknown: 1", style);
    EXPECT_EQ(MarkupLib::AlignRight, style.horzAlign);
    EXPECT_EQ(MarkupLib::AlignVCenter, style.vertAlign);
    EXPECT_EQ(MarkupLib::TransformCapitalize, style.textTransform);
    EXPECT_EQ(MarkupLib::AlignBaseline, Declared(L"vertical-align:", style).vertAlign);
}

struct TableCase {
    const char* what;
    const wchar_t* attributes;
    bool isTable;
    int borderStyle, borderWidth;
};

TEST(MarkupValues, TableAndCellBorders) {
    const TableCase cases[] = {
        {"no border", L"", true, 0, 0},
        {"width gives solid", L"border=3", true, 1, 3},
        {"cell border at most 1", L"border=3", false, 1, 1},
        {"style gives width 1", L"borderstyle=dashed", true, 2, 1},
        {"not solid is 1 wide", L"border=4 borderstyle=double", true, 6, 1},
        {"width 0 clears", L"borderstyle=solid border=0", true, 0, 0},
        {"style none clears", L"border=2 borderstyle=none", true, 0, 0},
    };
    CMarkupDrawer drawer;
    for (const TableCase& c : cases) {
        SCOPED_TRACE(c.what);
        Style style;
        MarkupLib::ReadTableAttributes(MarkupLib::ReadAttributes(c.attributes), style, c.isTable, drawer.GetValueContext());
        EXPECT_EQ(c.borderStyle, style.borderStyle);
        EXPECT_EQ(c.borderWidth, style.borderWidth);
    }
}

TEST(MarkupValues, TableAndCellAttributes) {
    CMarkupDrawer drawer;
    Style table;
    auto span = MarkupLib::ReadTableAttributes(
        MarkupLib::ReadAttributes(L"cellpadding=4 cellspacing=2 background=\"file : back.bmp\" bgcolor=#0000ff "
                                  L"bordercolorlight=red bordercolordark=blue bgmidcolor=lime bgendcolor=white "
                                  L"align=center valign=bottom width=120 height=40 rowspan=2 colspan=3"),
        table, true, drawer.GetValueContext());
    EXPECT_EQ(4, table.margin);
    EXPECT_EQ(2, table.padding);
    EXPECT_EQ(L"file : back.bmp", table.backImage);
    EXPECT_EQ(RGB(0, 0, 255), table.backColor);
    EXPECT_EQ(0, table.backEffect);  // a colour makes the background solid
    EXPECT_EQ(RGB(255, 0, 0), table.borderLightColor);
    EXPECT_EQ(RGB(0, 0, 255), table.borderDarkColor);
    EXPECT_EQ(RGB(0, 255, 0), table.backMidColor);
    EXPECT_EQ(RGB(255, 255, 255), table.backEndColor);
    EXPECT_EQ(MarkupLib::AlignCenter, table.horzAlign);
    EXPECT_EQ(MarkupLib::AlignBottom, table.vertAlign);
    EXPECT_EQ(120, table.width);
    EXPECT_EQ(40, table.height);
    EXPECT_EQ(2, span.rows);
    EXPECT_EQ(3, span.columns);

    // Table-only attributes mean nothing on a cell.
    Style cell;
    span = MarkupLib::ReadTableAttributes(MarkupLib::ReadAttributes(L"cellpadding=9 background=idres:12 bgeffect=metal"),
                                          cell, false, drawer.GetValueContext());
    EXPECT_EQ(2, cell.margin);
    EXPECT_EQ(L"", cell.backImage);
    EXPECT_EQ(15, cell.backEffect);
    EXPECT_EQ(1, span.rows);
    EXPECT_EQ(1, span.columns);

    struct EffectCase {
        const wchar_t* value;
        int expected;
    } effects[] = {{L"transparent", -1}, {L"solid", 0},    {L"hgradient", 1}, {L"3vgradient", 6}, {L"noise", 7},
                   {L"hardbump", 14},    {L"9", 9},        {L"Metal", 0},     {L"", -1}};
    for (const EffectCase& c : effects) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.value)));
        Style style;
        MarkupLib::ReadTableAttributes({{L"bgeffect", c.value}}, style, true, drawer.GetValueContext());
        EXPECT_EQ(c.expected, style.backEffect);
    }

    Style shortBackground;
    MarkupLib::ReadTableAttributes({{L"background", L"f:a"}}, shortBackground, true, drawer.GetValueContext());
    EXPECT_EQ(L"", shortBackground.backImage);
}

TEST(MarkupValues, ImageReferences) {
    struct Case {
        const wchar_t* text;
        MarkupLib::ImageReference::Kind kind;
        int id;
        const wchar_t* file;
    } cases[] = {
        {L"idres:12", MarkupLib::ImageReference::Resource, 12, L""},
        {L"idres : 0x10", MarkupLib::ImageReference::Resource, 16, L""},
        {L"file: C:\\a b.bmp", MarkupLib::ImageReference::File, 0, L"C:\\a b.bmp"},
        {L"file:", MarkupLib::ImageReference::None, 0, L""},
        {L"other:12", MarkupLib::ImageReference::None, 0, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        const auto reference = MarkupLib::ParseImageReference(c.text);
        EXPECT_EQ(c.kind, reference.kind);
        EXPECT_EQ(c.id, reference.resourceId);
        EXPECT_EQ(std::wstring(c.file), reference.file);
    }
}

TEST(MarkupValues, ImageAndStringAttributes) {
    CMarkupDrawer drawer;
    const auto image = MarkupLib::ReadImageAttributes(
        MarkupLib::ReadAttributes(L"index=2 idres=101 iddll=7 srcdll=\"x.dll\" handle=0x1234 file='a.bmp' mask=#ff00ff "
                                  L"style=gs hotstyle=l cx=16 cy=15 width=50% height=20 speed=3"),
        drawer.GetValueContext());
    EXPECT_EQ(2, image.index);
    EXPECT_EQ(101, image.resourceId);
    EXPECT_EQ(7, image.dllResourceId);
    EXPECT_EQ(L"x.dll", image.sourceDll);
    EXPECT_EQ(0x1234u, image.handle);
    EXPECT_EQ(L"a.bmp", image.file);
    EXPECT_TRUE(image.hasMask);
    EXPECT_EQ(RGB(255, 0, 255), image.maskColor);
    EXPECT_EQ(L"gs", image.style);
    EXPECT_TRUE(image.hasHotStyle);
    EXPECT_EQ(L"l", image.hotStyle);
    EXPECT_EQ(16, image.cellWidth);
    EXPECT_EQ(15, image.cellHeight);
    EXPECT_EQ(50, image.width);
    EXPECT_TRUE(image.widthPercent);
    EXPECT_EQ(20, image.height);
    EXPECT_FALSE(image.heightPercent);
    EXPECT_EQ(3, image.speed);

    EXPECT_EQ(CDrawManager::EffectGrayscale | CDrawManager::EffectGradientShadow,
              MarkupLib::ImageEffectsFromLetters(L"gsx", CDrawManager::EffectGradientShadow));
    EXPECT_EQ(CDrawManager::EffectDarker | CDrawManager::EffectLighter, MarkupLib::ImageEffectsFromLetters(L"dls", 0));

    auto text = MarkupLib::ReadStringAttributes(MarkupLib::ReadAttributes(L"idres=12 srcdll=a.dll"), drawer.GetValueContext());
    EXPECT_EQ(12, text.resourceId);
    EXPECT_EQ(L"a.dll", text.sourceDll);
    text = MarkupLib::ReadStringAttributes(MarkupLib::ReadAttributes(L"iddll=9"), drawer.GetValueContext());
    EXPECT_EQ(9, text.resourceId);
}

}  // namespace
