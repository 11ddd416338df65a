#include "ProgramTestSupport.h"
#include "ProgramTestResources.h"

#include "appframework/tests/RecordingService.h"
#include "appframework/tests/ServiceClientFixtures.h"
#include "downloads/engine/EngineAdapter.h"
#include "downloads/settings/Settings.h"
#include "foundation/system/ShellExecute.h"
#include "graphics/commongui/PictureLoaders.h"
#include "mfc/ModalSeams.h"
#include "shell/frame/MainFrame.h"
#include "shell/program/BrunlowResources.h"
#include "shell/theme/CMsMoneyTheme.h"
#include "skin/commongui/UserInput.h"
#include "testing/DibCanvas.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"
#include "toolkit/CurrentTheme.h"
#include "toolkit/ToolBar.h"

#include "testing/MessagePump.h"

#include <boost/make_shared.hpp>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <boost/algorithm/string/predicate.hpp>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <thread>

using ProgramTests::CallsOf;
using ProgramTests::Door;
using ProgramTests::MessageBoxRecorder;
using ProgramTests::PumpPending;
using ProgramTests::TestBrunlowApp;
using Testing::PumpUntil;

namespace {

// What the shell was asked to open: the file and its parameters, and the
// file alone; the start succeeds unless told otherwise.
std::vector<std::wstring> g_shellOpened;
std::vector<std::wstring> g_shellFiles;
bool g_shellSucceeds = true;
BOOL RecordShellExecute(SHELLEXECUTEINFOW* pInfo) {
    std::wstring opened = pInfo->lpFile ? pInfo->lpFile : L"";
    g_shellFiles.push_back(opened);
    if (pInfo->lpParameters && *pInfo->lpParameters)
        opened += std::wstring(L" ") + pInfo->lpParameters;
    g_shellOpened.push_back(opened);
    pInfo->hInstApp = reinterpret_cast<HINSTANCE>(g_shellSucceeds ? 33 : 2);
    return g_shellSucceeds ? TRUE : FALSE;
}

// The tray's calls: no notification area is needed.
std::vector<std::wstring> g_balloons;
BOOL RecordNotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
    if ((data->uFlags & NIF_INFO) && data->szInfo[0])
        g_balloons.push_back(data->szInfoTitle);
    return TRUE;
}

// What the test's dialogs do once shown; by default they end with IDOK.
std::function<void(CDialog&)> g_onDialog;
void OnModalLoop(CWnd& dialog) {
    CDialog& shown = static_cast<CDialog&>(dialog);
    // A copy: the handler may replace itself.
    const std::function<void(CDialog&)> handler = g_onDialog;
    if (handler)
        handler(shown);
    else
        shown.EndDialog(IDOK);
}

std::string RectText(const RECT& rect) {
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + ")";
}

// A corner of the desktop with the notification area, the tray icon in it
// at its small size: the tray's menu opens above it, so that one picture
// shows the icon and its menu as a user sees them.
class NotificationAreaStandIn {
public:
    static constexpr int kLeft = 40, kTop = 40, kWidth = 320, kHeight = 280, kStrip = 30;

    explicit NotificationAreaStandIn(HICON icon) : m_icon(icon) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"BrunlowTestNotificationArea";
        ::RegisterClassW(&windowClass);  // already there for a second stand-in
        m_window = ::CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP, kLeft, kTop, kWidth,
                                     kHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
        ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::ShowWindow(m_window, SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_window);
    }
    ~NotificationAreaStandIn() { ::DestroyWindow(m_window); }
    NotificationAreaStandIn(const NotificationAreaStandIn&) = delete;
    NotificationAreaStandIn& operator=(const NotificationAreaStandIn&) = delete;

    HWND Window() const { return m_window; }
    // The icon's place on the screen.
    POINT IconCorner() const { return POINT{kLeft + kWidth - 44, kTop + kHeight - kStrip + 7}; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<NotificationAreaStandIn*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message != WM_PAINT || !self)
            return ::DefWindowProcW(window, message, wParam, lParam);
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(window, &paint);
        const RECT desktop = {0, 0, kWidth, kHeight - kStrip}, strip = {0, kHeight - kStrip, kWidth, kHeight};
        const HBRUSH desktopBrush = ::CreateSolidBrush(RGB(0x3A, 0x6E, 0xA5));
        const HBRUSH stripBrush = ::CreateSolidBrush(RGB(0x24, 0x26, 0x2B));
        ::FillRect(dc, &desktop, desktopBrush);
        ::FillRect(dc, &strip, stripBrush);
        ::DeleteObject(desktopBrush);
        ::DeleteObject(stripBrush);
        ::DrawIconEx(dc, kWidth - 44, kHeight - kStrip + 7, self->m_icon, 16, 16, 0, nullptr, DI_NORMAL);
        ::EndPaint(window, &paint);
        return 0;
    }

    HICON m_icon;
    HWND m_window = nullptr;
};

// The tray's menu shown for real above the stand-in's icon; a timer in the
// menu's own loop takes the picture, off the screen (the menu is a window of
// its own), and closes it.
NotificationAreaStandIn* g_pNotificationArea = nullptr;
bool g_trayMenuShown = false;
std::wstring g_trayMenuPicture;

void CALLBACK PictureAndCloseTrayMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    const HWND menu = ::FindWindowW(L"#32768", nullptr);
    g_trayMenuShown = menu && ::IsWindowVisible(menu);
    g_trayMenuPicture = Testing::SaveScreenPicture(g_pNotificationArea->Window(), L"tray_menu");
    ::EndMenu();
}

BOOL ShowTrayMenuAboveTheStandIn(HMENU menu, UINT flags, int, int, HWND owner, LPCRECT) {
    const POINT icon = g_pNotificationArea->IconCorner();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 1000, &PictureAndCloseTrayMenu);
    const BOOL shown = ::TrackPopupMenu(menu, flags | TPM_RIGHTALIGN | TPM_BOTTOMALIGN, icon.x + 16, icon.y - 4, 0,
                                        owner, nullptr);
    ::KillTimer(nullptr, timer);  // when the menu never showed
    return shown;
}

class TestFrame : public CMainFrame {
public:
    std::unique_ptr<CDialog> _CreateDialog(FrameDialog kind) override {
        made.push_back(kind);
        if (realDialogs)
            return CMainFrame::_CreateDialog(kind);
        return std::unique_ptr<CDialog>(new CDialog(IDD_TEST_DIALOG, nullptr));
    }
    std::wstring _GetDialogUrl(CDialog& dialog) override {
        return realDialogs ? CMainFrame::_GetDialogUrl(dialog) : url;
    }

