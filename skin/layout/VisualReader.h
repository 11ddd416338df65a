#pragma once
// Reads the first "Visual" of a window or element: its "type", its "Custom"
// values with references, and "States/State" children, each with a "name"
// (required), "picture", "cursor" ("Hand", else the default) and "Custom".
// The first state of a name stays.
#include "foundation/filesystem/XmlFile.h"
#include "skin/layout/IVisualInfo.h"

#include <boost/shared_ptr.hpp>

namespace LayoutLib {

// Empty when the node has no "Visual" child.
boost::shared_ptr<IVisualInfo> ReadVisual(IXMLDOMNode* node);

}  // namespace LayoutLib
