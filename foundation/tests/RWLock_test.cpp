#include "foundation/sync/RWLock.h"

#include "foundation/sync/CSLockImpl.h"
#include "foundation/sync/SRWLockImpl.h"
#include "TestThread.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

using FoundationTests::kBlockedProbeMs;
using FoundationTests::kHangMs;
using FoundationTests::Signal;
using FoundationTests::TestThread;
using Synchronization::RWLock;
using Synchronization::Impl::CSLockImpl;
using Synchronization::Impl::SRWFunctions;
using Synchronization::Impl::SRWLockImpl;

class ScopedSRWFunctions {
public:
    explicit ScopedSRWFunctions(const SRWFunctions* table)
        : m_previous(Synchronization::Impl::SetSRWFunctionsForTests(table)) {}
    ~ScopedSRWFunctions() { Synchronization::Impl::SetSRWFunctionsForTests(m_previous); }

private:
    const SRWFunctions* m_previous;
};

bool IsSlim(const RWLock& lock) {
    return dynamic_cast<SRWLockImpl*>(lock.GetImpl()) != nullptr;
}
bool IsCriticalSection(const RWLock& lock) {
    return dynamic_cast<CSLockImpl*>(lock.GetImpl()) != nullptr;
}

TEST(RWLock, TakesTheSlimLockUnderWine) {
    const SRWFunctions& process = Synchronization::Impl::ProcessSRWFunctions();
    EXPECT_EQ(S_OK, process.loadResult);
    EXPECT_EQ(GetModuleHandleW(L"kernel32.dll"), process.module);
    EXPECT_TRUE(process.IsComplete());
    RWLock lock;
    EXPECT_TRUE(IsSlim(lock));
}

TEST(RWLock, FallsBackToTheCriticalSectionWithoutAnyOfTheFunctions) {
    struct Case {
        const char* name;
        void (*strip)(SRWFunctions&);
        bool slim;
    };
    const Case cases[] = {
        {"complete table", [](SRWFunctions&) {}, true},
        {"empty table", [](SRWFunctions& t) { t = SRWFunctions(); }, false},
        {"no module", [](SRWFunctions& t) { t.module = nullptr; }, false},
        {"no InitializeSRWLock", [](SRWFunctions& t) { t.initialize = nullptr; }, false},
        {"no AcquireSRWLockExclusive", [](SRWFunctions& t) { t.acquireExclusive = nullptr; }, false},
        {"no AcquireSRWLockShared", [](SRWFunctions& t) { t.acquireShared = nullptr; }, false},
        {"no ReleaseSRWLockExclusive", [](SRWFunctions& t) { t.releaseExclusive = nullptr; }, false},
        {"no ReleaseSRWLockShared", [](SRWFunctions& t) { t.releaseShared = nullptr; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SRWFunctions table = Synchronization::Impl::ProcessSRWFunctions();
        c.strip(table);
        ScopedSRWFunctions scope(&table);
        RWLock lock;
        EXPECT_EQ(c.slim, IsSlim(lock));
        EXPECT_EQ(!c.slim, IsCriticalSection(lock));
        lock.LockExclusive();
        lock.UnlockExclusive();
    }
    RWLock afterwards;
    EXPECT_TRUE(IsSlim(afterwards));
}

TEST(RWLock, LookupKeepsWhatItFinds) {
    const SRWFunctions missingModule = Synchronization::Impl::LoadSRWFunctions(L"brunlow-no-such-module.dll");
    EXPECT_EQ(nullptr, missingModule.module);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND), missingModule.loadResult);
    EXPECT_FALSE(missingModule.IsComplete());

    const SRWFunctions otherModule = Synchronization::Impl::LoadSRWFunctions(L"user32.dll");
    EXPECT_NE(nullptr, otherModule.module);
    EXPECT_EQ(S_OK, otherModule.loadResult);
    EXPECT_EQ(nullptr, otherModule.initialize);
    EXPECT_FALSE(otherModule.IsComplete());
}

TEST(RWLock, SlimImplementationRefusesAnIncompleteTable) {
    const SRWFunctions empty;
    try {
        SRWLockImpl lock(empty);
        ADD_FAILURE() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ("Unsupported", e.what());
    }
}

