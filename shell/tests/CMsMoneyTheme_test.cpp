#include "shell/theme/CMsMoneyTheme.h"

#include "ThemeTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace ShellTests;
using Toolkit::Bar;
using Toolkit::Control;

namespace {

const COLORREF kGradientLight = RGB(120, 140, 160);
const COLORREF kGradientDark = RGB(30, 50, 70);
const COLORREF kLineLight = RGB(200, 100, 0);
const COLORREF kLineDark = RGB(100, 0, 200);

CMsMoneyTheme MakeTheme() { return CMsMoneyTheme(kGradientLight, kGradientDark, kLineLight, kLineDark); }

struct ThemeFixture : ::testing::Test {
    CMsMoneyTheme theme{kGradientLight, kGradientDark, kLineLight, kLineDark};
    TestFont font{13};
};

// A theme whose text layout gives a fixed size, so control sizes are exact.
class FixedTextTheme : public CMsMoneyTheme {
public:
    explicit FixedTextTheme(CSize text) : CMsMoneyTheme(0, 0, 0, 0), m_text(text) {}
    CSize DrawControlText(CDC*, const Bar&, const Control&, CRect, BOOL, UINT) override { return m_text; }

private:
    CSize m_text;
};

using ThemeTextColors = ThemeFixture;

TEST_F(ThemeTextColors, ToolbarTextFollowsStateWithDefaultsOrSetColors) {
    struct Case {
        const char* name;
        BOOL enabled, hot, pressed;
        COLORREF byDefault, set;
    } cases[] = {
        {"normal", TRUE, FALSE, FALSE, 0xF9FEFF, RGB(1, 2, 3)},
        {"hot", TRUE, TRUE, FALSE, 0x7FDFFF, RGB(4, 5, 6)},
        {"pressed", TRUE, FALSE, TRUE, 0x7FDFFF, RGB(4, 5, 6)},
        {"disabled", FALSE, TRUE, FALSE, 0xB1B1B1, RGB(7, 8, 9)},
    };
    CMsMoneyTheme recoloured = MakeTheme();
    recoloured.SetTextColors(RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bar bar(Toolkit::BarToolbar);
        bar.SetFont(font.Get());
        bar.SetSize(CSize(120, 60));
        Control* control = bar.AddControl(Toolkit::ControlCaptionButton, 1);
        control->SetCaption(L"MMMM");
        control->SetEnabled(c.enabled);
        control->SetHot(c.hot);
        control->SetPressed(c.pressed);
        control->SetRect(CRect(0, 0, 120, 60));

        DibCanvas canvas(120, 60, RGB(0, 0, 0));
        CanvasDC dc(canvas);
        theme.DrawToolbarControl(&dc, bar, *control, TRUE);
        EXPECT_EQ(Rgb{dc.GetTextColor()}, Rgb{c.byDefault});
        // The caption lies below the (absent) picture: its pixels carry the colour.
        EXPECT_TRUE(AreaHasColor(canvas, CRect(0, 0, 120, 60), c.byDefault));

        recoloured.DrawToolbarControl(&dc, bar, *control, FALSE);
        EXPECT_EQ(Rgb{dc.GetTextColor()}, Rgb{c.set});
    }
}

TEST_F(ThemeTextColors, PopupItemsUseFixedColoursAndHighlight) {
    struct Case {
        const char* name;
        BOOL enabled, hot;
        COLORREF text, fill;
    } cases[] = {
        {"normal", TRUE, FALSE, 0xF9FEFF, RGB(0, 0, 0)},
        {"highlighted", TRUE, TRUE, 0x7FDFFF, 0x505050},
        {"disabled", FALSE, FALSE, 0x919191, RGB(0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bar bar(Toolkit::BarPopup);
        bar.SetFont(font.Get());
        bar.SetSize(CSize(200, 30));
        Control* item = bar.AddControl(Toolkit::ControlButton, 1);
        item->SetCaption(L"MMMM");
        item->SetEnabled(c.enabled);
        item->SetHot(c.hot);
        item->SetRect(CRect(0, 0, 200, 30));
        DibCanvas canvas(200, 30, RGB(0, 0, 0));
        CanvasDC dc(canvas);
        theme.DrawPopupItem(&dc, bar, *item, TRUE);
        EXPECT_EQ(Rgb{dc.GetTextColor()}, Rgb{c.text});
        EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
        EXPECT_EQ(Rgb{canvas.Pixel(199, 0)}, Rgb{c.fill});
        // The caption starts 16 pixels in.
        EXPECT_FALSE(AreaHasColor(canvas, CRect(0, 0, 16, 30), c.text, 0));
        EXPECT_TRUE(AreaHasColor(canvas, CRect(16, 0, 120, 30), c.text));
    }
}

using ThemePopupItems = ThemeFixture;

TEST_F(ThemePopupItems, SizeIsTextPlusSixtyAndAtLeastSeventeenHigh) {
    TestFont tiny(3);
    struct Case {
        const char* name;
        const wchar_t* caption;
        const wchar_t* shortcut;
        BOOL submenu;
        HFONT font;
    } cases[] = {
        {"empty caption, tiny font", L"", L"", FALSE, tiny.Get()},
        {"empty caption", L"", L"", FALSE, font.Get()},
        {"caption", L"Open the folder", L"", FALSE, font.Get()},
        {"caption and shortcut", L"Open", L"Ctrl+O", FALSE, font.Get()},
        {"submenu ignores its shortcut", L"More", L"Ctrl+M", TRUE, font.Get()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bar bar(Toolkit::BarPopup);
        bar.SetFont(c.font);
        Control* item = bar.AddControl(Toolkit::ControlButton, 1);
        item->SetCaption(c.caption);
        item->SetShortcut(c.shortcut);
        item->SetSubmenu(c.submenu);
        item->SetRect(CRect(0, 0, 300, 24));
        DibCanvas canvas(10, 10);
        CanvasDC dc(canvas);
        const CSize size = theme.DrawPopupItem(&dc, bar, *item, FALSE);

        HGDIOBJ previous = ::SelectObject(canvas.Dc(), c.font);
        // Text widths as DrawText measures them (DT_CALCRECT).
        auto width = [&](const wchar_t* text) {
            RECT area = {0, 0, 300, 24};
            ::DrawTextW(canvas.Dc(), text, -1, &area, DT_SINGLELINE | DT_CALCRECT);
            return *text ? static_cast<int>(area.right) : 0;
        };
        TEXTMETRICW metrics = {};
        ::GetTextMetricsW(canvas.Dc(), &metrics);
        const int expectedWidth = width(c.caption) + (c.submenu ? 0 : width(c.shortcut)) + 60;
        ::SelectObject(canvas.Dc(), previous);
        EXPECT_EQ(size.cx, expectedWidth);
        EXPECT_GE(size.cy, 17);
        EXPECT_EQ(size.cy, std::max(static_cast<int>(metrics.tmHeight) + 8 - 4, 17));
    }
}

TEST_F(ThemePopupItems, CheckMarkAndSubmenuTriangleInTheTextColour) {
    Bar bar(Toolkit::BarPopup);
    bar.SetFont(font.Get());
    bar.SetSize(CSize(200, 40));
    Control* item = bar.AddControl(Toolkit::ControlButton, 1);
    item->SetChecked(Toolkit::CheckChecked);
    item->SetSubmenu(TRUE);
    item->SetRect(CRect(10, 5, 190, 35));  // centre 20
    DibCanvas canvas(200, 40, RGB(0, 0, 0));
    CanvasDC dc(canvas);
    theme.DrawPopupItem(&dc, bar, *item, TRUE);
    // The tick stays inside its box (left - 2, centre - 10)-(left + 18, centre + 10).
    EXPECT_TRUE(AreaHasColor(canvas, CRect(8, 10, 28, 30), 0xF9FEFF, 0));
    EXPECT_FALSE(AreaHasColor(canvas, CRect(0, 0, 8, 40), 0xF9FEFF, 0));
    // The triangle's corners (right - 11, 17), (right - 8, 20), (right - 11, 23).
    EXPECT_EQ(Rgb{canvas.Pixel(190 - 10, 20)}, Rgb{0xF9FEFF});
    EXPECT_EQ(Rgb{canvas.Pixel(190 - 11, 18)}, Rgb{0xF9FEFF});
    EXPECT_EQ(Rgb{canvas.Pixel(190 - 7, 20)}, Rgb{RGB(0, 0, 0)});
}

using ThemeToolbarControls = ThemeFixture;

TEST_F(ThemeToolbarControls, CaptionButtonsMeasureFromTextAndPicture) {
    struct Case {
        const char* name;
        CSize text, image, expected;
    } cases[] = {
        {"text wider than picture", {40, 12}, {32, 32}, {50, 54}},
        {"picture wider than text", {10, 12}, {32, 32}, {39, 54}},
        {"no picture", {40, 12}, {0, 0}, {50, 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixedTextTheme fixed(c.text);
        SolidImages images(c.image.cx ? c.image.cx : 1, c.image.cy ? c.image.cy : 1, RGB(255, 0, 0));
        Bar bar(Toolkit::BarToolbar);
        if (c.image.cx)
            bar.SetImages(images.Get());
        Control* control = bar.AddControl(Toolkit::ControlCaptionButton, 1);
        DibCanvas canvas(10, 10);
        CanvasDC dc(canvas);
        EXPECT_EQ(fixed.DrawToolbarControl(&dc, bar, *control, FALSE), c.expected);
    }
}

TEST_F(ThemeToolbarControls, CaptionButtonDrawsPictureCentredThreeBelowTheTop) {
    SolidImages images(32, 32, RGB(255, 0, 0));
    Bar bar(Toolkit::BarToolbar);
    bar.SetFont(font.Get());
    bar.SetImages(images.Get());
    Control* control = bar.AddControl(Toolkit::ControlCaptionButton, 1);
    control->SetImageIndex(0);
    control->SetCaption(L"Add");
    control->SetRect(CRect(10, 10, 70, 70));  // picture at (24, 13)-(56, 45)
    DibCanvas canvas(80, 80, RGB(0, 0, 0));
    CanvasDC dc(canvas);
    theme.DrawToolbarControl(&dc, bar, *control, TRUE);
    EXPECT_EQ(Rgb{canvas.Pixel(24, 13)}, Rgb{RGB(255, 0, 0)});
    EXPECT_EQ(Rgb{canvas.Pixel(55, 44)}, Rgb{RGB(255, 0, 0)});
    EXPECT_EQ(Rgb{canvas.Pixel(23, 13)}, Rgb{RGB(0, 0, 0)});
    EXPECT_EQ(Rgb{canvas.Pixel(24, 12)}, Rgb{RGB(0, 0, 0)});
    // The caption below the picture's height.
    EXPECT_TRUE(AreaHasColor(canvas, CRect(10, 45, 70, 70), 0xF9FEFF));
}

TEST_F(ThemeToolbarControls, PopupControlsAndOtherKinds) {
    const CSize text(30, 10);
    FixedTextTheme fixed(text);
    struct Case {
        const char* name;
        int barKind;
        int controlKind;
        BOOL hot;
        CSize size;
        COLORREF fill;
    } cases[] = {
        {"drop-down on a toolbar", Toolkit::BarToolbar, Toolkit::ControlPopup, FALSE, {46, 18}, RGB(0, 0, 0)},
        {"hot drop-down", Toolkit::BarToolbar, Toolkit::ControlPopup, TRUE, {46, 18}, 0x505050},
        {"hot drop-down on a palette", Toolkit::BarPalette, Toolkit::ControlPopup, TRUE, {46, 18}, RGB(0, 0, 0)},
        {"submenu on a popup", Toolkit::BarPopup, Toolkit::ControlPopup, TRUE, {38, 26}, 0x505050},
        {"submenu on a titled popup", Toolkit::BarTitledPopup, Toolkit::ControlPopup, FALSE, {38, 26}, RGB(0, 0, 0)},
        {"picture button", Toolkit::BarToolbar, Toolkit::ControlButton, TRUE, {0, 0}, RGB(0, 0, 0)},
        {"label", Toolkit::BarToolbar, Toolkit::ControlLabel, TRUE, {0, 0}, RGB(0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bar bar(c.barKind);
        Control* control = bar.AddControl(c.controlKind, 1);
        control->SetHot(c.hot);
        control->SetRect(CRect(0, 0, 40, 20));
        DibCanvas canvas(40, 20, RGB(0, 0, 0));
        CanvasDC dc(canvas);
        EXPECT_EQ(fixed.DrawToolbarControl(&dc, bar, *control, TRUE), c.size);
        EXPECT_EQ(Rgb{canvas.Pixel(0, 0)}, Rgb{c.fill});
    }
}

using ThemeBackground = ThemeFixture;

TEST_F(ThemeBackground, ToolbarGradientWithBlendedLinesEveryThirdRow) {
    // A toolbar of height 10 whose top is at row 5 of the canvas.
    Bar bar(Toolkit::BarToolbar);
    bar.SetSize(CSize(20, 10));
    DibCanvas canvas(20, 20, RGB(1, 2, 3));
    CanvasDC dc(canvas);
    const CRect rect(0, 5, 20, 15);
    theme.FillBarBackground(&dc, bar, rect);

    const auto gradient = [](int row) {
        const auto channel = [row](int a, int b) { return a + (b - a) * row / 9; };
        return RGB(channel(120, 30), channel(140, 50), channel(160, 70));
    };
    const COLORREF lines[] = {RGB(190, 90, 20), RGB(160, 60, 80), RGB(130, 30, 140)};  // factors 0.9, 0.6, 0.3
    for (int row = 0; row < 10; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        COLORREF expected = gradient(row);
        if (row == 1 || row == 4 || row == 7)
            expected = lines[row / 3];
        for (int x : {0, 9, 19})
            EXPECT_EQ(Rgb{canvas.Pixel(x, 5 + row)}, Rgb{expected});
    }
    EXPECT_EQ(Rgb{canvas.Pixel(0, 4)}, Rgb{RGB(1, 2, 3)});
    EXPECT_EQ(Rgb{canvas.Pixel(0, 15)}, Rgb{RGB(1, 2, 3)});
    EXPECT_EQ(Rgb{canvas.Pixel(0, 5)}, Rgb{kGradientLight});
    EXPECT_EQ(Rgb{canvas.Pixel(0, 14)}, Rgb{kGradientDark});
}

TEST_F(ThemeBackground, OtherKindsOfBars) {
    struct Case {
        const char* name;
        int kind;
        COLORREF edge, inside;
    } cases[] = {
        {"menu bar", Toolkit::BarMenu, 0x5B5B5B, 0x5B5B5B},
        {"popup", Toolkit::BarPopup, 0x444444, 0x5B5B5B},
        {"titled popup", Toolkit::BarTitledPopup, RGB(1, 2, 3), RGB(1, 2, 3)},
        {"palette", Toolkit::BarPalette, RGB(1, 2, 3), RGB(1, 2, 3)},
        {"vertical toolbar", Toolkit::BarVertical, RGB(1, 2, 3), RGB(1, 2, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bar bar(c.kind);
        DibCanvas canvas(30, 30, RGB(1, 2, 3));
        CanvasDC dc(canvas);
        theme.FillBarBackground(&dc, bar, CRect(0, 0, 30, 30));
        for (POINT edge : {POINT{0, 0}, POINT{29, 0}, POINT{0, 29}, POINT{29, 29}, POINT{15, 0}, POINT{0, 15}})
            EXPECT_EQ(Rgb{canvas.Pixel(edge.x, edge.y)}, Rgb{c.edge});
        EXPECT_EQ(Rgb{canvas.Pixel(1, 1)}, Rgb{c.inside});
        EXPECT_EQ(Rgb{canvas.Pixel(15, 15)}, Rgb{c.inside});
    }
}

using ThemeCaptionStrip = ThemeFixture;

TEST_F(ThemeCaptionStrip, OnlyTitledPopupsAndFillByStateTest) {
    TestFont tiny(3);
    for (int kind : {Toolkit::BarMenu, Toolkit::BarToolbar, Toolkit::BarPopup, Toolkit::BarPalette,
                     Toolkit::BarVertical}) {
        SCOPED_TRACE(kind);
        Bar bar(kind);
        bar.SetSize(CSize(100, 100));
        DibCanvas canvas(100, 100, RGB(1, 2, 3));
        CanvasDC dc(canvas);
        EXPECT_EQ(theme.DrawCaptionStrip(&dc, bar, TRUE), CSize(0, 0));
        EXPECT_EQ(Rgb{canvas.Pixel(10, 10)}, Rgb{RGB(1, 2, 3)});
    }
    struct Case {
        const char* name;
        BOOL active;
        COLORREF fill;
    } cases[] = {{"state test true", TRUE, kGradientDark}, {"state test false", FALSE, 0x505050}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bar bar(Toolkit::BarTitledPopup);
        bar.SetFont(tiny.Get());
        bar.SetSize(CSize(100, 100));
        bar.SetActive(c.active);
        DibCanvas canvas(100, 100, RGB(1, 2, 3));
        CanvasDC dc(canvas);
        const CSize size = theme.DrawCaptionStrip(&dc, bar, TRUE);
        // A tiny font still gets the least height: the strip runs (3, 3)-(97, 18).
        EXPECT_EQ(size, CSize(94, 18));
        EXPECT_EQ(Rgb{canvas.Pixel(3, 3)}, Rgb{c.fill});
        EXPECT_EQ(Rgb{canvas.Pixel(96, 17)}, Rgb{c.fill});
        EXPECT_EQ(Rgb{canvas.Pixel(2, 3)}, Rgb{RGB(1, 2, 3)});
        EXPECT_EQ(Rgb{canvas.Pixel(97, 3)}, Rgb{RGB(1, 2, 3)});
        EXPECT_EQ(Rgb{canvas.Pixel(3, 18)}, Rgb{RGB(1, 2, 3)});
        EXPECT_EQ(Rgb{dc.GetTextColor()}, Rgb{::GetSysColor(20)});
    }
    // A taller font makes a taller strip: the blank's height + 3.
    Bar bar(Toolkit::BarTitledPopup);
    TestFont large(30);
    bar.SetFont(large.Get());
    bar.SetSize(CSize(100, 100));
    DibCanvas canvas(100, 100);
    CanvasDC dc(canvas);
    HGDIOBJ previous = ::SelectObject(canvas.Dc(), large.Get());
    SIZE blank = {};
    ::GetTextExtentPoint32W(canvas.Dc(), L" ", 1, &blank);
    ::SelectObject(canvas.Dc(), previous);
    EXPECT_EQ(theme.DrawCaptionStrip(&dc, bar, FALSE).cy, blank.cy + 3);
}

using ThemeSeparators = ThemeFixture;

TEST_F(ThemeSeparators, MeasureAndLineOnPopups) {
    for (int kind : {Toolkit::BarMenu, Toolkit::BarToolbar, Toolkit::BarPopup, Toolkit::BarTitledPopup,
                     Toolkit::BarPalette, Toolkit::BarVertical}) {
        SCOPED_TRACE(kind);
        Bar bar(kind);
        bar.SetSize(CSize(100, 40));
        Control* separator = bar.AddControl(Toolkit::ControlSeparator, 0);
        separator->SetRect(CRect(0, 10, 100, 13));
        DibCanvas canvas(100, 40, RGB(1, 2, 3));
        CanvasDC dc(canvas);
        EXPECT_EQ(theme.DrawSeparator(&dc, bar, *separator, FALSE),
                  kind == Toolkit::BarPopup ? CSize(3, 3) : CSize(6, 6));
        EXPECT_EQ(theme.DrawSeparator(&dc, bar, *separator, TRUE), CSize(0, 0));
        // On popups a line from (16, bottom - 1) to (width - 14, bottom - 1).
        const COLORREF line = kind == Toolkit::BarPopup ? 0x707070 : RGB(1, 2, 3);
        EXPECT_EQ(Rgb{canvas.Pixel(16, 12)}, Rgb{line});
        EXPECT_EQ(Rgb{canvas.Pixel(50, 12)}, Rgb{line});
        EXPECT_EQ(Rgb{canvas.Pixel(85, 12)}, Rgb{line});
        EXPECT_EQ(Rgb{canvas.Pixel(15, 12)}, Rgb{RGB(1, 2, 3)});
        EXPECT_EQ(Rgb{canvas.Pixel(86, 12)}, Rgb{RGB(1, 2, 3)});
        EXPECT_EQ(Rgb{canvas.Pixel(50, 11)}, Rgb{RGB(1, 2, 3)});
    }
}

using ThemeGeometry = ThemeFixture;

TEST_F(ThemeGeometry, BorderMarginsAndControlRectangles) {
    QE637 standard;
    struct Case {
        int kind;
        CRect margins;
    } cases[] = {
        {Toolkit::BarPopup, CRect(1, 1, 1, 1)},
        {Toolkit::BarToolbar, CRect(0, 5, 0, 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Bar bar(c.kind);
        EXPECT_EQ(theme.GetBorderMargins(bar), c.margins);
    }
    for (int kind : {Toolkit::BarMenu, Toolkit::BarTitledPopup, Toolkit::BarPalette, Toolkit::BarVertical}) {
        SCOPED_TRACE(kind);
        Bar bar(kind);
        EXPECT_EQ(theme.GetBorderMargins(bar), standard.GetBorderMargins(bar));
        Control* control = bar.AddControl(Toolkit::ControlCaptionButton, 1);
        EXPECT_EQ(theme.AdjustControlRect(bar, *control, CRect(3, 4, 50, 60)), CRect(3, 4, 50, 60));
    }
    Bar toolbar(Toolkit::BarToolbar);
    Control* control = toolbar.AddControl(Toolkit::ControlCaptionButton, 1);
    EXPECT_EQ(theme.AdjustControlRect(toolbar, *control, CRect(3, 4, 50, 60)), CRect(3, 4, 50, 60));
}

TEST_F(ThemeGeometry, ExpandButtonPlaceAndArrow) {
    struct Case {
        const char* name;
        int kind;
        CSize size;
        CRect expected;
    } cases[] = {
        {"toolbar", Toolkit::BarToolbar, {100, 30}, {87, 2, 98, 28}},
        {"menu bar", Toolkit::BarMenu, {100, 30}, {87, 2, 98, 28}},
        {"palette", Toolkit::BarPalette, {100, 30}, {87, 2, 98, 28}},
        {"popup", Toolkit::BarPopup, {30, 100}, {2, 87, 28, 98}},
        {"titled popup", Toolkit::BarTitledPopup, {30, 100}, {2, 87, 28, 98}},
        {"vertical toolbar", Toolkit::BarVertical, {30, 100}, {2, 87, 28, 98}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bar bar(c.kind);
        bar.SetSize(c.size);
        DibCanvas canvas(c.size.cx, c.size.cy, RGB(0, 0, 0));
        CanvasDC dc(canvas);
        EXPECT_EQ(theme.DrawExpandButton(&dc, bar, FALSE, FALSE), CSize(0, 0));
        EXPECT_EQ(bar.GetExpandButton().rect, c.expected);

        const CRect& r = c.expected;
        const bool vertical = Toolkit::IsVerticalBar(c.kind);
        // Inside the arrow triangle.
        const POINT arrow = vertical ? POINT{r.left + 5, r.top + 5} : POINT{r.left + r.Width() / 2, r.bottom - 6};
        for (BOOL hot : {FALSE, TRUE}) {
            bar.GetExpandButton().hot = hot;
            EXPECT_EQ(theme.DrawExpandButton(&dc, bar, TRUE, FALSE), CSize(0, 0));
            EXPECT_EQ(Rgb{canvas.Pixel(arrow.x, arrow.y)}, Rgb{hot ? 0x7FDFFFu : 0xF9FEFFu});
        }
        bar.GetExpandButton().hot = FALSE;
        bar.GetExpandButton().pressed = TRUE;
        theme.DrawExpandButton(&dc, bar, TRUE, FALSE);
        EXPECT_EQ(Rgb{canvas.Pixel(arrow.x, arrow.y)}, Rgb{0x7FDFFF});
    }
}

TEST_F(ThemeGeometry, ExpandButtonShowsChevronOnlyWhenControlsAreHidden) {
    Bar bar(Toolkit::BarToolbar);
    bar.SetSize(CSize(100, 30));
    for (BOOL hidden : {FALSE, TRUE}) {
        SCOPED_TRACE(hidden);
        DibCanvas canvas(100, 30, RGB(0, 0, 0));
        CanvasDC dc(canvas);
        theme.DrawExpandButton(&dc, bar, FALSE, FALSE);
        bar.GetExpandButton().controlsHidden = hidden;
        theme.DrawExpandButton(&dc, bar, TRUE, FALSE);
        // The chevron sits near the button's top left.
        EXPECT_EQ(AreaHasColor(canvas, CRect(87, 2, 98, 12), 0xF9FEFF, 0), hidden == TRUE);
    }
}

using ThemeImages = ThemeFixture;

TEST_F(ThemeImages, PictureByControlState) {
    SolidImages images(8, 8, RGB(255, 0, 0));
    struct Case {
        const char* name;
        int barKind;
        BOOL enabled, hot, pressed;
        int check;
        bool redAtPoint, redPastEnd, frame;
    } cases[] = {
        {"normal", Toolkit::BarToolbar, TRUE, FALSE, FALSE, Toolkit::CheckNone, true, false, false},
        {"hot", Toolkit::BarToolbar, TRUE, TRUE, FALSE, Toolkit::CheckNone, true, false, false},
        {"pressed moves one pixel", Toolkit::BarToolbar, TRUE, FALSE, TRUE, Toolkit::CheckNone, false, true, false},
        {"pressed on a popup does not", Toolkit::BarPopup, TRUE, FALSE, TRUE, Toolkit::CheckNone, true, false, false},
        {"check state 1 is not checked", Toolkit::BarToolbar, TRUE, FALSE, FALSE, Toolkit::CheckMixed, true, false,
         false},
        {"check state 2", Toolkit::BarToolbar, TRUE, FALSE, TRUE, Toolkit::CheckChecked, true, false, true},
        {"check state 3", Toolkit::BarToolbar, TRUE, FALSE, FALSE, Toolkit::CheckCheckedMixed, true, false, true},
        {"disabled", Toolkit::BarToolbar, FALSE, FALSE, FALSE, Toolkit::CheckChecked, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bar bar(c.barKind);
        bar.SetImages(images.Get());
        Control* control = bar.AddControl(Toolkit::ControlCaptionButton, 1);
        control->SetImageIndex(0);
        control->SetEnabled(c.enabled);
        control->SetHot(c.hot);
        control->SetPressed(c.pressed);
        control->SetChecked(c.check);
        DibCanvas canvas(20, 20, RGB(0, 0, 0));
        CanvasDC dc(canvas);
        theme.DrawControlImage(&dc, bar, *control, CPoint(5, 5));
        EXPECT_EQ(canvas.Pixel(5, 5) == RGB(255, 0, 0), c.redAtPoint);
        EXPECT_EQ(canvas.Pixel(13, 13) == RGB(255, 0, 0), c.redPastEnd);
        EXPECT_EQ(canvas.Pixel(4, 4) == ::GetSysColor(COLOR_HIGHLIGHT), c.frame);
    }
}

}  // namespace
