#include "skin/commongui/WindowPosition.h"

namespace CommonGuiLib {

BOOL SetWindowPosClient(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    if (!(flags & SWP_NOSIZE)) {
        RECT windowRect = {};
        RECT clientRect = {};
        if (::GetWindowRect(window, &windowRect) && ::GetClientRect(window, &clientRect)) {
            width += (windowRect.right - windowRect.left) - (clientRect.right - clientRect.left);
            height += (windowRect.bottom - windowRect.top) - (clientRect.bottom - clientRect.top);
        }
    }
    return ::SetWindowPos(window, insertAfter, x, y, width, height, flags);
}

}  // namespace CommonGuiLib
