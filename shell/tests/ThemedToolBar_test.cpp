// The dark theme on the toolkit's command bars in a frame with a view.
#include "shell/theme/CMsMoneyTheme.h"

#include "toolkit/CurrentTheme.h"
#include "toolkit/QE764.h"

#include "ShellTestResources.h"
#include "ThemeTestSupport.h"

#include "testing/PictureFiles.h"
#include "testing/TempRegistryKey.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using namespace ShellTests;
using Toolkit::Control;
using Toolkit::ToolBar;

namespace {

const COLORREF kGradientLight = RGB(110, 120, 130);
const COLORREF kGradientDark = RGB(20, 30, 40);
const COLORREF kLineLight = RGB(200, 100, 0);
const COLORREF kLineDark = RGB(100, 0, 200);

struct ViewRecord {
    int addUrlCommands = 0;
    BOOL convertEnabled = TRUE;
} g_view;

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)
public:
    void OnDraw(CDC*) override {}

protected:
    afx_msg void OnAddUrl() { ++g_view.addUrlCommands; }
    afx_msg void OnConvert() {}
    afx_msg void OnOnOff() {}
    afx_msg void OnUpdateConvert(CCmdUI* pCmdUI) { pCmdUI->Enable(g_view.convertEnabled); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(TestView, CView)
BEGIN_MESSAGE_MAP(TestView, CView)
    ON_COMMAND(ID_ADD_URL, &TestView::OnAddUrl)
    ON_COMMAND(ID_CONVERT, &TestView::OnConvert)
    ON_COMMAND(ID_ON, &TestView::OnOnOff)
    ON_UPDATE_COMMAND_UI(ID_CONVERT, &TestView::OnUpdateConvert)
END_MESSAGE_MAP()

// A frame that builds its toolbar the way the main window does and saves
// the bars' state when it is destroyed.
class TestFrame : public QE764 {
public:
    ToolBar* toolbar = nullptr;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
        if (QE764::OnCreate(lpCreateStruct) == -1)
            return -1;
        if (!InitCommandBars())
            return -2;
        GetCommandBars()->EnableCustomization(FALSE);
        GetCommandBars()->ShowExpandButtons(FALSE);
        toolbar = GetCommandBars()->Add(L"Toolbar", Toolkit::PositionTop);
        if (!toolbar || !toolbar->LoadToolBar(IDR_TEST_TOOLBAR))
            return -2;
        toolbar->SetCloseable(FALSE);
        RecalcLayout(FALSE);
        return 0;
    }
    afx_msg void OnDestroy() {
        SaveCommandBars(L"CommandBars");
        QE764::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestFrame, QE764)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp(L"Themed Toolbar Test") {}
};

std::unique_ptr<DibCanvas> CaptureBar(ToolBar& bar) {
    CRect client;
    bar.GetClientRect(&client);
    auto canvas = std::make_unique<DibCanvas>(client.Width(), client.Height());
    bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->Dc()), PRF_CLIENT);
    return canvas;
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Counts drawing by a theme that was already destroyed.
std::atomic<int> g_deadUses{0};

class CheckedTheme : public CMsMoneyTheme {
public:
    CheckedTheme() : CMsMoneyTheme(kGradientLight, kGradientDark, kLineLight, kLineDark) { m_alive = kAlive; }
    ~CheckedTheme() override { m_alive = 0; }
    void FillBarBackground(CDC* pDC, const Toolkit::Bar& bar, const CRect& rect) override {
        Check();
        CMsMoneyTheme::FillBarBackground(pDC, bar, rect);
        Check();
    }
    CSize DrawToolbarControl(CDC* pDC, const Toolkit::Bar& bar, const Control& control, BOOL bDraw) override {
        Check();
        return CMsMoneyTheme::DrawToolbarControl(pDC, bar, control, bDraw);
    }

private:
    void Check() const {
        if (m_alive != kAlive)
            ++g_deadUses;
    }
    static const unsigned kAlive = 0xA11FE;
    volatile unsigned m_alive;
};

