// The text label: subclassed from a plain static as the dialogs do, drawn
// through DrawItem into a 32-bit DIB, clicked with sent messages and its
// shell launches caught by the shell door.
#include "controls/label/TextLabel.h"
#include "foundation/tests/RecordingSink.h"
#include "foundation/tests/ShellLaunchRecorder.h"
#include "testing/DibCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

using FoundationTests::ShellLaunchRecorder;
using Testing::DibCanvas;
using Testing::Rgb;

const UINT kLabelId = 201;

class CountingLabel : public CTextLabel {
public:
    std::map<UINT, int> counts;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        ++counts[message];
        return CTextLabel::WindowProc(message, wParam, lParam);
    }
};

class LabelParent : public CWnd {
public:
    // STN_CLICKED is 0: a plain WM_COMMAND with the label's id lands here too.
    int clicks = 0;

protected:
    void OnLabelClicked() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LabelParent, CWnd)
    ON_STN_CLICKED(kLabelId, &LabelParent::OnLabelClicked)
END_MESSAGE_MAP()

// The ink's bounding box: every pixel that is not `background`.
CRect InkBox(const DibCanvas& canvas, COLORREF background) {
    CRect box(canvas.Width(), canvas.Height(), -1, -1);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (canvas.Pixel(x, y) != background) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

class TextLabelTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"Parent", WS_POPUP | WS_VISIBLE,
                                      CRect(30, 30, 330, 230), nullptr, 0));
    }
    void TearDown() override {
        if (m_label.GetSafeHwnd()) {
            m_label.FlashText(FALSE);
            m_label.DestroyWindow();
        }
        m_parent.DestroyWindow();
    }

    CountingLabel& Make(LPCWSTR text, DWORD style = SS_LEFT, const CRect& rect = CRect(0, 0, 160, 40)) {
        HWND window = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                        rect.Width(), rect.Height(), m_parent.GetSafeHwnd(),
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLabelId)), nullptr, nullptr);
        EXPECT_TRUE(m_label.SubclassWindow(window));
        return m_label;
    }

    std::unique_ptr<DibCanvas> Draw() {
        CRect client;
        m_label.GetClientRect(&client);
        auto canvas = std::make_unique<DibCanvas>(client.Width(), client.Height());
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_STATIC;
        item.CtlID = kLabelId;
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = m_label.GetSafeHwnd();
        item.hDC = canvas->Dc();
        item.rcItem = client;
        m_label.DrawItem(&item);
        return canvas;
    }

    // The box DrawText gives the label's text in the label's font.
    CRect Measure(LPCWSTR text, UINT format) {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ previous = ::SelectObject(dc, m_label.GetLabelFont());
        CRect client;
        m_label.GetClientRect(&client);
        CRect box = client;
        ::DrawTextW(dc, text, -1, &box, format | DT_CALCRECT);
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
        return box;
    }

    LabelParent m_parent;
    CountingLabel m_label;
};

TEST_F(TextLabelTest, SubclassingMakesTheLabelOwnerDrawnWithItsOwnFont) {
    const DWORD alignments[] = {SS_LEFT, SS_CENTER, SS_RIGHT};
    for (DWORD alignment : alignments) {
        SCOPED_TRACE(testing::Message() << "alignment " << alignment);
        CTextLabel label;
        HWND window = ::CreateWindowExW(0, L"STATIC", L"x", WS_CHILD | alignment, 0, 0, 50, 20,
                                        m_parent.GetSafeHwnd(), nullptr, nullptr, nullptr);
        ASSERT_TRUE(label.SubclassWindow(window));
        EXPECT_EQ(static_cast<DWORD>(SS_OWNERDRAW), label.GetStyle() & SS_TYPEMASK);
        EXPECT_EQ(CLEARTYPE_QUALITY, label.GetLogFont().lfQuality);
        EXPECT_NE(nullptr, label.GetLabelFont());
        EXPECT_FALSE(label.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(::GetDC(nullptr))));
        label.DestroyWindow();
    }
}

