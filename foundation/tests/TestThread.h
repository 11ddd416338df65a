#pragma once
// Threads and signals for tests of locks: every wait is bounded, and a thread
// that hangs is left behind rather than waited for (the test has failed).
#include <windows.h>

#include <functional>
#include <thread>

namespace FoundationTests {

// A manual-reset event.
class Signal {
public:
    Signal() : m_handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Signal() { CloseHandle(m_handle); }
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    void Set() { SetEvent(m_handle); }
    bool Wait(DWORD timeoutMs) const { return WaitForSingleObject(m_handle, timeoutMs) == WAIT_OBJECT_0; }
    bool IsSet() const { return Wait(0); }

private:
    HANDLE m_handle;
};

class TestThread {
public:
    explicit TestThread(std::function<void()> body)
        : m_thread([this, body] {
              body();
              m_finished.Set();
          }) {}
    ~TestThread() {
        if (m_finished.Wait(10000))
            m_thread.join();
        else
            m_thread.detach();
    }
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;

    bool WaitFinished(DWORD timeoutMs) const { return m_finished.Wait(timeoutMs); }

private:
    Signal m_finished;
    std::thread m_thread;
};

// Long enough for a thread that is not blocked to get through a lock.
const DWORD kBlockedProbeMs = 200;
// Far more than any step of these tests needs; reached only when one hangs.
const DWORD kHangMs = 10000;

}  // namespace FoundationTests
