#include "foundation/debugging/ThreadLogState.h"

#include "foundation/sync/BuiltOnce.h"

#include <cstdlib>
#include <memory>
#include <new>

namespace Debugging {

ThreadLogStates::ThreadLogStates() : m_tlsIndex(::TlsAlloc()) {}

ThreadLogStates::~ThreadLogStates() {
    const DWORD tlsIndex = m_tlsIndex;
    // A line logged by a later exit step finds no record and goes on without one.
    m_tlsIndex = TLS_OUT_OF_INDEXES;
    if (tlsIndex != TLS_OUT_OF_INDEXES)
        ::TlsFree(tlsIndex);
    for (ThreadLogState* pState : m_states)
        delete pState;
}

ThreadLogState* ThreadLogStates::GetCurrent() {
    if (m_tlsIndex == TLS_OUT_OF_INDEXES)
        return nullptr;
    if (void* pValue = ::TlsGetValue(m_tlsIndex))
        return static_cast<ThreadLogState*>(pValue);
    std::unique_ptr<ThreadLogState> pState(new ThreadLogState());
    {
        Synchronization::CriticalSection::Scope scope(m_lock);
        m_states.insert(pState.get());
    }
    ThreadLogState* pCurrent = pState.release();
    if (!::TlsSetValue(m_tlsIndex, pCurrent))
        return nullptr;  // stays in the set, freed at exit
    return pCurrent;
}

namespace {

alignas(ThreadLogStates) unsigned char s_holderStorage[sizeof(ThreadLogStates)];
Synchronization::BuiltOnce s_holderOnce;

ThreadLogStates& Holder() {
    return *reinterpret_cast<ThreadLogStates*>(s_holderStorage);
}

void DestroyHolder() {
    Holder().~ThreadLogStates();
}

}  // namespace

ThreadLogState* GetThreadLogState() {
    s_holderOnce.Run([] {
        new (s_holderStorage) ThreadLogStates();
        std::atexit(&DestroyHolder);
        return true;
    });
    return Holder().GetCurrent();
}

}  // namespace Debugging
