#pragma once
// IWindow: one dialog or window of a skin's layout with its sizes and its
// elements; IMutableWindow fills it.
#include "skin/layout/IElement.h"
#include "skin/layout/IObject.h"

#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <string>

namespace LayoutLib {

enum SizeType { SizeReference = 0, SizePreferred = 1, SizeMin = 2, SizeMax = 3 };

class IMutableWindow;

class IWindow : public IObject {
public:
    virtual ~IWindow() = default;
    virtual void _ReservedWindow() {}

    // The size of that type. A Preferred size that is not positive in both
    // directions falls back to the Reference size and the other way round;
    // what is looked up is kept (as 0 x 0 when it was missing).
    virtual SIZE GetSize(int type) { InterfaceCore::ThrowPureVirtualCall(); }
    virtual bool IsResizable() const { InterfaceCore::ThrowPureVirtualCall(); }
    // Copies the elements, in the order they were added; true.
    virtual bool GetElements(ElementList& elements) const { InterfaceCore::ThrowPureVirtualCall(); }
    // Empty for id -1 or an id no element has.
    virtual boost::shared_ptr<IElement> GetElementById(int id) const { InterfaceCore::ThrowPureVirtualCall(); }
    // Empty for an empty name or a name no element has.
    virtual boost::shared_ptr<IElement> GetElementByName(const std::wstring& name) const {
        InterfaceCore::ThrowPureVirtualCall();
    }
    virtual boost::shared_ptr<IMutableWindow> GetMutable() { InterfaceCore::ThrowPureVirtualCall(); }
};

class IMutableWindow : public IWindow, public IMutableObject {
public:
    virtual ~IMutableWindow() = default;
    virtual void _ReservedMutableWindow() {}

    // Stores (or replaces) the size of that type and returns it.
    virtual SIZE SetSize(int type, const SIZE& size) { InterfaceCore::ThrowPureVirtualCall(); }
    virtual void SetResizable(bool isResizable) { InterfaceCore::ThrowPureVirtualCall(); }
    // Leaves out an element whose id or name the window already holds: the
    // first one added wins.
    virtual void AddElement(boost::shared_ptr<IElement> element) { InterfaceCore::ThrowPureVirtualCall(); }
    virtual void RemoveElement(boost::shared_ptr<IElement> element) { InterfaceCore::ThrowPureVirtualCall(); }
};

}  // namespace LayoutLib
