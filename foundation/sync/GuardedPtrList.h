#pragma once
// GuardedPtrList: the thread-safe list of observer pointers (not owned, in
// order of registration, each at most once). Its owner notifies through a
// snapshot, never holding the list's lock while an observer runs, so an
// observer may add or remove observers from inside a notification.
//
//   m_observers.Notify([&](void* p) { static_cast<IObserver*>(p)->OnChanged(); });
//
// Remove waits (at most 5000 ms) for notifications in progress, so that once
// it returns, the removed observer is called no more. A removal made on the
// thread that is notifying does not wait for its own notification.
//
// Threads: any thread. The critical section guards the vector; the count of
// notifications in progress changes only by interlocked calls; the list's and
// the event's critical sections are never held together.
#include "foundation/sync/CriticalSection.h"
#include "foundation/sync/GuardedEvent.h"

#include <windows.h>

#include <vector>

namespace Synchronization {

class GuardedPtrList {
public:
    // What ends one notification: the list's count and event.
    struct NotificationGuard {
        volatile LONG* pCount;
        GuardedEvent* pEvent;
    };
    // Subtracts 1 from the count; when it was 1, sets the event unless set.
    static void EndNotification(const NotificationGuard& guard) noexcept;

    // One notification in progress while it lives: counted in at
    // construction, ended by EndNotification at destruction, also while
    // unwinding past an observer's exception. Lives on the notifying stack.
    class Pass {
    public:
        explicit Pass(GuardedPtrList& list) noexcept;
        ~Pass();
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;

    private:
        friend class GuardedPtrList;
        NotificationGuard m_guard;
        const GuardedPtrList* m_pList;
        const Pass* m_pOuter;  // the thread's enclosing pass
    };

    // A failed creation of the critical sections or the event raises the
    // last error (see RaiseLastError.h).
    GuardedPtrList();
    GuardedPtrList(const GuardedPtrList&) = delete;
    GuardedPtrList& operator=(const GuardedPtrList&) = delete;

    // False when the pointer is already listed.
    bool Add(void* pointer);
    // False at once when the pointer is not listed. Otherwise unlists it and
    // waits until no notification of other threads is in progress, testing
    // every 10 ms and giving up after 5000 ms; true.
    bool Remove(void* pointer);
    // Appends the listed pointers, in order, to `out`; always true.
    bool CopyTo(std::vector<void*>& out) const;
    bool Contains(void* pointer) const;

    // The notification protocol: a Pass, a snapshot, and a call of each
    // snapshot pointer that is still listed when its turn comes.
    template <class Call>
    void Notify(Call&& call) {
        Pass pass(*this);
        std::vector<void*> snapshot;
        CopyTo(snapshot);
        for (void* pointer : snapshot) {
            if (Contains(pointer))
                call(pointer);
        }
    }

private:
    LONG PassesOnThisThread() const noexcept;

    mutable CriticalSection m_section;
    volatile LONG m_notifying = 0;
    GuardedEvent m_idle{false};  // set when m_notifying returns to 0
    std::vector<void*> m_pointers;
};

}  // namespace Synchronization
