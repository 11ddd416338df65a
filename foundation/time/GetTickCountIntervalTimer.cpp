#include "foundation/time/GetTickCountIntervalTimer.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace Time {

GetTickCountIntervalTimer::GetTickCountIntervalTimer(int unit) : m_unit(unit) {
    if (unit < 1)
        throw std::runtime_error("Invalid unit");
}

std::uint64_t GetTickCountIntervalTimer::Now() const {
    return ::GetTickCount64();
}

int GetTickCountIntervalTimer::ElapsedSince(std::uint64_t start) const {
    return Elapsed(start, Now());
}

int GetTickCountIntervalTimer::Elapsed(std::uint64_t start, std::uint64_t end) const {
    const std::int64_t units = static_cast<std::int64_t>(end - start) / m_unit;
    if (units > INT_MAX)
        return INT_MAX;
    if (units < INT_MIN)
        return INT_MIN;
    return static_cast<int>(units);
}

}  // namespace Time
