#pragma once
// One connection to the elevation service's GarbageCollector for one call:
// COM entered on the calling thread, the object activated (with one repair
// of the service's registration when its class is not registered), released
// and COM left at the end of the scope.
//
//   HRESULT hr = E_OUTOFMEMORY;
//   GenericServicePtr service(hr);   // may raise ErrorHandling::ErrorException
//   hr = service->CreateFolder(path); // a null object raises _com_error(E_POINTER)
//
// Thread: belongs to the thread that made it; never shared or copied.
#include "foundation/filesystem/ComScope.h"

#include "platform/elevation/Vantrel.h"

#include <atlcomcli.h>
#include <windows.h>

namespace GenericServiceClient {

class GenericServicePtr {
public:
    // Leaves the HRESULT of the last activation attempt in `result`.
    explicit GenericServicePtr(HRESULT& result);
    ~GenericServicePtr();
    GenericServicePtr(const GenericServicePtr&) = delete;
    GenericServicePtr& operator=(const GenericServicePtr&) = delete;

    IGarbageCollector* operator->() const;
    IGarbageCollector* Get() const noexcept { return m_pgc; }

private:
    HRESULT _Activate();

    System::ComScope m_comScope;
    CComPtr<IGarbageCollector> m_pgc;
};

// The model the client enters COM with: the process-wide default, where any
// value above 2 counts as multithreaded.
DWORD GetServiceComModel();

// The service executable: "Vantrel.exe" in the 32-bit system folder.
std::wstring GetServiceExecutablePath();

}  // namespace GenericServiceClient
