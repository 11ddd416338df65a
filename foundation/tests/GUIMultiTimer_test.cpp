#include "foundation/time/GUIMultiTimer.h"

#include "WindowTestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Time::GUIMultiTimer;
using Time::IIntervalTimer;
using Time::ITimerCallback;
using Time::ObjectRef;

const UINT kTimerId = 7;

class FakeClock : public IIntervalTimer {
public:
    explicit FakeClock(int unit = 1) : now(1000), unit(unit) {}
    std::uint64_t Now() const override { return now; }
    int ElapsedSince(std::uint64_t start) const override { return Elapsed(start, now); }
    int Elapsed(std::uint64_t start, std::uint64_t end) const override {
        return static_cast<int>(static_cast<std::int64_t>(end - start) / unit);
    }
    std::uint64_t now;
    int unit;
};

// Records the window-timer calls of every GUIMultiTimer while it lives.
class WindowTimerRecorder {
public:
    struct Call {
        bool set;
        HWND window;
        UINT_PTR id;
        UINT ms;
    };

    WindowTimerRecorder() : m_previous(Time::SetWindowTimerCalls({&Set, &Kill})) { s_active = this; }
    ~WindowTimerRecorder() {
        Time::SetWindowTimerCalls(m_previous);
        s_active = nullptr;
    }

    std::vector<Call> calls;

    // The last call as "set <ms>" or "kill", "none" when there was none.
    std::string Last() const {
        if (calls.empty())
            return "none";
        return calls.back().set ? "set " + std::to_string(calls.back().ms) : "kill";
    }

private:
    static UINT_PTR WINAPI Set(HWND window, UINT_PTR id, UINT ms, TIMERPROC) {
        s_active->calls.push_back({true, window, id, ms});
        return id;
    }
    static BOOL WINAPI Kill(HWND window, UINT_PTR id) {
        s_active->calls.push_back({false, window, id, 0});
        return TRUE;
    }

    static WindowTimerRecorder* s_active;
    Time::WindowTimerCalls m_previous;
};
WindowTimerRecorder* WindowTimerRecorder::s_active = nullptr;

struct Firing {
    std::string name;
    int id;
    int elapsed;
    int interval;
    bool operator==(const Firing& other) const {
        return name == other.name && id == other.id && elapsed == other.elapsed && interval == other.interval;
    }
};
std::ostream& operator<<(std::ostream& out, const Firing& f) {
    return out << f.name << " id " << f.id << " elapsed " << f.elapsed << " interval " << f.interval;
}

// A callback that logs each call and then does what its action says (by
// default: keep the timer).
class Callback : public ITimerCallback {
public:
    typedef std::function<bool(int id, int* storedInterval)> Action;

    Callback(std::string name, std::vector<Firing>& log) : m_name(std::move(name)), m_log(log) {}
    bool OnTimer(int id, int elapsed, int interval, int* storedInterval) override {
        m_log.push_back({m_name, id, elapsed, interval});
        return action ? action(id, storedInterval) : true;
    }
    Action action;

private:
    std::string m_name;
    std::vector<Firing>& m_log;
};

class GUIMultiTimerTest : public ::testing::Test {
protected:
    boost::shared_ptr<GUIMultiTimer> MakeTimer(int unit = 1) {
        clock.unit = unit;
        return boost::make_shared<GUIMultiTimer>(window.Handle(), kTimerId, unit, ObjectRef<IIntervalTimer>(&clock));
    }

    TestSupport::TestWindow window;
    FakeClock clock;
    WindowTimerRecorder recorder;
    std::vector<Firing> fired;
};

TEST_F(GUIMultiTimerTest, ConstructionErrors) {
    boost::shared_ptr<IIntervalTimer> expiring = boost::make_shared<FakeClock>();
    const ObjectRef<IIntervalTimer> expired{boost::weak_ptr<IIntervalTimer>(expiring)};
    expiring.reset();
    const HWND live = window.Handle();

    struct Case {
        const char* name;
        std::function<void()> construct;
        std::string text;
    } cases[] = {
        {"null window", [] { GUIMultiTimer timer(nullptr, kTimerId, 1); }, "Invalid window"},
        {"null window, own clock", [this] { GUIMultiTimer timer(nullptr, kTimerId, 1, &clock); }, "Invalid window"},
        {"unit 0", [live] { GUIMultiTimer timer(live, kTimerId, 0); }, "Invalid unit"},
        {"no clock", [live] { GUIMultiTimer timer(live, kTimerId, 1, ObjectRef<IIntervalTimer>()); },
         "No interval timer provided"},
        {"expired clock", [live, expired] { GUIMultiTimer timer(live, kTimerId, 1, expired); },
         "No interval timer provided"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.construct();
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(c.text, e.what());
        }
    }
}

