#pragma once
// The named values that layout objects carry beside their fixed attributes
// ("Custom", "Settings", shape values, picture parameters). The map itself
// belongs to the foundation, whose file stream takes its options in it; the
// layout library knows it under its own names.
#include "foundation/core/CustomValues.h"

namespace LayoutLib {

using STLHelpers::CustomValue;
using STLHelpers::CustomValueEntry;
using STLHelpers::CustomValues;
using STLHelpers::SetCustomValue;
using STLHelpers::_FindCustomValue;
using STLHelpers::_FindCustomBool;
using STLHelpers::_FindCustomInt;
using STLHelpers::_FindCustomString;

}  // namespace LayoutLib
