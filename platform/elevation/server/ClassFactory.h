#pragma once
// The class object of one served class. It lives as long as the module; its
// LockServer keeps the server running as a live object would, and the
// module learns of the references COM and its clients hold on it.
#include "ServerModule.h"

#include <windows.h>

namespace Vantrel {

class ClassFactory : public IClassFactory {
public:
    typedef HRESULT (*CreateFunction)(REFIID iid, void** out);
    explicit ClassFactory(CreateFunction create) : m_create(create) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Static lifetime: the count only tells the module.
    ULONG STDMETHODCALLTYPE AddRef() override {
        GetModule().ClassObjectReferenced(true);
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        GetModule().ClassObjectReferenced(false);
        return 1;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return m_create(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            GetModule().Lock();
        else
            GetModule().Unlock();
        return S_OK;
    }

private:
    CreateFunction m_create;
};

}  // namespace Vantrel
