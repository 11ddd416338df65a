#pragma once
// How a file is opened: inside a file-system transaction, plainly, or not
// at all. Files opened for whole reads and writes use no transaction.
#include <windows.h>

namespace FileSystem {

class TransactionContext {
public:
    TransactionContext(HANDLE transaction, bool allowPlainCalls) noexcept
        : m_transaction(transaction), m_allowPlainCalls(allowPlainCalls) {}

    HANDLE GetTransaction() const noexcept { return m_transaction; }
    bool AllowsPlainCalls() const noexcept { return m_allowPlainCalls; }

    // With a transaction: CreateFileTransactedW, looked up at every call;
    // INVALID_HANDLE_VALUE when the system lacks it (no plain fallback).
    // Without one: CreateFileW (no template) when plain calls are allowed,
    // else INVALID_HANDLE_VALUE.
    HANDLE CreateFile(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                      DWORD flagsAndAttributes, HANDLE templateFile) const;

private:
    HANDLE m_transaction;
    bool m_allowPlainCalls;
};

}  // namespace FileSystem
