#pragma once
// ExitEventWatcher: the program's side of "{ProductName}_ExitEvent". The
// Updater signals the event to ask the running program to close before it
// installs; the watcher waits for it on the system thread pool and sends the
// main window kExitEventMessage, which the frame answers with its plain close.
//
//   ApplicationFramework::ExitEventWatcher::Install();   // once, at start-up
//
// Threads: installed on the GUI thread; the callback runs on a thread-pool
// thread. The critical section guards the map of registered waits.
#include "foundation/sync/CriticalSection.h"

#include <windows.h>

#include <map>
#include <memory>

namespace ApplicationFramework {

// WM_USER + 100, sent to the main window when the exit event fires.
const UINT kExitEventMessage = WM_USER + 100;

class ExitEventWatcher {
public:
    // Makes the process's watcher on the first call; later calls do nothing.
    // The watcher lives until the process's static objects are destroyed.
    static void Install();

    struct WaitContext {
        HANDLE waited;
        bool timedOut;
        ExitEventWatcher* pWatcher;
    };

    // Thread-pool thread: the context's handle has fired.
    void OnSignaled(WaitContext* pContext);

    ExitEventWatcher(const ExitEventWatcher&) = delete;
    ExitEventWatcher& operator=(const ExitEventWatcher&) = delete;

private:
    ExitEventWatcher();
    ~ExitEventWatcher();

    static void CALLBACK _WaitCallback(void* parameter, BOOLEAN timedOut);

    // WT_SET_MAX_THREADPOOL_THREADS(500) over the default execution flags.
    const ULONG m_poolFlags = 500u << 16;
    Synchronization::CriticalSection m_section;
    std::map<HANDLE, std::unique_ptr<WaitContext>> m_waits;
    HANDLE m_event = nullptr;
};

}  // namespace ApplicationFramework
