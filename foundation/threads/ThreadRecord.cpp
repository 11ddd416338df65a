#include "foundation/threads/ThreadRecord.h"

#include <process.h>

namespace ThreadLib {

bool ThreadRecord::IsRunning() const {
    return HasHandle() && ::WaitForSingleObject(m_handle.Get(), 0) == WAIT_TIMEOUT;
}

bool ThreadRecord::Create(Procedure procedure, void* parameter, unsigned stackSize) {
    unsigned id = 0;
    const uintptr_t handle = ::_beginthreadex(nullptr, stackSize, procedure, parameter, CREATE_SUSPENDED, &id);
    m_handle.Reset(reinterpret_cast<HANDLE>(handle));
    m_id = id;
    return HasHandle();
}

DWORD ThreadRecord::Resume() {
    if (!HasHandle() && !_OpenById())
        return kResumeFailed;
    return ::ResumeThread(m_handle.Get());
}

bool ThreadRecord::WaitForExit(DWORD timeout) {
    if (!HasHandle() && !_OpenById())
        return false;
    return ::WaitForSingleObject(m_handle.Get(), timeout) == WAIT_OBJECT_0;
}

void ThreadRecord::Clear() {
    m_handle.Reset();
    m_id = 0;
}

bool ThreadRecord::_OpenById() {
    // Id 0 names no thread; asking for it would only fail.
    m_handle.Reset(m_id != 0 ? ::OpenThread(kThreadAllAccess, FALSE, m_id) : nullptr);
    return HasHandle();
}

}  // namespace ThreadLib