TEST_F(TextLabelTest, SettingTheShownTextAgainChangesAndRepaintsNothing) {
    CountingLabel& label = Make(L"Same");
    label.UpdateWindow();
    label.counts.clear();
    label.SetText(L"Same");
    EXPECT_EQ(0, label.counts[WM_SETTEXT]);
    EXPECT_EQ(0, label.counts[WM_PAINT]);
    label.SetText(L"same");  // exact comparison
    EXPECT_EQ(1, label.counts[WM_SETTEXT]);
    EXPECT_GE(label.counts[WM_PAINT], 1);
    CString text;
    label.GetWindowText(text);
    EXPECT_EQ(CString(L"same"), text);
}

TEST_F(TextLabelTest, FontSizeAndFaceName) {
    CTextLabel& label = Make(L"Font");
    label.SetFontSize(10);
    EXPECT_EQ(16, label.GetLogFont().lfHeight);
    label.SetFontName(L"Tahoma");
    EXPECT_STREQ(L"Tahoma", label.GetLogFont().lfFaceName);
    const HFONT font = label.GetLabelFont();
    const CString tooLong(L'x', 40);
    label.SetFontName(tooLong, SYMBOL_CHARSET);
    EXPECT_STREQ(L"Tahoma", label.GetLogFont().lfFaceName);
    EXPECT_NE(SYMBOL_CHARSET, label.GetLogFont().lfCharSet);
    EXPECT_EQ(font, label.GetLabelFont());
    const CString longest(L'y', LF_FACESIZE - 1);
    label.SetFontName(longest);
    EXPECT_EQ(std::wstring(LF_FACESIZE - 1, L'y'), std::wstring(label.GetLogFont().lfFaceName));
    EXPECT_EQ(16, label.GetLogFont().lfHeight);
}

TEST_F(TextLabelTest, ClicksOpenTheLinkAsTheModeSays) {
    const struct {
        const char* name;
        bool mail;
        bool notify;
        const wchar_t* target;
        const wchar_t* verb;    // null: nothing opened
        const wchar_t* opened;
    } cases[] = {
        {"web link, no target: the window text", false, false, L"", L"open", L"http://example.test/shown"},
        {"web link with a target", false, false, L"https://example.test/target", L"open",
         L"https://example.test/target"},
        {"mail link: mailto and the window text, never the target", true, false, L"http://example.test/target", L"",
         L"mailto:http://example.test/shown"},
        {"notify parent: nothing opened", false, true, L"", nullptr, nullptr},
        {"mail link notifying the parent: nothing opened", true, true, L"", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShellLaunchRecorder shell;
        CTextLabel& label = Make(L"http://example.test/shown");
        if (c.mail)
            label.SetMailLink(TRUE, c.notify);
        else
            label.SetLink(TRUE, c.notify);
        label.SetLinkTarget(c.target);
        EXPECT_TRUE(label.GetStyle() & SS_NOTIFY);
        m_parent.clicks = 0;
        label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        label.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        if (c.verb) {
            ASSERT_EQ(1u, ShellLaunchRecorder::launches.size());
            EXPECT_EQ(c.verb, ShellLaunchRecorder::launches[0].verb);
            EXPECT_EQ(c.opened, ShellLaunchRecorder::launches[0].file);
            EXPECT_EQ(SW_SHOWNORMAL, ShellLaunchRecorder::launches[0].show);
        } else {
            EXPECT_TRUE(ShellLaunchRecorder::launches.empty());
        }
        EXPECT_EQ(1, m_parent.clicks) << "SS_NOTIFY tells the parent of every click";
        label.SetLink(FALSE, FALSE);
        EXPECT_FALSE(label.GetStyle() & SS_NOTIFY);
        label.DestroyWindow();
    }
}

TEST_F(TextLabelTest, AnAddressWithoutSchemeOpensAsAWebAddress) {
    ShellLaunchRecorder shell;
    CTextLabel& label = Make(L"www.example.test");
    label.SetLink(TRUE, FALSE);
    label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ASSERT_EQ(1u, ShellLaunchRecorder::launches.size());
    EXPECT_EQ(L"http://www.example.test", ShellLaunchRecorder::launches[0].file);
}

TEST_F(TextLabelTest, ADoubleClickSendsTheParentTheLabelsCommand) {
    CTextLabel& label = Make(L"Twice");  // no SS_NOTIFY: the static itself tells nobody
    label.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(1, m_parent.clicks);
}

TEST_F(TextLabelTest, CentreImageCentresOneLineBothWaysAndSeveralOnlyAcross) {
    const struct {
        const wchar_t* text;
        bool vertical;
    } cases[] = {{L"Centred", true}, {L"Two\r\nlines", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.vertical ? "one line" : "two lines"));
        CTextLabel& label = Make(c.text, SS_LEFT | SS_CENTERIMAGE, CRect(0, 0, 160, 80));
        label.SetBkColor(RGB(255, 255, 255));
        label.SetTextColor(RGB(0, 0, 0));
        auto canvas = Draw();
        const CRect ink = InkBox(*canvas, RGB(255, 255, 255));
        ASSERT_LT(ink.left, ink.right);
        const CRect box = Measure(c.text, c.vertical ? DT_SINGLELINE | DT_CENTER : DT_CENTER);
        const int left = (160 - box.Width()) / 2;
        EXPECT_GE(ink.left, left - 2);
        EXPECT_LE(ink.right, left + box.Width() + 2);
        if (c.vertical) {
            const int top = (80 - box.Height()) / 2;
            EXPECT_GE(ink.top, top - 2);
            EXPECT_LE(ink.bottom, top + box.Height() + 2);
        } else {
            EXPECT_LE(ink.top, 4) << "not centred vertically";
            EXPECT_LE(ink.bottom, box.Height() + 2);
        }
        label.DestroyWindow();
    }
}

