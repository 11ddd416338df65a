#include "foundation/system/StructuredExceptionGuard.h"

#include <setjmp.h>

namespace System {

namespace {

// An x86 exception registration on the stack; the record must come first.
struct GuardFrame {
    EXCEPTION_REGISTRATION_RECORD record;
    jmp_buf landing;
    DWORD code;
};

NT_TIB* ThreadInformation() {
    // The thread's own TIB address sits at fs:0x18.
    NT_TIB* pTib;
    __asm__("movl %%fs:0x18, %0" : "=r"(pTib));
    return pTib;
}

EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* pRecord, void* pFrame, CONTEXT*, void*) {
    if (pRecord->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    GuardFrame* pGuard = static_cast<GuardFrame*>(pFrame);
    pGuard->code = pRecord->ExceptionCode;
    // The C runtime's longjmp unwinds the frames above ours and makes ours
    // the innermost registration again.
    longjmp(pGuard->landing, 1);
}

}  // namespace

bool _RunStructuredGuarded(void (*step)(void*), void* context, DWORD& code) {
    GuardFrame frame;
    frame.code = 0;
    frame.record.Next = ThreadInformation()->ExceptionList;
    frame.record.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(&GuardHandler);
    ThreadInformation()->ExceptionList = &frame.record;
    if (setjmp(frame.landing) != 0) {
        ThreadInformation()->ExceptionList = frame.record.Next;
        code = *static_cast<volatile DWORD*>(&frame.code);
        return false;
    }
    try {
        step(context);
    } catch (...) {
        ThreadInformation()->ExceptionList = frame.record.Next;
        throw;
    }
    ThreadInformation()->ExceptionList = frame.record.Next;
    return true;
}

}  // namespace System
