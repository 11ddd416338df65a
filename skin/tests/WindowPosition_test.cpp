#include "skin/commongui/WindowPosition.h"

#include <gtest/gtest.h>

namespace {

using CommonGuiLib::SetWindowPosClient;

// A hidden top-level window with a caption and a sizing border.
class FramedWindow {
public:
    FramedWindow()
        : m_window(::CreateWindowExW(0, L"STATIC", L"Framed", WS_OVERLAPPEDWINDOW, 30, 40, 120, 90, nullptr,
                                     nullptr, ::GetModuleHandleW(nullptr), nullptr)) {}
    ~FramedWindow() {
        if (m_window)
            ::DestroyWindow(m_window);
    }
    FramedWindow(const FramedWindow&) = delete;
    FramedWindow& operator=(const FramedWindow&) = delete;
    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

SIZE ClientSize(HWND window) {
    RECT client = {};
    ::GetClientRect(window, &client);
    return {client.right, client.bottom};
}

SIZE WindowSize(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

TEST(SetWindowPosClient, SizeIsTheClientAreas) {
    FramedWindow window;
    ASSERT_TRUE(window.Get());
    ASSERT_TRUE(SetWindowPosClient(window.Get(), nullptr, 10, 20, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE));
    const SIZE client = ClientSize(window.Get());
    EXPECT_EQ(200, client.cx);
    EXPECT_EQ(100, client.cy);
    const SIZE outer = WindowSize(window.Get());
    EXPECT_GT(outer.cx, 200);
    EXPECT_GT(outer.cy, 100);
    RECT rect = {};
    ::GetWindowRect(window.Get(), &rect);
    EXPECT_EQ(10, rect.left);
    EXPECT_EQ(20, rect.top);
}

TEST(SetWindowPosClient, NoSizeKeepsTheSize) {
    FramedWindow window;
    ASSERT_TRUE(window.Get());
    const SIZE before = WindowSize(window.Get());
    ASSERT_TRUE(SetWindowPosClient(window.Get(), nullptr, 15, 25, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE));
    const SIZE after = WindowSize(window.Get());
    EXPECT_EQ(before.cx, after.cx);
    EXPECT_EQ(before.cy, after.cy);
    RECT rect = {};
    ::GetWindowRect(window.Get(), &rect);
    EXPECT_EQ(15, rect.left);
    EXPECT_EQ(25, rect.top);
}

}  // namespace
