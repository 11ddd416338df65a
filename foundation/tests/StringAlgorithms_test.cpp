#include "foundation/strings/StringAlgorithms.h"

#include <gtest/gtest.h>

namespace {

using namespace STLHelpers;

TEST(StringAlgorithms, ReplaceAll) {
    struct Case {
        const wchar_t* text;
        const wchar_t* search;
        const wchar_t* replacement;
        const wchar_t* expected;
    } cases[] = {
        {L"a.b.c", L".", L"::", L"a::b::c"},
        {L"aaaa", L"aa", L"a", L"aa"},       // non-overlapping, left to right
        {L"ab", L"a", L"aa", L"aab"},        // the replacement is not searched again
        {L"abc", L"", L"x", L"abc"},
        {L"abc", L"x", L"y", L"abc"},
        {L"", L"a", L"b", L""},
        {L"abc", L"abc", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.text << "\" / \"" << c.search << "\"");
        EXPECT_EQ(c.expected, ReplaceAll(c.text, c.search, c.replacement));
        EXPECT_EQ(c.expected, ReplaceAllCopy(c.text, c.search, c.replacement));
        std::wstring inPlace = c.text;
        ReplaceAllInPlace(inPlace, c.search, c.replacement);
        EXPECT_EQ(c.expected, inPlace);
    }
}

TEST(StringAlgorithms, ReplaceAllPairsSeesEarlierReplacements) {
    const ReplacementPairs pairs = {{L"a", L"b"}, {L"b", L"c"}};
    std::wstring text = L"ab";
    EXPECT_EQ(2u, ReplaceAllPairs(text, pairs));
    EXPECT_EQ(L"cc", text);
    EXPECT_EQ(L"ccx", ReplaceAllPairsCopy(L"abx", pairs));
}

TEST(StringAlgorithms, Trim) {
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    } cases[] = {
        {L" \t\r\nab c\n\r\t ", L"ab c"}, {L"abc", L"abc"}, {L" \t ", L""}, {L"", L""}, {L"\x00A0x", L"\x00A0x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.text << "\"");
        std::wstring inPlace = c.text;
        Trim(inPlace);
        EXPECT_EQ(c.expected, inPlace);
        EXPECT_EQ(c.expected, TrimWhitespaceCopy(c.text));
    }
    EXPECT_EQ(L"b-a", TrimCopy(L"--/b-a/-", L"/-"));
    EXPECT_EQ(L"", TrimCopy(L"///", L"/"));
    EXPECT_EQ(L"bc", TrimCopy(wlitestring(L"xbcx ", 4), L"x"));
}

TEST(StringAlgorithms, EnquoteAndUnquote) {
    struct Case {
        const wchar_t* text;
        const wchar_t* enquoted;
        const wchar_t* unquoted;
    } cases[] = {
        {L"abc", L"\"abc\"", L"abc"},
        {L"\"abc\"", L"\"abc\"", L"abc"},
        {L"\"", L"\"\"\"", L"\""},
        {L"\"\"", L"\"\"", L""},
        {L"", L"\"\"", L""},
        {L"\"abc", L"\"\"abc\"", L"\"abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "[" << c.text << "]");
        EXPECT_EQ(c.enquoted, Enquote(c.text, L'"'));
        EXPECT_EQ(c.unquoted, Unquote(c.text, L'"'));
    }
    EXPECT_EQ(L"'a'", Enquote(L"a", L'\''));
}

TEST(StringAlgorithms, CaseHelpers) {
    EXPECT_EQ(L"abc xyz 09 \x00C9\x0411", ToLowerWString(L"AbC XYZ 09 \x00C9\x0411"));
    EXPECT_TRUE(IsEqualNoCase(L"Settings", L"sETTINGS"));
    EXPECT_FALSE(IsEqualNoCase(L"Settings", L"Setting"));
    EXPECT_FALSE(IsEqualNoCase(L"abc", L"abd"));
    EXPECT_TRUE(IsEqualNoCase(L"", static_cast<const wchar_t*>(nullptr)));
}

TEST(StringAlgorithms, CompareStrings) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int expected;
    } cases[] = {
        {L"Skin", L"Skin", 0}, {L"Skin", L"skin", -1}, {L"skin", L"Skin", 1}, {L"Ski", L"Skin", -1},
        {L"Skin", L"Ski", 1},  {L"", L"", 0},          {L"\xE000", L"\xD800", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.a << "\" vs \"" << c.b << "\"");
        EXPECT_EQ(c.expected, CompareStrings(c.a, c.b));
    }
}

}  // namespace
