#pragma once
// IPicture: a named picture of the layout, an ordered list of drawables.
#include "skin/layout/ICustomizable.h"
#include "skin/layout/IDrawable.h"

#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <string>
#include <vector>

namespace LayoutLib {

typedef std::vector<boost::shared_ptr<IDrawable>> DrawableList;

class IPicture : public ICustomizable, public INamed {
public:
    virtual ~IPicture() = default;
    virtual void _ReservedPicture() {}

    virtual SIZE GetSize() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual bool IsResizable() const { InterfaceCore::ThrowPureVirtualCall(); }
    // Copies the drawables, in document order, into `drawables`; true.
    virtual bool GetDrawables(DrawableList& drawables) const { InterfaceCore::ThrowPureVirtualCall(); }
    // The first drawable of that kind and exact name; an empty name takes the
    // first of the kind. Empty when none.
    virtual boost::shared_ptr<IDrawable> FindDrawable(int kind, const std::wstring& name) const {
        InterfaceCore::ThrowPureVirtualCall();
    }
};

}  // namespace LayoutLib
