#include "afxwin.h"

#include "MfcTestResources.h"
#include "MfcTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace MfcTests;

namespace {

std::vector<std::string> g_events;

// An owner-drawn button that draws itself and takes its click first,
// leaving it to the dialog as well.
class COwnerDrawButton : public CButton {
public:
    int draws = 0;
    HWND drawnWindow = nullptr;
    UINT drawnType = 0;

    void DrawItem(LPDRAWITEMSTRUCT item) override {
        ++draws;
        drawnWindow = item->hwndItem;
        drawnType = item->CtlType;
        CDC* dc = CDC::FromHandle(item->hDC);
        dc->FillSolidRect(&item->rcItem, RGB(0, 128, 0));
    }

protected:
    afx_msg BOOL OnClicked() {
        g_events.push_back("button clicked (reflected)");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnerDrawButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &COwnerDrawButton::OnClicked)
END_MESSAGE_MAP()

// Keeps its click from the dialog.
class CKeepingButton : public CButton {
protected:
    afx_msg void OnClicked() { g_events.push_back("plain clicked (reflected)"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CKeepingButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, &CKeepingButton::OnClicked)
END_MESSAGE_MAP()

// Records the messages its PreTranslateMessage sees.
class CRecordingEdit : public CEdit {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN)
            g_events.push_back("edit pretranslate " + std::to_string(pMsg->wParam));
        return CEdit::PreTranslateMessage(pMsg);
    }
};

class CExchangeDialog : public CDialog {
public:
    explicit CExchangeDialog(CWnd* parent = nullptr) : CDialog(IDD_EXCHANGE, parent) {
        // The template's slider needs its class, as the program registers at start-up.
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES};
        InitCommonControlsEx(&init);
    }

