// The row tooltips: which text a cell gets, and that the tooltip is rebuilt
// only when the mouse enters another cell. Mouse moves are sent with the
// cell's point; the tooltip's tools are read back.
#include "RowTestHost.h"

#include "controls/tooltip/TooltipSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
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

// The mouse as the message loop brings it: the tooltip sees each message
// first (the view's PreTranslateMessage), then the view handles it. The
// tooltip's cursor, windows and timers are the test's while it lives.
class DrivenMouse {
public:
    explicit DrivenMouse(DownloadsTests::RowTestView* view) : m_view(view) {
        ControlsLib::TooltipFunctions functions;
        functions.getCursorPos = [this](POINT* point) {
            *point = m_cursor;
            return TRUE;
        };
        functions.windowFromPoint = [this](POINT) { return under ? under : m_view->m_hWnd; };
        functions.childWindowFromPointEx = [](HWND parent, POINT, UINT) { return parent; };
        functions.setTimer = [this](HWND, UINT_PTR id, UINT) {
            m_armed.push_back(id);
            return id;
        };
        functions.killTimer = [this](HWND, UINT_PTR id) {
            m_armed.erase(std::remove(m_armed.begin(), m_armed.end(), id), m_armed.end());
            return TRUE;
        };
        m_input = std::make_unique<ControlsLib::ScopedTooltipFunctions>(functions);
    }
    ~DrivenMouse() {
        m_view->Tooltip().RemoveAllTools(TRUE);
        m_input.reset();
    }

    // A message at a point of the view's client area; `toView` false: only
    // the tooltip sees it (the mouse is over another window).
    void Send(UINT message, CPoint point, bool toView = true) {
        m_cursor = point;
        m_view->ClientToScreen(&m_cursor);
        MSG msg = {m_view->m_hWnd, message, 0, MAKELPARAM(point.x, point.y), 0, m_cursor};
        m_view->PreTranslateMessage(&msg);
        if (toView)
            m_view->SendMessage(message, 0, MAKELPARAM(point.x, point.y));
    }
    // Runs the tooltip's armed timers of showing, as the next second would
    // (its hide timer is seconds away).
    void TimePasses() {
        for (int round = 0; round < 8; ++round) {
            const std::vector<UINT_PTR> armed = m_armed;
            bool ran = false;
            for (UINT_PTR id : armed) {
                if (id == CMarkupToolTip::TimerShow || id == CMarkupToolTip::TimerFadeIn) {
                    m_view->Tooltip().OnTimer(id);
                    ran = true;
                }
            }
            if (!ran)
                return;
        }
    }
    bool TipShown() const { return m_view->Tooltip().GetState() == CMarkupToolTip::Shown; }
    // The mouse rests on a point until what it points at shows.
    void RestOn(CPoint point) {
        Send(WM_MOUSEMOVE, point);
        Send(WM_MOUSEMOVE, point + CPoint(1, 0));
        TimePasses();
    }

    HWND under = nullptr;

private:
    DownloadsTests::RowTestView* m_view;
    POINT m_cursor = {0, 0};
    std::vector<UINT_PTR> m_armed;
    std::unique_ptr<ControlsLib::ScopedTooltipFunctions> m_input;
};

TEST_F(ItemTooltipsTest, ATipShowsOnlyOverTheCellItDescribes) {
    ItemSpec finished;
    finished.complete = true;
    s_tipHost->AddRow(finished, true);
    s_tipHost->AddRow(finished, true);
    DrivenMouse mouse(view);
    const CPoint firstName = s_tipHost->CellCentre(0, 0);
    ASSERT_GE(firstName.x, 0);
    mouse.RestOn(firstName);
    ASSERT_TRUE(mouse.TipShown());
    const auto& tools = view->Tooltip().GetTools();
    ASSERT_EQ(tools.count(view->m_hWnd), 1u);
    ASSERT_EQ(tools.at(view->m_hWnd).size(), 1u);
    CRect nameCell;
    view->GetListCtrl().GetItemRect(0, nameCell, LVIR_BOUNDS);
    nameCell.right = nameCell.left + view->GetListCtrl().GetColumnWidth(0);
    EXPECT_EQ(CRect(tools.at(view->m_hWnd)[0].rect), nameCell);

    // A menu or a dialog over the list: the mouse leaves the view for it,
    // and when it closes the mouse is over the list's empty part.
    mouse.Send(WM_RBUTTONDOWN, firstName, false);
    mouse.under = view->GetParent()->m_hWnd;
    mouse.Send(WM_MOUSEMOVE, CPoint(5, 5), false);
    mouse.under = nullptr;
    CRect client;
    view->GetClientRect(client);
    mouse.Send(WM_MOUSEMOVE, CPoint(client.Width() / 2, client.bottom - 5));
    mouse.TimePasses();
    EXPECT_FALSE(mouse.TipShown()) << "over the empty part of the list";

    // The tip of a row that goes while the mouse rests on it goes with it.
    mouse.RestOn(s_tipHost->CellCentre(1, 0));
    ASSERT_TRUE(mouse.TipShown());
    view->RemoveRow(1);
    mouse.TimePasses();
    EXPECT_FALSE(mouse.TipShown()) << "over the removed row's place";
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
