#pragma once
// The built-byte pattern for process-wide objects created on first use: the
// first callers build under a spin lock; once the build succeeded, the byte
// is set and later callers skip the lock.
//
//   static Synchronization::BuiltOnce s_once;   // constant-initialised
//   s_once.Run([] { ...build...; return true; });
#include "foundation/sync/SpinLock.h"

#include <atomic>

namespace Synchronization {

class BuiltOnce {
public:
    constexpr BuiltOnce() noexcept = default;
    BuiltOnce(const BuiltOnce&) = delete;
    BuiltOnce& operator=(const BuiltOnce&) = delete;

    // Runs `build` (returning bool) unless a run already returned true. An
    // exception or false leaves the object unbuilt for the next caller.
    template <class Build>
    bool Run(Build&& build) {
        if (m_built.load(std::memory_order_acquire))
            return true;
        SpinLock lock(&m_lockWord);
        if (m_built.load(std::memory_order_relaxed))
            return true;
        if (!build())
            return false;
        m_built.store(true, std::memory_order_release);
        return true;
    }

    bool IsBuilt() const noexcept { return m_built.load(std::memory_order_acquire); }

private:
    volatile LONG m_lockWord = 0;
    std::atomic<bool> m_built{false};
};

}  // namespace Synchronization
