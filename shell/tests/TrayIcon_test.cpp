#include "shell/tray/TrayIcon.h"

#include "appframework/tests/TestApplication.h"
#include "downloads/settings/Settings.h"
#include "downloads/tests/EngineStandIn.h"
#include "foundation/tests/MachineKeyOverride.h"
#include "foundation/tests/RecordingSink.h"
#include "foundation/tests/ShellLaunchRecorder.h"
#include "mfc/ModalSeams.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "resources/tests/ResourceFolderFixture.h"
#include "shell/app/BrunlowApp.h"
#include "shell/program/BrunlowResources.h"
#include "testing/ChildProcess.h"
#include "testing/CopiedProgram.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <thread>
#include <vector>

namespace {

using KavennaEngine::DownloadItemHandle;
using KavennaEngine::TestDoor::ItemSpec;
namespace TestDoor = KavennaEngine::TestDoor;

// The process's resource manager over a language written here, set up once.
void UseTrayLanguage() {
    static Testing::TempFolder* const pFolder = [] {
        Testing::TempFolder* pResources = new Testing::TempFolder;  // lives as long as the process
        ResourceTesting::WriteMetadata(*pResources, L"", {{L"en-us", L"English", 1033, true}});
        ResourceTesting::WriteStrings(*pResources, L"en-us",
                                      {{L"MinToTrayTitle", L"{ProductName} hides"},
                                       {L"MinToTrayText", L"{ProductName} goes on in the tray"},
                                       {L"InvalidStreamTrayTitle", L"{ProductName} needs help"},
                                       {L"InvalidStreamTrayText", L"Open the video in a browser for {ProductName}"},
                                       {L"TrayShowHide", L"Window"},
                                       {L"TrayOnOff", L"Switch"},
                                       {L"TrayAddURL", L"Address"},
                                       {L"TraySettings", L"Options"},
                                       {L"TrayBrowse", L"Folder"},
                                       {L"TrayHelpSupport", L"Help"},
                                       {L"TrayExit", L"Quit"}});
        AppResources::ResourceManagerHolder::InitializeApplication(pResources->Path(), {});
        return pResources;
    }();
    (void)pFolder;
}

struct NotifyCall {
    DWORD message;
    UINT id;
    UINT flags;
    UINT shownIcon;  // the toolkit's icon resource at the call
    std::wstring tip;
    std::wstring info;
    std::wstring infoTitle;
    DWORD infoFlags;
    UINT timeout;
    DWORD thread;
    DWORD tick;
};

std::vector<NotifyCall> g_calls;
const QE1541* g_pTray = nullptr;

BOOL RecordNotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
    g_calls.push_back({message, data->uID, data->uFlags, g_pTray ? g_pTray->GetShownIcon() : 0, data->szTip,
                       data->szInfo, data->szInfoTitle, data->dwInfoFlags, data->uTimeout, ::GetCurrentThreadId(),
                       ::GetTickCount()});
    return TRUE;
}

struct PopupCall {
    std::vector<std::wstring> texts;  // by position; "-" for a separator
    HWND owner;
    UINT flags;
};
std::vector<PopupCall> g_popups;
UINT g_chosenCommand = 0;

BOOL RecordPopup(HMENU menu, UINT flags, int, int, HWND owner, LPCRECT) {
    PopupCall call{{}, owner, flags};
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
        const bool separator = (::GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) != 0;
        call.texts.push_back(separator ? L"-" : text);
    }
    g_popups.push_back(call);
    // What the real menu does with a chosen command.
    if (g_chosenCommand)
        ::PostMessageW(owner, WM_COMMAND, g_chosenCommand, 0);
    return TRUE;
}

class CommandTarget : public CWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    std::vector<UINT> commands;
};

// The application object with the test's settings and the stand-in's engine.
class TrayApp : public CBrunlowApp {
public:
    TrayApp(ApplicationFramework::ProductInfo& product, Settings* pSettings,
            boost::shared_ptr<KavennaEngine::IEngine> pEngine)
        : CBrunlowApp(product) {
        m_pSettings = pSettings;
        m_pKavennaEngine = std::move(pEngine);
    }
    ~TrayApp() override { m_pSettings = nullptr; }
};

