// The download list in a frame made by the single-document template, over the
// capture engine's stand-in. The list's set-up runs once per process, so
// one view serves this file's tests and other set-ups run in children.
#include "downloads/view/BrunlowDoc.h"
#include "downloads/view/BrunlowView.h"

#include "DownloadsTestResources.h"
#include "ListFrame.h"
#include "EngineFakes.h"
#include "EngineStandIn.h"
#include "ProfileApplication.h"
#include "foundation/tests/RecordingSink.h"
#include "testing/ChildProcess.h"
#include "testing/WindowPicture.h"

#include "testing/MessagePump.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace KavennaEngine;
using DownloadsTests::EngineStandIn;
using DownloadsTests::ProfileApplication;
using Testing::Pump;
using Testing::PumpUntil;

namespace {

struct SinkCall {
    int type;
    std::uintptr_t item;
    DWORD thread;
    DWORD tick;
};
std::vector<SinkCall> g_sinkCalls;  // GUI thread
std::atomic<bool> g_viewGone{false};
std::atomic<int> g_lateCalls{0};
std::atomic<int> g_observerCalls{0};

// The view with its queue's deliveries recorded.
class RecordingView : public CBrunlowView {
    DECLARE_DYNCREATE(RecordingView)
public:
    void OnProcessingStarted(const QueueEntry& e) override { Record(e); }
    void OnProcessingProgress(const QueueEntry& e) override { Record(e); }
    void OnProcessingFinished(const QueueEntry& e) override { Record(e); }
    void OnDuplicateFound(const QueueEntry& e) override { Record(e); }
    using CBrunlowView::OnDuplicateFound;
    void OnItemProgress(DownloadItemHandle item) override {
        if (g_viewGone)
            ++g_lateCalls;
        ++g_observerCalls;
        CBrunlowView::OnItemProgress(item);
    }

    void SetEditingLabel(bool editing) { m_isEditingLabel = editing; }
    CMarkupToolTip& ToolTip() { return m_tooltip; }
    void ClearRows() {
        while (!m_rows.empty())
            RemoveRow(0);
    }

private:
    void Record(const QueueEntry& e) {
        if (g_viewGone)
            ++g_lateCalls;
        g_sinkCalls.push_back({e.message.type, e.item.m_pRaw, ::GetCurrentThreadId(), ::GetTickCount()});
    }
};
IMPLEMENT_DYNCREATE(RecordingView, CBrunlowView)

// A frame that answers its grandchildren's notifications with 77.
std::vector<UINT> g_frameNotifications;
class RecordingFrame : public CFrameWnd {
    DECLARE_DYNCREATE(RecordingFrame)
protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (::GetParent(header->hwndFrom) != m_hWnd) {
            g_frameNotifications.push_back(header->code);
            *pResult = 77;
            return TRUE;
        }
        return CFrameWnd::OnNotify(wParam, lParam, pResult);
    }
};
IMPLEMENT_DYNCREATE(RecordingFrame, CFrameWnd)

// The application, its settings and the stand-in engine, with the frame and
// view the template made.
struct ViewHost {
    explicit ViewHost(bool debugMode = false) {
        if (debugMode)
            app.WriteProfileString(L"Settings", L"DebugMode", L"true");
        settings = std::make_unique<Settings>();
        access = std::make_unique<DownloadsTests::ScopedAppAccess>(settings.get(), engine.pEngine);
        frame = dynamic_cast<RecordingFrame*>(DownloadsTests::OpenListFrame(
            app, RUNTIME_CLASS(RecordingFrame), RUNTIME_CLASS(RecordingView), CSize(900, 500)));
        if (frame)
            view = dynamic_cast<RecordingView*>(frame->GetActiveView());
    }
    ~ViewHost() {
        DownloadsTests::CloseListFrame(app);
        access.reset();
        settings.reset();
    }

    ProfileApplication app;
    EngineStandIn engine;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<DownloadsTests::ScopedAppAccess> access;
    RecordingFrame* frame = nullptr;
    RecordingView* view = nullptr;
};


class ProbeCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override { enabled = on; }
    int enabled = -1;
};

int Enabled(CBrunlowView* view, UINT id) {
    ProbeCmdUI ui;
    ui.m_nID = id;
    view->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui.enabled;
}

