// The owner-drawn button: its pictures read back from a 32-bit DIB that
// DrawItem draws into, and its behaviour driven by sent and posted messages
// with the mouse from the input door.
#include "controls/button/SkinButton.h"
#include "skin/commongui/UserInput.h"
#include "testing/DibCanvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using CommonGuiLib::SharedBitmap;
using Testing::DibCanvas;
using Testing::Rgb;

const UINT kButtonId = 101;
const UINT kOtherId = 102;
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kBlue = RGB(0, 0, 200);
const COLORREF kYellow = RGB(230, 220, 0);
const COLORREF kNormalBack = RGB(0, 128, 0);
const COLORREF kHotBack = RGB(128, 0, 0);

// A 32-bit picture filled pixel by pixel.
SharedBitmap MakePicture(int width, int height, const std::function<COLORREF(int x, int y)>& color) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    DWORD* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = color(x, y);
            bits[y * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    return CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectBitmap>(bitmap);
}

SharedBitmap Solid(COLORREF color) {
    return MakePicture(8, 8, [color](int, int) { return color; });
}

// Left half transparent (magenta), right half blue.
SharedBitmap HalfTransparent() {
    return MakePicture(8, 8, [](int x, int) { return x < 4 ? kMagenta : kBlue; });
}

std::vector<COLORREF> PixelsOf(HBITMAP bitmap) {
    BITMAP description = {};
    ::GetObjectW(bitmap, sizeof(description), &description);
    std::vector<COLORREF> pixels;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    for (int y = 0; y < description.bmHeight; ++y)
        for (int x = 0; x < description.bmWidth; ++x)
            pixels.push_back(::GetPixel(dc, x, y));
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    return pixels;
}

class ClickCountingParent : public CWnd {
public:
    int clicks = 0;

protected:
    void OnButtonClicked() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ClickCountingParent, CWnd)
    ON_BN_CLICKED(kButtonId, &ClickCountingParent::OnButtonClicked)
END_MESSAGE_MAP()

class SkinButtonTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"Parent", WS_POPUP | WS_VISIBLE,
                                      CRect(20, 20, 320, 220), nullptr, 0));
    }
    void TearDown() override {
        for (auto& button : m_buttons)
            button->DestroyWindow();
        m_parent.DestroyWindow();
    }

    // A plain dialog button of the style, then subclassed as the list does.
    CSkinButton& Make(DWORD style, LPCWSTR text = L"", UINT id = kButtonId, const CRect& rect = CRect(0, 0, 40, 30)) {
        HWND window = ::CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, rect.left,
                                        rect.top, rect.Width(), rect.Height(), m_parent.GetSafeHwnd(),
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
        m_buttons.push_back(std::make_unique<CSkinButton>());
        EXPECT_TRUE(m_buttons.back()->SubclassWindow(window));
        return *m_buttons.back();
    }

    // DrawItem into a fresh canvas of the button's size.
    static std::unique_ptr<DibCanvas> Draw(CSkinButton& button, UINT state) {
        CRect client;
        button.GetClientRect(&client);
        auto canvas = std::make_unique<DibCanvas>(client.Width(), client.Height());
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = button.GetDlgCtrlID();
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = button.GetSafeHwnd();
        item.hDC = canvas->Dc();
        item.rcItem = client;
        button.DrawItem(&item);
        return canvas;
    }

    ClickCountingParent m_parent;
    std::vector<std::unique_ptr<CSkinButton>> m_buttons;
};

TEST_F(SkinButtonTest, TransparentPixelsShowTheBackground) {
    CSkinButton& button = Make(BS_PUSHBUTTON);
    button.SetColor(CSkinButton::ColorBackgroundNormal, kNormalBack, FALSE);
    ASSERT_EQ(0, button.SetImages(HalfTransparent(), kMagenta));
    auto canvas = Draw(button, 0);
    // Centred: (40 - 8) / 2 = 16, (30 - 8) / 2 = 11.
    Testing::ExpectPixels(*canvas, [](int x, int y) {
        return (x >= 20 && x < 24 && y >= 11 && y < 19) ? kBlue : kNormalBack;
    });
}

