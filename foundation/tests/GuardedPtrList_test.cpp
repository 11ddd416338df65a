#include "foundation/sync/GuardedPtrList.h"

#include "TestThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using FoundationTests::kBlockedProbeMs;
using FoundationTests::kHangMs;
using FoundationTests::Signal;
using FoundationTests::TestThread;
using Synchronization::GuardedPtrList;

// Well below Remove's 5000 ms limit: a removal that waited for nothing (or
// for its own notification) would take the whole limit.
const DWORD kPromptMs = 2500;

// Observers are named texts; a call runs the action registered for it.
class Observers {
public:
    void* Make(const std::string& name, std::function<void()> action = [] {}) {
        m_names.push_back(name);
        m_actions[name] = action;
        return &m_names.back();
    }
    void Notify(GuardedPtrList& list) {
        list.Notify([this](void* pointer) {
            const std::string& name = *static_cast<std::string*>(pointer);
            Log(name);
            m_actions[name]();
        });
    }
    void Log(const std::string& entry) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_log.push_back(entry);
    }
    std::vector<std::string> TakeLog() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::move(m_log);
    }

private:
    std::list<std::string> m_names;  // stable addresses
    std::map<std::string, std::function<void()>> m_actions;
    std::mutex m_mutex;
    std::vector<std::string> m_log;
};

using Log = std::vector<std::string>;

TEST(GuardedPtrList, ListsEachPointerOnceInOrder) {
    GuardedPtrList list;
    int a = 0, b = 0, c = 0, other = 0;
    std::vector<void*> snapshot;
    EXPECT_TRUE(list.CopyTo(snapshot));
    EXPECT_TRUE(snapshot.empty());

    EXPECT_TRUE(list.Add(&a));
    EXPECT_FALSE(list.Add(&a));
    EXPECT_TRUE(list.Add(&b));
    EXPECT_TRUE(list.Add(&c));
    snapshot = {&other};
    EXPECT_TRUE(list.CopyTo(snapshot));
    EXPECT_EQ((std::vector<void*>{&other, &a, &b, &c}), snapshot);

    EXPECT_FALSE(list.Remove(&other));
    EXPECT_TRUE(list.Remove(&b));
    EXPECT_FALSE(list.Remove(&b));
    snapshot.clear();
    list.CopyTo(snapshot);
    EXPECT_EQ((std::vector<void*>{&a, &c}), snapshot);
    EXPECT_TRUE(list.Contains(&a));
    EXPECT_FALSE(list.Contains(&b));
}

TEST(GuardedPtrList, AnObserverRemovedDuringAPassIsNotCalledAfterwards) {
    GuardedPtrList list;
    Observers observers;
    void* second = nullptr;
    list.Add(observers.Make("first", [&] { list.Remove(second); }));
    list.Add(second = observers.Make("second"));
    list.Add(observers.Make("third"));

    observers.Notify(list);
    EXPECT_EQ((Log{"first", "third"}), observers.TakeLog());
    observers.Notify(list);
    EXPECT_EQ((Log{"first", "third"}), observers.TakeLog());
}

TEST(GuardedPtrList, ARemovalFromInsideThePassDoesNotWaitForIt) {
    GuardedPtrList list;
    Observers observers;
    void* self = nullptr;
    DWORD removeTook = 0;
    list.Add(self = observers.Make("self", [&] {
        const DWORD start = GetTickCount();
        EXPECT_TRUE(list.Remove(self));
        removeTook = GetTickCount() - start;
    }));
    list.Add(observers.Make("other"));

    observers.Notify(list);
    EXPECT_LT(removeTook, kPromptMs);
    EXPECT_EQ((Log{"self", "other"}), observers.TakeLog());
    observers.Notify(list);
    EXPECT_EQ((Log{"other"}), observers.TakeLog());
}