class ThemedToolBar : public ::testing::Test {
protected:
    void SetUp() override {
        g_view = ViewRecord();
        app.SetRegistryKey(profileKey.SubKey().substr(std::wstring(L"Software\\").size()).c_str());
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(TestView);
        frame = new TestFrame;
        ASSERT_TRUE(frame->Create(nullptr, L"Toolbar Frame", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 340), nullptr,
                                  nullptr, 0, &context));
        view = dynamic_cast<CView*>(frame->GetDlgItem(AFX_IDW_PANE_FIRST));
        ASSERT_NE(view, nullptr);
        frame->SetActiveView(view);
        app.m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOWNOACTIVATE);
        Toolkit::SetCurrentTheme(new CMsMoneyTheme(kGradientLight, kGradientDark, kLineLight, kLineDark));
        frame->RecalcLayout();
        bar = frame->toolbar;
        ASSERT_NE(bar, nullptr);
    }
    void TearDown() override {
        if (frame && frame->m_hWnd)
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        Toolkit::SetCurrentTheme(nullptr);
    }

    Testing::TempRegistryKey profileKey;
    TestApp app;
    TestFrame* frame = nullptr;  // deletes itself with its window
    CView* view = nullptr;
    ToolBar* bar = nullptr;
};

TEST_F(ThemedToolBar, ControlsWalkedInOrderWithCaptionsAndTooltipsById) {
    const UINT expected[] = {ID_ON, ID_OFF, ID_ADD_URL, ID_CONVERT};
    ASSERT_EQ(bar->GetControlCount(), 4);
    for (int i = 0; i < bar->GetControlCount(); ++i) {
        Control* control = bar->GetControl(i);
        EXPECT_EQ(control->GetId(), expected[i]);
        if (control->GetId() == ID_ADD_URL) {
            control->SetCaption(L"Add URL");
            control->SetTooltip(L"Add a web address");
        }
    }
    EXPECT_EQ(bar->FindControl(ID_ADD_URL)->GetCaption(), CString(L"Add URL"));
    EXPECT_EQ(bar->GetToolTipText(ID_ADD_URL), CString(L"Add a web address"));

    // The bar holds the top strip, the view the rest.
    CRect client, barRect, viewRect;
    frame->GetClientRect(&client);
    bar->GetWindowRect(&barRect);
    frame->ScreenToClient(&barRect);
    view->GetWindowRect(&viewRect);
    frame->ScreenToClient(&viewRect);
    EXPECT_EQ(barRect, CRect(0, 0, client.right, barRect.bottom));
    EXPECT_EQ(barRect.Height(), bar->FindControl(ID_ON)->GetRect().bottom + 5);
    EXPECT_EQ(viewRect.top, barRect.bottom);

    // A hidden button leaves the row; the next takes its place.
    const CRect offPlace = bar->FindControl(ID_OFF)->GetRect();
    bar->FindControl(ID_OFF)->SetVisible(FALSE);
    EXPECT_TRUE(bar->FindControl(ID_OFF)->GetRect().IsRectEmpty());
    EXPECT_EQ(bar->FindControl(ID_ADD_URL)->GetRect().left, offPlace.left);
    EXPECT_EQ(bar->GetControl(1)->GetId(), static_cast<UINT>(ID_OFF));
}

TEST_F(ThemedToolBar, ClickReachesTheViewThroughTheFrame) {
    const CPoint addUrl = bar->FindControl(ID_ADD_URL)->GetRect().CenterPoint();
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(addUrl.x, addUrl.y));
    bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(addUrl.x, addUrl.y));
    EXPECT_EQ(g_view.addUrlCommands, 1);
}

