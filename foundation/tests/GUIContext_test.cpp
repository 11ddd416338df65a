#include "foundation/threads/GUIContext.h"

#include "WindowTestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using ContextLib::CommandList;
using ContextLib::CommandPtr;
using ContextLib::CreateGUIContext;
using ContextLib::GUIContext;
using ContextLib::ICommandTarget;
using TestSupport::BoundedThread;

const UINT kMessage = 0xD252;
const DWORD kBound = 5000;

class Command : public STLHelpers::ICommand {
public:
    explicit Command(int id) : m_id(id) {}
    int GetId() const override { return m_id; }

private:
    int m_id;
};

CommandPtr MakeCommand(int id) {
    return boost::make_shared<Command>(id);
}

// Records each command it runs and the thread it ran on, then runs its action.
class RecordingTarget : public ICommandTarget {
public:
    struct Run {
        CommandPtr command;
        DWORD thread;
    };

    void Execute(const CommandPtr& command) override {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_runs.push_back({command, ::GetCurrentThreadId()});
        }
        if (action)
            action(command);
    }

    std::vector<Run> Runs() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_runs;
    }
    std::size_t Count() const { return Runs().size(); }
    std::vector<CommandPtr> Commands() const {
        std::vector<CommandPtr> commands;
        for (const Run& run : Runs())
            commands.push_back(run.command);
        return commands;
    }

    std::function<void(const CommandPtr&)> action;

private:
    mutable std::mutex m_mutex;
    std::vector<Run> m_runs;
};

// A window of the test's thread with a context on it; the test's thread is
// the window's thread and pumps its messages with bounded loops.
class GUIContextTest : public ::testing::Test {
protected:
    GUIContextTest()
        : window([this](UINT message, WPARAM, LPARAM) { return context && context->HandleMessage(message); }) {
        context = CreateGUIContext(&owner, window.Handle(), kMessage);
    }

    bool Pump(const std::function<bool()>& done) { return TestSupport::PumpMessagesUntil(done, kBound); }

    // Posts synchronously from a new thread; *result becomes 0 or 1.
    std::unique_ptr<BoundedThread> PostFromWorker(const CommandPtr& command, ICommandTarget* target,
                                                  std::atomic<int>* result) {
        GUIContext* raw = context.get();
        return std::unique_ptr<BoundedThread>(
            new BoundedThread([raw, command, target, result] { *result = raw->Post(command, target, false); }));
    }

    // Drops the wake-up messages queued so far.
    void DiscardWakeUps() {
        MSG message;
        while (::PeekMessageW(&message, window.Handle(), kMessage, kMessage, PM_REMOVE)) {
        }
    }

    RecordingTarget owner;
    RecordingTarget target;
    // Made before the window, whose messages read it.
    boost::shared_ptr<GUIContext> context;
    TestSupport::TestWindow window;
};

TEST_F(GUIContextTest, SynchronousPostFromAWorkerRunsOnTheWindowsThread) {
    const CommandPtr command = MakeCommand(1);
    std::atomic<int> result{-1};
    std::atomic<bool> ranBeforeReturn{false};
    BoundedThread worker([&] {
        const bool posted = context->Post(command, &target, false);
        ranBeforeReturn = target.Count() == 1;
        result = posted;
    });
    ASSERT_TRUE(Pump([&] { return result != -1; }));
    EXPECT_EQ(1, result);
    EXPECT_TRUE(ranBeforeReturn);
    const std::vector<RecordingTarget::Run> runs = target.Runs();
    ASSERT_EQ(1u, runs.size());
    EXPECT_EQ(command, runs[0].command);
    EXPECT_EQ(::GetCurrentThreadId(), runs[0].thread);
    EXPECT_EQ(0u, owner.Count());
    EXPECT_EQ(0u, context->GetCount(-1));
}

