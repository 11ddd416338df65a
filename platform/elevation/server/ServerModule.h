#pragma once
// The server's COM module: the class objects it serves, and the count of
// live objects and server locks that keeps the process running.
// Thread: the objects live in the main thread's apartment; the count is
// interlocked all the same.
#include <atlexemodule.h>

#include <windows.h>

#include <functional>

namespace Vantrel {

class ServerModule : public CAtlExeModule {
public:
    LONG Lock() override;
    LONG Unlock() override;

    // The class objects count the references COM and its clients hold.
    void ClassObjectReferenced(bool referenced);

    // Serves the class objects until the last object and lock have been gone
    // for a short grace (so that a client's next activation still finds this
    // process), or until nothing has come at all for a while; then takes no
    // new activation but serves the clients that already hold a class object
    // until they are done. Needs COM.
    HRESULT Serve();

private:
    // Dispatches messages until `done` holds at a tick of the timer; false
    // when the queue ended first.
    bool PumpUntil(UINT_PTR timer, const std::function<bool()>& done);

    volatile LONG m_everUsed = 0;
    volatile LONG m_classObjectReferences = 0;
    volatile DWORD m_idleSince = GetTickCount();
};

ServerModule& GetModule();

}  // namespace Vantrel
