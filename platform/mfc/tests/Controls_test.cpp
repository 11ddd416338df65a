#include "afxcmn.h"

#include "MfcTestResources.h"
#include "MfcTestSupport.h"

#include <gtest/gtest.h>

using namespace MfcTests;

namespace {

class ControlsTest : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&init);
        ASSERT_TRUE(parent.CreateEx(0, nullptr, L"Parent", WS_POPUP, Area(0, 0, 400, 300), nullptr, 0));
    }
    CWnd parent;
};

TEST_F(ControlsTest, ButtonsKeepTheirCheckState) {
    CButton check;
    ASSERT_TRUE(check.Create(L"Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 0, 80, 20), &parent, 1));
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    EXPECT_EQ(check.GetButtonStyle() & 0x0F, static_cast<UINT>(BS_AUTOCHECKBOX));
    EXPECT_EQ(parent.IsDlgButtonChecked(1), static_cast<UINT>(BST_CHECKED));
}

TEST_F(ControlsTest, ComboBoxFindsSelectsAndReadsItems) {
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 100, 120), &parent, 2));
    EXPECT_EQ(combo.AddString(L"Minimize"), 0);
    EXPECT_EQ(combo.AddString(L"Hide in tray"), 1);
    EXPECT_EQ(combo.AddString(L"Close"), 2);
    EXPECT_EQ(combo.InsertString(0, L"First"), 0);
    EXPECT_EQ(combo.GetCount(), 4);
    EXPECT_EQ(combo.FindString(-1, L"hide"), 2);  // begins with, any case
    EXPECT_EQ(combo.FindStringExact(-1, L"hide"), CB_ERR);
    EXPECT_EQ(combo.SetCurSel(3), 3);
    CString text;
    combo.GetLBText(combo.GetCurSel(), text);
    EXPECT_EQ(text, L"Close");
    combo.GetLBText(99, text);
    EXPECT_TRUE(text.IsEmpty());
    combo.SetItemData(1, 1234);
    EXPECT_EQ(combo.GetItemData(1), 1234u);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
}

TEST_F(ControlsTest, EditSelectsAndLimits) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 0, 100, 20), &parent, 3));
    edit.SetWindowText(L"hello world");
    edit.SetSel(0, 5);
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 5);
    edit.ReplaceSel(L"HELLO");
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, L"HELLO world");
    edit.SetLimitText(20);
    EXPECT_EQ(edit.GetLimitText(), 20u);
}

TEST_F(ControlsTest, ProgressSliderAndSpinKeepRangesAndPositions) {
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE | PBS_SMOOTH, CRect(0, 0, 100, 10), &parent, 4));
    progress.SetRange32(0, 5000000);  // beyond 16 bits, as downloads need
    int low = -1, high = -1;
    progress.GetRange(low, high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 5000000);
    progress.SetPos(2500000);
    EXPECT_EQ(progress.GetPos(), 2500000);
    progress.SetMarquee(TRUE, 200);
    EXPECT_TRUE(progress.GetStyle() & PBS_MARQUEE);
    progress.SetMarquee(FALSE, 0);  // the size became known: the position shows again
    EXPECT_FALSE(progress.GetStyle() & PBS_MARQUEE);
    progress.SetPos(10);
    EXPECT_EQ(progress.GetPos(), 10);

    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS, CRect(0, 20, 100, 40), &parent, 5));
    slider.SetRange(0, 4);
    slider.SetPos(3);
    EXPECT_EQ(slider.GetPos(), 3);
    slider.SetPos(9);
    EXPECT_EQ(slider.GetPos(), 4);  // held inside the range
    EXPECT_EQ(slider.GetRangeMax(), 4);

    CEdit buddy;
    ASSERT_TRUE(buddy.Create(WS_CHILD | WS_VISIBLE | ES_NUMBER, CRect(0, 50, 60, 70), &parent, 6));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, CRect(60, 50, 80, 70), &parent, 7));
    spin.SetBuddy(&buddy);
    EXPECT_EQ(spin.GetBuddy(), &buddy);
    spin.SetRange32(0, 600);
    spin.SetPos32(15);
    BOOL error = TRUE;
    EXPECT_EQ(spin.GetPos32(&error), 15);
    EXPECT_FALSE(error);
    CString shown;
    buddy.GetWindowText(shown);
    EXPECT_EQ(shown, L"15");
}

