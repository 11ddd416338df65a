#pragma once
// What offers the languages the manager may switch to.
#include "foundation/strings/LiteString.h"
#include "resources/resourcelib/ILanguage.h"
#include "foundation/core/InterfaceCore.h"

#include <boost/shared_ptr.hpp>

#include <vector>

namespace ResourceLib {

class ILanguageProvider : public InterfaceCore::IInterfaceCore<ILanguageProvider> {
public:
    virtual bool GetLanguages(std::vector<boost::shared_ptr<ILanguage>>& languages) = 0;
    // The first language named exactly so (case-sensitive); empty when none.
    virtual boost::shared_ptr<ILanguage> FindLanguage(const wlitestring& name) = 0;
    // May be empty.
    virtual boost::shared_ptr<ILanguage> GetDefaultLanguage() = 0;
};

}  // namespace ResourceLib
