#pragma once
// ATL's exception: an HRESULT, thrown by value.
#include <windows.h>

namespace ATL {

class CAtlException {
public:
    CAtlException(HRESULT hr = E_FAIL) noexcept : m_hr(hr) {}
    operator HRESULT() const noexcept { return m_hr; }

    HRESULT m_hr;
};

[[noreturn]] inline void AtlThrow(HRESULT hr) { throw CAtlException(hr); }

// Throws the thread's last Win32 error as an HRESULT (E_FAIL when it is 0).
[[noreturn]] inline void AtlThrowLastWin32() {
    DWORD error = GetLastError();
    AtlThrow(error ? HRESULT_FROM_WIN32(error) : E_FAIL);
}

}  // namespace ATL

using ATL::CAtlException;
