#pragma once
// The look of a window or element: named visual states, each naming the
// picture to show in that state ("out", "over", "down", "disabled").
#include "skin/layout/ICustomizable.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace LayoutLib {

// Cursor codes of a visual state.
enum CursorCode { CursorDefault = 0, CursorHand = 1 };

class IVisualState : public ICustomizable, public INamed {
public:
    virtual ~IVisualState() = default;
    virtual void _ReservedVisualState() {}

    // The name of a picture of the layout document.
    virtual std::wstring GetPicture() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual int GetCursor() const { InterfaceCore::ThrowPureVirtualCall(); }
};

typedef std::vector<boost::shared_ptr<IVisualState>> VisualStateList;

// A visual has no name of its own.
class IVisualInfo : public ICustomizable {
public:
    virtual ~IVisualInfo() = default;
    virtual void _ReservedVisualInfo() {}

    virtual std::wstring GetType() const { InterfaceCore::ThrowPureVirtualCall(); }
    // Copies the states, in document order, into `states`; true.
    virtual bool GetStates(VisualStateList& states) const { InterfaceCore::ThrowPureVirtualCall(); }
    // The state of that exact name; empty for an empty name or none.
    virtual boost::shared_ptr<IVisualState> FindState(const std::wstring& name) const {
        InterfaceCore::ThrowPureVirtualCall();
    }
};

}  // namespace LayoutLib
