#pragma once
// The immutable record of one skin of a resource folder. Its title is the
// String resource named by the title id, fetched on every call so that it
// follows the language; without that text the title id itself is the title.
#include "foundation/strings/LiteString.h"
#include "resources/resourcelib/ISkin.h"

#include <boost/weak_ptr.hpp>

namespace ResourceLib {

class IManager;

class Skin : public ISkin {
public:
    // The manager is held weakly: it owns the provider that owns the skin.
    Skin(const wlitestring& name, const wlitestring& titleId, const boost::weak_ptr<IManager>& manager);

    std::wstring GetName() override { return m_name; }
    // A miss raises only when the manager is set to throw.
    std::wstring GetTitle() override;

private:
    const boost::weak_ptr<IManager> m_manager;
    const std::wstring m_name;
    const std::wstring m_titleId;
};

}  // namespace ResourceLib
