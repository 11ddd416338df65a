#include "shell/dialogs/AddUrlDlg.h"

#include "DialogTestSupport.h"
#include "shell/program/BrunlowResources.h"

namespace {

using namespace ShellTests;

struct Outcome {
    INT_PTR result = 0;
    std::wstring url;
    bool stayedOpen = false;
};

// Types the text, presses the button and, when the dialog stays open,
// cancels it.
Outcome RunWith(const wchar_t* typed, int button) {
    Outcome outcome;
    AddUrlDlg dlg(nullptr);
    MfcTests::ModalLoopAction action([&](CWnd& dialog) {
        dialog.SetDlgItemText(IDC_ADD_URL_EDIT, typed);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(button, BN_CLICKED));
        outcome.stayedOpen = ::IsWindowVisible(dialog.m_hWnd) && dialog.ContinueModal();
        if (outcome.stayedOpen)
            dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    });
    outcome.result = dlg.DoModal();
    outcome.url = dlg.GetUrl();
    return outcome;
}

TEST(AddUrlDlg, OkCleansTheAddressAndCancelReadsNothing) {
    UseDialogResources();
    struct Case {
        const wchar_t* typed;
        int button;
        INT_PTR result;
        const wchar_t* url;
        bool stayedOpen;
    } cases[] = {
        {L"  http://a.b/x y.flv  ", IDOK, IDOK, L"http://a.b/x%20y.flv", false},
        {L"no-scheme text", IDOK, IDOK, L"no-scheme%20text", false},
        {L"\thttp://a.b/v.flv\r\n", IDOK, IDOK, L"http://a.b/v.flv", false},
        {L"   ", IDOK, IDCANCEL, L"", true},
        {L"", IDOK, IDCANCEL, L"", true},
        {L"http://a.b/x y", IDCANCEL, IDCANCEL, L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.typed)));
        const Outcome outcome = RunWith(c.typed, c.button);
        EXPECT_EQ(c.result, outcome.result);
        EXPECT_EQ(c.url, outcome.url);
        EXPECT_EQ(c.stayedOpen, outcome.stayedOpen);
    }
}

TEST(AddUrlDlg, LabelsItselfFromTheLanguageWithoutExpanding) {
    UseDialogResources();
    AddUrlDlg dlg(nullptr);
    std::wstring texts[5];
    MfcTests::ModalLoopAction action([&](CWnd& dialog) {
        texts[0] = WindowText(dialog);
        texts[1] = ItemText(dialog, IDC_ADD_URL_LABEL);
        texts[2] = ItemText(dialog, IDC_ADD_URL_COMMENT);
        texts[3] = ItemText(dialog, IDOK);
        texts[4] = ItemText(dialog, IDCANCEL);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(L"en:AddURLTitle", texts[0]);
    EXPECT_EQ(L"en:URL", texts[1]);
    EXPECT_EQ(L"en:AddURLComment", texts[2]);
    EXPECT_EQ(L"en:OK", texts[3]);
    EXPECT_EQ(L"en:Cancel", texts[4]);
}

TEST(AddUrlDlg, TheEditScrollsForLongAddresses) {
    UseDialogResources();
    AddUrlDlg dlg(nullptr);
    LONG style = 0;
    MfcTests::ModalLoopAction action([&](CWnd& dialog) {
        style = ::GetWindowLongW(::GetDlgItem(dialog.m_hWnd, IDC_ADD_URL_EDIT), GWL_STYLE);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    });
    dlg.DoModal();
    EXPECT_TRUE(style & ES_AUTOHSCROLL);
}

}  // namespace
