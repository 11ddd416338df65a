#pragma once
// The holder's extra parameters: named texts that fill "{Name}" placeholders
// of every string ("{ProductName}", "{CompanyName}", ...).
//
// Threads: any thread; a reader/writer lock guards the table, so parameters
// may be set while lookups read them.
#include "foundation/strings/LiteString.h"
#include "foundation/sync/RWLock.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "resources/resourcelib/IManagerExtraParamsProvider.h"

#include <map>
#include <string>

namespace AppResources {

class ResourceManagerHolder::ResManagerExtraParamsProvider : public ResourceLib::IManagerExtraParamsProvider {
public:
    // The text stored under exactly that name; empty when there is none.
    std::wstring GetParam(const wlitestring& name) override;

    // Stores (or replaces) the value. Refused (false) for a name that is
    // empty, holds "{" or "}", or reads as an unsigned number: "{0}".."{99}"
    // belong to formatting.
    bool SetParam(const wlitestring& name, const wlitestring& value);

    // "ShortProductVersion", "FullProductName", "ProductVersion",
    // "ProductName" and "CompanyName" in this order, then every further pair.
    void SetProductParameters(const ProductParameters& parameters);

private:
    Synchronization::RWLock m_lock;
    std::map<std::wstring, std::wstring> m_params;
};

}  // namespace AppResources
