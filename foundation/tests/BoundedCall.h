#pragma once
// Calls that might block for ever (stopping and destroying workers) run on a
// thread of their own. One that has not returned within kHangLimitMs is a hang:
// it is reported and the test executable ends, instead of blocking the run.
#include "foundation/threads/OwnedHandle.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

namespace ThreadTests {

constexpr DWORD kHangLimitMs = 20000;

class BoundedCall {
public:
    BoundedCall(std::string what, std::function<void()> call) : m_what(std::move(what)), m_call(std::move(call)) {
        m_thread.Reset(::CreateThread(nullptr, 0, &BoundedCall::_Proc, this, 0, nullptr));
        if (!m_thread.IsValid())
            _Abort("could not start the thread for");
    }
    ~BoundedCall() {
        if (!ReturnedWithin(kHangLimitMs))
            _Abort("hung:");
    }
    BoundedCall(const BoundedCall&) = delete;
    BoundedCall& operator=(const BoundedCall&) = delete;

    bool ReturnedWithin(DWORD timeout) const { return ::WaitForSingleObject(m_thread.Get(), timeout) == WAIT_OBJECT_0; }

private:
    static DWORD WINAPI _Proc(void* parameter) {
        static_cast<BoundedCall*>(parameter)->m_call();
        return 0;
    }
    [[noreturn]] void _Abort(const char* why) const {
        std::fprintf(stderr, "\n*** %s %s\n", why, m_what.c_str());
        std::fflush(stdout);
        std::fflush(stderr);
        ::TerminateProcess(::GetCurrentProcess(), 3);
        for (;;) ::Sleep(INFINITE);
    }

    std::string m_what;
    std::function<void()> m_call;
    ThreadLib::OwnedHandle m_thread;
};

// Runs the call and returns once it has returned (or ends the run on a hang).
inline void RunBounded(std::string what, std::function<void()> call) {
    BoundedCall bounded(std::move(what), std::move(call));
}

inline bool IsSignalled(HANDLE handle, DWORD timeout) { return ::WaitForSingleObject(handle, timeout) == WAIT_OBJECT_0; }

// The exit code of an ended thread, STILL_ACTIVE while it runs.
inline DWORD ExitCodeOf(HANDLE thread) {
    DWORD code = 0;
    return ::GetExitCodeThread(thread, &code) ? code : 0xDEADBEEF;
}

}  // namespace ThreadTests
