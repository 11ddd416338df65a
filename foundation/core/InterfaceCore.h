#pragma once
// The root of every interface: instantiated over the interface itself, it
// gives the virtual destructor in the first slot so that an object deleted
// through any of its interfaces is destroyed whole. The empty per-interface
// properties class marks interfaces for debugging builds.
//
// Interfaces whose operations have bodies (so that a class implements only
// what it serves) throw from those bodies through ThrowPureVirtualCall:
//   virtual int GetId() const { InterfaceCore::ThrowPureVirtualCall(); }
#include <stdexcept>

namespace InterfaceCore {

// std::runtime_error "Pure virtual function call": an operation the object's
// class does not implement.
[[noreturn]] inline void ThrowPureVirtualCall() {
    throw std::runtime_error("Pure virtual function call");
}

template <class Interface>
class IInterfaceCore {
public:
    virtual ~IInterfaceCore() = default;
};

namespace _Debug {
template <class Interface>
class ObjectProperties {};
}  // namespace _Debug

}  // namespace InterfaceCore
