#pragma once
// Stop policies of ThreadImpl: how the worker's body is told to stop.
// The owner thread requests the stop; the worker thread reads the request and
// withdraws it when its thread procedure ends.
#include "foundation/threads/OwnedHandle.h"
#include "foundation/threads/ThreadRecord.h"

#include <windows.h>

#include <atomic>

namespace ThreadLib {

// The plain stop: a flag the body polls. StopTimeout is the time-out of every
// stop (-1: INFINITE).
template <int StopTimeoutMs>
class MinStopPolicy {
public:
    static constexpr DWORD StopTimeout = static_cast<DWORD>(StopTimeoutMs);

    // Written by the owner and read by the body, hence atomic.
    bool _IsStopRequested() const { return m_stopRequested.load(); }

protected:
    explicit MinStopPolicy(ThreadRecord* pRecord) : m_pRecord(pRecord) {}

    // Sets the flag and tells the body; false when the body could not be told.
    bool _RequestStop() {
        m_stopRequested.store(true);
        return true;
    }
    void _ClearStopRequest() { m_stopRequested.store(false); }

    // Run on the worker thread around its body.
    void _OnThreadBegin() {}
    void _OnThreadEnd() { _ClearStopRequest(); }

    ThreadRecord* m_pRecord;

private:
    std::atomic<bool> m_stopRequested{false};
};

// Adds a manual-reset stop event that the body waits on.
template <class Base = MinStopPolicy<-1>>
class EventStopPolicy : public Base {
public:
    HANDLE _GetStopEvent() const { return m_stopEvent.Get(); }

protected:
    explicit EventStopPolicy(ThreadRecord* pRecord) : Base(pRecord), m_stopEvent(CreateManualResetEvent()) {}

    bool _RequestStop() {
        Base::_RequestStop();
        return ::SetEvent(m_stopEvent.Get()) != FALSE;
    }
    void _ClearStopRequest() {
        Base::_ClearStopRequest();
        ::ResetEvent(m_stopEvent.Get());
    }

    void _OnThreadBegin() { Base::_OnThreadBegin(); }
    void _OnThreadEnd() { _ClearStopRequest(); }

private:
    OwnedHandle m_stopEvent;
};

// Stops the body by posting WM_QUIT to the thread's message queue.
template <class Base = MinStopPolicy<-1>>
class MessageStopPolicy : public Base {
protected:
    explicit MessageStopPolicy(ThreadRecord* pRecord) : Base(pRecord) {}

    bool _RequestStop() {
        Base::_RequestStop();
        return ::PostThreadMessageW(this->m_pRecord->GetId(), WM_QUIT, 0, 0) != FALSE;
    }
    void _ClearStopRequest() { Base::_ClearStopRequest(); }

    // A stop requested before the thread had its queue could not post WM_QUIT
    // (a thread without a queue takes no messages), and the body would then
    // wait for it for ever. The thread makes its queue first and then looks at
    // the flag: a request it does not see was posted after the queue existed.
    void _OnThreadBegin() {
        Base::_OnThreadBegin();
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        if (this->_IsStopRequested())
            ::PostThreadMessageW(::GetCurrentThreadId(), WM_QUIT, 0, 0);
    }
    void _OnThreadEnd() { Base::_OnThreadEnd(); }
};

}  // namespace ThreadLib
