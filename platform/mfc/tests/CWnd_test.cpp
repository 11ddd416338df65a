#include "afxwin.h"

#include "MfcTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace MfcTests;

namespace {

// Records what it sees of its own creation.
class CCreationProbe : public CWnd {
public:
    bool boundAtNcCreate = false;
    bool sawCreate = false;
    std::wstring createdTitle;
    int createResult = 0;

protected:
    afx_msg LRESULT OnNcCreateMessage(WPARAM, LPARAM) {
        boundAtNcCreate = m_hWnd != nullptr && CWnd::FromHandlePermanent(m_hWnd) == this;
        return Default();
    }
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        sawCreate = true;
        createdTitle = cs->lpszName ? cs->lpszName : L"";
        if (createResult != 0)
            return createResult;
        return CWnd::OnCreate(cs);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCreationProbe, CWnd)
    ON_MESSAGE(WM_NCCREATE, &CCreationProbe::OnNcCreateMessage)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(CWnd, CreateExBindsTheObjectBeforeNcCreateAndRoutesWmCreate) {
    CCreationProbe probe;
    ASSERT_TRUE(probe.CreateEx(0, nullptr, L"Probe title", WS_POPUP, Area(), nullptr, 0));
    EXPECT_TRUE(probe.boundAtNcCreate);
    EXPECT_TRUE(probe.sawCreate);
    EXPECT_EQ(probe.createdTitle, L"Probe title");
    EXPECT_EQ(CWnd::FromHandlePermanent(probe.m_hWnd), &probe);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(probe.m_hWnd, GWLP_WNDPROC)), &AfxWndProc);
    EXPECT_FALSE(probe.CreateEx(0, nullptr, L"again", WS_POPUP, Area(), nullptr, 0));  // one window per object

    HWND hWnd = probe.m_hWnd;
    EXPECT_TRUE(probe.DestroyWindow());
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(CWnd, CreateFailsWhenWmCreateAnswersMinusOne) {
    CCreationProbe probe;
    probe.createResult = -1;
    EXPECT_FALSE(probe.CreateEx(0, nullptr, L"refused", WS_POPUP, Area(), nullptr, 0));
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_TRUE(probe.sawCreate);
}

// Base and derived maps both handle WM_TIMER; the base alone handles WM_APP.
class CBaseProbe : public CWnd {
public:
    std::vector<std::string> calls;

protected:
    afx_msg void OnTimer(UINT_PTR id) { calls.push_back("base timer " + std::to_string(id)); }
    afx_msg LRESULT OnApp(WPARAM, LPARAM) {
        calls.push_back("base app");
        return 5;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbe, CWnd)
    ON_WM_TIMER()
    ON_MESSAGE(WM_APP, &CBaseProbe::OnApp)
END_MESSAGE_MAP()

class CDerivedProbe : public CBaseProbe {
public:
    bool consumeApp1 = true;

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        if (message == WM_APP + 1 && consumeApp1) {
            calls.push_back("OnWndMsg consumed");
            *pResult = 42;
            return TRUE;
        }
        return CBaseProbe::OnWndMsg(message, wParam, lParam, pResult);
    }

protected:
    afx_msg void OnTimer(UINT_PTR id) {
        calls.push_back("derived timer " + std::to_string(id));
        if (id == 2)
            CBaseProbe::OnTimer(id);  // a handler may pass on to its base's
    }
    afx_msg LRESULT OnApp1(WPARAM, LPARAM) {
        calls.push_back("map app1");
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbe, CBaseProbe)
    ON_WM_TIMER()
    ON_MESSAGE(WM_APP + 1, &CDerivedProbe::OnApp1)
END_MESSAGE_MAP()

TEST(CWnd, DerivedMapWinsBaseMapServesTheRestAndOnWndMsgCanConsume) {
    CDerivedProbe probe;
    ASSERT_TRUE(probe.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));

    probe.SendMessage(WM_TIMER, 1);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"derived timer 1"}));
    probe.calls.clear();
    probe.SendMessage(WM_TIMER, 2);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"derived timer 2", "base timer 2"}));

    probe.calls.clear();
    EXPECT_EQ(probe.SendMessage(WM_APP), 5);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"base app"}));

    probe.calls.clear();
    EXPECT_EQ(probe.SendMessage(WM_APP + 1), 42);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"OnWndMsg consumed"}));
    probe.consumeApp1 = false;
    probe.calls.clear();
    EXPECT_EQ(probe.SendMessage(WM_APP + 1), 1);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"map app1"}));
}

