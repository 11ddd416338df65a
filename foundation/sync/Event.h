#pragma once
// Event: a Win32 event handle with a cancel mark, and the result of a wait on
// it. The owner of the event sets the cancel mark; a wait on a cancelled event
// returns at once.
//
// Threads: any thread may wait, set the event or the mark.
#include <windows.h>

namespace Synchronization {

// The outcome of a wait on a list of objects (here always one).
struct WaitResult {
    BYTE isCancelled = 0;   // the object's cancel mark was set, or it was abandoned
    BYTE isExtraSlot = 0;   // the wait returned the slot after the objects
    WORD reserved = 0;
    LONG signaledIndex = -1;
    LONG abandonedIndex = -1;
    HANDLE object = nullptr;
    DWORD rawValue = 0;     // what the wait function returned

    bool Succeeded() const noexcept { return signaledIndex >= 0; }
};

class Event {
public:
    Event() noexcept = default;
    // Takes over `handle` (any waitable handle); it is closed with the object.
    explicit Event(HANDLE handle) noexcept : m_handle(handle) {}
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    // CreateEventW; closes an earlier handle first. Non-zero on success.
    BOOL Create(LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initiallySet, LPCWSTR name);
    BOOL Set() noexcept { return ::SetEvent(m_handle); }
    HANDLE Handle() const noexcept { return m_handle; }

    void SetCancelled(bool cancelled) noexcept { ::InterlockedExchange(&m_cancelMark, cancelled ? 1 : 0); }
    bool IsCancelled() const noexcept {
        return ::InterlockedCompareExchange(const_cast<volatile LONG*>(&m_cancelMark), 0, 0) != 0;
    }

    // A cancelled event returns at once (cancelled, abandoned index 0, raw
    // WAIT_ABANDONED). Otherwise WaitForSingleObject; a failed wait is an
    // assertion check "((GetLastError()))". Returns `result`.
    WaitResult& Wait(WaitResult& result, DWORD timeoutMs) const;

private:
    HANDLE m_handle = nullptr;
    volatile LONG m_cancelMark = 0;
};

}  // namespace Synchronization
