#pragma once
// What offers the skins the manager may switch to.
#include "foundation/strings/LiteString.h"
#include "resources/resourcelib/ISkin.h"
#include "foundation/core/InterfaceCore.h"

#include <boost/shared_ptr.hpp>

#include <vector>

namespace ResourceLib {

class ISkinProvider : public InterfaceCore::IInterfaceCore<ISkinProvider> {
public:
    virtual bool GetSkins(std::vector<boost::shared_ptr<ISkin>>& skins) = 0;
    // The first skin named exactly so (case-sensitive); empty when none.
    virtual boost::shared_ptr<ISkin> FindSkin(const wlitestring& name) = 0;
    // May be empty.
    virtual boost::shared_ptr<ISkin> GetDefaultSkin() = 0;
};

}  // namespace ResourceLib
