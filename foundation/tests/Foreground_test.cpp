// The real foreground is the display's: these tests run alone.
#include "foundation/system/Foreground.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kClassName[] = L"BrunlowForegroundProbe";

// A top-level window of this thread, destroyed with its owner.
class TopLevelWindow {
public:
    explicit TopLevelWindow(bool visible) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        RegisterClassW(&windowClass);
        handle = CreateWindowExW(0, kClassName, L"probe", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10, 10,
                                 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~TopLevelWindow() {
        if (handle)
            DestroyWindow(handle);
    }
    HWND handle;
};

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

TEST(ForegroundAlone, VisibleWindowOfThisThreadComesToTheFront) {
    TopLevelWindow other(true);
    TopLevelWindow window(true);
    ASSERT_NE(nullptr, window.handle);
    SetForegroundWindow(other.handle);
    PumpMessages();

    // The foreground belongs to this thread: nothing to attach to, and no
    // failure for it.
    EXPECT_TRUE(System::ForceForegroundWindow(window.handle));
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(window.handle));
}

TEST(ForegroundAlone, HiddenWindowStaysHidden) {
    TopLevelWindow visible(true);
    TopLevelWindow hidden(false);
    ASSERT_NE(nullptr, hidden.handle);
    SetForegroundWindow(visible.handle);
    PumpMessages();

    System::ForceForegroundWindow(hidden.handle);
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(hidden.handle));
}

}  // namespace
