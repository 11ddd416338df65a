#pragma once
// IIntervalTimer: a clock that measures elapsed time in a unit of its own.
#include <cstdint>

namespace Time {

class IIntervalTimer {
public:
    virtual ~IIntervalTimer() = default;
    virtual void _Reserved() {}
    // The current tick value.
    virtual std::uint64_t Now() const = 0;
    // Units from start until Now().
    virtual int ElapsedSince(std::uint64_t start) const = 0;
    // Units from start to end.
    virtual int Elapsed(std::uint64_t start, std::uint64_t end) const = 0;
};

}  // namespace Time