std::vector<std::wstring> ColumnTitles(CBrunlowView* view, std::vector<int>* widths = nullptr) {
    std::vector<std::wstring> titles;
    CListCtrl& list = view->GetListCtrl();
    for (int column = 0; column < list.GetHeaderCtrl()->GetItemCount(); ++column) {
        wchar_t text[64] = {};
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        info.pszText = text;
        info.cchTextMax = 64;
        list.GetColumn(column, &info);
        titles.push_back(text);
        if (widths)
            widths->push_back(info.cx);
    }
    return titles;
}

class BrunlowViewTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_viewHost = new ViewHost; }
    static void TearDownTestSuite() {
        delete s_viewHost;
        s_viewHost = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_viewHost->view, nullptr);
        view = s_viewHost->view;
        door = s_viewHost->engine.door;
        ASSERT_NE(door, nullptr);
        g_sinkCalls.clear();
        g_frameNotifications.clear();
    }
    void TearDown() override {
        CBrunlowView::SetArmTimerHook(nullptr);
        if (view) {
            view->ClearRows();
            view->SetEditingLabel(false);
            view->GetQueue()->ProcessQueue();
        }
    }

    // A row over a fresh engine item.
    CBrunlowView::RowPtr MakeRow(int mediaKind = 1, bool complete = false, bool finished = false) {
        TestDoor::ItemSpec spec;
        spec.mediaKind = mediaKind;
        spec.complete = complete;
        auto row = boost::make_shared<DownloadListItem>(door->AddItem(spec));
        row->SetFinished(finished);
        return row;
    }
    void Select(int index, bool on) {
        view->GetListCtrl().SetItemState(index, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }

    static ViewHost* s_viewHost;
    RecordingView* view = nullptr;
    TestDoor::ITestDoor* door = nullptr;
};
ViewHost* BrunlowViewTest::s_viewHost = nullptr;

TEST_F(BrunlowViewTest, ListIsSetUpOnceWithItsColumnsFontsAndImages) {
    std::vector<int> widths;
    EXPECT_EQ(ColumnTitles(view, &widths), (std::vector<std::wstring>{L"Video", L"Progress", L"Info"}));
    EXPECT_EQ(widths, (std::vector<int>{310, 205, 185}));

    const DWORD style = view->GetStyle();
    EXPECT_EQ(style & LVS_TYPEMASK, DWORD(LVS_REPORT));
    for (DWORD bit : {DWORD(LVS_SHOWSELALWAYS), DWORD(LVS_EDITLABELS), DWORD(LVS_NOCOLUMNHEADER),
                      DWORD(LVS_NOSORTHEADER)})
        EXPECT_TRUE(style & bit) << std::hex << bit;
    EXPECT_FALSE(style & WS_BORDER);

    for (HWND window : {view->m_hWnd, view->GetListCtrl().GetHeaderCtrl()->m_hWnd}) {
        LOGFONTW font = {};
        ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font),
                                 &font));
        EXPECT_EQ(font.lfHeight, 18);
        EXPECT_EQ(font.lfWeight, 200);
        EXPECT_STREQ(font.lfFaceName, L"Arial");
    }

    HIMAGELIST images = ListView_GetImageList(view->m_hWnd, LVSIL_SMALL);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 28);  // two per row kind
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 48);
    EXPECT_EQ(cy, 48);

    CMarkupToolTip& tip = view->ToolTip();
    EXPECT_NE(tip.m_hWnd, nullptr);
    for (int index = 0; index < 4; ++index)
        EXPECT_EQ(tip.GetSizeParameter(index), 10);
    EXPECT_EQ(tip.GetShadow().dx, 2);
    EXPECT_EQ(tip.GetShadow().dy, 2);
    EXPECT_EQ(tip.GetShadow().darkness, 50);

    // Again: neither columns nor a second queue.
    const boost::shared_ptr<CBrunlowView::Queue> queue = view->GetQueue();
    ASSERT_TRUE(queue);
    view->OnInitialUpdate();
    EXPECT_EQ(view->GetListCtrl().GetHeaderCtrl()->GetItemCount(), 3);
    EXPECT_EQ(view->GetQueue(), queue);

    view->InsertRow(0, L"A caught video", MakeRow());
    Testing::SaveWindowPicture(s_viewHost->frame->m_hWnd, L"DownloadListView");
}

