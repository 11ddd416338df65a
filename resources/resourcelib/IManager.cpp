#include "resources/resourcelib/IManager.h"

#include "foundation/system/Locale.h"
#include "resources/resourcelib/VerifyLog.h"

namespace ResourceLib {

bool IManager::SetLanguageVerify(const wlitestring& name) {
    if (name.data() == nullptr || name.empty()) {
        detail::LogVerifyMessage(2, 10, L"Most recently used language is undefined - using default one");
        return true;
    }
    if (!SetLanguageByName(name))
        detail::LogVerifyMessage(3, 15, L"Failed to load the most recently used language");
    if (wlitestring::compare(name, GetCurrentLanguageName()) == 0)
        return true;
    detail::LogVerifyMessage(3, 19, L"Loaded the wrong language");
    return false;
}

std::wstring IManager::GetCurrentLanguageName() {
    if (const boost::shared_ptr<ILanguage> language = GetCurrentLanguage())
        return language->GetName();
    return GetSystemLanguageName();
}

std::wstring GetSystemLanguageName() {
    return System::GetUILanguageName();
}

std::wstring IManager::GetCurrentSkinName() {
    if (const boost::shared_ptr<ISkin> skin = GetCurrentSkin())
        return skin->GetName();
    return std::wstring();
}

}  // namespace ResourceLib
