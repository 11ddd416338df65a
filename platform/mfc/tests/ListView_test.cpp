// The list view as the view of a frame, and its list and header controls.
#include "afxcview.h"
#include "afxwin.h"

#include "MfcTestResources.h"
#include "MfcTestSupport.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace MfcTests;

namespace {

class CListDoc : public CDocument {
    DECLARE_DYNCREATE(CListDoc)
};
IMPLEMENT_DYNCREATE(CListDoc, CDocument)

struct EditRecord {
    int beginCount = 0;
    int item = -1;
    BOOL refuse = FALSE;
};
EditRecord g_edit;

class CTestListView : public CListView {
    DECLARE_DYNCREATE(CTestListView)
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override {
        cs.style |= LVS_REPORT | LVS_EDITLABELS | LVS_SHOWSELALWAYS;
        return CListView::PreCreateWindow(cs);
    }

protected:
    afx_msg void OnBeginLabelEdit(NMHDR* header, LRESULT* pResult) {
        ++g_edit.beginCount;
        g_edit.item = reinterpret_cast<NMLVDISPINFOW*>(header)->item.iItem;
        *pResult = g_edit.refuse;
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestListView, CListView)
BEGIN_MESSAGE_MAP(CTestListView, CListView)
    ON_NOTIFY_REFLECT(LVN_BEGINLABELEDITW, &CTestListView::OnBeginLabelEdit)
END_MESSAGE_MAP()

class ListViewTest : public testing::Test {
protected:
    void SetUp() override {
        g_edit = EditRecord();
        app.AddDocTemplate(new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CListDoc), RUNTIME_CLASS(CFrameWnd),
                                                  RUNTIME_CLASS(CTestListView)));
        CCommandLineInfo info;
        ASSERT_TRUE(app.ProcessShellCommand(info));
        CFrameWnd* frame = app.MainFrame();
        ASSERT_NE(frame, nullptr);
        frame->SetWindowPos(nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        view = dynamic_cast<CTestListView*>(frame->GetActiveView());
        ASSERT_NE(view, nullptr);
        list = &view->GetListCtrl();
        ASSERT_EQ(list->InsertColumn(0, L"Name", LVCFMT_LEFT, 150), 0);
        ASSERT_EQ(list->InsertColumn(1, L"Progress", LVCFMT_LEFT, 120), 1);
        ASSERT_EQ(list->InsertColumn(2, L"Information", LVCFMT_LEFT, 100), 2);
    }

    CTemplateTestApp app{L"List View Test"};
    CTestListView* view = nullptr;
    CListCtrl* list = nullptr;
};

TEST_F(ListViewTest, IsAReportListWithTheViewsStyles) {
    EXPECT_EQ(CWnd::FromHandlePermanent(view->m_hWnd), view);
    wchar_t className[32] = {};
    GetClassNameW(view->m_hWnd, className, 32);
    EXPECT_STREQ(className, WC_LISTVIEWW);
    const DWORD style = view->GetStyle();
    EXPECT_EQ(style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    // The view's border is its client edge.
    EXPECT_FALSE(style & WS_BORDER);
    EXPECT_TRUE(view->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_EQ(list->GetHeaderCtrl()->GetItemCount(), 3);
}

TEST_F(ListViewTest, ItemsInsertedAtTheTopReadBackWholly) {
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 1));
    HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    for (int i = 0; i < 4; ++i)
        images.Add(icon);
    EXPECT_EQ(list->SetImageList(&images, LVSIL_SMALL), nullptr);
    EXPECT_EQ(list->GetImageList(LVSIL_SMALL)->m_hImageList, images.m_hImageList);

    struct Case {
        const wchar_t* text;
        int image;
        LPARAM param;
        UINT state;
        int indent;
    } cases[] = {
        {L"third", 1, 0x1111, 0, 0},
        {L"second", 2, 0x2222, LVIS_SELECTED, 1},
        {L"first", 3, 0x3333, LVIS_SELECTED, 2},
    };
    for (const Case& c : cases) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
        item.iItem = 0;
        item.pszText = const_cast<LPWSTR>(c.text);
        item.iImage = c.image;
        item.lParam = c.param;
        item.state = c.state;
        item.stateMask = LVIS_SELECTED;
        item.iIndent = c.indent;
        ASSERT_EQ(list->InsertItem(&item), 0);
        EXPECT_TRUE(list->SetItemText(0, 1, std::wstring(c.text).append(L" progress").c_str()));
    }
    ASSERT_EQ(list->GetItemCount(), 3);
    for (int index = 0; index < 3; ++index) {
        const Case& c = cases[2 - index];
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        wchar_t text[64] = {};
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
        item.iItem = index;
        item.pszText = text;
        item.cchTextMax = 64;
        item.stateMask = LVIS_SELECTED;
        ASSERT_TRUE(list->GetItem(&item));
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(item.iImage, c.image);
        EXPECT_EQ(item.lParam, c.param);
        EXPECT_EQ(item.state & LVIS_SELECTED, c.state);
        EXPECT_EQ(item.iIndent, c.indent);
        EXPECT_EQ(list->GetItemText(index, 0), c.text);
        EXPECT_EQ(list->GetItemText(index, 1), std::wstring(c.text).append(L" progress").c_str());
        EXPECT_EQ(list->GetItemData(index), static_cast<DWORD_PTR>(c.param));
    }
    EXPECT_EQ(list->GetSelectedCount(), 2u);
    EXPECT_EQ(list->GetNextItem(-1, LVNI_SELECTED), 0);
    EXPECT_EQ(list->GetNextItem(0, LVNI_SELECTED), 1);
    EXPECT_EQ(list->GetNextItem(1, LVNI_SELECTED), -1);
    std::vector<int> selected;
    for (POSITION position = list->GetFirstSelectedItemPosition(); position;)
        selected.push_back(list->GetNextSelectedItem(position));
    EXPECT_EQ(selected, (std::vector<int>{0, 1}));
    EXPECT_EQ(list->GetTopIndex(), 0);
    EXPECT_GE(list->GetCountPerPage(), 3);
    EXPECT_TRUE(list->RedrawItems(0, 2));

