#include "controls/tooltip/TooltipSystem.h"

namespace ControlsLib {

namespace {

TooltipFunctions RealFunctions() {
    TooltipFunctions functions;
    functions.getCursorPos = [](POINT* point) { return ::GetCursorPos(point); };
    functions.windowFromPoint = [](POINT point) { return ::WindowFromPoint(point); };
    functions.childWindowFromPointEx = [](HWND parent, POINT point, UINT flags) {
        return ::ChildWindowFromPointEx(parent, point, flags);
    };
    functions.setTimer = [](HWND window, UINT_PTR id, UINT milliseconds) {
        return ::SetTimer(window, id, milliseconds, nullptr);
    };
    functions.killTimer = [](HWND window, UINT_PTR id) { return ::KillTimer(window, id); };
    return functions;
}

TooltipFunctions& Current() {
    static TooltipFunctions current = RealFunctions();
    return current;
}

}  // namespace

const TooltipFunctions& Tooltip() {
    return Current();
}

TooltipFunctions SetTooltipFunctions(TooltipFunctions functions) {
    const TooltipFunctions real = RealFunctions();
    if (!functions.getCursorPos)
        functions.getCursorPos = real.getCursorPos;
    if (!functions.windowFromPoint)
        functions.windowFromPoint = real.windowFromPoint;
    if (!functions.childWindowFromPointEx)
        functions.childWindowFromPointEx = real.childWindowFromPointEx;
    if (!functions.setTimer)
        functions.setTimer = real.setTimer;
    if (!functions.killTimer)
        functions.killTimer = real.killTimer;
    TooltipFunctions previous = Current();
    Current() = std::move(functions);
    return previous;
}

}  // namespace ControlsLib
