#pragma once
// Work posted to a queue thread, and how a task crosses the thread message.
#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <memory>

namespace ThreadLib {

// One piece of work run on a queue thread. Held by shared pointer: by its
// creator, by the posted message while in flight and by the thread while it runs.
class QueueTask {
public:
    virtual ~QueueTask() = default;
    virtual void Run() = 0;
};

// A task travels in a message as a heap cell holding one copy of its shared
// pointer; whoever takes the cell out of the message frees it.
template <class Task>
struct DefaultQueueTaskFactory {
    using TaskPtr = boost::shared_ptr<Task>;

    static WPARAM MakeCell(const TaskPtr& task) { return reinterpret_cast<WPARAM>(new TaskPtr(task)); }

    // Frees the cell; a null cell gives a null task.
    static TaskPtr TakeCell(WPARAM cell) {
        std::unique_ptr<TaskPtr> owned(reinterpret_cast<TaskPtr*>(cell));
        return owned ? *owned : TaskPtr();
    }
};

}  // namespace ThreadLib
