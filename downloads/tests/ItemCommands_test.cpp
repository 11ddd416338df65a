// The item commands of the download list over the capture engine's stand-in:
// the context menu's rules and texts, removing rows, the stop/continue
// toggle, deleting files, downloading again, the keys, the engine switch,
// conversion and the copy to the player. Menus and message boxes are
// answered through the seams; file deletions that need the elevation
// service meet the recording service of this apartment.
#include "downloads/view/BrunlowDoc.h"
#include "downloads/view/BrunlowView.h"

#include "DownloadsTestResources.h"
#include "ListFrame.h"
#include "EngineFakes.h"
#include "EngineStandIn.h"
#include "ProfileApplication.h"
#include "appframework/serviceclient/Library.h"
#include "appframework/tests/RecordingService.h"
#include "appframework/tests/ServiceClientFixtures.h"
#include "downloads/resources/DownloadsResources.h"
#include "mfc/ModalSeams.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace KavennaEngine;
using TestDoor::ItemSpec;

namespace {

class CommandsView : public CBrunlowView {
    DECLARE_DYNCREATE(CommandsView)
public:
    void SetEditingLabel(bool editing) { m_isEditingLabel = editing; }
    void ClearRows() {
        while (!m_rows.empty())
            RemoveRow(0);
    }
};
IMPLEMENT_DYNCREATE(CommandsView, CBrunlowView)

// The codes of the notifications the list sends its frame.
std::vector<UINT> g_listNotifications;
class CommandsFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CommandsFrame)
protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        g_listNotifications.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
        return CFrameWnd::OnNotify(wParam, lParam, pResult);
    }
};
IMPLEMENT_DYNCREATE(CommandsFrame, CFrameWnd)

// What the seams were asked, and how they answer.
struct AskedBox {
    std::wstring text, caption;
    UINT type;
};
std::vector<AskedBox> g_boxes;
int g_boxAnswer = IDNO;
int AnswerBox(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    g_boxes.push_back({text ? text : L"", caption ? caption : L"", type});
    return g_boxAnswer;
}

struct ShownMenu {
    std::vector<std::pair<UINT, std::wstring>> items;
    UINT flags;
    int x, y;
    HWND owner;
};
std::vector<ShownMenu> g_menus;
BOOL RecordMenu(HMENU menu, UINT flags, int x, int y, HWND owner, LPCRECT) {
    ShownMenu shown{{}, flags, x, y, owner};
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
        shown.items.emplace_back(::GetMenuItemID(menu, i), text);
    }
    g_menus.push_back(shown);
    return TRUE;
}

struct ViewHost {
    ViewHost() {
        settings = std::make_unique<Settings>();
        access = std::make_unique<DownloadsTests::ScopedAppAccess>(settings.get(), engine.pEngine);
        frame = dynamic_cast<CommandsFrame*>(
            DownloadsTests::OpenListFrame(app, RUNTIME_CLASS(CommandsFrame), RUNTIME_CLASS(CommandsView)));
        if (frame)
            view = dynamic_cast<CommandsView*>(frame->GetActiveView());
    }
    ~ViewHost() {
        DownloadsTests::CloseListFrame(app);
        access.reset();
        settings.reset();
    }

    DownloadsTests::ProfileApplication app;
    DownloadsTests::EngineStandIn engine;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<DownloadsTests::ScopedAppAccess> access;
    CommandsFrame* frame = nullptr;
    CommandsView* view = nullptr;
};

class ItemCommandsTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_commandsHost = new ViewHost; }
    static void TearDownTestSuite() {
        delete s_commandsHost;
        s_commandsHost = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_commandsHost->view, nullptr);
        view = s_commandsHost->view;
        door = s_commandsHost->engine.door;
        m_previousBox = AfxSetMessageBoxHandler(&AnswerBox);
        m_previousMenu = AfxSetTrackPopupMenuHandler(&RecordMenu);
        g_boxes.clear();
        g_menus.clear();
        g_boxAnswer = IDNO;
        g_listNotifications.clear();
        door->ClearCallLog();
    }
    void TearDown() override {
        AfxSetMessageBoxHandler(m_previousBox);
        AfxSetTrackPopupMenuHandler(m_previousMenu);
        door->SetHook(TestDoor::HookStop, nullptr);
        BYTE keys[256] = {};
        ::SetKeyboardState(keys);
        if (view) {
            view->ClearRows();
            view->SetEditingLabel(false);
        }
    }

    CBrunlowView::RowPtr AddRow(const ItemSpec& spec, bool finished) {
        auto row = boost::make_shared<DownloadListItem>(door->AddItem(spec));
        row->SetFinished(finished);
        view->InsertRow(static_cast<int>(view->GetRowRecords().size()), L"video", row);
        return row;
    }
    void Select(int index) { view->GetListCtrl().SetItemState(index, LVIS_SELECTED, LVIS_SELECTED); }
    void Command(UINT id) { view->SendMessage(WM_COMMAND, id, 0); }
    std::vector<std::wstring> Calls() {
        std::vector<std::wstring> calls;
        for (const std::wstring& line : door->GetCallLog()) {
            // "<call> item=<n> thread=<id>" without the thread.
            // Neither the test's own set-up nor events of runs the commands started.
            if (line.rfind(L"TestDoor::", 0) == 0 || line.rfind(L"On", 0) == 0)
                continue;
            const size_t thread = line.find(L" thread=");
            calls.push_back(line.substr(0, thread));
        }
        return calls;
    }
    // Calls of an item's number only, in order.
    std::vector<std::wstring> CallsOf(const CBrunlowView::RowPtr& row) {
        const std::wstring suffix = L" item=" + std::to_wstring(row->GetItem().m_pRaw);
        std::vector<std::wstring> calls;
        for (const std::wstring& call : Calls()) {
            if (call.size() > suffix.size() && call.compare(call.size() - suffix.size(), suffix.size(), suffix) == 0)
                calls.push_back(call.substr(0, call.size() - suffix.size()));
        }
        return calls;
    }
    void PressKey(UINT key, bool control, bool shift) {
        BYTE keys[256] = {};
        if (control)
            keys[VK_CONTROL] = 0x80;
        if (shift)
            keys[VK_SHIFT] = 0x80;
        ::SetKeyboardState(keys);
        view->SendMessage(WM_KEYDOWN, key, 1);
    }

    static ViewHost* s_commandsHost;
    CommandsView* view = nullptr;
    TestDoor::ITestDoor* door = nullptr;

private:
    AfxMessageBoxHandler m_previousBox = nullptr;
    AfxTrackPopupMenuHandler m_previousMenu = nullptr;
};
ViewHost* ItemCommandsTest::s_commandsHost = nullptr;

ItemSpec Downloading() {
    ItemSpec spec;
    spec.stage = StageDownload;
    spec.downloadRunning = true;
    spec.received = 100;
    spec.total = 1000;
    spec.downloadCode = ResultStopped;
    return spec;
}

