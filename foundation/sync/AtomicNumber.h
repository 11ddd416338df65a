#pragma once
// A 32-bit number changed only by interlocked operations; its users may also
// work on its address directly with the Interlocked* calls.
#include <windows.h>

namespace Synchronization {

template <class T>
struct AtomicAutoPolicy {
    static_assert(sizeof(T) == sizeof(LONG), "interlocked operations on 32-bit numbers only");
    typedef volatile LONG Storage;

    static T Load(const Storage& storage) noexcept {
        return static_cast<T>(::InterlockedCompareExchange(const_cast<Storage*>(&storage), 0, 0));
    }
    // A read of a number that others may change with interlocked calls; the
    // number may lie in read-only memory, so nothing is written to it.
    static T LoadFrom(const volatile T* pValue) noexcept {
        ::MemoryBarrier();
        const T value = *pValue;
        ::MemoryBarrier();
        return value;
    }
};

template <class T, class Policy = AtomicAutoPolicy<T>>
class AtomicNumberT {
public:
    // Takes the number at `pInitial` (0 for null).
    explicit AtomicNumberT(const T* pInitial) noexcept : m_value(pInitial ? Policy::LoadFrom(pInitial) : 0) {}
    AtomicNumberT(const AtomicNumberT&) = delete;
    AtomicNumberT& operator=(const AtomicNumberT&) = delete;

    T Load() const noexcept { return Policy::Load(m_value); }
    typename Policy::Storage* Address() noexcept { return &m_value; }

private:
    typename Policy::Storage m_value;
};

}  // namespace Synchronization