    std::vector<FrameDialog> made;
    std::wstring url;
    // The program's own dialogs instead of the plain stand-in.
    bool realDialogs = false;
};

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramTests::UseProgramResources();
        Door()->SetRefusals(KavennaEngine::TestDoor::RefuseNothing);
        ASSERT_TRUE(m_app.Initialize());
        m_app._CreateSkinManager();
        Engine::EngineAdapter& adapter = Engine::EngineAdapter::Instance();
        m_engine = m_app.GetKavennaEngine();
        ASSERT_TRUE(m_engine->Initialize(adapter.GetElevation(), adapter.GetEnvironment()));
        ASSERT_TRUE(m_engine->SetState(KavennaEngine::EngineOn, nullptr));
        m_previousShell = System::SetShellExecute(&RecordShellExecute);
        m_previousHook = AfxSetModalLoopHook(&OnModalLoop);
        m_previousNotify = TraySetNotifyIconHandler(&RecordNotifyIcon);
        g_balloons.clear();
        g_shellOpened.clear();
        g_shellFiles.clear();
        g_shellSucceeds = true;
        g_onDialog = nullptr;
    }
    void TearDown() override {
        if (m_frame && ::IsWindow(m_window))
            m_frame->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        PumpPending();
        AfxSetModalLoopHook(m_previousHook);
        TraySetNotifyIconHandler(m_previousNotify);
        System::SetShellExecute(m_previousShell);
        Door()->SetRefusals(KavennaEngine::TestDoor::RefuseNothing);
        m_engine->Uninitialize();
    }

    TestFrame& Create() {
        m_frame = new TestFrame;
        EXPECT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr));
        m_window = m_frame->m_hWnd;
        m_app.m_pMainWnd = m_frame;
        m_frame->ShowWindow(SW_SHOWNORMAL);
        m_frame->UpdateWindow();
        PumpPending();
        return *m_frame;
    }
    bool IsAlive() const { return ::IsWindow(m_window) != FALSE; }

    std::vector<UINT> VisibleButtons() const {
        std::vector<UINT> ids;
        Toolkit::ToolBar* bar = m_frame->GetToolBar();
        for (int i = 0; bar && i < bar->GetControlCount(); ++i)
            if (bar->GetControl(i)->IsVisible())
                ids.push_back(bar->GetControl(i)->GetId());
        return ids;
    }

    TestBrunlowApp m_app;
    boost::shared_ptr<KavennaEngine::IEngine> m_engine;
    TestFrame* m_frame = nullptr;
    HWND m_window = nullptr;
    System::ShellExecuteFunction m_previousShell = nullptr;
    AfxModalLoopHook m_previousHook = nullptr;
    TrayNotifyIconHandler m_previousNotify = nullptr;
};