TEST_F(GUIMultiTimerTest, InterfaceBodiesAndBaseArm) {
    Time::IMultiTimer bare;
    Callback callback("a", fired);
    const std::function<void()> calls[] = {
        [&] { bare.AddTimer(&callback, 1, 10); },
        [&] { bare.RemoveTimer(&callback, 1); },
        [&] { bare.RemoveTimers(&callback); },
        [&] { bare.HasTimer(&callback, 1); },
    };
    for (const auto& call : calls) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string("Pure virtual function call"), e.what());
        }
    }

    // The base keeps the table but has no timer to arm.
    Time::MultiTimerBase base(&clock);
    EXPECT_FALSE(base.AddTimer(&callback, 1, 10));
    EXPECT_TRUE(base.HasTimer(&callback, 1));
    EXPECT_FALSE(base.AddTimer(Time::TimerCallbackRef(), 2, 10));
    EXPECT_FALSE(base.HasTimer(Time::TimerCallbackRef(), 2));
}

TEST_F(GUIMultiTimerTest, ArmsTheWindowTimerWithUnitTimesUnits) {
    struct Case {
        const char* name;
        int unit;
        int interval;
        std::string armed;
    } cases[] = {
        {"unit 1, 100", 1, 100, "set 100"},
        {"unit 10, 5", 10, 5, "set 50"},
        {"interval 0", 10, 0, "set 0"},
        {"negative interval is due at once", 10, -1, "set 0"},
        {"beyond SetTimer's range", 1000, 0x7FFFFFFF, "set " + std::to_string(USER_TIMER_MAXIMUM)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.calls.clear();
        const boost::shared_ptr<GUIMultiTimer> timer = MakeTimer(c.unit);
        Callback callback("a", fired);
        EXPECT_TRUE(timer->AddTimer(&callback, 1, c.interval));
        EXPECT_EQ(c.armed, recorder.Last());
        ASSERT_EQ(1u, recorder.calls.size());
        EXPECT_EQ(window.Handle(), recorder.calls[0].window);
        EXPECT_EQ(kTimerId, recorder.calls[0].id);

        EXPECT_TRUE(timer->RemoveTimer(&callback, 1));
        EXPECT_EQ("kill", recorder.Last());
        EXPECT_FALSE(timer->HasTimer(&callback, 1));
    }
}

TEST_F(GUIMultiTimerTest, ArmsForTheTimerThatFallsDueFirst) {
    const boost::shared_ptr<GUIMultiTimer> timer = MakeTimer();
    Callback a("a", fired);
    timer->AddTimer(&a, 1, 100);
    timer->AddTimer(&a, 2, 30);
    EXPECT_EQ("set 30", recorder.Last());
    clock.now += 20;
    timer->AddTimer(&a, 3, 50);
    EXPECT_EQ("set 10", recorder.Last());
    clock.now += 40;  // timer 2 is overdue by 30
    timer->AddTimer(&a, 4, 50);
    EXPECT_EQ("set 0", recorder.Last());
}

TEST_F(GUIMultiTimerTest, ForeignTimerIdGivesFalseAndFiresNothing) {
    const boost::shared_ptr<GUIMultiTimer> timer = MakeTimer();
    Callback a("a", fired);
    timer->AddTimer(&a, 1, 0);
    recorder.calls.clear();
    EXPECT_FALSE(timer->OnTimer(kTimerId + 1));
    EXPECT_TRUE(fired.empty());
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_TRUE(timer->OnTimer(kTimerId));
    EXPECT_EQ(1u, fired.size());
}

TEST_F(GUIMultiTimerTest, AddingAnExistingTimerKeepsItsFirstInterval) {
    const boost::shared_ptr<GUIMultiTimer> timer = MakeTimer();
    Callback a("a", fired);
    timer->AddTimer(&a, 1, 100);
    clock.now += 50;
    EXPECT_TRUE(timer->AddTimer(&a, 1, 10));
    EXPECT_EQ("set 50", recorder.Last());  // start and interval unchanged
    clock.now += 49;
    timer->OnTimer(kTimerId);
    EXPECT_TRUE(fired.empty());
    clock.now += 1;
    timer->OnTimer(kTimerId);
    EXPECT_EQ(std::vector<Firing>({{"a", 1, 100, 100}}), fired);
}

TEST_F(GUIMultiTimerTest, DueTimersFireOnceInTableOrder) {
    const boost::shared_ptr<GUIMultiTimer> timer = MakeTimer();
    Callback a("a", fired);
    timer->AddTimer(&a, 2, 10);
    timer->AddTimer(&a, 1, 10);
    timer->AddTimer(&a, 3, 100);
    a.action = [this](int id, int*) {
        clock.now += 3;  // time spent in the call
        return id != 2;
    };
    clock.now += 25;  // two intervals and a half
    EXPECT_TRUE(timer->OnTimer(kTimerId));

    // Timer 2 saw the 3 units timer 1 spent.
    EXPECT_EQ(std::vector<Firing>({{"a", 1, 25, 10}, {"a", 2, 28, 10}}), fired);
    EXPECT_TRUE(timer->HasTimer(&a, 1));
    EXPECT_FALSE(timer->HasTimer(&a, 2));
    // Timer 1 restarted from the moment read before its call, 6 units ago.
    EXPECT_EQ("set 4", recorder.Last());
}

TEST_F(GUIMultiTimerTest, WhatTheCallbackReturnsOrWritesDecidesTheTimersFate) {
    struct Case {
        const char* name;
        int interval;
        bool result;
        int written;  // INT_MIN: leaves the interval alone
        bool kept;
        std::string armed;
    } cases[] = {
        {"keeps", 10, true, INT_MIN, true, "set 10"},
        {"returns false", 10, false, INT_MIN, false, "kill"},
        {"writes -1", 10, true, -1, false, "kill"},
        {"writes a new interval", 10, true, 40, true, "set 40"},
        {"writes 0", 10, true, 0, true, "set 0"},
        {"negative interval fires once", -5, true, INT_MIN, false, "kill"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fired.clear();
        const boost::shared_ptr<GUIMultiTimer> timer = MakeTimer();
        Callback a("a", fired);
        a.action = [&c](int, int* stored) {
            if (c.written != INT_MIN)
                *stored = c.written;
            return c.result;
        };
        timer->AddTimer(&a, 1, c.interval);
        if (c.interval > 0)
            clock.now += c.interval;
        EXPECT_TRUE(timer->OnTimer(kTimerId));
        EXPECT_EQ(1u, fired.size());
        EXPECT_EQ(c.kept, timer->HasTimer(&a, 1));
        EXPECT_EQ(c.armed, recorder.Last());
    }
}

TEST_F(GUIMultiTimerTest, CallbacksMayChangeTheTableDuringTheWalk) {
    const boost::shared_ptr<GUIMultiTimer> timer = MakeTimer();
    Callback a("a", fired);
    for (int id = 1; id <= 4; ++id)
        timer->AddTimer(&a, id, 0);
    a.action = [&](int id, int* stored) {
        switch (id) {
        case 1:  // removes a later timer and itself, adds a new one
            timer->RemoveTimer(&a, 3);
            timer->AddTimer(&a, 5, 0);
            timer->RemoveTimer(&a, 1);
            *stored = 99;  // written after its own removal: nothing to write to
            return true;
        case 2:  // replaces itself, then asks for the old one's end
            timer->RemoveTimer(&a, 2);
            timer->AddTimer(&a, 2, 50);
            return false;
        default:
            return true;
        }
    };
    EXPECT_TRUE(timer->OnTimer(kTimerId));
    EXPECT_EQ(std::vector<Firing>({{"a", 1, 0, 0}, {"a", 2, 0, 0}, {"a", 4, 0, 0}}), fired);
    EXPECT_FALSE(timer->HasTimer(&a, 1));
    EXPECT_TRUE(timer->HasTimer(&a, 2));  // the new one stays
    EXPECT_FALSE(timer->HasTimer(&a, 3));
    EXPECT_TRUE(timer->HasTimer(&a, 5));  // added during the walk: not fired in it

    fired.clear();
    a.action = nullptr;
    clock.now += 50;
    timer->OnTimer(kTimerId);
    EXPECT_EQ(std::vector<Firing>({{"a", 2, 50, 50}, {"a", 4, 50, 0}, {"a", 5, 50, 0}}), fired);

    // Removing every timer from inside the walk ends it cleanly.
    fired.clear();
    a.action = [&](int, int*) { return timer->RemoveTimers(&a), true; };
    EXPECT_TRUE(timer->OnTimer(kTimerId));
    EXPECT_EQ(1u, fired.size());
    EXPECT_EQ("kill", recorder.Last());
}

TEST_F(GUIMultiTimerTest, RemoveTimersLeavesOtherCallbacksTimers) {
    const boost::shared_ptr<GUIMultiTimer> timer = MakeTimer();
    Callback a("a", fired);
    Callback b("b", fired);
    timer->AddTimer(&a, 1, 10);
    timer->AddTimer(&a, 2, 10);
    timer->AddTimer(&b, 1, 70);
    timer->AddTimer(&b, 3, 80);
    EXPECT_TRUE(timer->RemoveTimers(&a));
    EXPECT_FALSE(timer->HasTimer(&a, 1));
    EXPECT_FALSE(timer->HasTimer(&a, 2));
    EXPECT_TRUE(timer->HasTimer(&b, 1));
    EXPECT_TRUE(timer->HasTimer(&b, 3));
    EXPECT_EQ("set 70", recorder.Last());
}

TEST_F(GUIMultiTimerTest, CallbackHeldInEveryForm) {
    const boost::shared_ptr<GUIMultiTimer> timer = MakeTimer();
    boost::shared_ptr<Callback> owned = boost::make_shared<Callback>("owned", fired);
    boost::shared_ptr<Callback> watched = boost::make_shared<Callback>("watched", fired);
    timer->AddTimer(owned, 1, 0);
    timer->AddTimer(boost::weak_ptr<ITimerCallback>(watched), 1, 0);
    EXPECT_TRUE(timer->HasTimer(owned.get(), 1));  // any form names the same timer
    owned.reset();    // the table keeps it alive
    watched.reset();  // gone: its timer ends without a call

    timer->OnTimer(kTimerId);
    EXPECT_EQ(std::vector<Firing>({{"owned", 1, 0, 0}}), fired);
    fired.clear();
    timer->OnTimer(kTimerId);
    EXPECT_EQ(1u, fired.size());
}

TEST_F(GUIMultiTimerTest, CallbackMayDropTheLastOwnerOfTheTimer) {
    boost::shared_ptr<GUIMultiTimer> timer = MakeTimer();
    GUIMultiTimer* raw = timer.get();
    Callback a("a", fired);
    timer->AddTimer(&a, 1, 0);
    timer->AddTimer(&a, 2, 0);
    a.action = [&](int, int*) { return timer.reset(), true; };
    raw->OnTimer(kTimerId);
    EXPECT_EQ(2u, fired.size());
    EXPECT_FALSE(timer);
}

// The real window timer: the callback runs from the window's WM_TIMER.
TEST(GUIMultiTimer, FiresFromTheWindowsTimerMessageOnItsThread) {
    boost::shared_ptr<GUIMultiTimer> timer;
    TestSupport::TestWindow window([&timer](UINT message, WPARAM wParam, LPARAM) {
        return message == WM_TIMER && timer && timer->OnTimer(wParam);
    });
    timer = boost::make_shared<GUIMultiTimer>(window.Handle(), kTimerId, 1);
    std::vector<Firing> fired;
    DWORD callbackThread = 0;
    Callback a("a", fired);
    a.action = [&callbackThread](int, int*) {
        callbackThread = ::GetCurrentThreadId();
        return false;
    };
    ASSERT_TRUE(timer->AddTimer(&a, 1, 0));
    ASSERT_TRUE(TestSupport::PumpMessagesUntil([&] { return !fired.empty(); }, 5000));
    EXPECT_EQ(::GetCurrentThreadId(), callbackThread);
    EXPECT_FALSE(timer->HasTimer(&a, 1));
    // The window timer was killed with the last timer: no further WM_TIMER.
    EXPECT_FALSE(::KillTimer(window.Handle(), kTimerId));
}

}  // namespace
