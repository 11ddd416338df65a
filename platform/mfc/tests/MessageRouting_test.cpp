#include "afxwin.h"

#include "MfcTestResources.h"
#include "MfcTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace MfcTests;

namespace {

std::vector<std::string> g_events;

const UINT kNotifyCode = NM_CLICK;

// A child control that takes its own notifications: _EX forms let the
// parent see them too, the plain forms keep them.
class CReflectingChild : public CWnd {
public:
    bool passOn = false;

protected:
    afx_msg BOOL OnClickedEx() {
        g_events.push_back("child clicked (ex)");
        return !passOn ? TRUE : FALSE;
    }
    afx_msg BOOL OnNotifyEx(NMHDR*, LRESULT* pResult) {
        g_events.push_back("child notified");
        *pResult = 7;
        return passOn ? FALSE : TRUE;
    }
    afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor) {
        g_events.push_back("child ctlcolor " + std::to_string(nCtlColor));
        return passOn ? nullptr : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingChild, CWnd)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CReflectingChild::OnClickedEx)
    ON_NOTIFY_REFLECT_EX(kNotifyCode, &CReflectingChild::OnNotifyEx)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CKeepingChild : public CWnd {
protected:
    afx_msg void OnClicked() { g_events.push_back("child clicked (kept)"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CKeepingChild, CWnd)
    ON_CONTROL_REFLECT(BN_CLICKED, &CKeepingChild::OnClicked)
END_MESSAGE_MAP()

class CRoutingParent : public CWnd {
public:
    bool commandEnabled = true;

protected:
    afx_msg void OnChildClicked() { g_events.push_back("parent clicked " + std::to_string(GetCurrentId())); }
    afx_msg void OnSelChange() { g_events.push_back("parent selchange"); }
    afx_msg void OnChildNotification(NMHDR* header, LRESULT* pResult) {
        g_events.push_back("parent notified " + std::to_string(header->idFrom));
        *pResult = 3;
    }
    afx_msg void OnMenuCommand() { g_events.push_back("menu command"); }
    afx_msg void OnUpdateMenuCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(commandEnabled); }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        g_events.push_back("parent ctlcolor");
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    DECLARE_MESSAGE_MAP()

private:
    int GetCurrentId() const { return static_cast<int>(LOWORD(AfxGetThreadState().m_lastSentMsg.wParam)); }
};

BEGIN_MESSAGE_MAP(CRoutingParent, CWnd)
    ON_BN_CLICKED(10, &CRoutingParent::OnChildClicked)
    ON_BN_CLICKED(11, &CRoutingParent::OnChildClicked)
    ON_CBN_SELCHANGE(10, &CRoutingParent::OnSelChange)
    ON_NOTIFY(kNotifyCode, 10, &CRoutingParent::OnChildNotification)
    ON_COMMAND(500, &CRoutingParent::OnMenuCommand)
    ON_UPDATE_COMMAND_UI(500, &CRoutingParent::OnUpdateMenuCommand)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class RoutingTest : public testing::Test {
protected:
    void SetUp() override {
        g_events.clear();
        ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
        ASSERT_TRUE(reflecting.Create(nullptr, L"", 0, CRect(0, 0, 20, 20), &parent, 10));
        ASSERT_TRUE(keeping.Create(nullptr, L"", 0, CRect(0, 20, 20, 40), &parent, 11));
    }

    LRESULT Command(CWnd& from, WORD code) {
        return parent.SendMessage(WM_COMMAND, MAKEWPARAM(from.GetDlgCtrlID(), code), reinterpret_cast<LPARAM>(from.m_hWnd));
    }

    CRoutingParent parent;
    CReflectingChild reflecting;
    CKeepingChild keeping;
};

TEST_F(RoutingTest, ReflectedNotificationReachesTheControlBeforeItsParent) {
    reflecting.passOn = true;
    Command(reflecting, BN_CLICKED);
    EXPECT_EQ(g_events, (std::vector<std::string>{"child clicked (ex)", "parent clicked 10"}));

    g_events.clear();
    reflecting.passOn = false;
    Command(reflecting, BN_CLICKED);
    EXPECT_EQ(g_events, (std::vector<std::string>{"child clicked (ex)"}));

    g_events.clear();
    Command(keeping, BN_CLICKED);
    EXPECT_EQ(g_events, (std::vector<std::string>{"child clicked (kept)"}));

    g_events.clear();
    Command(reflecting, CBN_SELCHANGE);  // no reflected entry for this code
    EXPECT_EQ(g_events, (std::vector<std::string>{"parent selchange"}));
}

TEST_F(RoutingTest, NotificationsAreReflectedAndTheAnswerComesBack) {
    NMHDR header = {reflecting.m_hWnd, 10, kNotifyCode};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 10, reinterpret_cast<LPARAM>(&header)), 7);
    EXPECT_EQ(g_events, (std::vector<std::string>{"child notified"}));

    g_events.clear();
    reflecting.passOn = true;
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 10, reinterpret_cast<LPARAM>(&header)), 3);
    EXPECT_EQ(g_events, (std::vector<std::string>{"child notified", "parent notified 10"}));
}

