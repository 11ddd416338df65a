#include "foundation/errors/ErrorException.h"

#include "GuardedBuffer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using ErrorHandling::AnyError;
using ErrorHandling::ErrorException;

TEST(ErrorException, NothingWrittenIsEmpty) {
    const ErrorException error;
    EXPECT_STREQ("", error.what());
    const ErrorException copy(error);
    EXPECT_STREQ("", copy.what());
}

TEST(ErrorException, TextIsCutAt1023Bytes) {
    for (std::size_t written : {1000u, 1023u, 1024u, 2000u}) {
        SCOPED_TRACE(testing::Message() << written << " bytes written");
        std::string text;
        for (std::size_t i = 0; i < written; ++i)
            text += static_cast<char>('a' + i % 26);
        ErrorException error;
        error << text << "-more";
        const std::string expected = (text + "-more").substr(0, 1023);
        EXPECT_EQ(expected, error.what());

        // A copy has its own buffer with the same text.
        const ErrorException copy(error);
        EXPECT_EQ(expected, copy.what());
        EXPECT_NE(static_cast<const void*>(error.what()), static_cast<const void*>(copy.what()));
    }
}

TEST(ErrorException, WideTextReadsBackAsUtf8) {
    AnyError error(1);
    error << L"Datei \x00FC" << L"ber \xD83C\xDFAC" << std::wstring(L" \x65E5");
    EXPECT_STREQ("Datei \xC3\xBC" "ber \xF0\x9F\x8E\xAC \xE6\x97\xA5", error.what());
}

TEST(ErrorException, UnterminatedReferencesAreWrittenToTheirLength) {
    const FoundationTests::GuardedBuffer narrow("abc", 3);
    const wchar_t wideText[] = {L'd', L'\x00E9'};
    const FoundationTests::GuardedBuffer wide(wideText, sizeof(wideText));
    ErrorException error;
    error << litestring(narrow.As<char>(), 3) << wlitestring(wide.As<wchar_t>(), 2);
    EXPECT_STREQ("abcd\xC3\xA9", error.what());
}

TEST(ErrorException, NumbersAndMixedText) {
    const ErrorException error = ErrorException() << "count " << 42 << ", code 0x" << std::hex << 255u << L"!";
    EXPECT_STREQ("count 42, code 0xff!", error.what());
}

TEST(ErrorException, WritingReturnsTheSameObjectWithItsType) {
    AnyError error(1);
    AnyError& same = error << L"x";
    EXPECT_EQ(&error, &same);
    try {
        throw AnyError(1) << L"thrown";
    } catch (const AnyError& caught) {
        EXPECT_TRUE(caught.IsError());
        EXPECT_STREQ("thrown", caught.what());
    }
}

TEST(AnyError, FlagIsSetExactlyByOne) {
    struct Case {
        int value;
        bool isError;
    } cases[] = {{0, false}, {1, true}, {2, false}, {-1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(c.isError, static_cast<bool>(AnyError(c.value)));
        EXPECT_EQ(c.isError, static_cast<bool>(AnyError(std::runtime_error("not read"), c.value)));
        EXPECT_STREQ("", AnyError(std::runtime_error("not read"), c.value).what());
    }
    AnyError original(1);
    original << L"text";
    const AnyError copy(original);
    EXPECT_TRUE(copy.IsError());
    EXPECT_STREQ("text", copy.what());
}

}  // namespace
