#include "toolkit/CommandBars.h"
#include "toolkit/CurrentTheme.h"
#include "toolkit/QE637.h"

#include "ToolkitTestResources.h"
#include "ToolkitTestSupport.h"

#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace ToolkitTests;
using Toolkit::Control;
using Toolkit::ToolBar;

namespace {

// A frame of its own: the bars take their strip at the top, a child stands
// for the view below them, and the frame handles a few commands.
class HostFrame : public CWnd, public Toolkit::ICommandBarsSite {
public:
    HostFrame() {
        CreateEx(0, nullptr, L"Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50, 50, 700, 300, nullptr, nullptr);
        view.CreateEx(0, nullptr, L"View", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)));
        bars = std::make_unique<Toolkit::CommandBars>(this);
    }
    ~HostFrame() override {
        bars.reset();
        DestroyWindow();
    }

    CWnd* GetSiteWindow() override { return this; }
    void RecalcSiteLayout() override {
        ++layouts;
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (bars->PreTranslateMessage(pMsg))
            return TRUE;
        return CWnd::PreTranslateMessage(pMsg);
    }

    ToolBar* AddToolbar() {
        ToolBar* bar = bars->Add(L"Toolbar", Toolkit::PositionTop);
        if (bar)
            bar->LoadToolBar(IDR_TEST_TOOLBAR);
        return bar;
    }

    CWnd view;
    std::unique_ptr<Toolkit::CommandBars> bars;
    int layouts = 0;
    int addUrlCommands = 0;
    int convertCommands = 0;
    BOOL convertEnabled = TRUE;

protected:
    afx_msg void OnAddUrl() { ++addUrlCommands; }
    afx_msg void OnConvert() { ++convertCommands; }
    afx_msg void OnUpdateConvert(CCmdUI* pCmdUI) { pCmdUI->Enable(convertEnabled); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HostFrame, CWnd)
    ON_COMMAND(ID_ADD_URL, &HostFrame::OnAddUrl)
    ON_COMMAND(ID_CONVERT, &HostFrame::OnConvert)
    ON_UPDATE_COMMAND_UI(ID_CONVERT, &HostFrame::OnUpdateConvert)
END_MESSAGE_MAP()

struct CommandBarsTest : ::testing::Test {
    void SetUp() override { Toolkit::SetCurrentTheme(nullptr); }
    void TearDown() override { Toolkit::SetCurrentTheme(nullptr); }
};

using ToolBarResource = CommandBarsTest;

TEST_F(ToolBarResource, ControlsInResourceOrderWithPictures) {
    HostFrame frame;
    ToolBar* bar = frame.bars->Add(L"Toolbar", Toolkit::PositionTop);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->LoadToolBar(IDR_TEST_TOOLBAR));
    const UINT expected[] = {ID_ON, ID_OFF, ID_ADD_URL, 0, ID_CONVERT, ID_REMOVE, ID_SETTINGS, ID_HELP};
    ASSERT_EQ(bar->GetControlCount(), 8);
    int image = 0;
    for (int i = 0; i < bar->GetControlCount(); ++i) {
        SCOPED_TRACE(i);
        const Control* control = bar->GetControl(i);
        EXPECT_EQ(control->GetId(), expected[i]);
        EXPECT_TRUE(control->IsVisible());
        if (expected[i] == 0) {
            EXPECT_EQ(control->GetKind(), Toolkit::ControlSeparator);
        } else {
            EXPECT_EQ(control->GetKind(), Toolkit::ControlCaptionButton);
            EXPECT_EQ(control->GetImageIndex(), image++);
        }
    }
    EXPECT_EQ(bar->GetImageSize(), CSize(50, 50));
    EXPECT_EQ(ImageList_GetImageCount(bar->GetImages()), 7);
    EXPECT_EQ(bar->FindControl(ID_CONVERT), bar->GetControl(4));
    EXPECT_EQ(bar->FindControl(4242), nullptr);
}

