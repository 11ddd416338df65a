#include "foundation/strings/StringFormat.h"

#include "RecordingSink.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace STLHelpers;

std::wstring Format(const wchar_t* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::wstring result = VFormatWString(format, arguments);
    va_end(arguments);
    return result;
}

TEST(FormatString, Placeholders) {
    struct Case {
        const wchar_t* format;
        std::vector<std::wstring> arguments;
        const wchar_t* expected;
    } cases[] = {
        {L"{0} and {1}", {L"a", L"b"}, L"a and b"},
        {L"{1}{0}{1}", {L"a", L"b"}, L"bab"},
        // Text inserted for {0} is searched again for {1}.
        {L"{0} then {1}", {L"<{1}>", L"b"}, L"<b> then b"},
        {L"{0} then {1}", {L"a"}, L"a then {1}"},
        {L"{{0}} {2}", {L"a", L"b"}, L"{a} {2}"},
        {L"none", {}, L"none"},
        {L"", {L"a"}, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.format << "\"");
        EXPECT_EQ(c.expected, FormatString(c.format, c.arguments));
    }
    EXPECT_EQ(L"x", FormatString1(L"{0}", L"x"));
    EXPECT_EQ(L"y-x", FormatString2(L"{1}-{0}", L"x", L"y"));
    // The number is unsigned: a failure HRESULT shows as its 32-bit value.
    std::wstring out = L"old";
    EXPECT_EQ(L"code 2147500037 of {1}", FormatWithNumber(out, L"code {0} of {1}", 0x80004005u));
    EXPECT_EQ(L"code 2147500037 of {1}", out);
    EXPECT_EQ(L"0", FormatWithNumber(out, L"{0}", 0));
}

TEST(VFormatWString, FormatsIntoTheResult) {
    EXPECT_EQ(L"5 files in C:\\x", Format(L"%d files in %s", 5, L"C:\\x"));
    EXPECT_EQ(L"narrow", Format(L"%hs", "narrow"));
    EXPECT_EQ(L"", Format(nullptr));
}

TEST(VFormatWString, LongTextsAreCutAndMarked) {
    const std::wstring exact(kMaxFormattedLength, L'a');
    EXPECT_EQ(exact, Format(L"%s", exact.c_str()));

    const std::wstring longer = exact + L"bcd";
    const std::wstring result = Format(L"%s", longer.c_str());
    EXPECT_EQ(exact + L"... (truncated)", result);
}

TEST(VFormatWString, RefusedArgumentsGiveTheFormatAndAWarning) {
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);

    // A field width the formatter cannot honour makes it refuse the call.
    const std::wstring result = Format(L"%2147483647d", 1);
    EXPECT_EQ(L"%2147483647d... (bad args)", result);
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Warning, sink.reports[0].severity);
    const std::wstring& report = sink.reports[0].text;
    EXPECT_EQ(0u, report.find(L"Code 87: "));
    EXPECT_EQ(L" ((hr))", report.substr(report.size() - 7));
}

TEST(VFormatWString, TruncationIsNoWarning) {
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    const std::wstring longer(kMaxFormattedLength + 1, L'a');
    Format(L"%s", longer.c_str());
    EXPECT_TRUE(sink.reports.empty());
}

}  // namespace
