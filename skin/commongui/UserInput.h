#pragma once
// The one door through which skinned windows read the mouse and the keyboard
// and take the mouse capture. Tests replace the table so that no real mouse
// is needed and no test depends on where the pointer happens to be.
//
// GUI thread only: the table is read while painting and handling messages.
#include <windows.h>

#include <functional>

namespace CommonGuiLib {

struct InputFunctions {
    std::function<BOOL(POINT* point)> getCursorPos;
    std::function<HWND(POINT point)> windowFromPoint;
    std::function<HWND(HWND parent, POINT point, UINT flags)> childWindowFromPointEx;
    std::function<SHORT(int virtualKey)> getKeyState;
    std::function<BOOL(TRACKMOUSEEVENT* request)> trackMouseEvent;
    std::function<HWND(HWND window)> setCapture;
    std::function<BOOL()> releaseCapture;
};

// The table in use.
const InputFunctions& Input();

// The Win32 calls themselves.
InputFunctions RealInputFunctions();

// Installs a table (a missing entry falls back to the real call) and returns
// the one it replaces.
InputFunctions SetInputFunctions(InputFunctions functions);

// A table of a test's own for the length of a scope: the destructor puts the
// previous table back, also when the test fails half-way.
class ScopedInputFunctions {
public:
    explicit ScopedInputFunctions(InputFunctions functions);
    ~ScopedInputFunctions();
    ScopedInputFunctions(const ScopedInputFunctions&) = delete;
    ScopedInputFunctions& operator=(const ScopedInputFunctions&) = delete;

private:
    InputFunctions m_previous;
};

}  // namespace CommonGuiLib