void Pump(DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
}

// Pumps until the condition holds or the time is up.
template <class Condition>
bool PumpUntil(Condition condition, DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    while (!condition()) {
        if (static_cast<LONG>(end - ::GetTickCount()) <= 0)
            return false;
        Pump(10);
    }
    return true;
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_popups.clear();
        g_chosenCommand = 0;
        m_previousNotify = TraySetNotifyIconHandler(&RecordNotifyIcon);
        m_previousPopup = AfxSetTrackPopupMenuHandler(&RecordPopup);
        ASSERT_TRUE(m_engine.pEngine);
        ASSERT_TRUE(m_engine.pEngine->Initialize(&m_environment, &m_environment));
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, L"Owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
        m_owner.ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        g_pTray = nullptr;
        m_owner.DestroyWindow();
        AfxSetTrackPopupMenuHandler(m_previousPopup);
        TraySetNotifyIconHandler(m_previousNotify);
        m_engine.pEngine->Uninitialize();
    }

    // Made after the application, as the frame makes it.
    std::unique_ptr<TrayIcon> NewTray() {
        auto pTray = std::make_unique<TrayIcon>();
        g_pTray = pTray.get();
        return pTray;
    }

    std::vector<NotifyCall> CallsOf(DWORD message, UINT flags) const {
        std::vector<NotifyCall> found;
        for (const NotifyCall& call : g_calls)
            if (call.message == message && (call.flags & flags) == flags)
                found.push_back(call);
        return found;
    }

    void ExpectAllOnThisThread() const {
        for (const NotifyCall& call : g_calls)
            EXPECT_EQ(::GetCurrentThreadId(), call.thread) << "Shell_NotifyIconW " << call.message << " elsewhere";
    }

    DownloadItemHandle AddItem(bool running) {
        ItemSpec spec;
        spec.url = L"http://example.com/" + Testing::NewGuidText();
        spec.downloadRunning = running;
        return m_engine.door->AddItem(spec);
    }

    // The engine switched on or off on a thread of its own, as the engine's
    // threads tell their observers.
    void SetStateElsewhere(int state) {
        std::thread other([&] { m_engine.pEngine->SetState(state, nullptr); });
        other.join();
    }

    // First: the settings read the language as they load.
    struct LanguageFirst {
        LanguageFirst() { UseTrayLanguage(); }
    } m_language;
    AppFrameworkTests::TestProduct m_product{L"Tray Product"};
    DownloadsTests::EngineStandIn m_engine;
    DownloadsTests::FolderEnvironment m_environment;
    Settings m_settings;
    TrayApp m_app{m_product.info, &m_settings, m_engine.pEngine};
    CommandTarget m_owner;
    TrayNotifyIconHandler m_previousNotify = nullptr;
    AfxTrackPopupMenuHandler m_previousPopup = nullptr;
};

TEST_F(TrayIconTest, CreateAddsTheOffIconWithTheProductName) {
    auto pTray = NewTray();
    EXPECT_TRUE(pTray->IsEngineSubscribed());
    ASSERT_TRUE(pTray->Create(&m_owner));
    const std::vector<NotifyCall> adds = CallsOf(NIM_ADD, 0);
    ASSERT_EQ(1u, adds.size());
    EXPECT_EQ(TrayIcon::kIconId, adds[0].id);
    EXPECT_EQ(static_cast<UINT>(IDI_TRAY_ENGINE_OFF), adds[0].shownIcon);
    EXPECT_EQ(L"Tray Product", adds[0].tip);
    EXPECT_EQ(TrayIcon::kEngineOffIcon, pTray->GetShownIcon()) << "engine off and idle";
    EXPECT_FALSE(pTray->IsAnimating());
    EXPECT_EQ(&m_owner, pTray->GetTargetWnd());
}

