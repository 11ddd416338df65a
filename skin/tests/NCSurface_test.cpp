// The caption surface over a real frame window: the cursor, the window under
// it and the capture come from the input door; WM_TIMER is sent by the test.
#include "skin/surface/NCSurface.h"
#include "skin/commongui/UserInput.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using CommonGuiLib::InputFunctions;
using CommonGuiLib::ScopedInputFunctions;

const COLORREF kHostColor = RGB(20, 160, 90);

class RecordingHost : public NCSurface::IHost {
public:
    void Paint(NCSurface&, CanvasT<CommonGuiLib::CMemDC>& canvas, const RECT& rect) override {
        ++paints;
        rects.push_back(rect);
        canvas.FillSolidRect(&rect, kHostColor);
    }
    void OnClick(NCSurface& surface, int index) override { clicks.push_back(index); }

    int paints = 0;
    std::vector<RECT> rects;
    std::vector<int> clicks;
};

// The frame routes its messages to the surface as the main frame does.
NCSurface* g_routed = nullptr;
int g_ncPaints = 0;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCPAINT: {
        ++g_ncPaints;
        const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
        if (g_routed)
            g_routed->Paint();
        return result;
    }
    case WM_TIMER:
        if (g_routed)
            g_routed->OnTimer(wParam);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

class NCSurfaceTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = FrameProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"NCSurfaceTestFrame";
        windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        ::RegisterClassW(&windowClass);
        m_window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                     40, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(nullptr, m_window);
        InputFunctions input;
        input.getCursorPos = [this](POINT* point) {
            RECT rect;
            ::GetWindowRect(m_window, &rect);
            *point = POINT{rect.left + m_cursor.x, rect.top + m_cursor.y};
            return TRUE;
        };
        input.windowFromPoint = [this](POINT) { return m_window; };
        input.setCapture = [this](HWND window) {
            m_captures.push_back(window);
            return HWND(nullptr);
        };
        input.releaseCapture = [this] {
            ++m_releases;
            return TRUE;
        };
        m_input = std::make_unique<ScopedInputFunctions>(input);
    }
    void TearDown() override {
        g_routed = nullptr;
        m_surface.reset();
        m_input.reset();
        ::DestroyWindow(m_window);
    }

    // As the frame does it: no window at first, attached in WM_CREATE, two
    // elements added afterwards in window coordinates.
    void Attach(bool captureEnabled = true) {
        m_surface = std::make_unique<NCSurface>(&m_host, nullptr, captureEnabled, false);
        g_routed = m_surface.get();
        m_surface->Attach(m_window, false);
        m_surface->GetRegions().AddRect(0, RECT{10, 2, 30, 15}, CommonGuiLib::AnchoredRegionSet::AnchorLeft |
                                                                    CommonGuiLib::AnchoredRegionSet::AnchorTop, 0);
        m_surface->GetRegions().AddRect(1, RECT{40, 2, 60, 15}, CommonGuiLib::AnchoredRegionSet::AnchorLeft |
                                                                    CommonGuiLib::AnchoredRegionSet::AnchorTop, 0);
        m_host = RecordingHost();
        g_ncPaints = 0;
    }

    void Send(UINT message, POINT windowPoint) {
        m_cursor = windowPoint;
        MSG msg = {m_window, message, 0, 0, 0, {}};
        EXPECT_FALSE(m_surface->PreTranslateMessage(&msg));
    }

    HWND m_window = nullptr;
    POINT m_cursor = {150, 120};
    RecordingHost m_host;
    std::unique_ptr<NCSurface> m_surface;
    std::unique_ptr<ScopedInputFunctions> m_input;
    std::vector<HWND> m_captures;
    int m_releases = 0;
};

TEST_F(NCSurfaceTest, AClientClickWithNoHotElementReportsMinusOne) {
    Attach();
    Send(WM_LBUTTONDOWN, POINT{150, 120});
    EXPECT_EQ((std::vector<int>{-1}), m_host.clicks);
    Send(WM_NCLBUTTONDOWN, POINT{45, 5});
    EXPECT_EQ((std::vector<int>{-1, 1}), m_host.clicks);
}

TEST_F(NCSurfaceTest, MovingPaintsOnceMoreForEachChangeOfTheHotElement) {
    Attach();
    const struct {
        POINT point;
        int hot;
        int paints;  // one for every mouse update, one more for a new hot index
    } steps[] = {
        {{15, 5}, 0, 2},    // onto element 0
        {{25, 10}, 0, 1},   // within element 0
        {{45, 5}, 1, 2},    // onto element 1
        {{100, 5}, -1, 2},  // off every element
        {{110, 6}, -1, 1},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "(" << step.point.x << ", " << step.point.y << ")");
        m_host.paints = 0;
        Send(WM_NCMOUSEMOVE, step.point);
        EXPECT_EQ(step.hot, m_surface->GetHotIndex());
        EXPECT_EQ(step.paints, m_host.paints);
    }
    RECT window;
    ::GetWindowRect(m_window, &window);
    ASSERT_FALSE(m_host.rects.empty());
    const RECT expected = {0, 0, window.right - window.left, ::GetSystemMetrics(SM_CYCAPTION)};
    EXPECT_TRUE(::EqualRect(&expected, &m_host.rects.back()));
}