TEST_F(ToolBarResource, MissingOrIncompleteResourcesLeaveNoControls) {
    HostFrame frame;
    ToolBar* bar = frame.AddToolbar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetControlCount(), 8);
    ASSERT_EQ(bar->GetControlCount(), 8);
    EXPECT_FALSE(bar->LoadToolBar(IDR_MISSING));
    EXPECT_EQ(bar->GetControlCount(), 0);
    EXPECT_FALSE(bar->LoadToolBar(IDR_NO_BITMAP));  // a toolbar without its bitmap
    EXPECT_EQ(bar->GetControlCount(), 0);
    EXPECT_EQ(bar->GetImages(), nullptr);
    EXPECT_FALSE(bar->LoadToolBar(IDR_BROKEN));
    EXPECT_EQ(bar->GetControlCount(), 0);
}

TEST_F(ToolBarResource, BothResourceCompilerLayouts) {
    HostFrame frame;
    ToolBar* bar = frame.bars->Add(L"Toolbar", Toolkit::PositionTop);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->LoadToolBar(IDR_MS_LAYOUT));
    ASSERT_EQ(bar->GetControlCount(), 3);
    EXPECT_EQ(bar->GetControl(0)->GetId(), static_cast<UINT>(ID_ON));
    EXPECT_EQ(bar->GetControl(1)->GetKind(), Toolkit::ControlSeparator);
    EXPECT_EQ(bar->GetControl(2)->GetId(), static_cast<UINT>(ID_HELP));
    EXPECT_EQ(bar->GetControl(2)->GetImageIndex(), 1);
    EXPECT_EQ(bar->GetImageSize(), CSize(50, 50));
}

using CommandBarsSetUp = CommandBarsTest;

TEST_F(CommandBarsSetUp, AddFindAndDockAtTheTop) {
    HostFrame frame;
    frame.bars->EnableCustomization(FALSE);
    frame.bars->ShowExpandButtons(FALSE);
    EXPECT_EQ(frame.bars->Add(L"Side", Toolkit::PositionLeft), nullptr);
    EXPECT_EQ(frame.bars->GetCount(), 0);
    ToolBar* bar = frame.AddToolbar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetControlCount(), 8);
    EXPECT_EQ(frame.bars->Find(L"Toolbar"), bar);
    EXPECT_EQ(frame.bars->Find(L"Menu"), nullptr);
    EXPECT_EQ(frame.bars->GetAt(0), bar);
    EXPECT_EQ(bar->GetPosition(), Toolkit::PositionTop);
    EXPECT_TRUE(bar->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(bar->GetParent(), &frame);

    // The bar takes its strip at the top; the view the rest.
    CRect client, barRect, viewRect;
    frame.GetClientRect(&client);
    bar->GetWindowRect(&barRect);
    frame.ScreenToClient(&barRect);
    frame.view.GetWindowRect(&viewRect);
    frame.ScreenToClient(&viewRect);
    EXPECT_EQ(barRect.TopLeft(), CPoint(0, 0));
    EXPECT_EQ(barRect.Width(), client.Width());
    EXPECT_GT(barRect.Height(), 50);
    EXPECT_EQ(viewRect.top, barRect.bottom);
    EXPECT_EQ(viewRect.bottom, client.bottom);
}

TEST_F(CommandBarsSetUp, HiddenButtonLeavesTheRowAndTheBarIsLaidOutAgain) {
    HostFrame frame;
    ToolBar* bar = frame.AddToolbar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetControlCount(), 8);
    Control* off = bar->FindControl(ID_OFF);
    Control* addUrl = bar->FindControl(ID_ADD_URL);
    ASSERT_TRUE(off && addUrl);
    const CRect offPlace = off->GetRect();
    ASSERT_FALSE(offPlace.IsRectEmpty());
    ASSERT_GT(addUrl->GetRect().left, offPlace.left);

    const int layoutsBefore = frame.layouts;
    off->SetVisible(FALSE);
    EXPECT_GT(frame.layouts, layoutsBefore);
    EXPECT_FALSE(off->IsVisible());
    EXPECT_TRUE(off->GetRect().IsRectEmpty());
    EXPECT_EQ(addUrl->GetRect().left, offPlace.left);  // the next button moved into its place
    EXPECT_EQ(bar->HitTest(offPlace.CenterPoint()), addUrl);
    // Still in the walk, so it can come back.
    EXPECT_EQ(bar->GetControl(1), off);
    off->SetVisible(TRUE);
    EXPECT_EQ(off->GetRect(), offPlace);
}

