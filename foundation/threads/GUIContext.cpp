#include "foundation/threads/GUIContext.h"

#include <stdexcept>

namespace ContextLib {

boost::shared_ptr<GUIContext> CreateGUIContext(ICommandTarget* owner, HWND window, UINT message) {
    if (!::IsWindow(window))
        throw std::runtime_error("Invalid window");
    return boost::shared_ptr<GUIContext>(new GUIContext(owner, window, message));
}

GUIContext::GUIContext(ICommandTarget* owner, HWND window, UINT message)
    : m_window(window), m_message(message), m_windowThreadId(::GetWindowThreadProcessId(window, nullptr)) {
    SetOwner(owner);
}

bool GUIContext::Post(const CommandPtr& command, ICommandTarget* target, bool asynchronous) {
    if (!command)
        return false;
    if (!asynchronous && ::GetCurrentThreadId() == m_windowThreadId)
        return false;
    const HWND window = m_window;
    boost::shared_ptr<CommandWaiter> waiter;
    if (!_Queue(command, target, asynchronous, waiter))
        return false;
    // Another thread may destroy the context from here on: only locals.
    return !waiter || waiter->Wait(window);
}

bool GUIContext::QueryFlag() {
    return false;
}

bool GUIContext::HandleMessage(UINT message) {
    if (message != m_message)
        return false;
    // A command may drop the context's last owner (its window closing); the
    // context lives until this loop is done.
    const boost::shared_ptr<GUIContext> keepAlive = shared_from_this();
    while (_RunNext()) {
    }
    return true;
}

bool GUIContext::_Wake() noexcept {
    return ::PostMessageW(m_window, m_message, 0, 0) != FALSE;
}

}  // namespace ContextLib
