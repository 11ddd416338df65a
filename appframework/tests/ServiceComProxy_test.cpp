// The service COM thread: one thread, tasks in order, bounded waits, and
// the stop at shutdown. Scenarios that need a proxy nobody has built yet, or
// that stop it for good, run in a child process.
#include "appframework/serviceclient/Library.h"
#include "appframework/serviceclient/ServiceComProxy.h"

#include "ServiceClientFixtures.h"
#include "foundation/errors/ErrorException.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace GenericServiceClient;
using namespace ServiceClientTests;

// The lowered limits of these tests, restored afterwards.
class LoweredLimits {
public:
    LoweredLimits(DWORD startLimitMs, DWORD taskLimitMs) {
        ServiceComProxy::SetTimeLimitsForTesting(startLimitMs, taskLimitMs);
    }
    ~LoweredLimits() { ServiceComProxy::SetTimeLimitsForTesting(0, 0); }
};

bool HasCheck(const ServiceSink& sink, const std::wstring& check) {
    for (const std::wstring& text : sink.CheckTexts()) {
        if (text == check)
            return true;
    }
    return false;
}

// A task that records the thread it ran on.
auto ThreadIdTask() {
    return ServiceComProxy::MakeTask(DWORD(0), [] { return GetCurrentThreadId(); });
}

class ServiceComProxyTest : public testing::Test {
protected:
    ServiceSink m_sink;
    FoundationTests::ScopedSink m_scopedSink{&m_sink};
};

TEST_F(ServiceComProxyTest, TasksRunOnTheServiceThreadInPostingOrder) {
    ServiceComProxy& proxy = ServiceComProxy::Instance();
    auto first = ThreadIdTask();
    proxy._ExecuteOnWorkerThread(first);
    EXPECT_EQ(proxy.GetThreadId(), first->GetResult());
    EXPECT_NE(GetCurrentThreadId(), first->GetResult());

    // The thread is held by a gate while three callers post one after the
    // other; the tasks then run in that order.
    HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto held = ServiceComProxy::MakeTask(false, [gate] { return WaitForSingleObject(gate, 30000) == WAIT_OBJECT_0; });
    std::thread holder([&] { proxy._ExecuteOnWorkerThread(held); });
    std::mutex orderLock;
    std::vector<int> order;
    std::vector<std::thread> callers;
    for (int caller = 0; caller < 3; ++caller) {
        // Each caller has posted before the next one starts (the gate keeps
        // its task from running, so the pause only orders the posts).
        Sleep(400);
        callers.emplace_back([&, caller] {
            auto task = ServiceComProxy::MakeTask(false, [&, caller] {
                std::lock_guard<std::mutex> lock(orderLock);
                order.push_back(caller);
                return true;
            });
            proxy._ExecuteOnWorkerThread(task);
        });
    }
    Sleep(400);
    SetEvent(gate);
    holder.join();
    for (std::thread& caller : callers)
        caller.join();
    CloseHandle(gate);
    EXPECT_TRUE(held->GetResult());
    EXPECT_EQ((std::vector<int>{0, 1, 2}), order);
    EXPECT_TRUE(m_sink.reports.empty());
}

