#pragma once
// The kernel handles of the worker threads: the thread handle and the events of
// the start and stop policies.
#include <windows.h>

namespace ThreadLib {

// Owns one kernel handle and closes it. Null and INVALID_HANDLE_VALUE both mean
// "no handle": a failed _beginthreadex or OpenThread stores either.
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle) : m_handle(handle) {}
    ~OwnedHandle() { Reset(); }

    OwnedHandle(OwnedHandle&& other) noexcept : m_handle(other.Release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept;
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    static bool IsValidHandle(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return IsValidHandle(m_handle); }
    // Closes the held handle (when valid) and takes the new one, valid or not.
    void Reset(HANDLE handle = nullptr);
    HANDLE Release();

private:
    HANDLE m_handle = nullptr;
};

// A manual-reset, unsignalled, unnamed event with default security. Throws
// std::system_error with the last error when it cannot be made: a worker
// without its events could never be told to stop or be found ready.
OwnedHandle CreateManualResetEvent();

}  // namespace ThreadLib
