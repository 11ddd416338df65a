#include "foundation/strings/NumberStrings.h"

#include <boost/lexical_cast.hpp>
#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace STLHelpers;

TEST(NumberStrings, DecimalTexts) {
    EXPECT_EQ(L"0", NumberToWString(0));
    EXPECT_EQ(L"4294967295", UIntToWString(4294967295u));
    EXPECT_EQ(L"1234567", NumberToWString(1234567));
    EXPECT_EQ(L"-2147483648", IntToWString(INT_MIN));
    EXPECT_EQ(L"-1", IntToWString(-1));
    EXPECT_EQ(L"2147483647", IntToWString(INT_MAX));

    std::wstring text = L"Code ";
    EXPECT_EQ(L"Code 1000", AppendNumber(text, 1000));

    std::wstring out;
    EXPECT_EQ(L"1234567", ToWString(out, 1234567));  // no grouping
    EXPECT_EQ(L"-42", ToWString(out, -42));
    EXPECT_EQ(L"-42", out);
}

TEST(NumberStrings, ParseUInt) {
    struct Case {
        const wchar_t* text;
        bool expected;
        std::uint32_t value;
    } cases[] = {
        {L"42", true, 42},       {L"", true, 0},          {nullptr, true, 0},
        {L"0", true, 0},         {L"4294967295", true, 4294967295u},
        {L"42x", false, 0},      {L"x", false, 0},        {L"4294967296", false, 0},
        {L"-1", false, 0},       {L"42 ", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << (c.text ? c.text : L"(null)") << "\"");
        std::uint32_t value = 77;
        EXPECT_EQ(c.expected, ParseUInt(c.text, value));
        if (c.expected) {
            EXPECT_EQ(c.value, value);
        }
        std::uint32_t ignored = 0;
        EXPECT_EQ(c.expected, IsUnsignedNumber(c.text, ignored));
    }
}

TEST(NumberStrings, ToInt) {
    EXPECT_EQ(0, ToInt(L""));
    EXPECT_EQ(0, ToInt(static_cast<const wchar_t*>(nullptr)));
    EXPECT_EQ(123, ToInt(L"123"));
    EXPECT_EQ(-45, ToInt(L"-45"));
    EXPECT_EQ(12, ToInt(wlitestring(L"123", 2)));
    const wchar_t* refused[] = {L"12a", L"a", L" 12", L"99999999999"};
    for (const wchar_t* text : refused) {
        SCOPED_TRACE(testing::Message() << "\"" << text << "\"");
        EXPECT_THROW(ToInt(text), boost::bad_lexical_cast);
    }
}

}  // namespace
