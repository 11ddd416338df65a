#pragma once
#include "foundation/strings/LiteString.h"

namespace System {

// Whether the screen knows a font family of that name.
bool IsFontInstalled(const wlitestring& family);

}  // namespace System
