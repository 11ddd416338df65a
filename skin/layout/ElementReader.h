#pragma once
// Reads an "Element" of a layout window, and the value syntax elements and
// drawables share:
//   position  a "Position" child with mandatory "left", "top", "right",
//             "bottom", or a "position" attribute "left,top,right,bottom"
//   anchors   an "Anchors" child's "value" or an "anchors" attribute:
//             "Left", "Right", "Top", "Bottom", "HorzCenter", "VertCenter"
//             separated by ";" or ","; "Left;Top" (5) when absent or empty
//   triggers  "overTriggers" and "downTriggers": ids separated by ","
#include "foundation/filesystem/XmlFile.h"
#include "skin/layout/CustomValues.h"
#include "skin/layout/IElement.h"

#include <boost/shared_ptr.hpp>

#include <windows.h>

namespace LayoutLib {

// An empty result when the element is rejected: no id and no name, a
// rejected shape, no readable position (an automated element needs a
// non-empty one), or an unknown anchor.
boost::shared_ptr<IElement> ReadElement(IXMLDOMNode* node);

// False when the attribute holds fewer than four numbers; `position` then
// keeps the numbers read before the scan stopped and 0 in the others.
// `values` resolve a "[key]" attribute.
bool ReadPosition(IXMLDOMNode* node, const CustomValues& values, RECT& position);
// False at a token that is none of the six; `anchors` then holds the flags
// of the tokens before it.
bool ReadAnchors(IXMLDOMNode* node, const CustomValues& values, int& anchors);

}  // namespace LayoutLib
