#include "foundation/sync/SRWFunctions.h"

#include "foundation/errors/ErrorCode.h"

#include <atomic>

namespace Synchronization {
namespace Impl {
namespace {

std::atomic<const SRWFunctions*> g_pTestTable{nullptr};

SRWLockFunction Find(HMODULE module, const char* name) {
    return reinterpret_cast<SRWLockFunction>(::GetProcAddress(module, name));
}

// Fills the table before the program's entry, so that locks built by other
// static objects later and by every thread see one choice.
const SRWFunctions& s_filledBeforeEntry = ProcessSRWFunctions();

}  // namespace

bool SRWFunctions::IsComplete() const noexcept {
    return module && initialize && acquireExclusive && acquireShared && releaseExclusive && releaseShared;
}

SRWFunctions LoadSRWFunctions(const wchar_t* moduleName) {
    SRWFunctions table;
    table.module = ::LoadLibraryW(moduleName);
    if (!table.module) {
        table.loadResult = ErrorHandling::ErrorCode::FromLastError();
        return table;
    }
    table.loadResult = S_OK;
    table.initialize = Find(table.module, "InitializeSRWLock");
    table.acquireExclusive = Find(table.module, "AcquireSRWLockExclusive");
    table.acquireShared = Find(table.module, "AcquireSRWLockShared");
    table.releaseExclusive = Find(table.module, "ReleaseSRWLockExclusive");
    table.releaseShared = Find(table.module, "ReleaseSRWLockShared");
    return table;
}

const SRWFunctions& ProcessSRWFunctions() {
    static const SRWFunctions s_table = LoadSRWFunctions(L"kernel32.dll");
    return s_table;
}

const SRWFunctions& CurrentSRWFunctions() noexcept {
    const SRWFunctions* pTestTable = g_pTestTable.load(std::memory_order_acquire);
    return pTestTable ? *pTestTable : ProcessSRWFunctions();
}

const SRWFunctions* SetSRWFunctionsForTests(const SRWFunctions* table) noexcept {
    return g_pTestTable.exchange(table, std::memory_order_acq_rel);
}

}  // namespace Impl
}  // namespace Synchronization
