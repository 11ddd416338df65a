#include "foundation/system/Environment.h"

#include "foundation/errors/ErrorException.h"
#include "RecordingSink.h"
#include "testing/ChildProcess.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <optional>
#include <string>

namespace {

using FoundationTests::RecordingSink;
using FoundationTests::ScopedSink;

const wchar_t kName[] = L"BRUNLOW_ENVIRONMENT_TEST";

// Removes the test's variable when the test ends.
struct ScopedVariable {
    explicit ScopedVariable(const std::optional<std::wstring>& text) {
        SetEnvironmentVariableW(kName, text ? text->c_str() : nullptr);
    }
    ~ScopedVariable() { SetEnvironmentVariableW(kName, nullptr); }
};

std::optional<std::wstring> RawValue(const wchar_t* name = kName) {
    std::wstring buffer(40000, L'\0');
    SetLastError(0);
    const DWORD length = GetEnvironmentVariableW(name, &buffer[0], static_cast<DWORD>(buffer.size()));
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return std::nullopt;
    buffer.resize(length);
    return buffer;
}

std::wstring Text(size_t length) {
    std::wstring text;
    for (size_t i = 0; i < length; ++i)
        text += static_cast<wchar_t>(L'a' + i % 26);
    return text;
}

TEST(Environment, ReadsTextsOfUpTo1023Characters) {
    struct Case {
        const char* name;
        std::optional<std::wstring> value;
        bool read;
    };
    const Case cases[] = {
        {"absent", std::nullopt, false},
        {"empty", std::wstring(), false},
        {"one character", Text(1), true},
        {"126: room to spare in the first buffer", Text(126), true},
        {"127: fills the first buffer exactly", Text(127), true},
        {"128", Text(128), true},
        {"129", Text(129), true},
        {"255", Text(255), true},
        {"256", Text(256), true},
        {"1022", Text(1022), true},
        {"1023", Text(1023), true},
        {"1024", Text(1024), false},
        {"5000", Text(5000), false},
        {"non-ASCII", std::wstring(L"\u00e4\u4e2d\U0001F600"), true},
    };
    RecordingSink sink;
    ScopedSink scope(&sink);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedVariable variable(c.value);
        std::wstring text = L"stale";
        EXPECT_EQ(c.read, System::ReadEnvironmentVariable(kName, text));
        EXPECT_EQ(c.read ? *c.value : std::wstring(), text);
        EXPECT_EQ(c.read ? *c.value : std::wstring(), System::GetEnvironmentString(kName));
    }
    EXPECT_TRUE(sink.reports.empty()) << sink.reports.front().text;
}

TEST(Environment, AnEmptyNameIsAnAssertion) {
    std::wstring text;
    for (const wlitestring& name : {wlitestring(), wlitestring(L""), wlitestring(L"x", 0)}) {
        try {
            System::ReadEnvironmentVariable(name, text);
            ADD_FAILURE() << "no exception";
        } catch (const ErrorHandling::ErrorException& e) {
            const std::string what = e.what();
            EXPECT_NE(std::string::npos, what.find("((!name.empty()))")) << what;
        }
    }
}

TEST(Environment, ReadsUnsignedNumbers) {
    struct Case {
        std::optional<std::wstring> value;
        bool read;
        std::uint32_t number;
    };
    const Case cases[] = {
        {L"42", true, 42},          {L"0", true, 0},        {L"4294967295", true, 4294967295u},
        {L"42x", false, 0},         {L"x", false, 0},       {L"-1", false, 0},
        {L"4294967296", false, 0},  {L"", false, 0},        {std::nullopt, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? testing::PrintToString(*c.value) : "absent");
        ScopedVariable variable(c.value);
        std::uint32_t number = 7;
        EXPECT_EQ(c.read, System::ReadEnvironmentUInt(kName, number));
        if (c.read) {
            EXPECT_EQ(c.number, number);
        }
    }
}

TEST(Environment, TypedSettersWriteDecimalText) {
    struct Case {
        const char* name;
        bool (*set)(int mode);
        std::wstring expected;
    };
    const Case cases[] = {
        {"text", [](int mode) { return System::SetEnvironmentText(kName, L"some text", mode); }, L"some text"},
        {"text by length", [](int mode) { return System::SetEnvironmentText(kName, wlitestring(L"abcdef", 3), mode); },
         L"abc"},
        {"string", [](int mode) { return System::SetEnvironmentString(kName, L"C:\\Logs\\x.log", mode); },
         L"C:\\Logs\\x.log"},
        {"negative int", [](int mode) { return System::SetEnvironmentInt(kName, -5, mode); }, L"-5"},
        {"smallest int", [](int mode) { return System::SetEnvironmentInt(kName, INT_MIN, mode); }, L"-2147483648"},
        {"largest unsigned", [](int mode) { return System::SetEnvironmentUInt(kName, UINT_MAX, mode); },
         L"4294967295"},
        {"empty text", [](int mode) { return System::SetEnvironmentText(kName, wlitestring(), mode); }, L""},
    };
    for (const Case& c : cases) {
        for (int mode : {0, 1}) {
            SCOPED_TRACE(std::string(c.name) + ", mode " + std::to_string(mode));
            ScopedVariable variable(L"earlier");
            EXPECT_TRUE(c.set(mode));
            EXPECT_EQ(c.expected, RawValue());
        }
    }
}

TEST(Environment, AnEmptyTextReadsAsAbsentAndRemovingRemoves) {
    ScopedVariable variable(L"set");
    ASSERT_TRUE(System::SetEnvironmentText(kName, L"", 1));
    std::wstring text;
    EXPECT_FALSE(System::ReadEnvironmentVariable(kName, text));
    EXPECT_TRUE(System::RemoveEnvironmentVariable(kName));
    EXPECT_EQ(std::nullopt, RawValue());
}

TEST(Environment, AFailedSetIsAnAssertion) {
    // A name with "=" inside is refused by the system.
    EXPECT_THROW(System::SetEnvironmentText(L"BRUNLOW=BAD", L"x", 0), ErrorHandling::ErrorException);
    RecordingSink sink;
    ScopedSink scope(&sink);
    EXPECT_FALSE(System::SetEnvironmentText(L"BRUNLOW=BAD", L"x", 0));
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Assertion, sink.reports[0].severity);
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L" ((lerr))")) << sink.reports[0].text;
}

TESTING_CHILD_SCENARIO(ReadsInheritedNumber) {
    std::uint32_t number = 0;
    return System::ReadEnvironmentUInt(kName, number) ? static_cast<int>(number) : 1000;
}

TEST(Environment, ChildProcessesInheritWhatWasSet) {
    ScopedVariable variable(std::nullopt);
    ASSERT_TRUE(System::SetEnvironmentUInt(kName, 42u, 0));
    EXPECT_EQ(42u, Testing::RunChildScenario("ReadsInheritedNumber").exitCode);
    ASSERT_TRUE(System::SetEnvironmentText(kName, L"", 0));
    EXPECT_EQ(1000u, Testing::RunChildScenario("ReadsInheritedNumber").exitCode);
}

}  // namespace
