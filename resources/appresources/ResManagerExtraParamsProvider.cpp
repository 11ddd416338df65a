#include "resources/appresources/ResManagerExtraParamsProvider.h"

#include "foundation/strings/NumberStrings.h"

#include <cstdint>

namespace AppResources {

std::wstring ResourceManagerHolder::ResManagerExtraParamsProvider::GetParam(const wlitestring& name) {
    Synchronization::RWLock::SharedScope reading(m_lock);
    const auto found = m_params.find(name.str());
    return found == m_params.end() ? std::wstring() : found->second;
}

bool ResourceManagerHolder::ResManagerExtraParamsProvider::SetParam(const wlitestring& name,
                                                                     const wlitestring& value) {
    const std::wstring key = name.str();
    std::uint32_t number = 0;
    if (key.empty() || key.find_first_of(L"{}") != std::wstring::npos || STLHelpers::IsUnsignedNumber(key, number))
        return false;
    Synchronization::RWLock::ExclusiveScope writing(m_lock);
    m_params[key] = value.str();
    return true;
}

void ResourceManagerHolder::ResManagerExtraParamsProvider::SetProductParameters(
    const ProductParameters& parameters) {
    SetParam(L"ShortProductVersion", parameters.shortProductVersion);
    SetParam(L"FullProductName", parameters.fullProductName);
    SetParam(L"ProductVersion", parameters.productVersion);
    SetParam(L"ProductName", parameters.productName);
    SetParam(L"CompanyName", parameters.companyName);
    for (const auto& pair : parameters.further)
        SetParam(pair.first, pair.second);
}

}  // namespace AppResources
