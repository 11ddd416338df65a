#include "foundation/filesystem/TransactionContext.h"

namespace FileSystem {

namespace {

typedef HANDLE(WINAPI* CreateFileTransactedFunction)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                                      HANDLE, HANDLE, PUSHORT, PVOID);

}  // namespace

HANDLE TransactionContext::CreateFile(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                      DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile) const {
    if (m_transaction) {
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        const FARPROC function = kernel ? GetProcAddress(kernel, "CreateFileTransactedW") : nullptr;
        if (!function)
            return INVALID_HANDLE_VALUE;
        return reinterpret_cast<CreateFileTransactedFunction>(function)(
            name, access, share, security, disposition, flagsAndAttributes, templateFile, m_transaction, nullptr,
            nullptr);
    }
    if (!m_allowPlainCalls)
        return INVALID_HANDLE_VALUE;
    return ::CreateFileW(name, access, share, security, disposition, flagsAndAttributes, nullptr);
}

}  // namespace FileSystem
