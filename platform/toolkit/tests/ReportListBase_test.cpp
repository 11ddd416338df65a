#include "toolkit/QE806.h"

#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

namespace {

// A view whose map chains to the toolkit list's, as the program's list does.
class ChainedList : public QE806 {
public:
    int ownPaints = 0;

protected:
    afx_msg void OnTimer(UINT_PTR) {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ChainedList, QE806)
    ON_WM_TIMER()
END_MESSAGE_MAP()

// A view with its own WM_PAINT that hands the rows to the toolkit's routine.
class OwnPaintList : public QE806 {
public:
    int ownPaints = 0;

protected:
    afx_msg void OnPaint() {
        ++ownPaints;
        PaintList();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(OwnPaintList, QE806)
    ON_WM_PAINT()
END_MESSAGE_MAP()

const COLORREF kBackground = RGB(200, 30, 40);
const COLORREF kText = RGB(0, 0, 0);

class ReportListBase : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"Report list", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                      nullptr, nullptr));
    }
    void TearDown() override { m_parent.DestroyWindow(); }  // the views delete themselves with their windows

    template <class List>
    List* MakeList() {
        auto* list = new List;
        CRect client;
        m_parent.GetClientRect(&client);
        if (!list->Create(nullptr, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, client, &m_parent, 1)) {
            delete list;
            return nullptr;
        }
        list->GetListCtrl().InsertColumn(0, L"Name", LVCFMT_LEFT, 200);
        list->GetListCtrl().InsertItem(0, L"WWWWWWWWWW");
        list->SetBackgroundColor(kBackground);
        list->SetColors(kText, kBackground);
        return list;
    }

    // The list's pixels as it painted them.
    static std::vector<Testing::Bgra> Picture(CWnd* list, int& width, int& height) {
        list->Invalidate();
        list->UpdateWindow();
        return Testing::CaptureWindow(list->m_hWnd, width, height);
    }

    CWnd m_parent;
};

TEST_F(ReportListBase, ColoursReachTheListControl) {
    QE806 detached;
    detached.SetColors(kText, kBackground);  // no window: nothing to do, no failure
    detached.SetBackgroundColor(kBackground);

    QE806* list = MakeList<QE806>();
    ASSERT_NE(list, nullptr);
    list->SetColors(RGB(1, 2, 3), RGB(4, 5, 6));
    list->SetBackgroundColor(RGB(7, 8, 9));
    EXPECT_EQ(COLORREF(list->SendMessage(LVM_GETTEXTCOLOR)), RGB(1, 2, 3));
    EXPECT_EQ(COLORREF(list->SendMessage(LVM_GETTEXTBKCOLOR)), RGB(4, 5, 6));
    EXPECT_EQ(COLORREF(list->SendMessage(LVM_GETBKCOLOR)), RGB(7, 8, 9));

    list->SetListOption(0x4, TRUE);
    list->SetListOption(0x1, TRUE);
    list->SetListOption(0x4, FALSE);
    EXPECT_EQ(list->GetListOptions(), 0x1u);
}

TEST_F(ReportListBase, PaintsRowsOverItsBackgroundThroughEitherMap) {
    ChainedList* chained = MakeList<ChainedList>();
    ASSERT_NE(chained, nullptr);
    int width = 0, height = 0;
    auto check = [&](CWnd* list, const wchar_t* name) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        const std::vector<Testing::Bgra> pixels = Picture(list, width, height);
        ASSERT_EQ(pixels.size(), size_t(width) * height);
        ASSERT_GT(height, 60);
        // Below the only row: the background colour.
        const Testing::Bgra empty = pixels[size_t(height - 10) * width + width / 2];
        EXPECT_EQ(RGB(empty.red, empty.green, empty.blue), kBackground);
        // The row's text: dark pixels in its first line.
        CRect row;
        ASSERT_TRUE(ListView_GetItemRect(list->m_hWnd, 0, &row, LVIR_LABEL));
        int dark = 0;
        for (int y = row.top; y < row.bottom; ++y)
            for (int x = row.left; x < row.right; ++x) {
                const Testing::Bgra& p = pixels[size_t(y) * width + x];
                dark += p.red < 100 && p.green < 100 && p.blue < 100;
            }
        EXPECT_GT(dark, 10);
        // Painting validated the window.
        EXPECT_FALSE(GetUpdateRect(list->m_hWnd, nullptr, FALSE));
        Testing::SaveWindowPicture(list->m_hWnd, name);
    };
    check(chained, L"ReportListChained");
    chained->DestroyWindow();

    OwnPaintList* own = MakeList<OwnPaintList>();
    ASSERT_NE(own, nullptr);
    check(own, L"ReportListOwnPaint");
    EXPECT_GE(own->ownPaints, 1);
}

}  // namespace
