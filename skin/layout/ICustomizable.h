#pragma once
// The two bases every layout object shares: its custom values with their
// references, and its name. Each layout interface starts with its destructor
// and one reserved operation; an operation the object's class does not
// implement throws std::runtime_error "Pure virtual function call".
#include "foundation/core/InterfaceCore.h"
#include "skin/layout/CustomValues.h"

#include <string>

namespace LayoutLib {

class ICustomizable {
public:
    virtual ~ICustomizable() = default;
    virtual void _ReservedCustomizable() {}

    virtual const CustomValues& GetCustomValues() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual const CustomReferences& GetCustomReferences() const { InterfaceCore::ThrowPureVirtualCall(); }
};

class INamed {
public:
    virtual ~INamed() = default;
    virtual void _ReservedNamed() {}

    virtual std::wstring GetName() const { InterfaceCore::ThrowPureVirtualCall(); }
};

}  // namespace LayoutLib
