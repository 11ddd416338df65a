#pragma once
// What the Updater's listeners hear from the worker. Both calls come on the
// worker's thread (or on the thread that stops the worker); a listener reads
// the new values back through Engine::UpdateController's getters.
namespace Engine {

class IUpdateEvents {
public:
    virtual void StateChanged() = 0;
    virtual void ProgressChanged() = 0;

protected:
    // Listeners are registered by pointer and never deleted through it.
    ~IUpdateEvents() = default;
};

}  // namespace Engine
