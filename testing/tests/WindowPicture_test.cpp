// Pictures come from the window itself: a window that another, topmost
// window covers on the display still shows its own pixels, frame and
// children included.
#include "testing/MessagePump.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const COLORREF kClientColour = RGB(200, 30, 40);
const COLORREF kChildColour = RGB(20, 160, 60);
const COLORREF kCoverColour = RGB(10, 20, 230);

COLORREF ColourOf(const Testing::Bgra& pixel) {
    return RGB(pixel.red, pixel.green, pixel.blue);
}

// Fills its client area with the colour kept in its user data and gives
// its static children kChildColour.
LRESULT CALLBACK PaintedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static HBRUSH childBrush = ::CreateSolidBrush(kChildColour);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        RECT client;
        ::GetClientRect(window, &client);
        ::SetBkColor(dc, static_cast<COLORREF>(::GetWindowLongPtrW(window, GWLP_USERDATA)));
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        ::SetBkColor(reinterpret_cast<HDC>(wParam), kChildColour);
        return reinterpret_cast<LRESULT>(childBrush);
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class PaintedWindow {
public:
    PaintedWindow(DWORD style, DWORD exStyle, RECT place, COLORREF colour) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = PaintedWindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"BrunlowPaintedProbe";
        ::RegisterClassW(&windowClass);
        handle = ::CreateWindowExW(exStyle, L"BrunlowPaintedProbe", L"Painted", style, place.left, place.top,
                                   place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowLongPtrW(handle, GWLP_USERDATA, colour);
        ::ShowWindow(handle, SW_SHOWNOACTIVATE);
        ::UpdateWindow(handle);
    }
    ~PaintedWindow() { ::DestroyWindow(handle); }
    PaintedWindow(const PaintedWindow&) = delete;
    PaintedWindow& operator=(const PaintedWindow&) = delete;
    HWND handle;
};

TEST(WindowPicture, ACoveredWindowShowsItsOwnPixelsFrameAndChildren) {
    PaintedWindow window(WS_POPUP | WS_CAPTION, 0, RECT{100, 100, 340, 260}, kClientColour);
    ASSERT_TRUE(window.handle);
    HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, 20, 40, 30, window.handle, nullptr,
                                   nullptr, nullptr);
    ASSERT_TRUE(child);
    PaintedWindow cover(WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, RECT{60, 60, 400, 320}, kCoverColour);
    ASSERT_TRUE(cover.handle);
    Testing::Pump(50);

    int width = 0, height = 0;
    const std::vector<Testing::Bgra> pixels = Testing::CaptureWindow(window.handle, width, height);
    ASSERT_EQ(240, width);
    ASSERT_EQ(160, height);
    ASSERT_EQ(static_cast<size_t>(width * height), pixels.size());
    POINT origin = {0, 0};  // the client area's top-left corner in the picture
    ::ClientToScreen(window.handle, &origin);
    origin.x -= 100;
    origin.y -= 100;
    ASSERT_GT(origin.y, 0) << "the window has a caption";
    auto at = [&](int x, int y) { return ColourOf(pixels[y * width + x]); };
    EXPECT_EQ(kClientColour, at(origin.x + 5, origin.y + 5));
    EXPECT_EQ(kClientColour, at(origin.x + 200, origin.y + 100));
    EXPECT_EQ(kChildColour, at(origin.x + 40, origin.y + 35)) << "the child shows";
    int covered = 0, caption = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            covered += at(x, y) == kCoverColour;
            caption += y < origin.y && at(x, y) != kClientColour;
        }
    EXPECT_EQ(0, covered) << "no pixel of the covering window";
    EXPECT_GT(caption, 0) << "the frame is drawn";
    EXPECT_FALSE(Testing::SaveWindowPicture(window.handle, L"CoveredWindow").empty());

    // The client area alone.
    const std::vector<Testing::Bgra> client = Testing::CaptureClient(window.handle, width, height);
    RECT area = {};
    ::GetClientRect(window.handle, &area);
    ASSERT_EQ(area.right, width);
    ASSERT_EQ(area.bottom, height);
    ASSERT_EQ(static_cast<size_t>(width * height), client.size());
    EXPECT_EQ(kClientColour, ColourOf(client[0]));
    EXPECT_EQ(kChildColour, ColourOf(client[25 * width + 30]));
    EXPECT_EQ(kClientColour, ColourOf(client[(height - 1) * width + width - 1]));
}

}  // namespace
