#include "appframework/product/ProductInfo.h"

#include "TestApplication.h"
#include "foundation/errors/ErrorException.h"

#include <gtest/gtest.h>

#include <afxwin.h>

namespace {

using ApplicationFramework::ProductInfo;
using ApplicationFramework::ProductValue;
using AppFrameworkTests::FakeProductValues;

class ProductInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_values.values = {
            {ProductValue::ProductName, L"Brunlow"},
            {ProductValue::FullProductName, L"{ProductName} Pro"},
            {ProductValue::CompanyName, L"Acme"},
            {ProductValue::UpdateAddress, L"upd.example.com"},
            {ProductValue::ShortProductVersion, L"9.9"},
        };
    }

    FakeProductValues m_values;
};

TEST_F(ProductInfoTest, ExpandsThePlaceholdersOfTheDictionary) {
    m_values.values[ProductValue::ProductName] = L"Brunlow {CompanyName}";
    ProductInfo info(&m_values);
    info.Initialize();
    struct Case {
        const wchar_t* text;
        const wchar_t* expanded;
    } const cases[] = {
        {L"{ProductName}_ExitEvent", L"Brunlow Acme_ExitEvent"},  // a value holding a later key
        {L"{Unknown}_ExitEvent", L"{Unknown}_ExitEvent"},
        {L"{productname}", L"{productname}"},                    // keys are case-sensitive
        {L"{ShortProductVersion} of {ProductVersion}", L"2.5.1 of 2.5.1.30"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << ::testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(c.expanded, info.ExpandPlaceholders(c.text));
    }
}

TEST_F(ProductInfoTest, AnInsertedValueIsNotScannedAgainByItsOwnPair) {
    m_values.values[ProductValue::ProductName] = L"{ProductName}x";
    ProductInfo info(&m_values);
    info.Initialize();
    EXPECT_EQ(L"{ProductName}x_ExitEvent", info.ExpandPlaceholders(L"{ProductName}_ExitEvent"));
}

TEST_F(ProductInfoTest, DictionaryHoldsTheFivePairsInOrder) {
    ProductInfo info(&m_values);
    info.Initialize();
    const STLHelpers::ReplacementPairs expected = {
        {L"{ProductName}", L"Brunlow"},       {L"{FullProductName}", L"{ProductName} Pro"},
        {L"{ProductVersion}", L"2.5.1.30"},   {L"{ShortProductVersion}", L"2.5.1"},
        {L"{CompanyName}", L"Acme"},
    };
    EXPECT_EQ(expected, info.GetDictionary());
}

TEST_F(ProductInfoTest, VersionComesFromTheRunningExecutable) {
    ProductInfo info(&m_values);
    info.Initialize();
    EXPECT_EQ(L"2.5.1.30", info.GetProductVersion());
    EXPECT_EQ(L"2.5.1", info.GetShortProductVersion());
}

TEST(ProductInfoShortVersion, KeepsThreePartsAtMost) {
    struct Case {
        const wchar_t* version;
        const wchar_t* shortVersion;
    } const cases[] = {
        {L"2.5.1.30", L"2.5.1"}, {L"3.0", L"3.0"}, {L"1.2.3", L"1.2.3"},
        {L"7", L"4.1"},          {L"", L"4.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.version)));
        EXPECT_EQ(c.shortVersion, ProductInfo::MakeShortVersion(c.version, L"4.1"));
    }
}

TEST_F(ProductInfoTest, UpdateAddressGetsSchemeAndSlash) {
    struct Case {
        const wchar_t* configured;
        const wchar_t* address;
        const wchar_t* versionCheck;
    } const cases[] = {
        {L"upd.example.com", L"http://upd.example.com/", L"http://upd.example.com/version.php"},
        {L"http://upd.example.com/path", L"http://upd.example.com/path/", L"http://upd.example.com/path/version.php"},
        {L"HTTPS://x/", L"HTTPS://x/", L"HTTPS://x/version.php"},
        {L"https://host/", L"https://host/", L"https://host/version.php"},
        {L"Http://host", L"Http://host/", L"Http://host/version.php"},
        // "http://" elsewhere in the text is no scheme.
        {L"host/?next=http://other", L"http://host/?next=http://other/", L"http://host/?next=http://other/version.php"},
        {L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.configured)));
        m_values.values[ProductValue::UpdateAddress] = c.configured;
        ProductInfo info(&m_values);
        info.Initialize();
        EXPECT_EQ(c.address, info.GetUpdateAddress());
        EXPECT_EQ(c.versionCheck, info.GetVersionCheckAddress());
    }
}

TEST_F(ProductInfoTest, LabelDefaultsToTheTrimmedProductName) {
    m_values.values[ProductValue::ProductName] = L" Name\t";
    ProductInfo unlabelled(&m_values);
    unlabelled.Initialize();
    EXPECT_EQ(L"Name", unlabelled.GetProductLabel());

    m_values.values[ProductValue::ProductLabel] = L"Label";
    ProductInfo labelled(&m_values);
    labelled.Initialize();
    EXPECT_EQ(L"Label", labelled.GetProductLabel());
}

TEST(ProductInfoSource, MissingValueSourceIsAFailedAssertion) {
    ProductInfo info;
    try {
        info.Initialize();
        FAIL() << "no exception";
    } catch (const ErrorHandling::ErrorException& error) {
        EXPECT_NE(nullptr, strstr(error.what(), "((m_pManager))")) << error.what();
    }
}

