#include "toolkit/QE1541.h"

#include "ToolkitTestResources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct NotifyCall {
    DWORD message;
    UINT flags;
    UINT id;
    bool hasIcon;
    UINT callback;
    std::wstring tip;
    std::wstring info;
    std::wstring infoTitle;
    DWORD infoFlags;
    UINT timeout;
    UINT version;
};

std::vector<NotifyCall> g_calls;
BOOL g_shellAnswers = TRUE;

BOOL RecordNotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
    g_calls.push_back({message, data->uFlags, data->uID, data->hIcon != nullptr, data->uCallbackMessage, data->szTip,
                       data->szInfo, data->szInfoTitle, data->dwInfoFlags, data->uTimeout, data->uVersion});
    return g_shellAnswers;
}

// A tray icon that records the notifications its window routes to it.
class RecordingTray : public QE1541 {
public:
    LRESULT OnTrayNotification(WPARAM id, LPARAM event) override {
        notifications.push_back({id, event});
        return QE1541::OnTrayNotification(id, event);
    }
    void Tick(UINT_PTR id) { HandleTimer(id); }
    std::vector<std::pair<WPARAM, LPARAM>> notifications;
};

// A window that counts the commands it gets.
class CommandTarget : public CWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    std::vector<UINT> commands;
};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

class TrayIconBase : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_shellAnswers = TRUE;
        m_previous = TraySetNotifyIconHandler(&RecordNotifyIcon);
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, L"Owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
        m_owner.ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        m_owner.DestroyWindow();
        TraySetNotifyIconHandler(m_previous);
    }
    std::vector<NotifyCall> CallsOf(DWORD message) const {
        std::vector<NotifyCall> found;
        for (const NotifyCall& call : g_calls)
            if (call.message == message)
                found.push_back(call);
        return found;
    }

    CommandTarget m_owner;
    TrayNotifyIconHandler m_previous = nullptr;
};

TEST_F(TrayIconBase, CreateAddsTheIconWithItsTooltipAndCallback) {
    {
        RecordingTray tray;
        ASSERT_TRUE(tray.Create(L"Brunlow test", &m_owner, IDI_TRAY_OFF, 130));
        EXPECT_FALSE(tray.Create(L"again", &m_owner, IDI_TRAY_OFF, 130));
        ASSERT_GE(g_calls.size(), 2u);
        const NotifyCall& add = g_calls[0];
        EXPECT_EQ(add.message, DWORD(NIM_ADD));
        EXPECT_EQ(add.flags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_EQ(add.id, 130u);
        EXPECT_TRUE(add.hasIcon);
        EXPECT_EQ(add.callback, QE1541::CallbackMessage);
        EXPECT_EQ(add.tip, L"Brunlow test");
        EXPECT_EQ(g_calls[1].message, DWORD(NIM_SETVERSION));
        EXPECT_EQ(g_calls[1].version, UINT(NOTIFYICON_VERSION));
        EXPECT_TRUE(tray.IsIconAdded());
        EXPECT_EQ(tray.GetTargetWnd(), &m_owner);
        EXPECT_EQ(tray.GetShownIcon(), UINT(IDI_TRAY_OFF));
        g_calls.clear();
    }
    // The icon leaves the notification area with its object.
    ASSERT_EQ(CallsOf(NIM_DELETE).size(), 1u);
    EXPECT_EQ(CallsOf(NIM_DELETE)[0].id, 130u);
}

TEST_F(TrayIconBase, WithoutANotificationAreaTheIconIsAddedWhenTheTaskbarComes) {
    g_shellAnswers = FALSE;
    RecordingTray tray;
    ASSERT_TRUE(tray.Create(L"tip", &m_owner, IDI_TRAY_OFF, 130));
    EXPECT_FALSE(tray.IsIconAdded());
    EXPECT_TRUE(CallsOf(NIM_SETVERSION).empty());
    // Changes wait for the icon instead of failing at the shell.
    g_calls.clear();
    EXPECT_TRUE(tray.SetIcon(IDI_TRAY_FRAME1));
    EXPECT_TRUE(g_calls.empty());

    g_shellAnswers = TRUE;
    tray.SendMessage(RegisterWindowMessageW(L"TaskbarCreated"));
    ASSERT_EQ(CallsOf(NIM_ADD).size(), 1u);
    EXPECT_TRUE(CallsOf(NIM_ADD)[0].hasIcon);
    EXPECT_TRUE(tray.IsIconAdded());
    EXPECT_EQ(tray.GetShownIcon(), UINT(IDI_TRAY_FRAME1));
}

TEST_F(TrayIconBase, AnimationStepsThroughTheFramesAndStopsOnTheStaticIcon) {
    RecordingTray tray;
    ASSERT_TRUE(tray.Create(L"tip", &m_owner, IDI_TRAY_OFF, 130));
    EXPECT_FALSE(tray.Animate(300));  // no frames yet
    const UINT frames[] = {IDI_TRAY_FRAME1, IDI_TRAY_FRAME2, IDI_TRAY_FRAME3};
    ASSERT_TRUE(tray.SetIconList(frames, 3, nullptr));
    g_calls.clear();

    ASSERT_TRUE(tray.Animate(300));
    EXPECT_TRUE(tray.IsAnimating());
    std::vector<UINT> shown{tray.GetShownIcon()};
    for (int i = 0; i < 3; ++i) {
        tray.Tick(QE1541::AnimationTimer);
        shown.push_back(tray.GetShownIcon());
    }
    EXPECT_EQ(shown, (std::vector<UINT>{IDI_TRAY_FRAME1, IDI_TRAY_FRAME2, IDI_TRAY_FRAME3, IDI_TRAY_FRAME1}));
    // Animating again at the same pace neither restarts nor re-shows a frame.
    tray.Tick(QE1541::AnimationTimer);
    const size_t callCount = g_calls.size();
    ASSERT_TRUE(tray.Animate(300));
    EXPECT_EQ(g_calls.size(), callCount);
    EXPECT_EQ(tray.GetShownIcon(), UINT(IDI_TRAY_FRAME2));
    tray.Tick(QE1541::AnimationTimer);
    tray.Tick(QE1541::AnimationTimer);
    tray.Tick(1234);  // not the animation's timer
    EXPECT_EQ(tray.GetShownIcon(), UINT(IDI_TRAY_FRAME1));
    for (const NotifyCall& call : g_calls) {
        EXPECT_EQ(call.message, DWORD(NIM_MODIFY));
        EXPECT_EQ(call.flags, UINT(NIF_ICON));
        EXPECT_TRUE(call.hasIcon);
    }

    // A static icon set while animating shows once the animation stops.
    tray.SetIcon(IDI_TRAY_FRAME3);
    EXPECT_EQ(tray.GetShownIcon(), UINT(IDI_TRAY_FRAME1));
    ASSERT_TRUE(tray.StopAnimation());
    EXPECT_FALSE(tray.IsAnimating());
    EXPECT_EQ(tray.GetShownIcon(), UINT(IDI_TRAY_FRAME3));
    tray.Tick(QE1541::AnimationTimer);
    EXPECT_EQ(tray.GetShownIcon(), UINT(IDI_TRAY_FRAME3));
}

TEST_F(TrayIconBase, BalloonsCarryTextTitleKindAndTimeOut) {
    RecordingTray tray;
    EXPECT_FALSE(tray.ShowBalloon(L"text", L"title", NIIF_INFO, 10));  // no window yet
    ASSERT_TRUE(tray.Create(L"tip", &m_owner, IDI_TRAY_OFF, 130));
    g_calls.clear();
    const std::wstring longText(400, L'x');
    ASSERT_TRUE(tray.ShowBalloon(longText.c_str(), L"Title", NIIF_INFO, 10));
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].message, DWORD(NIM_MODIFY));
    EXPECT_EQ(g_calls[0].flags, UINT(NIF_INFO));
    EXPECT_EQ(g_calls[0].info, longText.substr(0, 255));  // cut to the shell's field, never past it
    EXPECT_EQ(g_calls[0].infoTitle, L"Title");
    EXPECT_EQ(g_calls[0].infoFlags, DWORD(NIIF_INFO));
    EXPECT_EQ(g_calls[0].timeout, 10000u);
}