TEST_F(TrayIconTest, RefreshTimerFollowsTheEngineWithoutEvents) {
    auto pTray = NewTray();
    ASSERT_TRUE(pTray->Create(&m_owner));
    // An item starts running without telling anyone: the 2000 ms refresh
    // finds the engine busy.
    const DownloadItemHandle item = AddItem(false);
    ItemSpec running;
    running.downloadRunning = true;
    ASSERT_TRUE(m_engine.door->ChangeItem(item, running));
    EXPECT_TRUE(PumpUntil([&] { return pTray->IsAnimating(); }, 3500));
    ItemSpec stopped;
    ASSERT_TRUE(m_engine.door->ChangeItem(item, stopped));
    EXPECT_TRUE(PumpUntil([&] { return !pTray->IsAnimating(); }, 3500));
    EXPECT_EQ(TrayIcon::kEngineOffIcon, pTray->GetShownIcon());
}

// A tray icon whose toolkit part refuses to make the icon after its window exists.
class RefusingTray : public TrayIcon {
public:
    BOOL Create(LPCWSTR tooltip, CWnd* pOwner, UINT iconResource, UINT id) override {
        QE1541::Create(tooltip, pOwner, iconResource, id);
        return FALSE;
    }
};

TEST_F(TrayIconTest, RefusedCreateStartsNoTimer) {
    RefusingTray tray;
    g_pTray = &tray;
    EXPECT_FALSE(static_cast<TrayIcon&>(tray).Create(&m_owner));
    ASSERT_TRUE(tray.m_hWnd) << "the toolkit made its window";
    EXPECT_FALSE(::KillTimer(tray.m_hWnd, TrayIcon::kRefreshTimer)) << "no refresh timer";
    g_calls.clear();
    tray.OnEngineStateChanged(0);
    Pump(200);
    EXPECT_TRUE(CallsOf(NIM_MODIFY, NIF_ICON).empty()) << "events change nothing without an icon";
}

TEST_F(TrayIconTest, StateEventsOnEngineThreadsChangeTheIconOnTheGuiThread) {
    auto pTray = NewTray();
    ASSERT_TRUE(pTray->Create(&m_owner));
    SetStateElsewhere(KavennaEngine::EngineOn);
    EXPECT_TRUE(PumpUntil([&] { return pTray->GetShownIcon() == TrayIcon::kEngineOnIcon; }, 1000))
        << "on at once, well before the refresh";
    SetStateElsewhere(KavennaEngine::EngineOff);
    EXPECT_TRUE(PumpUntil([&] { return pTray->GetShownIcon() == TrayIcon::kEngineOffIcon; }, 1000));

    // A running item makes the engine busy: the frames, one every 300 ms.
    const DownloadItemHandle item = AddItem(true);
    m_engine.door->FireEvent(TestDoor::EventItemStarted, item, {}, 0, true);
    ASSERT_TRUE(PumpUntil([&] { return pTray->IsAnimating(); }, 1000));
    g_calls.clear();
    Pump(2100);
    std::vector<NotifyCall> frames = CallsOf(NIM_MODIFY, NIF_ICON);
    ASSERT_GE(frames.size(), 4u);
    for (std::size_t i = 1; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(frames[i].shownIcon, TrayIcon::kFirstBusyIcon);
        EXPECT_LE(frames[i].shownIcon, TrayIcon::kFirstBusyIcon + TrayIcon::kBusyIconCount - 1);
        const UINT expected = frames[i - 1].shownIcon == 142 ? 137 : frames[i - 1].shownIcon + 1;
        EXPECT_EQ(expected, frames[i].shownIcon) << "frames in order";
    }
    const DWORD average = (frames.back().tick - frames.front().tick) / static_cast<DWORD>(frames.size() - 1);
    EXPECT_GE(average, 250u);
    EXPECT_LE(average, 600u);

    // The item ends: the static icon again.
    ItemSpec stopped;
    m_engine.door->ChangeItem(item, stopped);
    m_engine.door->FireEvent(TestDoor::EventItemFinished, item, {}, 0, true);
    EXPECT_TRUE(PumpUntil([&] { return !pTray->IsAnimating(); }, 1000));
    EXPECT_EQ(TrayIcon::kEngineOffIcon, pTray->GetShownIcon());
    ExpectAllOnThisThread();
}