TEST_F(ServiceComProxyTest, AThrowingTaskFailsAtOnceAndTheThreadGoesOn) {
    ServiceComProxy& proxy = ServiceComProxy::Instance();
    LoweredLimits limits(0, 10000);
    struct Case {
        const char* name;
        void (*raise)();
    };
    const Case cases[] = {
        {"std::exception", [] { throw std::runtime_error("task failed"); }},
        {"HRESULT", [] { throw HRESULT(E_ACCESSDENIED); }},
        {"anything else", [] { throw 42; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto task = ServiceComProxy::MakeTask(std::wstring(L"failure"), [&c] {
            c.raise();
            return std::wstring(L"done");
        });
        const DWORD start = GetTickCount();
        proxy._ExecuteOnWorkerThread(task);
        EXPECT_LT(GetTickCount() - start, 5000u);
        EXPECT_EQ(L"failure", task->GetResult());

        auto next = ThreadIdTask();
        proxy._ExecuteOnWorkerThread(next);
        EXPECT_EQ(proxy.GetThreadId(), next->GetResult());
    }
    EXPECT_TRUE(m_sink.reports.empty());
}

// The caller's frame is gone when the late task finishes: everything it
// writes is its own.
auto PostSlowTask(ServiceSink& sink, bool& raised) {
    std::vector<int> callerData(4, 7);
    auto task = ServiceComProxy::MakeTask(std::vector<int>(), [callerData] {
        Sleep(1500);
        std::vector<int> result = callerData;
        result.push_back(8);
        return result;
    });
    try {
        ServiceComProxy::Instance()._ExecuteOnWorkerThread(task);
    } catch (const ErrorHandling::ErrorException&) {
        raised = true;
    }
    EXPECT_TRUE(task->GetResult().empty()) << "no result before the task ended";
    EXPECT_TRUE(HasCheck(sink, L"((false))"));
    return task;
}

TEST_F(ServiceComProxyTest, ATaskThatOutlivesTheLimitIsReportedStuckAndFinishesInItself) {
    ServiceComProxy::Instance();
    LoweredLimits limits(0, 300);
    bool raised = false;
    auto task = PostSlowTask(m_sink, raised);
    EXPECT_TRUE(raised);
    ASSERT_TRUE(task->Wait(20000));
    EXPECT_EQ((std::vector<int>{7, 7, 7, 7, 8}),
              task->GetResult());
    // The thread is free again for the next task.
    ServiceComProxy::SetTimeLimitsForTesting(0, 0);
    auto next = ThreadIdTask();
    ServiceComProxy::Instance()._ExecuteOnWorkerThread(next);
    EXPECT_EQ(ServiceComProxy::Instance().GetThreadId(), next->GetResult());
}

TEST(ServiceComProxyScenarios, FirstUseFromFourThreadsGivesOneThread) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("ServiceComProxyFirstUse", {}, 120000)));
}

TEST(ServiceComProxyScenarios, DisableStopsTheThreadForGood) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("ServiceComProxyDisable", {}, 120000)));
}

}  // namespace

// Four threads ask for the proxy at once and each runs a task at once, while
// the thread may still be starting: one thread serves them all.
TESTING_CHILD_SCENARIO(ServiceComProxyFirstUse) {
    if (ServiceComProxy::IsBuilt())
        return 10;
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<DWORD> served(4, 0);
    std::vector<ServiceComProxy*> proxies(4, nullptr);
    std::vector<std::thread> callers;
    for (int caller = 0; caller < 4; ++caller) {
        callers.emplace_back([&, caller] {
            WaitForSingleObject(go, 30000);
            ServiceComProxy& proxy = ServiceComProxy::Instance();
            proxies[caller] = &proxy;
            auto task = ThreadIdTask();
            proxy._ExecuteOnWorkerThread(task);
            served[caller] = task->GetResult();
        });
    }
    SetEvent(go);
    for (std::thread& caller : callers)
        caller.join();
    CloseHandle(go);
    const DWORD serviceThread = ServiceComProxy::Instance().GetThreadId();
    if (serviceThread == 0)
        return 11;
    for (int caller = 0; caller < 4; ++caller) {
        if (proxies[caller] != &ServiceComProxy::Instance())
            return 12;
        if (served[caller] != serviceThread)
            return 13;
    }
    return 0;
}

TESTING_CHILD_SCENARIO(ServiceComProxyDisable) {
    ServiceSink sink(false);
    FoundationTests::ScopedSink scopedSink(&sink);
    // Disabling before any console application starts no thread.
    {
        Library early;
        early.Disable();
        if (ServiceComProxy::IsBuilt())
            return 10;
    }
    ServiceComProxy& proxy = ServiceComProxy::Instance();
    auto task = ThreadIdTask();
    proxy._ExecuteOnWorkerThread(task);
    if (task->GetResult() != proxy.GetThreadId())
        return 11;
    HANDLE thread = proxy._GetThreadHandle();

    Library library;
    library.Disable();
    if (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0)
        return 12;
    const DWORD start = GetTickCount();
    proxy.Stop(INFINITE);  // a second stop does nothing
    library.Disable();
    if (GetTickCount() - start > 2000)
        return 13;
    if (library.CreateConsoleApplication(L"C:\\tool.exe") || !sink.reports.empty())
        return 14;

    // A task for a thread that no longer runs fails at once, with a report.
    const DWORD posted = GetTickCount();
    auto late = ThreadIdTask();
    proxy._ExecuteOnWorkerThread(late);
    if (GetTickCount() - posted > 5000 || late->GetResult() != 0)
        return 15;
    if (!HasCheck(sink, L"((_IsRunning() && _WaitForQueue(startLimit)))") || HasCheck(sink, L"((false))"))
        return 16;
    return 0;
}
