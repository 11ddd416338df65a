#pragma once
// What the application's windows hold of the resource manager: the manager
// itself and a helper text.
#include "foundation/core/InterfaceCore.h"
#include "foundation/strings/LiteString.h"
#include "resources/resourcelib/IManager.h"

#include <boost/shared_ptr.hpp>

#include <string>

namespace AppResources {

class IManagerHelpersUser : public InterfaceCore::IInterfaceCore<IManagerHelpersUser>,
                            public InterfaceCore::_Debug::ObjectProperties<IManagerHelpersUser> {
public:
    // Never empty.
    virtual boost::shared_ptr<ResourceLib::IManager> GetResourceLibManager() = 0;
    virtual std::wstring GetHelperText(int kind, int id, const wlitestring& text) = 0;
};

}  // namespace AppResources
