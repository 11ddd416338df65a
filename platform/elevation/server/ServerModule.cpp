#include "ServerModule.h"

namespace Vantrel {
namespace {

const DWORD kCheckIntervalMs = 100;
// Long enough that a client's calls in a row, each with an activation of
// its own, meet one process even on a loaded machine: an activation that
// meets the process just as it stops fails.
const DWORD kGraceAfterLastReleaseMs = 2000;
// COM starts the server only to ask for an object at once; a server nobody
// asks for ends on its own.
const DWORD kUnusedLimitMs = 10000;

}  // namespace

LONG ServerModule::Lock() {
    InterlockedExchange(&m_everUsed, 1);
    return CAtlExeModule::Lock();
}

LONG ServerModule::Unlock() {
    const LONG count = CAtlExeModule::Unlock();
    if (count == 0)
        m_idleSince = GetTickCount();
    return count;
}

void ServerModule::ClassObjectReferenced(bool referenced) {
    if (referenced)
        InterlockedIncrement(&m_classObjectReferences);
    else
        InterlockedDecrement(&m_classObjectReferences);
}

bool ServerModule::PumpUntil(UINT_PTR timer, const std::function<bool()>& done) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr && message.wParam == timer) {
            if (done())
                return true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return false;
}

HRESULT ServerModule::Serve() {
    m_idleSince = GetTickCount();
    // The module's own references to its class objects.
    const LONG ownReferences = m_classObjectReferences;
    HRESULT hr = RegisterClassObjects(CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE);
    if (FAILED(hr))
        return hr;
    const UINT_PTR timer = SetTimer(nullptr, 0, kCheckIntervalMs, nullptr);
    const bool idle = PumpUntil(timer, [this] {
        return GetLockCount() == 0 &&
               GetTickCount() - m_idleSince >= (m_everUsed ? kGraceAfterLastReleaseMs : kUnusedLimitMs);
    });
    // From the revoke on COM hands the class objects to nobody; a client
    // that took one just before still creates its object with it, and every
    // object is served to its end instead of meeting a process that is gone.
    hr = RevokeClassObjects();
    if (idle) {
        const DWORD revoked = GetTickCount();
        PumpUntil(timer, [&] {
            return GetLockCount() == 0 &&
                   (m_classObjectReferences <= ownReferences || GetTickCount() - revoked >= kUnusedLimitMs);
        });
    }
    KillTimer(nullptr, timer);
    return hr;
}

ServerModule& GetModule() {
    static ServerModule s_module;
    return s_module;
}

}  // namespace Vantrel
