#include "foundation/strings/StringConversions.h"

#include "GuardedBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace STLHelpers;

TEST(StringConversions, Utf8RoundTrip) {
    const wchar_t* texts[] = {
        L"", L"plain", L"Gr\x00FC\x00DF" L"e", L"\x65E5\x672C\x8A9E",
        L"\xD83C\xDFAC film \xD83D\xDE00",  // outside the BMP: surrogate pairs
    };
    const char* utf8[] = {
        "", "plain", "Gr\xC3\xBC\xC3\x9F" "e", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
        "\xF0\x9F\x8E\xAC film \xF0\x9F\x98\x80",
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(testing::Message() << "case " << i);
        EXPECT_EQ(utf8[i], WideToUtf8(texts[i]));
        EXPECT_EQ(texts[i], Utf8ToWide(utf8[i]));
        EXPECT_EQ(static_cast<int>(std::wstring(texts[i]).size()), GetWideLength(utf8[i], -1, kUtf8CodePage));
        EXPECT_EQ(static_cast<int>(std::string(utf8[i]).size()), GetNarrowLength(texts[i], -1, kUtf8CodePage));
    }
}

TEST(StringConversions, UnterminatedReferenceConvertsOnlyItsLength) {
    // The reference ends inside a larger text; nothing after it may be read.
    const char narrow[] = "abc\xC3\xA9-rest";
    EXPECT_EQ(L"abc\x00E9", Utf8ToWide(litestring(narrow, 5)));
    const wchar_t wide[] = L"ab\x00E9-rest";
    EXPECT_EQ("ab\xC3\xA9", WideToUtf8(wlitestring(wide, 3)));

}

TEST(StringConversions, NothingPastTheReferenceIsRead) {
    // Texts without a terminating zero, right before a page that faults.
    const FoundationTests::GuardedBuffer narrow("xy\xC3\xA9", 4);
    EXPECT_EQ(L"xy\x00E9", Utf8ToWide(litestring(narrow.As<char>(), 4)));
    std::wstring wideResult;
    EXPECT_STREQ(L"x", MultiByteToWString(narrow.As<char>(), 1, wideResult, kUtf8CodePage));

    const wchar_t wideText[] = {L'a', L'\x00E9'};
    const FoundationTests::GuardedBuffer wide(wideText, sizeof(wideText));
    EXPECT_EQ("a\xC3\xA9", WideToUtf8(wlitestring(wide.As<wchar_t>(), 2)));
    EXPECT_EQ(L"a\x00E9", RefToWString(wlitestring(wide.As<wchar_t>(), 2)));
}

TEST(StringConversions, InvalidUtf8GivesReplacementCharactersNotAnException) {
    const std::wstring result = Utf8ToWide("a\xFF" "b\xC3");
    ASSERT_FALSE(result.empty());
    EXPECT_EQ(L'a', result.front());
    EXPECT_NE(std::wstring::npos, result.find(L'\xFFFD'));
    EXPECT_NE(std::wstring::npos, result.find(L'b'));
}

TEST(StringConversions, StrictFlagsRefuseInvalidUtf8WithAnEmptyResult) {
    std::wstring result = L"old";
    EXPECT_STREQ(L"", MultiByteToWString("a\xFF", -1, result, CodePageInfo{CP_UTF8, MB_ERR_INVALID_CHARS}));
    EXPECT_TRUE(result.empty());
}

TEST(StringConversions, CodePageZeroSizesByTheByteCount) {
    EXPECT_EQ(5, GetWideLength("abcde", -1, CodePageInfo{0, 0}));
    EXPECT_EQ(3, GetNarrowLength(L"abc", -1, CodePageInfo{0, 0}));
    std::wstring result;
    EXPECT_STREQ(L"abc", MultiByteToWString("abc", -1, result, CodePageInfo{0, 0}));
}

TEST(StringConversions, NullAndEmptySources) {
    std::wstring wide = L"old";
    EXPECT_STREQ(L"", MultiByteToWString(nullptr, -1, wide, kUtf8CodePage));
    std::string narrow = "old";
    EXPECT_STREQ("", WStringToMultiByte(nullptr, -1, narrow, kUtf8CodePage));
    EXPECT_EQ(0, GetWideLength(nullptr, -1, kUtf8CodePage));
}

TEST(StringConversions, AppendAndCopy) {
    std::wstring text = L"x";
    AppendUtf8Ref(text, "\xC3\xA9");
    AppendUtf8(text, std::string("yz"));
    EXPECT_EQ(L"x\x00E9yz", text);
    EXPECT_EQ(L"bc", RefToWString(wlitestring(L"abcd" + 1, 2)));
    EXPECT_EQ("bc", StrRefToString(litestring("abcd" + 1, 2)));
}

}  // namespace
