#pragma once
// What the layout XML gives windows and elements alike: the header ("id",
// "name", "type"), then "automate", the first "Shape", "Custom" (with
// references), "Settings" and "Visual".
#include "foundation/filesystem/XmlFile.h"
#include "skin/layout/CustomValues.h"
#include "skin/layout/IVisualInfo.h"
#include "skin/layout/ObjectT.h"

#include <boost/shared_ptr.hpp>

#include <string>

namespace LayoutLib {

struct ObjectHeader {
    int id = -1;  // an empty "id"
    std::wstring name;
    std::wstring type;
};

// False when the object has neither an id nor a name.
bool ReadObjectHeader(IXMLDOMNode* node, ObjectHeader& header);

// The first "Shape" child: Rectangular with no values without one. False for
// an unknown type, a RoundedRectangular without integer "rx" and "ry" (other
// than -1), or a Masked without "mask" or "maskPath". A Shape without "type"
// throws the XML layer's error.
bool ReadShape(IXMLDOMNode* node, int& shapeType, CustomValues& shapeValues);

struct ObjectParts {
    bool isAutomated = false;
    int shapeType = ShapeRectangular;
    CustomValues shapeValues;
    CustomValues customValues;
    CustomReferences customReferences;
    CustomValues settings;
    boost::shared_ptr<IVisualInfo> visual;
};

// The parts after the header, in that order; false when the shape is rejected.
bool ReadObjectParts(IXMLDOMNode* node, ObjectParts& parts);

template <class I>
void ApplyObjectParts(const ObjectParts& parts, ObjectT<I>& object) {
    object.SetAutomated(parts.isAutomated);
    object.SetShape(parts.shapeType, parts.shapeValues);
    object.SetCustomValues(parts.customValues);
    object.SetCustomReferences(parts.customReferences);
    object.SetSettings(parts.settings);
    object.SetVisual(parts.visual);
}

}  // namespace LayoutLib
