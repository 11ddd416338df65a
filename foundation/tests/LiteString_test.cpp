#include "foundation/strings/LiteString.h"

#include "GuardedBuffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(LiteString, MadeFromStringsAndPointers) {
    const std::wstring empty;
    const wlitestring fromEmpty(empty);
    EXPECT_EQ(nullptr, fromEmpty.data());
    EXPECT_EQ(0, fromEmpty.length());
    EXPECT_TRUE(fromEmpty.is_zero_terminated());

    const wlitestring fromNull(static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(0, fromNull.length());

    const std::wstring text = L"abc";
    const wlitestring fromString(text);
    EXPECT_EQ(text.c_str(), fromString.data());
    EXPECT_EQ(3, fromString.length());

    const wchar_t buffer[] = L"abcdef";
    const wlitestring middle(buffer + 1, 3);
    EXPECT_FALSE(middle.is_zero_terminated());
    EXPECT_EQ(L"bcd", middle.str());
}

TEST(LiteString, LengthIsMeasuredOnceAndKeptInTheReference) {
    wchar_t buffer[] = L"abcd";
    const wlitestring text(buffer);
    EXPECT_EQ(4, text.length());
    buffer[2] = L'\0';  // a later measurement would now give 2
    EXPECT_EQ(4, text.length());
}

TEST(LiteString, Find) {
    struct Case {
        const wchar_t* text;
        const wchar_t* sub;
        int start;
        int expected;
    } cases[] = {
        {L"hello", L"", -1, -1},     {L"hello", L"", 2, 2},     {L"hello", L"", 5, 5},
        {L"hello", L"l", 0, 2},      {L"hello", L"l", 3, 3},    {L"hello", L"lo", 0, 3},
        {L"hello", L"lo", 4, -1},    {L"hello", L"x", 0, -1},   {L"hello", L"hello!", 0, -1},
        {L"hello", L"h", 6, -1},     {L"", L"", 0, 0},          {L"aaa", L"aa", 1, 1},
        // A start so far past the end that start + substring length overflows.
        {L"hello", L"lo", INT_MAX, -1}, {L"hello", L"o", INT_MAX, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "find(\"" << c.sub << "\", " << c.start << ") in \"" << c.text << "\"");
        EXPECT_EQ(c.expected, wlitestring(c.text).find(c.sub, c.start));
    }
}

TEST(LiteString, Rfind) {
    struct Case {
        const wchar_t* text;
        wchar_t ch;
        int position;
        int expected;
    } cases[] = {
        {L"a\\b\\c", L'\\', -1, 3}, {L"a\\b\\c", L'\\', 3, 1}, {L"a\\b\\c", L'\\', 1, -1},
        {L"a\\b\\c", L'\\', 5, 3},  {L"a\\b\\c", L'\\', 6, -1}, {L"abc", L'x', -1, -1},
        {L"", L'x', -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rfind('" << c.ch << "', " << c.position << ") in \"" << c.text << "\"");
        EXPECT_EQ(c.expected, wlitestring(c.text).rfind(c.ch, c.position));
    }
}

TEST(LiteString, Substr) {
    struct Case {
        int start;
        int count;
        const wchar_t* expected;
    } cases[] = {
        {2, 10, L""}, {2, -1, L"cde"}, {2, 3, L"cde"}, {0, 2, L"ab"}, {5, -1, L""}, {6, -1, L""}, {0, 0, L""},
    };
    const wlitestring text(L"abcde");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "substr(" << c.start << ", " << c.count << ")");
        EXPECT_EQ(c.expected, text.substr(c.start, c.count));
    }
}

TEST(LiteString, CompareIsOrdinalAndShorterPrefixIsLess) {
    struct Case {
        wlitestring a;
        wlitestring b;
        int expected;
    } cases[] = {
        {L"abc", L"abc", 0},  {L"abc", L"abd", -1}, {L"abd", L"abc", 1},   {L"ab", L"abc", -1},
        {L"abc", L"ab", 1},   {L"", L"", 0},        {L"", L"a", -1},       {L"B", L"a", -1},
        {wlitestring(L"abcX", 3), L"abc", 0},       {L"\xFFFF", L"a", 1},  {L"\xD800", L"\xFFFD", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.a.str() << "\" vs \"" << c.b.str() << "\"");
        EXPECT_EQ(c.expected, wlitestring::compare(c.a, c.b));
    }
    EXPECT_TRUE(std::wstring(L"abc") == wlitestring(L"abcdef", 3));
    EXPECT_FALSE(std::wstring(L"abc") == wlitestring(L"abcdef", 4));
}

TEST(LiteString, NarrowCompareTreatsBytesAsUnsigned) {
    EXPECT_EQ(1, litestring::compare("\xC3\xA9", "z"));
}

TEST(LiteStringHolder, ZeroTerminatedReferenceIsNotCopied) {
    const wchar_t* literal = L"text";
    const wlitestring::c_string_holder holder{wlitestring(literal)};
    EXPECT_EQ(literal, holder.c_str());
    EXPECT_TRUE(holder.owned().empty());
}

TEST(LiteStringHolder, UnterminatedReferenceIsCopiedToItsLength) {
    const wchar_t buffer[] = L"abcdef";
    const wlitestring::c_string_holder holder{wlitestring(buffer, 3)};
    EXPECT_STREQ(L"abc", holder.c_str());
    EXPECT_EQ(L"abc", holder.owned());

    // A copy points at its own text, not at the source's.
    wlitestring::c_string_holder copy(holder);
    EXPECT_STREQ(L"abc", copy.c_str());
    EXPECT_NE(holder.c_str(), copy.c_str());
    wlitestring::c_string_holder assigned;
    assigned = holder;
    EXPECT_EQ(assigned.owned().c_str(), assigned.c_str());
}

TEST(LiteStringHolder, NothingPastTheReferenceIsRead) {
    const wchar_t text[] = {L'a', L'b', L'c'};
    const FoundationTests::GuardedBuffer guarded(text, sizeof(text));
    const wlitestring reference(guarded.As<wchar_t>(), 3);
    EXPECT_STREQ(L"abc", wlitestring::c_string_holder(reference).c_str());
    EXPECT_EQ(L"abc", reference.str());
    EXPECT_EQ(2, reference.find(L"c"));
    EXPECT_EQ(-1, reference.find(L"cd"));
    EXPECT_EQ(1, reference.compare(L"ab"));
    EXPECT_EQ(L"bc", reference.substr(1));
}

TEST(LiteStringHolder, NullPointer) {
    const wlitestring null(static_cast<const wchar_t*>(nullptr));
    EXPECT_STREQ(L"", wlitestring::c_string_holder(null).c_str());
    EXPECT_EQ(nullptr, wlitestring::c_string_holder(null, true).c_str());
    EXPECT_EQ(nullptr, wlitestring::c_string_holder(wlitestring(L"abc", 0), true).c_str());
}

}  // namespace
