// The markup tooltip driven by hand: WM_TIMER is sent by the test, the timer
// calls are recorded, and the cursor and the windows under it come from the
// tooltip's input door.
#include "controls/tooltip/MarkupToolTip.h"
#include "controls/tooltip/TooltipSystem.h"
#include "testing/DibCanvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct TimerCall {
    bool set;
    UINT_PTR id;
    UINT milliseconds;
    bool operator==(const TimerCall& other) const {
        return set == other.set && id == other.id && milliseconds == other.milliseconds;
    }
};

// A visible owner window, the tip on it, and the input door under test control.
class TipFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_owner = std::make_unique<CWnd>();
        ASSERT_TRUE(m_owner->CreateEx(WS_EX_TOOLWINDOW, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 10, 10, 300,
                                      200, nullptr, nullptr));
        ControlsLib::TooltipFunctions functions;
        functions.getCursorPos = [this](POINT* point) {
            *point = m_cursor;
            return TRUE;
        };
        functions.windowFromPoint = [this](POINT) { return m_under ? m_under : m_owner->GetSafeHwnd(); };
        functions.childWindowFromPointEx = [this](HWND parent, POINT, UINT) { return m_child ? m_child : parent; };
        functions.setTimer = [this](HWND, UINT_PTR id, UINT milliseconds) {
            m_timers.push_back(TimerCall{true, id, milliseconds});
            return id;
        };
        functions.killTimer = [this](HWND, UINT_PTR id) {
            m_timers.push_back(TimerCall{false, id, 0});
            return TRUE;
        };
        m_input = std::make_unique<ControlsLib::ScopedTooltipFunctions>(functions);
        m_tip = std::make_unique<CMarkupToolTip>();
        ASSERT_TRUE(m_tip->Create(m_owner.get()));
    }
    void TearDown() override {
        m_tip.reset();
        m_input.reset();
        if (m_owner)
            m_owner->DestroyWindow();
    }

    void Move(POINT point) {
        m_cursor = point;
        MSG message = {m_owner->GetSafeHwnd(), WM_MOUSEMOVE, 0, 0, 0, point};
        m_tip->RelayEvent(&message);
    }
    bool Armed(UINT_PTR id, UINT milliseconds) const {
        for (const TimerCall& call : m_timers)
            if (call.set && call.id == id && call.milliseconds == milliseconds)
                return true;
        return false;
    }
    bool Killed(UINT_PTR id) const {
        for (const TimerCall& call : m_timers)
            if (!call.set && call.id == id)
                return true;
        return false;
    }
    void Timer(UINT_PTR id) { ::SendMessageW(m_tip->GetSafeHwnd(), WM_TIMER, id, 0); }

    std::unique_ptr<CWnd> m_owner;
    std::unique_ptr<ControlsLib::ScopedTooltipFunctions> m_input;
    std::unique_ptr<CMarkupToolTip> m_tip;
    std::vector<TimerCall> m_timers;
    POINT m_cursor = {200, 200};
    HWND m_under = nullptr;
    HWND m_child = nullptr;
};

