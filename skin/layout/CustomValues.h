#pragma once
// The named values that layout objects carry beside their fixed attributes
// ("Custom", "Settings", shape values, picture parameters). The map itself
// belongs to the foundation, whose file stream takes its options in it; the
// layout library knows it under its own names, and adds the records of values
// that name another value instead of holding one ("[key]" in "Custom").
#include "foundation/core/CustomValues.h"

#include <string>
#include <vector>

namespace LayoutLib {

using STLHelpers::CustomValue;
using STLHelpers::CustomValueEntry;
using STLHelpers::CustomValues;
using STLHelpers::SetCustomValue;
using STLHelpers::_FindCustomValue;
using STLHelpers::_FindCustomBool;
using STLHelpers::_FindCustomInt;
using STLHelpers::_FindCustomString;

// The type a referenced value takes once it is resolved.
enum CustomReferenceKind { ReferenceString = 0, ReferenceInteger = 1, ReferenceBoolean = 2 };

// A custom value written as "[reference]": its users resolve it later.
struct CustomReference {
    int kind = ReferenceString;
    std::wstring name;
    std::wstring reference;     // the text between the brackets
    std::wstring defaultText;   // may be empty
};

typedef std::vector<CustomReference> CustomReferences;

}  // namespace LayoutLib
