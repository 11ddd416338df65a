#include "foundation/time/GUIMultiTimer.h"

#include "foundation/time/GetTickCountIntervalTimer.h"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <stdexcept>

namespace Time {

namespace {

WindowTimerCalls g_windowTimerCalls = {::SetTimer, ::KillTimer};

HWND CheckedWindow(HWND window) {
    if (!window)
        throw std::runtime_error("Invalid window");
    return window;
}

}  // namespace

WindowTimerCalls SetWindowTimerCalls(const WindowTimerCalls& calls) noexcept {
    const WindowTimerCalls previous = g_windowTimerCalls;
    g_windowTimerCalls = calls;
    return previous;
}

GUIMultiTimer::GUIMultiTimer(HWND window, UINT timerId, int unit)
    : GUIMultiTimer(window, timerId, unit,
                    boost::shared_ptr<IIntervalTimer>(boost::make_shared<GetTickCountIntervalTimer>(unit))) {}

GUIMultiTimer::GUIMultiTimer(HWND window, UINT timerId, int unit, const ObjectRef<IIntervalTimer>& clock)
    : MultiTimerBase(clock), m_window(CheckedWindow(window)), m_timerId(timerId), m_unit(unit) {
    if (unit < 1)
        throw std::runtime_error("Invalid unit");
}

bool GUIMultiTimer::_Arm(int units) {
    if (units < 0)
        return g_windowTimerCalls.killTimer(m_window, m_timerId) != FALSE;
    // SetTimer takes at most USER_TIMER_MAXIMUM; the product may not fit 32 bits.
    const unsigned long long ms = std::min<unsigned long long>(
        static_cast<unsigned long long>(m_unit) * static_cast<unsigned long long>(units), USER_TIMER_MAXIMUM);
    return g_windowTimerCalls.setTimer(m_window, m_timerId, static_cast<UINT>(ms), nullptr) != 0;
}

bool GUIMultiTimer::OnTimer(UINT_PTR timerId) {
    if (timerId != m_timerId)
        return false;
    return _FireDueTimers();
}

}  // namespace Time
