#pragma once
// IContext: a place where commands run one after another on a thread of the
// context's choosing, posted from any thread.
#include "foundation/threads/GUIContextCommand.h"

#include <cstddef>
#include <vector>

namespace ContextLib {

typedef std::vector<CommandPtr> CommandList;

class IContext {
public:
    virtual ~IContext() = default;
    virtual void _Reserved() {}

    // The default target: runs commands posted without one.
    virtual void SetOwner(ICommandTarget* owner) = 0;

    // Queues the command for the target (the owner when null). An
    // asynchronous post returns at once; a synchronous one returns once the
    // command has run: true only when it ran to its end.
    // The interface's own bodies of Post, Remove, IsExecuting and
    // CollectCommands throw std::runtime_error "Pure virtual function call".
    virtual bool Post(const CommandPtr& command, ICommandTarget* target, bool asynchronous);
    // Drops the first waiting entry of this very command object; a running
    // one is not affected.
    virtual bool Remove(const CommandPtr& command);
    // Drops every waiting command with this id (-1: every waiting command).
    virtual bool RemoveById(int id) = 0;
    // Commands waiting or running, whatever their id.
    virtual std::size_t GetCount(int id) = 0;
    // Whether a command with this id (-1: any) is waiting or running.
    virtual bool HasCommand(int id) = 0;
    virtual bool IsExecuting(const CommandPtr& command);
    // Appends the running, then the waiting commands with this id (-1: all).
    virtual void CollectCommands(CommandList& list, int id);
    virtual bool QueryFlag() = 0;
    // While paused no command runs and synchronous posts are refused;
    // asynchronous ones wait for Resume.
    virtual bool Pause() = 0;
    virtual bool Resume() = 0;
    virtual bool IsPaused() = 0;
};

}  // namespace ContextLib
