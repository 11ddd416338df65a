#pragma once
// The one door through which the markup tooltip reads the mouse, finds
// windows under it and arms its timers. Tests replace the table so that no
// real mouse is needed and every timer can be seen and driven by hand.
// GUI thread only.
#include <windows.h>

#include <functional>

namespace ControlsLib {

struct TooltipFunctions {
    std::function<BOOL(POINT* point)> getCursorPos;
    std::function<HWND(POINT point)> windowFromPoint;
    std::function<HWND(HWND parent, POINT point, UINT flags)> childWindowFromPointEx;
    std::function<UINT_PTR(HWND window, UINT_PTR id, UINT milliseconds)> setTimer;
    std::function<BOOL(HWND window, UINT_PTR id)> killTimer;
};

// The table in use; a missing entry runs the Win32 call itself.
const TooltipFunctions& Tooltip();

// Installs a table and returns the one it replaces.
TooltipFunctions SetTooltipFunctions(TooltipFunctions functions);

class ScopedTooltipFunctions {
public:
    explicit ScopedTooltipFunctions(TooltipFunctions functions) : m_previous(SetTooltipFunctions(std::move(functions))) {}
    ~ScopedTooltipFunctions() { SetTooltipFunctions(m_previous); }
    ScopedTooltipFunctions(const ScopedTooltipFunctions&) = delete;
    ScopedTooltipFunctions& operator=(const ScopedTooltipFunctions&) = delete;

private:
    TooltipFunctions m_previous;
};

}  // namespace ControlsLib
