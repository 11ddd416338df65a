#include "ServerModule.h"

namespace Vantrel {
namespace {

const DWORD kCheckIntervalMs = 100;
const DWORD kGraceAfterLastReleaseMs = 500;
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

HRESULT ServerModule::Serve() {
    m_idleSince = GetTickCount();
    HRESULT hr = RegisterClassObjects(CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE);
    if (FAILED(hr))
        return hr;
    const UINT_PTR timer = SetTimer(nullptr, 0, kCheckIntervalMs, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr && message.wParam == timer) {
            const DWORD limit = m_everUsed ? kGraceAfterLastReleaseMs : kUnusedLimitMs;
            if (GetLockCount() == 0 && GetTickCount() - m_idleSince >= limit)
                break;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    KillTimer(nullptr, timer);
    return RevokeClassObjects();
}

ServerModule& GetModule() {
    static ServerModule s_module;
    return s_module;
}

}  // namespace Vantrel
