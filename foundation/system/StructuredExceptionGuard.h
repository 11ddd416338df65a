#pragma once
// Runs a step inside a structured-exception frame: an access fault or any
// other exception raised by the system (not a C++ exception) ends the step
// and is answered with its code instead of ending the process.
//
//   DWORD code = 0;
//   if (!System::RunStructuredGuarded([&] { result = ::SHFileOperationW(&op); }, code)) ...
//
// C++ exceptions of the step pass through unchanged. Objects that the step
// built on its own stack are not destroyed when a structured exception cuts
// it short: keep guarded steps to plain system calls.
#include <windows.h>

#include <type_traits>

namespace System {

// False when a structured exception ended the step; its code goes to `code`.
bool _RunStructuredGuarded(void (*step)(void*), void* context, DWORD& code);

template <class Step>
bool RunStructuredGuarded(Step&& step, DWORD& code) {
    // A named step makes Step a reference type: point at what it refers to.
    typedef typename std::remove_reference<Step>::type StepType;
    return _RunStructuredGuarded([](void* context) { (*static_cast<StepType*>(context))(); },
                                 const_cast<void*>(static_cast<const void*>(&step)), code);
}

}  // namespace System