TEST_F(TipFixture, DefaultsAndSetters) {
    const int balloon[9] = {16, 16, 12, 12, 12, 16, 16, 0, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(balloon[i], m_tip->GetSizeParameter(i)) << i;
    EXPECT_TRUE(Armed(CMarkupToolTip::TimerPoll, 100));
    EXPECT_EQ(0x10, m_tip->GetDefaults().direction);
    EXPECT_EQ(::GetSysColor(COLOR_INFOBK), m_tip->GetDefaults().colors[2]);
    EXPECT_EQ(500u, m_tip->GetShowDelay());
    EXPECT_EQ(5000u, m_tip->GetHideDelay());
    const auto& shadow = m_tip->GetShadow();
    EXPECT_EQ(6, shadow.dx);
    EXPECT_EQ(6, shadow.dy);
    EXPECT_EQ(50, shadow.darkness);
    EXPECT_EQ(7, shadow.blurX);
    m_tip->SetShadow(3, 3, 150, FALSE, 2, 2);
    EXPECT_EQ(100, m_tip->GetShadow().darkness);
    m_tip->SetSizeParameter(9, 77);
    m_tip->SetSizeParameter(8, 5);
    EXPECT_EQ(5, m_tip->GetSizeParameter(8));

    wchar_t className[64] = {};
    ::GetClassNameW(m_tip->GetSafeHwnd(), className, 64);
    EXPECT_STREQ(L"CMarkupToolTip", className);
    EXPECT_EQ(static_cast<DWORD>(CS_SAVEBITS), ::GetClassLongW(m_tip->GetSafeHwnd(), GCL_STYLE) & CS_SAVEBITS);
    EXPECT_TRUE(::GetWindowLongW(m_tip->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    CMarkupToolTip plain;
    ASSERT_TRUE(plain.Create(m_owner.get(), FALSE));
    const int plainSizes[9] = {0, 0, 3, 1, 0, 0, 0, 0, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(plainSizes[i], plain.GetSizeParameter(i)) << i;
}

TEST_F(TipFixture, ShowsAfterTheDelayAndArmsTheHideTimer) {
    m_tip->AddTool(m_owner.get(), L"Hello <b>tip</b>");
    Move(POINT{200, 200});
    EXPECT_TRUE(Armed(CMarkupToolTip::TimerShow, 500));
    wchar_t text[64] = {};
    ::GetWindowTextW(m_tip->GetSafeHwnd(), text, 64);
    EXPECT_STREQ(L"Hello <b>tip</b>", text) << "others can read the tip's text";
    const std::size_t calls = m_timers.size();
    Move(POINT{200, 200});
    EXPECT_EQ(calls, m_timers.size());
    Timer(CMarkupToolTip::TimerShow);
    EXPECT_EQ(CMarkupToolTip::Shown, m_tip->GetState());
    EXPECT_TRUE(::IsWindowVisible(m_tip->GetSafeHwnd()));
    EXPECT_TRUE(Armed(CMarkupToolTip::TimerHide, 5000));
    Timer(CMarkupToolTip::TimerHide);
    EXPECT_EQ(CMarkupToolTip::Hidden, m_tip->GetState());
    EXPECT_FALSE(::IsWindowVisible(m_tip->GetSafeHwnd()));
}

TEST_F(TipFixture, NoAutoHideAndEmptyText) {
    m_tip->SetBehaviour(CMarkupToolTip::NoAutoHide);
    m_tip->AddTool(m_owner.get(), L"Stays");
    Move(POINT{200, 200});
    Timer(CMarkupToolTip::TimerShow);
    EXPECT_EQ(CMarkupToolTip::Shown, m_tip->GetState());
    EXPECT_FALSE(Armed(CMarkupToolTip::TimerHide, 5000));

    m_tip->RemoveAllTools(TRUE);
    m_tip->AddTool(m_owner.get(), L"");
    Move(POINT{210, 200});
    Timer(CMarkupToolTip::TimerShow);
    EXPECT_EQ(CMarkupToolTip::Hidden, m_tip->GetState());
    EXPECT_FALSE(::IsWindowVisible(m_tip->GetSafeHwnd()));
}

TEST_F(TipFixture, HidingMessagesHideAtOnce) {
    m_tip->AddTool(m_owner.get(), L"Hello");
    const UINT messages[] = {WM_RBUTTONDOWN, WM_KEYDOWN, WM_MOUSEWHEEL, WM_ACTIVATEAPP};
    CWnd elsewhere;
    ASSERT_TRUE(elsewhere.CreateEx(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    int x = 100;
    for (UINT message : messages) {
        // Over a window without tools first, so that the tool is met anew.
        m_under = elsewhere.GetSafeHwnd();
        Move(POINT{++x, 100});
        m_under = nullptr;
        Move(POINT{++x, 100});
        Timer(CMarkupToolTip::TimerShow);
        ASSERT_EQ(CMarkupToolTip::Shown, m_tip->GetState());
        m_timers.clear();
        if (message == WM_ACTIVATEAPP) {
            ::SendMessageW(m_tip->GetSafeHwnd(), WM_ACTIVATEAPP, FALSE, 0);
        } else {
            MSG relayed = {m_owner->GetSafeHwnd(), message, 0, 0, 0, m_cursor};
            m_tip->RelayEvent(&relayed);
        }
        EXPECT_EQ(CMarkupToolTip::Hidden, m_tip->GetState()) << message;
        EXPECT_FALSE(::IsWindowVisible(m_tip->GetSafeHwnd())) << message;
        for (UINT_PTR id = 256; id <= 259; ++id)
            EXPECT_TRUE(Killed(id)) << message << " " << id;
    }
}

TEST_F(TipFixture, FadesInAndOutInStepsOfTwenty) {
    m_tip->SetTimes(500, 5000, 30, 40);
    m_tip->AddTool(m_owner.get(), L"Fading");
    Move(POINT{200, 200});
    Timer(CMarkupToolTip::TimerShow);
    EXPECT_EQ(CMarkupToolTip::Appearing, m_tip->GetState());
    EXPECT_EQ(100, m_tip->GetTransparency());
    EXPECT_TRUE(Armed(CMarkupToolTip::TimerFadeIn, 30));
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        Timer(CMarkupToolTip::TimerFadeIn);
        seen.push_back(m_tip->GetTransparency());
    }
    EXPECT_EQ((std::vector<int>{80, 60, 40, 20, 0}), seen);
    EXPECT_EQ(CMarkupToolTip::Shown, m_tip->GetState());
    Timer(CMarkupToolTip::TimerHide);
    EXPECT_EQ(CMarkupToolTip::Disappearing, m_tip->GetState());
    EXPECT_TRUE(Armed(CMarkupToolTip::TimerFadeOut, 40));
    seen.clear();
    for (int i = 0; i < 5; ++i) {
        Timer(CMarkupToolTip::TimerFadeOut);
        seen.push_back(m_tip->GetTransparency());
    }
    EXPECT_EQ((std::vector<int>{20, 40, 60, 80, 100}), seen);
    EXPECT_EQ(CMarkupToolTip::Hidden, m_tip->GetState());
}

TEST_F(TipFixture, ChildWindowsUnderTheCursor) {
    CWnd disabled, hidden;
    ASSERT_TRUE(disabled.CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0, 50, 50,
                                  m_owner->GetSafeHwnd(), nullptr));
    ASSERT_TRUE(hidden.CreateEx(0, L"STATIC", L"", WS_CHILD, 60, 0, 50, 50, m_owner->GetSafeHwnd(), nullptr));
    m_tip->AddTool(m_owner.get(), L"Owner tip");
    m_tip->AddTool(&disabled, L"Disabled tip");

    m_child = disabled.GetSafeHwnd();
    Move(POINT{20, 20});
    EXPECT_FALSE(Armed(CMarkupToolTip::TimerShow, 500));

    m_child = hidden.GetSafeHwnd();
    Move(POINT{80, 20});
    EXPECT_TRUE(Armed(CMarkupToolTip::TimerShow, 500));
    EXPECT_EQ(m_owner->GetSafeHwnd(), m_tip->GetShownToolWindow());

    // The edit of a drop-down combo box counts as the combo box.
    CWnd combo;
    ASSERT_TRUE(combo.CreateEx(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 120, 0, 100, 100,
                               m_owner->GetSafeHwnd(), nullptr));
    HWND edit = ::FindWindowExW(combo.GetSafeHwnd(), nullptr, L"Edit", nullptr);
    ASSERT_NE(nullptr, edit);
    m_tip->AddTool(&combo, L"Combo tip");
    m_under = edit;
    m_child = nullptr;
    Move(POINT{130, 5});
    EXPECT_EQ(combo.GetSafeHwnd(), m_tip->GetShownToolWindow());
}

TEST_F(TipFixture, AddToolReplacesAnEqualRectangle) {
    const RECT area = {0, 0, 10, 10}, other = {10, 0, 20, 10};
    m_tip->AddTool(m_owner.get(), L"one", &area, 1);
    m_tip->AddTool(m_owner.get(), L"two", &other, 2);
    m_tip->AddTool(m_owner.get(), L"three", &area, 3);
    const auto& tools = m_tip->GetTools().at(m_owner->GetSafeHwnd());
    ASSERT_EQ(2u, tools.size());
    EXPECT_EQ(3, tools[0].id);
    EXPECT_STREQ(L"three", tools[0].text);
    m_tip->RemoveAllTools(FALSE);
    EXPECT_TRUE(m_tip->GetTools().empty());
}

TEST(MarkupToolTipTest, PlacementFlipsInsideTheBounds) {
    const int sizes[9] = {16, 16, 12, 12, 12, 16, 16, 0, 0};
    const RECT bounds = {0, 0, 1000, 800};
    const SIZE body = {200, 100};
    // Room everywhere: above the point, extending to the right.
    auto placed = ControlsLib::PlaceTip(POINT{500, 400}, body, 0x10, bounds, sizes);
    EXPECT_EQ(0x10, placed.direction);
    EXPECT_EQ(400, placed.window.bottom);
    EXPECT_GT(placed.window.right, 500);
    // Near the right edge: the body extends to the left.
    placed = ControlsLib::PlaceTip(POINT{950, 400}, body, 0x10, bounds, sizes);
    EXPECT_EQ(0x11, placed.direction);
    EXPECT_LE(placed.window.right, 1000);
    EXPECT_LT(placed.window.left, 950);
    // Fitting on neither side: centred on the point.
    placed = ControlsLib::PlaceTip(POINT{150, 400}, SIZE{280, 100}, 0x10, RECT{0, 0, 300, 800}, sizes);
    EXPECT_EQ(0x12, placed.direction);
    EXPECT_EQ(150 - 140, placed.window.left);
    // Near the top: below the point instead.
    placed = ControlsLib::PlaceTip(POINT{500, 50}, body, 0x10, bounds, sizes);
    EXPECT_EQ(0x00, placed.direction);
    EXPECT_EQ(50, placed.window.top);
    EXPECT_EQ(16, placed.body.top);
    // Sideways: right of the point, flipped near the right edge.
    placed = ControlsLib::PlaceTip(POINT{950, 400}, body, 0x20, bounds, sizes);
    EXPECT_EQ(0x30, placed.direction & 0xF0);
    EXPECT_EQ(950, placed.window.right);
}

TEST(MarkupToolTipTest, WindowInformation) {
    EXPECT_EQ(L"?b>", ControlsLib::WindowInfoValue(L"<b>"));
    EXPECT_EQ(L"0123456789012345678901234", ControlsLib::WindowInfoValue(L"0123456789012345678901234"));
    EXPECT_EQ(L"012345678901234567890 ...", ControlsLib::WindowInfoValue(L"012345678901234567890123456789"));
    HWND window = ::CreateWindowW(L"STATIC", L"<012345678901234567890123456789", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    const std::wstring info = CMarkupToolTip::BuildWindowInfo(window, POINT{3, 4}, false);
    EXPECT_NE(std::wstring::npos, info.find(L"<td width=130 bgcolor=window>?01234567890123456789 ...</td>"));
    EXPECT_EQ(0u, info.find(L"<table><tr><td><font color=darkblue>Window</font><table border=1>"
                            L"<tr><td width=70 bgcolor=buttonface>Class name</td><td width=130 bgcolor=window>"));
    EXPECT_NE(std::wstring::npos, info.find(L"Title</td><td width=130 bgcolor=window>N/A</td>"));
    EXPECT_NE(std::wstring::npos, info.find(L"Has Tooltip</td><td width=130 bgcolor=window>No</td>"));
    EXPECT_NE(std::wstring::npos, info.find(L">X</td><td width=130 bgcolor=window>3</td>"));
    ::DestroyWindow(window);
}

TEST(MarkupToolTipTest, CompositionOverABasePicture) {
    for (int transparency : {0, 100}) {
        Testing::DibCanvas base(80, 60, RGB(255, 255, 255));
        Testing::DibCanvas picture(80, 60, RGB(255, 0, 0));
        HRGN region = ::CreateRectRgn(10, 10, 50, 40);
        CDrawManager drawManager;
        ControlsLib::TipShadow shadow;
        shadow.gradient = FALSE;
        ControlsLib::ComposeTip(drawManager, base.Dc(), SIZE{80, 60}, picture.Dc(), region, shadow, transparency);
        ::DeleteObject(region);
        const int grey = ::MulDiv(255, 100 - 50, 100);
        if (transparency == 0) {
            EXPECT_EQ(RGB(grey, grey, grey), base.Pixel(53, 43));
            EXPECT_EQ(RGB(255, 0, 0), base.Pixel(30, 20));
        } else {
            EXPECT_EQ(RGB(255, 255, 255), base.Pixel(53, 43));
            EXPECT_EQ(RGB(255, 255, 255), base.Pixel(30, 20));
        }
        EXPECT_EQ(RGB(255, 255, 255), base.Pixel(70, 5));
    }
}

}  // namespace
