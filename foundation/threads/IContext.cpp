#include "foundation/threads/IContext.h"

#include "foundation/core/InterfaceCore.h"

namespace ContextLib {

bool IContext::Post(const CommandPtr&, ICommandTarget*, bool) {
    InterfaceCore::ThrowPureVirtualCall();
}

bool IContext::Remove(const CommandPtr&) {
    InterfaceCore::ThrowPureVirtualCall();
}

bool IContext::IsExecuting(const CommandPtr&) {
    InterfaceCore::ThrowPureVirtualCall();
}

void IContext::CollectCommands(CommandList&, int) {
    InterfaceCore::ThrowPureVirtualCall();
}

}  // namespace ContextLib
