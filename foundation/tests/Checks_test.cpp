#include "foundation/errors/Checks.h"

#include "foundation/errors/ClassifiedExceptionsGuard.h"
#include "foundation/errors/ErrorException.h"
#include "foundation/errors/FormatErrorCode.h"
#include "foundation/errors/NotificationsDefault.h"
#include "RecordingSink.h"

#include <boost/shared_ptr.hpp>
#include <gtest/gtest.h>

#include <string>

namespace {

using FoundationTests::RecordingSink;
using FoundationTests::ScopedSink;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct Settings {};

// Call sites as the program writes them.
int AssertSettings(const Settings* m_pSettings) {
    CHECK_ASSERT(m_pSettings);
    return 1;
}

bool ErrorAsBool(bool condition) {
    CHECK_ERROR(condition);
    return true;
}

Settings* ErrorAsPointer(Settings* pSettings) {
    CHECK_ERROR(pSettings != nullptr);
    return pSettings;
}

boost::shared_ptr<Settings> ErrorAsSharedPointer() {
    CHECK_ERROR(false);
    return boost::shared_ptr<Settings>(new Settings);
}

HRESULT ErrorAsHresult(HRESULT hr) {
    CHECK_ERROR_HR(hr);
    return S_OK;
}

BOOL ErrorAsWin32Bool(bool condition) {
    CHECK_ERROR(condition);
    return TRUE;
}

HRESULT ErrorFromWin32Call() {
    CHECK_ERROR_WIN32(DeleteFileW(L"C:\\brunlow-no-such-folder\\none.txt"));
    return S_OK;
}

int WarningThenContinue(bool condition) {
    CHECK_WARNING(condition);
    return 2;
}

TEST(Checks, FailedAssertionThrowsErrorExceptionWithTheReport) {
    try {
        AssertSettings(nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const ErrorHandling::ErrorException& e) {
        std::wstring description;
        ErrorHandling::FormatErrorCode(E_FAIL, description);
        EXPECT_EQ(0u, std::string(e.what()).find("Code 0x80004005: "));
        EXPECT_TRUE(EndsWith(e.what(), " ((m_pSettings))")) << e.what();
        EXPECT_EQ(STLHelpers::WideToUtf8(description) + " ((m_pSettings))", e.what());
    }
    Settings settings;
    EXPECT_EQ(1, AssertSettings(&settings));
}

TEST(Checks, FailedErrorChecksReturnTheFailureWithoutThrowing) {
    // Even a sink that throws a std::exception does not reach the caller.
    RecordingSink sink(true);
    ScopedSink scope(&sink);

    EXPECT_FALSE(ErrorAsBool(false));
    EXPECT_EQ(nullptr, ErrorAsPointer(nullptr));
    EXPECT_FALSE(ErrorAsSharedPointer());
    EXPECT_EQ(E_ACCESSDENIED, ErrorAsHresult(E_ACCESSDENIED));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), ErrorFromWin32Call());
    EXPECT_EQ(FALSE, ErrorAsWin32Bool(false));

    ASSERT_EQ(6u, sink.reports.size());
    for (const auto& report : sink.reports)
        EXPECT_EQ(Reporting::Error, report.severity);
    EXPECT_TRUE(EndsWith(STLHelpers::WideToUtf8(sink.reports[0].text), " ((condition))"));
    EXPECT_TRUE(EndsWith(STLHelpers::WideToUtf8(sink.reports[1].text), " ((pSettings != nullptr))"));
    EXPECT_EQ(0u, sink.reports[3].text.find(L"Code 5: "));
    EXPECT_TRUE(EndsWith(STLHelpers::WideToUtf8(sink.reports[4].text),
                         " ((DeleteFileW(L\"C:\\\\brunlow-no-such-folder\\\\none.txt\")))"));
}

TEST(Checks, PassingChecksReportNothing) {
    RecordingSink sink;
    ScopedSink scope(&sink);
    Settings settings;
    EXPECT_TRUE(ErrorAsBool(true));
    EXPECT_EQ(&settings, ErrorAsPointer(&settings));
    EXPECT_EQ(S_OK, ErrorAsHresult(S_FALSE));  // success codes are no failure
    EXPECT_EQ(2, WarningThenContinue(true));
    EXPECT_EQ(1, AssertSettings(&settings));
    EXPECT_TRUE(sink.reports.empty());
}

