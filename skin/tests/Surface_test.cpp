#include "skin/commongui/AnchoredRegionSet.h"
#include "skin/commongui/UserInput.h"
#include "skin/surface/Surface.h"

#include "SkinTestResources.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace CommonGuiLib;
typedef SurfaceT<CDialog> Surface;

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Elements 2 and 3 side by side, 1 behind both; events recorded as text.
class RecordingHost : public Surface::IHost {
public:
    RecordingHost() {
        regions.Layout(200, 100);
        regions.AddRect(1, RECT{0, 0, 200, 8}, AnchoredRegionSet::AnchorLeft | AnchoredRegionSet::AnchorTop, 0);
        regions.AddRect(2, RECT{10, 10, 60, 60}, AnchoredRegionSet::AnchorLeft | AnchoredRegionSet::AnchorTop, 0);
        regions.AddRect(3, RECT{70, 10, 120, 60}, AnchoredRegionSet::AnchorLeft | AnchoredRegionSet::AnchorTop, 0);
    }

    void Paint(Surface&, Surface::Canvas& canvas, const RECT& client) override {
        RECT area = client;
        if (paintLeftHalfOnly)
            area.right = client.right / 2;
        canvas.FillSolidRect(&area, paintColour);
    }
    int HitTest(Surface&, POINT point) override { return regions.HitTest(point); }
    HCURSOR GetCursor(Surface&, int index) override { return index == 2 ? ::LoadCursor(nullptr, IDC_HAND) : nullptr; }
    SharedRegion GetElementRegion(Surface&, int index) override {
        return giveRegions ? regions.GetRegion(index) : SharedRegion();
    }
    void OnLButtonDown(Surface&, int index) override { Record("down", index); }
    void OnClick(Surface&, int index) override { Record("click", index); }
    void OnLButtonDblClk(Surface&, int index) override { Record("dblclk", index); }
    void OnRButtonUp(Surface&, int index) override { Record("rup", index); }
    void OnHoverChanged(Surface&, int index) override { Record("hover", index); }
    void OnDrag(Surface&, int pressed, int hover) override { Record("drag", pressed, hover); }
    void OnDragEnd(Surface&, int pressed, int hover) override { Record("dragend", pressed, hover); }

    void Record(const char* what, int a, int b = INT_MIN) {
        std::string event = std::string(what) + "(" + std::to_string(a);
        if (b != INT_MIN)
            event += "," + std::to_string(b);
        events.push_back(event + ")");
    }

    AnchoredRegionSet regions;
    std::vector<std::string> events;
    bool giveRegions = true;
    bool paintLeftHalfOnly = false;
    COLORREF paintColour = RGB(0, 0, 255);
};

std::string Join(const std::vector<std::string>& events) {
    std::string text;
    for (const std::string& event : events)
        text += (text.empty() ? "" : " ") + event;
    return text;
}

