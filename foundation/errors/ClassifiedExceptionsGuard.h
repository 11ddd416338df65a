#pragma once
// The fixed catch list that turns an exception into an AnyError with a text:
//   ErrorHandling::exception_win  -> "ERRNO " + what()
//   std::exception                -> what()
//   _com_error                    -> "Error HRESULT " + hex [+ ": " + message]
//   ATL::CAtlException            -> "Error CAtlException " + hex
// Every other exception (an int, MFC's CException pointers, ...) passes on.
//
//   isOk = !ErrorHandling::ClassifiedExceptionsGuard([&]() { pDoc.Release(); });
#include "foundation/errors/ErrorException.h"

#include <windows.h>

#include <string>

namespace ErrorHandling {

// Call only inside a catch handler: classifies the exception being handled,
// or rethrows it when it is none of the four kinds.
AnyError ClassifyCurrentException();

// Runs `step`; AnyError(0) when it returns, the classified error when it
// throws one of the four kinds. Other exceptions leave the guard.
template <class Step>
AnyError ClassifiedExceptionsGuard(Step&& step) {
    try {
        step();
    } catch (...) {
        return ClassifyCurrentException();
    }
    return AnyError(0);
}

// The texts of the two HRESULT-carrying kinds, shared with the GUI handler list.
// A null or empty message adds nothing.
std::wstring ComErrorText(HRESULT hr, const wchar_t* message);
std::wstring AtlExceptionText(HRESULT hr);

}  // namespace ErrorHandling
