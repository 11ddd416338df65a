// Where the download list keeps the parts of its rows when the window's size
// changes and while rows come and go: the first column's width, the columns
// in which the list itself draws its texts and hit-tests, each row's bar and
// button in its progress cell, and the row tooltip's cell. Columns are
// measured by the header's widths, the one record of what the view set.
#include "downloads/resources/DownloadsResources.h"
#include "downloads/view/BrunlowView.h"

#include "ListHost.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace KavennaEngine;
using DownloadsTests::BarInCell;
using DownloadsTests::ButtonInCell;
using DownloadsTests::InParent;
using DownloadsTests::ListHost;
using DownloadsTests::NearColour;
using DownloadsTests::RepaintList;

namespace {

class LayoutView : public CBrunlowView {
    DECLARE_DYNCREATE(LayoutView)
public:
    using CBrunlowView::OnEngineStateMessage;
    int HoverRow() const { return m_hoverRow; }
    int HoverColumn() const { return m_hoverColumn; }
    CMarkupToolTip& Tooltip() { return m_tooltip; }
};
IMPLEMENT_DYNCREATE(LayoutView, CBrunlowView)

// The list's text colour with the engine off (the skin of ListHost).
const COLORREF kOffText = RGB(0xA0, 0xB0, 0xC0);

// The frame's size between tests.
const CSize kNormal(900, 560);

class ListLayoutTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_layoutHost = new ListHost(RUNTIME_CLASS(LayoutView), false, false, kNormal); }
    static void TearDownTestSuite() {
        delete s_layoutHost;
        s_layoutHost = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_layoutHost->view, nullptr);
        view = static_cast<LayoutView*>(s_layoutHost->view);
        door = s_layoutHost->engine.door;
        s_layoutHost->settings->SetAutomaticConversion(false);
        view->OnEngineStateMessage(EngineOff, 0);
    }
    void TearDown() override {
        while (!view->GetRowRecords().empty())
            view->RemoveRow(0);
        s_layoutHost->frame->ShowWindow(SW_RESTORE);
        Resize(kNormal);
    }

    static void Resize(CSize size) {
        s_layoutHost->frame->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // A row at the top over a new item of the stand-in.
    DownloadItemHandle Start(TestDoor::ItemSpec spec = {}) {
        if (spec.displayName.empty())
            spec.displayName = L"clip.flv";
        spec.mediaKind = 1;
        spec.downloadRunning = !spec.complete && spec.resultCode == ResultComplete && spec.stage == StageDownload;
        const DownloadItemHandle item = door->AddItem(spec);
        view->OnProcessingStarted(DownloadsTests::ListEntry(item));
        return item;
    }
    void Finish(const DownloadItemHandle& item, TestDoor::ItemSpec spec) {
        if (spec.displayName.empty())
            spec.displayName = L"clip.flv";
        spec.mediaKind = 1;
        spec.downloadRunning = false;
        ASSERT_TRUE(door->ChangeItem(item, spec));
        view->OnProcessingFinished(DownloadsTests::ListEntry(item));
    }

    // Columns as the header has them, in client coordinates.
    int ColumnLeft(int column) {
        int left = 0;
        for (int c = 0; c < column; ++c)
            left += view->GetListCtrl().GetColumnWidth(c);
        return left;
    }
    CRect HeaderCell(int row, int column) {
        CRect item;
        view->GetListCtrl().GetItemRect(row, item, LVIR_BOUNDS);
        const int left = ColumnLeft(column);
        return CRect(left, item.top, left + view->GetListCtrl().GetColumnWidth(column), item.bottom);
    }

    static ListHost* s_layoutHost;
    LayoutView* view = nullptr;
    TestDoor::ITestDoor* door = nullptr;
};
ListHost* ListLayoutTest::s_layoutHost = nullptr;

