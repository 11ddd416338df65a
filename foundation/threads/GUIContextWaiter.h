#pragma once
// CommandWaiter: where a synchronous poster meets the thread that runs its
// command. The poster and the queue entry share it, so its event is closed
// only when both are done with it; whoever ends the command's wait first
// (run, removal, the context's end, the window's end) decides the outcome.
//
// Threads: any; the state is changed with interlocked operations only.
#include <windows.h>

#include <boost/shared_ptr.hpp>

namespace ContextLib {

class CommandWaiter {
public:
    // Null when no event can be made.
    static boost::shared_ptr<CommandWaiter> Create();
    ~CommandWaiter();
    CommandWaiter(const CommandWaiter&) = delete;
    CommandWaiter& operator=(const CommandWaiter&) = delete;

    // The running thread claims the command; false when the wait has already
    // ended and the command must not run.
    bool BeginRun() noexcept;
    // The command has run (ran true) or failed on the way; wakes the poster.
    void Finish(bool ran) noexcept;
    // Ends the wait with a failure unless the command has begun running.
    void Cancel() noexcept;

    // Waits until the command has run (true) or its wait was ended otherwise
    // (false). The wait is checked a few times a second: once the window is
    // gone, a command still waiting in the queue is given up, since nobody is
    // left to run it.
    bool Wait(HWND window) noexcept;

private:
    enum State : LONG { Queued, Running, Ran, Failed };

    explicit CommandWaiter(HANDLE event) noexcept : m_event(event), m_state(Queued) {}
    bool _Move(State from, State to) noexcept;

    HANDLE m_event;
    volatile LONG m_state;
};

}  // namespace ContextLib
