#include "shell/dialogs/ExtrasRequestDlg.h"
#include "shell/dialogs/UpdateRequestDlg.h"

#include "DialogTestSupport.h"
#include "shell/program/BrunlowResources.h"
#include "testing/DibCanvas.h"
#include "testing/WindowPicture.h"

#include <cstdlib>
#include <functional>
#include <memory>

namespace {

using namespace ShellTests;

class OfferDialogs : public ::testing::Test {
protected:
    void SetUp() override { UseDialogResources(); }

    // Runs the dialog; `look` sees it open, then `end` closes it.
    static INT_PTR Run(CDialog& dlg, const std::function<void(CWnd&)>& look, const std::function<void(CWnd&)>& end) {
        MfcTests::ModalLoopAction action([&](CWnd& dialog) {
            if (look)
                look(dialog);
            end(dialog);
        });
        return dlg.DoModal();
    }
    static void PressButton(CWnd& dialog, int id) { dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED)); }

    // "{ProductName}" expands to this product's name.
    AppFrameworkTests::TestProduct product{L"Brunlow"};
};

struct LabelFont {
    int id;
    int size;
    bool bold;
};

void ExpectLabelFonts(CWnd& dialog, std::initializer_list<LabelFont> fonts) {
    for (const LabelFont& font : fonts) {
        SCOPED_TRACE(font.id);
        CTextLabel* pLabel = dynamic_cast<CTextLabel*>(CWnd::FromHandlePermanent(::GetDlgItem(dialog.m_hWnd, font.id)));
        ASSERT_TRUE(pLabel);
        CTextLabel reference;
        reference.SetFontName(L"Arial", 0);
        reference.SetFontSize(font.size);
        const LOGFONTW& logFont = pLabel->GetLogFont();
        EXPECT_STREQ(L"Arial", logFont.lfFaceName);
        EXPECT_EQ(0, logFont.lfCharSet);
        EXPECT_EQ(reference.GetLogFont().lfHeight, logFont.lfHeight);
        if (font.bold)
            EXPECT_EQ(FW_BOLD, logFont.lfWeight);
        else
            EXPECT_LT(logFont.lfWeight, FW_BOLD);
    }
}

TEST_F(OfferDialogs, UpdateOfferExpandsCaptionAndLabelsButNotTheButtons) {
    UpdateRequestDlg dlg(nullptr);
    std::wstring caption, heading, note, question, yes, no;
    const INT_PTR result = Run(
        dlg,
        [&](CWnd& dialog) {
            caption = WindowText(dialog);
            heading = ItemText(dialog, IDC_OFFER_HEADING);
            note = ItemText(dialog, IDC_OFFER_NOTE);
            question = ItemText(dialog, IDC_OFFER_QUESTION);
            yes = ItemText(dialog, IDOK);
            no = ItemText(dialog, IDCANCEL);
            ExpectLabelFonts(dialog, {{IDC_OFFER_HEADING, 11, true}, {IDC_OFFER_NOTE, 9, false},
                                      {IDC_OFFER_QUESTION, 10, true}});
        },
        [](CWnd& dialog) { PressButton(dialog, IDOK); });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(L"en:UpdateRequestTitle Brunlow", caption);
    EXPECT_EQ(L"en:UpdateRequestHeading Brunlow", heading);
    EXPECT_EQ(L"", note) << "the note's string is retired";
    EXPECT_EQ(L"en:UpdateRequestQuestion Brunlow", question);
    EXPECT_EQ(L"en:Yes {ProductName}", yes);
    EXPECT_EQ(L"en:No {ProductName}", no);
}