TEST_F(ItemCommandsTest, ContextMenuFollowsTheSelection) {
    // Nothing selected: no menu.
    AddRow(Downloading(), false);
    view->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->m_hWnd), MAKELPARAM(20, 30));
    EXPECT_TRUE(g_menus.empty());

    Testing::TempFolder folder;
    const std::wstring converted = folder.WriteFile(L"converted.mp4", "c");
    ItemSpec stage1;
    stage1.stage = StageConversion;
    stage1.complete = true;
    stage1.convertedPath = converted;
    ItemSpec stage2 = stage1;
    stage2.stage = StageDeploy;
    ItemSpec failed3;
    failed3.downloadCode = ResultTransferFailed;
    failed3.resultCode = ResultTransferFailed;
    ItemSpec failed5 = failed3;
    failed5.downloadCode = ResultNotRepeatable;
    failed5.resultCode = ResultNotRepeatable;

    const std::pair<UINT, std::wstring> redownload{32787, L"Download &again"}, watch{32781, L"Watch download"},
        locate{32784, L"Locate download"}, watchConverted{32780, L"Watch converted"},
        locateConverted{32785, L"Locate converted"}, stop{1030, L"&Stop or continue"}, convert{1032, L"Convert &now"},
        copy{32783, L"Copy to &player"}, rename{32777, L"Rename"}, remove{32776, L"Remove"},
        deleteFile{32779, L"Delete files"};
    const struct Case {
        const char* name;
        ItemSpec spec;
        bool finished;
        std::vector<std::pair<UINT, std::wstring>> items;
    } cases[] = {
        {"downloading", Downloading(), false, {redownload, stop, rename, remove, deleteFile}},
        {"finished in stage 1 with its converted file", stage1, true,
         {watch, locate, watchConverted, locateConverted, convert, rename, remove, deleteFile}},
        {"finished in stage 2", stage2, true,
         {watch, locate, watchConverted, locateConverted, convert, copy, rename, remove, deleteFile}},
        {"failed with code 3", failed3, true, {redownload, watch, locate, rename, remove, deleteFile}},
        {"failed with code 5", failed5, true, {watch, locate, rename, remove, deleteFile}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view->ClearRows();
        g_menus.clear();
        AddRow(c.spec, c.finished);
        Select(0);
        view->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->m_hWnd), MAKELPARAM(20, 30));
        ASSERT_EQ(g_menus.size(), 1u);
        EXPECT_EQ(g_menus[0].items, c.items);
        EXPECT_EQ(g_menus[0].flags, 0u);
        EXPECT_EQ(g_menus[0].owner, view->m_hWnd);
        EXPECT_EQ(g_menus[0].x, 20);
        EXPECT_EQ(g_menus[0].y, 30);
    }

    // Two rows: never rename, watch or locate.
    view->ClearRows();
    g_menus.clear();
    AddRow(stage2, true);
    AddRow(stage1, true);
    Select(0);
    Select(1);
    view->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->m_hWnd), MAKELPARAM(5, 5));
    ASSERT_EQ(g_menus.size(), 1u);
    EXPECT_EQ(g_menus[0].items,
              (std::vector<std::pair<UINT, std::wstring>>{convert, copy, remove, deleteFile}));
}

TEST_F(ItemCommandsTest, RemoveTakesEachRowOutBeforeStoppingAndDroppingItsItem) {
    std::vector<CBrunlowView::RowPtr> rows;
    for (int i = 0; i < 4; ++i)
        rows.push_back(AddRow(Downloading(), false));
    Select(0);
    Select(2);
    Select(3);
    std::vector<std::wstring> listedAtStop;
    door->SetHook(TestDoor::HookStop, [&](std::uintptr_t item) {
        bool listed = false;
        for (const auto& record : view->GetRowRecords())
            listed = listed || record.pItem->GetItem().m_pRaw == item;
        listedAtStop.push_back(std::to_wstring(item) + (listed ? L" listed" : L" gone"));
    });

    // Not while a name is edited.
    view->SetEditingLabel(true);
    PressKey(VK_DELETE, false, false);
    EXPECT_EQ(view->GetRowRecords().size(), 4u);
    view->SetEditingLabel(false);

    Command(32776);
    ASSERT_EQ(view->GetRowRecords().size(), 1u);
    EXPECT_EQ(view->GetRow(0), rows[1]);
    EXPECT_EQ(view->GetListCtrl().GetItemCount(), 1);
    std::vector<std::wstring> expected, expectedStops;
    for (int i : {0, 2, 3}) {
        const std::wstring item = L" item=" + std::to_wstring(rows[i]->GetItem().m_pRaw);
        expected.push_back(L"Stop" + item);
        expected.push_back(L"DropItem" + item);
        expectedStops.push_back(std::to_wstring(rows[i]->GetItem().m_pRaw) + L" gone");
    }
    std::vector<std::wstring> calls = Calls();
    calls.erase(std::remove_if(calls.begin(), calls.end(),
                               [](const std::wstring& c) { return c.rfind(L"Stop ", 0) && c.rfind(L"DropItem ", 0); }),
                calls.end());
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(listedAtStop, expectedStops);
}

