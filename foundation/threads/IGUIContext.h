#pragma once
// IGUIContext: a context whose commands run on the thread of a window. The
// window's procedure passes every message number to HandleMessage; true means
// the message was the context's wake-up message and is consumed.
#include "foundation/threads/IContext.h"

#include <windows.h>

namespace ContextLib {

class IGUIContext : public IContext {
public:
    virtual bool HandleMessage(UINT message) = 0;
};

}  // namespace ContextLib
