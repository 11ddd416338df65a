#pragma once
// What a resource folder says about itself: its languages, its skins and the
// base root of the manager that serves as fallback.
#include "resources/resourcelib/ILanguageProvider.h"
#include "resources/resourcelib/ISkinProvider.h"
#include "foundation/core/InterfaceCore.h"

#include <string>

namespace ResourceLib {

class IMetadataProvider : public ILanguageProvider,
                          public ISkinProvider,
                          public InterfaceCore::IInterfaceCore<IMetadataProvider> {
public:
    // The "root" of "ResourceLib/Base"; empty when Metadata.xml names none.
    virtual std::wstring GetRootPath() = 0;
};

}  // namespace ResourceLib
