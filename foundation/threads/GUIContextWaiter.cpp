#include "foundation/threads/GUIContextWaiter.h"

namespace ContextLib {

namespace {

const DWORD kLivenessCheckMs = 200;

}  // namespace

boost::shared_ptr<CommandWaiter> CommandWaiter::Create() {
    const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!event)
        return boost::shared_ptr<CommandWaiter>();
    return boost::shared_ptr<CommandWaiter>(new CommandWaiter(event));
}

CommandWaiter::~CommandWaiter() {
    ::CloseHandle(m_event);
}

bool CommandWaiter::_Move(State from, State to) noexcept {
    return ::InterlockedCompareExchange(&m_state, to, from) == from;
}

bool CommandWaiter::BeginRun() noexcept {
    return _Move(Queued, Running);
}

void CommandWaiter::Finish(bool ran) noexcept {
    if (_Move(Running, ran ? Ran : Failed) || (!ran && _Move(Queued, Failed)))
        ::SetEvent(m_event);
}

void CommandWaiter::Cancel() noexcept {
    if (_Move(Queued, Failed))
        ::SetEvent(m_event);
}

bool CommandWaiter::Wait(HWND window) noexcept {
    for (;;) {
        const DWORD result = ::WaitForSingleObject(m_event, kLivenessCheckMs);
        if (result == WAIT_OBJECT_0)
            return ::InterlockedCompareExchange(&m_state, Ran, Ran) == Ran;
        if (!::IsWindow(window) && _Move(Queued, Failed))
            return false;
        if (result == WAIT_FAILED)
            ::Sleep(kLivenessCheckMs);
    }
}

}  // namespace ContextLib
