// The row tooltips: which text a cell gets, and that the tooltip is rebuilt
// only when the mouse enters another cell. Mouse moves are sent with the
// cell's point; the tooltip's tools are read back.
#include "RowTestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace KavennaEngine;
using DownloadsTests::RowTestHost;
using TestDoor::ItemSpec;

namespace {

class ItemTooltipsTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_tipHost = new RowTestHost; }
    static void TearDownTestSuite() {
        delete s_tipHost;
        s_tipHost = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_tipHost->view, nullptr);
        view = s_tipHost->view;
        ASSERT_NE(view->Tooltip().m_hWnd, nullptr);
        s_tipHost->Reset();
        MoveOutside();
    }
    void TearDown() override { s_tipHost->Reset(); }

    void MoveTo(CPoint point) { view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y)); }
    // Below every row.
    void MoveOutside() {
        CRect client;
        view->GetClientRect(client);
        MoveTo(CPoint(client.Width() / 2, client.bottom - 5));
    }
    // The tools of the view window: their texts.
    std::vector<std::wstring> Tools() {
        std::vector<std::wstring> texts;
        const auto& tools = view->Tooltip().GetTools();
        for (const auto& entry : tools)
            for (const CMarkupToolTip::Tool& tool : entry.second)
                texts.push_back(std::wstring(static_cast<const wchar_t*>(tool.text)));
        return texts;
    }

    static RowTestHost* s_tipHost;
    DownloadsTests::RowTestView* view = nullptr;
};
RowTestHost* ItemTooltipsTest::s_tipHost = nullptr;

TEST_F(ItemTooltipsTest, EachCellSaysWhatItDoesAndWhatADoubleClickDoes) {
    ItemSpec finished;
    finished.complete = true;
    ItemSpec downloading;
    downloading.downloadRunning = true;
    downloading.displayName = L"clip.flv";
    ItemSpec noDot = downloading;
    noDot.displayName = L"clip";
    ItemSpec converting;
    converting.stage = StageConversion;
    converting.conversionRunning = true;
    converting.convertedPath = L"C:\\videos\\clip.Mp4";
    ItemSpec copying;
    copying.stage = StageDeploy;
    copying.deployRunning = true;
    ItemSpec needsDownload;
    needsDownload.stage = StageConversion;
    needsDownload.downloadCode = ResultTransferFailed;
    ItemSpec failedConversion;
    failedConversion.stage = StageConversion;
    failedConversion.conversionCode = ResultTransferFailed;
    const struct {
        const char* name;
        ItemSpec spec;
        bool finished;
        int column;
        const wchar_t* text;  // null: no tool
    } cases[] = {
        {"finished, name", finished, true, 0, L"Double-click to play"},
        {"downloading, name", downloading, false, 0, L"Downloading to flv\nDouble-click to play"},
        {"downloading without extension, name", noDot, false, 0, L"Downloading to \nDouble-click to play"},
        {"converting, name", converting, false, 0, L"Converting to Mp4\n"},
        {"copying, name", copying, false, 0, L"Copy to player\n"},
        {"finished, progress", finished, true, 1, L"Double-click to play"},
        {"needs a new download, progress", needsDownload, true, 1, L"Double-click to download again"},
        {"conversion failed, progress", failedConversion, true, 1, L"Double-click to convert"},
        {"copying, progress", copying, false, 1, nullptr},
        {"converting, progress", converting, false, 1, L"Double-click to play"},
        {"finished, information", finished, true, 2, nullptr},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        s_tipHost->Reset();
        MoveOutside();
        s_tipHost->AddRow(test.spec, test.finished);
        const CPoint point = s_tipHost->CellCentre(0, test.column);
        ASSERT_GE(point.x, 0);
        MoveTo(point);
        EXPECT_EQ(view->HoverRow(), 0);
        EXPECT_EQ(view->HoverColumn(), test.column);
        if (test.text)
            EXPECT_EQ(Tools(), std::vector<std::wstring>{test.text});
        else
            EXPECT_TRUE(Tools().empty());
    }
}

TEST_F(ItemTooltipsTest, MovingWithinACellRebuildsNothing) {
    ItemSpec finished;
    finished.complete = true;
    s_tipHost->AddRow(finished, true);
    s_tipHost->AddRow(finished, true);
    const CPoint cell = s_tipHost->CellCentre(0, 0);
    MoveTo(cell);
    ASSERT_EQ(Tools().size(), 1u);
    // A tool of the test's own stays as long as the cell is not left.
    view->Tooltip().AddTool(view, L"marker", nullptr, 7);
    const std::vector<std::wstring> marked = Tools();
    ASSERT_NE(std::find(marked.begin(), marked.end(), L"marker"), marked.end());
    MoveTo(cell + CPoint(3, 1));
    EXPECT_EQ(Tools(), marked);

    // Another row: rebuilt.
    MoveTo(s_tipHost->CellCentre(1, 0));
    EXPECT_EQ(view->HoverRow(), 1);
    EXPECT_EQ(Tools(), std::vector<std::wstring>{L"Double-click to play"});

    // Outside any row: hidden, nothing new.
    MoveOutside();
    EXPECT_EQ(view->HoverRow(), -1);
    EXPECT_TRUE(Tools().empty());
    EXPECT_EQ(view->Tooltip().GetState(), CMarkupToolTip::Hidden);
}

TEST_F(ItemTooltipsTest, ARowWhoseItemIsGoneGetsNoText) {
    ItemSpec finished;
    finished.complete = true;
    CBrunlowView::RowPtr row = s_tipHost->AddRow(finished, true);
    s_tipHost->engine.door->LetItemGo(row->GetItem());
    EXPECT_EQ(view->GetTooltipTextForItem(CPoint(), 0, 0, 0), L"");
    EXPECT_EQ(view->GetTooltipTextForItem(CPoint(), 0, 5, 1), L"");
}

}  // namespace
