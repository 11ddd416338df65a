#include "foundation/filesystem/ComScope.h"

#include "foundation/errors/Checks.h"
#include "foundation/system/SharedValues.h"

#include <objbase.h>
#include <ole2.h>

namespace System {
namespace {

HRESULT Enter(DWORD model) {
    switch (model) {
    case ComScope::Multithreaded:
        return CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    case ComScope::Ole:
        return OleInitialize(nullptr);
    default:
        return CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
}

}  // namespace

ComScope::ComScope(DWORD model, DWORD flags)
    : m_requestedModel(model), m_modelInUse(model), m_result(E_FAIL), m_threadId(GetCurrentThreadId()) {
    m_result = Enter(model);
    if (SUCCEEDED(m_result) || !(flags & AllowFallback) || m_result != RPC_E_CHANGED_MODE)
        return;
    // A model outside 0..2 was entered as apartment-threaded: not tried again.
    const DWORD entered = (model == Multithreaded || model == Ole) ? model : ApartmentThreaded;
    static const DWORD kFallbackOrder[] = {Multithreaded, Ole, ApartmentThreaded};
    for (DWORD candidate : kFallbackOrder) {
        if (candidate == entered)
            continue;
        m_result = Enter(candidate);
        if (SUCCEEDED(m_result)) {
            m_modelInUse = candidate;
            return;
        }
    }
}

ComScope::~ComScope() {
    if (FAILED(m_result))
        return;
    const DWORD currentThreadId = GetCurrentThreadId();
    CHECK_WARNING(currentThreadId == m_threadId);
    if (currentThreadId != m_threadId)
        return;
    if (m_modelInUse == Ole)
        OleUninitialize();
    else
        CoUninitialize();
}

volatile LONG* GetDefaultCOMModel() {
    return GetSharedDefaultCOMModel();
}

}  // namespace System
