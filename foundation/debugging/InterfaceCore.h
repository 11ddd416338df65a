#pragma once
// The root of every interface: a virtual destructor in the first slot, so an
// object is destroyed through any interface pointer that owns it. The empty
// per-interface properties class marks interfaces for debugging builds.
namespace InterfaceCore {

template <class Interface>
class IInterfaceCore {
public:
    virtual ~IInterfaceCore() {}
};

namespace _Debug {
template <class Interface>
class ObjectProperties {};
}  // namespace _Debug

}  // namespace InterfaceCore
