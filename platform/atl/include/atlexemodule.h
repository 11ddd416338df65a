#pragma once
// The COM side of an executable that serves classes as a local server: the
// class objects it registers with COM while it runs, the LocalServer32
// entries that let COM start it ("/Register" and "/Unregister" requests),
// and the count of outstanding locks on the server.
// Thread: classes are added and registered on the start-up thread; the lock
// count may change on any thread (interlocked).
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace ATL {

class CAtlExeModule {
public:
    CAtlExeModule() = default;
    // Revokes every class object still registered, so none outlives the module.
    virtual ~CAtlExeModule();
    CAtlExeModule(const CAtlExeModule&) = delete;
    CAtlExeModule& operator=(const CAtlExeModule&) = delete;

    // A class this module serves; the factory is kept (one reference) until
    // the module ends. E_INVALIDARG for a null factory or a class already added.
    HRESULT AddClassObject(REFCLSID clsid, IClassFactory* factory, LPCWSTR description);

    // CoRegisterClassObject for every class not registered yet. On a failure
    // the ones registered by this call are revoked again and the failure returned.
    HRESULT RegisterClassObjects(DWORD classContext, DWORD flags);
    // CoRevokeClassObject for every registered class; the first failure is
    // returned, but every class is revoked.
    HRESULT RevokeClassObjects();

    // Writes HKEY_CLASSES_ROOT\CLSID\{clsid} (the description) and its
    // LocalServer32 key (this executable's quoted path) for every class, or
    // only for the given one. With registerTypeLibrary, a type library
    // embedded as resource TYPELIB 1 is registered too (its interfaces then
    // marshal through oleaut32); an executable without one has none to register.
    HRESULT RegisterServer(BOOL registerTypeLibrary = FALSE, const CLSID* clsid = nullptr);
    // Removes those keys, and the embedded type library's registration when
    // asked; what is not registered counts as removed.
    HRESULT UnregisterServer(BOOL unregisterTypeLibrary, const CLSID* clsid = nullptr);

    // Optional extra work of a "/Register" or "/Unregister" request beyond
    // the class keys; null when the module has none.
    typedef HRESULT (*ExtraRegistrationRoutine)(CAtlExeModule& module);
    ExtraRegistrationRoutine m_pfnExtraRegister = nullptr;
    ExtraRegistrationRoutine m_pfnExtraUnregister = nullptr;

    virtual LONG Lock();
    virtual LONG Unlock();
    LONG GetLockCount() const { return m_lockCount; }

private:
    struct ClassEntry {
        CLSID clsid;
        IClassFactory* factory;
        std::wstring description;
        DWORD cookie;  // 0 while not registered with COM
    };

    bool Selected(const ClassEntry& entry, const CLSID* clsid) const;

    std::vector<ClassEntry> m_classes;
    volatile LONG m_lockCount = 0;
};

}  // namespace ATL

using ATL::CAtlExeModule;
