// The download list's reactions to engine events, its colours and its
// first column, on one view over the engine's stand-in items.
#include "downloads/view/BrunlowDoc.h"
#include "downloads/view/BrunlowView.h"

#include "DownloadsTestResources.h"
#include "downloads/resources/DownloadsResources.h"
#include "ListHost.h"
#include "EngineFakes.h"
#include "EngineStandIn.h"
#include "ProfileApplication.h"
#include "foundation/filesystem/XmlFile.h"
#include "testing/ChildProcess.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace KavennaEngine;
using DownloadsTests::ListHost;

namespace {

class OpenView : public CBrunlowView {
    DECLARE_DYNCREATE(OpenView)
public:
    static CRuntimeClass* Class() { return RUNTIME_CLASS(OpenView); }
    using CBrunlowView::OnEngineStateMessage;
    void SetEditingLabel(bool editing) { m_isEditingLabel = editing; }
};
IMPLEMENT_DYNCREATE(OpenView, CBrunlowView)

CBrunlowView::QueueEntry Entry(const DownloadItemHandle& item) { return DownloadsTests::ListEntry(item); }

class ListEventsTest : public DownloadsTests::ListHostTest<OpenView> {
protected:
    void Progress(const DownloadItemHandle& item) { view->OnProcessingProgress(Entry(item)); }
    void Duplicate(const DownloadItemHandle& item) { view->CBrunlowView::OnDuplicateFound(Entry(item)); }
    int Calls(const std::wstring& call) { return static_cast<int>(s_listHost->engine.Calls(call).size()); }
};

TEST_F(ListEventsTest, StartedMakesOneRowAtTheTopWithBarAndStopButton) {
    const DownloadItemHandle first = Add({});
    TestDoor::ItemSpec spec;
    spec.alternateName = L"second.mp4";
    spec.displayName = L"";
    spec.mediaKind = 3;
    const DownloadItemHandle second = door->AddItem(spec);
    Started(first);
    Started(second);
    Started(second);
    ASSERT_EQ(view->GetRowRecords().size(), 2u);
    EXPECT_EQ(Text(0, 0), L"second.mp4");
    EXPECT_EQ(Text(1, 0), L"clip.flv");
    const CBrunlowView::RowPtr row = view->GetRow(0);
    EXPECT_TRUE(row->IsProgressCreated());
    EXPECT_TRUE(row->IsButtonCreated());
    int low = -1, high = -1;
    row->GetRange(low, high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 100);
    EXPECT_EQ(row->GetButton().GetDlgCtrlID(), 1028);
    EXPECT_EQ(static_cast<std::uintptr_t>(::GetWindowLongPtrW(row->GetButton().m_hWnd, GWLP_USERDATA)),
              CBrunlowView::GetRowKey(row.get()));
}

TEST_F(ListEventsTest, BarOnlyRisesWithinOneRun) {
    TestDoor::ItemSpec spec;
    spec.total = 100;
    const DownloadItemHandle item = Add(spec);
    Started(item);
    const CBrunlowView::RowPtr row = view->GetRow(0);
    for (std::uint32_t received : {10u, 40u, 30u}) {
        spec.received = received;
        spec.displayName = L"clip.flv";
        spec.mediaKind = 1;
        ASSERT_TRUE(door->ChangeItem(item, spec));
        Progress(item);
    }
    EXPECT_EQ(row->GetPos(), 40);
    EXPECT_EQ(view->GetRowRecords()[0].lastPercent, 40u);
    // Started again: the run begins anew.
    Started(item);
    EXPECT_EQ(view->GetRowRecords()[0].lastPercent, 0u);
    EXPECT_EQ(view->GetRowRecords().size(), 1u);
}

// A run that ends and starts again (the user downloads it again): the
// status and details of the last run go, the bar and the stop button come
// back in the row's cell while it runs and the bar goes when it ends.
TEST_F(ListEventsTest, ARunStartedAgainShowsOnlyItsBarAndStopButton) {
    const struct {
        const char* name;
        int code;
        const wchar_t* status;
    } cases[] = {
        {"interrupted", ResultStopped, L"Download interrupted"},
        {"failed", ResultTransferFailed, L"Download failed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestDoor::ItemSpec ended;
        ended.resultCode = ended.downloadCode = c.code;
        ended.resultText = L"The server went away.";
        const DownloadItemHandle item = Add(ended);
        Started(item);
        view->GetRow(0)->SetPos(70);
        Finished(item);
        const CBrunlowView::RowPtr row = view->GetRow(0);
        ASSERT_EQ(Text(0, 1), c.status);
        ASSERT_FALSE(Text(0, 2).empty());
        ASSERT_FALSE(row->IsWindowVisible());

        TestDoor::ItemSpec running;
        running.displayName = L"clip.flv";
        running.mediaKind = 1;
        running.downloadRunning = true;
        ASSERT_TRUE(door->ChangeItem(item, running));
        Started(item);
        EXPECT_EQ(Text(0, 1), L"");
        EXPECT_EQ(Text(0, 2), L"");
        EXPECT_FALSE(row->IsFinished());
        EXPECT_TRUE(row->IsProgressShown());
        EXPECT_TRUE(row->IsWindowVisible());
        EXPECT_EQ(row->GetPos(), 0);
        CRect bar;
        row->GetWindowRect(&bar);
        view->ScreenToClient(&bar);
        EXPECT_EQ(bar, view->GetProgressRect(0));
        EXPECT_TRUE(row->GetButton().IsWindowVisible());
        EXPECT_EQ(row->GetButtonBitmap(), UINT(IDB_ROW_STOP));

        TestDoor::ItemSpec done = running;
        done.downloadRunning = false;
        done.complete = true;
        ASSERT_TRUE(door->ChangeItem(item, done));
        Finished(item);
        EXPECT_EQ(Text(0, 1), L"Download finished");
        EXPECT_FALSE(row->IsProgressShown());
        EXPECT_FALSE(row->IsWindowVisible());
    }
}

TEST_F(ListEventsTest, FinishedWritesStatusAndDetails) {
    const struct {
        int stage;
        bool import;
        bool complete;
        int code;
        const wchar_t* status;
    } cases[] = {
        {StageDownload, false, false, ResultComplete, L"Download finished"},
        {StageDownload, true, false, ResultStopped, L"Import interrupted"},
        {StageConversion, false, false, ResultTransferFailed, L"Conversion failed"},
        {StageDownload, false, true, ResultTransferFailed, L"Download finished"},
    };
    for (const auto& c : cases) {
        TestDoor::ItemSpec spec;
        spec.stage = c.stage;
        spec.import = c.import;
        spec.complete = c.complete;
        spec.resultCode = c.code;
        spec.downloadCode = c.code;
        spec.downloadRunning = false;
        const DownloadItemHandle item = Add(spec);
        Started(item);
        Finished(item);
        EXPECT_EQ(Text(0, 1), c.status) << c.status;
        if (c.code == ResultComplete || c.code == ResultStopped) {
            EXPECT_EQ(Text(0, 2).rfind(L"Size: ", 0), 0u) << Text(0, 2);
        }
        EXPECT_TRUE(view->GetRow(0)->IsFinished());
        EXPECT_FALSE(view->GetRow(0)->IsProgressShown());
    }
}

TEST_F(ListEventsTest, SecondFinishedChangesNothingAndDeletedRemovesTheRow) {
    TestDoor::ItemSpec spec;
    spec.resultCode = ResultStopped;
    spec.downloadCode = ResultStopped;
    const DownloadItemHandle item = Add(spec);
    Started(item);
    Finished(item);
    const std::wstring status = Text(0, 1);
    spec.resultCode = ResultComplete;
    spec.displayName = L"clip.flv";
    spec.mediaKind = 1;
    ASSERT_TRUE(door->ChangeItem(item, spec));
    Finished(item);
    EXPECT_EQ(Text(0, 1), status);

    const DownloadItemHandle running = Add({});
    Started(running);
    ASSERT_EQ(view->GetRowRecords().size(), 2u);
    TestDoor::ItemSpec deleted;
    deleted.displayName = L"clip.flv";
    deleted.mediaKind = 1;
    deleted.resultCode = ResultDeleted;
    ASSERT_TRUE(door->ChangeItem(running, deleted));
    const int drops = Calls(L"DropItem");
    Finished(running);
    EXPECT_EQ(view->GetRowRecords().size(), 1u);
    EXPECT_EQ(Calls(L"DropItem"), drops + 1);
}

TEST_F(ListEventsTest, FinishedDownloadGoesOnByItselfOrOffersConversion) {
    for (bool automatic : {false, true}) {
        s_listHost->settings->SetAutomaticConversion(automatic);
        TestDoor::ItemSpec spec;
        spec.complete = true;
        const DownloadItemHandle item = Add(spec);
        Started(item);
        const int advances = Calls(L"AdvanceStage");
        Finished(item);
        EXPECT_EQ(Calls(L"AdvanceStage"), advances + 1) << automatic;
        const CBrunlowView::RowPtr row = view->GetRow(0);
        EXPECT_TRUE(row->IsButtonShown()) << automatic;
        if (!automatic) {
            EXPECT_TRUE(row->IsFinished());
        }
    }
}

TEST_F(ListEventsTest, DuplicateOfAStoppedItemMovesItsRowToTheTop) {
    TestDoor::ItemSpec runningSpec;
    runningSpec.downloadRunning = true;
    const DownloadItemHandle running = Add(runningSpec);
    const DownloadItemHandle stopped = Add({});
    const DownloadItemHandle newest = Add({});
    Started(running);
    Started(stopped);
    Started(newest);
    // Rows: newest, stopped, running.
    Duplicate(running);
    EXPECT_EQ(view->FindRowByItem(running), 2);
    view->SetEditingLabel(true);
    Duplicate(stopped);
    EXPECT_EQ(view->FindRowByItem(stopped), 1);
    view->SetEditingLabel(false);
    Duplicate(stopped);
    EXPECT_EQ(view->FindRowByItem(stopped), 0);
}

TEST_F(ListEventsTest, EngineStateMessageTakesTheSkinsColours) {
    view->OnEngineStateMessage(1, 0);
    EXPECT_EQ(view->GetListCtrl().GetBkColor(), RGB(0x40, 0x50, 0x60));
    const bool engineOn = s_listHost->engine.pEngine->GetState() == 0;
    EXPECT_EQ(view->GetListCtrl().GetTextColor(), engineOn ? RGB(0xF0, 0xE0, 0xD0) : RGB(0xA0, 0xB0, 0xC0));
    view->OnEngineStateMessage(0, 0);
    EXPECT_EQ(view->GetListCtrl().GetBkColor(), RGB(0x10, 0x20, 0x30));
    view->OnEngineStateMessage(7, 0);
    EXPECT_EQ(view->GetListCtrl().GetBkColor(), RGB(0xFF, 0xFF, 0xFF));

    // A later skin changes no colour already read.
    s_listHost->access->Skin().LoadFromString(L"<skin><application><main><off><colors><background>000000</background>"
                                          L"</colors></off></main></application></skin>");
    view->OnEngineStateMessage(1, 0);
    EXPECT_EQ(view->GetListCtrl().GetBkColor(), RGB(0x40, 0x50, 0x60));
}

TEST_F(ListEventsTest, FirstColumnFollowsTheWidth) {
    const struct {
        int width;
        bool debugMode;
        int column;
    } cases[] = {{588, false, -1}, {589, false, 150}, {738, true, -1}, {739, true, 150}, {1000, false, 561}};
    for (const auto& c : cases)
        EXPECT_EQ(CBrunlowView::GetFirstColumnWidth(c.width, c.debugMode), c.column) << c.width;

    CListCtrl& list = view->GetListCtrl();
    const int before = list.GetColumnWidth(0);
    view->SetWindowPos(nullptr, 0, 0, 588, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(list.GetColumnWidth(0), before);
    view->SetWindowPos(nullptr, 0, 0, 589, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(list.GetColumnWidth(0), 150);
    view->SetWindowPos(nullptr, 0, 0, 800, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(list.GetColumnWidth(0), 361);
    EXPECT_FALSE(view->GetStyle() & WS_HSCROLL);
}

}  // namespace
