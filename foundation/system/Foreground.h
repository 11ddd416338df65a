#pragma once
#include <windows.h>

namespace System {

// Brings the window to the foreground even while another process owns it:
// joins the foreground thread's input, hides and restores the window (only
// when it was visible), and asks again. A hidden window stays hidden.
bool ForceForegroundWindow(HWND window);

}  // namespace System