TEST_F(MainFrameTest, SizeStyleTitleAndButtons) {
    TestFrame& frame = Create();
    CRect rect;
    frame.GetWindowRect(&rect);
    EXPECT_EQ(CMainFrame::kWidth, rect.Width());
    EXPECT_EQ(CMainFrame::kHeight, rect.Height());
    const LONG style = ::GetWindowLongW(m_window, GWL_STYLE);
    EXPECT_EQ(WS_CLIPSIBLINGS | WS_CLIPCHILDREN, style & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(0, ::GetWindowLongW(m_window, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    // The system adds the window edge back to a captioned window: the request is what counts.
    CREATESTRUCT cs = {};
    cs.style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;
    cs.dwExStyle = WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE | WS_EX_APPWINDOW;
    ASSERT_TRUE(frame.PreCreateWindow(cs));
    EXPECT_EQ(0, cs.style & FWS_ADDTOTITLE);
    EXPECT_EQ(static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              cs.style & (WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(static_cast<DWORD>(WS_EX_APPWINDOW), cs.dwExStyle);
    wchar_t title[128] = {};
    ::GetWindowTextW(m_window, title, 128);
    EXPECT_STREQ(L"Brunlow Video Downloader 2.5.1", title);

    Toolkit::ToolBar* bar = frame.GetToolBar();
    ASSERT_NE(nullptr, bar);
    const UINT order[] = {1038, 1039, 1029, 1031, 1002, 1003, 1014, 1060};
    const wchar_t* captions[] = {L"On / Off", L"On / Off", L"Add URL", L"Convert",
                                 L"Remove",   L"Settings", L"Open folder", L"Help"};
    ASSERT_EQ(8, bar->GetControlCount());
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(order[i], bar->GetControl(i)->GetId());
        EXPECT_STREQ(captions[i], bar->GetControl(i)->GetCaption());
    }
    EXPECT_STREQ(L"Download a video from its web address", bar->FindControl(1029)->GetTooltip());
    EXPECT_EQ((std::vector<UINT>{1038, 1029, 1031, 1002, 1003, 1014, 1060}), VisibleButtons()) << "engine on";
    Testing::SaveWindowPicture(m_window, L"main_frame");
}

// A real menu takes the mouse and is read off the screen: alone.
class MainFrameAlone : public MainFrameTest {};

TEST_F(MainFrameAlone, TrayMenuOpensAboveTheEngineOnIcon) {
    TestFrame& frame = Create();
    TrayIcon& tray = frame.GetTrayIcon();
    ASSERT_EQ(UINT(IDI_TRAY_ENGINE_ON), tray.GetShownIcon()) << "the engine is on";
    const HICON icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAY_ENGINE_ON), IMAGE_ICON, 16, 16, 0));
    ASSERT_TRUE(icon);
    {
        NotificationAreaStandIn area(icon);
        g_pNotificationArea = &area;
        g_trayMenuShown = false;
        g_trayMenuPicture.clear();
        const AfxTrackPopupMenuHandler previous = AfxSetTrackPopupMenuHandler(&ShowTrayMenuAboveTheStandIn);
        tray.SendMessage(QE1541::CallbackMessage, TrayIcon::kIconId, WM_RBUTTONUP);
        AfxSetTrackPopupMenuHandler(previous);
        g_pNotificationArea = nullptr;
    }
    ::DestroyIcon(icon);
    EXPECT_TRUE(g_trayMenuShown);
    EXPECT_FALSE(g_trayMenuPicture.empty());
}

TEST_F(MainFrameTest, DebugModeWidensTheWindow) {
    m_app.WriteProfileString(L"Settings", L"DebugMode", L"true");
    ASSERT_TRUE(m_app.Initialize());
    ASSERT_TRUE(CBrunlowApp::GetSettings()->GetDebugMode());
    Create();
    CRect rect;
    m_frame->GetWindowRect(&rect);
    EXPECT_EQ(CMainFrame::kDebugWidth, rect.Width());
    EXPECT_EQ(CMainFrame::kHeight, rect.Height());
}

TEST_F(MainFrameTest, DestroySavesTheCommandBarsState) {
    Create();
    m_frame->DestroyWindow();
    EXPECT_EQ(1u, m_app.GetProfileInt(L"CommandBars", L"BarCount", 0));
    EXPECT_EQ(L"Toolbar", std::wstring(m_app.GetProfileString(L"CommandBars\\Bar0", L"Name", L"")));
}

// The widths the watched window is given, in order.
HWND g_sizedWindow = nullptr;
std::vector<int> g_givenWidths;
LRESULT CALLBACK RecordGivenWidths(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && message->hwnd == g_sizedWindow && message->message == WM_WINDOWPOSCHANGING) {
        const WINDOWPOS* position = reinterpret_cast<const WINDOWPOS*>(message->lParam);
        if (!(position->flags & SWP_NOSIZE))
            g_givenWidths.push_back(position->cx);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainFrameTest, RestoreGivesTheWidthOnePixelMoreThenBack) {
    Create();
    CRect before;
    m_frame->GetWindowRect(&before);
    m_frame->ShowWindow(SW_MINIMIZE);
    PumpPending();
    g_sizedWindow = m_window;
    g_givenWidths.clear();
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &RecordGivenWidths, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    ::SendMessageW(m_window, WM_SYSCOMMAND, SC_RESTORE, 0);
    ::UnhookWindowsHookEx(hook);
    ASSERT_GE(g_givenWidths.size(), 2u);
    EXPECT_EQ(before.Width() + 1, g_givenWidths[g_givenWidths.size() - 2]);
    EXPECT_EQ(before.Width(), g_givenWidths.back());
    CRect after;
    m_frame->GetWindowRect(&after);
    EXPECT_EQ(RectText(before), RectText(after)) << "neither moved nor resized";
}

TEST_F(MainFrameTest, HelpButtonHiddenWithoutSupportAddress) {
    m_app.Product().values.values[ApplicationFramework::ProductValue::SupportAddress] = L"";
    m_app.Product().Initialize();
    Create();
    EXPECT_FALSE(m_frame->GetToolBar()->FindControl(1060)->IsVisible());
    m_app.Product().values.values[ApplicationFramework::ProductValue::SupportAddress] = L"http://support.example/";
    m_app.Product().Initialize();
}

TEST_F(MainFrameTest, EngineStateFromAnEngineThreadChangesTheThemeOnTheWindowsThread) {
    TestFrame& frame = Create();
    const std::shared_ptr<QE978> before = Toolkit::GetCurrentTheme();
    std::thread engineThread([&] { m_engine->SetState(KavennaEngine::EngineOff, nullptr); });
    engineThread.join();
    EXPECT_EQ(before, Toolkit::GetCurrentTheme()) << "nothing changed on the engine's thread";
    PumpPending();
    const std::shared_ptr<QE978> off = Toolkit::GetCurrentTheme();
    EXPECT_NE(before, off);
    EXPECT_NE(nullptr, dynamic_cast<CMsMoneyTheme*>(off.get()));
    EXPECT_FALSE(frame.GetToolBar()->FindControl(1038)->IsVisible());
    EXPECT_TRUE(frame.GetToolBar()->FindControl(1039)->IsVisible());

    // The colours were read once: a changed style file keeps them.
    const CMainFrame::ToolbarColors first = CMainFrame::GetToolbarColors(true);
    ASSERT_TRUE(CBrunlowApp::GetSkinManager()->LoadFromString(
        L"<skin><application><toolbar><on><colors gradientL=\"FF0000\" gradientD=\"FF0000\" lineL=\"FF0000\" "
        L"lineD=\"FF0000\" textA=\"FF0000\" textH=\"FF0000\" textD=\"FF0000\"/></on></toolbar></application></skin>"));
    std::thread onThread([&] { m_engine->SetState(KavennaEngine::EngineOn, nullptr); });
    onThread.join();
    PumpPending();
    EXPECT_TRUE(frame.GetToolBar()->FindControl(1038)->IsVisible());
    EXPECT_FALSE(frame.GetToolBar()->FindControl(1039)->IsVisible());
    EXPECT_EQ(first.gradientLight, CMainFrame::GetToolbarColors(true).gradientLight);
    EXPECT_EQ(0x005A5A5Au, first.gradientLight) << "the style file's value";
    EXPECT_EQ(0x00F9FEFFu, first.textNormal);
}

TEST_F(MainFrameTest, LanguageSwitchRelabelsTheButtons) {
    TestFrame& frame = Create();
    frame.GetToolBar()->FindControl(1029)->SetCaption(L"stale");
    frame.OnLanguageChanged(nullptr, nullptr, nullptr);
    EXPECT_STREQ(L"Add URL", frame.GetToolBar()->FindControl(1029)->GetCaption());
}

TEST_F(MainFrameTest, CloseFollowsCloseActionAndTheMinimisedState) {
    struct Case {
        const char* name;
        bool minimized;
        std::uint32_t closeAction;
        bool alive;
        bool visible;
        bool iconic;
    } cases[] = {
        {"minimised, hide into tray", true, 1, false, false, false},
        {"minimise", false, 0, true, true, true},
        {"into the tray", false, 1, true, false, false},
        {"end", false, 2, false, false, false},
        {"nothing", false, 5, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Create();
        CBrunlowApp::GetSettings()->SetCloseAction(c.closeAction);
        if (c.minimized) {
            m_frame->ShowWindow(SW_MINIMIZE);
            PumpPending();
        }
        g_balloons.clear();
        ::SendMessageW(m_window, WM_CLOSE, 0, 0);
        PumpPending();
        EXPECT_EQ(c.alive, IsAlive());
        if (c.alive && !c.visible) {
            EXPECT_EQ(std::vector<std::wstring>{L"Brunlow Program Tests is still running"}, g_balloons);
        }
        if (c.alive) {
            EXPECT_EQ(c.visible, ::IsWindowVisible(m_window) != FALSE);
            EXPECT_EQ(c.iconic, ::IsIconic(m_window) != FALSE);
            m_frame->DestroyWindow();
        }
        m_app.m_pMainWnd = nullptr;
        PumpPending();
    }
}

TEST_F(MainFrameTest, ExitAsksAndCloseRequestDoesNot) {
    MessageBoxRecorder boxes(IDNO);
    Create();
    ::SendMessageW(m_window, WM_COMMAND, ID_EXIT, 0);
    ASSERT_EQ(1u, boxes.calls.size());
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes.calls[0].type);
    EXPECT_EQ(L"Exit Brunlow Program Tests", boxes.calls[0].caption);
    EXPECT_TRUE(IsAlive()) << "No stays";
    boxes.SetAnswer(IDYES);
    ::SendMessageW(m_window, WM_COMMAND, ID_EXIT, 0);
    EXPECT_FALSE(IsAlive()) << "Yes ends";

    Create();
    boxes.calls.clear();
    EXPECT_EQ(0, ::SendMessageW(m_window, CMainFrame::kCloseRequestMessage, 0, 0));
    EXPECT_FALSE(IsAlive());
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(MainFrameTest, AddUrlGoesToTheEngineOrOpensThePage) {
    using KavennaEngine::TestDoor::RefuseAddUrl;
    using KavennaEngine::TestDoor::RefuseNothing;
    struct Case {
        const wchar_t* url;
        unsigned refusals;
        bool enginAsked;
        bool pageOpened;
        bool passive = false;
    } cases[] = {
        {L"clip", RefuseNothing, false, true},
        {L"https://h/v.mp4", RefuseAddUrl, true, true},
        {L"http://host.com/watch?v=1", RefuseAddUrl, true, true},
        {L"http://localhost/watch", RefuseNothing, false, true},
        {L"mms://h/s", RefuseAddUrl, true, true},
        {L"http://127.0.0.1:9/v.flv", RefuseNothing, true, false},
        {L"http://localhost/page", RefuseNothing, false, true, true},
    };
    TestFrame& frame = Create();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.url, c.url + wcslen(c.url)));
        m_engine->SetState(KavennaEngine::EngineOff, nullptr);
        Door()->ClearCallLog();
        Door()->SetRefusals(c.refusals);
        g_shellOpened.clear();
        frame.url = c.url;
        CBrunlowApp::GetSettings()->SetEnablePassive(c.passive);
        ::SendMessageW(m_window, WM_COMMAND, ID_ADD_URL, 0);
        EXPECT_EQ(1u, CallsOf(L"SetState 0").size()) << "the engine is switched on first";
        EXPECT_EQ(c.enginAsked ? 1u : 0u, CallsOf(L"AddUrl " + std::wstring(c.url)).size());
        if (c.passive) {
            // Internet Explorer with the quoted address.
            ASSERT_EQ(1u, g_shellOpened.size());
            EXPECT_NE(std::wstring::npos, g_shellOpened[0].find(L"iexplore.exe \"" + std::wstring(c.url) + L"\""))
                << g_shellOpened[0];
        } else {
            EXPECT_EQ(c.pageOpened ? std::vector<std::wstring>{c.url} : std::vector<std::wstring>{}, g_shellOpened);
        }
    }
    Door()->SetRefusals(RefuseNothing);
}

