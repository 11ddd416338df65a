#pragma once
// MultiTimerBase: the table of timers of a multi-timer. It works out which
// timers are due and when the next one falls due; a derived class arms the
// one underlying timer (_Arm) and calls _FireDueTimers when it expires.
//
// Threads: single-threaded. Every operation and every callback runs on the
// thread that drives the timer (a window's thread); the table has no lock.
#include "foundation/time/IIntervalTimer.h"
#include "foundation/time/IMultiTimer.h"

#include <boost/enable_shared_from_this.hpp>

#include <cstdint>
#include <functional>
#include <map>

namespace Time {

class MultiTimerBase : public IMultiTimer, public boost::enable_shared_from_this<MultiTimerBase> {
public:
    // The clock the intervals are measured with; one that resolves to no
    // object throws std::runtime_error "No interval timer provided".
    explicit MultiTimerBase(const ObjectRef<IIntervalTimer>& clock);

    // A callback that resolves to no object is refused (false).
    bool AddTimer(const TimerCallbackRef& callback, int id, int interval) override;
    bool RemoveTimer(const TimerCallbackRef& callback, int id) override;
    bool RemoveTimers(const TimerCallbackRef& callback) override;
    bool HasTimer(const TimerCallbackRef& callback, int id) override;

    // Arms the underlying timer to expire in `units`; -1 stops it. The base
    // has no timer: false.
    virtual bool _Arm(int units);

protected:
    // Fires every due timer once, in table order, then re-arms. Callbacks may
    // add and remove timers, their own included; a timer added during the
    // walk waits for the next one. A timer whose callback object is gone is
    // removed without a call.
    bool _FireDueTimers();

private:
    // Timers are ordered by the callback object's address, taken when the
    // timer is added so the order holds even after a weak callback expired.
    struct Key {
        TimerCallbackRef callback;
        const void* object;
        int id;
    };
    struct KeyLess {
        bool operator()(const Key& a, const Key& b) const noexcept {
            return a.object != b.object ? std::less<const void*>()(a.object, b.object) : a.id < b.id;
        }
    };
    struct Entry {
        int interval;
        std::uint64_t start;
        // Tells a timer from one added again under the same key meanwhile.
        unsigned serial;
    };
    typedef std::map<Key, Entry, KeyLess> Table;

    // Units until the next timer falls due (0 when one is overdue), -1 for none.
    int _UnitsUntilNextDue(const IIntervalTimer& clock) const;
    bool _Rearm();

    ObjectRef<IIntervalTimer> m_clock;
    Table m_timers;
    unsigned m_lastSerial;
};

}  // namespace Time
