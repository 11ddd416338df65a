#pragma once
// IElement: one part of a layout window, with its rectangle, anchors and the
// ids of the elements that light up with it; IMutableElement fills it.
#include "skin/layout/IObject.h"

#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <string>
#include <vector>

namespace LayoutLib {

// Which window edges an element follows; combined by OR.
enum AnchorFlags {
    AnchorLeft = 1,
    AnchorRight = 2,
    AnchorTop = 4,
    AnchorBottom = 8,
    AnchorHorzCenter = 16,
    AnchorVertCenter = 32,
    AnchorDefault = AnchorLeft | AnchorTop
};

class IMutableElement;

class IElement : public IObject {
public:
    virtual ~IElement() = default;
    virtual void _ReservedElement() {}

    virtual bool IsWindowed() const { InterfaceCore::ThrowPureVirtualCall(); }
    // In the window's client pixels.
    virtual RECT GetPosition() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual int GetAnchors() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual bool IsOverTrigger(int id) const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual bool IsDownTrigger(int id) const { InterfaceCore::ThrowPureVirtualCall(); }
    // A new element of that id and name, with an empty type, this element's
    // shape, custom values, automation, position, anchors, windowed flag and
    // a deep copy of its visual; no settings, references or triggers.
    virtual boost::shared_ptr<IMutableElement> Clone(int id, const std::wstring& name) const {
        InterfaceCore::ThrowPureVirtualCall();
    }
    virtual boost::shared_ptr<IMutableElement> GetMutable() { InterfaceCore::ThrowPureVirtualCall(); }
};

class IMutableElement : public IElement, public IMutableObject {
public:
    virtual ~IMutableElement() = default;
    virtual void _ReservedMutableElement() {}

    virtual void SetPosition(const RECT& position) { InterfaceCore::ThrowPureVirtualCall(); }
    virtual void SetAnchors(int anchors) { InterfaceCore::ThrowPureVirtualCall(); }
    virtual void SetWindowed(bool isWindowed) { InterfaceCore::ThrowPureVirtualCall(); }
    // A repeated id is kept once.
    virtual void AddOverTrigger(int id) { InterfaceCore::ThrowPureVirtualCall(); }
    virtual void AddDownTrigger(int id) { InterfaceCore::ThrowPureVirtualCall(); }
    virtual void ClearTriggers() { InterfaceCore::ThrowPureVirtualCall(); }
};

typedef std::vector<boost::shared_ptr<IElement>> ElementList;

}  // namespace LayoutLib
