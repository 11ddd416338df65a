#pragma once
// ComScope: enters COM on the calling thread for the scope's lifetime.
//   Models: 0 = CoInitializeEx multithreaded, 2 = OleInitialize, 1 (and any
//   other value) = CoInitializeEx apartment-threaded.
//   Flag AllowFallback: when the thread is already in another model
//   (RPC_E_CHANGED_MODE), the other models are tried in the order 0, 2, 1.
//
//   System::ComScope scope(System::ComScope::Ole, System::ComScope::AllowFallback);
//
// Threads: the scope belongs to the thread that built it. Ended on another
// thread it leaves COM alone: un-initialising there would unbalance that
// thread's COM, which it never entered.
#include <windows.h>

namespace System {

class ComScope {
public:
    enum Model : DWORD { Multithreaded = 0, ApartmentThreaded = 1, Ole = 2 };
    enum Flags : DWORD { AllowFallback = 1 };

    ComScope(DWORD model, DWORD flags);
    ~ComScope();
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    DWORD GetRequestedModel() const noexcept { return m_requestedModel; }
    DWORD GetModelInUse() const noexcept { return m_modelInUse; }
    // The last initialisation's result; E_FAIL before any.
    HRESULT GetResult() const noexcept { return m_result; }

private:
    DWORD m_requestedModel;
    DWORD m_modelInUse;
    HRESULT m_result;
    DWORD m_threadId;
};

// The process-wide default model that the XML documents' scopes enter: the
// "defaultCOMModel" value shared by every module of the process, initially 2.
// Read it with interlocked calls; null only when the shared value could not be
// had.
volatile LONG* GetDefaultCOMModel();

}  // namespace System
