#include "foundation/time/IMultiTimer.h"

#include <stdexcept>

namespace Time {

bool IMultiTimer::AddTimer(const TimerCallbackRef&, int, int) {
    throw std::runtime_error("Pure virtual function call");
}

bool IMultiTimer::RemoveTimer(const TimerCallbackRef&, int) {
    throw std::runtime_error("Pure virtual function call");
}

bool IMultiTimer::RemoveTimers(const TimerCallbackRef&) {
    throw std::runtime_error("Pure virtual function call");
}

bool IMultiTimer::HasTimer(const TimerCallbackRef&, int) {
    throw std::runtime_error("Pure virtual function call");
}

}  // namespace Time
