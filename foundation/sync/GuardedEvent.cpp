#include "foundation/sync/GuardedEvent.h"

#include "foundation/sync/RaiseLastError.h"

namespace Synchronization {

GuardedEvent::GuardedEvent(bool initiallySet) {
    if (!m_event.Create(nullptr, TRUE, initiallySet ? TRUE : FALSE, nullptr))
        Impl::RaiseLastError();
}

void GuardedEvent::SetIfNotSet() {
    CriticalSection::Scope lock(m_section);
    if (!IsSet())
        m_event.Set();
}

void GuardedEvent::ResetIfSet() {
    CriticalSection::Scope lock(m_section);
    if (IsSet())
        ::ResetEvent(m_event.Handle());
}

bool GuardedEvent::IsSet() const noexcept {
    return ::WaitForSingleObject(m_event.Handle(), 0) == WAIT_OBJECT_0;
}

}  // namespace Synchronization