TEST_F(TrayIconTest, DuplicateOfAStoppedItemAnimatesForThreeSecondsAndRestarts) {
    auto pTray = NewTray();
    ASSERT_TRUE(pTray->Create(&m_owner));
    const DownloadItemHandle existing = AddItem(false);
    const DownloadItemHandle duplicate = AddItem(false);

    const DWORD start = ::GetTickCount();
    m_engine.door->FireEvent(TestDoor::EventDuplicateFound, existing, duplicate, 0, true);
    ASSERT_TRUE(PumpUntil([&] { return pTray->IsBusy(); }, 1000));
    EXPECT_TRUE(pTray->IsAnimating());
    ASSERT_TRUE(PumpUntil([&] { return !pTray->IsBusy(); }, 6000));
    const DWORD single = ::GetTickCount() - start;
    EXPECT_GE(single, 2900u);
    EXPECT_LE(single, 4500u);
    EXPECT_FALSE(pTray->IsAnimating());

    // A second duplicate 1.5 s into the period starts it again.
    const DWORD restart = ::GetTickCount();
    m_engine.door->FireEvent(TestDoor::EventDuplicateFound, existing, duplicate, 0, true);
    Pump(1500);
    m_engine.door->FireEvent(TestDoor::EventDuplicateFound, existing, duplicate, 0, true);
    ASSERT_TRUE(PumpUntil([&] { return !pTray->IsBusy(); }, 8000));
    const DWORD twice = ::GetTickCount() - restart;
    EXPECT_GE(twice, 4400u) << "3000 ms counted from the second duplicate";
    EXPECT_LE(twice, 6500u);
    ExpectAllOnThisThread();
}

TEST_F(TrayIconTest, DuplicateOfARunningOrGoneItem) {
    auto pTray = NewTray();
    ASSERT_TRUE(pTray->Create(&m_owner));
    const DownloadItemHandle running = AddItem(true);
    const DownloadItemHandle duplicate = AddItem(false);
    g_calls.clear();
    m_engine.door->FireEvent(TestDoor::EventDuplicateFound, running, duplicate, 0, true);
    Pump(400);
    EXPECT_FALSE(pTray->IsBusy());
    EXPECT_TRUE(CallsOf(NIM_MODIFY, NIF_ICON).empty()) << "unchanged";

    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    const DownloadItemHandle gone = AddItem(false);
    m_engine.door->LetItemGo(gone);
    m_engine.door->FireEvent(TestDoor::EventDuplicateFound, gone, duplicate, 0, true);
    Pump(400);
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((_$_pengItemOriginal))"));
    EXPECT_EQ(Reporting::Error, sink.reports[0].severity);
    EXPECT_FALSE(pTray->IsBusy());
    EXPECT_TRUE(CallsOf(NIM_MODIFY, NIF_ICON).empty());
}

// Waits, bounded, to be ended: a stand-in for a running Internet Explorer.
TESTING_CHILD_SCENARIO(TrayBrowserStandIn) {
    const HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, Testing::ScenarioArgument().c_str());
    if (!ready)
        return 2;
    ::SetEvent(ready);
    ::CloseHandle(ready);
    ::Sleep(60000);
    return 0;
}