TEST_F(CommandBarsSetUp, CaptionsAndTooltipsById) {
    HostFrame frame;
    ToolBar* bar = frame.AddToolbar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetControlCount(), 8);
    const int widthBefore = bar->FindControl(ID_ADD_URL)->GetRect().Width();
    for (int i = 0; i < bar->GetControlCount(); ++i) {
        Control* control = bar->GetControl(i);
        if (control->GetId() == ID_ADD_URL) {
            control->SetCaption(L"Add a long web address");
            control->SetTooltip(L"Download a video from a web address");
        }
    }
    Control* addUrl = bar->FindControl(ID_ADD_URL);
    EXPECT_EQ(addUrl->GetCaption(), CString(L"Add a long web address"));
    EXPECT_GT(addUrl->GetRect().Width(), widthBefore);  // a longer caption widens the button
    EXPECT_EQ(bar->GetToolTipText(ID_ADD_URL), CString(L"Download a video from a web address"));
    EXPECT_EQ(bar->GetToolTipText(ID_REMOVE), CString());

    addUrl->SetVisible(FALSE);
    EXPECT_EQ(bar->GetToolTipText(ID_ADD_URL), CString());
}

using CommandBarsInput = CommandBarsTest;

TEST_F(CommandBarsInput, ClickSendsTheCommandToTheFrame) {
    HostFrame frame;
    ToolBar* bar = frame.AddToolbar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetControlCount(), 8);
    const CPoint addUrl = bar->FindControl(ID_ADD_URL)->GetRect().CenterPoint();
    const CPoint convert = bar->FindControl(ID_CONVERT)->GetRect().CenterPoint();
    const auto click = [&](CPoint down, CPoint up) {
        bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
        bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    };
    click(addUrl, addUrl);
    EXPECT_EQ(frame.addUrlCommands, 1);
    EXPECT_FALSE(bar->FindControl(ID_ADD_URL)->IsPressed());

    // Released elsewhere: no command.
    click(addUrl, convert);
    EXPECT_EQ(frame.addUrlCommands, 1);
    EXPECT_EQ(frame.convertCommands, 0);

    // A disabled button takes no click.
    bar->FindControl(ID_CONVERT)->SetEnabled(FALSE);
    click(convert, convert);
    EXPECT_EQ(frame.convertCommands, 0);
    bar->FindControl(ID_CONVERT)->SetEnabled(TRUE);
    click(convert, convert);
    EXPECT_EQ(frame.convertCommands, 1);
    // Between the buttons nothing happens.
    click(CPoint(1, 1), CPoint(1, 1));
    EXPECT_EQ(frame.addUrlCommands, 1);
}

// The hidden controls' menu as the expand button showed it; answers with
// the item of g_menuChoice.
struct ShownMenu {
    UINT id;
    CString text;
    BOOL grayed;
};
std::vector<ShownMenu> g_menuShown;
CPoint g_menuAt;
UINT g_menuFlags = 0;
UINT g_menuChoice = 0;
BOOL RecordExpandMenu(HMENU menu, UINT flags, int x, int y, HWND, LPCRECT) {
    g_menuFlags = flags;
    g_menuAt = CPoint(x, y);
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        g_menuShown.push_back({::GetMenuItemID(menu, i), text, (state & MF_GRAYED) ? TRUE : FALSE});
    }
    return static_cast<BOOL>(g_menuChoice);
}

