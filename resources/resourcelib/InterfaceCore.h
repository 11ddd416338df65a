#pragma once
// The root of every interface: instantiated over the interface itself, it
// gives the virtual destructor in the first slot so that an object deleted
// through any of its interfaces is destroyed whole.
namespace InterfaceCore {

template <class Interface>
class IInterfaceCore {
public:
    virtual ~IInterfaceCore() = default;
};

}  // namespace InterfaceCore
