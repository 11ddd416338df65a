#pragma once
// ErrorCode: an HRESULT. Zero and positive values are success, negative ones
// failures.
#include <windows.h>

namespace ErrorHandling {

class ErrorCode {
public:
    constexpr ErrorCode(HRESULT hr = S_OK) noexcept : m_hr(hr) {}
    constexpr operator HRESULT() const noexcept { return m_hr; }
    constexpr HRESULT Value() const noexcept { return m_hr; }
    constexpr bool IsFailure() const noexcept { return m_hr < 0; }

    // The result of a BOOL-returning Win32 call: non-zero is success (0);
    // zero takes GetLastError() through FromWin32Error, so a failed call whose
    // last error is 0 counts as success.
    static ErrorCode FromWin32Result(BOOL result) noexcept;
    // A Win32 error v > 0 becomes 0x80070000 | (v & 0xFFFF); 0 and values that
    // are already negative as HRESULTs are taken unchanged.
    static ErrorCode FromWin32Error(DWORD error) noexcept;
    // FromWin32Error(GetLastError()).
    static ErrorCode FromLastError() noexcept;

private:
    HRESULT m_hr;
};

}  // namespace ErrorHandling
