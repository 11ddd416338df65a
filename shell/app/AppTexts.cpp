#include "shell/app/AppTexts.h"

#include "appframework/product/ProductInfo.h"
#include "resources/appresources/ResourceManagerHolder.h"

namespace AppTexts {

std::wstring Text(int stringId) {
    return AppResources::ResourceManagerHolder::GetManager()->GetString(stringId);
}

std::wstring ExpandedText(int stringId) {
    const std::wstring text = Text(stringId);
    const ApplicationFramework::ProductInfo* pInfo = ApplicationFramework::ProductInfo::GetCurrent();
    return pInfo ? pInfo->ExpandPlaceholders(text) : text;
}

}  // namespace AppTexts
