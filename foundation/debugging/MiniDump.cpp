#include "foundation/debugging/MiniDump.h"

#include "foundation/threads/OwnedHandle.h"

namespace ErrorReport {
namespace {

typedef BOOL(WINAPI* MiniDumpWriteDumpFunction)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                                PMINIDUMP_EXCEPTION_INFORMATION, PMINIDUMP_USER_STREAM_INFORMATION,
                                                PMINIDUMP_CALLBACK_INFORMATION);

MiniDumpWriteDumpFunction FindMiniDumpWriteDump() {
    // Kept loaded: the process is about to end.
    const HMODULE dbghelp = ::LoadLibraryW(L"dbghelp.dll");
    return dbghelp ? reinterpret_cast<MiniDumpWriteDumpFunction>(::GetProcAddress(dbghelp, "MiniDumpWriteDump"))
                   : nullptr;
}

}  // namespace

bool WriteMiniDump(const std::wstring& dumpPath, EXCEPTION_POINTERS* pExceptionPointers, MINIDUMP_TYPE dumpType) {
    MINIDUMP_EXCEPTION_INFORMATION exception = {};
    exception.ThreadId = ::GetCurrentThreadId();
    exception.ExceptionPointers = pExceptionPointers;
    exception.ClientPointers = TRUE;

    ThreadLib::OwnedHandle file(::CreateFileW(dumpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    const MiniDumpWriteDumpFunction miniDumpWriteDump = FindMiniDumpWriteDump();
    if (!miniDumpWriteDump)
        return false;
    const DWORD processId = ::GetCurrentProcessId();
    ThreadLib::OwnedHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    return miniDumpWriteDump(process.Get(), processId, file.Get(), dumpType,
                             pExceptionPointers ? &exception : nullptr, nullptr, nullptr) != FALSE;
}

}  // namespace ErrorReport
