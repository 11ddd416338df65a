#pragma once
// The slim reader/writer lock functions, looked up by name in "kernel32.dll"
// because older systems lack them.
#include <windows.h>

namespace Synchronization {
namespace Impl {

typedef VOID(WINAPI* SRWLockFunction)(PSRWLOCK);

struct SRWFunctions {
    HRESULT loadResult = E_FAIL;  // of loading the module
    HMODULE module = nullptr;
    SRWLockFunction initialize = nullptr;
    SRWLockFunction acquireExclusive = nullptr;
    SRWLockFunction acquireShared = nullptr;
    SRWLockFunction releaseExclusive = nullptr;
    SRWLockFunction releaseShared = nullptr;

    // The module and all five functions are there.
    bool IsComplete() const noexcept;
};

// Loads the module (it stays loaded) and looks the five names up; entries that
// are missing stay null. Nothing is reported.
SRWFunctions LoadSRWFunctions(const wchar_t* moduleName);

// The process's table, filled from "kernel32.dll" before the program's entry
// and never changed afterwards.
const SRWFunctions& ProcessSRWFunctions();

// The table that new locks choose their implementation by: the process's,
// unless a test put another one in place.
const SRWFunctions& CurrentSRWFunctions() noexcept;

// Tests only: makes `table` the one new locks see (null: the process's table
// again) and returns the previous replacement. The table must outlive every
// lock built while it was in place.
const SRWFunctions* SetSRWFunctionsForTests(const SRWFunctions* table) noexcept;

}  // namespace Impl
}  // namespace Synchronization
