#pragma once
// GuardedEvent: a manual-reset event whose setting and resetting happen under
// its own critical section, so "set unless set" and "reset if set" are whole
// steps.
//
// Threads: any thread may set, reset or wait.
#include "foundation/sync/CriticalSection.h"
#include "foundation/sync/Event.h"

namespace Synchronization {

class GuardedEvent {
public:
    // Creates the critical section, then an unnamed manual-reset event, set
    // at once when asked. Either failure raises the last error (see
    // RaiseLastError.h).
    explicit GuardedEvent(bool initiallySet);
    GuardedEvent(const GuardedEvent&) = delete;
    GuardedEvent& operator=(const GuardedEvent&) = delete;

    // Under the critical section: SetEvent when a zero wait finds it not set.
    void SetIfNotSet();
    // Under the critical section: ResetEvent when a zero wait finds it set.
    void ResetIfSet();
    bool IsSet() const noexcept;
    // WaitForSingleObject on the event.
    DWORD Wait(DWORD timeoutMs) const noexcept { return ::WaitForSingleObject(m_event.Handle(), timeoutMs); }
    HANDLE Handle() const noexcept { return m_event.Handle(); }

private:
    CriticalSection m_section;
    Event m_event;
};

}  // namespace Synchronization
