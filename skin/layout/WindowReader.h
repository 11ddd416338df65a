#pragma once
// Reads a "Window" of the layout XML: the object parts (ObjectReader.h),
// "Sizes" with its "Size" children, and "Elements/Element". A rejected
// window is an empty result; a missing mandatory attribute throws the XML
// layer's error (AttributeRules.h).
#include "foundation/filesystem/XmlFile.h"
#include "skin/layout/IWindow.h"

#include <boost/shared_ptr.hpp>

namespace LayoutLib {

boost::shared_ptr<IWindow> ReadWindow(IXMLDOMNode* node);

}  // namespace LayoutLib
