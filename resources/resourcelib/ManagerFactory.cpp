#include "resources/resourcelib/ManagerFactory.h"

#include "resources/resourcelib/DummyManagerImpl.h"
#include "resources/resourcelib/ManagerImpl.h"

#include <boost/make_shared.hpp>

namespace ResourceLib {

boost::shared_ptr<IManager> CreateManager() {
    return boost::make_shared<ManagerImpl>();
}

boost::shared_ptr<IManager> CreateDummyManager() {
    return boost::make_shared<DummyManagerImpl>();
}

}  // namespace ResourceLib
