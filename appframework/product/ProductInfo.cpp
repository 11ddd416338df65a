#include "appframework/product/ProductInfo.h"

#include "foundation/errors/Checks.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/strings/NumberStrings.h"

#include <afxwin.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace ApplicationFramework {

namespace {

std::atomic<ProductInfo*> g_pCurrent{nullptr};

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    const size_t length = wcslen(prefix);
    return text.size() >= length && _wcsnicmp(text.c_str(), prefix, length) == 0;
}

}  // namespace

ProductInfo::ProductInfo(IProductValues* pManager) : m_pManager(pManager) { g_pCurrent = this; }

ProductInfo::~ProductInfo() {
    ProductInfo* self = this;
    g_pCurrent.compare_exchange_strong(self, nullptr);
}

ProductInfo* ProductInfo::GetCurrent() { return g_pCurrent; }

std::wstring ProductInfo::_ReadText(ProductValue value) const {
    return m_pManager ? ExpandPlaceholders(m_pManager->GetValue(value)) : std::wstring();
}

void ProductInfo::Initialize() {
    CHECK_ASSERT(m_pManager);
    m_dictionary.clear();

    m_productName = _ReadText(ProductValue::ProductName);
    m_companyName = _ReadText(ProductValue::CompanyName);
    m_productLabel = _ReadText(ProductValue::ProductLabel);
    if (m_productLabel.empty())
        m_productLabel = STLHelpers::TrimCopy(m_productName, L" \t\r\n");
    m_updateAddress = NormalizeUpdateAddress(_ReadText(ProductValue::UpdateAddress));
    m_versionCheckAddress = m_updateAddress.empty() ? std::wstring() : m_updateAddress + L"version.php";
    m_productVersion = FileSystem::GetModuleFilePath(nullptr).GetVersionString();
    m_shortProductVersion = MakeShortVersion(m_productVersion, _ReadText(ProductValue::ShortProductVersion));

    _CompleteValues();

    m_extrasDownloadAddress = _ReadText(ProductValue::ExtrasDownloadAddress);
    m_areExtrasOffered = _ReadText(ProductValue::ExtrasOffered) == L"1";
    m_setupId = _ReadText(ProductValue::SetupId);
    m_hostTextA = _ReadText(ProductValue::HostTextA);
    m_hostTextB = _ReadText(ProductValue::HostTextB);
    m_productKeyName = _ReadText(ProductValue::ProductKeyName);
    if (m_productKeyName.empty())
        m_productKeyName = m_productName;
    m_supportAddress = _ReadText(ProductValue::SupportAddress);
    std::uint32_t oemId = 0;
    m_oemId = STLHelpers::IsUnsignedNumber(_ReadText(ProductValue::OemId), oemId) ? oemId : 0;
    m_edition = STLHelpers::ToInt(_ReadText(ProductValue::Edition));
    m_tipsAddress = _ReadText(ProductValue::TipsAddress);
    m_tipsFileName = _ReadText(ProductValue::TipsFileName);
    m_newTipsFileName = _ReadText(ProductValue::NewTipsFileName);
    m_converterAddress = _ReadText(ProductValue::ConverterAddress);
    m_isCompanionOfferedInCaption = _ReadText(ProductValue::CaptionOffer) == L"1";
    m_captionProductName = _ReadText(ProductValue::CaptionProductName);
    m_captionProductId = _ReadText(ProductValue::CaptionProductId);
    m_extrasIdentity = {_ReadText(ProductValue::ExtrasProductKey), _ReadText(ProductValue::ExtrasShortTitle),
                        _ReadText(ProductValue::ExtrasBundleLongTitle),
                        _ReadText(ProductValue::ExtrasBundleShortTitle)};

    m_dictionary = {
        {L"{ProductName}", m_productName},
        {L"{FullProductName}", GetFullProductName()},
        {L"{ProductVersion}", m_productVersion},
        {L"{ShortProductVersion}", m_shortProductVersion},
        {L"{CompanyName}", m_companyName},
    };
}

std::wstring ProductInfo::ExpandPlaceholders(const wlitestring& text) const {
    std::wstring expanded = text.str();
    STLHelpers::ReplaceAllPairs(expanded, m_dictionary);
    return _ExpandFinal(expanded);
}

void ProductInfo::ExpandWindowText(CWnd* pWnd) const {
    const HWND window = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (!window)
        return;
    std::vector<wchar_t> text(::GetWindowTextLengthW(window) + 1, L'\0');
    ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    ::SetWindowTextW(window, ExpandPlaceholders(text.data()).c_str());
}

std::wstring ProductInfo::GetFullProductName() const { return _ReadText(ProductValue::FullProductName); }

void ProductInfo::GetDescription(ProductDescription& description) const {
    description.productName = m_productName;
    description.fullProductName = GetFullProductName();
    description.productVersion = m_productVersion;
    description.shortProductVersion = m_shortProductVersion;
    description.companyName = m_companyName;
    description.values.clear();
    _CompleteDescription(description);
}

std::wstring ProductInfo::MakeShortVersion(const std::wstring& version, const std::wstring& configured) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t dot = version.find(L'.', start);
        parts.push_back(version.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start));
        if (dot == std::wstring::npos)
            break;
        start = dot + 1;
    }
    if (parts.size() >= 3)
        return parts[0] + L"." + parts[1] + L"." + parts[2];
    if (parts.size() == 2)
        return parts[0] + L"." + parts[1];
    return configured;
}

std::wstring ProductInfo::NormalizeUpdateAddress(const std::wstring& address) {
    if (address.empty())
        return address;
    std::wstring normalized = address;
    if (!StartsWithNoCase(normalized, L"http://") && !StartsWithNoCase(normalized, L"https://"))
        normalized.insert(0, L"http://");
    if (normalized.back() != L'/')
        normalized += L'/';
    return normalized;
}

}  // namespace ApplicationFramework
