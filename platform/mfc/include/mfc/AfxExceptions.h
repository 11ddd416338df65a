#pragma once
// The MFC exceptions that windows and dialogs raise, beside those of afxexcept.h.
// Like the others they are thrown by pointer and released with Delete().
#include "afxexcept.h"

// A window class, device context or other user-interface resource could not be made.
class CResourceException : public CException {
public:
    CResourceException() : CException(false) {}
};

// The user was told about bad input already (a data-exchange failure); the
// operation stops quietly.
class CUserException : public CException {
public:
    CUserException() : CException(false) {}
};

// Both are preallocated, as in MFC: they are raised when resources run short.
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