TEST_F(ListLayoutTest, EverySizeKeepsColumnsTextsBarsButtonsAndTipsTogether) {
    TestDoor::ItemSpec done;
    done.complete = true;
    const DownloadItemHandle finished = Start();
    Finish(finished, done);
    Start();
    Start();
    view->GetRow(0)->SetPos(60);
    // Rows: two running ones, then the finished one with its status and convert button.
    ASSERT_EQ(view->FindRowByItem(finished), 2);
    const std::wstring status = std::wstring(view->GetListCtrl().GetItemText(2, 1));
    ASSERT_EQ(status, L"Download finished");

    enum Change { Wide, Maximised, Restored, Narrow, Normal };
    const struct {
        const char* name;
        Change change;
    } steps[] = {{"wide", Wide}, {"maximised", Maximised}, {"restored", Restored}, {"narrow", Narrow},
                 {"normal", Normal}};
    CListCtrl& list = view->GetListCtrl();
    int firstColumn = list.GetColumnWidth(0);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        switch (step.change) {
        case Wide:
            Resize(CSize(kNormal.cx + 300, kNormal.cy));
            break;
        case Maximised:
            s_layoutHost->frame->ShowWindow(SW_MAXIMIZE);
            break;
        case Restored:
            s_layoutHost->frame->ShowWindow(SW_RESTORE);
            break;
        case Narrow:
            Resize(CSize(520, kNormal.cy));
            break;
        case Normal:
            Resize(kNormal);
            break;
        }
        RepaintList(view);
        CRect window, client;
        view->GetWindowRect(&window);
        view->GetClientRect(&client);
        // The first column follows the width; too narrow a window keeps it.
        const int wanted = CBrunlowView::GetFirstColumnWidth(window.Width(), false);
        if (wanted >= 0)
            firstColumn = wanted;
        EXPECT_EQ(list.GetColumnWidth(0), firstColumn) << "view " << window.Width() << " wide";
        if (step.change == Wide || step.change == Maximised)
            EXPECT_FALSE(Testing::SaveWindowPicture(s_layoutHost->frame->m_hWnd,
                                                    std::wstring(L"DownloadListAfterResize_") +
                                                        (step.change == Wide ? L"Wide" : L"Maximised"))
                             .empty());
        std::vector<Testing::Bgra> pixels;
        int width = 0, height = 0;
        pixels = Testing::CaptureClient(view->m_hWnd, width, height);
        ASSERT_FALSE(pixels.empty());
        const auto textPixels = [&](CRect rect) {
            rect.IntersectRect(rect, CRect(0, 0, width, height));
            int count = 0;
            for (int y = rect.top; y < rect.bottom; ++y)
                for (int x = rect.left; x < rect.right; ++x) {
                    const Testing::Bgra& p = pixels[static_cast<size_t>(y) * width + x];
                    count += NearColour(RGB(p.red, p.green, p.blue), kOffText, 24);
                }
            return count;
        };

        for (int row = 0; row < 3; ++row) {
            SCOPED_TRACE(row);
            // The list draws and hit-tests in the header's columns.
            for (int column = 1; column < 3; ++column) {
                CRect cell;
                list.GetSubItemRect(row, column, LVIR_BOUNDS, cell);
                EXPECT_EQ(cell, HeaderCell(row, column)) << "column " << column;
            }
            const CRect progressCell = HeaderCell(row, 1);
            LVHITTESTINFO hit = {};
            hit.pt = CPoint(progressCell.left + 3, progressCell.CenterPoint().y);
            view->SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            EXPECT_EQ(hit.iItem, row);
            EXPECT_EQ(hit.iSubItem, 1);

            const CBrunlowView::RowPtr pRow = view->GetRow(row);
            const bool isFinished = row == 2;
            EXPECT_EQ(pRow->IsWindowVisible() != FALSE, !isFinished);
            if (!isFinished)
                EXPECT_EQ(InParent(*pRow), BarInCell(progressCell));
            EXPECT_TRUE(pRow->GetButton().IsWindowVisible());
            EXPECT_EQ(InParent(pRow->GetButton()), ButtonInCell(progressCell));
        }

        // The finished row's status stands in its progress cell, and
        // nothing of it in the name cell beside it.
        const CRect statusCell = HeaderCell(2, 1);
        if (statusCell.left + 60 < client.right) {
            EXPECT_GT(textPixels(CRect(statusCell.left, statusCell.top, statusCell.left + 60, statusCell.bottom)), 10);
            const CRect nameTail(statusCell.left - 120, statusCell.top, statusCell.left, statusCell.bottom);
            EXPECT_EQ(textPixels(nameTail), 0);
        }

        // The tooltip of the progress cell, over that cell alone.
        const CPoint inCell(statusCell.left + 8, statusCell.CenterPoint().y);
        if (inCell.x < client.right) {
            view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(inCell.x, inCell.y));
            EXPECT_EQ(view->HoverRow(), 2);
            EXPECT_EQ(view->HoverColumn(), 1);
            const auto& tools = view->Tooltip().GetTools();
            const auto found = tools.find(view->m_hWnd);
            ASSERT_TRUE(found != tools.end() && found->second.size() == 1u);
            CRect expected;
            expected.IntersectRect(statusCell, client);
            EXPECT_EQ(CRect(found->second[0].rect), expected);
            // Leaving it: the tip goes.
            view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(client.right - 2, client.bottom - 2));
            EXPECT_TRUE(view->Tooltip().GetTools().empty());
        }
    }
}

