#pragma once
// The managers as the rest of the program gets them.
#include "resources/resourcelib/IManager.h"

namespace ResourceLib {

// An empty ManagerImpl: no storages, providers, language or skin; not throwing.
boost::shared_ptr<IManager> CreateManager();
// A DummyManagerImpl.
boost::shared_ptr<IManager> CreateDummyManager();

}  // namespace ResourceLib
