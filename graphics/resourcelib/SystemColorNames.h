#pragma once
// The Win32 system colours by their "COLOR_" names, as skins write them.
#include "foundation/strings/LiteString.h"

#include <windows.h>

namespace ResourceLib {

// True and GetSysColor of the named index when `name` is one of the Win32
// "COLOR_" names (exact, case-sensitive); false leaves `color` alone.
bool GetSystemColorByName(const wlitestring& name, COLORREF& color);

}  // namespace ResourceLib
