#pragma once
// IObject: what windows and elements of a layout share (id, type, shape,
// visual, settings); IMutableObject: how the layout reader fills it.
#include "skin/layout/ICustomizable.h"
#include "skin/layout/IVisualInfo.h"

#include <boost/shared_ptr.hpp>

#include <string>

namespace LayoutLib {

// The outline of a window or element.
enum ShapeType {
    ShapeCustom = 0,
    ShapeRectangular = 1,
    ShapeRoundedRectangular = 2,
    ShapeElliptic = 3,
    ShapeMasked = 4
};

class IObject : public ICustomizable, public INamed {
public:
    virtual ~IObject() = default;
    virtual void _ReservedObject() {}

    // -1: none.
    virtual int GetId() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual std::wstring GetType() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual bool IsAutomated() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual int GetShapeType() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual const CustomValues& GetShapeValues() const { InterfaceCore::ThrowPureVirtualCall(); }
    // Empty when the object has no "Visual".
    virtual boost::shared_ptr<IVisualInfo> GetVisual() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual const CustomValues& GetSettings() const { InterfaceCore::ThrowPureVirtualCall(); }
};

class IMutableObject {
public:
    virtual ~IMutableObject() = default;
    virtual void _ReservedMutableObject() {}

    virtual void SetShape(int type, const CustomValues& values) { InterfaceCore::ThrowPureVirtualCall(); }
    virtual void SetCustomValues(const CustomValues& values) { InterfaceCore::ThrowPureVirtualCall(); }
    virtual void SetAutomated(bool isAutomated) { InterfaceCore::ThrowPureVirtualCall(); }
};

}  // namespace LayoutLib
