#pragma once
// GarbageCollector: file, folder and registry work done with this process's
// own rights. Failures come back as HRESULTs made from the Win32 error.
#include "DispatchObject.h"

#include "platform/elevation/Vantrel.h"

namespace Vantrel {

class GarbageCollectorObject : public DispatchObject<IGarbageCollector> {
public:
    static HRESULT CreateInstance(REFIID iid, void** out) { return Create<GarbageCollectorObject>(iid, out); }

    HRESULT STDMETHODCALLTYPE Reserved7() override;
    HRESULT STDMETHODCALLTYPE MoveFileItem(BSTR from, BSTR to, LONG random) override;
    HRESULT STDMETHODCALLTYPE DeleteFileItem(BSTR path, LONG random) override;
    HRESULT STDMETHODCALLTYPE CreateFolder(BSTR path) override;
    // S_OK when something exists at the path.
    HRESULT STDMETHODCALLTYPE PathOperation11(BSTR path) override;
    // S_OK for a file, S_FALSE for a folder, ERROR_FILE_NOT_FOUND when missing.
    HRESULT STDMETHODCALLTYPE PathExists(BSTR path, LONG random) override;
    // The REG_SZ value of a full key path ("HKEY_LOCAL_MACHINE\..."), read
    // in the 32-bit view; an empty name reads the key's default value.
    HRESULT STDMETHODCALLTYPE ReadRegistryValue(BSTR key, BSTR valueName, BSTR* value) override;
};

}  // namespace Vantrel