TEST_F(OfferDialogs, EscapeCloseBoxAndNoGiveCancel) {
    struct Case {
        const char* name;
        std::function<void(CWnd&)> end;
    } cases[] = {
        {"No", [](CWnd& dialog) { PressButton(dialog, IDCANCEL); }},
        {"Escape",
         [](CWnd& dialog) {
             HWND focus = ::GetFocus();
             ::PostMessageW(focus ? focus : dialog.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
         }},
        {"close box", [](CWnd& dialog) { dialog.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateRequestDlg update(nullptr);
        EXPECT_EQ(IDCANCEL, Run(update, nullptr, c.end));
        ExtrasRequestDlg extras(nullptr);
        EXPECT_EQ(IDCANCEL, Run(extras, nullptr, c.end));
    }
}

TEST_F(OfferDialogs, ExtrasButtonsKeepTheLanguageWhereNoCaptionIsSet) {
    struct Case {
        const char* name;
        const wchar_t* okText;
        const wchar_t* cancelText;
        const wchar_t* expectedOk;
        const wchar_t* expectedCancel;
    } cases[] = {
        {"none set", nullptr, nullptr, L"en:Yes {ProductName}", L"en:No {ProductName}"},
        {"both set", L"Watch", L"Later", L"Watch", L"Later"},
        {"only OK", L"Get them", nullptr, L"Get them", L"en:No {ProductName}"},
        {"only cancel", L"", L"Not now", L"en:Yes {ProductName}", L"Not now"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExtrasRequestDlg dlg(nullptr);
        dlg.SetOkButtonText(c.okText);
        dlg.SetCancelButtonText(c.cancelText);
        std::wstring caption, heading, warning, question, ok, cancel;
        const INT_PTR result = Run(
            dlg,
            [&](CWnd& dialog) {
                caption = WindowText(dialog);
                heading = ItemText(dialog, IDC_OFFER_HEADING);
                warning = ItemText(dialog, IDC_OFFER_WARNING);
                question = ItemText(dialog, IDC_OFFER_QUESTION);
                ok = ItemText(dialog, IDOK);
                cancel = ItemText(dialog, IDCANCEL);
                ExpectLabelFonts(dialog, {{IDC_OFFER_HEADING, 11, true}, {IDC_OFFER_WARNING, 9, false},
                                          {IDC_OFFER_QUESTION, 9, true}});
            },
            [](CWnd& dialog) { PressButton(dialog, IDOK); });
        EXPECT_EQ(IDOK, result);
        EXPECT_EQ(L"en:ExtrasRequestTitle Brunlow", caption);
        EXPECT_EQ(L"en:ExtrasRequestHeading Brunlow", heading);
        EXPECT_EQ(L"en:ExtrasRequestWarning Brunlow", warning);
        EXPECT_EQ(L"en:ExtrasRequestQuestion Brunlow", question);
        EXPECT_EQ(c.expectedOk, ok);
        EXPECT_EQ(c.expectedCancel, cancel);
    }
}

// The icon's 48 x 48 form at (10, 10) of the client area, as DrawIconEx draws
// it over the dialog's face: a scaled smaller form would differ.
TEST_F(OfferDialogs, IconDrawnAtTenTenAndSetAsWindowIcons) {
    const HICON icon48 = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_OFFER), IMAGE_ICON, 48, 48, 0));
    ASSERT_TRUE(icon48);
    for (int which = 0; which < 2; ++which) {
        SCOPED_TRACE(which == 0 ? "update" : "extras");
        UpdateRequestDlg update(nullptr);
        ExtrasRequestDlg extras(nullptr);
        CDialog& dlg = which == 0 ? static_cast<CDialog&>(update) : static_cast<CDialog&>(extras);
        std::vector<Testing::Bgra> pixels;
        int width = 0, height = 0;
        POINT origin = {};
        HICON small = nullptr, big = nullptr;
        std::unique_ptr<Testing::DibCanvas> expected;
        // Pixels of the icon's square that differ from the expected drawing.
        auto differing = [&] {
            int count = 0;
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 48; ++x) {
                    const Testing::Bgra& shown = pixels[(origin.y + 10 + y) * width + origin.x + 10 + x];
                    const COLORREF wanted = expected->Pixel(x, y);
                    count += std::abs(shown.red - GetRValue(wanted)) > 2 ||
                             std::abs(shown.green - GetGValue(wanted)) > 2 ||
                             std::abs(shown.blue - GetBValue(wanted)) > 2;
                }
            return count;
        };
        Run(
            dlg,
            [&](CWnd& dialog) {
                RECT window = {};
                ::GetWindowRect(dialog.m_hWnd, &window);
                ::ClientToScreen(dialog.m_hWnd, &origin);
                origin.x -= window.left;
                origin.y -= window.top;
                dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                MfcTests::PumpPending();
                pixels = Testing::CaptureWindow(dialog.m_hWnd, width, height);
                if (!pixels.empty()) {
                    // The face the icon is drawn on, left of it.
                    const Testing::Bgra face = pixels[(origin.y + 5) * width + origin.x + 5];
                    expected.reset(new Testing::DibCanvas(48, 48, RGB(face.red, face.green, face.blue)));
                    ::DrawIconEx(expected->Dc(), 0, 0, icon48, 48, 48, 0, nullptr, DI_NORMAL);
                }
                Testing::SaveWindowPicture(dialog.m_hWnd, which == 0 ? L"UpdateRequestDlg" : L"ExtrasRequestDlg");
                small = reinterpret_cast<HICON>(dialog.SendMessage(WM_GETICON, ICON_SMALL, 0));
                big = reinterpret_cast<HICON>(dialog.SendMessage(WM_GETICON, ICON_BIG, 0));
            },
            [](CWnd& dialog) { PressButton(dialog, IDCANCEL); });
        EXPECT_TRUE(small);
        EXPECT_TRUE(big);
        ASSERT_FALSE(pixels.empty());
        ASSERT_TRUE(expected);
        EXPECT_EQ(0, differing());
    }
    ::DestroyIcon(icon48);
}

}  // namespace