// A finished row's button is where its row is and as every paint shows it:
// the finish decides it once, and rows added above take it along at once.
TEST_F(ListLayoutTest, AFinishedRowsButtonStaysWithItsRowBetweenPaints) {
    TestDoor::ItemSpec complete;
    complete.complete = true;
    TestDoor::ItemSpec failed;
    failed.resultCode = failed.downloadCode = ResultTransferFailed;
    TestDoor::ItemSpec needsDownload;
    needsDownload.stage = StageConversion;
    needsDownload.resultCode = needsDownload.downloadCode = ResultTransferFailed;
    TestDoor::ItemSpec conversionFailed;
    conversionFailed.stage = StageConversion;
    conversionFailed.resultCode = conversionFailed.conversionCode = ResultTransferFailed;
    const struct {
        const char* name;
        TestDoor::ItemSpec spec;
        bool button;
    } cases[] = {
        {"download complete: convert", complete, true},
        {"download failed: none", failed, false},
        // Both go on to the copy stage, where the questions the finish
        // asked would now be answered otherwise.
        {"download to repeat: download again", needsDownload, true},
        {"conversion failed: the copy", conversionFailed, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        while (!view->GetRowRecords().empty())
            view->RemoveRow(0);
        Start();
        const DownloadItemHandle item = Start();
        RepaintList(view);
        Finish(item, c.spec);
        const CBrunlowView::RowPtr row = view->GetRow(0);
        CSkinButton& button = row->GetButton();
        EXPECT_EQ(button.IsWindowVisible() != FALSE, c.button) << "after the finish";
        RepaintList(view);
        EXPECT_EQ(button.IsWindowVisible() != FALSE, c.button) << "after a paint";
        if (c.button)
            EXPECT_EQ(InParent(button), ButtonInCell(HeaderCell(0, 1)));

        // Two rows come above it; no paint yet.
        Start();
        Start();
        ASSERT_EQ(view->FindRowByItem(item), 2);
        EXPECT_EQ(button.IsWindowVisible() != FALSE, c.button) << "rows added";
        if (c.button)
            EXPECT_EQ(InParent(button), ButtonInCell(HeaderCell(2, 1))) << "rows added";
        for (int index = 0; index < 4; ++index) {
            SCOPED_TRACE(index);
            const CBrunlowView::RowPtr each = view->GetRow(index);
            if (each->GetButton().IsWindowVisible())
                EXPECT_EQ(InParent(each->GetButton()), ButtonInCell(HeaderCell(index, 1)));
            if (each->IsWindowVisible())
                EXPECT_EQ(InParent(*each), BarInCell(HeaderCell(index, 1)));
        }
        RepaintList(view);
        EXPECT_EQ(button.IsWindowVisible() != FALSE, c.button) << "after the next paint";
    }
}

}  // namespace