TEST_F(MainFrameTest, OneDialogAtATimeButOffersStillShow) {
    TestFrame& frame = Create();
    g_onDialog = [&](CDialog& dialog) {
        g_onDialog = nullptr;
        ::SendMessageW(m_window, WM_COMMAND, ID_ADD_URL, 0);
        ::SendMessageW(m_window, WM_COMMAND, ID_SETTINGS, 0);
        EXPECT_TRUE(frame.IsDialogOpen());
        // An offer shows even now; cancelled, so nothing is launched.
        g_onDialog = [](CDialog& offer) { offer.EndDialog(IDCANCEL); };
        ::SendMessageW(m_window, CMainFrame::kExtrasOfferMessage, 0, 0);
        g_onDialog = nullptr;
        dialog.EndDialog(IDCANCEL);
    };
    ::SendMessageW(m_window, WM_COMMAND, ID_SETTINGS, 0);
    using Kind = CMainFrame::FrameDialog;
    EXPECT_EQ((std::vector<Kind>{Kind::Settings, Kind::ExtrasOffer}), frame.made);
    EXPECT_FALSE(frame.IsDialogOpen());
}

// The offers as the program shows them: its icon, its English texts with the
// product's name.
TEST_F(MainFrameTest, OffersShowTheirIconAndTexts) {
    TestFrame& frame = Create();
    frame.realDialogs = true;
    const struct {
        UINT message;
        const wchar_t* picture;
    } offers[] = {{CMainFrame::kUpdateOfferMessage, L"update_offer"}, {CMainFrame::kExtrasOfferMessage, L"extras_offer"}};
    for (const auto& offer : offers) {
        SCOPED_TRACE(offer.message);
        std::wstring heading;
        HICON icon = nullptr;
        g_onDialog = [&](CDialog& dialog) {
            PumpPending();
            wchar_t text[512] = {};
            ::GetDlgItemTextW(dialog.m_hWnd, IDC_OFFER_HEADING, text, 512);
            heading = text;
            icon = reinterpret_cast<HICON>(dialog.SendMessage(WM_GETICON, ICON_BIG, 0));
            Testing::SaveWindowPicture(dialog.m_hWnd, offer.picture);
            dialog.EndDialog(IDCANCEL);
        };
        ::SendMessageW(m_window, offer.message, 0, 0);
        g_onDialog = nullptr;
        EXPECT_TRUE(icon);
        EXPECT_NE(std::wstring::npos, heading.find(L"Brunlow")) << heading;
        EXPECT_EQ(std::wstring::npos, heading.find(L"{")) << heading;
    }
}

// The folders the Updater was copied to for a recorded start, removed.
void RemoveUpdaterCopies() {
    const std::wstring name = L"\\Updater.exe";
    for (const std::wstring& file : g_shellFiles) {
        if (boost::iends_with(file, name))
            Testing::RemoveTree(file.substr(0, file.size() - name.size()));
    }
}

