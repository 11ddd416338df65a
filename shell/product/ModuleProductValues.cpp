#include "shell/product/ModuleProductValues.h"

#include "shell/program/BrunlowResources.h"

using ApplicationFramework::ProductValue;

UINT ModuleProductValues::GetStringId(ProductValue value) {
    switch (value) {
    case ProductValue::ProductName: return IDS_PRODUCT_NAME;
    case ProductValue::FullProductName: return IDS_PRODUCT_FULL_NAME;
    case ProductValue::ShortProductVersion: return IDS_PRODUCT_SHORT_VERSION;
    case ProductValue::CompanyName: return IDS_PRODUCT_COMPANY;
    case ProductValue::ProductLabel: return IDS_PRODUCT_LABEL;
    case ProductValue::UpdateAddress: return IDS_PRODUCT_UPDATE_ADDRESS;
    case ProductValue::ExtrasDownloadAddress: return IDS_PRODUCT_EXTRAS_ADDRESS;
    case ProductValue::ExtrasOffered: return IDS_PRODUCT_EXTRAS_OFFERED;
    case ProductValue::SetupId: return IDS_PRODUCT_SETUP_ID;
    case ProductValue::HostTextA: return IDS_PRODUCT_HOST_TEXT_A;
    case ProductValue::HostTextB: return IDS_PRODUCT_HOST_TEXT_B;
    case ProductValue::ProductKeyName: return IDS_PRODUCT_KEY_NAME;
    case ProductValue::SupportAddress: return IDS_PRODUCT_SUPPORT_ADDRESS;
    case ProductValue::OemId: return IDS_PRODUCT_OEM_ID;
    case ProductValue::Edition: return IDS_PRODUCT_EDITION;
    case ProductValue::TipsAddress: return IDS_PRODUCT_TIPS_ADDRESS;
    case ProductValue::TipsFileName: return IDS_PRODUCT_TIPS_FILE;
    case ProductValue::NewTipsFileName: return IDS_PRODUCT_NEW_TIPS_FILE;
    case ProductValue::ConverterAddress: return IDS_PRODUCT_CONVERTER_ADDRESS;
    case ProductValue::CaptionOffer: return IDS_PRODUCT_CAPTION_OFFER;
    case ProductValue::CaptionProductName: return IDS_PRODUCT_CAPTION_NAME;
    case ProductValue::CaptionProductId: return IDS_PRODUCT_CAPTION_ID;
    case ProductValue::ExtrasProductKey: return IDS_PRODUCT_EXTRAS_KEY;
    case ProductValue::ExtrasShortTitle: return IDS_PRODUCT_EXTRAS_SHORT_TITLE;
    case ProductValue::ExtrasBundleLongTitle: return IDS_PRODUCT_EXTRAS_LONG_BUNDLE;
    case ProductValue::ExtrasBundleShortTitle: return IDS_PRODUCT_EXTRAS_SHORT_BUNDLE;
    }
    return 0;
}

std::wstring ModuleProductValues::GetValue(ProductValue value) {
    const UINT id = GetStringId(value);
    return id ? LoadModuleString(m_module ? m_module : ::GetModuleHandleW(nullptr), id) : std::wstring();
}

std::wstring LoadModuleString(HMODULE module, UINT id) {
    // With a zero length LoadStringW hands out the read-only text in place.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}
