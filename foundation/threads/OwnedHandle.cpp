#include "foundation/threads/OwnedHandle.h"

#include <system_error>

namespace ThreadLib {

OwnedHandle& OwnedHandle::operator=(OwnedHandle&& other) noexcept {
    if (this != &other)
        Reset(other.Release());
    return *this;
}

void OwnedHandle::Reset(HANDLE handle) {
    if (IsValid())
        ::CloseHandle(m_handle);
    m_handle = handle;
}

HANDLE OwnedHandle::Release() {
    HANDLE handle = m_handle;
    m_handle = nullptr;
    return handle;
}

OwnedHandle CreateManualResetEvent() {
    OwnedHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event.IsValid())
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateEventW");
    return event;
}

}  // namespace ThreadLib