TEST_F(MainFrameTest, ACloseUnderADialogEndsItAsCancelledThenCloses) {
    MessageBoxRecorder boxes(IDYES);
    struct Case {
        const char* name;
        std::function<void(HWND)> close;
    } cases[] = {
        {"close request", [](HWND window) { ::SendMessageW(window, CMainFrame::kCloseRequestMessage, 0, 0); }},
        {"update offer accepted",
         [](HWND window) {
             g_onDialog = [](CDialog& offer) { offer.EndDialog(IDOK); };
             ::SendMessageW(window, CMainFrame::kUpdateOfferMessage, 0, 0);
         }},
        {"exit answered yes", [](HWND window) { ::SendMessageW(window, WM_COMMAND, ID_EXIT, 0); }},
        {"close button, CloseAction 2", [](HWND window) { ::SendMessageW(window, WM_CLOSE, 0, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Create();
        CBrunlowApp::GetSettings()->SetCloseAction(2);
        g_shellFiles.clear();
        bool aliveUnderTheDialog = false;
        bool dialogGoesOn = true;
        int dialogResult = 0;
        g_onDialog = [&](CDialog& settings) {
            g_onDialog = nullptr;
            c.close(m_window);
            aliveUnderTheDialog = IsAlive();
            dialogGoesOn = settings.ContinueModal() != FALSE;
            dialogResult = settings.m_nModalResult;
        };
        ::SendMessageW(m_window, WM_COMMAND, ID_SETTINGS, 0);
        EXPECT_TRUE(aliveUnderTheDialog) << "the frame outlives the dialog's handler";
        EXPECT_FALSE(dialogGoesOn) << "the dialog was ended";
        EXPECT_EQ(IDCANCEL, dialogResult);
        EXPECT_TRUE(IsAlive()) << "still there when the dialog's command returned";
        PumpPending();
        EXPECT_FALSE(IsAlive()) << "closed once the dialog returned";
        m_app.m_pMainWnd = nullptr;
        RemoveUpdaterCopies();
    }
}

TEST_F(MainFrameTest, OffersLaunchTheUpdaterAndOnlyTheUpdateCloses) {
    enum Offer { Update, Extras };
    struct Case {
        const char* name;
        Offer offer;
        int answer;
        bool updaterStarts;
        bool launched;
        bool closes;
    } cases[] = {
        {"update accepted", Update, IDOK, true, true, true},
        {"update declined", Update, IDCANCEL, true, false, false},
        {"update accepted, the Updater does not start", Update, IDOK, false, true, false},
        {"extras accepted", Extras, IDOK, true, true, false},
        {"extras declined", Extras, IDCANCEL, true, false, false},
    };
    const std::wstring language =
        AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager()->GetCurrentLanguageName();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFrame& frame = Create();
        g_shellOpened.clear();
        g_shellFiles.clear();
        g_shellSucceeds = c.updaterStarts;
        g_onDialog = [&](CDialog& dialog) { dialog.EndDialog(c.answer); };
        if (c.offer == Update) {
            // As the update watcher calls: from its thread, answered once the dialog is.
            std::atomic<bool> answered{false};
            std::thread watcher([&] {
                frame.OnUpdateAvailable();
                answered = true;
            });
            EXPECT_TRUE(PumpUntil([&] { return answered.load(); }));
            watcher.join();
        } else {
            frame.OnOfferExtras();
            EXPECT_TRUE(IsAlive() && frame.made.empty()) << "posted, not yet shown";
            PumpPending();
        }
        if (c.launched) {
            ASSERT_EQ(1u, g_shellFiles.size());
            EXPECT_TRUE(boost::iends_with(g_shellFiles[0], L"\\Updater.exe")) << g_shellFiles[0];
            const std::wstring& line = g_shellOpened[0];
            EXPECT_EQ(c.offer == Extras, line.find(L"/runWithProduct") != std::wstring::npos) << line;
            if (!language.empty()) {
                EXPECT_NE(std::wstring::npos, line.find(L"/languageName \"" + language + L"\"")) << line;
            }
        } else {
            EXPECT_TRUE(g_shellFiles.empty());
        }
        PumpPending();
        EXPECT_EQ(!c.closes, IsAlive());
        if (IsAlive()) {
            using Kind = CMainFrame::FrameDialog;
            EXPECT_EQ(std::vector<Kind>{c.offer == Update ? Kind::UpdateOffer : Kind::ExtrasOffer}, frame.made);
            m_frame->DestroyWindow();
        }
        m_app.m_pMainWnd = nullptr;
        PumpPending();
        RemoveUpdaterCopies();
    }
}

TEST_F(MainFrameTest, TheAddUrlDialogsTextReachesTheEngine) {
    TestFrame& frame = Create();
    frame.realDialogs = true;
    CBrunlowApp::GetSettings()->SetEnablePassive(false);
    Door()->ClearCallLog();
    Door()->SetRefusals(KavennaEngine::TestDoor::RefuseAddUrl);
    g_onDialog = [](CDialog& dialog) {
        ::SetDlgItemTextW(dialog.m_hWnd, IDC_ADD_URL_EDIT, L"  http://127.0.0.1:9/second clip.flv ");
        ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    ::SendMessageW(m_window, WM_COMMAND, ID_ADD_URL, 0);
    const std::vector<std::wstring> added = CallsOf(L"AddUrl");
    ASSERT_EQ(1u, added.size());
    EXPECT_EQ(0u, added[0].find(L"AddUrl http://127.0.0.1:9/second%20clip.flv ")) << "trimmed, blanks escaped";
    EXPECT_EQ(std::vector<std::wstring>{L"http://127.0.0.1:9/second%20clip.flv"}, g_shellOpened)
        << "refused by the engine: opened as a page";
    EXPECT_FALSE(frame.IsDialogOpen());
}

TEST_F(MainFrameTest, AMissingDownloadFolderIsCreatedThroughTheServiceThenOpened) {
    // The recording service answers in place of the elevation service, for
    // this test only: the client is enabled while it is registered.
    ServiceClientTests::OleScope ole;
    ServiceClientTests::RecordingService service;
    ASSERT_EQ(S_OK, service.Registration());
    struct EnabledClient {
        EnabledClient() { GenericServiceClient::GetLibrary()->disabled = false; }
        ~EnabledClient() { GenericServiceClient::GetLibrary()->disabled = true; }
    } enabled;
    Testing::TempFolder root;
    const std::wstring folder = root.Path() + L"\\Videos";
    CBrunlowApp::GetSettings()->SetVideosFolder(folder);
    Create();
    const int kPathExists = 12, kCreateFolder = 10;
    struct Case {
        const char* name;
        HRESULT answer;
        std::vector<int> calls;
    } cases[] = {
        {"missing: created", E_FAIL, {kPathExists, kCreateFolder}},
        {"there: only asked", S_OK, {kPathExists}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        service.calls.clear();
        service.answer = c.answer;
        g_shellFiles.clear();
        ::SendMessageW(m_window, WM_COMMAND, ID_OPEN_DOWNLOAD_FOLDER, 0);
        std::vector<int> positions;
        for (const ServiceClientTests::RecordedCall& call : service.calls) {
            positions.push_back(call.position);
            EXPECT_EQ(std::vector<std::wstring>{folder}, call.texts);
        }
        EXPECT_EQ(c.calls, positions);
        EXPECT_EQ(std::vector<std::wstring>{folder}, g_shellFiles) << "then opened";
    }
}

// Paints the caption strip of `frame` over a plain background and compares
// the element's box with the picture of that bitmap drawn over it.
::testing::AssertionResult CaptionShows(CMainFrame& frame, WORD bitmapId) {
    NCSurface& surface = frame.GetCaptionSurface();
    const RECT box = surface.GetRegions().GetItemBox(0);
    const RECT strip = {0, 0, box.right + 10, box.bottom + 6};
    const COLORREF background = RGB(10, 200, 30);
    Testing::DibCanvas screen(strip.right, strip.bottom, background);
    {
        class TargetDC : public CDC {
        public:
            explicit TargetDC(HDC dc) { m_hDC = m_hAttribDC = dc; }
            ~TargetDC() override { Detach(); }
        } target(screen.Dc());
        CanvasT<CommonGuiLib::CMemDC> canvas(&target, &strip);
        frame.Paint(surface, canvas, strip);
    }
    const CommonGuiLib::SharedBitmap picture =
        CommonGuiLib::LoadBitmapFromResourceId(::GetModuleHandleW(nullptr), bitmapId, true);
    if (!picture)
        return ::testing::AssertionFailure() << "no bitmap " << bitmapId;
    const int width = box.right - box.left, height = box.bottom - box.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> source(static_cast<size_t>(width * height));
    const HDC screenDC = ::GetDC(nullptr);
    const int lines = ::GetDIBits(screenDC, picture->GetHandle(), 0, height, source.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screenDC);
    if (lines != height)
        return ::testing::AssertionFailure() << "bitmap " << bitmapId << " is not " << width << " x " << height;
    const std::uint32_t back = (GetRValue(background) << 16) | (GetGValue(background) << 8) | GetBValue(background);
    int differing = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t s = source[y * width + x];
            const std::uint32_t alpha = s >> 24;
            const std::uint32_t shown = screen.Raw(box.left + x, box.top + y);
            for (int shift = 0; shift < 24; shift += 8) {
                // Premultiplied: the picture plus what shows through it.
                const int expected = static_cast<int>(((s >> shift) & 0xFF) + ((back >> shift) & 0xFF) * (255 - alpha) / 255);
                if (std::abs(expected - static_cast<int>((shown >> shift) & 0xFF)) > 2) {
                    ++differing;
                    break;
                }
            }
        }
    }
    if (differing)
        return ::testing::AssertionFailure() << differing << " pixels differ from bitmap " << bitmapId;
    return ::testing::AssertionSuccess();
}

TEST_F(MainFrameTest, CaptionElementSitsRightPaintsItsPicturesAndOffersTheCompanion) {
    using ApplicationFramework::ProductValue;
    m_app.Product().values.values[ProductValue::CaptionOffer] = L"1";
    m_app.Product().values.values[ProductValue::CaptionProductName] = L"Pellmar";
    m_app.Product().values.values[ProductValue::CaptionProductId] = L"Pellmar";
    m_app.Product().Initialize();
    // The mouse as the test puts it, in window coordinates.
    POINT cursor = {5, 200};
    CommonGuiLib::InputFunctions input;
    input.getCursorPos = [&](POINT* point) {
        RECT rect;
        ::GetWindowRect(m_window, &rect);
        *point = POINT{rect.left + cursor.x, rect.top + cursor.y};
        return TRUE;
    };
    input.windowFromPoint = [&](POINT) { return m_window; };
    input.setCapture = [](HWND) { return static_cast<HWND>(nullptr); };
    input.releaseCapture = [] { return TRUE; };
    CommonGuiLib::ScopedInputFunctions scopedInput(input);
    MessageBoxRecorder boxes(IDCANCEL);
    TestFrame& frame = Create();
    NCSurface& surface = frame.GetCaptionSurface();

    CRect window;
    frame.GetWindowRect(&window);
    const int width = window.Width();
    EXPECT_EQ(width, surface.GetRegions().GetLayoutSize().cx);
    const CRect box = surface.GetRegions().GetItemBox(0);
    EXPECT_EQ(RectText(CRect(width - 293, 6, width - 125, 26)), RectText(box));
    EXPECT_EQ(9u, surface.GetRegions().GetAnchors(0));
    // A wider window: the element keeps its distance from the right edge.
    frame.SetWindowPos(nullptr, 0, 0, width + 40, window.Height(), SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(RectText(CRect(width + 40 - 293, 6, width + 40 - 125, 26)),
              RectText(surface.GetRegions().GetItemBox(0)));
    frame.SetWindowPos(nullptr, 0, 0, width, window.Height(), SWP_NOMOVE | SWP_NOZORDER);

    EXPECT_TRUE(CaptionShows(frame, IDB_CAPTION_NORMAL));
    MSG move = {m_window, WM_NCMOUSEMOVE, HTCAPTION, 0};
    cursor = box.CenterPoint();
    frame.PreTranslateMessage(&move);
    EXPECT_EQ(0, surface.GetHotIndex());
    EXPECT_TRUE(CaptionShows(frame, IDB_CAPTION_OVER)) << "under the mouse";
    // Its tip names the product, just below it.
    const CaptionTip& tip = frame.GetCaptionTip();
    ASSERT_TRUE(tip.IsShown());
    wchar_t tipText[128] = {};
    TOOLINFOW tool = {TTTOOLINFOW_V2_SIZE, 0, m_window, 1};
    tool.lpszText = tipText;
    ::SendMessageW(tip.GetWindow(), TTM_GETTEXTW, ARRAYSIZE(tipText), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(L"Convert your videos with Pellmar", tipText);
    CRect tipRect;
    ::GetWindowRect(tip.GetWindow(), &tipRect);
    EXPECT_NEAR(window.left + box.left, tipRect.left, 4);
    EXPECT_LE(window.top + box.bottom, tipRect.top);

    // A click on the element offers the companion product, which is not installed here.
    MSG click = {m_window, WM_NCLBUTTONDOWN, HTCAPTION, 0};
    frame.PreTranslateMessage(&click);
    ASSERT_EQ(1u, boxes.calls.size());
    EXPECT_EQ(L"Pellmar is not installed. Click OK to get it now.", boxes.calls[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), boxes.calls[0].type & MB_TYPEMASK);
    EXPECT_TRUE(g_shellFiles.empty()) << "Cancel: nothing is started";
    EXPECT_FALSE(tip.IsShown()) << "the question hides the tip";
    frame.PreTranslateMessage(&move);
    EXPECT_TRUE(tip.IsShown()) << "back with the next move";
    // Elsewhere in the caption a click is no element's, and the tip goes.
    cursor = POINT{box.left - 20, 12};
    frame.PreTranslateMessage(&move);
    EXPECT_FALSE(tip.IsShown());
    frame.PreTranslateMessage(&click);
    EXPECT_EQ(1u, boxes.calls.size());
}

// The rightmost window column, left of `before`, where the caption strip
// shows something other than its own background: the end of the title as
// the system drew it.
int TitleEndInPicture(HWND window, int before) {
    int width = 0, height = 0;
    const std::vector<Testing::Bgra> pixels = Testing::CaptureWindow(window, width, height);
    if (pixels.empty())
        return -1;
    RECT frame = {}, client = {};
    ::GetWindowRect(window, &frame);
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int top = client.top - frame.top - ::GetSystemMetrics(SM_CYCAPTION);
    const int bottom = client.top - frame.top;
    const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y * width + x)]; };
    const auto differ = [](Testing::Bgra a, Testing::Bgra b) {
        return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue) > 90;
    };
    for (int x = std::min(before, width) - 1; x > 0; --x) {
        // A caption's background may change along it, not across it.
        const Testing::Bgra background = at(x, top + 1);
        for (int y = top + 2; y < bottom - 1; ++y)
            if (differ(at(x, y), background))
                return x;
    }
    return -1;
}

