// How the download list looks on the screen: its rows' bars and buttons in
// the progress cell, rows scrolled out of sight, and the empty list's picture,
// heading and comment in the skin's colours. Pixels are read back through
// the view's own DC (the painter draws through a client DC); text pixels
// with a tolerance.
#include "downloads/resources/DownloadsResources.h"
#include "downloads/view/BrunlowView.h"

#include "ListHost.h"
#include "testing/ChildProcess.h"
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

class PaintedView : public CBrunlowView {
    DECLARE_DYNCREATE(PaintedView)
public:
    using CBrunlowView::OnEngineStateMessage;
};
IMPLEMENT_DYNCREATE(PaintedView, CBrunlowView)

// A bitmap resource of the test program, as it holds it.
class ResourceBitmap {
public:
    explicit ResourceBitmap(UINT id) {
        const HBITMAP bitmap = static_cast<HBITMAP>(
            ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP info = {};
        if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info))
            return;
        m_width = info.bmWidth;
        m_height = info.bmHeight;
        CDC memory;
        memory.CreateCompatibleDC(nullptr);
        const HGDIOBJ previous = ::SelectObject(memory.GetSafeHdc(), bitmap);
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                m_pixels.push_back(::GetPixel(memory.GetSafeHdc(), x, y));
        ::SelectObject(memory.GetSafeHdc(), previous);
        ::DeleteObject(bitmap);
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};

// The view's client area as it painted itself.
class ShownPicture {
public:
    explicit ShownPicture(CWnd* view) {
        RepaintList(view);
        m_pixels = Testing::CaptureClient(view->m_hWnd, m_width, m_height);
    }
    bool Empty() const { return m_pixels.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // In client coordinates.
    COLORREF At(int x, int y) const {
        const Testing::Bgra& p = m_pixels[static_cast<size_t>(y) * m_width + x];
        return RGB(p.red, p.green, p.blue);
    }
    // Pixels of `rect` (clipped to the client area) within `tolerance` of `color` in every channel.
    int Count(CRect rect, COLORREF color, int tolerance = 0) const {
        rect.IntersectRect(rect, CRect(0, 0, m_width, m_height));
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                count += NearColour(At(x, y), color, tolerance);
        return count;
    }
    // Pixels of the bitmap (its white left out) shown as they are where a
    // row button centres it in `button`.
    int CountShown(const CRect& button, const ResourceBitmap& bitmap) const {
        const CPoint corner(button.left + (button.Width() - bitmap.Width()) / 2,
                            button.top + (button.Height() - bitmap.Height()) / 2);
        int count = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) {
                const CPoint at = corner + CPoint(x, y);
                if (bitmap.At(x, y) != RGB(255, 255, 255) && at.x >= 0 && at.y >= 0 && at.x < m_width &&
                    at.y < m_height)
                    count += At(at.x, at.y) == bitmap.At(x, y);
            }
        return count;
    }

private:
    std::vector<Testing::Bgra> m_pixels;
    int m_width = 0;
    int m_height = 0;
};

// The colours of the empty list's skin (engine off).
const COLORREF kOffBackground = RGB(0x40, 0x50, 0x60);
const COLORREF kOffText = RGB(0xA0, 0xB0, 0xC0);
const COLORREF kOffHeading = RGB(0xFF, 0x00, 0x00);
const COLORREF kOffHeadingShadow = RGB(0x40, 0x00, 0x00);

class ListPaintingTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_listHost = new ListHost(RUNTIME_CLASS(PaintedView), false, false, CSize(900, 560));
    }
    static void TearDownTestSuite() {
        delete s_listHost;
        s_listHost = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_listHost->view, nullptr);
        view = static_cast<PaintedView*>(s_listHost->view);
        door = s_listHost->engine.door;
        s_listHost->settings->SetAutomaticConversion(false);
        // The engine's stand-in starts off.
        ASSERT_EQ(s_listHost->engine.pEngine->GetState(), EngineOff);
        view->OnEngineStateMessage(EngineOff, 0);
    }
    void TearDown() override {
        while (!view->GetRowRecords().empty())
            view->RemoveRow(0);
    }

    DownloadItemHandle Start(TestDoor::ItemSpec spec = {}) {
        spec.displayName = L"clip.flv";
        spec.mediaKind = 1;
        spec.downloadRunning = true;
        const DownloadItemHandle item = door->AddItem(spec);
        view->OnProcessingStarted(DownloadsTests::ListEntry(item));
        return item;
    }
    // A download that failed: neither goes on nor is downloaded again.
    void FinishFailed(const DownloadItemHandle& item) {
        TestDoor::ItemSpec spec;
        spec.displayName = L"clip.flv";
        spec.mediaKind = 1;
        spec.resultCode = spec.downloadCode = ResultTransferFailed;
        ASSERT_TRUE(door->ChangeItem(item, spec));
        view->OnProcessingFinished(DownloadsTests::ListEntry(item));
    }
    CRect Cell(int index) {
        CRect cell;
        view->GetListCtrl().GetSubItemRect(index, CBrunlowView::ColumnProgress, LVIR_BOUNDS, cell);
        return cell;
    }
    // The row button's square at the right end of the cell.
    CRect ButtonRect(int index) {
        return ButtonInCell(Cell(index));
    }

    static ListHost* s_listHost;
    PaintedView* view = nullptr;
    TestDoor::ITestDoor* door = nullptr;
};
ListHost* ListPaintingTest::s_listHost = nullptr;

