#pragma once
// Marks a manager that storages may attach to; a storage refuses any other.
#include "resources/resourcelib/IManager.h"
#include "foundation/core/InterfaceCore.h"

namespace ResourceLib {

class IInternalManager : public IManager, public InterfaceCore::IInterfaceCore<IInternalManager> {};

}  // namespace ResourceLib
