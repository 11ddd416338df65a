#include "AfxState.h"

#include <ole2.h>

namespace {

// OLE is entered once for the application's thread and left once.
DWORD g_oleThread = 0;
bool g_controlContainerEnabled = false;

}  // namespace

BOOL AfxOleInit() {
    if (g_oleThread == GetCurrentThreadId())
        return TRUE;
    if (g_oleThread != 0)
        return FALSE;  // OLE belongs to another thread of the application
    if (FAILED(OleInitialize(nullptr)))
        return FALSE;
    g_oleThread = GetCurrentThreadId();
    return TRUE;
}

void AfxOleTerm(BOOL bJustRevoke) {
    // Nothing of ours is registered with OLE beyond the thread's entry.
    if (bJustRevoke || g_oleThread != GetCurrentThreadId())
        return;
    OleUninitialize();
    g_oleThread = 0;
}

void AfxEnableControlContainer(COccManager*) { g_controlContainerEnabled = true; }

BOOL AfxIsControlContainerEnabled() { return g_controlContainerEnabled; }
