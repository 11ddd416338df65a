#include "ProgramTestSupport.h"
#include "ProgramTestResources.h"

#include "downloads/engine/EngineAdapter.h"
#include "downloads/settings/Settings.h"
#include "foundation/system/ShellExecute.h"
#include "shell/frame/MainFrame.h"
#include "shell/program/BrunlowResources.h"
#include "shell/theme/CMsMoneyTheme.h"
#include "testing/WindowPicture.h"
#include "toolkit/CurrentTheme.h"
#include "toolkit/ToolBar.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <thread>

using ProgramTests::CallsOf;
using ProgramTests::Door;
using ProgramTests::MessageBoxRecorder;
using ProgramTests::PumpPending;
using ProgramTests::TestBrunlowApp;

namespace {

// What the shell was asked to open.
std::vector<std::wstring> g_shellOpened;
BOOL RecordShellExecute(SHELLEXECUTEINFOW* pInfo) {
    std::wstring opened = pInfo->lpFile ? pInfo->lpFile : L"";
    if (pInfo->lpParameters && *pInfo->lpParameters)
        opened += std::wstring(L" ") + pInfo->lpParameters;
    g_shellOpened.push_back(opened);
    pInfo->hInstApp = reinterpret_cast<HINSTANCE>(33);
    return TRUE;
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

class TestFrame : public CMainFrame {
public:
    std::unique_ptr<CDialog> _CreateDialog(FrameDialog kind) override {
        made.push_back(kind);
        return std::unique_ptr<CDialog>(new CDialog(IDD_TEST_DIALOG, nullptr));
    }
    std::wstring _GetDialogUrl(CDialog&) override { return url; }

    std::vector<FrameDialog> made;
    std::wstring url;
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
    EXPECT_STREQ(L"Download a video from a web address", bar->FindControl(1029)->GetTooltip());
    EXPECT_EQ((std::vector<UINT>{1038, 1029, 1031, 1002, 1003, 1014, 1060}), VisibleButtons()) << "engine on";
    Testing::SaveWindowPicture(m_window, L"main_frame");
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
        if (c.alive && !c.visible)
            EXPECT_EQ(std::vector<std::wstring>{L"Brunlow Program Tests is still running"}, g_balloons);
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

TEST_F(MainFrameTest, CloseRequestUnderADialogEndsItThenCloses) {
    TestFrame& frame = Create();
    INT_PTR seen = 0;
    g_onDialog = [&](CDialog&) {
        g_onDialog = nullptr;
        ::SendMessageW(m_window, CMainFrame::kCloseRequestMessage, 0, 0);
        seen = IsAlive();
    };
    ::SendMessageW(m_window, WM_COMMAND, ID_SETTINGS, 0);
    EXPECT_EQ(1, seen) << "the frame outlives the dialog's handler";
    (void)frame;
    PumpPending();
    EXPECT_FALSE(IsAlive()) << "closed once the dialog returned";
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
