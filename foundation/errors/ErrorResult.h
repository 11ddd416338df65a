#pragma once
// How a failure code becomes an operation's result when an error check fails:
//   bool                                  false
//   BOOL (int)                            FALSE
//   HRESULT (long)                        the code itself
//   a class constructible from ErrorCode  made from the code (a result word)
//   a pointer, raw or smart               null
// Other result types do not compile. A success code has no such form and is
// refused with BadErrorResultCast.
#include "foundation/errors/ErrorCode.h"

#include <cstddef>
#include <type_traits>
#include <typeinfo>

namespace ErrorHandling {

class BadErrorResultCast : public std::bad_cast {
public:
    const char* what() const noexcept override { return "ErrorCode to non-empty object or pointer"; }
};

template <class Result>
Result MakeErrorResultAs(ErrorCode code) {
    if (!code.IsFailure())
        throw BadErrorResultCast();
    if constexpr (std::is_same<Result, bool>::value) {
        return false;
    } else if constexpr (std::is_same<Result, int>::value) {
        return FALSE;
    } else if constexpr (std::is_same<Result, HRESULT>::value) {
        return code.Value();
    } else if constexpr (std::is_class<Result>::value && std::is_constructible<Result, ErrorCode>::value) {
        return Result(code);
    } else {
        static_assert(!std::is_arithmetic<Result>::value && std::is_constructible<Result, std::nullptr_t>::value,
                      "an error check needs a bool, BOOL, HRESULT, pointer or ErrorCode-constructible result");
        return Result(nullptr);
    }
}

template <class Result>
void MakeErrorResult(ErrorCode code, Result& result) {
    result = MakeErrorResultAs<Result>(code);
}

// Returned by an error check: converts to whatever the enclosing function
// returns.
class ErrorResult {
public:
    explicit constexpr ErrorResult(ErrorCode code) noexcept : m_code(code) {}
    template <class Result>
    operator Result() const {
        return MakeErrorResultAs<Result>(m_code);
    }

private:
    ErrorCode m_code;
};

}  // namespace ErrorHandling