TEST(RWLock, UsesAGivenImplementationWithoutOwningIt) {
    struct Counting : Synchronization::IRWLockImpl {
        int calls = 0;
        void LockShared() override { calls += 1; }
        void UnlockShared() override { calls += 10; }
        void LockExclusive() override { calls += 100; }
        void UnlockExclusive() override { calls += 1000; }
    } counting;
    {
        RWLock lock(&counting);
        EXPECT_EQ(&counting, lock.GetImpl());
        RWLock::SharedScope reading(lock);
        RWLock::ExclusiveScope writing(lock);
    }
    EXPECT_EQ(1111, counting.calls);  // and still alive after the holder went
}

TEST(RWLock, CriticalSectionLetsItsOwnerEnterAgain) {
    CSLockImpl impl;
    RWLock lock(&impl);
    lock.LockExclusive();
    lock.LockShared();
    lock.LockExclusive();
    lock.UnlockExclusive();
    lock.UnlockShared();
    lock.UnlockExclusive();
    // Left as often as entered: another thread gets in.
    TestThread other([&] { RWLock::ExclusiveScope writing(lock); });
    EXPECT_TRUE(other.WaitFinished(kHangMs));
}

struct ImplCase {
    const char* name;
    bool slim;
};

class RWLockBehaviour : public ::testing::TestWithParam<ImplCase> {
protected:
    RWLockBehaviour()
        : m_impl(GetParam().slim ? std::unique_ptr<Synchronization::IRWLockImpl>(new SRWLockImpl())
                                 : std::unique_ptr<Synchronization::IRWLockImpl>(new CSLockImpl())),
          m_lock(m_impl.get()) {}

    // Holds the lock in one mode on a thread of its own while a second thread
    // asks for it in another; returns whether the second got it while the
    // first still held it. Only a second that should be kept out is given a
    // short time, so a slow machine cannot fake a lock that excludes. Both
    // threads always finish.
    bool SecondGetsInWhileFirstHolds(bool firstExclusive, bool secondExclusive, bool shouldGetIn = false) {
        Signal firstHolds, releaseFirst, secondHolds;
        TestThread first([&] {
            firstExclusive ? m_lock.LockExclusive() : m_lock.LockShared();
            firstHolds.Set();
            releaseFirst.Wait(kHangMs);
            firstExclusive ? m_lock.UnlockExclusive() : m_lock.UnlockShared();
        });
        EXPECT_TRUE(firstHolds.Wait(kHangMs));
        TestThread second([&] {
            secondExclusive ? m_lock.LockExclusive() : m_lock.LockShared();
            secondHolds.Set();
            secondExclusive ? m_lock.UnlockExclusive() : m_lock.UnlockShared();
        });
        const bool sharedWithFirst = secondHolds.Wait(shouldGetIn ? kHangMs : kBlockedProbeMs);
        releaseFirst.Set();
        EXPECT_TRUE(secondHolds.Wait(kHangMs)) << "the second never got the lock";
        EXPECT_TRUE(first.WaitFinished(kHangMs));
        EXPECT_TRUE(second.WaitFinished(kHangMs));
        return sharedWithFirst;
    }

    std::unique_ptr<Synchronization::IRWLockImpl> m_impl;
    RWLock m_lock;
};

TEST_P(RWLockBehaviour, AWriterExcludesReadersAndWriters) {
    EXPECT_FALSE(SecondGetsInWhileFirstHolds(true, false)) << "a reader got in beside a writer";
    EXPECT_FALSE(SecondGetsInWhileFirstHolds(true, true)) << "two writers at once";
    EXPECT_FALSE(SecondGetsInWhileFirstHolds(false, true)) << "a writer got in beside a reader";
}

TEST_P(RWLockBehaviour, ReadersShareOnlyOnTheSlimLock) {
    EXPECT_EQ(GetParam().slim, SecondGetsInWhileFirstHolds(false, false, GetParam().slim));
}

INSTANTIATE_TEST_SUITE_P(Implementations, RWLockBehaviour,
                         ::testing::Values(ImplCase{"Slim", true}, ImplCase{"CriticalSection", false}),
                         [](const ::testing::TestParamInfo<ImplCase>& info) { return std::string(info.param.name); });

}  // namespace