    // A long text comes back whole.
    const std::wstring longText(700, L'x');
    EXPECT_TRUE(list->SetItemText(2, 2, longText.c_str()));
    EXPECT_EQ(std::wstring(list->GetItemText(2, 2)), longText);
    list->SetImageList(nullptr, LVSIL_SMALL);
}

TEST_F(ListViewTest, HitTestsAndRectanglesAgreeOnTheCells) {
    for (const wchar_t* text : {L"c", L"b", L"a"})
        list->InsertItem(0, text);
    CRect cell;
    ASSERT_TRUE(list->GetSubItemRect(2, 1, LVIR_BOUNDS, cell));
    CRect row;
    ASSERT_TRUE(list->GetItemRect(2, &row, LVIR_BOUNDS));
    const int columnLeft = row.left + list->GetColumnWidth(0);
    EXPECT_EQ(cell, CRect(columnLeft, row.top, columnLeft + list->GetColumnWidth(1), row.bottom));

    LVHITTESTINFO info = {};
    info.pt = cell.CenterPoint();
    EXPECT_EQ(list->SubItemHitTest(&info), 2);
    EXPECT_EQ(info.iItem, 2);
    EXPECT_EQ(info.iSubItem, 1);
    UINT flags = 0;
    CRect label;
    ASSERT_TRUE(list->GetItemRect(0, &label, LVIR_LABEL));
    EXPECT_EQ(list->HitTest(label.CenterPoint(), &flags), 0);
    EXPECT_TRUE(flags & LVHT_ONITEM);
    EXPECT_EQ(list->HitTest(CPoint(5, 390), &flags), -1);
}

TEST_F(ListViewTest, EditLabelReachesTheViewsReflectedNotification) {
    for (const wchar_t* text : {L"c", L"b", L"a"})
        list->InsertItem(0, text);
    view->SetFocus();
    g_edit.refuse = TRUE;
    EXPECT_EQ(list->EditLabel(1), nullptr);
    EXPECT_EQ(g_edit.beginCount, 1);
    EXPECT_EQ(g_edit.item, 1);

    g_edit.refuse = FALSE;
    CEdit* edit = list->EditLabel(2);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(g_edit.beginCount, 2);
    EXPECT_EQ(g_edit.item, 2);
    EXPECT_EQ(list->GetEditControl()->m_hWnd, edit->m_hWnd);
    CString text;
    edit->GetWindowText(text);
    EXPECT_EQ(text, L"c");
}

TEST_F(ListViewTest, ColoursAndFontsShowInThePaintedList) {
    CFont headerFont;
    ASSERT_TRUE(headerFont.CreateFont(18, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    CHeaderCtrl* header = list->GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    header->SetFont(&headerFont);
    EXPECT_EQ(header->GetFont()->m_hObject, headerFont.m_hObject);

    CFont listFont;
    ASSERT_TRUE(listFont.CreateFont(30, 0, 0, 0, FW_HEAVY, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    view->SetFont(&listFont);
    const COLORREF background = RGB(255, 255, 255), textColour = RGB(200, 0, 0);
    EXPECT_TRUE(list->SetBkColor(background));
    EXPECT_TRUE(list->SetTextBkColor(background));
    EXPECT_TRUE(list->SetTextColor(textColour));
    EXPECT_EQ(list->GetBkColor(), background);
    EXPECT_EQ(list->GetTextBkColor(), background);
    EXPECT_EQ(list->GetTextColor(), textColour);
    list->InsertItem(0, L"WWWWWW");

    // The list paints into a bitmap of ours: no screen involved.
    CRect client;
    view->GetClientRect(&client);
    CRect label;
    ASSERT_TRUE(list->GetItemRect(0, &label, LVIR_LABEL));
    CClientDC screen(view);
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height()));
    CBitmap* old = memory.SelectObject(&bitmap);
    memory.FillSolidRect(&client, RGB(0, 255, 0));
    view->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.m_hDC), PRF_CLIENT | PRF_ERASEBKGND);
    int textPixels = 0;
    for (int y = label.top; y < label.bottom; ++y)
        for (int x = label.left; x < label.right; ++x)
            textPixels += memory.GetPixel(x, y) == textColour;
    memory.SelectObject(old);
    EXPECT_GT(textPixels, 0);
    PumpPending();
    Testing::SaveWindowPicture(app.m_pMainWnd->m_hWnd, L"ListViewFrame");
}

}  // namespace