TEST_F(ListPaintingTest, BarAndButtonSitInTheProgressCell) {
    for (int i = 0; i < 3; ++i)
        Start();
    view->GetRow(0)->SetPos(40);
    const DownloadItemHandle finished = Start();
    TestDoor::ItemSpec done;
    done.displayName = L"clip.flv";
    done.mediaKind = 1;
    done.complete = true;
    ASSERT_TRUE(door->ChangeItem(finished, done));
    view->OnProcessingFinished(DownloadsTests::ListEntry(finished));
    // Rows: the finished one (convert button), then three running ones.
    const ShownPicture picture(view);
    ASSERT_FALSE(picture.Empty());
    Testing::SaveWindowPicture(s_listHost->frame->m_hWnd, L"DownloadListRows");

    const ResourceBitmap stop(IDB_ROW_STOP), convert(IDB_ROW_CONVERT);
    for (int index = 0; index < 4; ++index) {
        SCOPED_TRACE(index);
        const CBrunlowView::RowPtr row = view->GetRow(index);
        const CRect cell = Cell(index);
        const CRect button = ButtonRect(index);
        EXPECT_EQ(InParent(row->GetButton()), button);
        EXPECT_TRUE(row->GetButton().IsWindowVisible());
        EXPECT_GT(picture.CountShown(button, index == 0 ? convert : stop), 60);
        if (index == 0) {
            EXPECT_FALSE(row->IsWindowVisible());
            continue;
        }
        const CRect bar = BarInCell(cell);
        EXPECT_EQ(InParent(*row), bar);
        EXPECT_TRUE(row->IsWindowVisible());
        // At 40 of 100 the left fifth is filled and the right fifth is not.
        const int y = bar.CenterPoint().y;
        const COLORREF filled = picture.At(bar.left + bar.Width() / 5, y);
        const COLORREF empty = picture.At(bar.right - bar.Width() / 5, y);
        if (index == 1) {
            EXPECT_NE(filled, empty);
            EXPECT_EQ(picture.At(bar.left + bar.Width() / 10, y), filled);
        } else {
            EXPECT_EQ(filled, empty);
        }
    }
}

TEST_F(ListPaintingTest, RowsAboveTheTopHideBothControls) {
    // Enough rows to scroll; the two newest, at the top, are a failed one and a running one.
    for (int i = 0; i < 12; ++i)
        Start();
    const DownloadItemHandle running = Start();
    const DownloadItemHandle failed = Start();
    FinishFailed(failed);
    ASSERT_EQ(view->FindRowByItem(failed), 0);
    const CBrunlowView::RowPtr failedRow = view->GetRow(0);
    const CBrunlowView::RowPtr runningRow = view->GetRow(1);
    RepaintList(view);
    EXPECT_FALSE(failedRow->IsWindowVisible());
    EXPECT_FALSE(failedRow->GetButton().IsWindowVisible());
    EXPECT_TRUE(runningRow->IsWindowVisible());
    EXPECT_TRUE(runningRow->GetButton().IsWindowVisible());

    CListCtrl& list = view->GetListCtrl();
    list.SendMessage(LVM_SCROLL, 0, Cell(3).top - Cell(0).top);
    RepaintList(view);
    ASSERT_LT(Cell(1).top, 0);
    for (const auto& row : {failedRow, runningRow}) {
        EXPECT_FALSE(row->IsWindowVisible());
        EXPECT_FALSE(row->GetButton().IsWindowVisible());
        EXPECT_FALSE(row->IsProgressShown());
    }
    // The first row in sight keeps its controls.
    const int firstShown = list.GetTopIndex();
    ASSERT_GE(firstShown, 2);
    EXPECT_TRUE(view->GetRow(firstShown)->IsWindowVisible());

    // Back in sight: only the unfinished row shows its bar and button again.
    list.EnsureVisible(0, FALSE);
    RepaintList(view);
    ASSERT_EQ(list.GetTopIndex(), 0);
    EXPECT_TRUE(runningRow->IsWindowVisible());
    EXPECT_TRUE(runningRow->GetButton().IsWindowVisible());
    EXPECT_FALSE(failedRow->IsWindowVisible());
    EXPECT_FALSE(failedRow->GetButton().IsWindowVisible());
    const ShownPicture picture(view);
    const ResourceBitmap stop(IDB_ROW_STOP);
    EXPECT_EQ(picture.CountShown(ButtonRect(0), stop), 0);
    EXPECT_GT(picture.CountShown(ButtonRect(1), stop), 60);
}