void OfferTheCompanionInTheCaption(TestBrunlowApp& app) {
    using ApplicationFramework::ProductValue;
    app.Product().values.values[ProductValue::CaptionOffer] = L"1";
    app.Product().values.values[ProductValue::CaptionProductName] = L"Pellmar";
    app.Product().values.values[ProductValue::CaptionProductId] = L"Pellmar";
    app.Product().Initialize();
}

TEST_F(MainFrameTest, TheCaptionElementNeverCoversTheTitle) {
    OfferTheCompanionInTheCaption(m_app);
    TestFrame& frame = Create();
    NCSurface& surface = frame.GetCaptionSurface();
    CRect window;
    frame.GetWindowRect(&window);
    const CRect wide = surface.GetRegions().GetItemBox(0);
    ASSERT_FALSE(wide.IsRectEmpty()) << "room for both at the first size";
    const int titleEnd = TitleEndInPicture(m_window, wide.left);
    ASSERT_GT(titleEnd, 40) << "no title found in the caption";
    for (const int width : {865, 700, 600, 550, 500, 450, 400, 350, 300, 865}) {
        SCOPED_TRACE(width);
        frame.SetWindowPos(nullptr, 0, 0, width, window.Height(), SWP_NOMOVE | SWP_NOZORDER);
        PumpPending();
        const CRect box = surface.GetRegions().GetItemBox(0);
        const POINT where = {width - 293 + 84, 16};
        if (box.IsRectEmpty()) {
            EXPECT_LT(width - 293, titleEnd + 8) << "hidden though there was room";
            EXPECT_EQ(-1, surface.GetRegions().HitTest(where)) << "a hidden element takes no mouse";
        } else {
            EXPECT_EQ(RectText(CRect(width - 293, 6, width - 125, 26)), RectText(box));
            EXPECT_GT(box.left, titleEnd) << "the element covers the title, which ends at " << titleEnd;
            EXPECT_EQ(0, surface.GetRegions().HitTest(where));
        }
        if (width == 550)
            Testing::SaveWindowPicture(m_window, L"main_frame_caption_beside_title");
        if (width == 500)
            Testing::SaveWindowPicture(m_window, L"main_frame_narrow_caption");
    }
    EXPECT_FALSE(CRect(surface.GetRegions().GetItemBox(0)).IsRectEmpty()) << "back when the window is wide again";
    EXPECT_TRUE(CaptionShows(frame, IDB_CAPTION_NORMAL));
}

