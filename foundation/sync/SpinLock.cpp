#include "foundation/sync/SpinLock.h"

namespace Synchronization {

void SpinLock::Lock() noexcept {
    if (!m_pWord)
        return;
    for (unsigned retries = 0; ::InterlockedCompareExchange(m_pWord, _Token, 0) != 0;) {
        ++retries;
        if (retries < 1000)
            ::SwitchToThread();
        else
            ::Sleep(1);
    }
}

LONG SpinLock::Unlock() noexcept {
    if (!m_pWord)
        return 0;
    const LONG previous = ::InterlockedCompareExchange(m_pWord, 0, _Token);
    m_pWord = nullptr;
    return previous;
}

}  // namespace Synchronization
