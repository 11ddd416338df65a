#include "foundation/threads/QueueThreadImpl.h"

#include "foundation/tests/BoundedCall.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace ThreadLib;
using ThreadTests::IsSignalled;
using ThreadTests::kHangLimitMs;
using ThreadTests::RunBounded;

// Which task ran on which thread, in the order they ran.
struct Journal {
    std::mutex lock;
    std::vector<std::pair<int, DWORD>> runs;
    size_t expected = 0;
    OwnedHandle allRan = CreateManualResetEvent();
};

class RecordingTask : public QueueTask {
public:
    RecordingTask(Journal& journal, int number) : m_journal(journal), m_number(number) {}

    void Run() override {
        std::lock_guard<std::mutex> guard(m_journal.lock);
        m_journal.runs.emplace_back(m_number, ::GetCurrentThreadId());
        if (m_journal.runs.size() == m_journal.expected)
            ::SetEvent(m_journal.allRan.Get());
    }

private:
    Journal& m_journal;
    int m_number;
};

// The body a queue thread's user writes: runs each task until WM_QUIT. With a
// gate it first waits for the gate, and without its loop it then just ends.
class TaskRunner : public QueueThreadImpl<TaskRunner> {
public:
    explicit TaskRunner(HANDLE gate = nullptr, bool loop = true) : m_gate(gate), m_loop(loop) {}
    ~TaskRunner() { Stop(); }

    DWORD _Run() {
        if (m_gate)
            ::WaitForSingleObject(m_gate, kHangLimitMs);
        if (!m_loop)
            return 0;
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == kTaskMessage)
                if (const TaskPtr task = _TakeTask(msg.wParam))
                    task->Run();
        }
        return 0;
    }

private:
    HANDLE m_gate;
    bool m_loop;
};

std::vector<TaskRunner::TaskPtr> MakeTasks(Journal& journal, int count) {
    std::vector<TaskRunner::TaskPtr> tasks;
    for (int i = 0; i < count; ++i)
        tasks.push_back(boost::make_shared<RecordingTask>(journal, i));
    journal.expected = static_cast<size_t>(count);
    return tasks;
}

// Only the creator's reference is left: no message still holds a copy.
void ExpectOnlyTheCreatorHolds(const std::vector<TaskRunner::TaskPtr>& tasks) {
    for (size_t i = 0; i < tasks.size(); ++i)
        EXPECT_EQ(1, tasks[i].use_count()) << "task " << i;
}

TEST(QueueThreadImpl, TasksRunOnTheQueueThreadInTheOrderPosted) {
    static_assert(TaskRunner::kTaskMessage == 0x822B);
    Journal journal;
    TaskRunner runner;
    ASSERT_TRUE(runner.Start(false, 0));
    const auto tasks = MakeTasks(journal, 5);
    for (const auto& task : tasks)
        EXPECT_TRUE(runner._PostTask(task));
    ASSERT_TRUE(IsSignalled(journal.allRan.Get(), 5000));
    RunBounded("Stop", [&] { runner.Stop(); });

    ASSERT_EQ(5u, journal.runs.size());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(i, journal.runs[i].first);
        EXPECT_EQ(runner._GetThreadId(), journal.runs[i].second);
    }
    EXPECT_NE(::GetCurrentThreadId(), runner._GetThreadId());
    ExpectOnlyTheCreatorHolds(tasks);
}

TEST(QueueThreadImpl, APostRightAfterStartWaitsForTheQueue) {
    TaskRunner runner;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Journal journal;
        const auto tasks = MakeTasks(journal, 1);
        ASSERT_TRUE(runner.Start(false, 0));
        EXPECT_TRUE(runner._PostTask(tasks[0]));
        EXPECT_TRUE(IsSignalled(journal.allRan.Get(), 5000));
        RunBounded("Stop", [&] { runner.Stop(); });
        ExpectOnlyTheCreatorHolds(tasks);
    }
}

