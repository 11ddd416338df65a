#include "foundation/threads/IContext.h"

#include <stdexcept>

namespace ContextLib {

bool IContext::Post(const CommandPtr&, ICommandTarget*, bool) {
    throw std::runtime_error("Pure virtual function call");
}

bool IContext::Remove(const CommandPtr&) {
    throw std::runtime_error("Pure virtual function call");
}

bool IContext::IsExecuting(const CommandPtr&) {
    throw std::runtime_error("Pure virtual function call");
}

void IContext::CollectCommands(CommandList&, int) {
    throw std::runtime_error("Pure virtual function call");
}

}  // namespace ContextLib