TEST_F(ControlsTest, ToolTipCarriesToolsForWindowsAndRectangles) {
    CButton button;
    ASSERT_TRUE(button.Create(L"b", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 40), &parent, 8));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&button, TTS_BALLOON));
    EXPECT_TRUE(tip.GetStyle() & TTS_BALLOON);
    EXPECT_EQ(::GetWindow(tip.m_hWnd, GW_OWNER), parent.m_hWnd);  // owners are top-level windows
    tip.Activate(FALSE);
    tip.SetMaxTipWidth(400);
    EXPECT_EQ(tip.GetToolCount(), 0);
    CRect area(0, 0, 40, 40);
    EXPECT_TRUE(tip.AddTool(&button, L"first text", &area, 1));
    EXPECT_TRUE(tip.AddTool(&parent, L"whole window"));
    EXPECT_EQ(tip.GetToolCount(), 2);
    tip.UpdateTipText(L"second text", &button, 1);

    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = button.m_hWnd;
    tool.uId = 1;
    wchar_t text[80] = {};
    tool.lpszText = text;
    tip.SendMessage(TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"second text");
    tip.DelTool(&button, 1);
    EXPECT_EQ(tip.GetToolCount(), 1);
    MSG msg = {button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0, {5, 5}};
    tip.RelayEvent(&msg);  // no tip shows while inactive; the relay is accepted
}

TEST(CImageList, HoldsIconsAndGivesTheSystemListBackUndestroyed) {
    CImageList images;
    ASSERT_TRUE(images.Create(48, 48, ILC_COLOR32 | ILC_MASK, 1, 1));
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_EQ(images.Add(icon), 0);
    EXPECT_EQ(images.Add(icon), 1);
    EXPECT_EQ(images.GetImageCount(), 2);
    EXPECT_TRUE(images.Remove(0));
    EXPECT_EQ(images.GetImageCount(), 1);

    SHFILEINFOW info = {};
    HIMAGELIST system = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (system) {
        {
            CImageList attached;
            ASSERT_TRUE(attached.Attach(system));
            EXPECT_GT(attached.GetImageCount(), 0);
            EXPECT_EQ(attached.Detach(), system);
        }
        EXPECT_GT(ImageList_GetImageCount(system), 0);  // still alive
    }
}

// Chooses a command instead of a user.
BOOL ChooseSecondItem(HMENU menu, UINT flags, int, int, HWND owner, LPCRECT) {
    EXPECT_NE(owner, nullptr);
    EXPECT_TRUE(flags & TPM_RETURNCMD);
    return static_cast<BOOL>(GetMenuItemID(menu, 1));
}

TEST(CMenu, LoadsPopupsAndTracksThroughTheSeam) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"", WS_POPUP, Area(), nullptr, 0));
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDM_COMMANDS));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetMenuItemCount(), 5);
    EXPECT_EQ(popup->GetMenuItemID(0), static_cast<UINT>(ID_CMD_ENABLED));
    popup->EnableMenuItem(ID_CMD_ENABLED, MF_BYCOMMAND | MF_GRAYED);
    EXPECT_TRUE(popup->GetMenuState(ID_CMD_ENABLED, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(popup->SetDefaultItem(ID_CMD_CHECKED));

    AfxTrackPopupMenuHandler previous = AfxSetTrackPopupMenuHandler(&ChooseSecondItem);
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, &owner),
              static_cast<BOOL>(ID_CMD_DISABLED));
    AfxSetTrackPopupMenuHandler(previous);

    CMenu own;
    ASSERT_TRUE(own.CreatePopupMenu());
    EXPECT_TRUE(own.AppendMenu(MF_STRING, 10, L"Ten"));
    EXPECT_TRUE(own.InsertMenu(0, MF_BYPOSITION | MF_STRING, 9, L"Nine"));
    CString text;
    own.GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"Nine");
    HMENU handle = own.Detach();
    EXPECT_TRUE(IsMenu(handle));
    DestroyMenu(handle);
}

}  // namespace