TEST_F(ListPaintingTest, TheListNeverScrollsSideways) {
    for (int i = 0; i < 3; ++i)
        Start();
    CListCtrl& list = view->GetListCtrl();
    const int width = list.GetColumnWidth(0);
    list.SetColumnWidth(0, 2000);
    view->ModifyStyle(0, WS_HSCROLL);
    view->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_FALSE(view->GetStyle() & WS_HSCROLL);
    CRect window, client;
    view->GetWindowRect(&window);
    view->GetClientRect(&client);
    // No scroll bar takes the bottom of the window.
    EXPECT_LT(window.Height() - client.Height(), ::GetSystemMetrics(SM_CYHSCROLL));
    list.SetColumnWidth(0, width);
}

// The empty list's parts, in client coordinates of a view `width` wide.
struct EmptyListLayout {
    explicit EmptyListLayout(int width, int pictureSize) : d(width / 12) {
        picture = CRect(d, d, d + pictureSize, d + pictureSize);
        heading = CRect(d + pictureSize + 20 - 1, d + 10 - 1, width - d, d + 10 + 30);
        comment = CRect(d + pictureSize + 20, d + 10 - 1 + 40, width - d, d + 10 + 40 + 60);
    }
    int d;
    CRect picture, heading, comment;
};

TEST_F(ListPaintingTest, EmptyListShowsPictureHeadingAndCommentAgainAfterTheLastRow) {
    const ResourceBitmap bitmap(IDB_EMPTY_LIST);
    ASSERT_GT(bitmap.Width(), 0);
    const ShownPicture first(view);
    const EmptyListLayout layout(first.Width(), bitmap.Width());
    ASSERT_GT(first.Count(layout.heading, kOffHeading), 0);

    Start();
    const ShownPicture withRow(view);
    EXPECT_EQ(withRow.Count(layout.heading, kOffHeading), 0);
    EXPECT_EQ(withRow.Count(layout.heading, kOffHeadingShadow), 0);

    view->RemoveRow(0);
    const ShownPicture picture(view);
    Testing::SaveWindowPicture(s_listHost->frame->m_hWnd, L"EmptyDownloadList");
    const COLORREF background = static_cast<COLORREF>(view->SendMessage(LVM_GETBKCOLOR));
    EXPECT_EQ(background, kOffBackground);
    EXPECT_EQ(picture.At(2, 2), background);
    EXPECT_EQ(picture.At(picture.Width() - 3, picture.Height() - 3), background);

    // Bitmap 144 at (width / 12, width / 12), its white left out.
    int wrong = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const COLORREF source = bitmap.At(x, y);
            const COLORREF expected = source == RGB(255, 255, 255) ? background : source;
            wrong += picture.At(layout.picture.left + x, layout.picture.top + y) != expected;
        }
    EXPECT_EQ(wrong, 0);

    // The heading in its colour with its shadow one pixel right of and below it.
    EXPECT_GT(picture.Count(layout.heading, kOffHeading), 30);
    int shadowBelowRight = 0, shadowAboveLeft = 0;
    for (int y = layout.heading.top + 1; y < layout.heading.bottom - 1; ++y)
        for (int x = layout.heading.left + 1; x < layout.heading.right - 1; ++x) {
            if (picture.At(x, y) != kOffHeading)
                continue;
            shadowBelowRight += picture.At(x + 1, y + 1) == kOffHeadingShadow;
            shadowAboveLeft += picture.At(x - 1, y - 1) == kOffHeadingShadow;
        }
    EXPECT_GT(shadowBelowRight, 5);
    EXPECT_GT(shadowBelowRight, shadowAboveLeft * 3);
    // The comment below it in the text colour; nothing of it left of the heading.
    EXPECT_GT(picture.Count(layout.comment, kOffText, 24), 30);
    EXPECT_EQ(picture.Count(CRect(0, layout.picture.bottom + 1, layout.d - 1, picture.Height()), kOffText, 24), 0);
}

