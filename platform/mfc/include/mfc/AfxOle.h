#pragma once
// OLE start-up and shutdown of the application's thread, and the control
// container switch.
#include <windows.h>

class COccManager;

// OleInitialize on the calling thread; FALSE when it failed (for instance
// because COM runs in another mode there). Repeated calls count once.
BOOL AfxOleInit();
// OleUninitialize, once, when AfxOleInit succeeded. With bJustRevoke only
// what would be revoked is let go, and OLE stays initialised.
void AfxOleTerm(BOOL bJustRevoke = FALSE);
// The program hosts no ActiveX controls; the call is accepted and recorded.
void AfxEnableControlContainer(COccManager* pOccManager = nullptr);
BOOL AfxIsControlContainerEnabled();
