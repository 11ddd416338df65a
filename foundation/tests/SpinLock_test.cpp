#include "foundation/sync/SpinLock.h"

#include "foundation/sync/BuiltOnce.h"
#include "TestThread.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using FoundationTests::kBlockedProbeMs;
using FoundationTests::kHangMs;
using FoundationTests::Signal;
using FoundationTests::TestThread;
using Synchronization::SpinLock;

TEST(SpinLock, HoldsTheTokenAndPutsZeroBack) {
    volatile LONG word = 0;
    SpinLock lock(&word);
    EXPECT_EQ(SpinLock::_Token, word);
    EXPECT_EQ(1, lock.Unlock());
    EXPECT_EQ(0, word);
    word = 7;  // the word is forgotten: a second unlock leaves it alone
    EXPECT_EQ(0, lock.Unlock());
    EXPECT_EQ(7, word);

    SpinLock nothing(nullptr);
    EXPECT_EQ(0, nothing.Unlock());
}

TEST(SpinLock, ASecondLockerWaitsForTheHolder) {
    volatile LONG word = 0;
    Signal got;
    auto holder = std::make_unique<SpinLock>(&word);
    TestThread waiter([&] {
        SpinLock lock(&word);
        got.Set();
    });
    EXPECT_FALSE(got.Wait(kBlockedProbeMs));
    holder.reset();
    EXPECT_TRUE(got.Wait(kHangMs));
    EXPECT_TRUE(waiter.WaitFinished(kHangMs));
    EXPECT_EQ(0, word);
}

TEST(SpinLock, KeepsIncrementsOfSeveralThreadsWhole) {
    volatile LONG word = 0;
    int counter = 0;  // deliberately not atomic
    const int threads = 4, rounds = 2000;
    {
        std::vector<std::unique_ptr<TestThread>> workers;
        for (int t = 0; t < threads; ++t) {
            workers.push_back(std::make_unique<TestThread>([&] {
                for (int i = 0; i < rounds; ++i) {
                    SpinLock lock(&word);
                    const int seen = counter;
                    if (i % 64 == 0)
                        SwitchToThread();  // invites the others in if the lock failed
                    counter = seen + 1;
                }
            }));
        }
        for (auto& worker : workers)
            EXPECT_TRUE(worker->WaitFinished(60000));
    }
    EXPECT_EQ(threads * rounds, counter);
}

TEST(SpinLock, BuiltOnceBuildsOnceAndRetriesAFailedBuild) {
    Synchronization::BuiltOnce once;
    int builds = 0;
    EXPECT_FALSE(once.Run([&] { return ++builds > 1; }));
    EXPECT_FALSE(once.IsBuilt());
    EXPECT_THROW(once.Run([&]() -> bool { throw std::runtime_error("x"); }), std::runtime_error);
    EXPECT_TRUE(once.Run([&] { return ++builds > 1; }));
    EXPECT_TRUE(once.Run([&] { return ++builds > 1; }));
    EXPECT_EQ(2, builds);
    EXPECT_TRUE(once.IsBuilt());
}

}  // namespace
