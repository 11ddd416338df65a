#include "foundation/threads/ThreadImpl.h"

#include "foundation/tests/BoundedCall.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <type_traits>

namespace {

using namespace ThreadLib;
using ThreadTests::BoundedCall;
using ThreadTests::ExitCodeOf;
using ThreadTests::IsSignalled;
using ThreadTests::kHangLimitMs;
using ThreadTests::RunBounded;

using PlainPolicy = DefaultThreadPolicy<MinStartPolicy<0>, MinStopPolicy<-1>>;
using EventPolicy = DefaultThreadPolicy<MinStartPolicy<0>, EventStopPolicy<>>;
using MessagePolicy = DefaultThreadPolicy<MessageQueueStartPolicy<>, MessageStopPolicy<>>;

constexpr DWORD kStopped = 7;      // the body saw its stop request
constexpr DWORD kReturned = 5;     // the body ended by itself
constexpr DWORD kNeverStopped = 99;
constexpr DWORD kThrown = 0xFFFFFFFF;

// How a body of each policy learns of its stop request, as a real body would,
// but bounded: the stop flag, the stop event, or WM_QUIT in its queue.
template <class Worker>
bool WaitForStopRequest(Worker& worker, DWORD timeout) {
    using StopPolicy = typename Worker::StopPolicy;
    const DWORD start = ::GetTickCount();
    if constexpr (std::is_same_v<StopPolicy, EventStopPolicy<>>) {
        return IsSignalled(worker._GetStopEvent(), timeout);
    } else if constexpr (std::is_same_v<StopPolicy, MessageStopPolicy<>>) {
        for (;;) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                if (msg.message == WM_QUIT)
                    return true;
            const DWORD elapsed = ::GetTickCount() - start;
            if (elapsed >= timeout)
                return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout - elapsed, QS_ALLPOSTMESSAGE);
        }
    } else {
        while (!worker._IsStopRequested()) {
            if (::GetTickCount() - start >= timeout)
                return false;
            ::Sleep(1);
        }
        return true;
    }
}

enum class Body { WaitForStop, Return, Throw, IgnoreStopForAWhile };

// What the test sees of a body; outlives the worker.
struct Probe {
    Body body = Body::WaitForStop;
    std::atomic<int> runs{0};
    std::atomic<DWORD> threadId{0};
    std::atomic<bool> stopRequestedAtEntry{false};
    std::atomic<bool> finished{false};
    OwnedHandle entered = CreateManualResetEvent();
};

template <class Policy>
class Worker : public ThreadImpl<Worker<Policy>, Policy> {
public:
    explicit Worker(Probe& probe) : m_probe(probe) {}
    ~Worker() { this->Stop(); }

    DWORD _Run() {
        m_probe.threadId = ::GetCurrentThreadId();
        ++m_probe.runs;
        m_probe.stopRequestedAtEntry = WaitForStopRequest(*this, 0);
        ::SetEvent(m_probe.entered.Get());
        switch (m_probe.body) {
        case Body::Return:
            return kReturned;
        case Body::Throw:
            throw std::runtime_error("body failed");
        case Body::IgnoreStopForAWhile:
            ::Sleep(300);
            m_probe.finished = true;
            return kReturned;
        case Body::WaitForStop:
            break;
        }
        return m_probe.stopRequestedAtEntry || WaitForStopRequest(*this, kHangLimitMs) ? kStopped : kNeverStopped;
    }

private:
    Probe& m_probe;
};

template <class PolicyT>
struct PolicyTag {
    using Policy = PolicyT;
};

// Every behaviour of the template holds under each policy pair.
template <class Check>
void ForEachPolicy(Check check) {
    {
        SCOPED_TRACE("plain stop policy");
        check(PolicyTag<PlainPolicy>{});
    }
    {
        SCOPED_TRACE("event stop policy");
        check(PolicyTag<EventPolicy>{});
    }
    {
        SCOPED_TRACE("message-queue start and message stop policies");
        check(PolicyTag<MessagePolicy>{});
    }
}

#define WORKER_OF(tag) Worker<typename decltype(tag)::Policy>

