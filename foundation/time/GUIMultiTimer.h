#pragma once
// GUIMultiTimer: a multi-timer driven by one SetTimer timer of a window. The
// window's WM_TIMER handler passes the timer id to OnTimer, so every callback
// runs on the window's thread.
//
// Threads: the window's thread only (see MultiTimerBase).
#include "foundation/time/MultiTimerBase.h"

#include <windows.h>

namespace Time {

class GUIMultiTimer : public MultiTimerBase {
public:
    // unit: milliseconds per unit of the intervals. A null window throws
    // std::runtime_error "Invalid window", a unit below 1 "Invalid unit".
    GUIMultiTimer(HWND window, UINT timerId, int unit);
    // The same, measured with the given clock (tests pass a clock of their own).
    GUIMultiTimer(HWND window, UINT timerId, int unit, const ObjectRef<IIntervalTimer>& clock);

    // SetTimer(window, timer id, unit * units ms) for units >= 0; KillTimer
    // for units < 0. The result is whether the call succeeded.
    bool _Arm(int units) override;

    // For this object's timer id: fires the due timers and re-arms, with the
    // re-arming's result. Any other id: false, nothing fires.
    bool OnTimer(UINT_PTR timerId);

private:
    HWND m_window;
    UINT m_timerId;
    int m_unit;
};

// The window-timer calls a GUIMultiTimer makes. Tests only: swap them to see
// what is asked of the window without waiting for it; returns the calls in
// use before.
struct WindowTimerCalls {
    UINT_PTR(WINAPI* setTimer)(HWND, UINT_PTR, UINT, TIMERPROC);
    BOOL(WINAPI* killTimer)(HWND, UINT_PTR);
};
WindowTimerCalls SetWindowTimerCalls(const WindowTimerCalls& calls) noexcept;

}  // namespace Time
