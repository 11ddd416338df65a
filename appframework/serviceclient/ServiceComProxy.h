#pragma once
// The service COM thread: one thread per process on which the elevation
// service's ConsoleApp objects are created, called and released, whatever
// thread asks for the work. Work travels as a task (IFunc) posted to the
// thread's queue; the caller waits for it with a time-out.
//
//   auto task = ServiceComProxy::MakeTask(false, [pImpl] { return pImpl->StartImpl(); });
//   ServiceComProxy::Instance()._ExecuteOnWorkerThread(task);
//   bool started = task->GetResult();
//
// Thread: Instance, _ExecuteOnWorkerThread and Stop from any thread; the
// thread itself runs OnTask. The critical section guards m_applicationsPending.
#include "foundation/core/InterfaceCore.h"
#include "foundation/errors/Checks.h"
#include "foundation/filesystem/ComScope.h"
#include "foundation/sync/CriticalSection.h"
#include "foundation/sync/Event.h"
#include "foundation/threads/StartPolicy.h"
#include "foundation/threads/StopPolicy.h"
#include "foundation/threads/ThreadImpl.h"

#include <boost/enable_shared_from_this.hpp>
#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>
#include <windows.h>

#include <atomic>
#include <memory>
#include <set>
#include <utility>

namespace GenericServiceClient {

class IConsoleApplication;

class ServiceComProxy;
using ServiceComThread =
    ThreadLib::ThreadImpl<ServiceComProxy,
                          ThreadLib::DefaultThreadPolicy<ThreadLib::MessageQueueStartPolicy<ThreadLib::MinStartPolicy<2000>>,
                                                         ThreadLib::MessageStopPolicy<ThreadLib::MinStopPolicy<-1>>>>;

class ServiceComProxy : public ServiceComThread {
public:
    // The task message of the thread (WM_APP + 0x22B).
    static const UINT kTaskMessage = 0x822B;
    static const DWORD kStartLimitMs = 2000;
    static const DWORD kTaskLimitMs = 15000;

    class IFunc : public InterfaceCore::IInterfaceCore<IFunc>,
                  public InterfaceCore::_Debug::ObjectProperties<IFunc>,
                  public boost::enable_shared_from_this<IFunc> {
    public:
        // The work; called on the service COM thread.
        virtual void Run() = 0;
        // True when Run has finished within the time-out.
        virtual bool Wait(DWORD milliseconds) = 0;
    };

    // A task over a callable that returns the operation's result. The task
    // owns the callable (and what it captured) and the result slot, so a
    // task that finishes after its caller stopped waiting writes only into
    // itself. The event is set however Run ends: a throwing callable leaves
    // the slot at its failure value.
    template <class Result, class Callable>
    class CloneFunc : public IFunc {
    public:
        CloneFunc(Callable callable, Result failureValue, bool manualReset = true, bool initiallySet = false)
            : m_callable(std::move(callable)), m_failureValue(failureValue), m_result(std::move(failureValue)) {
            CHECK_ASSERT_WIN32(m_event.Create(0, manualReset ? 1 : 0, initiallySet ? 1 : 0, 0));
        }

        void Run() override {
            struct Completion {
                CloneFunc& task;
                ~Completion() { task._SetEvent(); }
            } completion{*this};
            Result result = m_callable();
            m_result = std::move(result);
            m_isDone.store(true, std::memory_order_release);
        }

        bool Wait(DWORD milliseconds) override {
            Synchronization::WaitResult result;
            return m_event.Wait(result, milliseconds).Succeeded();
        }

        // The callable's result once Run completed, else the failure value
        // (the slot is not read while a late Run may still write it).
        Result GetResult() const { return m_isDone.load(std::memory_order_acquire) ? m_result : m_failureValue; }

    private:
        void _SetEvent() {
            m_event.SetCancelled(false);
            CHECK_WARNING_WIN32(m_event.Set());
        }

        Callable m_callable;
        const Result m_failureValue;
        Result m_result;
        std::atomic<bool> m_isDone{false};
        Synchronization::Event m_event;
    };

    template <class Result, class Callable>
    static boost::shared_ptr<CloneFunc<Result, Callable>> MakeTask(Result failureValue, Callable callable) {
        return boost::make_shared<CloneFunc<Result, Callable>>(std::move(callable), std::move(failureValue));
    }

    // The process's one proxy; the first call builds it and starts its thread.
    static ServiceComProxy& Instance();
    // True once Instance has built the proxy (and it was not destroyed at exit).
    static bool IsBuilt() noexcept;

    // Posts the task and waits for it. A task that cannot be posted (no
    // running thread, the thread not ready within the start limit, the post
    // failed) is reported at error level and returns at once; a task that
    // does not finish within the task limit gives the "stuck" log line and
    // the "((false))" assertion. The caller reads the task's result.
    void _ExecuteOnWorkerThread(const boost::shared_ptr<IFunc>& task);

    // Thread side of one task message: takes over the cell.
    void OnTask(boost::shared_ptr<IFunc>* pCell);

    // WM_QUIT to the thread, a wait up to the time-out, then without limit.
    // Does nothing when the thread does not run.
    void Stop(DWORD timeout);

    // The console applications created in the service and not yet destroyed.
    // False when the application was already listed / was not listed.
    bool InsertPending(IConsoleApplication* pConsoleApp);
    bool ErasePending(IConsoleApplication* pConsoleApp);
    size_t CountPending();

    DWORD GetThreadId() const { return _GetThreadId(); }
    bool IsRunningTask() const noexcept { return m_runningTask.load(); }

    // Tests lower the limits so that nothing waits 15 s; 0 restores them.
    static void SetTimeLimitsForTesting(DWORD startLimitMs, DWORD taskLimitMs) noexcept;

    // The thread body (ThreadImpl).
    DWORD _Run();

    ~ServiceComProxy();

private:
    ServiceComProxy();
    ServiceComProxy(const ServiceComProxy&) = delete;
    ServiceComProxy& operator=(const ServiceComProxy&) = delete;

    void _StartThread();
    static void _DestroyAtExit();

    std::atomic<bool> m_runningTask{false};
    // Made and destroyed on the thread itself.
    std::unique_ptr<System::ComScope> m_comScope;
    Synchronization::CriticalSection m_pendingLock;
    std::set<IConsoleApplication*> m_applicationsPending;
};

}  // namespace GenericServiceClient
