#pragma once
// EnvironmentValue: a 32-bit number shared by every module of the process.
// The first module that asks creates it and writes its address, in decimal,
// into an environment variable whose name carries the process id; every later
// asker reads the address back and takes a reference. The variable exists
// while the object lives.
//
//   System::EnvironmentValuePtr value;
//   int initial = 0;
//   System::GetEnvironmentValue(value, L"xmlFileInstanceCount", &initial);
//   ::InterlockedIncrement(value->Value());
//
// Threads: any. The count and the number change only by interlocked calls.
#include "foundation/strings/LiteString.h"
#include "foundation/sync/AtomicNumber.h"

#include <boost/intrusive_ptr.hpp>

#include <windows.h>

#include <cstddef>
#include <string>

namespace System {

typedef Synchronization::AtomicNumberT<int, Synchronization::AtomicAutoPolicy<int>> SharedNumber;

class EnvironmentValue {
public:
    static const DWORD kLiveMark = 0xAFFECEED;
    static const DWORD kDeadMark = 0xCFCFCFCF;

    // Count 0; the number taken from `pInitial`.
    EnvironmentValue(const int* pInitial, const std::wstring& variableName);
    // Marks the object dead, then removes the variable if it still holds
    // this object's address (a failure is the warning check
    // "((System::RemoveEnvironmentVariable(envName)))").
    ~EnvironmentValue();
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

    // On the process heap, so that any module may free what another made.
    static void* operator new(std::size_t size);
    static void operator delete(void* pointer) noexcept;

    volatile LONG* Value() noexcept { return m_value.Address(); }
    const std::wstring& VariableName() const noexcept { return m_variableName; }

    // Takes a reference on the object at an address read from a variable,
    // which may be stale or garbage: true only when the whole object lies in
    // committed, writable private memory of this process, carries the live
    // mark, and its count was not 0. Never touches any other memory.
    static bool _AddRef_Guarded(EnvironmentValue* pValue) noexcept;

    friend void intrusive_ptr_add_ref(EnvironmentValue* pValue) noexcept;
    friend void intrusive_ptr_release(EnvironmentValue* pValue) noexcept;

private:
    volatile LONG m_refCount;
    SharedNumber m_value;
    std::wstring m_variableName;
    volatile DWORD m_mark;
};

typedef boost::intrusive_ptr<EnvironmentValue> EnvironmentValuePtr;

// The variable name of the shared value `name`: the process id, "_", the
// value type's name, "_", the name; characters a file name may not hold
// become "_".
std::wstring EnvironmentValueVariableName(const wlitestring& name);

// The process's shared value `name`, found through its variable or created
// and published with the number at `pInitial`. A variable holding no number,
// or an address that is no live shared value, gets a new object published over
// it (the latter is reported as the error check "((_AddRef_Guarded(_pVal)))").
// When no object could be had after three attempts, the assertion check
// "((m_pVal))" is reported and `out` stays empty. Returns `out`.
EnvironmentValuePtr& GetEnvironmentValue(EnvironmentValuePtr& out, const wlitestring& name, const int* pInitial);

}  // namespace System
