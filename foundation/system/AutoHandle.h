#pragma once
// Owner of one Win32 handle value: closes it on destruction when the
// validator accepts it. Not copyable; objects that share a handle hold the
// owner through a shared pointer.
#include <windows.h>

namespace STLHelpers {

// A handle worth closing: neither null nor INVALID_HANDLE_VALUE.
struct WinHandleValidator {
    static bool IsValid(HANDLE handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
};

template <class T, BOOL(WINAPI* Close)(T), class Validator>
class AutoHandleT {
public:
    explicit AutoHandleT(T handle = T()) noexcept : m_handle(handle) {}
    ~AutoHandleT() { Reset(); }
    AutoHandleT(const AutoHandleT&) = delete;
    AutoHandleT& operator=(const AutoHandleT&) = delete;

    T Get() const noexcept { return m_handle; }
    bool IsValid() const noexcept { return Validator::IsValid(m_handle); }

    // Closes the held handle (when valid) and takes the new one.
    void Reset(T handle = T()) noexcept {
        if (Validator::IsValid(m_handle))
            Close(m_handle);
        m_handle = handle;
    }

private:
    T m_handle;
};

typedef AutoHandleT<HANDLE, ::CloseHandle, WinHandleValidator> AutoHandle;
typedef AutoHandleT<HANDLE, ::FindClose, WinHandleValidator> AutoFindHandle;

}  // namespace STLHelpers