TEST_F(SkinButtonTest, AnEmptyHotPictureDropsEveryPicture) {
    CSkinButton& button = Make(BS_PUSHBUTTON);
    button.SetColor(CSkinButton::ColorBackgroundNormal, kNormalBack, FALSE);
    ASSERT_EQ(0, button.SetImages(Solid(kBlue), kMagenta, Solid(kYellow), kMagenta));
    EXPECT_TRUE(button.HasPicture(CSkinButton::PictureNormal));
    EXPECT_EQ(0, button.SetImages(SharedBitmap(), 0, Solid(kYellow), kMagenta));
    for (int index = 0; index < CSkinButton::PictureCount; ++index)
        EXPECT_FALSE(button.HasPicture(index)) << index;
    auto canvas = Draw(button, 0);
    Testing::ExpectPixels(*canvas, [](int, int) { return kNormalBack; });
}

TEST_F(SkinButtonTest, PicturesFollowTheState) {
    const struct {
        const char* name;
        bool pressedPicture;
        bool disabledPicture;
        UINT state;
        int dx, dy;          // where the 8 x 8 picture lands, from (16, 11)
        COLORREF expected;   // its colour; kMagenta: greyed, none of the picture's
    } cases[] = {
        {"normal state shows the normal picture", false, false, 0, 0, 0, kYellow},
        {"pressed without a pressed picture: hot picture moved", false, false, ODS_SELECTED, 1, 1, kBlue},
        {"pressed with a pressed picture: that one, unmoved", true, false, ODS_SELECTED, 0, 0, RGB(10, 200, 200)},
        {"disabled with a disabled picture: that one", false, true, ODS_DISABLED, 0, 0, RGB(90, 90, 90)},
        {"disabled without one: greyed", false, false, ODS_DISABLED, 0, 0, kMagenta},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSkinButton& button = Make(BS_PUSHBUTTON);
        button.SetColor(CSkinButton::ColorBackgroundNormal, kNormalBack, FALSE);
        button.SetColor(CSkinButton::ColorBackgroundHot, kHotBack, FALSE);
        button.SetDrawBorder(FALSE, FALSE);
        ASSERT_EQ(0, button.SetImages(Solid(kBlue), kMagenta, Solid(kYellow), kMagenta,
                                      c.pressedPicture ? Solid(RGB(10, 200, 200)) : SharedBitmap(), kMagenta,
                                      c.disabledPicture ? Solid(RGB(90, 90, 90)) : SharedBitmap(), kMagenta));
        auto canvas = Draw(button, c.state);
        const COLORREF back = (c.state & ODS_SELECTED) ? kHotBack : kNormalBack;
        const int left = 16 + c.dx, top = 11 + c.dy;
        if (c.expected != kMagenta) {
            Testing::ExpectPixels(*canvas, [&](int x, int y) {
                return (x >= left && x < left + 8 && y >= top && y < top + 8) ? c.expected : back;
            });
            continue;
        }
        int drawn = 0;
        for (int y = top; y < top + 8; ++y)
            for (int x = left; x < left + 8; ++x) {
                EXPECT_NE(Rgb{kBlue}, Rgb{canvas->Pixel(x, y)}) << x << "," << y;
                EXPECT_NE(Rgb{kYellow}, Rgb{canvas->Pixel(x, y)}) << x << "," << y;
                drawn += canvas->Pixel(x, y) != back;
            }
        EXPECT_GT(drawn, 0) << "the greyed picture leaves a mark";
        EXPECT_EQ(Rgb{back}, Rgb{canvas->Pixel(2, 2)});
    }
}

TEST_F(SkinButtonTest, ASharedPictureStaysAsItWasAndServesEveryButton) {
    const SharedBitmap shared = HalfTransparent();
    const std::vector<COLORREF> before = PixelsOf(shared->GetHandle());
    CSkinButton& first = Make(BS_PUSHBUTTON, L"", kButtonId, CRect(0, 0, 40, 30));
    CSkinButton& second = Make(BS_PUSHBUTTON, L"", kOtherId, CRect(50, 0, 90, 30));
    for (CSkinButton* button : {&first, &second, &first}) {
        button->SetColor(CSkinButton::ColorBackgroundNormal, kNormalBack, FALSE);
        ASSERT_EQ(0, button->SetImages(shared, kMagenta));
    }
    for (CSkinButton* button : {&first, &second}) {
        auto canvas = Draw(*button, 0);
        EXPECT_EQ(Rgb{kNormalBack}, Rgb{canvas->Pixel(17, 12)}) << "transparent part";
        EXPECT_EQ(Rgb{kBlue}, Rgb{canvas->Pixel(21, 12)}) << "opaque part";
    }
    EXPECT_EQ(before, PixelsOf(shared->GetHandle()));
}