TEST_F(CommandBarsInput, ControlsThatDoNotFitAreOfferedThroughTheExpandButton) {
    struct Case {
        const char* name;
        BOOL showAlways;
        bool narrow;
        BOOL expectShown;
    };
    const Case cases[] = {
        {"wide, shown only when needed", FALSE, false, FALSE},
        {"wide, shown always", TRUE, false, TRUE},
        {"narrow, shown only when needed", FALSE, true, TRUE},
        {"narrow, shown always", TRUE, true, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostFrame frame;
        frame.bars->ShowExpandButtons(c.showAlways);
        ToolBar* bar = frame.AddToolbar();
        ASSERT_NE(bar, nullptr);
        ASSERT_EQ(bar->GetControlCount(), 8);
        bar->FindControl(ID_CONVERT)->SetCaption(L"Convert");
        bar->FindControl(ID_REMOVE)->SetTooltip(L"Remove the row");
        bar->FindControl(ID_REMOVE)->SetEnabled(FALSE);
        bar->FindControl(ID_HELP)->SetVisible(FALSE);  // hidden on purpose: never offered
        if (c.narrow) {
            // The bar ends where Convert ends: Convert and the ones after it cannot fit.
            const int barWidth = bar->FindControl(ID_CONVERT)->GetRect().right;
            CRect window, client;
            frame.GetWindowRect(&window);
            frame.GetClientRect(&client);
            frame.SetWindowPos(nullptr, 0, 0, barWidth + window.Width() - client.Width(), window.Height(),
                               SWP_NOMOVE | SWP_NOZORDER);
            frame.bars->RecalcLayout();
        }
        const CRect expand = bar->GetExpandButton().rect;
        EXPECT_EQ(expand.IsRectEmpty(), !c.expectShown);
        EXPECT_EQ(bar->GetExpandButton().controlsHidden, c.narrow ? TRUE : FALSE);
        for (int i = 0; i < bar->GetControlCount(); ++i) {
            const CRect place = bar->GetControl(i)->GetRect();
            if (!place.IsRectEmpty() && c.expectShown)
                EXPECT_LE(place.right, expand.left) << "control " << i << " under the expand button";
        }
        std::vector<UINT> hidden;
        for (int i = 0; i < bar->GetControlCount(); ++i) {
            const Control* control = bar->GetControl(i);
            if (control->IsVisible() && control->GetKind() != Toolkit::ControlSeparator && control->GetRect().IsRectEmpty())
                hidden.push_back(control->GetId());
        }
        const std::vector<UINT> expectedHidden =
            c.narrow ? std::vector<UINT>{ID_CONVERT, ID_REMOVE, ID_SETTINGS} : std::vector<UINT>();
        EXPECT_EQ(hidden, expectedHidden);
        if (!c.narrow)
            continue;

        g_menuShown.clear();
        g_menuChoice = ID_CONVERT;
        const AfxTrackPopupMenuHandler previous = AfxSetTrackPopupMenuHandler(&RecordExpandMenu);
        const CPoint centre = expand.CenterPoint();
        bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
        bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
        AfxSetTrackPopupMenuHandler(previous);
        ASSERT_EQ(g_menuShown.size(), 3u);
        EXPECT_EQ(g_menuShown[0].id, static_cast<UINT>(ID_CONVERT));
        EXPECT_EQ(g_menuShown[0].text, CString(L"Convert"));
        EXPECT_FALSE(g_menuShown[0].grayed);
        EXPECT_EQ(g_menuShown[1].id, static_cast<UINT>(ID_REMOVE));
        EXPECT_EQ(g_menuShown[1].text, CString(L"Remove the row")) << "no caption: the tooltip names it";
        EXPECT_TRUE(g_menuShown[1].grayed) << "a disabled control stays disabled in the menu";
        EXPECT_EQ(g_menuShown[2].id, static_cast<UINT>(ID_SETTINGS));
        EXPECT_TRUE(g_menuFlags & TPM_RETURNCMD);
        CRect onScreen = expand;
        bar->ClientToScreen(&onScreen);
        EXPECT_EQ(g_menuAt, CPoint(onScreen.right, onScreen.bottom)) << "below the button";
        EXPECT_EQ(frame.convertCommands, 1) << "the chosen control's command reaches the frame";
        EXPECT_FALSE(bar->GetExpandButton().pressed);

        // Wide again: everything fits and the button goes.
        frame.SetWindowPos(nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
        frame.bars->RecalcLayout();
        EXPECT_EQ(bar->GetExpandButton().rect.IsRectEmpty(), !c.showAlways);
        EXPECT_FALSE(bar->GetExpandButton().controlsHidden);
        EXPECT_FALSE(bar->FindControl(ID_SETTINGS)->GetRect().IsRectEmpty());
    }
}

TEST_F(CommandBarsInput, IdleUpdateSetsEnabledStatesFromTheFrame) {
    HostFrame frame;
    ToolBar* bar = frame.AddToolbar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetControlCount(), 8);
    frame.convertEnabled = FALSE;
    bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(bar->FindControl(ID_CONVERT)->IsEnabled());
    EXPECT_TRUE(bar->FindControl(ID_ADD_URL)->IsEnabled());  // handled, no update handler
    EXPECT_FALSE(bar->FindControl(ID_REMOVE)->IsEnabled());  // nobody handles it
    frame.convertEnabled = TRUE;
    frame.bars->UpdateCommandUI(FALSE);
    EXPECT_TRUE(bar->FindControl(ID_CONVERT)->IsEnabled());
    EXPECT_FALSE(bar->FindControl(ID_REMOVE)->IsEnabled());  // without disabling, left as it was
}

TEST_F(CommandBarsInput, PreTranslationFeedsTheTooltips) {
    HostFrame frame;
    ToolBar* bar = frame.AddToolbar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetControlCount(), 8);
    bar->FindControl(ID_ADD_URL)->SetTooltip(L"Add URL");
    MSG msg = {bar->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), GetTickCount(), {5, 5}};
    // Messages go on to their window: the bars never eat one.
    EXPECT_FALSE(frame.bars->PreTranslateMessage(&msg));
}

