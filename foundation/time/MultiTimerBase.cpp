#include "foundation/time/MultiTimerBase.h"

#include "foundation/errors/Checks.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <vector>

namespace Time {

MultiTimerBase::MultiTimerBase(const ObjectRef<IIntervalTimer>& clock) : m_clock(clock), m_lastSerial(0) {
    if (!m_clock.Resolve())
        throw std::runtime_error("No interval timer provided");
}

bool MultiTimerBase::AddTimer(const TimerCallbackRef& callback, int id, int interval) {
    const void* object = callback.Resolve();
    CHECK_ERROR(object);
    const boost::shared_ptr<IIntervalTimer> clock = m_clock.Hold();
    CHECK_ERROR(clock);
    const Key key = {callback, object, id};
    const Table::iterator existing = m_timers.find(key);
    // The address of an expired callback may come back as a new object's:
    // that one gets a timer of its own.
    if (existing != m_timers.end() && existing->first.callback.Resolve() != object)
        m_timers.erase(existing);
    const Entry entry = {interval, clock->Now(), ++m_lastSerial};
    m_timers.insert(Table::value_type(key, entry));
    return _Rearm();
}

bool MultiTimerBase::RemoveTimer(const TimerCallbackRef& callback, int id) {
    const Key key = {callback, callback.Resolve(), id};
    if (key.object)
        m_timers.erase(key);
    return _Rearm();
}

bool MultiTimerBase::RemoveTimers(const TimerCallbackRef& callback) {
    const void* object = callback.Resolve();
    if (object) {
        const Key first = {callback, object, INT_MIN};
        const Table::iterator begin = m_timers.lower_bound(first);
        Table::iterator end = begin;
        while (end != m_timers.end() && end->first.object == object)
            ++end;
        m_timers.erase(begin, end);
    }
    return _Rearm();
}

bool MultiTimerBase::HasTimer(const TimerCallbackRef& callback, int id) {
    const Key key = {callback, callback.Resolve(), id};
    return key.object && m_timers.count(key) != 0;
}

bool MultiTimerBase::_Arm(int) {
    return false;
}

bool MultiTimerBase::_FireDueTimers() {
    // A callback may drop the last owner of this object (a dialog closing
    // from its own timer); the walk finishes on a live table.
    const boost::shared_ptr<MultiTimerBase> keepAlive = weak_from_this().lock();
    const boost::shared_ptr<IIntervalTimer> clock = m_clock.Hold();
    CHECK_ERROR(clock);

    // Callbacks may change the table, so the walk goes over the keys as they
    // stood and looks each one up again.
    std::vector<Key> keys;
    keys.reserve(m_timers.size());
    for (const Table::value_type& timer : m_timers)
        keys.push_back(timer.first);

    for (const Key& key : keys) {
        Table::iterator it = m_timers.find(key);
        if (it == m_timers.end())
            continue;
        const std::uint64_t now = clock->Now();
        const int elapsed = clock->Elapsed(it->second.start, now);
        if (elapsed < it->second.interval)
            continue;
        const boost::shared_ptr<ITimerCallback> callback = it->first.callback.Hold();
        if (!callback) {
            m_timers.erase(it);
            continue;
        }
        const Entry fired = it->second;
        // The callback gets a copy: it may remove its own timer while it runs.
        int interval = fired.interval;
        const bool keep = callback->OnTimer(key.id, elapsed, fired.interval, &interval);
        it = m_timers.find(key);
        if (it == m_timers.end() || it->second.serial != fired.serial)
            continue;
        if (keep && interval >= 0) {
            // Measured from before the call: time spent late is not carried over.
            it->second.interval = interval;
            it->second.start = now;
        } else {
            m_timers.erase(it);
        }
    }
    return _Rearm();
}

int MultiTimerBase::_UnitsUntilNextDue(const IIntervalTimer& clock) const {
    long long next = -1;
    for (const Table::value_type& timer : m_timers) {
        const long long remaining =
            std::max(0LL, static_cast<long long>(timer.second.interval) - clock.ElapsedSince(timer.second.start));
        if (next < 0 || remaining < next)
            next = remaining;
    }
    return static_cast<int>(std::min<long long>(next, INT_MAX));
}

bool MultiTimerBase::_Rearm() {
    const boost::shared_ptr<IIntervalTimer> clock = m_clock.Hold();
    CHECK_ERROR(clock);
    return _Arm(_UnitsUntilNextDue(*clock));
}

}  // namespace Time