TEST_F(ThemedToolBar, DisabledAtIdleTimeAndDrawnInTheThemesColours) {
    for (UINT id : {ID_ON, ID_OFF, ID_ADD_URL, ID_CONVERT})
        bar->FindControl(id)->SetCaption(L"MMMMMM");
    g_view.convertEnabled = FALSE;
    app.OnIdle(0);
    EXPECT_FALSE(bar->FindControl(ID_CONVERT)->IsEnabled());
    EXPECT_TRUE(bar->FindControl(ID_ADD_URL)->IsEnabled());
    EXPECT_TRUE(bar->FindControl(ID_ON)->IsEnabled());
    EXPECT_FALSE(bar->FindControl(ID_OFF)->IsEnabled());  // nobody handles it
    PumpPending();
    frame->UpdateWindow();
    bar->UpdateWindow();
    Testing::SaveWindowPicture(frame->m_hWnd, L"ThemedToolbarFrame");

    auto canvas = CaptureBar(*bar);
    CRect client;
    bar->GetClientRect(&client);
    // Right of the last button: background only, the gradient and every third row a line.
    const int x = client.right - 10;
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
        EXPECT_EQ(Rgb{canvas->Pixel(x, row)}, Rgb{expected});
    }
    // Captions below the 50-pixel pictures: normal in the default colour,
    // the disabled one in its own.
    const CRect on = bar->FindControl(ID_ON)->GetRect();
    const CRect convert = bar->FindControl(ID_CONVERT)->GetRect();
    const CRect onCaption(on.left, on.top + 50, on.right, on.bottom);
    const CRect convertCaption(convert.left, convert.top + 50, convert.right, convert.bottom);
    EXPECT_TRUE(AreaHasColor(*canvas, onCaption, 0xF9FEFF));
    EXPECT_FALSE(AreaHasColor(*canvas, onCaption, 0xB1B1B1, 8));
    EXPECT_TRUE(AreaHasColor(*canvas, convertCaption, 0xB1B1B1));
    EXPECT_FALSE(AreaHasColor(*canvas, convertCaption, 0xF9FEFF, 8));
    // The On button's picture: its red square, centred 3 pixels below the top.
    EXPECT_EQ(Rgb{canvas->Pixel(on.CenterPoint().x, on.top + 3 + 25)}, Rgb{RGB(255, 0, 0)});
}

TEST_F(ThemedToolBar, ThemeReplacedWhileTheBarRepaints) {
    Toolkit::SetCurrentTheme(new CheckedTheme);
    const long live = QE978::GetLiveCount();
    std::atomic<bool> stop{false};
    std::atomic<int> replaced{0};
    std::thread engine([&] {
        // As the engine does when it is switched on or off: new theme, re-layout, repaint.
        while (!stop) {
            auto* theme = new CheckedTheme;
            theme->SetTextColors(RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3));
            Toolkit::SetCurrentTheme(theme);
            ++replaced;
            Sleep(1);
        }
    });
    for (int i = 0; i < 100; ++i) {
        bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpPending();
    }
    stop = true;
    engine.join();
    EXPECT_GT(replaced.load(), 0);
    EXPECT_EQ(g_deadUses.load(), 0);
    EXPECT_EQ(QE978::GetLiveCount(), live);
}

TEST_F(ThemedToolBar, StateSavedUnderCommandBarsWhenTheFrameIsDestroyed) {
    bar->FindControl(ID_OFF)->SetVisible(FALSE);
    frame->DestroyWindow();
    frame = nullptr;
    EXPECT_EQ(app.GetProfileInt(L"CommandBars", L"BarCount", -1), 1u);
    EXPECT_EQ(app.GetProfileString(L"CommandBars\\Bar0", L"Name"), CString(L"Toolbar"));
    EXPECT_EQ(app.GetProfileInt(L"CommandBars\\Bar0", L"Position", -1), 2u);
    EXPECT_EQ(app.GetProfileString(L"CommandBars\\Bar0", L"HiddenControls"), CString(L"1039"));
}

}  // namespace