TESTING_CHILD_SCENARIO(DownloadListInDebugMode) {
    ViewHost host(true);
    if (!host.view)
        return 2;
    std::vector<int> widths;
    const auto titles = ColumnTitles(host.view, &widths);
    return titles == std::vector<std::wstring>{L"Video", L"Progress", L"Info", L"More"} &&
                   widths == std::vector<int>{310, 205, 185, 150}
               ? 0
               : 1;
}

TEST_F(BrunlowViewTest, DebugModeAddsTheFourthColumn) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("DownloadListInDebugMode")));
}

TEST_F(BrunlowViewTest, RowsAreFoundByIndexKeyAndItem) {
    EXPECT_FALSE(view->GetRow(-1));
    EXPECT_FALSE(view->GetRow(0));
    const auto first = MakeRow(), second = MakeRow();
    EXPECT_EQ(view->InsertRow(0, L"first", first), 0);
    EXPECT_EQ(view->InsertRow(1, L"second", second), 1);
    EXPECT_EQ(view->GetRow(1), second);
    EXPECT_FALSE(view->GetRow(2));
    EXPECT_FALSE(view->GetRow(-1));

    CListCtrl& list = view->GetListCtrl();
    const std::uintptr_t key = list.GetItemData(1);
    EXPECT_EQ(key, reinterpret_cast<std::uintptr_t>(second.get()) ^ 0x12345678u);
    EXPECT_EQ(view->FindRowByKey(key), second);
    EXPECT_FALSE(view->FindRowByKey(reinterpret_cast<std::uintptr_t>(second.get())));
    EXPECT_EQ(view->FindRowByItem(first->GetItem()), 0);
    EXPECT_EQ(view->FindRowByItem(DownloadItemHandle()), -1);

    view->RemoveRow(0);
    EXPECT_EQ(list.GetItemCount(), 1);
    ASSERT_EQ(view->GetRowRecords().size(), 1u);
    EXPECT_EQ(view->GetRow(0), second);
    EXPECT_EQ(view->FindRowByItem(second->GetItem()), 0);
}

TEST_F(BrunlowViewTest, MovingARowToTheTopKeepsItWhole) {
    CListCtrl& list = view->GetListCtrl();
    std::vector<CBrunlowView::RowPtr> rows;
    const wchar_t* names[] = {L"zero", L"one", L"two"};
    for (int i = 0; i < 3; ++i) {
        rows.push_back(MakeRow(i == 2 ? 10 : 1));
        ASSERT_EQ(view->InsertRow(i, names[i], rows.back()), i);
        list.SetItemText(i, 1, (std::wstring(names[i]) + L" progress").c_str());
        list.SetItemText(i, 2, (std::wstring(names[i]) + L" info").c_str());
    }
    Select(2, true);
    const int image = CBrunlowView::GetRowIconIndex(rows[2]);

    ASSERT_TRUE(view->MoveRowToTop(2));
    ASSERT_EQ(list.GetItemCount(), 3);
    const wchar_t* order[] = {L"two", L"zero", L"one"};
    const int recordOf[] = {2, 0, 1};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::wstring(list.GetItemText(i, 0)), order[i]);
        EXPECT_EQ(std::wstring(list.GetItemText(i, 1)), std::wstring(order[i]) + L" progress");
        EXPECT_EQ(std::wstring(list.GetItemText(i, 2)), std::wstring(order[i]) + L" info");
        EXPECT_EQ(view->GetRow(i), rows[recordOf[i]]);
        EXPECT_EQ(list.GetItemData(i), CBrunlowView::GetRowKey(rows[recordOf[i]].get()));
    }
    LVITEMW item = {};
    item.mask = LVIF_IMAGE | LVIF_STATE;
    item.stateMask = LVIS_SELECTED;
    ASSERT_TRUE(list.GetItem(&item));
    EXPECT_EQ(item.iImage, image);
    EXPECT_EQ(item.state & LVIS_SELECTED, UINT(LVIS_SELECTED));
    EXPECT_EQ(list.GetSelectedCount(), 1u);

    EXPECT_FALSE(view->MoveRowToTop(3));
    EXPECT_FALSE(view->MoveRowToTop(-1));
}