// The hidden buttons' menu as the expand button showed it; answers with
// the item of g_expandChoice.
std::vector<std::pair<UINT, std::wstring>> g_expandMenu;
UINT g_expandChoice = 0;
BOOL RecordExpandMenu(HMENU menu, UINT, int, int, HWND, LPCRECT) {
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        g_expandMenu.emplace_back(::GetMenuItemID(menu, i), text);
    }
    return static_cast<BOOL>(g_expandChoice);
}

TEST_F(MainFrameTest, ANarrowWindowOffersTheButtonsThatDoNotFitThroughTheExpandButton) {
    TestFrame& frame = Create();
    CRect window;
    frame.GetWindowRect(&window);
    frame.SetWindowPos(nullptr, 0, 0, 500, window.Height(), SWP_NOMOVE | SWP_NOZORDER);
    PumpPending();
    Toolkit::ToolBar* bar = frame.GetToolBar();
    ASSERT_NE(nullptr, bar);
    std::vector<UINT> hidden;
    int rowEnd = 0;
    for (int i = 0; i < bar->GetControlCount(); ++i) {
        const Toolkit::Control* control = bar->GetControl(i);
        if (!control->IsVisible())
            continue;
        if (control->GetRect().IsRectEmpty())
            hidden.push_back(control->GetId());
        else
            rowEnd = std::max(rowEnd, static_cast<int>(control->GetRect().right));
    }
    EXPECT_EQ((std::vector<UINT>{ID_SETTINGS, ID_OPEN_DOWNLOAD_FOLDER, ID_HELP_SUPPORT}), hidden);
    const CRect expand = bar->GetExpandButton().rect;
    ASSERT_FALSE(expand.IsRectEmpty()) << "hidden buttons with no way to reach them";
    EXPECT_LE(rowEnd, expand.left);
    EXPECT_TRUE(bar->GetExpandButton().controlsHidden) << "the button shows that it holds buttons";
    Testing::SaveWindowPicture(m_window, L"main_frame_narrow_toolbar");

    g_expandMenu.clear();
    g_expandChoice = ID_SETTINGS;
    const AfxTrackPopupMenuHandler previous = AfxSetTrackPopupMenuHandler(&RecordExpandMenu);
    const CPoint centre = expand.CenterPoint();
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    AfxSetTrackPopupMenuHandler(previous);
    const std::vector<std::pair<UINT, std::wstring>> expected = {
        {ID_SETTINGS, L"Settings"}, {ID_OPEN_DOWNLOAD_FOLDER, L"Open folder"}, {ID_HELP_SUPPORT, L"Help"}};
    EXPECT_EQ(expected, g_expandMenu);
    EXPECT_EQ(std::vector<CMainFrame::FrameDialog>{CMainFrame::FrameDialog::Settings}, frame.made)
        << "the chosen button's command reached the frame";

    // Wide again: every button in the row, no expand button.
    frame.SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER);
    PumpPending();
    EXPECT_TRUE(bar->GetExpandButton().rect.IsRectEmpty());
    EXPECT_FALSE(bar->FindControl(ID_HELP_SUPPORT)->GetRect().IsRectEmpty());
}

// Real dialogs on the real display, their placement read off the screen: alone.
TEST_F(MainFrameAlone, TheFramesDialogsOpenCentredOverIt) {
    TestFrame& frame = Create();
    frame.realDialogs = true;
    frame.SetWindowPos(nullptr, 70, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpPending();
    CRect over;
    frame.GetWindowRect(&over);
    RECT work = {};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const struct {
        const char* name;
        UINT message;
        WPARAM command;
    } dialogs[] = {
        {"Add URL", WM_COMMAND, ID_ADD_URL},
        {"Settings", WM_COMMAND, ID_SETTINGS},
        {"update offer", CMainFrame::kUpdateOfferMessage, 0},
        {"extras offer", CMainFrame::kExtrasOfferMessage, 0},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.name);
        CRect shown;
        HWND owner = nullptr;
        std::wstring picture;
        g_onDialog = [&](CDialog& dialog) {
            PumpPending();
            dialog.GetWindowRect(&shown);
            owner = ::GetWindow(dialog.m_hWnd, GW_OWNER);
            if (picture.empty() && d.command == ID_ADD_URL)
                picture = Testing::SaveScreenPicture(m_window, L"add_url_over_main_frame");
            dialog.EndDialog(IDCANCEL);
        };
        ::SendMessageW(m_window, d.message, d.command, 0);
        g_onDialog = nullptr;
        ASSERT_FALSE(shown.IsRectEmpty()) << "no dialog shown";
        EXPECT_EQ(m_window, owner);
        EXPECT_NEAR(over.CenterPoint().x, shown.CenterPoint().x, 1) << RectText(shown) << " over " << RectText(over);
        EXPECT_NEAR(over.CenterPoint().y, shown.CenterPoint().y, 1) << RectText(shown) << " over " << RectText(over);
        EXPECT_TRUE(shown.left >= work.left && shown.top >= work.top && shown.right <= work.right &&
                    shown.bottom <= work.bottom)
            << RectText(shown);
        if (d.command == ID_ADD_URL)
            EXPECT_FALSE(picture.empty());
    }
}

