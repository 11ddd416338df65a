#pragma once
// RWLock: the reader/writer lock the program's objects own. Built without an
// implementation it uses a slim reader/writer lock when the system has one,
// else a critical section (with which shared and exclusive are the same).
//
//   Synchronization::RWLock m_lock;
//   { Synchronization::RWLock::SharedScope reading(m_lock); ... }
//
// Threads: any thread may lock; the lock guards whatever its owner says.
#include "foundation/sync/IRWLockImpl.h"

#include <memory>

namespace Synchronization {

class RWLock {
public:
    // `impl` is used and not owned; null lets the lock choose and own one.
    explicit RWLock(IRWLockImpl* impl = nullptr);
    ~RWLock();
    RWLock(const RWLock&) = delete;
    RWLock& operator=(const RWLock&) = delete;

    void LockShared() { m_pImpl->LockShared(); }
    void UnlockShared() { m_pImpl->UnlockShared(); }
    void LockExclusive() { m_pImpl->LockExclusive(); }
    void UnlockExclusive() { m_pImpl->UnlockExclusive(); }

    IRWLockImpl* GetImpl() const noexcept { return m_pImpl; }

    class SharedScope {
    public:
        explicit SharedScope(RWLock& lock) : m_lock(lock) { m_lock.LockShared(); }
        ~SharedScope() { m_lock.UnlockShared(); }
        SharedScope(const SharedScope&) = delete;
        SharedScope& operator=(const SharedScope&) = delete;

    private:
        RWLock& m_lock;
    };

    class ExclusiveScope {
    public:
        explicit ExclusiveScope(RWLock& lock) : m_lock(lock) { m_lock.LockExclusive(); }
        ~ExclusiveScope() { m_lock.UnlockExclusive(); }
        ExclusiveScope(const ExclusiveScope&) = delete;
        ExclusiveScope& operator=(const ExclusiveScope&) = delete;

    private:
        RWLock& m_lock;
    };

private:
    std::unique_ptr<IRWLockImpl> m_pOwned;
    IRWLockImpl* m_pImpl;
};

}  // namespace Synchronization