TEST_F(BrunlowViewTest, RowImageFollowsMediaKindAndCompletion) {
    struct Case {
        const char* name;
        int kind;
        bool complete;
        int image;  // two images per kind, kinds 1 to 14 in order
    } cases[] = {
        {"kind 1 downloading (150)", 1, false, 0},
        {"kind 1 complete (158)", 1, true, 1},
        {"kind 14 complete (158)", 14, true, 27},
        {"kind 10 (152)", 10, false, 18},
        {"kind 99: the first row", 99, false, 0},
        {"kind 99 complete: the first row", 99, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CBrunlowView::GetRowIconIndex(MakeRow(c.kind, c.complete)), c.image);
    }
    // The images themselves: kind 1's two icons differ, kind 3's are one.
    HIMAGELIST images = ListView_GetImageList(view->m_hWnd, LVSIL_SMALL);
    auto centre = [&](int index) {
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 48, 48);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL);
        const COLORREF colour = ::GetPixel(dc, 24, 24);
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
        return colour;
    };
    EXPECT_NE(centre(0), centre(1));
    EXPECT_EQ(centre(4), centre(5));
    EXPECT_EQ(centre(1), centre(3));  // 158 for kinds 1 and 2

    // An item that is gone: the first image.
    auto gone = boost::make_shared<DownloadListItem>(DownloadItemHandle());
    EXPECT_EQ(CBrunlowView::GetRowIconIndex(gone), 0);
}

TEST_F(BrunlowViewTest, SelectionDrivesConvertAndCancel) {
    view->InsertRow(0, L"finished 1", MakeRow(1, true, true));
    view->InsertRow(1, L"finished 2", MakeRow(1, true, true));
    view->InsertRow(2, L"running", MakeRow(1, false, false));
    struct Step {
        const char* name;
        std::vector<int> selected;
        bool editing;
        int cancel;
        int convert;
    } steps[] = {
        {"nothing selected", {}, false, FALSE, FALSE},
        {"two finished rows", {0, 1}, false, TRUE, TRUE},
        {"plus an unfinished row", {0, 1, 2}, false, TRUE, FALSE},
        {"the unfinished row alone", {2}, false, TRUE, FALSE},
        {"two finished rows while a name is edited", {0, 1}, true, FALSE, FALSE},
        {"nothing selected again", {}, false, FALSE, FALSE},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        for (int i = 0; i < 3; ++i)
            Select(i, std::find(step.selected.begin(), step.selected.end(), i) != step.selected.end());
        view->SetEditingLabel(step.editing);
        EXPECT_EQ(Enabled(view, 1002), step.cancel);
        EXPECT_EQ(Enabled(view, 1031), step.convert);
    }
}

TEST_F(BrunlowViewTest, ASelectedRowWhoseItemIsGoneClearsConvert) {
    view->InsertRow(0, L"finished", MakeRow(1, true, true));
    auto gone = boost::make_shared<DownloadListItem>(DownloadItemHandle());
    gone->SetFinished(true);
    view->InsertRow(1, L"gone", gone);
    Select(0, true);
    EXPECT_TRUE(view->CanConvert());
    // The failed check raises through the module's sink; the handler's guard
    // keeps the previous value and the removal flag already set.
    Select(1, true);
    EXPECT_TRUE(view->CanRemove());
    EXPECT_TRUE(view->CanConvert());
    Select(0, false);
    Select(1, false);
    EXPECT_FALSE(view->CanRemove());
    EXPECT_FALSE(view->CanConvert());
}

TEST_F(BrunlowViewTest, ChildNotificationsReachTheParentFirst) {
    CHeaderCtrl* header = view->GetListCtrl().GetHeaderCtrl();
    NMHEADERW notification = {};
    notification.hdr.hwndFrom = header->m_hWnd;
    notification.hdr.idFrom = ::GetDlgCtrlID(header->m_hWnd);
    notification.hdr.code = HDN_ITEMCLICKW;
    EXPECT_EQ(view->SendMessage(WM_NOTIFY, notification.hdr.idFrom, reinterpret_cast<LPARAM>(&notification)), 77);
    EXPECT_EQ(g_frameNotifications, std::vector<UINT>{UINT(HDN_ITEMCLICKW)});

    // A divider double click repaints the whole list, without erasing.
    view->UpdateWindow();
    notification.hdr.code = HDN_DIVIDERDBLCLICKW;
    view->SendMessage(WM_NOTIFY, notification.hdr.idFrom, reinterpret_cast<LPARAM>(&notification));
    CRect update, client;
    EXPECT_TRUE(::GetUpdateRect(view->m_hWnd, &update, FALSE));
    view->GetClientRect(&client);
    EXPECT_EQ(update, client);
    EXPECT_EQ(view->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(::GetDC(nullptr)), 0), FALSE);
}

