#pragma once
// Reads a "Picture" of the layout XML: "name" (required), "width",
// "height", "resizable", its "Custom" values (no references) with the
// parameters laid over them, and one drawable per child element named
// "Picture", "Icon", "Text", "Bitmap", "Shape", "Fill", "Rectangle" or
// "Special" (other children are skipped). Every attribute of a drawable may
// be written "[key]" to take the string parameter `key` of the read.
#include "foundation/filesystem/XmlFile.h"
#include "skin/layout/CustomValues.h"
#include "skin/layout/IPicture.h"

#include <boost/shared_ptr.hpp>

namespace LayoutLib {

// Empty when the picture has no name.
boost::shared_ptr<IPicture> ReadPicture(IXMLDOMNode* node, const CustomValues& parameters);

// Empty for a node that is no drawable.
boost::shared_ptr<IDrawable> ReadDrawable(IXMLDOMNode* node, const CustomValues& parameters);

}  // namespace LayoutLib