TEST_F(GUIContextTest, ManyWorkersPostingAtOnceAllRunInTheirOrder) {
    const int kWorkers = 6;
    const int kPosts = 25;
    std::atomic<int> succeeded{0};
    std::atomic<int> done{0};
    std::vector<std::unique_ptr<BoundedThread>> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back(new BoundedThread([&, w] {
            for (int i = 0; i < kPosts; ++i)
                succeeded += context->Post(MakeCommand(w * 100 + i), &target, i % 2 == 0);
            ++done;
        }));
    }
    ASSERT_TRUE(Pump([&] { return done == kWorkers && target.Count() == kWorkers * kPosts; }));
    EXPECT_EQ(kWorkers * kPosts, succeeded);
    std::vector<int> last(kWorkers, -1);
    for (const RecordingTarget::Run& run : target.Runs()) {
        EXPECT_EQ(::GetCurrentThreadId(), run.thread);
        const int w = run.command->GetId() / 100;
        const int i = run.command->GetId() % 100;
        EXPECT_EQ(last[w] + 1, i) << "worker " << w;
        last[w] = i;
    }
}

TEST_F(GUIContextTest, PostsFromTheWindowsOwnThread) {
    const CommandPtr command = MakeCommand(1);
    EXPECT_FALSE(context->Post(command, &target, false));
    EXPECT_FALSE(context->Post(CommandPtr(), &target, true));
    EXPECT_EQ(0u, context->GetCount(-1));

    EXPECT_TRUE(context->Post(command, &target, true));
    EXPECT_EQ(1u, context->GetCount(-1));
    EXPECT_EQ(0u, target.Count());
    TestSupport::PumpQueuedMessages();
    EXPECT_EQ(std::vector<CommandPtr>{command}, target.Commands());
    EXPECT_EQ(0u, context->GetCount(-1));
}

TEST_F(GUIContextTest, OnlyTheContextsMessageRunsCommands) {
    const CommandPtr command = MakeCommand(1);
    DiscardWakeUps();
    ASSERT_TRUE(context->Post(command, &target, true));
    DiscardWakeUps();
    for (UINT message : {0u, kMessage + 1, kMessage - 1, static_cast<UINT>(WM_TIMER)}) {
        SCOPED_TRACE(message);
        EXPECT_FALSE(context->HandleMessage(message));
    }
    EXPECT_EQ(0u, target.Count());
    EXPECT_TRUE(context->HandleMessage(kMessage));
    EXPECT_EQ(1u, target.Count());
    EXPECT_TRUE(context->HandleMessage(kMessage));  // nothing left: still the context's message
}

TEST_F(GUIContextTest, PausedContextQueuesAsynchronousPostsUntilResume) {
    EXPECT_TRUE(context->Pause());
    EXPECT_TRUE(context->IsPaused());
    const CommandPtr first = MakeCommand(1);
    const CommandPtr second = MakeCommand(2);
    EXPECT_TRUE(context->Post(first, &target, true));
    EXPECT_TRUE(context->Post(second, &target, true));
    EXPECT_EQ(2u, context->GetCount(-1));
    TestSupport::PumpQueuedMessages();
    EXPECT_TRUE(context->HandleMessage(kMessage));
    EXPECT_EQ(0u, target.Count());

    std::atomic<int> result{-1};
    const std::unique_ptr<BoundedThread> worker = PostFromWorker(MakeCommand(3), &target, &result);
    ASSERT_TRUE(worker->Join(kBound));
    EXPECT_EQ(0, result);
    EXPECT_EQ(2u, context->GetCount(-1));

    EXPECT_TRUE(context->Resume());
    EXPECT_FALSE(context->IsPaused());
    ASSERT_TRUE(Pump([&] { return target.Count() == 2; }));
    EXPECT_EQ((std::vector<CommandPtr>{first, second}), target.Commands());
}