TEST_F(NCSurfaceTest, TheCaptionStripLeavesTheOuterPixelsOut) {
    const int width = 300;
    const int caption = ::GetSystemMetrics(SM_CYCAPTION);
    const struct {
        POINT point;
        bool inside;
    } cases[] = {
        {{0, 5}, false},          {{1, 1}, true},           {{width - 1, 5}, true}, {{width, 5}, false},
        {{5, 0}, false},          {{5, caption - 1}, true}, {{5, caption}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, NCSurface::IsInCaptionStrip(c.point, width)) << c.point.x << "," << c.point.y;

    Attach();
    Send(WM_MOUSEMOVE, POINT{5, 5});
    EXPECT_TRUE(m_surface->IsInside());
    Send(WM_MOUSEMOVE, POINT{0, 5});
    EXPECT_FALSE(m_surface->IsInside());
    EXPECT_TRUE(m_surface->WasInside());
    Send(WM_MOUSEMOVE, POINT{5, caption});
    EXPECT_FALSE(m_surface->IsInside());
    EXPECT_FALSE(m_surface->WasInside());
}

TEST_F(NCSurfaceTest, CaptureIsTakenOverAnElementAndGivenBackOffIt) {
    Attach();
    Send(WM_NCMOUSEMOVE, POINT{15, 5});
    EXPECT_EQ((std::vector<HWND>{m_window}), m_captures);
    EXPECT_TRUE(m_surface->IsCaptured());
    Send(WM_NCMOUSEMOVE, POINT{45, 5});  // another element: still held, not taken twice
    EXPECT_EQ(1u, m_captures.size());
    EXPECT_EQ(0, m_releases);
    Send(WM_NCMOUSEMOVE, POINT{100, 5});
    EXPECT_EQ(1, m_releases);
    EXPECT_FALSE(m_surface->IsCaptured());

    Attach(false);
    Send(WM_NCMOUSEMOVE, POINT{15, 5});
    EXPECT_EQ(1u, m_captures.size());
}

TEST_F(NCSurfaceTest, OnlyANewWidthRedrawsTheFrame) {
    Attach();
    m_surface->OnSize();
    EXPECT_EQ(0, g_ncPaints);
    EXPECT_EQ(1, m_host.paints);

    ::SetWindowPos(m_window, nullptr, 0, 0, 360, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    g_ncPaints = 0;
    m_host.paints = 0;
    m_surface->OnSize();
    EXPECT_GE(g_ncPaints, 1);
    EXPECT_EQ(360, m_surface->GetRegions().GetLayoutSize().cx);
    EXPECT_EQ(::GetSystemMetrics(SM_CYCAPTION), m_surface->GetRegions().GetLayoutSize().cy);
}

TEST_F(NCSurfaceTest, ActivationRepaintsOnceFromItsOneShotTimer) {
    Attach();
    m_surface->OnNcActivate(TRUE);
    MSG posted;
    EXPECT_TRUE(::PeekMessageW(&posted, m_window, WM_NCPAINT, WM_NCPAINT, PM_REMOVE));
    EXPECT_EQ(0, m_host.paints);
    ::SendMessageW(m_window, WM_TIMER, NCSurface::kActivationTimer, 0);
    EXPECT_EQ(1, m_host.paints);
    EXPECT_FALSE(::KillTimer(m_window, NCSurface::kActivationTimer)) << "the one-shot timer is gone";
    ::SendMessageW(m_window, WM_TIMER, 77, 0);
    EXPECT_EQ(1, m_host.paints);
    ::SendMessageW(m_window, WM_TIMER, NCSurface::kRepaintTimer, 0);
    EXPECT_EQ(2, m_host.paints);
}

TEST_F(NCSurfaceTest, WithoutAWindowNothingHappens) {
    NCSurface surface(&m_host, nullptr, true, true);
    surface.OnSize();
    surface.Paint();
    surface.OnTimer(NCSurface::kRepaintTimer);
    surface.OnNcActivate(TRUE);
    MSG msg = {m_window, WM_LBUTTONDOWN, 0, 0, 0, {}};
    EXPECT_FALSE(surface.PreTranslateMessage(&msg));
    EXPECT_FALSE(surface.PreTranslateMessage(nullptr));
    EXPECT_EQ(0, m_host.paints);
    EXPECT_TRUE(m_host.clicks.empty());
    EXPECT_TRUE(m_captures.empty());
}

TEST_F(NCSurfaceTest, TheStripShowsWhatTheHostPaints) {
    Attach();
    ::RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    m_surface->Paint();
    Testing::SaveWindowPicture(m_window, L"NCSurfaceCaption");
    HDC dc = ::GetWindowDC(m_window);
    const COLORREF inStrip = ::GetPixel(dc, 5, 5);
    const COLORREF farRight = ::GetPixel(dc, 290, ::GetSystemMetrics(SM_CYCAPTION) - 1);
    ::ReleaseDC(m_window, dc);
    EXPECT_EQ(kHostColor, inStrip);
    EXPECT_EQ(kHostColor, farRight);
}

}  // namespace
