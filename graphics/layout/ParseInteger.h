#pragma once
// The integer rule of skin texts: a text that is wholly a decimal integer (an
// optional sign, then digits) gives its value; an empty text, anything else,
// or a number beyond 32 bits gives 0. Never throws.
#include "foundation/strings/LiteString.h"

namespace LayoutLib {

int ParseInteger(const wlitestring& text);

}  // namespace LayoutLib
