#pragma once
// SpinLock: a scoped lock over a caller's 32-bit word (0 = free), for the
// one-time creation of process-wide objects. It is not recursive and has no
// time limit: hold it only around short, non-blocking work.
//
//   static volatile LONG s_lockWord = 0;
//   Synchronization::SpinLock lock(&s_lockWord);
#include <windows.h>

namespace Synchronization {

class SpinLock {
public:
    static constexpr LONG _Token = 1;

    // Takes the lock on `pWord`; a null word locks nothing.
    explicit SpinLock(volatile LONG* pWord) noexcept : m_pWord(pWord) { Lock(); }
    ~SpinLock() { Unlock(); }
    SpinLock(const SpinLock&) = delete;
    SpinLock& operator=(const SpinLock&) = delete;

    // Waits until the word was 0 and holds the token: SwitchToThread for the
    // first 999 retries, Sleep(1) from then on.
    void Lock() noexcept;
    // Puts 0 back when the word holds the token and forgets the word; returns
    // the word's previous value (0 with no word).
    LONG Unlock() noexcept;

private:
    volatile LONG* m_pWord;
};

}  // namespace Synchronization