TEST_F(TrayIconBase, NotificationsReachTheOverrideAndADoubleClickSendsTheDefaultItem) {
    RecordingTray tray;
    ASSERT_TRUE(tray.Create(L"tip", &m_owner, IDI_TRAY_OFF, 130));
    EXPECT_EQ(tray.SendMessage(QE1541::CallbackMessage, 130, WM_RBUTTONUP), 0);
    ASSERT_EQ(tray.notifications.size(), 1u);
    EXPECT_EQ(tray.notifications[0], std::make_pair(WPARAM(130), LPARAM(WM_RBUTTONUP)));

    // Without a default item a double click does nothing.
    EXPECT_EQ(tray.SendMessage(QE1541::CallbackMessage, 130, WM_LBUTTONDBLCLK), 0);
    tray.SetMenuDefaultItem(32774, FALSE);
    EXPECT_EQ(tray.SendMessage(QE1541::CallbackMessage, 131, WM_LBUTTONDBLCLK), 0);  // another icon
    EXPECT_EQ(tray.SendMessage(QE1541::CallbackMessage, 130, WM_LBUTTONDBLCLK), 1);
    Pump();
    EXPECT_EQ(m_owner.commands, std::vector<UINT>{32774});
    EXPECT_EQ(tray.GetMenuDefaultItem(), 32774u);
    EXPECT_FALSE(tray.IsDefaultItemByPosition());
}

TEST_F(TrayIconBase, HidesTheOwnerIntoTheTrayAndBringsItBack) {
    RecordingTray tray;
    ASSERT_TRUE(tray.Create(L"tip", &m_owner, IDI_TRAY_OFF, 130));
    m_owner.ShowWindow(SW_MINIMIZE);
    tray.MinimizeToTray(&m_owner);
    EXPECT_FALSE(m_owner.IsWindowVisible());
    tray.MaximizeFromTray(&m_owner);
    EXPECT_TRUE(m_owner.IsWindowVisible());
    EXPECT_FALSE(m_owner.IsIconic());
    tray.MinimizeToTray(nullptr);  // nothing to hide
    tray.MaximizeFromTray(nullptr);
}

TEST(TrayIconShell, TheRealNotificationAreaMayOrMayNotAnswer) {
    // Wine's notification area under Xvfb is not dependable: creation
    // succeeds either way and the object cleans up after itself.
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"Owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    {
        QE1541 tray;
        EXPECT_TRUE(tray.Create(L"Smoke", &owner, IDI_TRAY_OFF, 130));
        tray.ShowBalloon(L"text", L"title", NIIF_INFO, 1);
    }
    owner.DestroyWindow();
}

}  // namespace