TEST(Checks, WarningsAndErrorsLeaveNoTraceWithTheDefaultSink) {
    SetLastError(1234);
    EXPECT_EQ(2, WarningThenContinue(false));
    EXPECT_FALSE(ErrorAsBool(false));
    EXPECT_EQ(E_FAIL, ErrorAsHresult(E_FAIL));
}

TEST(Checks, AssertionReturnsWhenTheSinkDoesNotRaise) {
    Reporting::NotificationsDefault quiet(false);
    ScopedSink scope(&quiet);
    EXPECT_EQ(1, AssertSettings(nullptr));
}

TEST(Checks, CheckTextKeepsMacrosAsWritten) {
    RecordingSink sink;
    ScopedSink scope(&sink);
    const HRESULT hr = E_FAIL;
    CHECK_WARNING(SUCCEEDED(hr));
    CHECK_WARNING_HR(hr);
    ASSERT_EQ(2u, sink.reports.size());
    EXPECT_TRUE(EndsWith(STLHelpers::WideToUtf8(sink.reports[0].text), " ((SUCCEEDED(hr)))"));
    EXPECT_TRUE(EndsWith(STLHelpers::WideToUtf8(sink.reports[1].text), " ((hr))"));
    EXPECT_EQ(Reporting::Warning, sink.reports[0].severity);
}

TEST(Checks, LambdaWithCommasInTheExpression) {
    RecordingSink sink;
    ScopedSink scope(&sink);
    bool isOk = true;
    auto body = [&]() -> bool {
        CHECK_ERROR(isOk = !ErrorHandling::ClassifiedExceptionsGuard([&]() { int a = 1, b = 2; throw std::runtime_error(a < b ? "x" : "y"); }));
        return true;
    };
    EXPECT_FALSE(body());
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_TRUE(EndsWith(STLHelpers::WideToUtf8(sink.reports[0].text),
                         " ((isOk = !ErrorHandling::ClassifiedExceptionsGuard([&]() { int a = 1, b = 2; throw "
                         "std::runtime_error(a < b ? \"x\" : \"y\"); })))"));
}

TEST(ReportingObject, ReportText) {
    RecordingSink sink;
    Reporting::ReportingObject reporter(&sink);
    std::wstring description;
    ErrorHandling::FormatErrorCode(E_FAIL, description);

    struct Case {
        const char* checkText;
        HRESULT code;
        std::wstring expected;
    } cases[] = {
        {"((m_pSettings))", E_FAIL, description + L" ((m_pSettings))"},
        {"", E_FAIL, description},
        {nullptr, E_FAIL, description},
        {"((!!m_id))", S_OK, L"((!!m_id))"},
        {"((\xC3\xA9))", S_OK, L"((\x00E9))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.checkText ? c.checkText : "(null)");
        sink.reports.clear();
        const ErrorHandling::ErrorCode code = c.code;
        EXPECT_FALSE(reporter.ReportWarning(c.checkText, &code));
        ASSERT_EQ(1u, sink.reports.size());
        EXPECT_EQ(c.expected, sink.reports[0].text);
    }

    // Without a sink the report is built and dropped.
    Reporting::ReportingObject silent;
    const ErrorHandling::ErrorCode failure = E_FAIL;
    EXPECT_FALSE(silent.ReportAssertion("((x))", &failure));
}

TEST(ReportingObject, OnlyErrorReportsSwallowTheSinksExceptions) {
    RecordingSink throwing(true);
    Reporting::ReportingObject reporter(&throwing);
    const ErrorHandling::ErrorCode failure = E_FAIL;
    EXPECT_NO_THROW(reporter.ReportError("((x))", &failure));
    EXPECT_THROW(reporter.ReportWarning("((x))", &failure), std::runtime_error);
    EXPECT_THROW(reporter.ReportAssertion("((x))", &failure), std::runtime_error);
}

}  // namespace