TESTING_CHILD_SCENARIO(ListColoursStayWhenTheSkinFileChanges) {
    ListHost host(RUNTIME_CLASS(PaintedView));
    auto* view = static_cast<PaintedView*>(host.view);
    if (!view)
        return 2;
    const ShownPicture before(view);
    if (before.Empty() || before.At(2, 2) != kOffBackground)
        return 3;
    // Another skin on disk, read again by the application.
    host.skinFolder.WriteFile(L"Skin.xml",
                              "<skin><application><main><off><colors><background>00FFFF</background>"
                              "<text>000000</text><heading>0000FF</heading><headingShadow>000000</headingShadow>"
                              "</colors></off></main></application></skin>");
    host.access->Skin().Reload(host.skinPath.c_str(), false);
    view->OnEngineStateMessage(EngineOff, 0);
    const ShownPicture after(view);
    if (view->GetListCtrl().GetBkColor() != kOffBackground || after.At(2, 2) != kOffBackground)
        return 4;
    const EmptyListLayout layout(after.Width(), 64);
    return after.Count(layout.heading, kOffHeading) > 30 && after.Count(layout.heading, RGB(0, 0, 0xFF)) == 0 ? 0
                                                                                                            : 5;
}

TEST_F(ListPaintingTest, ASkinFileChangedAfterTheFirstReadChangesNoColour) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("ListColoursStayWhenTheSkinFileChanges")));
}

// A style file without the list's colours (lost, broken, another root): the
// empty list paints in the shipped style's colours, never black, its
// heading and comment readable against them.
TESTING_CHILD_SCENARIO(EmptyListWithoutStyleColours) {
    ListHost host(RUNTIME_CLASS(PaintedView), false, false, CSize(900, 500), "<style><application/></style>");
    auto* view = static_cast<PaintedView*>(host.view);
    if (!view)
        return 2;
    view->OnEngineStateMessage(EngineOff, 0);
    const ShownPicture picture(view);
    Testing::SaveWindowPicture(host.frame->m_hWnd, L"EmptyDownloadListWithoutStyle");
    const COLORREF background = CBrunlowView::GetDefaultSkinColor(CBrunlowView::ColorOffBackground);
    if (picture.Empty() || picture.At(2, 2) != background || background == RGB(0, 0, 0))
        return 3;
    const EmptyListLayout layout(picture.Width(), 64);
    if (picture.Count(layout.heading, CBrunlowView::GetDefaultSkinColor(CBrunlowView::ColorOffHeading)) <= 30)
        return 4;
    if (picture.Count(layout.comment, CBrunlowView::GetDefaultSkinColor(CBrunlowView::ColorOffText), 24) <= 30)
        return 5;
    return 0;
}

TEST_F(ListPaintingTest, WithoutTheStylesColoursTheEmptyListTakesTheShippedOnes) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("EmptyListWithoutStyleColours")));
}

// The first column in debug mode: the fourth column's 150 pixels come off too.
TESTING_CHILD_SCENARIO(FirstColumnInDebugMode) {
    ListHost host(RUNTIME_CLASS(PaintedView), true);
    if (!host.view)
        return 2;
    CListCtrl& list = host.view->GetListCtrl();
    const int before = list.GetColumnWidth(0);
    host.view->SetWindowPos(nullptr, 0, 0, 738, 300, SWP_NOMOVE | SWP_NOZORDER);
    if (list.GetColumnWidth(0) != before)
        return 3;
    host.view->SetWindowPos(nullptr, 0, 0, 739, 300, SWP_NOMOVE | SWP_NOZORDER);
    if (list.GetColumnWidth(0) != 150)
        return 4;
    host.view->SetWindowPos(nullptr, 0, 0, 1000, 300, SWP_NOMOVE | SWP_NOZORDER);
    return list.GetColumnWidth(0) == 411 ? 0 : 5;
}

TEST_F(ListPaintingTest, FirstColumnInDebugModeNeeds739Pixels) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("FirstColumnInDebugMode")));
}

}  // namespace