// A standard theme that records what it was asked to draw.
class RecordingTheme : public QE637 {
public:
    CSize DrawToolbarControl(CDC* pDC, const Toolkit::Bar& bar, const Control& control, BOOL bDraw) override {
        if (bDraw)
            drawn.push_back({control.GetId(), control.IsEnabled()});
        return QE637::DrawToolbarControl(pDC, bar, control, bDraw);
    }
    void FillBarBackground(CDC* pDC, const Toolkit::Bar& bar, const CRect& rect) override {
        QEFillSolid(pDC, rect, RGB(10, 200, 30));
    }
    struct Drawn {
        UINT id;
        BOOL enabled;
    };
    std::vector<Drawn> drawn;
};

using CommandBarsPainting = CommandBarsTest;

TEST_F(CommandBarsPainting, DrawnOnlyThroughTheCurrentTheme) {
    HostFrame frame;
    ToolBar* bar = frame.AddToolbar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetControlCount(), 8);
    bar->FindControl(ID_OFF)->SetVisible(FALSE);
    auto* theme = new RecordingTheme;
    Toolkit::SetCurrentTheme(theme);
    frame.convertEnabled = FALSE;
    bar->SendMessage(WM_IDLEUPDATECMDUI, FALSE);
    auto canvas = CaptureBar(*bar);
    WritePng(*canvas, "toolkit_toolbar_recorded.png");
    EXPECT_EQ(Rgb{canvas->Pixel(0, 0)}, Rgb{RGB(10, 200, 30)});
    std::vector<UINT> ids;
    for (const auto& drawn : theme->drawn) {
        ids.push_back(drawn.id);
        if (drawn.id == ID_CONVERT)
            EXPECT_FALSE(drawn.enabled);
    }
    EXPECT_EQ(ids, (std::vector<UINT>{ID_ON, ID_ADD_URL, ID_CONVERT, ID_REMOVE, ID_SETTINGS, ID_HELP}));
    // The pictures: the Add URL square (blue) inside its button.
    const CRect addUrl = bar->FindControl(ID_ADD_URL)->GetRect();
    EXPECT_TRUE([&] {
        for (int y = addUrl.top; y < addUrl.bottom; ++y)
            for (int x = addUrl.left; x < addUrl.right; ++x)
                if (canvas->Pixel(x, y) == RGB(0, 0, 255))
                    return true;
        return false;
    }());
}

