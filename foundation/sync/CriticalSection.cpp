#include "foundation/sync/CriticalSection.h"

#include "foundation/sync/RaiseLastError.h"

namespace Synchronization {

CriticalSection::CriticalSection() {
    if (!::InitializeCriticalSectionAndSpinCount(&m_section, 0)) {
        Impl::RaiseLastError();
        // A failure without a last error: keep a usable section all the same.
        ::InitializeCriticalSection(&m_section);
    }
}

CriticalSection::~CriticalSection() {
    ::DeleteCriticalSection(&m_section);
}

}  // namespace Synchronization