TEST_F(MainFrameTest, ShowHideFollowsTheWindowsState) {
    struct Case {
        const char* name;
        int before;  // 0 shown, 1 minimised, 2 in the tray
        bool visible;
        bool iconic;
    } cases[] = {
        {"minimised: shown normally", 1, true, false},
        {"shown: into the tray", 0, false, false},
        {"in the tray: back", 2, true, false},
    };
    TestFrame& frame = Create();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frame.ShowWindow(SW_SHOWNORMAL);
        if (c.before == 1)
            frame.ShowWindow(SW_MINIMIZE);
        else if (c.before == 2)
            frame.GetTrayIcon().MinimizeToTray();
        PumpPending();
        ::SendMessageW(m_window, WM_COMMAND, ID_SHOW_HIDE, 0);
        PumpPending();
        EXPECT_EQ(c.visible, ::IsWindowVisible(m_window) != FALSE);
        EXPECT_EQ(c.iconic, ::IsIconic(m_window) != FALSE);
    }
}

TEST_F(MainFrameTest, SettingsRestoreTheWindowAndPassAChangedStealingChoice) {
    struct Case {
        const char* name;
        bool change;
    } cases[] = {
        {"unchanged: the engine is not told", false},
        {"switched", true},
        {"switched back", true},
    };
    TestFrame& frame = Create();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frame.GetTrayIcon().MinimizeToTray();
        Door()->ClearCallLog();
        bool visibleUnderTheDialog = false;
        g_onDialog = [&](CDialog& dialog) {
            visibleUnderTheDialog = ::IsWindowVisible(m_window) != FALSE;
            Settings* pSettings = CBrunlowApp::GetSettings();
            if (c.change)
                pSettings->SetAllowStealingVideos(!pSettings->GetAllowStealingVideos());
            dialog.EndDialog(IDCANCEL);
        };
        ::SendMessageW(m_window, WM_COMMAND, ID_SETTINGS, 0);
        EXPECT_TRUE(visibleUnderTheDialog) << "back from the tray first";
        std::vector<std::wstring> told;
        for (const std::wstring& call : CallsOf(L"SetAllowStealing"))
            told.push_back(call.substr(0, call.find(L" item=")));
        const std::wstring now = CBrunlowApp::GetSettings()->GetAllowStealingVideos() ? L"1" : L"0";
        EXPECT_EQ(c.change ? std::vector<std::wstring>{L"SetAllowStealing " + now} : std::vector<std::wstring>{}, told);
    }
}

TEST_F(MainFrameTest, HelpSupportOpensTheSupportAddress) {
    Create();
    ::SendMessageW(m_window, WM_COMMAND, ID_HELP_SUPPORT, 0);
    EXPECT_EQ(std::vector<std::wstring>{L"http://support.example/"}, g_shellOpened);
}

TEST_F(MainFrameTest, SecondInstanceIsAnsweredAndRestoredFromTheTray) {
    TestFrame& frame = Create();
    frame.GetTrayIcon().MinimizeToTray();
    EXPECT_FALSE(::IsWindowVisible(m_window));
    EXPECT_EQ(16, ::SendMessageW(m_window, CMainFrame::kActivateInstanceMessage, 0, 0));
    EXPECT_TRUE(::IsWindowVisible(m_window));
    EXPECT_EQ(16, ::SendMessageW(m_window, CMainFrame::kActivateInstanceMessage, 0, 0)) << "also when in front";
}

}  // namespace

namespace {

std::wstring GetWindowTextOf(CWnd* pWindow) {
    wchar_t text[256] = {};
    if (pWindow)
        ::GetWindowTextW(pWindow->m_hWnd, text, 256);
    return text;
}

// A balloon action of the list's that counts its runs and tags.
struct ListBalloonAction : Brunlow::IBalloonAction {
    void PerformAction(DWORD tag) override { tags.push_back(tag); }
    std::vector<DWORD> tags;
};

}  // namespace

TEST_F(MainFrameTest, TheListReachesTheFrameThroughItsHostLayer) {
    TestFrame& frame = Create();
    Brunlow::IViewHost* pHost = Brunlow::ViewHost::Get();
    ASSERT_NE(nullptr, pHost);
    EXPECT_EQ(frame.GetLayoutManager(), pHost->GetLayoutManager());

    // The balloon goes through the tray; its click runs the list's action once.
    auto pAction = boost::make_shared<ListBalloonAction>();
    pHost->ShowTrayBalloon(L"text", L"stolen video", 1, 15, pAction, 9);
    EXPECT_EQ(std::vector<std::wstring>{L"stolen video"}, g_balloons);
    frame.GetTrayIcon().SendMessage(QE1541::CallbackMessage, TrayIcon::kIconId, NIN_BALLOONUSERCLICK);
    frame.GetTrayIcon().SendMessage(QE1541::CallbackMessage, TrayIcon::kIconId, NIN_BALLOONUSERCLICK);
    EXPECT_EQ(std::vector<DWORD>{9}, pAction->tags);

    // The Extras offer is one of the frame's dialogs, with the list's captions.
    std::wstring okText, cancelText;
    bool openMeanwhile = false;
    g_onDialog = [&](CDialog& dialog) {
        openMeanwhile = frame.IsDialogOpen();
        okText = GetWindowTextOf(dialog.GetDlgItem(IDOK));
        cancelText = GetWindowTextOf(dialog.GetDlgItem(IDCANCEL));
        dialog.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, pHost->ShowExtrasRequest(&frame, L"Later", L"Install now"));
    EXPECT_TRUE(openMeanwhile);
    EXPECT_EQ(L"Install now", okText);
    EXPECT_EQ(L"Later", cancelText);
    EXPECT_FALSE(frame.IsDialogOpen());

    // A close asked for under one of the list's dialogs waits for it.
    g_onDialog = [&](CDialog&) { ::SendMessageW(m_window, CMainFrame::kCloseRequestMessage, 0, 0); };
    CDialog listDialog(IDD_TEST_DIALOG, nullptr);
    EXPECT_EQ(IDCANCEL, pHost->RunDialog(listDialog));
    EXPECT_TRUE(IsAlive());
    PumpPending();
    EXPECT_FALSE(IsAlive());
    EXPECT_EQ(nullptr, Brunlow::ViewHost::Get()) << "the gone frame leaves the layer";
}
