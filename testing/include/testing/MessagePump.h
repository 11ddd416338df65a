#pragma once
// Message pumping for tests that wait on their own thread's windows: every
// wait has a limit, so a fault shows as a failed expectation, not a hang.
#include <windows.h>

#include <functional>

namespace Testing {

// Dispatches this thread's messages for `milliseconds`.
inline void Pump(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    } while (::GetTickCount() - start < milliseconds);
}

// Pumps until `done` holds; false once `limit` milliseconds have passed.
inline bool PumpUntil(const std::function<bool()>& done, DWORD limit = 10000) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > limit)
            return false;
        Pump(1);
    }
    return true;
}

}  // namespace Testing
