#include "foundation/sync/Event.h"

#include "foundation/errors/ErrorCode.h"
#include "foundation/errors/ReportingObject.h"

namespace Synchronization {

Event::~Event() {
    if (m_handle)
        ::CloseHandle(m_handle);
}

BOOL Event::Create(LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initiallySet, LPCWSTR name) {
    if (m_handle) {
        ::CloseHandle(m_handle);
        m_handle = nullptr;
    }
    m_handle = ::CreateEventW(security, manualReset, initiallySet, name);
    return m_handle != nullptr;
}

WaitResult& Event::Wait(WaitResult& result, DWORD timeoutMs) const {
    result = WaitResult();
    if (IsCancelled()) {
        result.isCancelled = 1;
        result.abandonedIndex = 0;
        result.object = m_handle;
        result.rawValue = WAIT_ABANDONED;
        return result;
    }
    const DWORD objectCount = 1;
    const DWORD raw = ::WaitForSingleObject(m_handle, timeoutMs);
    result.rawValue = raw;
    if (raw == WAIT_FAILED) {
        const ErrorHandling::ErrorCode code = ErrorHandling::ErrorCode::FromLastError();
        if (code.IsFailure())
            Reporting::GetModuleReportingObject().ReportAssertion("((GetLastError()))", &code);
    } else if (raw == WAIT_OBJECT_0 + objectCount) {
        result.isExtraSlot = 1;
    } else if (raw < WAIT_OBJECT_0 + objectCount) {
        result.signaledIndex = static_cast<LONG>(raw - WAIT_OBJECT_0);
        result.object = m_handle;
        result.isCancelled = IsCancelled() ? 1 : 0;
    } else if (raw >= WAIT_ABANDONED_0 && raw < WAIT_ABANDONED_0 + objectCount) {
        result.abandonedIndex = static_cast<LONG>(raw - WAIT_ABANDONED_0);
        result.object = m_handle;
        result.isCancelled = 1;
    }
    return result;
}

}  // namespace Synchronization