TEST(GuardedPtrList, RemoveFromAnotherThreadWaitsForThePassInFlight) {
    GuardedPtrList list;
    Observers observers;
    Signal inPass, releasePass, removed;
    void* second = nullptr;
    list.Add(observers.Make("first", [&] {
        inPass.Set();
        releasePass.Wait(kHangMs);
    }));
    list.Add(second = observers.Make("second"));
    list.Add(observers.Make("third"));

    TestThread notifier([&] { observers.Notify(list); });
    ASSERT_TRUE(inPass.Wait(kHangMs));
    TestThread remover([&] {
        EXPECT_TRUE(list.Remove(second));
        observers.Log("removed");
        removed.Set();
    });
    EXPECT_FALSE(removed.Wait(kBlockedProbeMs)) << "Remove returned while the pass ran";
    releasePass.Set();
    EXPECT_TRUE(removed.Wait(kHangMs));
    EXPECT_TRUE(notifier.WaitFinished(kHangMs));
    EXPECT_TRUE(remover.WaitFinished(kHangMs));
    // The snapshot held "second", but it was removed before its turn came.
    EXPECT_EQ((Log{"first", "third", "removed"}), observers.TakeLog());
}

TEST(GuardedPtrList, ARemovalInsideAPassStillWaitsForOtherThreadsPasses) {
    GuardedPtrList list;
    Observers observers;
    Signal otherInPass, releaseOther;
    bool inOwnPass = false;
    void* gone = nullptr;
    list.Add(observers.Make("blocker", [&] {
        if (inOwnPass)
            return;
        otherInPass.Set();
        releaseOther.Wait(kHangMs);
        observers.Log("other pass released");
    }));
    list.Add(observers.Make("remover", [&] {
        if (inOwnPass)
            list.Remove(gone);
    }));
    list.Add(gone = observers.Make("gone"));

    TestThread other([&] { observers.Notify(list); });
    ASSERT_TRUE(otherInPass.Wait(kHangMs));
    TestThread releaser([&] {
        Sleep(kBlockedProbeMs);
        releaseOther.Set();
    });
    inOwnPass = true;  // read by the blocked pass only after its release
    observers.Notify(list);
    observers.Log("own pass done");
    EXPECT_TRUE(other.WaitFinished(kHangMs));
    const Log log = observers.TakeLog();
    const auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
    EXPECT_LT(at("other pass released"), at("own pass done"));
}

TEST(GuardedPtrList, RemoveGivesUpWaitingAfterItsTimeLimit) {
    GuardedPtrList list;
    Observers observers;
    Signal inPass, releasePass, removed;
    void* second = nullptr;
    list.Add(observers.Make("stuck", [&] {
        inPass.Set();
        releasePass.Wait(15000);
    }));
    list.Add(second = observers.Make("second"));

    TestThread notifier([&] { observers.Notify(list); });
    ASSERT_TRUE(inPass.Wait(kHangMs));
    TestThread remover([&] {
        EXPECT_TRUE(list.Remove(second));
        removed.Set();
    });
    EXPECT_TRUE(removed.Wait(12000)) << "Remove kept waiting for a pass that does not end";
    releasePass.Set();
    EXPECT_TRUE(notifier.WaitFinished(kHangMs));
    EXPECT_EQ((Log{"stuck"}), observers.TakeLog());
}

TEST(GuardedPtrList, AnObserverThatThrowsStillEndsThePass) {
    GuardedPtrList list;
    Observers observers;
    void* later = nullptr;
    list.Add(observers.Make("thrower", [] { throw std::runtime_error("observer failed"); }));
    list.Add(later = observers.Make("later"));

    EXPECT_THROW(observers.Notify(list), std::runtime_error);
    EXPECT_EQ((Log{"thrower"}), observers.TakeLog());
    // Had the pass stayed counted, this would wait for the whole limit.
    TestThread remover([&] { EXPECT_TRUE(list.Remove(later)); });
    EXPECT_TRUE(remover.WaitFinished(kPromptMs));
}

TEST(GuardedPtrList, EndNotificationSetsTheEventWhenTheLastPassEnds) {
    Synchronization::GuardedEvent event(false);
    volatile LONG count = 2;
    const GuardedPtrList::NotificationGuard guard{&count, &event};
    GuardedPtrList::EndNotification(guard);
    EXPECT_EQ(1, count);
    EXPECT_FALSE(event.IsSet());
    GuardedPtrList::EndNotification(guard);
    EXPECT_EQ(0, count);
    EXPECT_TRUE(event.IsSet());
    count = 1;
    GuardedPtrList::EndNotification(guard);  // already set: stays set
    EXPECT_EQ(0, count);
    EXPECT_TRUE(event.IsSet());
}

}  // namespace
