#include "foundation/system/EnvironmentValue.h"

#include "foundation/errors/Checks.h"
#include "foundation/strings/NumberStrings.h"
#include "foundation/sync/BuiltOnce.h"
#include "foundation/sync/CriticalSection.h"
#include "foundation/system/Environment.h"

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <new>
#include <set>

namespace System {
namespace {

// Part of every variable name. It must be the same text in every module of
// the process, so it is fixed here rather than taken from the compiler's
// type information.
const wchar_t kValueTypeName[] =
    L"class Synchronization::AtomicNumberT<int,class Synchronization::AtomicAutoPolicy<int> >";

const int kAttempts = 3;

// Characters a file name may not hold; those below U+0020 are tested apart.
const wchar_t kNotInFileNames[] = L"|\\?*<\":>/";

std::uint32_t AddressOf(const EnvironmentValue* pValue) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pValue));
}

// The address as decimal text. Written unsigned so that an address above
// 0x7FFFFFFF (a large-address-aware process) still reads back as a number.
std::wstring AddressText(const EnvironmentValue* pValue) {
    return STLHelpers::UIntToWString(AddressOf(pValue));
}

void ReportFailedCheck(Reporting::Severity severity, const char* checkText) {
    const ErrorHandling::ErrorCode code(E_FAIL);
    Reporting::ReportingObject& reporter = Reporting::GetModuleReportingObject();
    if (severity == Reporting::Assertion)
        reporter.ReportAssertion(checkText, &code);
    else
        reporter.ReportError(checkText, &code);
}

// Whether [pointer, pointer + size) lies in committed, writable, private
// memory of this process: only such memory is read or written by
// _AddRef_Guarded. The heap the objects come from is of that kind.
bool IsOwnWritableMemory(const void* pointer, std::size_t size) noexcept {
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(pointer);
    if (address == 0 || address % alignof(EnvironmentValue) != 0)
        return false;
    MEMORY_BASIC_INFORMATION info;
    if (::VirtualQuery(pointer, &info, sizeof info) != sizeof info)
        return false;
    if (info.State != MEM_COMMIT || info.Type != MEM_PRIVATE)
        return false;
    if ((info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0 ||
        (info.Protect & (PAGE_READWRITE | PAGE_EXECUTE_READWRITE)) == 0)
        return false;
    const std::uintptr_t regionBase = reinterpret_cast<std::uintptr_t>(info.BaseAddress);
    return address - regionBase <= info.RegionSize && info.RegionSize - (address - regionBase) >= size;
}

// Whether the variable still holds this object's address. A plain read into a
// small buffer: it runs during destruction and must not report.
bool VariableHoldsAddress(const std::wstring& variableName, const EnvironmentValue* pValue) {
    wchar_t text[16] = {};
    const DWORD length = ::GetEnvironmentVariableW(variableName.c_str(), text, 16);
    std::uint32_t address = 0;
    return length > 0 && length < 16 && STLHelpers::ParseUInt(wlitestring(text, static_cast<int>(length)), address) &&
           address == AddressOf(pValue);
}

// The values this module published: it keeps one reference on each until
// exit. Its lock also makes one find-or-create of this module a whole step.
// The table itself is never freed: static objects destroyed after the exit
// step below may still ask for values.
struct PublishedValues {
    Synchronization::CriticalSection lock;
    std::set<EnvironmentValuePtr> values;
};

PublishedValues* g_pPublished = nullptr;

void ReleasePublishedValues() {
    std::set<EnvironmentValuePtr> released;
    Synchronization::CriticalSection::Scope lock(g_pPublished->lock);
    released.swap(g_pPublished->values);
}

PublishedValues& GetPublishedValues() {
    static Synchronization::BuiltOnce s_once;
    s_once.Run([] {
        g_pPublished = new PublishedValues;
        std::atexit(&ReleasePublishedValues);
        return true;
    });
    return *g_pPublished;
}

bool _AddRef_Guarded(EnvironmentValue* pValue) noexcept {
    return EnvironmentValue::_AddRef_Guarded(pValue);
}

// A reference on the object at `address`, or none (reported as an error).
EnvironmentValuePtr TakeGuardedReference(std::uint32_t address) {
    EnvironmentValue* _pVal = reinterpret_cast<EnvironmentValue*>(static_cast<std::uintptr_t>(address));
    CHECK_ERROR(_AddRef_Guarded(_pVal));
    return EnvironmentValuePtr(_pVal, false);
}

}  // namespace

