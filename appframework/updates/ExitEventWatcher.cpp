#include "appframework/updates/ExitEventWatcher.h"

#include "appframework/product/ProductInfo.h"

#include <afxwin.h>

namespace ApplicationFramework {

namespace {

// Only the handle leaves the application object: the GUI thread may be
// destroying the window object while a thread-pool thread asks for it.
HWND CurrentMainWindowHandle() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return nullptr;
    CWnd* pMainWnd = pApp->m_pMainWnd;
    return pMainWnd == nullptr ? nullptr : pMainWnd->m_hWnd;
}

std::wstring ExitEventName() {
    const ProductInfo* pInfo = ProductInfo::GetCurrent();
    return pInfo == nullptr ? std::wstring() : pInfo->ExpandPlaceholders(L"{ProductName}_ExitEvent");
}

}  // namespace

void ExitEventWatcher::Install() {
    // Made on first use, thread-safely, and destroyed with the other statics.
    static ExitEventWatcher watcher;
}

ExitEventWatcher::ExitEventWatcher() {
    const std::wstring name = ExitEventName();
    // Auto-reset: one signal closes the program once. When the Updater made
    // the event first, this opens the same one.
    m_event = ::CreateEventW(nullptr, FALSE, FALSE, name.empty() ? nullptr : name.c_str());
    if (m_event == nullptr)
        return;
    auto pContext = std::make_unique<WaitContext>(WaitContext{m_event, false, this});
    HANDLE wait = nullptr;
    if (::RegisterWaitForSingleObject(&wait, m_event, &ExitEventWatcher::_WaitCallback, pContext.get(), INFINITE,
                                      m_poolFlags)) {
        Synchronization::CriticalSection::Scope lock(m_section);
        m_waits[wait] = std::move(pContext);
    }
}

ExitEventWatcher::~ExitEventWatcher() {
    {
        Synchronization::CriticalSection::Scope lock(m_section);
        for (auto& entry : m_waits) {
            // INVALID_HANDLE_VALUE waits for a callback in progress, which
            // still uses its context.
            while (!::UnregisterWaitEx(entry.first, INVALID_HANDLE_VALUE) && ::GetLastError() == ERROR_IO_PENDING)
                ::Sleep(10);
            entry.second.reset();
        }
        m_waits.clear();
    }
    if (m_event != nullptr)
        ::CloseHandle(m_event);
}

void CALLBACK ExitEventWatcher::_WaitCallback(void* parameter, BOOLEAN timedOut) {
    auto* pContext = static_cast<WaitContext*>(parameter);
    pContext->timedOut = timedOut != FALSE;
    try {
        pContext->pWatcher->OnSignaled(pContext);
    } catch (...) {
        // Nothing may leave a thread-pool callback.
    }
}

void ExitEventWatcher::OnSignaled(WaitContext* pContext) {
    if (pContext->waited != m_event)
        return;
    const HWND mainWindow = CurrentMainWindowHandle();
    if (mainWindow != nullptr)
        ::SendMessageW(mainWindow, kExitEventMessage, 0, 0);
}

}  // namespace ApplicationFramework
