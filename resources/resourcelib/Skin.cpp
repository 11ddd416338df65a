#include "resources/resourcelib/Skin.h"

#include "resources/resourcelib/IManager.h"

namespace ResourceLib {

Skin::Skin(const wlitestring& name, const wlitestring& titleId, const boost::weak_ptr<IManager>& manager)
    : m_manager(manager), m_name(name.str()), m_titleId(titleId.str()) {}

std::wstring Skin::GetTitle() {
    if (const boost::shared_ptr<IManager> manager = m_manager.lock()) {
        std::wstring title = manager->GetStringByName(m_titleId);
        if (!title.empty())
            return title;
    }
    return m_titleId;
}

}  // namespace ResourceLib