std::wstring Upper(std::wstring text) {
    ::CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// A copy of the test program named "iexplore.exe", running until the test ends.
class BrowserStandIn {
public:
    BrowserStandIn() : m_program(L"iexplore.exe") {
        const std::wstring eventName = L"BrunlowTrayBrowser" + Testing::NewGuidText();
        const HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
        m_child = m_program.Start("TrayBrowserStandIn", eventName);
        started = m_child.Started() && ::WaitForSingleObject(ready, 30000) == WAIT_OBJECT_0;
        ::CloseHandle(ready);
    }
    const std::wstring& Path() const { return m_program.ProgramPath(); }
    bool started = false;

private:
    Testing::CopiedProgram m_program;
    Testing::StartedChild m_child;
};

TEST_F(TrayIconTest, AdvancedRippingBalloonFollowsSettingsAndRunningBrowser) {
    FoundationTests::MachineKeyOverride machine;
    FoundationTests::ShellLaunchRecorder shell;
    auto pTray = NewTray();
    ASSERT_TRUE(pTray->Create(&m_owner));
    BrowserStandIn browser;
    ASSERT_TRUE(browser.started);
    const std::wstring otherFolder = Testing::TempFolder().Path();  // not where the copy runs

    struct Case {
        const char* name;
        bool suggest;
        bool passive;
        std::wstring registered;  // empty: Internet Explorer not registered
        bool balloon;
    } cases[] = {
        {"suggestion off", false, true, L"", false},
        {"passive off", true, false, L"", false},
        {"no registration", true, true, L"", true},
        {"running from the registered path", true, true, browser.Path(), false},
        {"registered quoted and in other case", true, true, L"\"" + Upper(browser.Path()) + L"\"", false},
        {"running from another folder", true, true, otherFolder + L"\\iexplore.exe", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_settings.SetSuggestAdvancedRipping(c.suggest);
        m_settings.SetEnablePassive(c.passive);
        machine.RegisterInternetExplorer(c.registered.empty() ? nullptr : c.registered.c_str());
        g_calls.clear();
        m_engine.door->FireEvent(TestDoor::EventAdvancedRippingNeeded, {}, {}, 0, true);
        Pump(300);
        const std::vector<NotifyCall> balloons = CallsOf(NIM_MODIFY, NIF_INFO);
        ASSERT_EQ(c.balloon ? 1u : 0u, balloons.size());
        if (c.balloon) {
            EXPECT_TRUE(pTray->HasPendingAction());
            EXPECT_EQ(L"Tray Product needs help", balloons[0].infoTitle);
            EXPECT_EQ(L"Open the video in a browser for Tray Product", balloons[0].info);
            EXPECT_EQ(1u, balloons[0].infoFlags);
            EXPECT_EQ(10000u, balloons[0].timeout);
        }
        ExpectAllOnThisThread();
    }

    // The click starts Internet Explorer once; a later balloon without
    // action only reaches the toolkit.
    machine.RegisterInternetExplorer(L"C:\\Browser\\iexplore.exe");
    ASSERT_TRUE(pTray->HasPendingAction());
    const UINT click = 0x405;
    pTray->SendMessage(QE1541::CallbackMessage, TrayIcon::kIconId, click);
    ASSERT_EQ(1u, shell.launches.size());
    EXPECT_EQ(L"C:\\Browser\\iexplore.exe", shell.launches[0].file);
    EXPECT_EQ(L"", shell.launches[0].parameters);
    EXPECT_FALSE(pTray->HasPendingAction());
    pTray->ShowBalloon(L"text", L"title", 1, 15, nullptr, 0);
    pTray->SendMessage(QE1541::CallbackMessage, TrayIcon::kIconId, click);
    EXPECT_EQ(1u, shell.launches.size());
}

// An action that counts its runs and the tag it got.
struct CountingAction : TrayIcon::IAction {
    void PerformAction(TrayIcon&, DWORD tag) override { tags.push_back(tag); }
    std::vector<DWORD> tags;
};

TEST_F(TrayIconTest, MinimizeDropsThePendingActionAndRestoreShowsTheOwner) {
    auto pTray = NewTray();
    ASSERT_TRUE(pTray->Create(&m_owner));
    auto pAction = boost::make_shared<CountingAction>();
    pTray->ShowBalloon(L"stolen", L"video", 1, 15, pAction, 7);
    g_calls.clear();

    pTray->MinimizeToTray();
    EXPECT_FALSE(m_owner.IsWindowVisible());
    const std::vector<NotifyCall> balloons = CallsOf(NIM_MODIFY, NIF_INFO);
    ASSERT_EQ(1u, balloons.size());
    EXPECT_EQ(L"Tray Product hides", balloons[0].infoTitle);
    EXPECT_EQ(L"Tray Product goes on in the tray", balloons[0].info);
    EXPECT_EQ(1u, balloons[0].infoFlags);
    EXPECT_EQ(10000u, balloons[0].timeout);
    EXPECT_FALSE(pTray->HasPendingAction());
    pTray->SendMessage(QE1541::CallbackMessage, TrayIcon::kIconId, 0x405);
    EXPECT_TRUE(pAction->tags.empty()) << "the minimise balloon carries no action";

    pTray->RestoreFromTray();
    EXPECT_TRUE(m_owner.IsWindowVisible());
    EXPECT_FALSE(m_owner.IsIconic());

    // A balloon's own action runs once, with its tag.
    pTray->ShowBalloon(L"stolen", L"video", 1, 15, pAction, 7);
    pTray->SendMessage(QE1541::CallbackMessage, TrayIcon::kIconId, 0x405);
    pTray->SendMessage(QE1541::CallbackMessage, TrayIcon::kIconId, 0x405);
    EXPECT_EQ(std::vector<DWORD>{7}, pAction->tags);
}

TEST_F(TrayIconTest, MenuOpensForItsEventsRelabelledAndCommandsReachTheTarget) {
    auto pTray = NewTray();
    ASSERT_TRUE(pTray->Create(&m_owner));
    EXPECT_EQ(0, pTray->SendMessage(QE1541::CallbackMessage, TrayIcon::kIconId + 1, WM_RBUTTONUP));
    EXPECT_TRUE(g_popups.empty()) << "another icon's event runs nothing";

    const std::vector<std::wstring> expected = {L"Window", L"Switch", L"Address", L"Options",
                                                L"Folder", L"Help",   L"-",       L"Quit"};
    const struct {
        UINT event;
        const char* name;
    } events[] = {{0x400, "NIN_SELECT"}, {0x401, "NIN_KEYSELECT"}, {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
                  {WM_RBUTTONUP, "WM_RBUTTONUP"}};
    for (const auto& e : events) {
        SCOPED_TRACE(e.name);
        g_popups.clear();
        m_owner.commands.clear();
        g_chosenCommand = ID_TRAY_SETTINGS;
        EXPECT_EQ(1, pTray->SendMessage(QE1541::CallbackMessage, TrayIcon::kIconId, MAKELPARAM(e.event, 0)));
        ASSERT_EQ(1u, g_popups.size());
        EXPECT_EQ(expected, g_popups[0].texts);
        EXPECT_EQ(m_owner.m_hWnd, g_popups[0].owner);
        EXPECT_EQ(0u, g_popups[0].flags);
        Pump(100);
        EXPECT_EQ(std::vector<UINT>{ID_TRAY_SETTINGS}, m_owner.commands);
    }
    // The menu is told it closed.
    EXPECT_FALSE(CallsOf(NIM_SETFOCUS, 0).empty());
    // A left double click is the toolkit's.
    g_popups.clear();
    EXPECT_EQ(0, pTray->SendMessage(QE1541::CallbackMessage, TrayIcon::kIconId, WM_LBUTTONDBLCLK));
    EXPECT_TRUE(g_popups.empty());
}

TEST_F(TrayIconTest, DestroyedIconHearsNoMoreEvents) {
    auto pTray = NewTray();
    ASSERT_TRUE(pTray->Create(&m_owner));
    const DownloadItemHandle existing = AddItem(false);
    m_engine.door->FireEvent(TestDoor::EventDuplicateFound, existing, existing, 0, true);
    Pump(100);
    ASSERT_TRUE(pTray->IsBusy());
    g_pTray = nullptr;
    pTray.reset();
    m_engine.door->ClearCallLog();
    m_engine.door->FireEvent(TestDoor::EventDuplicateFound, existing, existing, 0, true);
    m_engine.door->FireEvent(TestDoor::EventStateChanged, {}, {}, 0, true);
    Pump(100);
    EXPECT_EQ(CallsOf(NIM_DELETE, 0).size(), 1u);
}

// The real notification area may or may not answer under this display;
// either way the icon exists once its window does.
TEST_F(TrayIconTest, RealNotificationAreaSmoke) {
    TraySetNotifyIconHandler(nullptr);
    auto pTray = NewTray();
    EXPECT_TRUE(pTray->Create(&m_owner));
    pTray->ShowBalloon(L"text", L"title", 1, 1, nullptr, 0);
    Pump(100);
}

}  // namespace