TEST_F(RoutingTest, CtlColorGoesToTheParentsHandlerAndThenToTheControl) {
    HDC dc = GetDC(parent.m_hWnd);
    LRESULT brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(reflecting.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(g_events, (std::vector<std::string>{"parent ctlcolor", "child ctlcolor " + std::to_string(CTLCOLOR_STATIC)}));

    // A control answering no brush leaves the colour to the default processing.
    g_events.clear();
    reflecting.passOn = true;
    brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(reflecting.m_hWnd));
    EXPECT_NE(reinterpret_cast<HBRUSH>(brush), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    ReleaseDC(parent.m_hWnd, dc);
}

TEST_F(RoutingTest, DisabledMenuCommandsAreDropped) {
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(500, 0), 0);
    EXPECT_EQ(g_events, (std::vector<std::string>{"menu command"}));
    g_events.clear();
    parent.commandEnabled = false;
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(500, 0), 0);
    EXPECT_TRUE(g_events.empty());
}

// The command target of the menu test: one handler per state.
class CCommandTarget : public CCmdTarget {
protected:
    afx_msg void OnEnabled() {}
    afx_msg void OnDisabled() {}
    afx_msg void OnChecked() {}
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) {
        pCmdUI->SetCheck(1);
        pCmdUI->SetText(L"Checked now");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandTarget, CCmdTarget)
    ON_COMMAND(ID_CMD_ENABLED, &CCommandTarget::OnEnabled)
    ON_COMMAND(ID_CMD_DISABLED, &CCommandTarget::OnDisabled)
    ON_COMMAND(ID_CMD_CHECKED, &CCommandTarget::OnChecked)
    ON_UPDATE_COMMAND_UI(ID_CMD_DISABLED, &CCommandTarget::OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(ID_CMD_CHECKED, &CCommandTarget::OnUpdateChecked)
END_MESSAGE_MAP()

TEST(CCmdUI, UpdateHandlersSetTheStateOfMenuItems) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDM_COMMANDS));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    CCommandTarget target;

    CCmdUI state;
    state.m_pMenu = popup;
    state.m_nIndexMax = static_cast<UINT>(popup->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = popup->GetMenuItemID(static_cast<int>(state.m_nIndex));
        state.DoUpdate(&target, TRUE);
    }

    struct Expected {
        UINT id;
        bool grayed;
        bool checked;
    } expected[] = {
        {ID_CMD_ENABLED, false, false},
        {ID_CMD_DISABLED, true, false},
        {ID_CMD_CHECKED, false, true},
        {ID_CMD_UNHANDLED, true, false},  // no handler: disabled
    };
    for (const Expected& item : expected) {
        SCOPED_TRACE(item.id);
        UINT flags = popup->GetMenuState(item.id, MF_BYCOMMAND);
        EXPECT_EQ((flags & MF_GRAYED) != 0, item.grayed);
        EXPECT_EQ((flags & MF_CHECKED) != 0, item.checked);
    }
    CString text;
    popup->GetMenuString(ID_CMD_CHECKED, text, MF_BYCOMMAND);
    EXPECT_EQ(text, L"Checked now");
}

