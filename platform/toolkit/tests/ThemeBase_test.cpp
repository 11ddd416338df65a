#include "toolkit/CurrentTheme.h"
#include "toolkit/QE637.h"

#include "graphics/tests/DibCanvas.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using SkinTesting::DibCanvas;
using SkinTesting::Rgb;
using Toolkit::Bar;
using Toolkit::Control;

namespace {

class CanvasDC : public CDC {
public:
    explicit CanvasDC(const DibCanvas& canvas) { Attach(canvas.Dc()); }
    ~CanvasDC() override { Detach(); }
};

TEST(ThemeRoot, PlainDefaultsDrawNothingAndMeasureZero) {
    QE978 root;
    Bar bar(Toolkit::BarToolbar);
    bar.SetSize(CSize(40, 20));
    Control* control = bar.AddControl(Toolkit::ControlCaptionButton, 7);
    control->SetCaption(L"Caption");
    control->SetRect(CRect(0, 0, 40, 20));
    DibCanvas canvas(40, 20, RGB(1, 2, 3));
    CanvasDC dc(canvas);
    EXPECT_EQ(root.DrawPopupItem(&dc, bar, *control, TRUE), CSize(0, 0));
    EXPECT_EQ(root.DrawToolbarControl(&dc, bar, *control, TRUE), CSize(0, 0));
    root.FillBarBackground(&dc, bar, CRect(0, 0, 40, 20));
    EXPECT_EQ(root.DrawCaptionStrip(&dc, bar, TRUE), CSize(0, 0));
    EXPECT_EQ(root.DrawSeparator(&dc, bar, *control, TRUE), CSize(0, 0));
    EXPECT_EQ(root.AdjustControlRect(bar, *control, CRect(1, 2, 3, 4)), CRect(1, 2, 3, 4));
    bar.GetExpandButton().rect = CRect(1, 1, 5, 5);
    EXPECT_EQ(root.DrawExpandButton(&dc, bar, FALSE, FALSE), CSize(0, 0));
    EXPECT_TRUE(bar.GetExpandButton().rect.IsRectEmpty());
    EXPECT_EQ(root.GetBorderMargins(bar), CRect(0, 0, 0, 0));
    for (int y = 0; y < 20; y += 5) {
        for (int x = 0; x < 40; x += 5)
            EXPECT_EQ(Rgb{canvas.Pixel(x, y)}, Rgb{RGB(1, 2, 3)});
    }
}

TEST(ThemeRoot, BaseColoursAreTheSystemColours) {
    QE978 root;
    EXPECT_EQ(root.GetColor(20), ::GetSysColor(20));
    EXPECT_EQ(root.GetColor(COLOR_3DFACE), ::GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(root.GetColor(-1), RGB(0, 0, 0));
    EXPECT_EQ(root.GetColor(QE_COLOR_COUNT), RGB(0, 0, 0));
}

TEST(ThemeRoot, StateTestIsTheBarsActivity) {
    QE978 root;
    Bar bar(Toolkit::BarTitledPopup);
    EXPECT_FALSE(root.IsBarActive(bar));
    bar.SetActive(TRUE);
    EXPECT_TRUE(root.IsBarActive(bar));
}

TEST(ThemeRoot, GradientFillRunsFromFirstToLastColour) {
    struct Case {
        const char* name;
        BOOL horizontal;
        int length;
    } cases[] = {{"vertical", FALSE, 10}, {"horizontal", TRUE, 10}, {"one row", FALSE, 1}};
    const COLORREF from = RGB(0, 100, 250), to = RGB(90, 10, 25);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas canvas(12, 12, RGB(1, 2, 3));
        CanvasDC dc(canvas);
        const CRect rect = c.horizontal ? CRect(1, 1, 1 + c.length, 5) : CRect(1, 1, 5, 1 + c.length);
        QE978::GradientFill(&dc, rect, from, to, c.horizontal);
        const auto at = [&](int i) { return c.horizontal ? canvas.Pixel(1 + i, 2) : canvas.Pixel(2, 1 + i); };
        EXPECT_EQ(Rgb{at(0)}, Rgb{from});
        if (c.length > 1) {
            EXPECT_EQ(Rgb{at(c.length - 1)}, Rgb{to});
            EXPECT_EQ(Rgb{at(3)}, Rgb{RGB(0 + 90 * 3 / 9, 100 - 90 * 3 / 9, 250 - 225 * 3 / 9)});
        }
        EXPECT_EQ(Rgb{at(c.length)}, Rgb{RGB(1, 2, 3)});
        EXPECT_EQ(Rgb{canvas.Pixel(0, 0)}, Rgb{RGB(1, 2, 3)});
    }
    // An empty rectangle paints nothing.
    DibCanvas canvas(4, 4, RGB(1, 2, 3));
    CanvasDC dc(canvas);
    QE978::GradientFill(&dc, CRect(2, 2, 2, 4), from, to);
    QE978::GradientFill(&dc, CRect(2, 2, 4, 2), from, to);
    EXPECT_EQ(Rgb{canvas.Pixel(2, 2)}, Rgb{RGB(1, 2, 3)});
}

TEST(ThemeRoot, BlendWeighsTheFirstColourByTheFactor) {
    struct Case {
        double factor;
        COLORREF expected;
    } cases[] = {
        {1.0, RGB(200, 100, 0)}, {0.0, RGB(100, 0, 200)}, {0.9, RGB(190, 90, 20)},
        {0.6, RGB(160, 60, 80)}, {0.3, RGB(130, 30, 140)}, {0.5, RGB(150, 50, 100)},
        {1.5, RGB(200, 100, 0)}, {-1.0, RGB(100, 0, 200)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.factor);
        EXPECT_EQ(Rgb{QE978::BlendColors(RGB(200, 100, 0), RGB(100, 0, 200), c.factor)}, Rgb{c.expected});
    }
    EXPECT_EQ(Rgb{QE978::BlendColors(RGB(0, 0, 0), RGB(1, 1, 1), 0.5)}, Rgb{RGB(1, 1, 1)});  // rounds half up
}

TEST(ThemeRoot, TextLayoutMeasuresTheCaption) {
    QE978 root;
    Bar bar(Toolkit::BarToolbar);
    Control* control = bar.AddControl(Toolkit::ControlCaptionButton, 1);
    DibCanvas canvas(100, 40);
    CanvasDC dc(canvas);
    EXPECT_EQ(root.DrawControlText(&dc, bar, *control, CRect(0, 0, 100, 40), FALSE, DT_SINGLELINE).cx, 0);
    control->SetCaption(L"Settings");
    HGDIOBJ previous = ::SelectObject(canvas.Dc(), bar.GetFont());
    SIZE extent = {};
    ::GetTextExtentPoint32W(canvas.Dc(), L"Settings", 8, &extent);
    ::SelectObject(canvas.Dc(), previous);
    const CSize size = root.DrawControlText(&dc, bar, *control, CRect(0, 0, 100, 40), FALSE, DT_SINGLELINE);
    EXPECT_EQ(size.cx, extent.cx);
    EXPECT_EQ(size.cy, extent.cy);
}

TEST(CurrentTheme, StandardUntilSetAndReplacedThemesAreFreed) {
    const long before = QE978::GetLiveCount();
    std::shared_ptr<QE978> standard = Toolkit::GetCurrentTheme();
    ASSERT_TRUE(standard);
    EXPECT_TRUE(standard->IsKindOf(RUNTIME_CLASS(QE637)));

    Toolkit::SetCurrentTheme(new QE637);
    Toolkit::SetCurrentTheme(new QE637);
    EXPECT_NE(Toolkit::GetCurrentTheme(), standard);
    // The first standard theme lives on only through our reference.
    EXPECT_EQ(standard.use_count(), 1);
    standard.reset();
    EXPECT_EQ(QE978::GetLiveCount(), before == 0 ? 1 : before);

    Toolkit::SetCurrentTheme(nullptr);
    EXPECT_TRUE(Toolkit::GetCurrentTheme()->IsKindOf(RUNTIME_CLASS(QE637)));
}

std::atomic<int> g_deadUses{0};

// A theme that counts the times it is asked to draw after its destruction.
class CheckedTheme : public QE637 {
public:
    CheckedTheme() { m_alive = kAlive; }
    ~CheckedTheme() override { m_alive = 0; }
    void FillBarBackground(CDC* pDC, const Bar& bar, const CRect& rect) override {
        if (m_alive != kAlive)
            ++g_deadUses;
        QE637::FillBarBackground(pDC, bar, rect);
        if (m_alive != kAlive)
            ++g_deadUses;
    }

private:
    static const unsigned kAlive = 0xA11FE;
    volatile unsigned m_alive;
};

TEST(CurrentTheme, ReplacingWhilePaintingNeverFreesAThemeInUse) {
    Toolkit::SetCurrentTheme(new CheckedTheme);
    const long live = QE978::GetLiveCount();
    std::atomic<bool> stop{false};
    std::thread replacer([&] {
        while (!stop) {
            Toolkit::SetCurrentTheme(new CheckedTheme);
            Sleep(0);
        }
    });
    Bar bar(Toolkit::BarToolbar);
    DibCanvas canvas(20, 20);
    CanvasDC dc(canvas);
    for (int i = 0; i < 500; ++i) {
        std::shared_ptr<QE978> theme = Toolkit::GetCurrentTheme();
        theme->FillBarBackground(&dc, bar, CRect(0, 0, 20, 20));
    }
    stop = true;
    replacer.join();
    EXPECT_EQ(g_deadUses.load(), 0);
    EXPECT_EQ(QE978::GetLiveCount(), live);
    Toolkit::SetCurrentTheme(nullptr);
}

}  // namespace
