#pragma once
// The root of every interface: a virtual destructor in the first slot, so an
// object is destroyed whole through any interface pointer that owns it.
//
//   class IThing : public InterfaceCore::IInterfaceCore<IThing>,
//                  public InterfaceCore::_Debug::ObjectProperties<IThing> { ... };

namespace InterfaceCore {

template <class Interface>
class IInterfaceCore {
public:
    virtual ~IInterfaceCore() = default;
};

namespace _Debug {

// Empty: a place for debug-only bookkeeping per interface.
template <class Interface>
class ObjectProperties {};

}  // namespace _Debug

}  // namespace InterfaceCore
