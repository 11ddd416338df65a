#pragma once
// The owner of one CRITICAL_SECTION (spin count 0) and its scoped entry.
#include <windows.h>

namespace Synchronization {

class CriticalSection {
public:
    // A failed creation raises the last error (see RaiseLastError.h).
    CriticalSection();
    ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() noexcept { ::EnterCriticalSection(&m_section); }
    void Leave() noexcept { ::LeaveCriticalSection(&m_section); }

    class Scope {
    public:
        explicit Scope(CriticalSection& section) noexcept : m_section(section) { m_section.Enter(); }
        ~Scope() { m_section.Leave(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        CriticalSection& m_section;
    };

private:
    CRITICAL_SECTION m_section;
};

}  // namespace Synchronization