TEST_F(BrunlowViewTest, ProgressAndButtonRectanglesSitInTheProgressCell) {
    view->InsertRow(0, L"row", MakeRow());
    CRect cell;
    view->GetListCtrl().GetSubItemRect(0, 1, LVIR_BOUNDS, cell);
    const CRect progress = view->GetProgressRect(0);
    EXPECT_EQ(progress, CRect(cell.left, cell.top + 10, cell.right - 30, cell.bottom - 10));
    const CRect button = view->GetButtonRect(0);
    EXPECT_EQ(button, CRect(cell.right - 29, cell.bottom - 39, cell.right, cell.bottom - 10));

    // The row's own windows.
    auto row = view->GetRow(0);
    ASSERT_TRUE(row->CreateProgress(view, progress, 0, 100000, 1, true));
    EXPECT_EQ(row->GetStyle() & (WS_CHILD | WS_BORDER | PBS_SMOOTH), DWORD(WS_CHILD | WS_BORDER | PBS_SMOOTH));
    EXPECT_EQ(row->SendMessage(PBM_GETRANGE, FALSE, 0), 100000);
    row->SetMarquee(true, 30);
    EXPECT_TRUE(row->GetStyle() & PBS_MARQUEE);
    row->SetMarquee(true, 30);  // no change
    EXPECT_TRUE(row->IsMarqueeOn());
    row->SetMarquee(false, 0);
    EXPECT_FALSE(row->GetStyle() & PBS_MARQUEE);
    ASSERT_TRUE(row->CreateButton(L"", view, button, 1028, view->GetFont(), 0, 0, true));
    row->SetButtonKey(LONG_PTR(CBrunlowView::GetRowKey(row.get())));
    EXPECT_EQ(view->FindRowByKey(std::uintptr_t(::GetWindowLongPtrW(row->GetButton().m_hWnd, GWLP_USERDATA))), row);
    EXPECT_EQ(row->GetButton().GetColor(CSkinButton::ColorBackgroundHot), COLORREF(0x363636));
    EXPECT_EQ(row->GetButton().GetColor(CSkinButton::ColorBackgroundNormal), COLORREF(0x363636));
    EXPECT_FALSE(row->GetButton().GetDrawBorder());
}

// The queue through the view: its timer and the engine's threads.

DWORD g_clock = 0;
DWORD TestClock() {
    return g_clock;
}
std::vector<int> g_armed;
void RecordArm(CBrunlowView*, int interval) {
    g_armed.push_back(interval);
}

TEST_F(BrunlowViewTest, TimerFollowsTheQueue) {
    // Nothing queued: the timer goes.
    view->SetTimer(CBrunlowView::kQueueTimer, 100000);
    view->ArmTimer();
    EXPECT_FALSE(view->KillTimer(CBrunlowView::kQueueTimer));

    g_armed.clear();
    CBrunlowView::SetArmTimerHook(&RecordArm);
    const Brunlow::QueueClock::Source previous = Brunlow::QueueClock::SetSource(&TestClock);
    g_clock = 1000;
    view->GetQueue()->ProcessQueue();
    g_clock = 1030;
    const DownloadItemHandle item = MakeRow()->GetItem();
    view->OnItemProgress(item);
    g_clock = 1500;
    view->OnItemFinished(item);
    Brunlow::QueueClock::SetSource(previous);
    EXPECT_EQ(g_armed, (std::vector<int>{70, 0}));

    // WM_TIMER 334 drains.
    view->SendMessage(WM_TIMER, CBrunlowView::kQueueTimer, 0);
    ASSERT_EQ(g_sinkCalls.size(), 1u);
    EXPECT_EQ(g_sinkCalls[0].type, CBrunlowView::MessageTypes::kFinished);
    EXPECT_EQ(view->GetQueue()->GetNextInterval(), -1);
}

