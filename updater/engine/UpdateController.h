#pragma once
// UpdateController: the Updater's single point of control. It owns the
// worker and the list of listeners that hear about its progress, and does
// everything the Updater does to the installed product: find its running
// process, ask it to exit (ending it when it does not), find where it is
// installed and start it again.
//
//   Engine::UpdateController& controller = Engine::UpdateController::Instance();
//   if (controller.IsProductRunning() && !controller.StopProduct(Engine::kProductStopTimeoutMs)) ...
//   controller.AddListener(this);
//   controller.StartWorker();
//
// Threads: everything but the notifications runs on the user-interface
// thread. Listeners are called on the worker's threads; the list's lock is held
// only to copy the list and to test that a listener is still in it. The
// getters read the worker's atomics without a lock.
#include "foundation/sync/GuardedPtrList.h"
#include "foundation/system/Process.h"
#include "updater/engine/UpdateWorker.h"

#include <windows.h>

#include <string>

class UpdaterSettings;

namespace Engine {

class IUpdateEvents;

// How long the product gets to close after the exit event: longer than the
// product's own shutdown watchdog (15 s), so that an orderly shutdown is
// never cut short.
const DWORD kProductStopTimeoutMs = 20000;

class UpdateController {
public:
    // The process's controller over UpdaterSettings::Instance(), made on
    // first use.
    static UpdateController& Instance();

    // The worker is built for the settings' download address; no file is
    // created before a download begins.
    explicit UpdateController(UpdaterSettings& settings);
    UpdateController(const UpdateController&) = delete;
    UpdateController& operator=(const UpdateController&) = delete;

    // A second add of the same listener is ignored (false).
    bool AddListener(IUpdateEvents* pListener);
    // Waits (at most 5000 ms) until no notification is in progress.
    bool RemoveListener(IUpdateEvents* pListener);

    bool IsProductRunning();
    // Sets the product's exit event and waits up to `timeoutMs` for the
    // product to end; then ends it with exit code 0. True when the product
    // is gone: ended, ended by force, or vanished before it could be opened.
    bool StopProduct(DWORD timeoutMs);
    // HKLM "Software\<productName>" "InstallPath"; "" when it cannot be read.
    std::wstring GetInstallPath();
    // Starts the product from its install path, else from the path of the
    // process StopProduct stopped; with neither, nothing (false). Show state
    // 2 when minimised, else 5. True when the shell accepted the start.
    bool LaunchProduct(bool minimized);

    // False while the worker thread still runs or when it cannot start.
    bool StartWorker();
    // Always true; blocks while a setup runs.
    bool StopWorker();

    int GetState() const { return m_worker.GetState(); }
    bool HasFailed() const { return m_worker.HasFailed(); }
    unsigned long GetDoneBytes() const { return m_worker.GetDoneBytes(); }
    unsigned long GetTotalBytes() const { return m_worker.GetTotalBytes(); }

    // The running product: the first process of the product's executable
    // name (compared without case); when an install path is known, only a
    // process started from that path. 0 when there is none.
    DWORD _FindProductProcessId();
    // The worker itself, for the tests of its setup file.
    const UpdateWorker& _GetWorker() const { return m_worker; }

private:
    std::wstring ProductPathInInstallFolder(const std::wstring& installPath);

    UpdaterSettings& m_settings;
    Synchronization::GuardedPtrList m_listeners;
    UpdateWorker m_worker;                 // notifies m_listeners, so it comes after it
    std::wstring m_stoppedProductPath;     // where the stopped product was started from
};

}  // namespace Engine
