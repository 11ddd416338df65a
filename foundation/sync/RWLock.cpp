#include "foundation/sync/RWLock.h"

#include "foundation/sync/CSLockImpl.h"
#include "foundation/sync/SRWLockImpl.h"

namespace Synchronization {
namespace {

std::unique_ptr<IRWLockImpl> MakeImpl() {
    const Impl::SRWFunctions& functions = Impl::CurrentSRWFunctions();
    if (functions.IsComplete())
        return std::make_unique<Impl::SRWLockImpl>(functions);
    return std::make_unique<Impl::CSLockImpl>();
}

}  // namespace

RWLock::RWLock(IRWLockImpl* impl) : m_pOwned(impl ? nullptr : MakeImpl()), m_pImpl(impl ? impl : m_pOwned.get()) {}

RWLock::~RWLock() = default;

}  // namespace Synchronization