std::atomic<int> g_deadUses{0};

class CheckedTheme : public QE637 {
public:
    CheckedTheme() { m_alive = kAlive; }
    ~CheckedTheme() override { m_alive = 0; }
    void FillBarBackground(CDC* pDC, const Toolkit::Bar& bar, const CRect& rect) override {
        Check();
        QE637::FillBarBackground(pDC, bar, rect);
        Sleep(0);
        Check();
    }
    CSize DrawToolbarControl(CDC* pDC, const Toolkit::Bar& bar, const Control& control, BOOL bDraw) override {
        Check();
        return QE637::DrawToolbarControl(pDC, bar, control, bDraw);
    }

private:
    void Check() const {
        if (m_alive != kAlive)
            ++g_deadUses;
    }
    static const unsigned kAlive = 0xA11FE;
    volatile unsigned m_alive;
};

TEST_F(CommandBarsPainting, ReplacingTheThemeWhileTheBarRepaints) {
    HostFrame frame;
    ToolBar* bar = frame.AddToolbar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetControlCount(), 8);
    Toolkit::SetCurrentTheme(new CheckedTheme);
    const long live = QE978::GetLiveCount();
    std::atomic<bool> stop{false};
    std::atomic<int> replaced{0};
    std::thread replacer([&] {
        while (!stop) {
            Toolkit::SetCurrentTheme(new CheckedTheme);
            ++replaced;
            Sleep(1);  // the painting thread must get its turns under load
        }
    });
    DibCanvas canvas(800, 100);
    for (int i = 0; i < 60; ++i)
        bar->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    stop = true;
    replacer.join();
    EXPECT_GT(replaced.load(), 0);
    EXPECT_EQ(g_deadUses.load(), 0);
    EXPECT_EQ(QE978::GetLiveCount(), live);
}

class ProfileApp : public CWinApp {
public:
    ProfileApp() : CWinApp(L"Toolkit Test App") {}
};

TEST_F(CommandBarsSetUp, StateSavedUnderTheProfileName) {
    Testing::TempRegistryKey temporary;
    ProfileApp app;
    app.SetRegistryKey(temporary.SubKey().substr(std::wstring(L"Software\\").size()).c_str());
    HostFrame frame;
    ToolBar* bar = frame.AddToolbar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetControlCount(), 8);
    bar->FindControl(ID_OFF)->SetVisible(FALSE);
    bar->FindControl(ID_HELP)->SetVisible(FALSE);
    // A stale bar of an earlier run goes.
    app.WriteProfileString(L"CommandBars\\Bar7", L"Name", L"Old");

    ASSERT_TRUE(frame.bars->SaveState(L"CommandBars"));
    EXPECT_EQ(app.GetProfileInt(L"CommandBars", L"BarCount", -1), 1u);
    EXPECT_EQ(app.GetProfileString(L"CommandBars\\Bar0", L"Name"), CString(L"Toolbar"));
    EXPECT_EQ(app.GetProfileInt(L"CommandBars\\Bar0", L"Position", -1), 2u);
    EXPECT_EQ(app.GetProfileInt(L"CommandBars\\Bar0", L"Visible", -1), 1u);
    EXPECT_EQ(app.GetProfileInt(L"CommandBars\\Bar0", L"ControlCount", -1), 8u);
    EXPECT_EQ(app.GetProfileString(L"CommandBars\\Bar0", L"HiddenControls"), CString(L"1039,1060"));
    EXPECT_EQ(app.GetProfileString(L"CommandBars\\Bar7", L"Name", L"gone"), CString(L"gone"));
    EXPECT_FALSE(frame.bars->SaveState(L""));
}

}  // namespace
