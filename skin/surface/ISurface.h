#pragma once
// What controls and renderers ask a skinned surface about the mouse.
#include "foundation/core/InterfaceCore.h"

#include <windows.h>

class ISurface : public InterfaceCore::IInterfaceCore<ISurface> {
public:
    // The element under the cursor as last computed; -1 for none.
    virtual int GetActiveIndex() const = 0;
    // The left button is down now.
    virtual bool IsLeftButtonDown() const = 0;
    // The cursor was inside the client area at the last update.
    virtual bool IsMouseInside() const = 0;
    // The mouse moved with the left button down since the last press.
    virtual bool IsDragging() const = 0;
    // The element under the cursor at the last left press; -1 for none.
    virtual int GetPressedIndex() const = 0;
    virtual POINT GetPressPoint() const = 0;
    virtual POINT GetCursorClientPos() const = 0;
    virtual HWND GetWindowHandle() const = 0;
};
