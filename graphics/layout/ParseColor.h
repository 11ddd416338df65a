#pragma once
// The colour syntax of skins, shared by the layout XML and the resource
// manager's colour resources:
//   "#RRGGBB"                      hexadecimal red, green, blue
//   "@NAME" or "@15"               a system colour by "COLOR_" name or index
//   "@NAME+(r,g,b)", "@NAME-(r,g,b)"  the same, lighter or darker, limited to 0..255
//   "r,g,b"                        decimal, each taken modulo 256
#include "foundation/strings/LiteString.h"

#include <windows.h>

namespace LayoutLib {

// False when the text is no colour; `color` is 0 then. Never throws.
bool ParseColor(const wlitestring& text, COLORREF& color);

}  // namespace LayoutLib
