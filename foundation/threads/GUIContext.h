#pragma once
// GUIContext: runs commands on the thread that owns a window. A post queues
// the command and posts the context's message (wParam 0, lParam 0) to the
// window; the window's procedure hands every message number to
// HandleMessage, which runs the queued commands there.
//
//   context = ContextLib::CreateGUIContext(this, m_hWnd, 0xD252);
//   // window procedure:
//   if (context && context->HandleMessage(message)) return 0;
//
// Threads: see ThreadContextImpl. The window and message never change.
#include "foundation/threads/ContextBase.h"
#include "foundation/threads/IGUIContext.h"
#include "foundation/threads/ThreadContextImpl.h"

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

namespace ContextLib {

class GUIContext;

// owner: the default target, may be null. A window that does not exist
// throws std::runtime_error "Invalid window".
boost::shared_ptr<GUIContext> CreateGUIContext(ICommandTarget* owner, HWND window, UINT message);

class GUIContext : public ThreadLib::ThreadContextImpl<GUIContext, ContextBase<IGUIContext>>,
                   public boost::enable_shared_from_this<GUIContext> {
public:
    // A synchronous post from the window's own thread gives false at once and
    // queues nothing (the thread would wait for itself); such a caller runs
    // the command itself. A synchronous post waits until the command has run
    // on the window's thread, until it is removed or the context destroyed
    // (false), or until the window is gone while it still waits (false).
    bool Post(const CommandPtr& command, ICommandTarget* target, bool asynchronous) override;
    // Always false for a GUI context.
    bool QueryFlag() override;
    // For the context's message: runs the waiting commands one after another
    // until none is left or the context is paused, then true. Other messages:
    // false. An exception of a target passes to the caller.
    bool HandleMessage(UINT message) override;

    HWND GetWindow() const noexcept { return m_window; }

private:
    friend boost::shared_ptr<GUIContext> CreateGUIContext(ICommandTarget*, HWND, UINT);
    friend class ThreadLib::ThreadContextImpl<GUIContext, ContextBase<IGUIContext>>;

    GUIContext(ICommandTarget* owner, HWND window, UINT message);

    // Posts the context's message to the window.
    bool _Wake() noexcept;

    const HWND m_window;
    const UINT m_message;
    const DWORD m_windowThreadId;
};

}  // namespace ContextLib
