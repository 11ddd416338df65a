#include "atlcomcli.h"

#include "CountedFactory.h"

#include <gtest/gtest.h>

namespace {

TEST(CComPtr, HoldsExactlyOneReference) {
    CountedFactory factory;
    {
        CComPtr<IClassFactory> first(&factory);
        EXPECT_EQ(factory.References(), 2u);
        CComPtr<IClassFactory> second = first;
        EXPECT_EQ(factory.References(), 3u);
        CComPtr<IClassFactory> moved(std::move(second));
        EXPECT_EQ(factory.References(), 3u);
        EXPECT_EQ(second.p, nullptr);
        first = first;  // self-assignment keeps the reference
        EXPECT_EQ(factory.References(), 3u);
        moved.Release();
        EXPECT_EQ(factory.References(), 2u);
    }
    EXPECT_EQ(factory.References(), 1u);
}

TEST(CComPtr, QueriesAttachesAndDetaches) {
    CountedFactory factory;
    CComPtr<IClassFactory> holder(&factory);
    CComPtr<IUnknown> unknown;
    ASSERT_EQ(holder.QueryInterface(&unknown), S_OK);
    EXPECT_EQ(factory.References(), 3u);
    EXPECT_TRUE(holder.IsEqualObject(unknown));
    CComQIPtr<IClassFactory> again(unknown.p);
    EXPECT_EQ(again.p, &factory);
    CComQIPtr<IStream> notThere(unknown.p);
    EXPECT_EQ(notThere.p, nullptr);

    IClassFactory* raw = holder.Detach();
    EXPECT_EQ(holder.p, nullptr);
    CComPtr<IClassFactory> adopted;
    adopted.Attach(raw);  // takes the reference over without AddRef
    EXPECT_EQ(factory.References(), 4u);
}

TEST(CComBSTR, CopiesAppendsAndCompares) {
    CComBSTR text(L"abc");
    EXPECT_EQ(text.Length(), 3u);
    CComBSTR copy(text);
    EXPECT_NE(static_cast<BSTR>(copy), static_cast<BSTR>(text));
    EXPECT_TRUE(copy == text);
    ASSERT_EQ(copy.Append(L"def"), S_OK);
    EXPECT_STREQ(copy, L"abcdef");
    EXPECT_TRUE(CComBSTR() == CComBSTR(L""));  // null and empty are the same text

    CComBSTR embedded(5, L"a\0b\0c");
    EXPECT_EQ(embedded.Length(), 5u);
    BSTR out = nullptr;
    ASSERT_EQ(embedded.CopyTo(&out), S_OK);
    EXPECT_EQ(SysStringLen(out), 5u);
    SysFreeString(out);

    BSTR detached = copy.Detach();
    EXPECT_EQ(static_cast<BSTR>(copy), nullptr);
    SysFreeString(detached);
}

TEST(CComVariant, HoldsTypedValuesAndClearsThem) {
    CComVariant text(L"value");
    EXPECT_EQ(text.vt, VT_BSTR);
    EXPECT_STREQ(text.bstrVal, L"value");
    CComVariant number(42);
    EXPECT_EQ(number.vt, VT_I4);
    EXPECT_TRUE(CComVariant(true).boolVal == VARIANT_TRUE);
    EXPECT_TRUE(number == CComVariant(42));
    EXPECT_FALSE(number == CComVariant(43));
    EXPECT_TRUE(text == CComVariant(L"value"));

    ASSERT_EQ(number.ChangeType(VT_BSTR), S_OK);
    EXPECT_STREQ(number.bstrVal, L"42");

    CountedFactory factory;
    {
        CComVariant object(static_cast<IUnknown*>(&factory));
        EXPECT_EQ(factory.References(), 2u);
        CComVariant copy(object);
        EXPECT_EQ(factory.References(), 3u);
    }
    EXPECT_EQ(factory.References(), 1u);
}

}  // namespace
