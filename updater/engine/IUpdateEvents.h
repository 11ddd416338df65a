#pragma once
// What the Updater's listeners hear from the worker. StateChanged comes on
// the worker's thread (or on the thread that stops the worker),
// ProgressChanged on the thread that writes the download (WinHTTP's); a
// listener reads the new values back through Engine::UpdateController's getters.
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
