#pragma once
// ProductInfo: the product's names, versions, company and web addresses, and
// the expansion of "{ProductName}", "{FullProductName}", "{ProductVersion}",
// "{ShortProductVersion}" and "{CompanyName}" in texts and kernel-object names.
//
//   ProductInfo info(&values);
//   info.Initialize();
//   info.ExpandPlaceholders(L"{ProductName}_ExitEvent");   // "Brunlow_ExitEvent"
//
// A product may derive to add its completion step, its final expansion step
// and further description values.
//
// Threads: filled once on the GUI thread during start-up, read-only
// afterwards, so any thread may read it then.
#include "appframework/product/IProductValues.h"
#include "commondialogs/CommonDialogs.h"
#include "foundation/strings/LiteString.h"
#include "foundation/strings/StringAlgorithms.h"

#include <windows.h>

#include <string>

class CWnd;

namespace ApplicationFramework {

// The four texts that name the Extras product to the companion-product library.
struct ExtrasIdentity {
    std::wstring productKey;
    std::wstring shortTitle;
    std::wstring bundleLongTitle;
    std::wstring bundleShortTitle;
};

class ProductInfo {
public:
    // The newest living object is the process's product information.
    explicit ProductInfo(IProductValues* pManager = nullptr);
    virtual ~ProductInfo();
    ProductInfo(const ProductInfo&) = delete;
    ProductInfo& operator=(const ProductInfo&) = delete;

    // The process-wide product information; null before one is made.
    static ProductInfo* GetCurrent();

    void SetValueSource(IProductValues* pManager) { m_pManager = pManager; }
    // Without a value source the assertion check "((m_pManager))" is raised.
    // Clears the dictionary, fills the values, builds the dictionary.
    void Initialize();

    // Every dictionary key replaced by its value, pair after pair, without
    // rescanning an inserted value; then the product's final step. Unknown
    // keys stay.
    std::wstring ExpandPlaceholders(const wlitestring& text) const;
    // The window's text, expanded in place.
    void ExpandWindowText(CWnd* pWnd) const;

    // The five texts and the product's further (name, value) pairs.
    void GetDescription(ProductDescription& description) const;

    const std::wstring& GetProductName() const { return m_productName; }
    // Read from the value source at each call.
    std::wstring GetFullProductName() const;
    const std::wstring& GetProductVersion() const { return m_productVersion; }
    const std::wstring& GetShortProductVersion() const { return m_shortProductVersion; }
    const std::wstring& GetCompanyName() const { return m_companyName; }
    const std::wstring& GetProductLabel() const { return m_productLabel; }
    const std::wstring& GetUpdateAddress() const { return m_updateAddress; }
    const std::wstring& GetVersionCheckAddress() const { return m_versionCheckAddress; }
    const std::wstring& GetExtrasDownloadAddress() const { return m_extrasDownloadAddress; }
    bool AreExtrasOffered() const { return m_areExtrasOffered; }
    const std::wstring& GetSetupId() const { return m_setupId; }
    const std::wstring& GetHostTextA() const { return m_hostTextA; }
    const std::wstring& GetHostTextB() const { return m_hostTextB; }
    const std::wstring& GetProductKeyName() const { return m_productKeyName; }
    const std::wstring& GetSupportAddress() const { return m_supportAddress; }
    unsigned long GetOemId() const { return m_oemId; }
    int GetEdition() const { return m_edition; }
    const std::wstring& GetTipsAddress() const { return m_tipsAddress; }
    const std::wstring& GetTipsFileName() const { return m_tipsFileName; }
    const std::wstring& GetNewTipsFileName() const { return m_newTipsFileName; }
    const std::wstring& GetConverterAddress() const { return m_converterAddress; }
    bool IsCompanionOfferedInCaption() const { return m_isCompanionOfferedInCaption; }
    const std::wstring& GetCaptionProductName() const { return m_captionProductName; }
    const std::wstring& GetCaptionProductId() const { return m_captionProductId; }
    const ExtrasIdentity& GetExtrasIdentity() const { return m_extrasIdentity; }
    const STLHelpers::ReplacementPairs& GetDictionary() const { return m_dictionary; }

    // "2.5.1.30" -> "2.5.1", "3.0" -> "3.0"; fewer than two parts keep `configured`.
    static std::wstring MakeShortVersion(const std::wstring& version, const std::wstring& configured);
    // Starting with "http://" or "https://" (any case) keeps the scheme, any
    // other gets "http://"; a final "/" is added. Empty stays empty.
    static std::wstring NormalizeUpdateAddress(const std::wstring& address);

protected:
    // The product's completion step: runs after the versions are known and
    // before the remaining texts are read.
    virtual void _CompleteValues() {}
    // The product's last expansion step; the text as it is by default.
    virtual std::wstring _ExpandFinal(const std::wstring& text) const { return text; }
    // Further (name, value) pairs of the description; none by default.
    virtual void _CompleteDescription(ProductDescription& description) const {}

    // The configured text, expanded.
    std::wstring _ReadText(ProductValue value) const;

    std::wstring m_productName;
    std::wstring m_productVersion;
    std::wstring m_shortProductVersion;
    std::wstring m_companyName;
    std::wstring m_productLabel;
    std::wstring m_updateAddress;
    std::wstring m_versionCheckAddress;
    std::wstring m_extrasDownloadAddress;
    bool m_areExtrasOffered = false;
    std::wstring m_setupId;
    std::wstring m_hostTextA;
    std::wstring m_hostTextB;
    std::wstring m_productKeyName;
    std::wstring m_supportAddress;
    unsigned long m_oemId = 0;
    int m_edition = 0;
    std::wstring m_tipsAddress;
    std::wstring m_tipsFileName;
    std::wstring m_newTipsFileName;
    std::wstring m_converterAddress;
    bool m_isCompanionOfferedInCaption = false;
    std::wstring m_captionProductName;
    std::wstring m_captionProductId;
    ExtrasIdentity m_extrasIdentity;

private:
    IProductValues* m_pManager;
    STLHelpers::ReplacementPairs m_dictionary;
};

}  // namespace ApplicationFramework