TEST(ThreadImpl, RunsTheBodyOnItsOwnThreadUntilStopped) {
    ForEachPolicy([](auto tag) {
        Probe probe;
        WORKER_OF(tag) worker(probe);
        ASSERT_TRUE(worker.Start(false, 0));
        ASSERT_TRUE(IsSignalled(probe.entered.Get(), 5000));
        EXPECT_EQ(worker._GetThreadId(), probe.threadId.load());
        EXPECT_NE(::GetCurrentThreadId(), probe.threadId.load());
        EXPECT_TRUE(worker._IsRunning());
        EXPECT_FALSE(probe.stopRequestedAtEntry);

        RunBounded("Stop", [&] { worker.Stop(); });
        EXPECT_FALSE(worker._IsRunning());
        EXPECT_EQ(kStopped, ExitCodeOf(worker._GetThreadHandle()));
        // The thread withdrew its stop request on the way out.
        EXPECT_FALSE(worker._IsStopRequested());
        if constexpr (std::is_same_v<typename decltype(tag)::Policy, EventPolicy>) {
            EXPECT_FALSE(IsSignalled(worker._GetStopEvent(), 0));
        }
        if constexpr (std::is_same_v<typename decltype(tag)::Policy, MessagePolicy>) {
            EXPECT_FALSE(worker._WaitForQueue(0));
        }
    });
}

TEST(ThreadImpl, StartFailsWhileTheThreadRunsAndSucceedsAfterItEnded) {
    ForEachPolicy([](auto tag) {
        Probe probe;
        WORKER_OF(tag) worker(probe);
        ASSERT_TRUE(worker.Start(false, 0));
        const DWORD firstId = worker._GetThreadId();
        const HANDLE firstHandle = worker._GetThreadHandle();
        EXPECT_FALSE(worker.Start(false, 0));
        EXPECT_FALSE(worker.Start(true, 0));
        EXPECT_EQ(firstId, worker._GetThreadId());
        EXPECT_EQ(firstHandle, worker._GetThreadHandle());

        RunBounded("Stop", [&] { worker.Stop(); });
        ::ResetEvent(probe.entered.Get());
        ASSERT_TRUE(worker.Start(false, 0));
        ASSERT_TRUE(IsSignalled(probe.entered.Get(), 5000));
        EXPECT_FALSE(probe.stopRequestedAtEntry) << "the new thread must not inherit the old stop request";
        RunBounded("Stop", [&] { worker.Stop(); });
        EXPECT_EQ(2, probe.runs.load());
        EXPECT_EQ(kStopped, ExitCodeOf(worker._GetThreadHandle()));
    });
}

TEST(ThreadImpl, ASuspendedStartRunsTheBodyOnlyAfterResume) {
    ForEachPolicy([](auto tag) {
        Probe probe;
        WORKER_OF(tag) worker(probe);
        ASSERT_TRUE(worker.Start(true, 0));
        EXPECT_TRUE(worker._IsRunning());
        EXPECT_FALSE(IsSignalled(probe.entered.Get(), 300));
        EXPECT_EQ(0, probe.runs.load());

        EXPECT_EQ(1u, worker._Resume());  // the previous suspend count
        EXPECT_TRUE(IsSignalled(probe.entered.Get(), 5000));
        RunBounded("Stop", [&] { worker.Stop(); });
        EXPECT_EQ(kStopped, ExitCodeOf(worker._GetThreadHandle()));
    });
}

// Under the message policy the WM_QUIT of such a stop finds no queue yet: the
// thread must notice the request once it runs.
TEST(ThreadImpl, StopOfASuspendedThreadReturnsOnlyOnceTheThreadWasResumed) {
    ForEachPolicy([](auto tag) {
        Probe probe;
        WORKER_OF(tag) worker(probe);
        ASSERT_TRUE(worker.Start(true, 0));
        {
            BoundedCall stop("Stop of a suspended thread", [&] { worker.Stop(); });
            EXPECT_FALSE(stop.ReturnedWithin(300));
            EXPECT_TRUE(worker._IsStopRequested());
            EXPECT_EQ(1u, worker._Resume());
            EXPECT_TRUE(stop.ReturnedWithin(kHangLimitMs));
        }
        EXPECT_EQ(1, probe.runs.load());
        EXPECT_TRUE(probe.stopRequestedAtEntry);
        EXPECT_EQ(kStopped, ExitCodeOf(worker._GetThreadHandle()));
    });
}

TEST(ThreadImpl, StopRightAfterStartReturns) {
    ForEachPolicy([](auto tag) {
        Probe probe;
        WORKER_OF(tag) worker(probe);
        for (int round = 0; round < 40; ++round) {
            SCOPED_TRACE("round " + std::to_string(round));
            ASSERT_TRUE(worker.Start(false, 0));
            RunBounded("Stop right after Start", [&] { worker.Stop(); });
            EXPECT_EQ(kStopped, ExitCodeOf(worker._GetThreadHandle()));
        }
        EXPECT_EQ(40, probe.runs.load());
    });
}

