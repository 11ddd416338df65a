#pragma once
// The root of every interface: instantiated over the interface itself, it
// gives the virtual destructor in the first slot so that an object deleted
// through any of its interfaces is destroyed whole. The empty per-interface
// properties class marks interfaces for debugging builds.
namespace InterfaceCore {

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
