#pragma once
// Placing a window by the size of its client area.
#include <windows.h>

namespace CommonGuiLib {

// SetWindowPos with `width` and `height` taken as the client area's: the
// frame (caption, borders, menu) the window has now is added, unless
// SWP_NOSIZE is among the flags.
BOOL SetWindowPosClient(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);

}  // namespace CommonGuiLib
