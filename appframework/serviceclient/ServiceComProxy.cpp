#include "appframework/serviceclient/ServiceComProxy.h"

#include "appframework/serviceclient/GenericServicePtr.h"
#include "foundation/debugging/Log.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/sync/BuiltOnce.h"

#include <cstdlib>

namespace GenericServiceClient {
namespace {

// Bit 0: a thread already in another model falls back to the other models.
const DWORD kComScopeFlags = 3;

ServiceComProxy* g_pProxy = nullptr;
Synchronization::BuiltOnce g_proxyBuilt;
std::atomic<bool> g_proxyDestroyed{false};

std::atomic<DWORD> g_startLimitMs{ServiceComProxy::kStartLimitMs};
std::atomic<DWORD> g_taskLimitMs{ServiceComProxy::kTaskLimitMs};

using TaskCell = boost::shared_ptr<ServiceComProxy::IFunc>;

}  // namespace

ServiceComProxy::ServiceComProxy() {
    _StartThread();
}

ServiceComProxy::~ServiceComProxy() {
    // The thread's body uses this object's members: it ends first.
    Stop(INFINITE);
}

ServiceComProxy& ServiceComProxy::Instance() {
    g_proxyBuilt.Run([] {
        g_pProxy = new ServiceComProxy();
        std::atexit(&ServiceComProxy::_DestroyAtExit);
        return true;
    });
    // Only code that runs after the exit handlers finds no proxy.
    CHECK_ASSERT(g_pProxy);
    return *g_pProxy;
}

bool ServiceComProxy::IsBuilt() noexcept {
    return g_proxyBuilt.IsBuilt() && !g_proxyDestroyed.load();
}

void ServiceComProxy::_DestroyAtExit() {
    g_proxyDestroyed.store(true);
    ServiceComProxy* pProxy = g_pProxy;
    g_pProxy = nullptr;
    delete pProxy;
}

void ServiceComProxy::SetTimeLimitsForTesting(DWORD startLimitMs, DWORD taskLimitMs) noexcept {
    g_startLimitMs.store(startLimitMs ? startLimitMs : kStartLimitMs);
    g_taskLimitMs.store(taskLimitMs ? taskLimitMs : kTaskLimitMs);
}

void ServiceComProxy::_StartThread() {
    // Start refuses while a thread of this object still runs.
    if (Start(true, 0))
        _Resume();
}

DWORD ServiceComProxy::_Run() {
    // COM is left on this thread however the loop ends.
    struct ComScopeEnd {
        std::unique_ptr<System::ComScope>& scope;
        ~ComScopeEnd() { scope.reset(); }
    } comScopeEnd{m_comScope};
    if (!m_comScope)
        m_comScope.reset(new System::ComScope(GetServiceComModel(), kComScopeFlags));

    MSG message;
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        // -1: the call itself failed; looping on would spin for ever.
        if (got == 0 || got == -1)
            break;
        if (message.message != kTaskMessage || message.hwnd)
            continue;
        m_runningTask.store(true);
        OnTask(reinterpret_cast<TaskCell*>(message.wParam));
        m_runningTask.store(false);
    }

    // Cells still queued behind WM_QUIT would never be freed.
    while (::PeekMessageW(&message, nullptr, kTaskMessage, kTaskMessage, PM_REMOVE)) {
        if (!message.hwnd)
            delete reinterpret_cast<TaskCell*>(message.wParam);
    }
    return 0;
}

void ServiceComProxy::OnTask(TaskCell* pCell) {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("GenericServiceClient::ServiceComProxy::OnTask"), [&] {
        TaskCell pFunc;
        if (pCell)
            pFunc.swap(*pCell);
        delete pCell;
        CHECK_ASSERT(pFunc);
        if (pFunc)
            pFunc->Run();
    });
}

void ServiceComProxy::_ExecuteOnWorkerThread(const boost::shared_ptr<IFunc>& task) {
    if (!task) {
        CHECK_ASSERT(task);
        return;
    }
    std::unique_ptr<TaskCell> pCell(new TaskCell(task));
    // A task that was never posted cannot finish: its caller learns at once
    // instead of waiting out the task limit.
    if (!_IsRunning() || !_WaitForQueue(g_startLimitMs.load())) {
        const ErrorHandling::ErrorCode code(E_FAIL);
        Reporting::GetModuleReportingObject().ReportError("((_IsRunning() && _WaitForQueue(startLimit)))", &code);
        return;
    }
    if (!::PostThreadMessageW(_GetThreadId(), kTaskMessage, reinterpret_cast<WPARAM>(pCell.get()), 0)) {
        const ErrorHandling::ErrorCode code = ErrorHandling::ErrorCode::FromWin32Result(FALSE);
        Reporting::GetModuleReportingObject().ReportError(
            "((::PostThreadMessageW(threadId, kTaskMessage, pCell, 0)))", &code);
        return;
    }
    // The thread owns the cell now.
    pCell.release();

    if (task->Wait(g_taskLimitMs.load()))
        return;
    DEBUG_LOG(Debugging::LevelERR, L"The ConsoleApp service got stuck!");
    CHECK_ASSERT(false);
}

void ServiceComProxy::Stop(DWORD timeout) {
    ServiceComThread::Stop(timeout);
}

bool ServiceComProxy::InsertPending(IConsoleApplication* pConsoleApp) {
    Synchronization::CriticalSection::Scope lock(m_pendingLock);
    return m_applicationsPending.insert(pConsoleApp).second;
}

bool ServiceComProxy::ErasePending(IConsoleApplication* pConsoleApp) {
    Synchronization::CriticalSection::Scope lock(m_pendingLock);
    return m_applicationsPending.erase(pConsoleApp) != 0;
}

size_t ServiceComProxy::CountPending() {
    Synchronization::CriticalSection::Scope lock(m_pendingLock);
    return m_applicationsPending.size();
}

}  // namespace GenericServiceClient