TEST_F(TextLabelTest, FlashingTextHidesInBlackWithoutASolidBackground) {
    CTextLabel& label = Make(L"Flash");
    label.SetTextColor(RGB(255, 0, 0));
    label.FlashText(TRUE);
    EXPECT_TRUE(label.IsFlashTimerRunning());
    EXPECT_EQ(CTextLabel::FlashTextKind, label.GetFlashKind());
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    auto countOf = [](const DibCanvas& canvas, COLORREF color) {
        int count = 0;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x)
                count += canvas.Pixel(x, y) == color;
        return count;
    };
    auto hidden = Draw();
    EXPECT_GT(countOf(*hidden, RGB(0, 0, 0)), 0);
    EXPECT_EQ(0, countOf(*hidden, RGB(255, 0, 0)));
    EXPECT_EQ(Rgb{face}, Rgb{hidden->Pixel(hidden->Width() - 1, hidden->Height() - 1)});

    label.SendMessage(WM_TIMER, CTextLabel::kFlashTimer);
    EXPECT_TRUE(label.GetFlashPhase());
    auto shown = Draw();
    EXPECT_GT(countOf(*shown, RGB(255, 0, 0)), 0);

    // On a solid background the hidden text takes the background's colour.
    label.SendMessage(WM_TIMER, CTextLabel::kFlashTimer);
    label.SetBkColor(RGB(0, 0, 255));
    auto onSolid = Draw();
    Testing::ExpectPixels(*onSolid, [](int, int) { return RGB(0, 0, 255); });

    label.FlashText(FALSE);
    EXPECT_FALSE(label.IsFlashTimerRunning());
    EXPECT_EQ(CTextLabel::FlashNone, label.GetFlashKind());
}

