#include "foundation/system/Foreground.h"

namespace System {

bool ForceForegroundWindow(HWND window) {
    SetForegroundWindow(window);
    if (HWND foreground = GetForegroundWindow()) {
        const DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
        const DWORD thisThread = GetCurrentThreadId();
        // A thread cannot attach to itself, and needs no attaching to its own input.
        const bool attach = foregroundThread != thisThread;
        if (attach && !AttachThreadInput(thisThread, foregroundThread, TRUE))
            return false;
        if (ShowWindow(window, SW_HIDE) && ShowWindow(window, SW_RESTORE))
            SetForegroundWindow(window);
        if (attach)
            AttachThreadInput(thisThread, foregroundThread, FALSE);
    }
    return SetForegroundWindow(window) != FALSE;
}

}  // namespace System
