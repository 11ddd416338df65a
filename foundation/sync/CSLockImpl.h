#pragma once
// The reader/writer lock over a critical section, for systems without slim
// reader/writer locks: shared holders exclude each other too, and the owning
// thread may enter again.
#include "foundation/sync/CriticalSection.h"
#include "foundation/sync/IRWLockImpl.h"

namespace Synchronization {
namespace Impl {

class CSLockImpl : public IRWLockImpl {
public:
    // A failed creation raises the last error (see RaiseLastError.h).
    CSLockImpl() = default;

    void LockShared() override { m_section.Enter(); }
    void UnlockShared() override { m_section.Leave(); }
    void LockExclusive() override { m_section.Enter(); }
    void UnlockExclusive() override { m_section.Leave(); }

private:
    CriticalSection m_section;
};

}  // namespace Impl
}  // namespace Synchronization