TEST(CCmdUI, OnCmdMsgReportsWhetherAHandlerExists) {
    CCommandTarget target;
    AFX_CMDHANDLERINFO info = {nullptr};
    EXPECT_TRUE(target.OnCmdMsg(ID_CMD_ENABLED, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &target);
    EXPECT_FALSE(target.OnCmdMsg(ID_CMD_UNHANDLED, CN_COMMAND, nullptr, &info));
}

}  // namespace

namespace {

// An owner-drawn static, drawn through the parent's WM_DRAWITEM as a label is.
class CDrawnLabel : public CStatic {
public:
    int draws = 0;
    void DrawItem(LPDRAWITEMSTRUCT item) override {
        ++draws;
        EXPECT_EQ(item->CtlType, static_cast<UINT>(ODT_STATIC));
        EXPECT_EQ(item->hwndItem, m_hWnd);
    }
};

// A slider that takes its own scroll messages.
class CReflectingSlider : public CSliderCtrl {
public:
    UINT lastCode = 0xFFFF;

protected:
    afx_msg void HScroll(UINT nSBCode, UINT) { lastCode = nSBCode; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingSlider, CSliderCtrl)
    ON_WM_HSCROLL_REFLECT()
END_MESSAGE_MAP()

class CScrollParent : public CWnd {
public:
    CScrollBar* scrolled = nullptr;
    bool passToBase = true;

protected:
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
        scrolled = pScrollBar;
        if (passToBase)
            CWnd::OnHScroll(nSBCode, nPos, pScrollBar);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScrollParent, CWnd)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

TEST(Reflection, OwnerDrawnStaticIsDrawnThroughItsParent) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
    CDrawnLabel label;
    ASSERT_TRUE(label.Create(L"label", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, CRect(0, 0, 50, 20), &parent, 30));
    label.SendMessage(WM_PAINT);  // the static's own painting asks its parent to draw it
    EXPECT_EQ(label.draws, 1);
}

TEST(Reflection, ScrollMessagesNameTheControlAndReachItThroughTheBaseHandler) {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    CScrollParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
    CReflectingSlider slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &parent, 31));

    parent.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 3), reinterpret_cast<LPARAM>(slider.m_hWnd));
    EXPECT_EQ(reinterpret_cast<CWnd*>(parent.scrolled), &slider);
    EXPECT_EQ(slider.lastCode, static_cast<UINT>(TB_THUMBPOSITION));

    parent.passToBase = false;  // a handler that keeps the message reflects nothing
    parent.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 3), reinterpret_cast<LPARAM>(slider.m_hWnd));
    EXPECT_EQ(slider.lastCode, static_cast<UINT>(TB_THUMBPOSITION));
}

// Keeps WM_NCDESTROY from CWnd's handler, as a careless class might.
class CKeepsNcDestroy : public CWnd {
public:
    explicit CKeepsNcDestroy(int* postNcDestroyCalls) : m_calls(postNcDestroyCalls) {}

protected:
    afx_msg void OnNcDestroy() {}
    void PostNcDestroy() override { ++*m_calls; }
    DECLARE_MESSAGE_MAP()

private:
    int* m_calls;
};

BEGIN_MESSAGE_MAP(CKeepsNcDestroy, CWnd)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

TEST(Reflection, ObjectIsUnboundAfterItsWindowEvenWhenAHandlerKeptNcDestroy) {
    int calls = 0;
    CKeepsNcDestroy window(&calls);
    ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
    HWND hWnd = window.m_hWnd;
    window.DestroyWindow();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(Reflection, WindowMessageBoxGoesThroughTheSeam) {
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
    MessageBoxAnswer answer(IDCANCEL);
    EXPECT_EQ(window.MessageBox(L"Text", L"Caption", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(answer.Owner(), window.m_hWnd);
    EXPECT_EQ(answer.Caption(), L"Caption");
    EXPECT_EQ(answer.Type(), static_cast<UINT>(MB_OKCANCEL));
}

}  // namespace