TEST(ThreadImpl, WithoutARunningThreadStopReturnsAtOnce) {
    ForEachPolicy([](auto tag) {
        Probe probe;
        WORKER_OF(tag) worker(probe);
        // Never started: no id, no handle, nothing to open.
        EXPECT_FALSE(worker._IsRunning());
        RunBounded("Stop of a worker never started", [&] { worker.Stop(); });
        EXPECT_FALSE(worker._IsStopRequested());
        EXPECT_FALSE(worker._WaitForExit(0));
        EXPECT_EQ(kResumeFailed, worker._Resume());

        // Ended by itself.
        probe.body = Body::Return;
        ASSERT_TRUE(worker.Start(false, 0));
        ASSERT_TRUE(worker._WaitForExit(5000));
        RunBounded("Stop of an ended thread", [&] { worker.Stop(); });
        EXPECT_FALSE(worker._IsStopRequested());
        EXPECT_EQ(kReturned, ExitCodeOf(worker._GetThreadHandle()));
    });
}

TEST(ThreadImpl, AThrowingBodyEndsWithMinusOneAndTheWorkerStartsAgain) {
    ForEachPolicy([](auto tag) {
        Probe probe;
        probe.body = Body::Throw;
        WORKER_OF(tag) worker(probe);
        ASSERT_TRUE(worker.Start(false, 0));
        ASSERT_TRUE(worker._WaitForExit(5000));
        EXPECT_EQ(kThrown, ExitCodeOf(worker._GetThreadHandle()));
        RunBounded("Stop", [&] { worker.Stop(); });

        probe.body = Body::WaitForStop;
        ::ResetEvent(probe.entered.Get());
        ASSERT_TRUE(worker.Start(false, 0));
        ASSERT_TRUE(IsSignalled(probe.entered.Get(), 5000));
        RunBounded("Stop", [&] { worker.Stop(); });
        EXPECT_EQ(kStopped, ExitCodeOf(worker._GetThreadHandle()));
        EXPECT_EQ(2, probe.runs.load());
    });
}

TEST(ThreadImpl, StopWaitsPastItsTimeOutUntilTheThreadHasEnded) {
    ForEachPolicy([](auto tag) {
        Probe probe;
        probe.body = Body::IgnoreStopForAWhile;
        WORKER_OF(tag) worker(probe);
        ASSERT_TRUE(worker.Start(false, 0));
        ASSERT_TRUE(IsSignalled(probe.entered.Get(), 5000));
        RunBounded("Stop with a short time-out", [&] { worker.Stop(10); });
        EXPECT_TRUE(probe.finished);
        EXPECT_FALSE(worker._IsRunning());
    });
}

TEST(ThreadImpl, RunsWithAChosenStackSize) {
    Probe probe;
    Worker<EventPolicy> worker(probe);
    ASSERT_TRUE(worker.Start(false, 64 * 1024));
    ASSERT_TRUE(IsSignalled(probe.entered.Get(), 5000));
    RunBounded("Stop", [&] { worker.Stop(); });
    EXPECT_EQ(kStopped, ExitCodeOf(worker._GetThreadHandle()));
}

// A worker with no members of its own, so that its body may still run while
// only the template's destructor is left to stop it.
template <class Policy>
class BareWorker : public ThreadImpl<BareWorker<Policy>, Policy> {
public:
    static inline Probe* s_probe = nullptr;

    DWORD _Run() {
        ::SetEvent(s_probe->entered.Get());
        const bool stopped = WaitForStopRequest(*this, kHangLimitMs);
        ::Sleep(200);  // reacting takes a while
        s_probe->finished = true;
        return stopped ? kStopped : kNeverStopped;
    }
};

TEST(ThreadImpl, DestroyingARunningWorkerWaitsForItsBodyToEnd) {
    ForEachPolicy([](auto tag) {
        using Bare = BareWorker<typename decltype(tag)::Policy>;
        Probe probe;
        Bare::s_probe = &probe;
        auto* worker = new Bare;
        ASSERT_TRUE(worker->Start(false, 0));
        ASSERT_TRUE(IsSignalled(probe.entered.Get(), 5000));
        RunBounded("destruction of a running worker", [&] { delete worker; });
        EXPECT_TRUE(probe.finished);
    });
}

}  // namespace