TEST(QueueThreadImpl, NothingIsPostedWhenNoThreadCanTakeIt) {
    struct Case {
        const char* name;
        std::function<void(TaskRunner&)> prepare;
        bool postNull;
    };
    const Case cases[] = {
        {"never started", [](TaskRunner&) {}, false},
        {"stopped",
         [](TaskRunner& runner) {
             ASSERT_TRUE(runner.Start(false, 0));
             RunBounded("Stop", [&] { runner.Stop(); });
             EXPECT_FALSE(runner._WaitForQueue(0)) << "the queue is no longer ready";
         },
         false},
        {"null task to a running thread", [](TaskRunner& runner) { ASSERT_TRUE(runner.Start(false, 0)); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Journal journal;
        const auto tasks = MakeTasks(journal, 1);
        TaskRunner runner;
        c.prepare(runner);
        const DWORD start = ::GetTickCount();
        EXPECT_FALSE(runner._PostTask(c.postNull ? TaskRunner::TaskPtr() : tasks[0]));
        EXPECT_LT(::GetTickCount() - start, 1000u) << "no readiness wait";
        EXPECT_FALSE(IsSignalled(journal.allRan.Get(), 100));
        ExpectOnlyTheCreatorHolds(tasks);
        RunBounded("Stop", [&] { runner.Stop(); });
    }
}

TEST(QueueThreadImpl, APostToASuspendedThreadGivesUpAfterTheReadyTimeOut) {
    Journal journal;
    const auto tasks = MakeTasks(journal, 1);
    TaskRunner runner;
    ASSERT_TRUE(runner.Start(true, 0));
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(runner._PostTask(tasks[0]));
    const DWORD elapsed = ::GetTickCount() - start;
    EXPECT_GE(elapsed, 1900u);
    EXPECT_LT(elapsed, 10000u);
    ExpectOnlyTheCreatorHolds(tasks);

    EXPECT_EQ(1u, runner._Resume());
    RunBounded("Stop", [&] { runner.Stop(); });
    EXPECT_FALSE(IsSignalled(journal.allRan.Get(), 0));
}

TEST(QueueThreadImpl, TasksLeftInTheQueueWhenTheThreadEndsAreReleased) {
    Journal journal;
    const auto tasks = MakeTasks(journal, 3);
    OwnedHandle gate = CreateManualResetEvent();
    TaskRunner runner(gate.Get(), false);
    ASSERT_TRUE(runner.Start(false, 0));
    for (const auto& task : tasks)
        EXPECT_TRUE(runner._PostTask(task));
    ::SetEvent(gate.Get());
    ASSERT_TRUE(runner._WaitForExit(5000));
    EXPECT_TRUE(journal.runs.empty());
    ExpectOnlyTheCreatorHolds(tasks);
}

// Holds a sender between its readiness check and its post until the thread
// has drained its queue, and the thread after the drain until the sender has
// posted: the post comes as late as it can while the thread still lives.
struct LatePost {
    static OwnedHandle& SenderChecked() {
        static OwnedHandle event = CreateManualResetEvent();
        return event;
    }
    static OwnedHandle& Drained() {
        static OwnedHandle event = CreateManualResetEvent();
        return event;
    }
    static OwnedHandle& Posted() {
        static OwnedHandle event = CreateManualResetEvent();
        return event;
    }
};

struct LateCellFactory : DefaultQueueTaskFactory<QueueTask> {
    static WPARAM MakeCell(const TaskPtr& task) {
        ::SetEvent(LatePost::SenderChecked().Get());
        ::WaitForSingleObject(LatePost::Drained().Get(), 1000);
        return DefaultQueueTaskFactory<QueueTask>::MakeCell(task);
    }
};

class LateRunner : public QueueThreadImpl<LateRunner, LateCellFactory> {
public:
    ~LateRunner() { Stop(); }

    DWORD _Run() {
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == kTaskMessage)
                if (const TaskPtr task = _TakeTask(msg.wParam))
                    task->Run();
        }
        return 0;
    }

    void _OnThreadExit() {
        QueueThreadImpl::_OnThreadExit();
        ::SetEvent(LatePost::Drained().Get());
        ::WaitForSingleObject(LatePost::Posted().Get(), 2000);
    }
};

TEST(QueueThreadImpl, APostRacingTheThreadsEndIsNeitherLostNorLeaked) {
    for (OwnedHandle* event : {&LatePost::SenderChecked(), &LatePost::Drained(), &LatePost::Posted()})
        ::ResetEvent(event->Get());
    Journal journal;
    const auto tasks = MakeTasks(journal, 1);
    LateRunner runner;
    ASSERT_TRUE(runner.Start(false, 0));
    ASSERT_TRUE(runner._WaitForQueue(5000));
    bool posted = false;
    {
        ThreadTests::BoundedCall sender("post", [&] {
            posted = runner._PostTask(tasks[0]);
            ::SetEvent(LatePost::Posted().Get());
        });
        ASSERT_TRUE(IsSignalled(LatePost::SenderChecked().Get(), 5000));
        RunBounded("Stop", [&] { runner.Stop(); });
    }
    // Accepted while the queue was ready, it came after the body's last
    // message and went with the thread: no message holds it any more.
    EXPECT_TRUE(posted);
    EXPECT_TRUE(journal.runs.empty());
    ExpectOnlyTheCreatorHolds(tasks);
}

TEST(QueueThreadImpl, ATaskCellCarriesOneReference) {
    Journal journal;
    const auto tasks = MakeTasks(journal, 1);
    using Factory = DefaultQueueTaskFactory<QueueTask>;
    const WPARAM cell = Factory::MakeCell(tasks[0]);
    EXPECT_EQ(2, tasks[0].use_count());
    EXPECT_EQ(tasks[0], Factory::TakeCell(cell));
    ExpectOnlyTheCreatorHolds(tasks);
    EXPECT_FALSE(Factory::TakeCell(0));
}

}  // namespace
