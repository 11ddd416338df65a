#pragma once
// Reads the custom values of a layout object: a container element ("Custom",
// "Settings", or a Shape itself) whose "data" attribute holds
//   name=value;name@i=42;name@b=1;name=[key]@default
// and whose "Value" children hold name, value, type ("string", "int",
// "bool") and "def". The data entries are stored first, so a Value of the
// same name replaces them. With a reference list, a value "[key]" longer
// than three characters is recorded as a reference instead of being stored.
// Nothing here fails: malformed entries are left out.
#include "foundation/filesystem/XmlFile.h"
#include "skin/layout/CustomValues.h"

#include <string>

namespace LayoutLib {

// The first child named `container` of `node`; nothing changes without one.
void ReadCustomValues(IXMLDOMNode* node, const wchar_t* container, CustomValues& values,
                      CustomReferences* references);
// The "data" attribute and "Value" children of `container` itself.
void ReadContainerValues(IXMLDOMNode* container, CustomValues& values, CustomReferences* references);

}  // namespace LayoutLib
