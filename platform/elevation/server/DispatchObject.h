#pragma once
// The shared half of every object the server hands out: the reference count,
// QueryInterface for IUnknown, IDispatch and the object's own dual
// interface, and IDispatch answered from the embedded type library. Each live
// object holds one lock on the server module.
#include "ServerModule.h"

#include <windows.h>
#include <oleauto.h>

#include <new>

namespace Vantrel {

// The type information of one interface of the executable's own type library.
HRESULT LoadOwnTypeInfo(REFIID iid, ITypeInfo** typeInfo);

template <class Interface>
class DispatchObject : public Interface {
public:
    // A new object with one reference, in *out as the requested interface.
    template <class Derived>
    static HRESULT Create(REFIID iid, void** out) {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        Derived* object = new (std::nothrow) Derived;
        if (!object)
            return E_OUTOFMEMORY;
        HRESULT hr = LoadOwnTypeInfo(__uuidof(Interface), &object->m_typeInfo);
        if (SUCCEEDED(hr))
            hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, __uuidof(Interface))) {
            *out = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG references = InterlockedDecrement(&m_references);
        if (references == 0)
            delete this;
        return static_cast<ULONG>(references);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) override {
        if (!typeInfo)
            return E_POINTER;
        *typeInfo = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        m_typeInfo->AddRef();
        *typeInfo = m_typeInfo;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return DispGetIDsOfNames(m_typeInfo, names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override {
        return DispInvoke(static_cast<Interface*>(this), m_typeInfo, id, flags, parameters, result, exception,
                          argumentError);
    }

protected:
    DispatchObject() { GetModule().Lock(); }
    virtual ~DispatchObject() {
        if (m_typeInfo)
            m_typeInfo->Release();
        GetModule().Unlock();
    }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

private:
    volatile LONG m_references = 1;
    ITypeInfo* m_typeInfo = nullptr;
};

}  // namespace Vantrel
