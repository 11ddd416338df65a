#pragma once
// The program's exception family: ErrorException, raised by failed assertion
// checks, and AnyError, the value every exception guard turns a caught
// exception into. Text is written with << (see STLHelpers::exception_ex):
// UTF-8, at most 1023 bytes, no heap memory for the text itself.
#include "foundation/strings/ExceptionEx.h"

#include <string>

namespace ErrorHandling {

class ErrorException : public STLHelpers::exception_ex<1024, CP_UTF8> {};

// An error value with a text. Its truth value is whether an error is present,
// so `!ClassifiedExceptionsGuard(step)` is true exactly when the step succeeded.
class AnyError : public ErrorException {
public:
    // The flag is set exactly when `isError` is 1; AnyError(0) is "no error".
    explicit AnyError(int isError) noexcept : m_isError(isError == 1) {}
    // The exception is not read; its text is written by the caller afterwards.
    template <class Exception>
    AnyError(const Exception&, int isError) noexcept : m_isError(isError == 1) {}

    explicit operator bool() const noexcept { return m_isError; }
    bool IsError() const noexcept { return m_isError; }

private:
    bool m_isError;
};

// An exception with an error number (errno style) that the catch lists
// recognise; the program itself never throws it.
class exception_win {
public:
    exception_win(const char* text, int errorNumber) : m_text(text ? text : ""), m_errorNumber(errorNumber) {}
    const char* what() const noexcept { return m_text.c_str(); }
    int error() const noexcept { return m_errorNumber; }

private:
    std::string m_text;
    int m_errorNumber;
};

}  // namespace ErrorHandling
