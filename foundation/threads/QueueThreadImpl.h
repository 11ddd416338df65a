#pragma once
// A worker thread that runs tasks posted to its message queue.
//
// The derived class's body loops on GetMessage until WM_QUIT and runs each
// kTaskMessage it gets: _TakeTask(msg.wParam) hands it the task and frees the
// cell. Any thread may post; Start and Stop belong to the owner.
#include "foundation/sync/CriticalSection.h"
#include "foundation/threads/QueueTask.h"
#include "foundation/threads/StartPolicy.h"
#include "foundation/threads/StopPolicy.h"
#include "foundation/threads/ThreadImpl.h"

#include <windows.h>

namespace ThreadLib {

template <class Derived, class TaskFactory = DefaultQueueTaskFactory<QueueTask>,
          class Policy = DefaultThreadPolicy<MessageQueueStartPolicy<>, MessageStopPolicy<>>>
class QueueThreadImpl : public ThreadImpl<Derived, Policy> {
public:
    using TaskPtr = typename TaskFactory::TaskPtr;
    static constexpr UINT kTaskMessage = 0x822B;

    // Posts the task when the thread runs and its queue becomes ready within the
    // start policy's ready time-out. False when nothing was posted; the message's
    // copy of the task is then released at once.
    bool _PostTask(const TaskPtr& task) {
        if (!task || !this->_IsRunning() || !this->_WaitForQueue(Policy::StartPolicy::ReadyTimeout))
            return false;
        // The thread withdraws its readiness and then drains its queue under
        // this lock: a post that still sees the queue ready lands before the
        // drain, never after it, where nobody would take it.
        Synchronization::CriticalSection::Scope lock(m_postLock);
        if (!this->_WaitForQueue(0))
            return false;
        const WPARAM cell = TaskFactory::MakeCell(task);
        if (::PostThreadMessageW(this->_GetThreadId(), kTaskMessage, cell, 0))
            return true;
        TaskFactory::TakeCell(cell);
        return false;
    }

    // The thread side of one task message: the task, its cell freed.
    static TaskPtr _TakeTask(WPARAM cell) { return TaskFactory::TakeCell(cell); }

    // Tasks still queued when the body has ended would never run and never be
    // released; they go with the thread.
    void _OnThreadExit() {
        Synchronization::CriticalSection::Scope lock(m_postLock);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, kTaskMessage, kTaskMessage, PM_REMOVE))
            TaskFactory::TakeCell(msg.wParam);
    }

private:
    Synchronization::CriticalSection m_postLock;
};

}  // namespace ThreadLib
