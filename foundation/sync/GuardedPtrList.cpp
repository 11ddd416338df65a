#include "foundation/sync/GuardedPtrList.h"

#include <algorithm>

namespace Synchronization {
namespace {

const DWORD kRemoveWaitStepMs = 10;
const DWORD kRemoveWaitLimitMs = 5000;

// The innermost notification pass running on this thread.
thread_local const GuardedPtrList::Pass* t_pInnermostPass = nullptr;

}  // namespace

void GuardedPtrList::EndNotification(const NotificationGuard& guard) noexcept {
    if (::InterlockedExchangeAdd(guard.pCount, -1) == 1)
        guard.pEvent->SetIfNotSet();
}

GuardedPtrList::Pass::Pass(GuardedPtrList& list) noexcept
    : m_guard{&list.m_notifying, &list.m_idle}, m_pList(&list), m_pOuter(t_pInnermostPass) {
    ::InterlockedIncrement(m_guard.pCount);
    t_pInnermostPass = this;
}

GuardedPtrList::Pass::~Pass() {
    t_pInnermostPass = m_pOuter;
    EndNotification(m_guard);
}

GuardedPtrList::GuardedPtrList() = default;

bool GuardedPtrList::Add(void* pointer) {
    CriticalSection::Scope lock(m_section);
    if (std::find(m_pointers.begin(), m_pointers.end(), pointer) != m_pointers.end())
        return false;
    m_pointers.push_back(pointer);
    return true;
}

bool GuardedPtrList::Remove(void* pointer) {
    {
        CriticalSection::Scope lock(m_section);
        const auto found = std::find(m_pointers.begin(), m_pointers.end(), pointer);
        if (found == m_pointers.end())
            return false;
        m_pointers.erase(found);
    }
    m_idle.ResetIfSet();
    // A notification of this thread cannot end while we wait here: waiting
    // for it would only run into the time limit.
    const LONG ownPasses = PassesOnThisThread();
    const DWORD start = ::GetTickCount();
    while (::InterlockedCompareExchange(&m_notifying, 0, 0) > ownPasses) {
        m_idle.Wait(kRemoveWaitStepMs);
        if (::GetTickCount() - start > kRemoveWaitLimitMs)
            break;
    }
    return true;
}

bool GuardedPtrList::CopyTo(std::vector<void*>& out) const {
    CriticalSection::Scope lock(m_section);
    out.insert(out.end(), m_pointers.begin(), m_pointers.end());
    return true;
}

bool GuardedPtrList::Contains(void* pointer) const {
    CriticalSection::Scope lock(m_section);
    return std::find(m_pointers.begin(), m_pointers.end(), pointer) != m_pointers.end();
}

LONG GuardedPtrList::PassesOnThisThread() const noexcept {
    LONG count = 0;
    for (const Pass* pass = t_pInnermostPass; pass; pass = pass->m_pOuter) {
        if (pass->m_pList == this)
            ++count;
    }
    return count;
}

}  // namespace Synchronization