TEST_F(SkinButtonTest, AHandleThatIsNoBitmapLeavesNoPictures) {
    CSkinButton& button = Make(BS_PUSHBUTTON);
    auto brush = CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectBitmap>(
        reinterpret_cast<HBITMAP>(::CreateSolidBrush(kBlue)));
    EXPECT_EQ(1, button.SetImages(Solid(kBlue), kMagenta, brush, kMagenta));
    for (int index = 0; index < CSkinButton::PictureCount; ++index)
        EXPECT_FALSE(button.HasPicture(index)) << index;
}

TEST_F(SkinButtonTest, TheCaptionIsCentredInTheSpaceRightOfThePicture) {
    CSkinButton& button = Make(BS_PUSHBUTTON, L"Go", kButtonId, CRect(0, 0, 120, 30));
    button.SetColor(CSkinButton::ColorBackgroundNormal, RGB(255, 255, 255), FALSE);
    button.SetColor(CSkinButton::ColorCaptionNormal, RGB(0, 0, 0), FALSE);
    ASSERT_EQ(0, button.SetImages(Solid(kBlue), kMagenta));
    auto canvas = Draw(button, 0);
    // Picture at the margin, 3.
    EXPECT_EQ(Rgb{kBlue}, Rgb{canvas->Pixel(3, 11)});
    EXPECT_EQ(Rgb{RGB(255, 255, 255)}, Rgb{canvas->Pixel(2, 11)});
    // The ink of the caption, against the box DrawText measures, centred in
    // (3 + 8, 0) .. (120, 30).
    CRect expected(11, 0, 120, 30);
    {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ previous = button.GetFont() ? ::SelectObject(dc, button.GetFont()->GetSafeHandle()) : nullptr;
        CRect measured(expected);
        ::DrawTextW(dc, L"Go", -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_CENTER);
        expected = CRect(CPoint(11 + (109 - measured.Width()) / 2, (30 - measured.Height()) / 2), measured.Size());
        if (previous)
            ::SelectObject(dc, previous);
        ::DeleteDC(dc);
    }
    CRect ink(1000, 1000, -1, -1);
    for (int y = 0; y < 30; ++y)
        for (int x = 12; x < 120; ++x)
            if (canvas->Pixel(x, y) != RGB(255, 255, 255)) {
                ink.left = std::min<LONG>(ink.left, x);
                ink.top = std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
    ASSERT_LT(ink.left, ink.right) << "the caption was drawn";
    EXPECT_GE(ink.left, expected.left - 2);
    EXPECT_LE(ink.right, expected.right + 2);
    EXPECT_GE(ink.top, expected.top - 2);
    EXPECT_LE(ink.bottom, expected.bottom + 2);
}

TEST_F(SkinButtonTest, ColourSlotsBeyondFiveAreRefused) {
    CSkinButton& button = Make(BS_PUSHBUTTON);
    std::vector<COLORREF> before;
    for (BYTE slot = 0; slot < CSkinButton::ColorSlotCount; ++slot)
        before.push_back(button.GetColor(slot));
    EXPECT_EQ(3, button.SetColor(6, RGB(1, 2, 3)));
    EXPECT_EQ(3, button.SetColor(255, RGB(1, 2, 3)));
    for (BYTE slot = 0; slot < CSkinButton::ColorSlotCount; ++slot)
        EXPECT_EQ(before[slot], button.GetColor(slot));
    EXPECT_EQ(0, button.SetColor(5, RGB(1, 2, 3)));
    EXPECT_EQ(RGB(1, 2, 3), button.GetColor(5));
}

TEST_F(SkinButtonTest, SubclassingMakesTheButtonOwnerDrawnAndKeepsItsRole) {
    const struct {
        DWORD style;
        BOOL isDefault;
        BOOL isCheckBox;
        UINT dialogCode;
    } cases[] = {
        {BS_DEFPUSHBUTTON, TRUE, FALSE, DLGC_DEFPUSHBUTTON},
        {BS_PUSHBUTTON, FALSE, FALSE, DLGC_UNDEFPUSHBUTTON},
        {BS_AUTOCHECKBOX, FALSE, TRUE, DLGC_UNDEFPUSHBUTTON},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        CSkinButton& button = Make(c.style);
        EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & 0x1F);
        EXPECT_EQ(c.isDefault, button.IsDefault());
        EXPECT_EQ(c.isCheckBox, button.IsCheckBox());
        const UINT code = static_cast<UINT>(button.SendMessage(WM_GETDLGCODE));
        EXPECT_EQ(c.dialogCode, code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
    }
    // The dialog manager moving the default keeps the button owner-drawn.
    CSkinButton& button = Make(BS_PUSHBUTTON);
    button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    EXPECT_TRUE(button.IsDefault());
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & 0x1F);
    button.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
    EXPECT_FALSE(button.IsDefault());
}