TEST_F(BrunlowViewTest, EngineThreadEventsReachTheHandlersOnTheGuiThread) {
    TestDoor::ItemSpec spec;
    const DownloadItemHandle item = door->AddItem(spec);
    Pump(150);  // past the interval of an earlier drain
    const DWORD posted = ::GetTickCount();
    door->FireEvent(TestDoor::EventItemStarted, item, {}, 0, true);
    door->FireEvent(TestDoor::EventItemProgress, item, {}, 0, true);
    ASSERT_TRUE(PumpUntil([] { return g_sinkCalls.size() >= 2; }));
    EXPECT_EQ(g_sinkCalls[0].type, CBrunlowView::MessageTypes::kStarted);
    EXPECT_EQ(g_sinkCalls[1].type, CBrunlowView::MessageTypes::kProgress);
    for (const SinkCall& call : g_sinkCalls) {
        EXPECT_EQ(call.thread, ::GetCurrentThreadId());
        EXPECT_EQ(call.item, item.m_pRaw);
        // 100 ms at most, with room for an emulated, loaded machine.
        EXPECT_LE(call.tick - posted, 100u + 900u);
    }
}

// The lost wake-up: one engine thread reads "nothing queued" (its message
// already drained), another posts and arms in between, then the first acts
// on what it read. The hook holds the first thread there while the second
// tries to post.
std::atomic<bool> g_forced{false};
CBrunlowView* g_hookView = nullptr;
DownloadItemHandle g_lateItem;
std::unique_ptr<std::thread> g_poster;
HANDLE g_posted = nullptr;
void ForceLateArm(CBrunlowView*, int interval) {
    if (interval != -1 || g_forced.exchange(true))
        return;
    g_poster = std::make_unique<std::thread>([] {
        g_hookView->OnItemFinished(g_lateItem);
        ::SetEvent(g_posted);
    });
    // Long enough for the post and its arming to happen if they can.
    ::WaitForSingleObject(g_posted, 300);
}

TEST_F(BrunlowViewTest, APostDuringAnotherThreadsArmingIsNotLost) {
    view->GetQueue()->ProcessQueue();
    g_forced = false;
    g_hookView = view;
    g_lateItem = MakeRow()->GetItem();
    g_posted = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CBrunlowView::SetArmTimerHook(&ForceLateArm);
    std::thread drainedThread([&] { view->ArmTimer(); });
    drainedThread.join();
    ASSERT_TRUE(g_poster);
    g_poster->join();
    g_poster.reset();
    ::CloseHandle(g_posted);
    EXPECT_TRUE(g_forced);
    EXPECT_TRUE(PumpUntil([] { return !g_sinkCalls.empty(); }))
        << "the finished message waits for a post that may never come";
    ASSERT_EQ(g_sinkCalls.size(), 1u);
    EXPECT_EQ(g_sinkCalls[0].type, CBrunlowView::MessageTypes::kFinished);
}

TESTING_CHILD_SCENARIO(ViewDestroyedWhileTheEnginePosts) {
    ViewHost host;
    if (!host.view)
        return 2;
    TestDoor::ItemSpec spec;
    const DownloadItemHandle item = host.engine.door->AddItem(spec);
    std::atomic<bool> stop{false};
    std::thread firing([&] {
        while (!stop)
            host.engine.door->FireEvent(TestDoor::EventItemProgress, item, {}, 0, true);
    });
    // Under load the first drain can take a while; wait for it, bounded.
    const bool delivered = PumpUntil([] { return !g_sinkCalls.empty() && g_observerCalls > 0; }, 10000);
    int lateUnsubscriptions = 0;
    {
        // The view leaves the engine itself, before its members go; the
        // subscriber base warns when it has to do that instead.
        FoundationTests::RecordingSink sink;
        FoundationTests::ScopedSink scoped(&sink);
        host.frame->DestroyWindow();
        for (const FoundationTests::Report& report : sink.reports)
            lateUnsubscriptions += report.text.find(L"((!m_pEngine))") != std::wstring::npos;
    }
    g_viewGone = true;
    Pump(300);
    stop = true;
    firing.join();
    if (!delivered || g_observerCalls == 0)
        return 3;
    if (lateUnsubscriptions)
        return 4;
    return g_lateCalls == 0 ? 0 : 1;
}

TEST_F(BrunlowViewTest, ADestroyedViewGetsNoCallsFromTheEngine) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("ViewDestroyedWhileTheEnginePosts")));
}

}  // namespace
