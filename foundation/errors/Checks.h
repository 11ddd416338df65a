#pragma once
// The three failed-check forms. Each reports the tested expression's source
// text in double parentheses ("((m_pSettings))") and a code to the module's
// reporter when the code is a failure (negative):
//
//   CHECK_WARNING(cond)   reported as a warning; execution goes on.
//   CHECK_ASSERT(cond)    reported as an assertion; the module's sink throws
//                         ErrorHandling::ErrorException (a sink that returns
//                         lets execution go on after the check).
//   CHECK_ERROR(cond)     reported as an error (never throws from the report),
//                         then the enclosing function returns the code as its
//                         result: bool false, BOOL FALSE, a null pointer, the
//                         HRESULT itself, or a result word made from the
//                         ErrorCode (see ErrorResult.h).
//
// The code of each family:
//   CHECK_*(cond)         E_FAIL when the condition is false, else 0.
//   CHECK_*_HR(hr)        the HRESULT value of the expression.
//   CHECK_*_WIN32(result) ErrorCode::FromWin32Result of a Win32 BOOL result:
//                         0 when non-zero, else the last error as 0x8007xxxx
//                         (a last error of 0 counts as success).
//
//   CHECK_ERROR_WIN32(::SetEvent(m_event));   // check text "((::SetEvent(m_event)))"
//   CHECK_ASSERT(!name.empty());              // check text "((!name.empty()))"
#include "foundation/errors/ErrorCode.h"
#include "foundation/errors/ErrorResult.h"
#include "foundation/errors/ReportingObject.h"

// The check text is stringified in each public macro itself, so macros inside
// the expression (SUCCEEDED, NULL, ...) appear as written.
#define CHECK_CODE_BOOL_(...) ::ErrorHandling::ErrorCode((__VA_ARGS__) ? S_OK : E_FAIL)
#define CHECK_CODE_HR_(...) ::ErrorHandling::ErrorCode(static_cast<HRESULT>(__VA_ARGS__))
#define CHECK_CODE_WIN32_(...) ::ErrorHandling::ErrorCode::FromWin32Result(static_cast<BOOL>(__VA_ARGS__))

#define CHECK_REPORT_(report, codeExpr, text)                                   \
    do {                                                                        \
        const ::ErrorHandling::ErrorCode check_code_ = (codeExpr);              \
        if (check_code_.IsFailure())                                            \
            ::Reporting::GetModuleReportingObject().report(text, &check_code_); \
    } while (0)

#define CHECK_RETURN_(codeExpr, text)                                               \
    do {                                                                            \
        const ::ErrorHandling::ErrorCode check_code_ = (codeExpr);                  \
        if (check_code_.IsFailure()) {                                              \
            ::Reporting::GetModuleReportingObject().ReportError(text, &check_code_); \
            return ::ErrorHandling::ErrorResult(check_code_);                       \
        }                                                                           \
    } while (0)

#define CHECK_WARNING(...) CHECK_REPORT_(ReportWarning, CHECK_CODE_BOOL_(__VA_ARGS__), "((" #__VA_ARGS__ "))")
#define CHECK_ASSERT(...) CHECK_REPORT_(ReportAssertion, CHECK_CODE_BOOL_(__VA_ARGS__), "((" #__VA_ARGS__ "))")
#define CHECK_ERROR(...) CHECK_RETURN_(CHECK_CODE_BOOL_(__VA_ARGS__), "((" #__VA_ARGS__ "))")

#define CHECK_WARNING_HR(...) CHECK_REPORT_(ReportWarning, CHECK_CODE_HR_(__VA_ARGS__), "((" #__VA_ARGS__ "))")
#define CHECK_ASSERT_HR(...) CHECK_REPORT_(ReportAssertion, CHECK_CODE_HR_(__VA_ARGS__), "((" #__VA_ARGS__ "))")
#define CHECK_ERROR_HR(...) CHECK_RETURN_(CHECK_CODE_HR_(__VA_ARGS__), "((" #__VA_ARGS__ "))")

#define CHECK_WARNING_WIN32(...) CHECK_REPORT_(ReportWarning, CHECK_CODE_WIN32_(__VA_ARGS__), "((" #__VA_ARGS__ "))")
#define CHECK_ASSERT_WIN32(...) CHECK_REPORT_(ReportAssertion, CHECK_CODE_WIN32_(__VA_ARGS__), "((" #__VA_ARGS__ "))")
#define CHECK_ERROR_WIN32(...) CHECK_RETURN_(CHECK_CODE_WIN32_(__VA_ARGS__), "((" #__VA_ARGS__ "))")
