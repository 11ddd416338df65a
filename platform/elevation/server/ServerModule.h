#pragma once
// The server's COM module: the class objects it serves, and the count of
// live objects and server locks that keeps the process running.
// Thread: the objects live in the main thread's apartment; the count is
// interlocked all the same.
#include <atlexemodule.h>

#include <windows.h>

namespace Vantrel {

class ServerModule : public CAtlExeModule {
public:
    LONG Lock() override;
    LONG Unlock() override;

    // Serves the class objects until the last object and lock have been gone
    // for a short grace (so that a client's next activation still finds this
    // process), or until nothing has come at all for a while. Needs COM.
    HRESULT Serve();

private:
    volatile LONG m_everUsed = 0;
    volatile DWORD m_idleSince = GetTickCount();
};

ServerModule& GetModule();

}  // namespace Vantrel