TEST(CWnd, TimersArriveThroughTheMap) {
    CDerivedProbe probe;
    ASSERT_TRUE(probe.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
    ASSERT_EQ(probe.SetTimer(7, 10), 7u);
    EXPECT_TRUE(PumpUntil([&] { return !probe.calls.empty(); }));
    EXPECT_TRUE(probe.KillTimer(7));
    ASSERT_FALSE(probe.calls.empty());
    EXPECT_EQ(probe.calls.front(), "derived timer 7");
}

UINT RegisteredProbeMessage() {
    static const UINT message = RegisterWindowMessageW(L"Brunlow MFC test registered message");
    return message;
}
const UINT g_registeredProbeMessage = RegisteredProbeMessage();

class CRegisteredProbe : public CWnd {
public:
    WPARAM received = 0;

protected:
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) {
        received = wParam;
        return 99;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRegisteredProbe, CWnd)
    ON_REGISTERED_MESSAGE(g_registeredProbeMessage, &CRegisteredProbe::OnRegistered)
END_MESSAGE_MAP()

TEST(CWnd, RegisteredMessagesAreMatchedByTheirNumber) {
    CRegisteredProbe probe;
    ASSERT_TRUE(probe.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
    EXPECT_EQ(probe.SendMessage(g_registeredProbeMessage, 3), 99);
    EXPECT_EQ(probe.received, 3u);
    EXPECT_EQ(probe.SendMessage(RegisterWindowMessageW(L"Another registered message"), 4), 0);
    EXPECT_EQ(probe.received, 3u);
}

// Deletes itself after its window is gone, as modeless windows do.
class CSelfDeleting : public CWnd {
public:
    explicit CSelfDeleting(bool* deleted) : m_deleted(deleted) {}
    ~CSelfDeleting() override { *m_deleted = true; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    bool* m_deleted;
};

TEST(CWnd, PostNcDestroyRunsAfterTheLastMessageAndMayDeleteTheObject) {
    bool deleted = false;
    auto* window = new CSelfDeleting(&deleted);
    ASSERT_TRUE(window->CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
    HWND hWnd = window->m_hWnd;
    ::DestroyWindow(hWnd);  // from outside, as the system would
    EXPECT_TRUE(deleted);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(CWnd, ObjectDestroyedFirstTakesItsWindowAlong) {
    HWND hWnd = nullptr;
    {
        CWnd window;
        ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
        hWnd = window.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(CWnd, TemporaryObjectsStandForUnboundWindowsUntilIdleTime) {
    HWND foreign = CreateWindowExW(0, L"STATIC", L"foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    AfxLockTempMaps();
    AfxUnlockTempMaps();  // start from no temporaries
    ASSERT_EQ(TempObjectCount(), 0u);

    CWnd* temporary = CWnd::FromHandle(foreign);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(temporary->m_hWnd, foreign);
    EXPECT_EQ(CWnd::FromHandle(foreign), temporary);  // one object per handle
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    EXPECT_EQ(TempObjectCount(), 1u);

    // While the maps are locked (as inside every message handler) idle time
    // keeps them; the last unlock frees them.
    AfxLockTempMaps();
    AfxLockTempMaps();
    AfxUnlockTempMaps();
    EXPECT_EQ(TempObjectCount(), 1u);
    AfxUnlockTempMaps();
    EXPECT_EQ(TempObjectCount(), 0u);
    EXPECT_TRUE(::IsWindow(foreign));  // a temporary never owns its window
    ::DestroyWindow(foreign);
}

// Its handler makes a temporary object and then passes an idle time.
class CTemporaryUser : public CWnd {
public:
    HWND foreign = nullptr;
    bool survivedIdle = false;

protected:
    afx_msg LRESULT OnApp(WPARAM, LPARAM) {
        CWnd* temporary = CWnd::FromHandle(foreign);
        AfxLockTempMaps();
        AfxUnlockTempMaps();  // what a nested message loop's idle time does
        survivedIdle = TempObjectCount() == 1 && temporary->m_hWnd == foreign;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTemporaryUser, CWnd)
    ON_MESSAGE(WM_APP, &CTemporaryUser::OnApp)
END_MESSAGE_MAP()

TEST(CWnd, TemporaryObjectsOutliveIdleTimeInsideAHandler) {
    AfxLockTempMaps();
    AfxUnlockTempMaps();
    CTemporaryUser user;
    ASSERT_TRUE(user.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
    user.foreign = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    user.SendMessage(WM_APP);
    EXPECT_TRUE(user.survivedIdle);
    AfxLockTempMaps();
    AfxUnlockTempMaps();
    EXPECT_EQ(TempObjectCount(), 0u);
    ::DestroyWindow(user.foreign);
}

class CSubclassProbe : public CWnd {
public:
    bool preSubclassed = false;
    int clicks = 0;

protected:
    void PreSubclassWindow() override {
        preSubclassed = true;
        ModifyStyle(0, WS_TABSTOP);
    }
    afx_msg void OnLButtonDown(UINT, CPoint) {
        ++clicks;
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSubclassProbe, CWnd)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TEST(CWnd, SubclassingTakesOverAnExistingWindowAndGivesItBack) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
    HWND button = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20, parent.m_hWnd,
                                  reinterpret_cast<HMENU>(77), nullptr, nullptr);
    const LONG_PTR originalProc = GetWindowLongPtrW(button, GWLP_WNDPROC);

    CSubclassProbe probe;
    ASSERT_TRUE(probe.SubclassDlgItem(77, &parent));
    EXPECT_TRUE(probe.preSubclassed);
    EXPECT_TRUE(probe.GetStyle() & WS_TABSTOP);
    EXPECT_EQ(probe.m_hWnd, button);
    probe.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    probe.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(probe.clicks, 1);

    CWnd second;
    EXPECT_FALSE(second.SubclassWindow(button));  // bound to probe already
    EXPECT_FALSE(probe.SubclassDlgItem(78, &parent));

    EXPECT_EQ(probe.UnsubclassWindow(), button);
    EXPECT_EQ(GetWindowLongPtrW(button, GWLP_WNDPROC), originalProc);
    EXPECT_EQ(CWnd::FromHandlePermanent(button), nullptr);
}

TEST(CWnd, StylesTextGeometryAndRelatives) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"Parent", WS_POPUP, Area(50, 60, 300, 200), nullptr, 0));
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, L"Child", WS_VISIBLE, CRect(10, 20, 110, 70), &parent, 55));

    EXPECT_TRUE(child.GetStyle() & WS_CHILD);
    EXPECT_TRUE(child.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED));
    EXPECT_TRUE(child.GetStyle() & WS_BORDER);
    EXPECT_FALSE(child.ModifyStyle(0, WS_BORDER));  // nothing changed
    EXPECT_TRUE(child.ModifyStyleEx(0, WS_EX_TRANSPARENT));
    EXPECT_TRUE(child.GetExStyle() & WS_EX_TRANSPARENT);

    CString text;
    child.GetWindowText(text);
    EXPECT_EQ(text, L"Child");
    child.SetWindowText(L"Renamed");
    EXPECT_EQ(child.GetWindowTextLength(), 7);
    EXPECT_EQ(parent.GetDlgItemText(55, text), 7);
    EXPECT_EQ(text, L"Renamed");

    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_EQ(parent.GetDlgItem(55), &child);
    EXPECT_EQ(child.GetDlgCtrlID(), 55);
    EXPECT_EQ(child.GetTopLevelParent(), &parent);

    CRect client;
    child.GetClientRect(&client);
    EXPECT_EQ(client.TopLeft(), CPoint(0, 0));
    child.MoveWindow(5, 6, 50, 40);
    CRect window;
    child.GetWindowRect(&window);
    parent.ScreenToClient(&window);
    EXPECT_EQ(window, CRect(5, 6, 55, 46));
    CPoint origin(0, 0);
    child.ClientToScreen(&origin);
    parent.ScreenToClient(&origin);
    EXPECT_GE(origin.x, 5);

    parent.ShowWindow(SW_HIDE);
    EXPECT_FALSE(parent.IsWindowVisible());
    child.EnableWindow(FALSE);
    EXPECT_FALSE(child.IsWindowEnabled());
}

TEST(CWnd, CenterWindowPutsAChildInTheMiddleOfItsParent) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP, Area(0, 0, 400, 300), nullptr, 0));
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, L"", 0, CRect(0, 0, 100, 50), &parent, 1));
    child.CenterWindow();
    CRect rect;
    child.GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(150, 125, 250, 175));
}

// Its WM_CREATE handler raises; the exception must not leave the window procedure.
class CThrowingCreate : public CWnd {
protected:
    afx_msg int OnCreate(LPCREATESTRUCT) { throw std::runtime_error("handler failure"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingCreate, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(CWnd, AnExceptionInAHandlerFailsTheMessageNotTheProgram) {
    CThrowingCreate window;
    EXPECT_FALSE(window.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
    EXPECT_EQ(window.m_hWnd, nullptr);
}

}  // namespace
