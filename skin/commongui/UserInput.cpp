#include "skin/commongui/UserInput.h"

#include <utility>

namespace CommonGuiLib {

namespace {

InputFunctions& Table() {
    static InputFunctions table = RealInputFunctions();
    return table;
}

template <class Function>
void FillGap(Function& function, const Function& real) {
    if (!function)
        function = real;
}

}  // namespace

const InputFunctions& Input() { return Table(); }

InputFunctions RealInputFunctions() {
    InputFunctions real;
    real.getCursorPos = [](POINT* point) { return ::GetCursorPos(point); };
    real.windowFromPoint = [](POINT point) { return ::WindowFromPoint(point); };
    real.childWindowFromPointEx = [](HWND parent, POINT point, UINT flags) {
        return ::ChildWindowFromPointEx(parent, point, flags);
    };
    real.getKeyState = [](int virtualKey) { return ::GetKeyState(virtualKey); };
    real.trackMouseEvent = [](TRACKMOUSEEVENT* request) { return ::TrackMouseEvent(request); };
    real.setCapture = [](HWND window) { return ::SetCapture(window); };
    real.releaseCapture = [] { return ::ReleaseCapture(); };
    return real;
}

InputFunctions SetInputFunctions(InputFunctions functions) {
    const InputFunctions real = RealInputFunctions();
    FillGap(functions.getCursorPos, real.getCursorPos);
    FillGap(functions.windowFromPoint, real.windowFromPoint);
    FillGap(functions.childWindowFromPointEx, real.childWindowFromPointEx);
    FillGap(functions.getKeyState, real.getKeyState);
    FillGap(functions.trackMouseEvent, real.trackMouseEvent);
    FillGap(functions.setCapture, real.setCapture);
    FillGap(functions.releaseCapture, real.releaseCapture);
    InputFunctions previous = std::move(Table());
    Table() = std::move(functions);
    return previous;
}

ScopedInputFunctions::ScopedInputFunctions(InputFunctions functions)
    : m_previous(SetInputFunctions(std::move(functions))) {}

ScopedInputFunctions::~ScopedInputFunctions() { SetInputFunctions(std::move(m_previous)); }

}  // namespace CommonGuiLib
