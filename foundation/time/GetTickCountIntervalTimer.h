#pragma once
// GetTickCountIntervalTimer: the system tick clock (milliseconds since boot)
// measured in units of a given number of milliseconds.
#include "foundation/time/IIntervalTimer.h"

namespace Time {

class GetTickCountIntervalTimer : public IIntervalTimer {
public:
    // unit: milliseconds per unit; below 1 throws std::runtime_error "Invalid unit".
    explicit GetTickCountIntervalTimer(int unit);

    // The 64-bit tick count: it does not wrap after 49.7 days as the 32-bit
    // one does, so intervals that span the wrap still measure right.
    std::uint64_t Now() const override;
    int ElapsedSince(std::uint64_t start) const override;
    // (end - start) / unit, truncated toward zero; a span beyond the 32-bit
    // range is held at its bound rather than cut to a wrong sign.
    int Elapsed(std::uint64_t start, std::uint64_t end) const override;

    int GetUnit() const noexcept { return m_unit; }

private:
    int m_unit;
};

}  // namespace Time
