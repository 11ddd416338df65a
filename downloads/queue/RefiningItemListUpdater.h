#pragma once
// The download list's event queue: engine threads post a message for an item,
// the GUI thread drains the queue from a timer. On the way the queue refines
// itself: a newer message for an item drops that item's older, now useless
// messages, and urgent kinds overtake progress reports.
//
//   auto pQueue = boost::make_shared<SimpleRefiningItemListUpdater<Item, Message, Executor>>(pExecutor);
//   pQueue->Post(message, item);                  // any thread
//   pQueue->RunWithNextInterval(armTimer);        // any thread, after a post
//   pQueue->ProcessQueue();                       // GUI thread, from the timer
//
// Message: `type` and `priority` (larger is more urgent) and the constant
// `kProgress`, the type a newer message of equal priority replaces.
// Item: `IsSameItem(other)`. Executor: `bool ProcessItem(const Entry&)`.
//
// Threads: the lock guards the list; it is never held while the executor
// runs, so a delivered message may post again.
#include "downloads/queue/QueueClock.h"
#include "foundation/errors/Checks.h"
#include "foundation/sync/RWLock.h"

#include <windows.h>

#include <boost/shared_ptr.hpp>

#include <functional>
#include <list>

template <class Item, class Message>
struct RefiningQueueEntry {
    Message message;
    Item item;
};

template <class Item, class Message>
class IRefiningItemListUpdater {
public:
    virtual bool Post(Message message, Item item) = 0;
    // Milliseconds until the next drain is due; -1 when nothing is queued.
    virtual int GetNextInterval() = 0;
    virtual void ProcessQueue() = 0;
    // Calls `arm` with GetNextInterval's answer while no post or drain can
    // change the queue, so the timer a caller arms matches the queue as it
    // is: an interval read and acted on outside the lock could kill the
    // timer just armed for a newer message.
    virtual void RunWithNextInterval(const std::function<void(int)>& arm) = 0;

protected:
    // Owners hold the implementation's shared pointer, which deletes it whole.
    ~IRefiningItemListUpdater() = default;
};

template <class Item, class Message, class Executor>
class SimpleRefiningItemListUpdater : public IRefiningItemListUpdater<Item, Message> {
public:
    using Entry = RefiningQueueEntry<Item, Message>;

    static constexpr int kDrainInterval = 100;

    explicit SimpleRefiningItemListUpdater(boost::shared_ptr<Executor> pExecutor)
        : m_pExecutor(std::move(pExecutor)) {
        CHECK_ASSERT(m_pExecutor);
    }
    virtual ~SimpleRefiningItemListUpdater() = default;

    bool Post(Message message, Item item) override {
        CHECK_ASSERT(m_pExecutor);
        Synchronization::RWLock::ExclusiveScope writing(m_lock);
        if (!m_pExecutor)
            return false;
        Entry entry{message, std::move(item)};
        for (auto it = m_entries.begin(); it != m_entries.end();) {
            if (it->message.priority > message.priority) {
                m_entries.insert(it, std::move(entry));
                return true;
            }
            const bool replaced = it->message.priority < message.priority ||
                                  (it->message.priority == message.priority && it->message.type == Message::kProgress);
            if (replaced && it->item.IsSameItem(entry.item))
                it = m_entries.erase(it);
            else
                ++it;
        }
        m_entries.push_back(std::move(entry));
        return true;
    }

    int GetNextInterval() override {
        Synchronization::RWLock::SharedScope reading(m_lock);
        return _NextInterval();
    }

    void RunWithNextInterval(const std::function<void(int)>& arm) override {
        Synchronization::RWLock::SharedScope reading(m_lock);
        arm(_NextInterval());
    }

    void ProcessQueue() override {
        CHECK_ASSERT(m_pExecutor);
        if (!m_pExecutor)
            return;
        for (;;) {
            Entry entry;
            {
                Synchronization::RWLock::ExclusiveScope writing(m_lock);
                if (m_entries.empty())
                    break;
                // The oldest entry of the most urgent priority present.
                auto chosen = std::prev(m_entries.end());
                const int top = chosen->message.priority;
                while (chosen != m_entries.begin() && std::prev(chosen)->message.priority >= top)
                    --chosen;
                entry = std::move(*chosen);
                m_entries.erase(chosen);
            }
            m_pExecutor->ProcessItem(entry);
        }
        ::InterlockedExchange(&m_lastDrain, static_cast<LONG>(Brunlow::QueueClock::Now()));
    }

private:
    // Under the lock.
    int _NextInterval() {
        if (m_entries.empty())
            return -1;
        const DWORD lastDrain = static_cast<DWORD>(::InterlockedCompareExchange(&m_lastDrain, 0, 0));
        // Unsigned, so a wrapped tick count still gives the small difference.
        const DWORD elapsed = Brunlow::QueueClock::Now() - lastDrain;
        return elapsed <= DWORD(kDrainInterval) ? kDrainInterval - static_cast<int>(elapsed) : 0;
    }

    // Ordered by priority, ascending from the front; within one priority in
    // order of posting.
    std::list<Entry> m_entries;
    boost::shared_ptr<Executor> m_pExecutor;
    volatile LONG m_lastDrain = 0;
    Synchronization::RWLock m_lock;
};
