#pragma once
// The texts a storage puts in for "{Name}" placeholders of its strings
// besides other strings. The manager only keeps it for the storages.
#include "foundation/strings/LiteString.h"
#include "foundation/core/InterfaceCore.h"

#include <string>

namespace ResourceLib {

class IManagerExtraParamsProvider : public InterfaceCore::IInterfaceCore<IManagerExtraParamsProvider> {
public:
    // Empty when the name is unknown.
    virtual std::wstring GetParam(const wlitestring& name) = 0;
};

}  // namespace ResourceLib