    CString name;
    int flag = BST_UNCHECKED;
    CString choice;
    int index = -1;
    int slider = 0;
    bool exchangeMissingControl = false;
    bool initDialogRan = false;
    int paints = 0;
    int nameChanges = 0;
    COwnerDrawButton drawn;
    CKeepingButton plain;
    CRecordingEdit edit;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN)
            g_events.push_back("dialog pretranslate " + std::to_string(pMsg->wParam));
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_OWNERDRAW, drawn);
        DDX_Control(pDX, IDC_PLAINDRAW, plain);
        DDX_Control(pDX, IDC_NAME, edit);
        DDX_Text(pDX, IDC_NAME, name);
        DDX_Check(pDX, IDC_FLAG, flag);
        DDX_CBString(pDX, IDC_CHOICE, choice);
        DDX_CBIndex(pDX, IDC_INDEX, index);
        DDX_Slider(pDX, IDC_SLIDER, slider);
        if (exchangeMissingControl)
            DDX_Text(pDX, IDC_MISSING, name);
    }

    BOOL OnInitDialog() override {
        initDialogRan = true;
        // The lists are filled before the exchange selects in them.
        for (const wchar_t* item : {L"Alphabet", L"Alpha", L"Beta", L"Gamma"})
            SendDlgItemMessage(IDC_CHOICE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        for (const wchar_t* item : {L"Zero", L"One", L"Two"})
            SendDlgItemMessage(IDC_INDEX, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendDlgItemMessage(IDC_SLIDER, TBM_SETRANGE, FALSE, MAKELPARAM(0, 10));
        return CDialog::OnInitDialog();
    }

    afx_msg void OnPaint() {
        ++paints;
        CPaintDC dc(this);
    }
    afx_msg void OnNameChanged() { ++nameChanges; }
    afx_msg void OnDrawnClicked() { g_events.push_back("dialog clicked " + std::to_string(IDC_OWNERDRAW)); }
    afx_msg void OnPlainClicked() { g_events.push_back("dialog clicked " + std::to_string(IDC_PLAINDRAW)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CExchangeDialog, CDialog)
    ON_WM_PAINT()
    ON_EN_CHANGE(IDC_NAME, &CExchangeDialog::OnNameChanged)
    ON_BN_CLICKED(IDC_OWNERDRAW, &CExchangeDialog::OnDrawnClicked)
    ON_BN_CLICKED(IDC_PLAINDRAW, &CExchangeDialog::OnPlainClicked)
END_MESSAGE_MAP()

int SelectedIndex(CWnd& dialog, int id) { return static_cast<int>(dialog.SendDlgItemMessage(id, CB_GETCURSEL)); }

TEST(CDialog, ModalDialogInitialisesShowsPaintsAndReturnsTheEndCode) {
    CExchangeDialog dialog;
    bool visible = false;
    int paintsSeen = 0;
    CWnd* hooked = nullptr;
    ModalLoopAction action([&](CWnd& shown) {
        hooked = &shown;
        visible = dialog.IsWindowVisible() != FALSE;
        paintsSeen = dialog.paints;
        dialog.EndDialog(1234);
    });
    EXPECT_EQ(dialog.DoModal(), 1234);
    EXPECT_EQ(hooked, &dialog);
    EXPECT_TRUE(dialog.initDialogRan);
    EXPECT_TRUE(visible);
    EXPECT_GT(paintsSeen, 0);
    EXPECT_EQ(dialog.m_hWnd, nullptr);  // the window is gone after DoModal
    EXPECT_EQ(dialog.drawn.m_hWnd, nullptr);
}

TEST(CDialog, DataExchangeRoundTripsTextCheckComboAndSlider) {
    CExchangeDialog dialog;
    dialog.name = L"initial name";
    dialog.flag = BST_CHECKED;
    dialog.choice = L"Alpha";
    dialog.index = 2;
    dialog.slider = 7;
    CString shownName;
    int shownFlag = -1, shownChoice = -1, shownIndex = -1, shownSlider = -1;
    ModalLoopAction action([&](CWnd&) {
        dialog.GetDlgItemText(IDC_NAME, shownName);
        shownFlag = static_cast<int>(dialog.IsDlgButtonChecked(IDC_FLAG));
        shownChoice = SelectedIndex(dialog, IDC_CHOICE);
        shownIndex = SelectedIndex(dialog, IDC_INDEX);
        shownSlider = static_cast<int>(dialog.SendDlgItemMessage(IDC_SLIDER, TBM_GETPOS));

        dialog.SetDlgItemText(IDC_NAME, L"typed by the user");
        dialog.CheckDlgButton(IDC_FLAG, BST_INDETERMINATE);
        dialog.SendDlgItemMessage(IDC_CHOICE, CB_SETCURSEL, 3);  // Gamma
        dialog.SendDlgItemMessage(IDC_INDEX, CB_SETCURSEL, 0);
        dialog.SendDlgItemMessage(IDC_SLIDER, TBM_SETPOS, TRUE, 3);
        dialog.SendMessage(WM_COMMAND, IDOK);  // OnOK reads the controls back
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);

    EXPECT_EQ(shownName, L"initial name");
    EXPECT_EQ(shownFlag, BST_CHECKED);
    EXPECT_EQ(shownChoice, 1);  // "Alpha" itself, not "Alphabet" that begins with it
    EXPECT_EQ(shownIndex, 2);
    EXPECT_EQ(shownSlider, 7);

    EXPECT_EQ(dialog.name, L"typed by the user");
    EXPECT_EQ(dialog.flag, BST_INDETERMINATE);
    EXPECT_EQ(dialog.choice, L"Gamma");
    EXPECT_EQ(dialog.index, 0);
    EXPECT_EQ(dialog.slider, 3);
}

TEST(CDialog, EmptyComboStringSelectsNothingAndCancelKeepsTheMembers) {
    CExchangeDialog dialog;
    dialog.choice = L"";
    dialog.index = -1;
    int shownChoice = 0;
    ModalLoopAction action([&](CWnd&) {
        shownChoice = SelectedIndex(dialog, IDC_CHOICE);
        dialog.SetDlgItemText(IDC_NAME, L"not kept");
        dialog.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(shownChoice, CB_ERR);
    EXPECT_TRUE(dialog.name.IsEmpty());
}

TEST(CDialog, ControlNotificationsDuringTheExchangeAreNotRouted) {
    CExchangeDialog dialog;
    dialog.name = L"set by the exchange";
    int changesAfterExchange = -1;
    ModalLoopAction action([&](CWnd&) {
        changesAfterExchange = dialog.nameChanges;
        dialog.SetDlgItemText(IDC_NAME, L"typed");  // as the user would
        dialog.UpdateData(FALSE);                   // back to the member's text
        dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(changesAfterExchange, 0);
    EXPECT_EQ(dialog.nameChanges, 1);
}

TEST(CDialog, ExchangeWithAMissingControlEndsTheDialogAtOnce) {
    CExchangeDialog dialog;
    dialog.exchangeMissingControl = true;
    bool hookCalled = false;
    ModalLoopAction action([&](CWnd&) { hookCalled = true; });
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(hookCalled);  // no loop ran
}

TEST(CDialog, ModalLoopCallsPreTranslateMessageOfTheControlChain) {
    g_events.clear();
    CExchangeDialog dialog;
    ModalLoopAction action([&](CWnd&) {
        dialog.edit.PostMessage(WM_KEYDOWN, 'A', 0);
        dialog.edit.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);  // the dialog keys end it
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(g_events, (std::vector<std::string>{"edit pretranslate 65", "dialog pretranslate 65",
                                                  "edit pretranslate 27", "dialog pretranslate 27"}));
}

TEST(CDialog, OwnerDrawnButtonDrawsThroughReflectionAndSeesItsClickFirst) {
    g_events.clear();
    CExchangeDialog dialog;
    ModalLoopAction action([&](CWnd&) {
        dialog.drawn.Invalidate();
        dialog.drawn.UpdateWindow();
        dialog.drawn.SendMessage(BM_CLICK);
        dialog.plain.SendMessage(BM_CLICK);
        dialog.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_GT(dialog.drawn.draws, 0);
    EXPECT_NE(dialog.drawn.drawnWindow, nullptr);
    EXPECT_EQ(dialog.drawn.drawnType, static_cast<UINT>(ODT_BUTTON));
    EXPECT_EQ(g_events, (std::vector<std::string>{"button clicked (reflected)",
                                                  "dialog clicked " + std::to_string(IDC_OWNERDRAW),
                                                  "plain clicked (reflected)"}));
}

TEST(CDialog, ModalDialogDisablesItsOwnerWhileItRuns) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"Owner", WS_POPUP, Area(), nullptr, 0));
    CExchangeDialog dialog(&owner);
    bool ownerEnabled = true;
    HWND dialogOwner = nullptr;
    ModalLoopAction action([&](CWnd&) {
        ownerEnabled = owner.IsWindowEnabled() != FALSE;
        dialogOwner = ::GetWindow(dialog.m_hWnd, GW_OWNER);
        dialog.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_EQ(dialogOwner, owner.m_hWnd);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

// A small dialog that can put itself somewhere in OnInitDialog.
class CPlacedDialog : public CDialog {
public:
    CPlacedDialog(CWnd* parent, bool placeItself) : CDialog(IDD_SMALL, parent), m_placeItself(placeItself) {}
    static constexpr int kOwnX = 37, kOwnY = 41;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_placeItself)
            SetWindowPos(nullptr, kOwnX, kOwnY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }

private:
    bool m_placeItself;
};

TEST(CDialog, AModalDialogIsCentredOverItsOwnerUnlessItPlacedItself) {
    RECT work = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    enum class Expect { OverOwner, OverWorkArea, WhereItPutItself, InTheWorkAreasCorner };
    struct Case {
        const char* name;
        bool owned;
        bool ownerVisible;
        RECT ownerRect;
        bool placeItself;
        Expect expect;
    };
    const Case cases[] = {
        {"over a visible owner", true, true, Area(200, 150, 600, 400), false, Expect::OverOwner},
        {"ownerless: over the work area", false, false, Area(), false, Expect::OverWorkArea},
        {"a hidden owner: over the work area", true, false, Area(200, 150, 600, 400), false, Expect::OverWorkArea},
        {"an owner over the work area's edge: kept inside it", true, true,
         Area(work.right - 100, work.bottom - 80, 600, 400), false, Expect::InTheWorkAreasCorner},
        {"placed by its own initialisation: left there", true, true, Area(200, 150, 600, 400), true,
         Expect::WhereItPutItself},
    };
    CWinApp* app = AfxGetApp();
    CWnd* mainWindow = app ? app->m_pMainWnd : nullptr;
    if (app)
        app->m_pMainWnd = nullptr;  // an ownerless dialog would take the main window as its owner
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CWnd owner;
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"Owner", WS_POPUP | (c.ownerVisible ? WS_VISIBLE : 0), c.ownerRect,
                                   nullptr, 0));
        CPlacedDialog dialog(c.owned ? &owner : nullptr, c.placeItself);
        CRect shown;
        HWND ownerSeen = nullptr;
        ModalLoopAction action([&](CWnd& d) {
            d.GetWindowRect(&shown);
            ownerSeen = ::GetWindow(d.m_hWnd, GW_OWNER);
            dialog.EndDialog(IDOK);
        });
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(ownerSeen, c.owned ? owner.m_hWnd : nullptr);
        ASSERT_FALSE(shown.IsRectEmpty());
        const CRect around = c.expect == Expect::OverOwner ? CRect(c.ownerRect) : CRect(work);
        switch (c.expect) {
        case Expect::OverOwner:
        case Expect::OverWorkArea:
            EXPECT_NEAR(shown.CenterPoint().x, around.CenterPoint().x, 1) << ::testing::PrintToString(shown);
            EXPECT_NEAR(shown.CenterPoint().y, around.CenterPoint().y, 1) << ::testing::PrintToString(shown);
            break;
        case Expect::InTheWorkAreasCorner:
            EXPECT_EQ(shown.BottomRight(), CRect(work).BottomRight()) << ::testing::PrintToString(shown);
            break;
        case Expect::WhereItPutItself:
            EXPECT_EQ(shown.TopLeft(), CPoint(CPlacedDialog::kOwnX, CPlacedDialog::kOwnY)) << ::testing::PrintToString(shown);
            break;
        }
        owner.DestroyWindow();
    }
    if (app)
        app->m_pMainWnd = mainWindow;
}

// Ends itself before its loop would start.
class CEndsAtOnce : public CDialog {
public:
    CEndsAtOnce() : CDialog(IDD_SMALL) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        EndDialog(77);
        return TRUE;
    }
};

TEST(CDialog, EndDialogInOnInitDialogSkipsTheLoop) {
    CEndsAtOnce dialog;
    bool hookCalled = false;
    ModalLoopAction action([&](CWnd&) { hookCalled = true; });
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_FALSE(hookCalled);
}

CDialog* g_stuckDialog = nullptr;

void CALLBACK EndStuckLoop(HWND, UINT, UINT_PTR, DWORD) {
    if (g_stuckDialog)
        g_stuckDialog->EndModalLoop(-2);
}

TEST(CDialog, DestroyingTheWindowEndsItsModalLoop) {
    CDialog dialog(IDD_SMALL);
    // The window's own safety timer goes with the window; this one does not.
    g_stuckDialog = &dialog;
    const UINT_PTR safety = ::SetTimer(nullptr, 0, 5000, &EndStuckLoop);
    ModalLoopAction action([](CWnd& shown) { shown.DestroyWindow(); });
    EXPECT_EQ(dialog.DoModal(), -1);
    ::KillTimer(nullptr, safety);
    g_stuckDialog = nullptr;
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(CDialog, MissingTemplateGivesMinusOne) {
    CDialog dialog(4242);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.Create(4242));
}

// A modeless dialog that deletes itself when its window goes.
class CModeless : public CDialog {
public:
    explicit CModeless(bool* deleted) : m_deleted(deleted) {}
    ~CModeless() override { *m_deleted = true; }
    CString text = L"modeless";

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, text); }
    void PostNcDestroy() override { delete this; }

private:
    bool* m_deleted;
};

TEST(CDialog, ModelessDialogLivesUntilDestroyed) {
    bool deleted = false;
    auto* dialog = new CModeless(&deleted);
    ASSERT_TRUE(dialog->Create(IDD_SMALL));
    CString shown;
    dialog->GetDlgItemText(IDC_NAME, shown);
    EXPECT_EQ(shown, L"modeless");
    EXPECT_FALSE(deleted);
    dialog->DestroyWindow();
    EXPECT_TRUE(deleted);
}

}  // namespace
