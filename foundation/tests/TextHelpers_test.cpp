#include "foundation/strings/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::wstring>;

TEST(TextHelpers, Split) {
    struct Case {
        std::wstring text, delimiter;
        bool skipEmpty, remainderOnlyAfterPiece;
        Pieces pieces;
    } cases[] = {
        {L"a,,b", L",", true, false, {L"a", L"b"}},
        {L"a,,b", L",", false, false, {L"a", L"", L"b"}},
        {L"a,", L",", false, false, {L"a", L""}},
        {L"a,", L",", true, false, {L"a"}},
        {L"abc", L",", false, false, {L"abc"}},
        {L"abc", L",", false, true, {}},
        {L"a,b", L",", false, true, {L"a", L"b"}},
        {L",b", L",", true, true, {}},  // no piece taken before the remainder
        {L"", L",", false, false, {L""}},
        {L"", L",", true, false, {}},
        {L"a--b---c", L"--", false, false, {L"a", L"b", L"-c"}},
        {L"a,b", L"", false, false, {L"a,b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " at " + testing::PrintToString(c.delimiter));
        Pieces pieces = {L"old"};
        STLHelpers::Split(c.text, c.delimiter, pieces, true, c.skipEmpty, c.remainderOnlyAfterPiece);
        EXPECT_EQ(c.pieces, pieces);
    }
    Pieces kept = {L"old"};
    STLHelpers::Split(L"x", L",", kept, false, false, false);
    EXPECT_EQ((Pieces{L"old", L"x"}), kept);
}

TEST(TextHelpers, TrimmingOneSide) {
    struct Case {
        std::wstring text, left, right;
    } cases[] = {
        {L"..a.b..", L"a.b..", L"..a.b"},
        {L"....", L"", L"...."},  // TrimRight leaves a text of nothing but the set
        {L"", L"", L""},
        {L"ab", L"ab", L"ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        std::wstring left = c.text, right = c.text;
        STLHelpers::TrimLeft(left, L".");
        STLHelpers::TrimRight(right, L".");
        EXPECT_EQ(c.left, left);
        EXPECT_EQ(c.right, right);
    }
}

TEST(TextHelpers, ConcatAndConversions) {
    EXPECT_EQ(L"ab", STLHelpers::Concat(L"a", L"b"));
    EXPECT_EQ(L"a", STLHelpers::Concat(L"a", wlitestring()));
    EXPECT_EQ(L"\x00e6x", STLHelpers::Utf8ToWString("\xc3\xa6x"));
    EXPECT_EQ(L"\x00e6x", STLHelpers::Utf8ToWString(std::string("\xc3\xa6x")));
    EXPECT_EQ(L"", STLHelpers::Utf8ToWString(static_cast<const char*>(nullptr)));
    EXPECT_EQ(L"ab", STLHelpers::Utf8ToWString(L"ab\0cd"));
    EXPECT_EQ("\xc3\xa6x", STLHelpers::WStringToUtf8(L"\x00e6x"));
    EXPECT_EQ("", STLHelpers::WStringToUtf8(nullptr));
    EXPECT_EQ(L"\x00e6", STLHelpers::MultiByteToWide("\xe6", STLHelpers::CodePageInfo{1252, 0}));
}

}  // namespace
