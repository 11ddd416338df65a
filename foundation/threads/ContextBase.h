#pragma once
// ContextBase: the part every context shares, its owner (the default target).
//
// Threads: the owner may be set from any thread while commands run.
#include "foundation/threads/GUIContextCommand.h"

#include <atomic>

namespace ContextLib {

template <class Interface>
class ContextBase : public Interface {
public:
    void SetOwner(ICommandTarget* owner) override { m_owner.store(owner); }

protected:
    ICommandTarget* _Owner() const noexcept { return m_owner.load(); }

private:
    std::atomic<ICommandTarget*> m_owner{nullptr};
};

}  // namespace ContextLib
