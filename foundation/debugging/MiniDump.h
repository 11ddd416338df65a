#pragma once
// A minidump of this process, written through dbghelp's MiniDumpWriteDump,
// which is looked up at run time.
#include <windows.h>

#include <dbghelp.h>

#include <string>

namespace ErrorReport {

// False when the file cannot be created, dbghelp or its function cannot be
// had, or the dump fails.
bool WriteMiniDump(const std::wstring& dumpPath, EXCEPTION_POINTERS* pExceptionPointers, MINIDUMP_TYPE dumpType);

}  // namespace ErrorReport
