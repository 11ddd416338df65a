#pragma once
// A reader/writer lock implementation: shared holders may run together,
// an exclusive holder runs alone.
namespace Synchronization {

class IRWLockImpl {
public:
    virtual ~IRWLockImpl() = default;
    virtual void _Reserved() {}
    virtual void LockShared() = 0;
    virtual void UnlockShared() = 0;
    virtual void LockExclusive() = 0;
    virtual void UnlockExclusive() = 0;
};

}  // namespace Synchronization
