#include "resources/appresources/ResManagerExtraParamsProvider.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

namespace {

typedef AppResources::ResourceManagerHolder::ResManagerExtraParamsProvider Provider;

TEST(ResManagerExtraParamsProvider, RefusesNamesThatAreNoPlaceholderNames) {
    const struct {
        const wchar_t* name;
        bool stored;
    } cases[] = {
        {L"ProductName", true}, {L"1a", true},    {L"a1", true},      {L"", false},  {L"{ProductName}", false},
        {L"a{b", false},        {L"a}b", false},  {L"12", false},     {L"0", false}, {L"4294967295", false},
        {L" 7", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.name << "\"");
        const boost::shared_ptr<Provider> provider = boost::make_shared<Provider>();
        EXPECT_EQ(c.stored, provider->SetParam(c.name, L"value"));
        EXPECT_EQ(c.stored ? L"value" : L"", provider->GetParam(c.name));
    }
}

TEST(ResManagerExtraParamsProvider, ExactNamesAndTheLastValue) {
    const boost::shared_ptr<Provider> provider = boost::make_shared<Provider>();
    EXPECT_TRUE(provider->SetParam(L"ProductName", L"First"));
    EXPECT_TRUE(provider->SetParam(L"ProductName", L"Second"));
    EXPECT_TRUE(provider->SetParam(L"Empty", L""));
    EXPECT_EQ(L"Second", provider->GetParam(L"ProductName"));
    EXPECT_EQ(L"", provider->GetParam(L"productname"));
    EXPECT_EQ(L"", provider->GetParam(L"ProductName "));
    EXPECT_EQ(L"", provider->GetParam(L"Empty"));
    EXPECT_EQ(L"Second", provider->GetParam(wlitestring(L"ProductNameX", 11)));
}

TEST(ResManagerExtraParamsProvider, ProductParametersThenTheFurtherPairs) {
    AppResources::ResourceManagerHolder::ProductParameters parameters;
    parameters.shortProductVersion = L"1.2";
    parameters.fullProductName = L"Brunlow Deluxe";
    parameters.productVersion = L"1.2.3.4";
    parameters.productName = L"Brunlow";
    parameters.companyName = L"Ruveziz";
    parameters.further = {{L"ProductURL", L"http://example.test/"}, {L"7", L"refused"}, {L"ProductName", L"Later"}};
    const boost::shared_ptr<Provider> provider = boost::make_shared<Provider>();
    provider->SetProductParameters(parameters);
    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } expected[] = {
        {L"ShortProductVersion", L"1.2"}, {L"FullProductName", L"Brunlow Deluxe"},
        {L"ProductVersion", L"1.2.3.4"},  {L"ProductName", L"Later"},
        {L"CompanyName", L"Ruveziz"},     {L"ProductURL", L"http://example.test/"},
        {L"7", L""},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(testing::Message() << e.name);
        EXPECT_EQ(e.value, provider->GetParam(e.name));
    }
}

}  // namespace
