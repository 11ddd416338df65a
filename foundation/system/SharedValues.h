#pragma once
// The numbers shared by every module of the process (see EnvironmentValue.h).
// Each accessor builds its reference once per module, keeps it until exit and
// returns the number's address, on which callers use interlocked calls. Null
// only when the value could not be had and the module's sink let that
// assertion pass.
#include <windows.h>

namespace System {

// "xmlFileInstanceCount", initially 0: the live XML documents of all modules.
volatile LONG* GetSharedXmlFileInstanceCount();
// "defaultCOMModel", initially 2: the COM model the XML documents' scope enters.
volatile LONG* GetSharedDefaultCOMModel();
// "mainScopeInstanceCount", initially 0: the application framework's main scopes.
volatile LONG* GetSharedMainScopeInstanceCount();

}  // namespace System