TEST_F(TextLabelTest, AGradientOverFortyPixelsHasFortyOnePixelBands) {
    CTextLabel& label = Make(L"", SS_LEFT, CRect(0, 0, 40, 10));
    const COLORREF start = RGB(10, 200, 0), end = RGB(210, 100, 40);
    label.SetBkColor(start, end, 1);
    auto canvas = Draw();
    const int steps[3] = {(210 - 10) * 256 / 40, (100 - 200) * 256 / 40, (40 - 0) * 256 / 40};
    for (int x = 0; x < 40; ++x) {
        const COLORREF expected = RGB((10 * 256 + x * steps[0]) >> 8, (200 * 256 + x * steps[1]) >> 8,
                                      (0 * 256 + x * steps[2]) >> 8);
        EXPECT_EQ(Rgb{expected}, Rgb{canvas->Pixel(x, 4)}) << "band " << x;
    }
}

TEST_F(TextLabelTest, ABackgroundPictureIsTiled) {
    CTextLabel& label = Make(L"", SS_LEFT, CRect(0, 0, 20, 10));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -4, 1, 32, BI_RGB};
    DWORD* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    for (int i = 0; i < 16; ++i)
        bits[i] = (i % 4 == 0) ? 0x00FF0000 : 0x000000FF;
    label.SetBackgroundPicture(CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectBitmap>(bitmap));
    auto canvas = Draw();
    Testing::ExpectPixels(*canvas, [](int x, int) { return x % 4 == 0 ? RGB(255, 0, 0) : RGB(0, 0, 255); });
}

TEST_F(TextLabelTest, SetLabelItemTextReachesOnlyLabels) {
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    EXPECT_FALSE(SetLabelItemText(nullptr, L"x"));
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((pItem))"));
    EXPECT_EQ(Reporting::Error, sink.reports[0].severity);

    HWND plain = ::CreateWindowExW(0, L"STATIC", L"plain", WS_CHILD, 0, 50, 50, 20, m_parent.GetSafeHwnd(),
                                   reinterpret_cast<HMENU>(UINT_PTR(300)), nullptr, nullptr);
    EXPECT_FALSE(SetLabelItemText(m_parent.GetDlgItem(300), L"x"));
    ASSERT_EQ(2u, sink.reports.size());
    EXPECT_NE(std::wstring::npos, sink.reports[1].text.find(L"((pLabel))"));
    wchar_t text[32] = {};
    ::GetWindowTextW(plain, text, 32);
    EXPECT_STREQ(L"plain", text);

    CTextLabel& label = Make(L"before");
    const struct {
        wlitestring given;
        const wchar_t* shown;
    } cases[] = {
        {wlitestring(L"measured", -1), L"measured"},
        {wlitestring(L"cut here", 3), L"cut"},
        {wlitestring(nullptr, -1), L""},
        {wlitestring(L""), L""},
    };
    for (const auto& c : cases) {
        label.SetText(L"before");
        EXPECT_TRUE(SetLabelItemText(m_parent.GetDlgItem(kLabelId), c.given));
        CString shown;
        label.GetWindowText(shown);
        EXPECT_EQ(CString(c.shown), shown);
    }
    EXPECT_EQ(2u, sink.reports.size());
}

TEST(TextLabelWithoutWindow, SettersOnlyStoreTheirValues) {
    CTextLabel label;
    label.SetBkColor(RGB(1, 2, 3)).SetTextColor(RGB(4, 5, 6)).SetFontSize(10).SetFontBold(TRUE).SetText(L"x");
    label.FlashText(TRUE).SetSunken(TRUE).SetBorder(TRUE).SetTransparent(TRUE).SetLink(TRUE, FALSE);
    EXPECT_EQ(RGB(4, 5, 6), label.GetTextColor());
    EXPECT_EQ(16, label.GetLogFont().lfHeight);
    EXPECT_EQ(FW_BOLD, label.GetLogFont().lfWeight);
    EXPECT_FALSE(label.IsFlashTimerRunning());
    EXPECT_EQ(CTextLabel::LinkWeb, label.GetLinkMode());
}

}  // namespace
