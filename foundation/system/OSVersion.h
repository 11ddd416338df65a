#pragma once
// The Windows version record and the version tests built on it. The tests
// also take a record of the caller's, so every version can be tried.
#include <windows.h>

namespace System {

// GetVersionExW's record, read once per process; every call returns a copy.
OSVERSIONINFOW GetOSVersionInfo();

// NT platform, major version 6 or later.
bool IsVistaOrLater(const OSVERSIONINFOW& version);
bool IsVistaOrLater();
// NT platform, version 6.1 or later (10.0 included).
bool IsWindows7OrLater(const OSVERSIONINFOW& version);
bool IsWindows7OrLater();

}  // namespace System
