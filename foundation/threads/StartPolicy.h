#pragma once
// Start policies of ThreadImpl: what the new thread does before its body and
// how senders of work learn that it is ready.
#include "foundation/threads/OwnedHandle.h"
#include "foundation/threads/ThreadRecord.h"

#include <windows.h>

namespace ThreadLib {

// The plain start: nothing before the body. ReadyTimeout is how long senders
// of work wait for the thread to become ready (0: no readiness wait).
template <int ReadyTimeoutMs>
class MinStartPolicy {
public:
    static constexpr DWORD ReadyTimeout = static_cast<DWORD>(ReadyTimeoutMs);

protected:
    explicit MinStartPolicy(ThreadRecord* pRecord) : m_pRecord(pRecord) {}

    // Run on the worker thread around its body.
    void _OnThreadBegin() {}
    void _OnThreadEnd() {}

    ThreadRecord* m_pRecord;
};

// The thread makes its message queue before anything else and then signals
// the queue-ready event; thread messages posted before that would be lost.
// The event is signalled from the queue's creation until the thread procedure
// ends.
template <class Base = MinStartPolicy<2000>>
class MessageQueueStartPolicy : public Base {
public:
    HANDLE _GetQueueReadyEvent() const { return m_queueReady.Get(); }

    // True when the queue is ready within the time-out.
    bool _WaitForQueue(DWORD timeout) const {
        return ::WaitForSingleObject(m_queueReady.Get(), timeout) == WAIT_OBJECT_0;
    }

protected:
    explicit MessageQueueStartPolicy(ThreadRecord* pRecord)
        : Base(pRecord), m_queueReady(CreateManualResetEvent()) {}

    void _OnThreadBegin() {
        Base::_OnThreadBegin();
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        ::SetEvent(m_queueReady.Get());
    }

    void _OnThreadEnd() {
        ::ResetEvent(m_queueReady.Get());
        Base::_OnThreadEnd();
    }

private:
    OwnedHandle m_queueReady;
};

}  // namespace ThreadLib