class SurfaceTest : public ::testing::Test {
protected:
    void Show(RecordingHost* host) {
        m_surface.reset(new Surface(host, IDD_SURFACE_TEST, nullptr));
        ASSERT_TRUE(m_surface->Create(IDD_SURFACE_TEST, nullptr));
        ::SetWindowPos(Hwnd(), nullptr, 40, 40, 200, 100, SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        ::UpdateWindow(Hwnd());
        Pump();
    }
    void TearDown() override {
        if (m_surface && m_surface->m_hWnd)
            m_surface->DestroyWindow();
        m_surface.reset();
    }
    HWND Hwnd() const { return m_surface->m_hWnd; }

    // A fake mouse: the cursor, the left button and the requests all go
    // through the input seam; the window under a point is the surface when
    // the point lies on it.
    InputFunctions FakeMouse() {
        InputFunctions table;
        table.getCursorPos = [this](POINT* point) {
            *point = m_cursor;
            return TRUE;
        };
        table.windowFromPoint = [this](POINT point) -> HWND {
            RECT rect = {};
            ::GetWindowRect(Hwnd(), &rect);
            return ::PtInRect(&rect, point) ? Hwnd() : nullptr;
        };
        table.getKeyState = [this](int key) -> SHORT { return key == VK_LBUTTON && m_leftDown ? SHORT(0x8000) : 0; };
        table.trackMouseEvent = [this](TRACKMOUSEEVENT* request) {
            m_tracking.push_back(*request);
            return TRUE;
        };
        table.setCapture = [this](HWND window) {
            m_captures.push_back(window);
            return HWND(nullptr);
        };
        table.releaseCapture = [this] {
            ++m_releases;
            return TRUE;
        };
        return table;
    }

    // Moves the fake cursor to a client point and sends the message.
    void Send(UINT message, POINT client) {
        POINT screen = client;
        ::ClientToScreen(Hwnd(), &screen);
        m_cursor = screen;
        ::SendMessageW(Hwnd(), message, 0, MAKELPARAM(client.x, client.y));
    }
    void Move(POINT client) { Send(WM_MOUSEMOVE, client); }
    void Press(POINT client) {
        m_leftDown = true;
        Send(WM_LBUTTONDOWN, client);
    }
    void Release(POINT client) {
        m_leftDown = false;
        Send(WM_LBUTTONUP, client);
    }
    // Nothing reaches the window while the cursor is elsewhere.
    void PressElsewhere() { m_leftDown = true; }

    // The window's update region, compared with the union of the elements' regions.
    ::testing::AssertionResult UpdateRegionIs(RecordingHost& host, std::vector<int> indices) {
        SharedRegion expected = MakeSharedGDIObject<SharedGDIObjectRegion>(::CreateRectRgn(0, 0, 0, 0));
        for (int index : indices)
            ::CombineRgn(expected->GetHandle(), expected->GetHandle(), host.regions.GetRegion(index)->GetHandle(),
                         RGN_OR);
        SharedRegion actual = MakeSharedGDIObject<SharedGDIObjectRegion>(::CreateRectRgn(0, 0, 0, 0));
        ::GetUpdateRgn(Hwnd(), actual->GetHandle(), FALSE);
        RECT box = {};
        ::GetRgnBox(actual->GetHandle(), &box);
        if (::EqualRgn(expected->GetHandle(), actual->GetHandle()))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "update box (" << box.left << ", " << box.top << ", " << box.right
                                             << ", " << box.bottom << ")";
    }

    // What the window shows at a client point, read through its own DC so
    // that other windows on the display cannot get in the way.
    COLORREF ShownPixel(int x, int y) {
        HDC dc = ::GetDC(Hwnd());
        const COLORREF colour = ::GetPixel(dc, x, y);
        ::ReleaseDC(Hwnd(), dc);
        return colour;
    }

    std::unique_ptr<Surface> m_surface;
    POINT m_cursor = {-1000, -1000};
    bool m_leftDown = false;
    std::vector<TRACKMOUSEEVENT> m_tracking;
    std::vector<HWND> m_captures;
    int m_releases = 0;
};

const POINT kOn2 = {30, 30};
const POINT kOn3 = {90, 30};
const POINT kOutside = {-50, -50};

TEST_F(SurfaceTest, WithoutAHostPaintsGreyAndReportsNothing) {
    ScopedInputFunctions input(FakeMouse());
    Show(nullptr);
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Testing::SaveWindowPicture(Hwnd(), L"SurfaceWithoutHost");
    EXPECT_EQ(RGB(180, 180, 180), ShownPixel(5, 5));
    EXPECT_EQ(RGB(180, 180, 180), ShownPixel(195, 95));
    Move(kOn2);
    Press(kOn2);
    Release(kOn2);
    EXPECT_EQ(-1, m_surface->GetActiveIndex());
    EXPECT_EQ(-1, m_surface->GetPressedIndex());
}

TEST_F(SurfaceTest, PressDragAndReleaseGiveDragEventsAndClicksOnlyOnThePressedElement) {
    ScopedInputFunctions input(FakeMouse());
    RecordingHost host;
    Show(&host);
    struct Case {
        const char* name;
        std::vector<POINT> moves;
        POINT release;
        const char* expected;
    } cases[] = {
        {"onto 3", {kOn3}, kOn3, "down(2) drag(2,3) dragend(2,3)"},
        {"onto 3 and back", {kOn3, kOn2}, kOn2, "down(2) drag(2,3) drag(2,2) dragend(2,2) click(2)"},
        {"no move", {}, kOn2, "down(2) click(2)"},
        {"released outside (captured)", {kOutside}, kOutside, "down(2) drag(2,-1) dragend(2,-1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Move(kOn2);
        host.events.clear();
        Press(kOn2);
        EXPECT_EQ(2, m_surface->GetPressedIndex());
        for (POINT point : c.moves)
            Move(point);
        Release(c.release);
        std::vector<std::string> kept;
        for (const std::string& event : host.events)
            if (event.compare(0, 5, "hover") != 0)
                kept.push_back(event);
        EXPECT_EQ(c.expected, Join(kept));
        EXPECT_FALSE(m_surface->IsDragging());
    }
    EXPECT_EQ(4u, m_captures.size());
    EXPECT_EQ(4, m_releases);
}

TEST_F(SurfaceTest, APressThisWindowDidNotSeeIsNoClick) {
    ScopedInputFunctions input(FakeMouse());
    RecordingHost host;
    Show(&host);
    Move(kOn2);
    host.events.clear();
    PressElsewhere();
    Move(kOn2);
    Release(kOn2);
    EXPECT_EQ("", Join(host.events));

    // Press on 2, drag out, release outside; then press outside and release over 2.
    Press(kOn2);
    Move(kOutside);
    Release(kOutside);
    PressElsewhere();
    Release(kOn2);
    std::vector<std::string> kept;
    for (const std::string& event : host.events)
        if (event.compare(0, 5, "hover") != 0)
            kept.push_back(event);
    EXPECT_EQ("down(2) drag(2,-1) dragend(2,-1)", Join(kept));

    // Another window taking the capture ends the press; a new press ends old dragging.
    host.events.clear();
    Press(kOn2);
    ::SendMessageW(Hwnd(), WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(::GetDesktopWindow()));
    Release(kOn2);
    EXPECT_EQ("down(2)", Join(host.events));
}

TEST_F(SurfaceTest, HoverFollowsTheCursorAndEndsOverChildrenAndOnLeaving) {
    ScopedInputFunctions input(FakeMouse());
    RecordingHost host;
    Show(&host);
    Move(kOn2);
    EXPECT_EQ(2, m_surface->GetActiveIndex());
    EXPECT_TRUE(m_surface->IsMouseInside());
    EXPECT_EQ(::LoadCursor(nullptr, IDC_HAND), ::GetCursor()) << "the host's cursor for element 2";
    ::SendMessageW(Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::LoadCursor(nullptr, IDC_HAND), ::GetCursor());
    ASSERT_FALSE(m_tracking.empty());
    EXPECT_EQ(16u, m_tracking.back().cbSize);
    EXPECT_EQ(static_cast<DWORD>(TME_LEAVE), m_tracking.back().dwFlags);
    EXPECT_EQ(0u, m_tracking.back().dwHoverTime);
    EXPECT_EQ(Hwnd(), m_tracking.back().hwndTrack);

    // From 2 to 3: exactly their regions are repainted.
    ::ValidateRect(Hwnd(), nullptr);
    host.events.clear();
    Move(kOn3);
    EXPECT_EQ("hover(3)", Join(host.events));
    EXPECT_TRUE(UpdateRegionIs(host, {2, 3}));

    // Leaving ends the hover and repaints only the hovered element.
    Move(kOn2);
    ::ValidateRect(Hwnd(), nullptr);
    host.events.clear();
    m_cursor = POINT{-500, -500};
    ::SendMessageW(Hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ("hover(-1)", Join(host.events));
    EXPECT_EQ(-1, m_surface->GetActiveIndex());
    EXPECT_FALSE(m_surface->IsMouseInside());
    EXPECT_TRUE(UpdateRegionIs(host, {2}));
    // The host's hand cursor is no longer kept: the window's own comes back.
    ::SendMessageW(Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(::LoadCursor(nullptr, IDC_HAND), ::GetCursor());

    // A visible child over element 2 counts as outside.
    Move(kOn2);
    host.events.clear();
    HWND child = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 20, 20, 20, 20, Hwnd(), nullptr,
                                   nullptr, nullptr);
    Move(kOn2);
    EXPECT_EQ("hover(-1)", Join(host.events));
    EXPECT_FALSE(m_surface->IsMouseInside());
    ::ShowWindow(child, SW_HIDE);
    Move(kOn2);
    EXPECT_EQ(2, m_surface->GetActiveIndex());
}

TEST_F(SurfaceTest, WholeWindowIsInvalidatedUntilTheHostNamesRegions) {
    ScopedInputFunctions input(FakeMouse());
    RecordingHost host;
    host.giveRegions = false;
    Show(&host);
    ::ValidateRect(Hwnd(), nullptr);
    Move(kOn2);
    RECT box = {};
    ASSERT_TRUE(::GetUpdateRect(Hwnd(), &box, FALSE));
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(200, box.right);
    EXPECT_EQ(100, box.bottom);
}

TEST_F(SurfaceTest, PaintsThroughTheDoubleBufferAndErasesNothing) {
    ScopedInputFunctions input(FakeMouse());
    RecordingHost host;
    Show(&host);
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(RGB(0, 0, 255), ShownPixel(150, 50));

    // WM_ERASEBKGND leaves the DC alone.
    HDC dc = ::GetDC(Hwnd());
    EXPECT_EQ(0, ::SendMessageW(Hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    ::ReleaseDC(Hwnd(), dc);
    EXPECT_EQ(RGB(0, 0, 255), ShownPixel(150, 50));

    // A host painting the left half only: the right half keeps what it showed.
    host.paintLeftHalfOnly = true;
    host.paintColour = RGB(255, 0, 0);
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Testing::SaveWindowPicture(Hwnd(), L"SurfaceLeftHalf");
    EXPECT_EQ(RGB(255, 0, 0), ShownPixel(50, 50));
    EXPECT_EQ(RGB(0, 0, 255), ShownPixel(150, 50));
    EXPECT_TRUE(m_surface->GetUpdateRegion());
}

TEST_F(SurfaceTest, RightClickAndDoubleClickReachTheHost) {
    ScopedInputFunctions input(FakeMouse());
    RecordingHost host;
    Show(&host);
    Move(kOn3);
    host.events.clear();
    Send(WM_RBUTTONUP, kOn3);  // no press seen: nothing
    Send(WM_RBUTTONDOWN, kOn3);
    Send(WM_RBUTTONUP, kOn3);
    Send(WM_LBUTTONDBLCLK, kOn3);
    EXPECT_EQ("rup(3) dblclk(3)", Join(host.events));
}

// The one test on the real calls: under Xvfb the cursor moves for real and
// the leave request brings WM_MOUSELEAVE once it is gone. The cursor and
// the window under it are the display's: it runs alone.
class SurfaceAlone : public SurfaceTest {};

TEST_F(SurfaceAlone, RealLeaveTrackingEndsTheHover) {
    RecordingHost host;
    Show(&host);
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    POINT on2 = kOn2;
    ::ClientToScreen(Hwnd(), &on2);
    ::SetCursorPos(on2.x, on2.y);
    if (::WindowFromPoint(on2) != Hwnd())
        GTEST_SKIP() << "another window lies over the surface";
    ::SendMessageW(Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(kOn2.x, kOn2.y));
    ASSERT_EQ(2, m_surface->GetActiveIndex());
    host.events.clear();
    ::SetCursorPos(on2.x + 600, on2.y + 600);
    const DWORD start = ::GetTickCount();
    while (host.events.empty() && ::GetTickCount() - start < 5000) {
        Pump();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    EXPECT_EQ("hover(-1)", Join(host.events));
    EXPECT_EQ(-1, m_surface->GetActiveIndex());
}

}  // namespace
