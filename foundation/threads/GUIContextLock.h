#pragma once
// The critical section of the GUI context's queue and its scoped lock.
#include "foundation/errors/ErrorCode.h"

#include <afxexcept.h>
#include <windows.h>

namespace ContextLib {

class CriticalSection {
public:
    // A section that cannot be made raises the last error with MFC's
    // exception for HRESULTs (E_FAIL when the last error is 0).
    CriticalSection() {
        if (!::InitializeCriticalSectionAndSpinCount(&m_section, 0)) {
            const ErrorHandling::ErrorCode code = ErrorHandling::ErrorCode::FromLastError();
            AfxThrowOleException(code.IsFailure() ? code.Value() : E_FAIL);
        }
    }
    ~CriticalSection() { ::DeleteCriticalSection(&m_section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() noexcept { ::EnterCriticalSection(&m_section); }
    void Leave() noexcept { ::LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CriticalSection& section) noexcept : m_section(section) { m_section.Enter(); }
    ~CriticalSectionLock() { m_section.Leave(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CriticalSection& m_section;
};

}  // namespace ContextLib
