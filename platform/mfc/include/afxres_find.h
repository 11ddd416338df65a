#pragma once
// MFC's resource chain: the executable first, then every resource module
// registered with it (extension and language modules), in the order they
// were added.
#include <windows.h>

// The module that holds a resource of `type` named `name` (a string or an
// integer id). When no module of the chain holds it, the executable's handle,
// so that a following load fails the ordinary way.
HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type);

// Adds a module to the end of the chain; a module already there stays where it is.
void AfxAddResourceModule(HINSTANCE module);
// Takes a module out of the chain before it is unloaded.
void AfxRemoveResourceModule(HINSTANCE module);