TEST_F(ItemCommandsTest, RowButtonAndStopItemToggle) {
    ItemSpec stopped = Downloading();
    stopped.downloadRunning = false;
    ItemSpec converting;
    converting.stage = StageConversion;
    converting.complete = true;
    converting.conversionRunning = true;
    const auto running = AddRow(Downloading(), false);
    const auto paused = AddRow(stopped, false);
    const auto converter = AddRow(converting, false);
    s_commandsHost->settings->SetConversionOutputFormat(L"OFP_TEST!format");

    CButton button;
    ASSERT_TRUE(button.Create(L"", WS_CHILD, CRect(0, 0, 10, 10), view, CBrunlowView::kRowButtonCommand));
    const struct {
        const char* name;
        CBrunlowView::RowPtr row;
        std::vector<std::wstring> calls;
    } cases[] = {
        {"a running download", running, {L"DownloadStage::Stop"}},
        {"a stopped download", paused, {L"Start"}},
        {"a converting item", converter, {L"SetOutputFormat OFP_TEST!format", L"Stop"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        door->ClearCallLog();
        ::SetWindowLongW(button.m_hWnd, GWL_USERDATA, static_cast<LONG>(CBrunlowView::GetRowKey(c.row.get())));
        view->SendMessage(WM_COMMAND, MAKEWPARAM(CBrunlowView::kRowButtonCommand, BN_CLICKED),
                          reinterpret_cast<LPARAM>(button.m_hWnd));
        EXPECT_EQ(CallsOf(c.row), c.calls);
    }
    button.DestroyWindow();

    // Stop Item skips finished rows.
    ItemSpec finishedSpec = stopped;
    const auto finished = AddRow(finishedSpec, true);
    for (int i = 0; i < 4; ++i)
        Select(i);
    door->ClearCallLog();
    Command(1030);
    EXPECT_EQ(CallsOf(running), std::vector<std::wstring>{L"DownloadStage::Stop"});
    EXPECT_EQ(CallsOf(finished), std::vector<std::wstring>());
}

class DeleteFileTest : public ItemCommandsTest {
protected:
    void SetUp() override {
        ItemCommandsTest::SetUp();
        ASSERT_EQ(S_OK, m_service.Registration());
        m_service.answer = E_FAIL;
    }
    CBrunlowView::RowPtr AddFiles(const std::wstring& name, bool withTemp) {
        ItemSpec spec;
        spec.complete = true;
        spec.filePath = m_folder.WriteFile(name + L".flv", "video");
        spec.tempPath = withTemp ? m_folder.WriteFile(name + L".part", "part") : m_folder / (name + L".part");
        auto row = AddRow(spec, true);
        Select(static_cast<int>(view->GetRowRecords().size()) - 1);
        return row;
    }
    std::wstring File(const wchar_t* name) const { return m_folder / name; }

    ServiceClientTests::OleScope m_ole;
    ServiceClientTests::RecordingService m_service;
    Testing::TempFolder m_folder;
};

TEST_F(DeleteFileTest, NoChangesNothingAndYesDeletesBothFiles) {
    AddFiles(L"a", true);
    Command(32779);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].text, L"Delete the files of the selected videos?");
    EXPECT_EQ(g_boxes[0].caption, L"Delete File");
    EXPECT_EQ(g_boxes[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(view->GetRowRecords().size(), 1u);
    EXPECT_TRUE(Testing::PathExists(File(L"a.flv")));

    g_boxAnswer = IDYES;
    Command(32779);
    EXPECT_EQ(view->GetRowRecords().size(), 0u);
    EXPECT_FALSE(Testing::PathExists(File(L"a.flv")));
    EXPECT_FALSE(Testing::PathExists(File(L"a.part")));
    EXPECT_EQ(g_boxes.size(), 2u);  // only the question
    EXPECT_TRUE(m_service.calls.empty());
}

TEST_F(DeleteFileTest, FilesThatStayAreToldOnce) {
    AddFiles(L"held", true);
    AddFiles(L"also", true);
    HANDLE holder = ::CreateFileW(File(L"held.flv").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    HANDLE holder2 = ::CreateFileW(File(L"also.part").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    g_boxAnswer = IDYES;
    PressKey(VK_DELETE, false, true);  // Shift+Delete asks the delete question
    ::CloseHandle(holder);
    ::CloseHandle(holder2);
    EXPECT_EQ(view->GetRowRecords().size(), 0u);
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[0].text, L"Delete the files of the selected videos?");
    // The files that stayed are named, each on a line of its own.
    EXPECT_EQ(g_boxes[1].text,
              L"Some files are in use and were not deleted.\n\n" + File(L"held.flv") + L"\n" + File(L"also.part"));
    EXPECT_EQ(g_boxes[1].caption, L"Delete File");
    EXPECT_TRUE(Testing::PathExists(File(L"held.flv")));
    EXPECT_FALSE(Testing::PathExists(File(L"held.part")));
    EXPECT_FALSE(Testing::PathExists(File(L"also.flv")));
    // The service was asked for each file the program could not delete.
    ASSERT_EQ(m_service.calls.size(), 2u);
    EXPECT_EQ(m_service.calls[0].texts, std::vector<std::wstring>{File(L"held.flv")});
}

TEST_F(DeleteFileTest, AGoneTemporaryFileCountsAsDeleted) {
    AddFiles(L"done", false);
    ItemSpec noPaths;
    AddRow(noPaths, true);
    Select(1);
    g_boxAnswer = IDYES;
    Command(32779);
    EXPECT_EQ(view->GetRowRecords().size(), 0u);
    EXPECT_EQ(g_boxes.size(), 1u);
    EXPECT_FALSE(Testing::PathExists(File(L"done.flv")));
    EXPECT_TRUE(m_service.calls.empty());
}

TEST_F(ItemCommandsTest, RedownloadRestartsEverySelectedRow) {
    ItemSpec complete;
    complete.complete = true;
    ItemSpec failed;
    failed.downloadCode = ResultTransferFailed;
    const auto first = AddRow(complete, true), second = AddRow(failed, true);
    Select(0);
    Select(1);
    Command(32787);
    EXPECT_EQ(CallsOf(first), std::vector<std::wstring>{L"DownloadStage::Start"});
    EXPECT_EQ(CallsOf(second), std::vector<std::wstring>{L"DownloadStage::Start"});
}

TEST_F(ItemCommandsTest, ControlASelectsEveryRowAndPassesTheKeyOn) {
    PressKey('A', true, false);
    EXPECT_EQ(view->GetListCtrl().GetSelectedCount(), 0u);
    EXPECT_NE(std::find(g_listNotifications.begin(), g_listNotifications.end(), UINT(LVN_KEYDOWN)),
              g_listNotifications.end());

    for (int i = 0; i < 3; ++i)
        AddRow(Downloading(), false);
    g_listNotifications.clear();
    PressKey('A', true, false);
    EXPECT_EQ(view->GetListCtrl().GetSelectedCount(), 3u);
    EXPECT_NE(std::find(g_listNotifications.begin(), g_listNotifications.end(), UINT(LVN_KEYDOWN)),
              g_listNotifications.end());
    // 'A' alone selects nothing new and removes nothing.
    PressKey('A', false, false);
    EXPECT_EQ(view->GetRowRecords().size(), 3u);
}

class StateEngine : public DownloadsTests::FakeEngine {
public:
    int GetState() override { return state; }
    bool SetState(int newState, std::wstring* message) override {
        calls.push_back({newState, message});
        return true;
    }
    int state = 0;
    std::vector<std::pair<int, std::wstring*>> calls;
};

TEST_F(ItemCommandsTest, EngineSwitchTogglesOnlyKnownStates) {
    const auto engine = boost::make_shared<StateEngine>();
    Brunlow::IAppAccess* const pPrevious = Brunlow::AppAccess::Get();
    // The host's layer comes back even when a check fails.
    struct Restore {
        Brunlow::IAppAccess* pAccess;
        ~Restore() { Brunlow::AppAccess::Set(pAccess); }
    } restore{pPrevious};
    DownloadsTests::ScopedAppAccess access(s_commandsHost->settings.get(), engine);
    const struct {
        int state;
        std::vector<std::pair<int, std::wstring*>> calls;
    } cases[] = {{0, {{1, nullptr}}}, {1, {{0, nullptr}}}, {7, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        engine->state = c.state;
        engine->calls.clear();
        for (UINT command : {1001u, 1038u, 1039u}) {
            engine->calls.clear();
            Command(command);
            EXPECT_EQ(engine->calls, c.calls) << command;
        }
    }
}

TEST_F(ItemCommandsTest, ConvertOnlyWhatHasADownloadedFile) {
    ItemSpec stage0;
    stage0.complete = true;
    ItemSpec stage1 = stage0;
    stage1.stage = StageConversion;
    ItemSpec stage2 = stage0;
    stage2.stage = StageDeploy;
    const auto downloading = AddRow(Downloading(), false);
    const auto first = AddRow(stage0, true), second = AddRow(stage1, true), third = AddRow(stage2, true);

    view->ConvertItem(downloading);
    EXPECT_EQ(Calls(), std::vector<std::wstring>());

    Select(1);
    Select(2);
    Select(3);
    Command(1032);
    EXPECT_EQ(CallsOf(first), std::vector<std::wstring>());
    EXPECT_EQ(CallsOf(second), std::vector<std::wstring>{L"ConversionStage::Start"});
    EXPECT_EQ(CallsOf(third), std::vector<std::wstring>{L"ConversionStage::Start"});
    // No output format is set by the command.
    for (const std::wstring& call : Calls())
        EXPECT_EQ(call.find(L"SetOutputFormat"), std::wstring::npos);

    EXPECT_TRUE(view->CanProcessItemFurther(second));
    ItemSpec stage3 = stage0;
    stage3.stage = 3;
    EXPECT_FALSE(view->CanProcessItemFurther(AddRow(stage3, true)));
}

TEST_F(ItemCommandsTest, CopyToPlayerStartsOrStopsOnlyFinishedStageTwoRows) {
    ItemSpec stage1;
    stage1.stage = StageConversion;
    stage1.complete = true;
    ItemSpec copying = stage1;
    copying.stage = StageDeploy;
    copying.deployRunning = true;
    ItemSpec idle = copying;
    idle.deployRunning = false;
    const auto conversion = AddRow(stage1, true), unfinished = AddRow(idle, false);
    const auto running = AddRow(copying, true), waiting = AddRow(idle, true);
    for (int i = 0; i < 4; ++i)
        Select(i);
    Command(32783);
    EXPECT_EQ(CallsOf(conversion), std::vector<std::wstring>());
    EXPECT_EQ(CallsOf(unfinished), std::vector<std::wstring>());
    EXPECT_EQ(CallsOf(running), std::vector<std::wstring>{L"Stop"});
    EXPECT_EQ(CallsOf(waiting), std::vector<std::wstring>{L"Start"});
}

TEST_F(ItemCommandsTest, ARowWhoseItemIsGoneIsSkipped) {
    ItemSpec complete;
    complete.complete = true;
    complete.stage = StageDeploy;
    const auto gone = AddRow(complete, true);
    const auto kept = AddRow(complete, true);
    door->LetItemGo(gone->GetItem());
    ASSERT_FALSE(gone->GetItem().Peek());
    Select(0);
    Select(1);
    std::vector<int> selection{0};
    EXPECT_FALSE(view->IsAnyItemReadyToDeploy(selection));
    EXPECT_FALSE(view->IsAnyItemUnfinished(selection));
    EXPECT_FALSE(view->IsAnyItemDownloaded(selection, true));
    EXPECT_FALSE(view->CanProcessItemFurther(gone));
    EXPECT_FALSE(view->ShouldReDownloadItem(gone));
    selection.push_back(1);
    EXPECT_TRUE(view->IsAnyItemReadyToDeploy(selection));
    door->ClearCallLog();
    Command(32783);
    EXPECT_EQ(CallsOf(kept), std::vector<std::wstring>{L"Start"});
    // Remove ends the other row's item too.
    door->ClearCallLog();
    Command(32776);
    EXPECT_EQ(view->GetRowRecords().size(), 0u);
    EXPECT_EQ(CallsOf(kept), (std::vector<std::wstring>{L"Stop", L"DropItem"}));
}

}  // namespace