class HotTrackingTest : public SkinButtonTest {
protected:
    void SetUp() override {
        SkinButtonTest::SetUp();
        CommonGuiLib::InputFunctions input;
        input.windowFromPoint = [this](POINT) { return m_under; };
        input.trackMouseEvent = [this](TRACKMOUSEEVENT* request) {
            m_tracked.push_back(*request);
            return TRUE;
        };
        m_input = std::make_unique<CommonGuiLib::ScopedInputFunctions>(input);
    }
    void TearDown() override {
        m_input.reset();
        SkinButtonTest::TearDown();
    }

    HWND m_under = nullptr;
    std::vector<TRACKMOUSEEVENT> m_tracked;
    std::unique_ptr<CommonGuiLib::ScopedInputFunctions> m_input;
};

TEST_F(HotTrackingTest, AMoveWithTheButtonHeldDoesNotMakeItHot) {
    CSkinButton& button = Make(BS_PUSHBUTTON);
    m_under = button.GetSafeHwnd();
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(button.IsHot());
    EXPECT_TRUE(m_tracked.empty());
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(button.IsHot());
    ASSERT_EQ(1u, m_tracked.size());
    EXPECT_EQ(static_cast<DWORD>(TME_LEAVE), m_tracked[0].dwFlags);
    EXPECT_EQ(button.GetSafeHwnd(), m_tracked[0].hwndTrack);
    // Hot already: a second move starts no second tracking.
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 6));
    EXPECT_TRUE(button.IsHot());
    EXPECT_EQ(1u, m_tracked.size());
}

TEST_F(HotTrackingTest, EachWayOfLeavingEndsTheHotState) {
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
    } cases[] = {
        {"WM_MOUSELEAVE", WM_MOUSELEAVE, 0},
        {"WM_CANCELMODE", WM_CANCELMODE, 0},
        {"WM_KILLFOCUS", WM_KILLFOCUS, 0},
        {"WM_ACTIVATE inactive", WM_ACTIVATE, WA_INACTIVE},
        {"a move over another window", WM_MOUSEMOVE, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSkinButton& button = Make(BS_PUSHBUTTON);
        m_under = button.GetSafeHwnd();
        button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        ASSERT_TRUE(button.IsHot());
        m_under = m_parent.GetSafeHwnd();
        button.SendMessage(c.message, c.wParam, 0);
        EXPECT_FALSE(button.IsHot());
    }
    // Activation keeps it hot.
    CSkinButton& button = Make(BS_PUSHBUTTON);
    m_under = button.GetSafeHwnd();
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    button.SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(button.IsHot());
}

TEST_F(SkinButtonTest, DisablingMovesTheFocusToTheNextTabItem) {
    CSkinButton& button = Make(BS_PUSHBUTTON, L"", kButtonId, CRect(0, 0, 40, 30));
    CSkinButton& next = Make(BS_PUSHBUTTON, L"", kOtherId, CRect(50, 0, 90, 30));
    m_parent.SetActiveWindow();
    button.SetFocus();
    ASSERT_EQ(button.GetSafeHwnd(), ::GetFocus());
    button.EnableWindow(FALSE);
    EXPECT_EQ(next.GetSafeHwnd(), ::GetFocus());
}

