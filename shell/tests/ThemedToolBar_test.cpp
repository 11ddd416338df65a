// The dark theme on a live toolbar window of the command bars.
#include "shell/theme/CMsMoneyTheme.h"

#include "toolkit/CommandBars.h"
#include "toolkit/CurrentTheme.h"

#include "ShellTestResources.h"
#include "ThemeTestSupport.h"

#include "testing/PictureFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace ShellTests;

namespace {

const COLORREF kGradientLight = RGB(110, 120, 130);
const COLORREF kGradientDark = RGB(20, 30, 40);
const COLORREF kLineLight = RGB(200, 100, 0);
const COLORREF kLineDark = RGB(100, 0, 200);

// A window that docks the command bars at its top.
class BarHost : public CWnd, public Toolkit::ICommandBarsSite {
public:
    BarHost() {
        CreateEx(0, nullptr, L"Host", WS_OVERLAPPEDWINDOW, 50, 50, 600, 250, nullptr, nullptr);
        bars = std::make_unique<Toolkit::CommandBars>(this);
    }
    ~BarHost() override {
        bars.reset();
        DestroyWindow();
    }
    CWnd* GetSiteWindow() override { return this; }
    void RecalcSiteLayout() override {
        CRect client;
        GetClientRect(&client);
        bars->PlaceBars(client);
    }
    std::unique_ptr<Toolkit::CommandBars> bars;
};

void WritePng(const DibCanvas& canvas, const std::string& name) {
    std::vector<Testing::Bgra> pixels;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const COLORREF color = canvas.Pixel(x, y);
            pixels.push_back({GetBValue(color), GetGValue(color), GetRValue(color), 255});
        }
    }
    std::ofstream(name, std::ios::binary) << Testing::MakePng(canvas.Width(), canvas.Height(), pixels);
}

TEST(ThemedToolBar, GradientLinesAndDisabledCaption) {
    BarHost host;
    Toolkit::ToolBar* bar = host.bars->Add(L"Toolbar", Toolkit::PositionTop);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->LoadToolBar(IDR_TEST_TOOLBAR));
    for (UINT id : {ID_ON, ID_OFF, ID_ADD_URL, ID_CONVERT})
        bar->FindControl(id)->SetCaption(L"MMMMMM");
    bar->FindControl(ID_OFF)->SetVisible(FALSE);
    bar->FindControl(ID_CONVERT)->SetEnabled(FALSE);
    Toolkit::SetCurrentTheme(new CMsMoneyTheme(kGradientLight, kGradientDark, kLineLight, kLineDark));
    host.bars->RecalcLayout();

    CRect client;
    bar->GetClientRect(&client);
    // Margins 5 above and below the 50 x 50 pictures and their captions.
    EXPECT_EQ(bar->FindControl(ID_ON)->GetRect().top, 5);
    EXPECT_EQ(client.Height(), bar->FindControl(ID_ON)->GetRect().bottom + 5);
    DibCanvas canvas(client.Width(), client.Height());
    bar->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    WritePng(canvas, "shell_themed_toolbar.png");

    // Right of the last button, left of the expand button: background only.
    const int x = client.right - 30;
    ASSERT_GT(x, bar->FindControl(ID_CONVERT)->GetRect().right);
    const int height = client.Height();
    for (int row = 0; row < height; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        COLORREF expected;
        if (row % 3 == 1) {
            expected = QE978::BlendColors(kLineLight, kLineDark, 1.0 - static_cast<double>(row) / height);
        } else {
            const auto channel = [&](int a, int b) { return a + (b - a) * row / (height - 1); };
            expected = RGB(channel(110, 20), channel(120, 30), channel(130, 40));
        }
        EXPECT_EQ(Rgb{canvas.Pixel(x, row)}, Rgb{expected});
    }

    // Captions: normal text in the default colour, the disabled one in its own.
    const CRect on = bar->FindControl(ID_ON)->GetRect();
    const CRect convert = bar->FindControl(ID_CONVERT)->GetRect();
    const CRect onCaption(on.left, on.top + 50, on.right, on.bottom);
    const CRect convertCaption(convert.left, convert.top + 50, convert.right, convert.bottom);
    EXPECT_TRUE(AreaHasColor(canvas, onCaption, 0xF9FEFF));
    EXPECT_FALSE(AreaHasColor(canvas, onCaption, 0xB1B1B1, 8));
    EXPECT_TRUE(AreaHasColor(canvas, convertCaption, 0xB1B1B1));
    EXPECT_FALSE(AreaHasColor(canvas, convertCaption, 0xF9FEFF, 8));
    // The picture of a shown button: its red square.
    EXPECT_EQ(Rgb{canvas.Pixel(on.CenterPoint().x, on.top + 3 + 25)}, Rgb{RGB(255, 0, 0)});

    Toolkit::SetCurrentTheme(nullptr);
}

}  // namespace