TEST_F(GUIContextTest, FindingAndDroppingWaitingCommands) {
    context->Pause();
    const CommandPtr a = MakeCommand(1);
    const CommandPtr b = MakeCommand(2);
    const CommandPtr c = MakeCommand(1);
    for (const CommandPtr& command : {a, b, c, a})
        ASSERT_TRUE(context->Post(command, &target, true));

    const auto collect = [this](int id) {
        CommandList list{MakeCommand(9)};  // what the list held stays in front
        context->CollectCommands(list, id);
        list.erase(list.begin());
        return list;
    };
    EXPECT_EQ((CommandList{a, c, a}), collect(1));
    EXPECT_EQ((CommandList{a, b, c, a}), collect(-1));
    EXPECT_EQ(CommandList{}, collect(5));
    EXPECT_EQ(4u, context->GetCount(7));  // counts every command, whatever the id
    for (int id : {1, 2, -1})
        EXPECT_TRUE(context->HasCommand(id)) << id;
    EXPECT_FALSE(context->HasCommand(3));
    EXPECT_FALSE(context->IsExecuting(a));

    EXPECT_TRUE(context->Remove(a));  // the first entry of that object only
    EXPECT_EQ((CommandList{b, c, a}), collect(-1));
    EXPECT_FALSE(context->Remove(MakeCommand(1)));
    EXPECT_TRUE(context->RemoveById(1));
    EXPECT_EQ(CommandList{b}, collect(-1));
    EXPECT_FALSE(context->HasCommand(1));
    EXPECT_TRUE(context->RemoveById(-1));
    EXPECT_EQ(0u, context->GetCount(-1));
    EXPECT_FALSE(context->HasCommand(-1));

    context->Resume();
    TestSupport::PumpQueuedMessages();
    EXPECT_EQ(0u, target.Count());
}

// While one synchronous post runs, a second one waits behind it and is
// removed: its poster is woken with a failure at once, the running one
// finishes and its poster gets true.
TEST_F(GUIContextTest, RemovingAWaitingSynchronousPostWakesItsPoster) {
    const CommandPtr running = MakeCommand(1);
    const CommandPtr waiting = MakeCommand(2);
    const struct Case {
        const char* name;
        std::function<bool(GUIContext&)> remove;
    } cases[] = {
        {"RemoveById(-1)", [](GUIContext& c) { return c.RemoveById(-1); }},
        {"RemoveById(2)", [](GUIContext& c) { return c.RemoveById(2); }},
        {"Remove", [waiting](GUIContext& c) { return c.Remove(waiting); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingTarget blocking;
        std::atomic<int> runningResult{-1};
        std::atomic<int> waitingResult{-1};
        std::unique_ptr<BoundedThread> waitingPoster;
        blocking.action = [&](const CommandPtr& command) {
            if (command != running)
                return;
            waitingPoster = PostFromWorker(waiting, &blocking, &waitingResult);
            ASSERT_TRUE(TestSupport::WaitUntil([&] { return context->HasCommand(2); }, kBound));
            EXPECT_TRUE(context->IsExecuting(running));
            EXPECT_TRUE(c.remove(*context));
            // Woken while the running command still runs.
            EXPECT_TRUE(waitingPoster->Join(kBound));
            EXPECT_EQ(0, waitingResult);
        };
        const std::unique_ptr<BoundedThread> runningPoster = PostFromWorker(running, &blocking, &runningResult);
        ASSERT_TRUE(Pump([&] { return runningResult != -1; }));
        EXPECT_EQ(1, runningResult);
        EXPECT_EQ(std::vector<CommandPtr>{running}, blocking.Commands());
        EXPECT_EQ(0u, context->GetCount(-1));
        EXPECT_FALSE(context->IsExecuting(running));
    }
}

TEST_F(GUIContextTest, DestroyingTheContextWakesAWaitingPoster) {
    std::atomic<int> result{-1};
    GUIContext* raw = context.get();
    const std::unique_ptr<BoundedThread> worker = PostFromWorker(MakeCommand(1), &target, &result);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return raw->GetCount(-1) == 1; }, kBound));
    context.reset();
    EXPECT_TRUE(worker->Join(kBound));
    EXPECT_EQ(0, result);
    TestSupport::PumpQueuedMessages();
    EXPECT_EQ(0u, target.Count());
}

TEST_F(GUIContextTest, DestroyingTheWindowWakesAWaitingPoster) {
    std::atomic<int> result{-1};
    const std::unique_ptr<BoundedThread> worker = PostFromWorker(MakeCommand(1), &target, &result);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return context->GetCount(-1) == 1; }, kBound));
    window.Destroy();
    EXPECT_TRUE(worker->Join(kBound));
    EXPECT_EQ(0, result);

    // Posting to a window that is gone fails and leaves nothing queued.
    context->RemoveById(-1);
    EXPECT_FALSE(context->Post(MakeCommand(2), &target, true));
    EXPECT_EQ(0u, context->GetCount(-1));
    EXPECT_EQ(0u, target.Count());
}