TEST_F(ProductInfoTest, FurtherValuesComeFromTheSource) {
    m_values.values[ProductValue::OemId] = L"4294967295";
    m_values.values[ProductValue::Edition] = L"-3";
    m_values.values[ProductValue::CaptionOffer] = L"1";
    m_values.values[ProductValue::ExtrasOffered] = L"0";
    m_values.values[ProductValue::TipsFileName] = L"TipOfTheDay.xml";
    m_values.values[ProductValue::SupportAddress] = L"support@{ProductName}.example";
    m_values.values[ProductValue::ExtrasProductKey] = L"Extras";
    m_values.values[ProductValue::ExtrasBundleShortTitle] = L"Suite";
    ProductInfo info(&m_values);
    info.Initialize();
    EXPECT_EQ(L"Brunlow", info.GetProductKeyName());  // not set separately
    EXPECT_EQ(4294967295ul, info.GetOemId());
    EXPECT_EQ(-3, info.GetEdition());
    EXPECT_TRUE(info.IsCompanionOfferedInCaption());
    EXPECT_FALSE(info.AreExtrasOffered());
    EXPECT_EQ(L"TipOfTheDay.xml", info.GetTipsFileName());
    // Read while the dictionary is still empty: only the final step acts.
    EXPECT_EQ(L"support@{ProductName}.example", info.GetSupportAddress());
    EXPECT_EQ(L"Extras", info.GetExtrasIdentity().productKey);
    EXPECT_EQ(L"Suite", info.GetExtrasIdentity().bundleShortTitle);

    m_values.values[ProductValue::ProductKeyName] = L"BrunlowKey";
    m_values.values[ProductValue::OemId] = L"12abc";
    info.Initialize();
    EXPECT_EQ(L"BrunlowKey", info.GetProductKeyName());
    EXPECT_EQ(0ul, info.GetOemId());
}

TEST_F(ProductInfoTest, FullProductNameIsReadAtEachCall) {
    ProductInfo info(&m_values);
    info.Initialize();
    EXPECT_EQ(L"Brunlow Pro", info.GetFullProductName());
    m_values.values[ProductValue::FullProductName] = L"{ProductName} Deluxe";
    EXPECT_EQ(L"Brunlow Deluxe", info.GetFullProductName());
}

// A product with its own completion and final expansion steps.
class CustomProductInfo : public ProductInfo {
public:
    using ProductInfo::ProductInfo;
    std::wstring versionSeenOnCompletion;
    std::wstring setupIdSeenOnCompletion = L"unset";

protected:
    void _CompleteValues() override {
        versionSeenOnCompletion = m_productVersion;
        setupIdSeenOnCompletion = m_setupId;
        m_shortProductVersion = L"custom";
    }
    std::wstring _ExpandFinal(const std::wstring& text) const override {
        return STLHelpers::ReplaceAllCopy(text, L"{Edition}", L"Home");
    }
    void _CompleteDescription(ApplicationFramework::ProductDescription& description) const override {
        description.values.push_back({L"Edition", L"Home"});
    }
};

TEST_F(ProductInfoTest, ProductStepsRunInTheirPlace) {
    m_values.values[ProductValue::SetupId] = L"setup-{Edition}";
    CustomProductInfo info(&m_values);
    info.Initialize();
    EXPECT_EQ(L"2.5.1.30", info.versionSeenOnCompletion);
    EXPECT_EQ(L"", info.setupIdSeenOnCompletion);  // the remaining texts come after
    EXPECT_EQ(L"setup-Home", info.GetSetupId());     // the final step acts on reading
    EXPECT_EQ(L"custom 2.5.1.30 Home", info.ExpandPlaceholders(L"{ShortProductVersion} {ProductVersion} {Edition}"));

    ApplicationFramework::ProductDescription description;
    info.GetDescription(description);
    EXPECT_EQ(L"Brunlow", description.productName);
    EXPECT_EQ(L"Brunlow Pro", description.fullProductName);
    EXPECT_EQ(L"2.5.1.30", description.productVersion);
    EXPECT_EQ(L"custom", description.shortProductVersion);
    EXPECT_EQ(L"Acme", description.companyName);
    ASSERT_EQ(1u, description.values.size());
    EXPECT_EQ(L"Edition", description.values[0].first);
}

TEST_F(ProductInfoTest, NewestObjectIsTheProcessWideOne) {
    ProductInfo first(&m_values);
    EXPECT_EQ(&first, ProductInfo::GetCurrent());
    {
        ProductInfo second(&m_values);
        EXPECT_EQ(&second, ProductInfo::GetCurrent());
    }
    EXPECT_EQ(nullptr, ProductInfo::GetCurrent());
}

TEST_F(ProductInfoTest, ExpandsAWindowsText) {
    ProductInfo info(&m_values);
    info.Initialize();
    CWnd window;
    ASSERT_TRUE(window.Attach(::CreateWindowExW(0, L"STATIC", L"About {ProductName} {Unknown}", WS_POPUP, 0, 0, 10,
                                                10, nullptr, nullptr, nullptr, nullptr)));
    info.ExpandWindowText(&window);
    wchar_t text[100] = {};
    ::GetWindowTextW(window.m_hWnd, text, 100);
    EXPECT_STREQ(L"About Brunlow {Unknown}", text);
    window.DestroyWindow();
    info.ExpandWindowText(nullptr);  // nothing to expand
}

}  // namespace
