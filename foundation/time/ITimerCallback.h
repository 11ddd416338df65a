#pragma once
// ITimerCallback: what a timer of a multi-timer calls when it falls due.
namespace Time {

class ITimerCallback {
public:
    virtual ~ITimerCallback() = default;
    virtual void _Reserved() {}
    // Called on the thread that drives the multi-timer with the timer's id,
    // the units since it was last started and its interval. Returning false
    // ends the timer; the interval may be changed through storedInterval, and
    // a negative value written there ends the timer too.
    virtual bool OnTimer(int id, int elapsed, int interval, int* storedInterval) = 0;
};

}  // namespace Time
