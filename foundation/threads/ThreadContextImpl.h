#pragma once
// ThreadContextImpl: the command queues of a context. Posted commands wait in
// the pending queue; the context's thread moves them one at a time to the
// running queue and runs them. Each entry carries its own target, so the same
// command object posted twice runs twice for the target each post named.
// Derived supplies `bool _Wake()`, which makes the context's thread call
// _RunNext until it gives false.
//
// Threads: any thread posts, removes, counts, pauses and resumes; only the
// context's thread runs commands. m_queueLock guards both queues and the
// pause flag; it is not held while a command runs or a poster waits.
#include "foundation/threads/GUIContextCommand.h"
#include "foundation/sync/CriticalSection.h"
#include "foundation/threads/GUIContextWaiter.h"

#include <algorithm>
#include <cstddef>
#include <deque>

namespace ThreadLib {

template <class Derived, class Base>
class ThreadContextImpl : public Base {
public:
    typedef ContextLib::CommandPtr CommandPtr;
    typedef ContextLib::CommandList CommandList;
    typedef ContextLib::ICommandTarget ICommandTarget;
    typedef ContextLib::CommandWaiter CommandWaiter;

    // Waits for nothing: posters of commands still queued are woken with a
    // failure.
    ~ThreadContextImpl() override {
        Synchronization::CriticalSection::Scope lock(m_queueLock);
        for (const Entry& entry : m_pending)
            _Abandon(entry);
        for (const Entry& entry : m_running)
            _Abandon(entry);
        m_pending.clear();
        m_running.clear();
    }

    bool Remove(const CommandPtr& command) override {
        Synchronization::CriticalSection::Scope lock(m_queueLock);
        const typename Queue::iterator found = std::find_if(
            m_pending.begin(), m_pending.end(), [&command](const Entry& entry) { return entry.command == command; });
        if (found == m_pending.end())
            return false;
        _Abandon(*found);
        m_pending.erase(found);
        return true;
    }

    bool RemoveById(int id) override {
        Synchronization::CriticalSection::Scope lock(m_queueLock);
        Queue kept;
        for (const Entry& entry : m_pending) {
            if (_Matches(entry, id))
                _Abandon(entry);
            else
                kept.push_back(entry);
        }
        m_pending.swap(kept);
        _WakeIfWaiting();
        return true;
    }

    std::size_t GetCount(int) override {
        Synchronization::CriticalSection::Scope lock(m_queueLock);
        return _Count();
    }

    bool HasCommand(int id) override {
        Synchronization::CriticalSection::Scope lock(m_queueLock);
        const auto matches = [id](const Entry& entry) { return _Matches(entry, id); };
        return std::any_of(m_running.begin(), m_running.end(), matches) ||
               std::any_of(m_pending.begin(), m_pending.end(), matches);
    }

    bool IsExecuting(const CommandPtr& command) override {
        Synchronization::CriticalSection::Scope lock(m_queueLock);
        return std::any_of(m_running.begin(), m_running.end(),
                           [&command](const Entry& entry) { return entry.command == command; });
    }

    void CollectCommands(CommandList& list, int id) override {
        Synchronization::CriticalSection::Scope lock(m_queueLock);
        for (const Queue* queue : {&m_running, &m_pending}) {
            for (const Entry& entry : *queue) {
                if (_Matches(entry, id))
                    list.push_back(entry.command);
            }
        }
    }

    bool Pause() override {
        Synchronization::CriticalSection::Scope lock(m_queueLock);
        m_paused = true;
        return true;
    }

    bool Resume() override {
        Synchronization::CriticalSection::Scope lock(m_queueLock);
        m_paused = false;
        _WakeIfWaiting();
        return true;
    }

    bool IsPaused() override {
        Synchronization::CriticalSection::Scope lock(m_queueLock);
        return m_paused;
    }

protected:
    // Queues the command. For a synchronous post `waiter` receives what the
    // poster then waits on. False, with nothing queued, for a synchronous
    // post while paused or when the context's thread cannot be woken.
    bool _Queue(const CommandPtr& command, ICommandTarget* target, bool asynchronous,
                boost::shared_ptr<CommandWaiter>& waiter) {
        if (!asynchronous) {
            if (IsPaused())
                return false;
            waiter = CommandWaiter::Create();
            if (!waiter)
                return false;
        }
        Synchronization::CriticalSection::Scope lock(m_queueLock);
        if (!asynchronous && m_paused)
            return false;
        m_pending.push_back(Entry{command, target, waiter, ++m_lastSerial});
        if (!m_paused && !_Self()._Wake()) {
            m_pending.pop_back();
            return false;
        }
        return true;
    }

    // Runs the first pending command on the calling thread with the entry's
    // target, or the owner when it names none. False when paused or nothing
    // is pending. An exception of the target passes to the caller once the
    // entry is finished (its poster told of the failure).
    bool _RunNext() {
        Entry entry;
        {
            Synchronization::CriticalSection::Scope lock(m_queueLock);
            if (m_paused || m_pending.empty())
                return false;
            entry = m_pending.front();
            m_pending.pop_front();
            m_running.push_back(entry);
        }
        bool ran = false;
        try {
            // A synchronous poster may have given up on the command already.
            if (!entry.waiter || entry.waiter->BeginRun()) {
                ICommandTarget* target = entry.target ? entry.target : this->_Owner();
                if (target) {
                    target->Execute(entry.command);
                    ran = true;
                }
            }
        } catch (...) {
            // The caller's loop ends here; the commands behind this one must
            // not wait for the next post.
            _Finish(entry, false, true);
            throw;
        }
        _Finish(entry, ran, false);
        return true;
    }

private:
    struct Entry {
        CommandPtr command;
        ICommandTarget* target;
        boost::shared_ptr<CommandWaiter> waiter;
        // Tells apart entries of the same command object.
        unsigned serial;
    };
    typedef std::deque<Entry> Queue;

    Derived& _Self() noexcept { return static_cast<Derived&>(*this); }

    static bool _Matches(const Entry& entry, int id) { return id == -1 || entry.command->GetId() == id; }

    static void _Abandon(const Entry& entry) noexcept {
        if (entry.waiter)
            entry.waiter->Finish(false);
    }

    std::size_t _Count() const noexcept { return m_pending.size() + m_running.size(); }

    // Under m_queueLock.
    void _WakeIfWaiting() {
        if (!m_paused && _Count() != 0)
            _Self()._Wake();
    }

    void _Finish(const Entry& entry, bool ran, bool wakeAgain) noexcept {
        {
            Synchronization::CriticalSection::Scope lock(m_queueLock);
            const typename Queue::iterator found =
                std::find_if(m_running.begin(), m_running.end(),
                             [&entry](const Entry& running) { return running.serial == entry.serial; });
            if (found != m_running.end())
                m_running.erase(found);
            if (wakeAgain)
                _WakeIfWaiting();
        }
        if (entry.waiter)
            entry.waiter->Finish(ran);
    }

    Synchronization::CriticalSection m_queueLock;
    Queue m_pending;
    bool m_paused = false;
    Queue m_running;
    unsigned m_lastSerial = 0;
};

}  // namespace ThreadLib
