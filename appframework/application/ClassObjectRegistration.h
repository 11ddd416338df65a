#pragma once
// ClassObjectRegistration: the COM class objects of the application's local
// server, registered with COM for the lifetime of this object. It holds a
// lock on the module meanwhile. A failed registration is a warning and the
// program runs on without serving its classes.
//
// Thread: the GUI thread (made at start-up, destroyed at exit).
#include <atlexemodule.h>

namespace ApplicationFramework {

class ClassObjectRegistration {
public:
    explicit ClassObjectRegistration(CAtlExeModule& atlModule);
    // Revokes the class objects ("((hr))" when that fails), then releases
    // the module; each step guarded, so a raising module cannot stop exit.
    ~ClassObjectRegistration();
    ClassObjectRegistration(const ClassObjectRegistration&) = delete;
    ClassObjectRegistration& operator=(const ClassObjectRegistration&) = delete;

    bool IsRegistered() const { return m_isRegistered; }

private:
    CAtlExeModule& m_atlModule;
    bool m_isRegistered = false;
};

}  // namespace ApplicationFramework
