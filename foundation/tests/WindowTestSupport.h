#pragma once
// Test helpers for code that runs on a window's thread: a hidden window with a
// message hook, bounded message pumping, and a thread whose join is bounded.
#include <windows.h>

#include <functional>
#include <memory>

namespace TestSupport {

// A hidden top-level window of the calling thread. The hook sees every
// message first; returning true consumes it.
class TestWindow {
public:
    typedef std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)> Hook;

    explicit TestWindow(Hook hook = Hook());
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const noexcept { return m_window; }
    void SetHook(Hook hook) { m_hook = std::move(hook); }
    // Destroys the window now (the destructor then has nothing to do).
    void Destroy();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window;
    Hook m_hook;
};

// Dispatches the calling thread's messages until done() holds or the time is
// up; returns done(). done() is checked before each wait.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches the messages queued now and returns how many it dispatched.
int PumpQueuedMessages();
// Waits, dispatching nothing, until done() holds or the time is up; returns done().
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// A thread running one function. Join waits at most the given time; the
// destructor waits a bounded time too and ends a thread that is stuck, so a
// failing test never hangs the run.
class BoundedThread {
public:
    explicit BoundedThread(std::function<void()> body);
    ~BoundedThread();
    BoundedThread(const BoundedThread&) = delete;
    BoundedThread& operator=(const BoundedThread&) = delete;

    bool Join(DWORD timeoutMs);
    bool HasEnded() const;
    DWORD Id() const noexcept { return m_id; }

private:
    static DWORD WINAPI ThreadProc(void* parameter);

    std::function<void()> m_body;
    HANDLE m_thread;
    DWORD m_id;
};

}  // namespace TestSupport
