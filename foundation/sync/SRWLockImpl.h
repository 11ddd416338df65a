#pragma once
// The reader/writer lock over a slim reader/writer lock.
#include "foundation/sync/IRWLockImpl.h"
#include "foundation/sync/SRWFunctions.h"

namespace Synchronization {
namespace Impl {

class SRWLockImpl : public IRWLockImpl {
public:
    // Throws std::exception "Unsupported" when the table is not complete.
    explicit SRWLockImpl(const SRWFunctions& functions = CurrentSRWFunctions());
    SRWLockImpl(const SRWLockImpl&) = delete;
    SRWLockImpl& operator=(const SRWLockImpl&) = delete;

    void LockShared() override;
    void UnlockShared() override;
    void LockExclusive() override;
    void UnlockExclusive() override;

private:
    // The table the lock was built with: a lock keeps working after a test
    // swapped the table that new locks see.
    const SRWFunctions& m_functions;
    SRWLOCK m_lock;
};

}  // namespace Impl
}  // namespace Synchronization
