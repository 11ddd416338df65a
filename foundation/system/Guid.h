#pragma once
// GUID texts.
#include <windows.h>

#include <string>

namespace System {

// A new GUID as upper-case text: 38 characters with braces and dashes, 36
// without braces, 32 without either. Empty when no GUID can be made. The
// GUID itself goes to `pGuid` when given.
std::wstring CreateGuidString(GUID* pGuid, bool withBraces, bool withDashes);

}  // namespace System
