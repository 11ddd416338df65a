#pragma once
// The template of the program's own worker threads.
//
//   class Worker : public ThreadLib::ThreadImpl<Worker, ThreadLib::DefaultThreadPolicy<
//                      ThreadLib::MinStartPolicy<0>, ThreadLib::EventStopPolicy<>>> {
//   public:
//       ~Worker() { Stop(); }      // before the members the body uses are gone
//       DWORD _Run();              // the body, called on the new thread
//   };
//
// The body must react to the stop request of its policy (the stop event, WM_QUIT
// in its message queue, or the stop flag); Stop and the destructor wait for it.
#include "foundation/threads/StartPolicy.h"
#include "foundation/threads/StopPolicy.h"
#include "foundation/threads/ThreadRecord.h"

#include <windows.h>

namespace ThreadLib {

template <class StartPolicyT, class StopPolicyT>
struct DefaultThreadPolicy {
    using StartPolicy = StartPolicyT;
    using StopPolicy = StopPolicyT;
};

// Owner: the thread that calls Start, Stop and the destructor (mostly the GUI
// thread). The worker thread runs Derived::_Run and the policies' begin and end
// steps; the stop request is the only state both write.
//
// The destructor stops the thread, but it runs after Derived's destructor: a
// body that uses Derived's members needs Derived's destructor to call Stop.
template <class Derived, class Policy>
class ThreadImpl : public Policy::StartPolicy, public Policy::StopPolicy {
public:
    using StartPolicy = typename Policy::StartPolicy;
    using StopPolicy = typename Policy::StopPolicy;

    ThreadImpl() : StartPolicy(&m_record), StopPolicy(&m_record) {}
    ~ThreadImpl() {
        Stop(INFINITE);
        m_record.Clear();
    }
    ThreadImpl(const ThreadImpl&) = delete;
    ThreadImpl& operator=(const ThreadImpl&) = delete;

    // False while an earlier thread of this object still runs, or when the
    // thread cannot be made or resumed. A suspended thread waits for _Resume.
    bool Start(bool suspended, unsigned stackSize) {
        if (m_record.IsRunning())
            return false;
        // A stop that came while the last thread was on its way out, after it
        // had withdrawn its request, must not end the next thread at once.
        StopPolicy::_ClearStopRequest();
        if (!m_record.Create(&ThreadImpl::_ThreadProc, this, stackSize))
            return false;
        if (suspended)
            return true;
        return _Resume() != kResumeFailed;
    }

    // The previous suspend count, or kResumeFailed.
    DWORD _Resume() { return m_record.Resume(); }

    // Requests the stop and returns only once the thread has ended: after the
    // time-out, or when the request could not be delivered, it waits on without
    // limit, so that the body never outlives the object it runs on.
    void Stop(DWORD timeout = StopPolicy::StopTimeout) {
        if (!m_record.IsRunning())
            return;
        if (StopPolicy::_RequestStop() && _WaitForExit(timeout))
            return;
        m_record.WaitForExit(INFINITE);
    }

    // True when the thread has ended within the time-out.
    bool _WaitForExit(DWORD timeout) { return m_record.WaitForExit(timeout); }

    // A handle is held and the thread has not ended.
    bool _IsRunning() const { return m_record.IsRunning(); }

    DWORD _GetThreadId() const { return m_record.GetId(); }
    HANDLE _GetThreadHandle() const { return m_record.GetHandle(); }

    // Called on the worker thread after the body; derived templates hide it.
    void _OnThreadExit() {}

private:
    static unsigned __stdcall _ThreadProc(void* parameter) {
        auto* self = static_cast<ThreadImpl*>(parameter);
        auto* derived = static_cast<Derived*>(self);
        DWORD exitCode = static_cast<DWORD>(-1);
        try {
            self->StartPolicy::_OnThreadBegin();
            self->StopPolicy::_OnThreadBegin();
            exitCode = derived->_Run();
        } catch (...) {
            // Nothing may leave the thread; the exit code tells.
            exitCode = static_cast<DWORD>(-1);
        }
        // Withdraw the stop request and the readiness so the object can be
        // started again.
        self->StartPolicy::_OnThreadEnd();
        derived->_OnThreadExit();
        self->StopPolicy::_OnThreadEnd();
        return exitCode;
    }

    ThreadRecord m_record;
};

}  // namespace ThreadLib