TEST_F(GUIContextTest, EachPostRunsForItsOwnTargetOrTheOwner) {
    const CommandPtr command = MakeCommand(1);
    ASSERT_TRUE(context->Post(command, &target, true));
    ASSERT_TRUE(context->Post(command, &target, true));
    ASSERT_TRUE(context->Post(command, nullptr, true));
    ASSERT_TRUE(Pump([&] { return target.Count() + owner.Count() == 3; }));
    EXPECT_EQ(2u, target.Count());
    EXPECT_EQ(1u, owner.Count());

    // With neither a target nor an owner nothing runs, and a synchronous
    // poster hears so.
    context->SetOwner(nullptr);
    std::atomic<int> result{-1};
    const std::unique_ptr<BoundedThread> worker = PostFromWorker(command, nullptr, &result);
    ASSERT_TRUE(Pump([&] { return result != -1; }));
    EXPECT_EQ(0, result);
    EXPECT_EQ(2u, target.Count());
    EXPECT_EQ(1u, owner.Count());
}

TEST_F(GUIContextTest, ATargetsExceptionPassesAndTheQueueGoesOn) {
    const CommandPtr failing = MakeCommand(1);
    const CommandPtr next = MakeCommand(2);
    target.action = [&](const CommandPtr& command) {
        if (command == failing)
            throw std::runtime_error("failed");
    };
    std::atomic<int> result{-1};
    const std::unique_ptr<BoundedThread> worker = PostFromWorker(failing, &target, &result);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return context->GetCount(-1) == 1; }, kBound));
    ASSERT_TRUE(context->Post(next, &target, true));
    DiscardWakeUps();

    EXPECT_THROW(context->HandleMessage(kMessage), std::runtime_error);
    EXPECT_TRUE(worker->Join(kBound));
    EXPECT_EQ(0, result);
    EXPECT_FALSE(context->IsExecuting(failing));
    // A fresh wake-up runs what waited behind the failed command.
    ASSERT_TRUE(Pump([&] { return target.Count() == 2; }));
    EXPECT_EQ((std::vector<CommandPtr>{failing, next}), target.Commands());
}

TEST_F(GUIContextTest, ACommandMayDropTheContextsLastOwner) {
    const CommandPtr first = MakeCommand(1);
    const CommandPtr second = MakeCommand(2);
    target.action = [&](const CommandPtr& command) {
        if (command == first)
            context.reset();
    };
    ASSERT_TRUE(context->Post(first, &target, true));
    ASSERT_TRUE(context->Post(second, &target, true));
    ASSERT_TRUE(Pump([&] { return target.Count() == 2; }));
    EXPECT_FALSE(context);
}

TEST(GUIContext, CreationAndInterfaceBodies) {
    HWND destroyed = nullptr;
    {
        TestSupport::TestWindow gone;
        destroyed = gone.Handle();
    }
    for (HWND window : {HWND(nullptr), destroyed}) {
        try {
            CreateGUIContext(nullptr, window, kMessage);
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string("Invalid window"), e.what());
        }
    }

    TestSupport::TestWindow window;
    const boost::shared_ptr<GUIContext> context = CreateGUIContext(nullptr, window.Handle(), kMessage);
    EXPECT_FALSE(context->QueryFlag());
    EXPECT_FALSE(context->IsPaused());
    EXPECT_EQ(window.Handle(), context->GetWindow());

    struct BareContext : ContextLib::IContext {
        void SetOwner(ICommandTarget*) override {}
        bool RemoveById(int) override { return false; }
        std::size_t GetCount(int) override { return 0; }
        bool HasCommand(int) override { return false; }
        bool QueryFlag() override { return false; }
        bool Pause() override { return false; }
        bool Resume() override { return false; }
        bool IsPaused() override { return false; }
    } bare;
    CommandList list;
    const std::function<void()> calls[] = {
        [&] { bare.Post(MakeCommand(1), nullptr, true); },
        [&] { bare.Remove(MakeCommand(1)); },
        [&] { bare.IsExecuting(MakeCommand(1)); },
        [&] { bare.CollectCommands(list, -1); },
    };
    for (const auto& call : calls) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string("Pure virtual function call"), e.what());
        }
    }
}

}  // namespace
