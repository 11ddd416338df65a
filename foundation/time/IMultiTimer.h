#pragma once
// IMultiTimer: many timers, each named by a callback object and an id, over
// one underlying timer.
#include "foundation/time/ITimerCallback.h"
#include "foundation/time/ObjectRef.h"

namespace Time {

typedef ObjectRef<ITimerCallback> TimerCallbackRef;

class IMultiTimer {
public:
    virtual ~IMultiTimer() = default;
    virtual void _Reserved() {}
    // Each result is whether re-arming the underlying timer succeeded. The
    // interface's own bodies throw std::runtime_error "Pure virtual function call".

    // Adds the timer (callback, id) with an interval in units, started now.
    // A timer that exists already keeps its interval and start. A negative
    // interval fires once, at the next processing.
    virtual bool AddTimer(const TimerCallbackRef& callback, int id, int interval);
    virtual bool RemoveTimer(const TimerCallbackRef& callback, int id);
    // Removes every timer of the callback, whatever its id.
    virtual bool RemoveTimers(const TimerCallbackRef& callback);
    // Whether the timer (callback, id) exists.
    virtual bool HasTimer(const TimerCallbackRef& callback, int id);
};

}  // namespace Time