TEST_F(SkinButtonTest, ADoubleClickThroughTheLoopClicksTwice) {
    CSkinButton& button = Make(BS_AUTOCHECKBOX);
    ASSERT_EQ(0, button.SendMessage(BM_GETCHECK));
    // The four messages of a double click, each taken through the loop's
    // steps at once: no queue lies between them, so nothing another test's
    // window does to the focus meanwhile can take a press away.
    const LPARAM point = MAKELPARAM(5, 5);
    const HWND target = button.GetSafeHwnd();
    const MSG clicks[] = {{target, WM_LBUTTONDOWN, MK_LBUTTON, point},
                          {target, WM_LBUTTONUP, 0, point},
                          {target, WM_LBUTTONDBLCLK, MK_LBUTTON, point},
                          {target, WM_LBUTTONUP, 0, point}};
    std::vector<LRESULT> checks;
    for (MSG message : clicks) {
        if (!CWnd::WalkPreTranslateTree(m_parent.GetSafeHwnd(), &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (message.message == WM_LBUTTONUP)
            checks.push_back(button.SendMessage(BM_GETCHECK));
    }
    EXPECT_EQ(2, m_parent.clicks);
    EXPECT_EQ((std::vector<LRESULT>{1, 0}), checks);
    ::ReleaseCapture();
}

TEST_F(SkinButtonTest, CheckBoxesKeepTheirOwnCheckState) {
    CSkinButton& check = Make(BS_AUTOCHECKBOX);
    const struct {
        WPARAM set;
        LRESULT got;
    } cases[] = {{BST_CHECKED, 1}, {BST_UNCHECKED, 0}, {BST_INDETERMINATE, 1}, {7, 0}};
    for (const auto& c : cases) {
        check.SendMessage(BM_SETCHECK, c.set);
        EXPECT_EQ(c.got, check.SendMessage(BM_GETCHECK)) << c.set;
    }
    CSkinButton& push = Make(BS_PUSHBUTTON, L"", kOtherId);
    push.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(0, push.SendMessage(BM_GETCHECK));
}

TEST_F(SkinButtonTest, TheTooltipHoldsOneToolWhoseTextChanges) {
    CSkinButton& button = Make(BS_PUSHBUTTON);
    button.SetTooltipText(nullptr);
    EXPECT_EQ(nullptr, button.GetToolTip().GetSafeHwnd());
    button.SetTooltipText(L"first");
    ASSERT_NE(nullptr, button.GetToolTip().GetSafeHwnd());
    EXPECT_EQ(1, button.GetToolTip().GetToolCount());
    EXPECT_EQ(400, button.GetToolTip().SendMessage(TTM_GETMAXTIPWIDTH));
    button.SetTooltipText(L"second", FALSE);
    EXPECT_EQ(1, button.GetToolTip().GetToolCount());
    wchar_t text[64] = {};
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = button.GetSafeHwnd();
    tool.uId = CSkinButton::kTooltipId;
    tool.lpszText = text;
    button.GetToolTip().SendMessage(TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(L"second", text);
    EXPECT_EQ(0u, button.GetToolTip().GetStyle() & TTS_BALLOON);

    CSkinButton& balloon = Make(BS_PUSHBUTTON, L"", kOtherId);
    EXPECT_EQ(0, balloon.EnableBalloonTooltip());
    balloon.SetTooltipText(L"tip");
    EXPECT_EQ(static_cast<DWORD>(TTS_BALLOON), balloon.GetToolTip().GetStyle() & TTS_BALLOON);
}

TEST(SkinButtonWithoutWindow, SettersOnlyStoreTheirValues) {
    CSkinButton button;
    EXPECT_EQ(0, button.SetColor(2, RGB(1, 2, 3)));
    EXPECT_EQ(0, button.SetImages(Solid(kBlue), kMagenta));
    EXPECT_TRUE(button.HasPicture(CSkinButton::PictureHot));
    EXPECT_EQ(0, button.SetDrawBorder(FALSE));
    button.SetTooltipText(L"no window");
    EXPECT_EQ(nullptr, button.GetToolTip().GetSafeHwnd());
}

}  // namespace
