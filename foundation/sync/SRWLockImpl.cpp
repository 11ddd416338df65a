#include "foundation/sync/SRWLockImpl.h"

#include <stdexcept>

namespace Synchronization {
namespace Impl {

SRWLockImpl::SRWLockImpl(const SRWFunctions& functions) : m_functions(functions), m_lock() {
    if (!m_functions.IsComplete())
        throw std::runtime_error("Unsupported");
    m_functions.initialize(&m_lock);
}

void SRWLockImpl::LockShared() {
    m_functions.acquireShared(&m_lock);
}

void SRWLockImpl::UnlockShared() {
    m_functions.releaseShared(&m_lock);
}

void SRWLockImpl::LockExclusive() {
    m_functions.acquireExclusive(&m_lock);
}

void SRWLockImpl::UnlockExclusive() {
    m_functions.releaseExclusive(&m_lock);
}

}  // namespace Impl
}  // namespace Synchronization