EnvironmentValue::EnvironmentValue(const int* pInitial, const std::wstring& variableName)
    : m_refCount(0), m_value(pInitial), m_variableName(variableName), m_mark(kLiveMark) {}

EnvironmentValue::~EnvironmentValue() {
    m_mark = kDeadMark;
    ::MemoryBarrier();
    // An object that lost the race to publish must not take the winner's
    // variable with it.
    const std::wstring& envName = m_variableName;
    if (VariableHoldsAddress(envName, this))
        CHECK_WARNING(System::RemoveEnvironmentVariable(envName));
}

void* EnvironmentValue::operator new(std::size_t size) {
    if (void* pointer = ::HeapAlloc(::GetProcessHeap(), 0, size))
        return pointer;
    throw std::bad_alloc();
}

void EnvironmentValue::operator delete(void* pointer) noexcept {
    if (pointer)
        ::HeapFree(::GetProcessHeap(), 0, pointer);
}

bool EnvironmentValue::_AddRef_Guarded(EnvironmentValue* pValue) noexcept {
    if (!IsOwnWritableMemory(pValue, sizeof(EnvironmentValue)) || pValue->m_mark != kLiveMark)
        return false;
    // A count of 0 means the object is being destroyed: no new reference.
    LONG count = pValue->m_refCount;
    for (;;) {
        if (count <= 0)
            return false;
        const LONG seen = ::InterlockedCompareExchange(&pValue->m_refCount, count + 1, count);
        if (seen == count)
            break;
        count = seen;
    }
    if (pValue->m_mark == kLiveMark)
        return true;
    ::InterlockedDecrement(&pValue->m_refCount);
    return false;
}

void intrusive_ptr_add_ref(EnvironmentValue* pValue) noexcept {
    ::InterlockedIncrement(&pValue->m_refCount);
}

void intrusive_ptr_release(EnvironmentValue* pValue) noexcept {
    if (::InterlockedDecrement(&pValue->m_refCount) == 0)
        delete pValue;
}

std::wstring EnvironmentValueVariableName(const wlitestring& name) {
    std::wstring result = STLHelpers::UIntToWString(::GetCurrentProcessId());
    result += L'_';
    result += kValueTypeName;
    result += L'_';
    result.append(name.begin(), name.end());
    for (wchar_t& ch : result) {
        if (ch < 0x20 || std::wcschr(kNotInFileNames, ch))
            ch = L'_';
    }
    return result;
}

EnvironmentValuePtr& GetEnvironmentValue(EnvironmentValuePtr& out, const wlitestring& name, const int* pInitial) {
    out.reset();
    const std::wstring envName = EnvironmentValueVariableName(name);
    PublishedValues& published = GetPublishedValues();
    Synchronization::CriticalSection::Scope lock(published.lock);
    for (int attempt = 0; attempt < kAttempts && !out; ++attempt) {
        std::uint32_t address = 0;
        if (ReadEnvironmentUInt(envName, address)) {
            out = TakeGuardedReference(address);
            if (out)
                break;
            // A stale or foreign address: publish a new object over it.
        }
        EnvironmentValuePtr created(new EnvironmentValue(pInitial, envName));
        if (SetEnvironmentText(envName, AddressText(created.get()), 0)) {
            published.values.insert(created);
            out = created;
            break;
        }
        // Another publisher won: use its object, drop ours.
        std::uint32_t _pValRaw = 0;
        if (!ReadEnvironmentUInt(envName, _pValRaw)) {
            ReportFailedCheck(Reporting::Assertion, "((System::GetEnvironmentValue(envName, _pValRaw)))");
            continue;
        }
        out = TakeGuardedReference(_pValRaw);
    }
    if (!out)
        ReportFailedCheck(Reporting::Assertion, "((m_pVal))");
    return out;
}

}  // namespace System
