#pragma once
// A command that a context runs on another thread, and the object that runs
// it there.
#include <boost/shared_ptr.hpp>

namespace STLHelpers {

class ICommand {
public:
    virtual ~ICommand() = default;
    virtual void _Reserved() {}
    // Commands of one kind share an id, so a context can find and drop them
    // together; -1 stands for every command in the context's operations.
    virtual int GetId() const = 0;
};

}  // namespace STLHelpers

namespace ContextLib {

typedef boost::shared_ptr<STLHelpers::ICommand> CommandPtr;

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // Runs the command; called on the context's thread with no lock held.
    virtual void Execute(const CommandPtr& command) = 0;
};

}  // namespace ContextLib
