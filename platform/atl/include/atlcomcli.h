#pragma once
// ATL's COM client helpers: the interface pointer, the BSTR and the VARIANT
// owners. Each owns exactly one reference or one allocation and frees it.
#include "atlexcept.h"

#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <utility>

namespace ATL {

// An owned interface pointer: one reference, released on destruction.
template <class T>
class CComPtr {
public:
    CComPtr() noexcept = default;
    CComPtr(T* p) noexcept : p(p) { if (p) p->AddRef(); }
    CComPtr(const CComPtr& other) noexcept : CComPtr(other.p) {}
    CComPtr(CComPtr&& other) noexcept : p(other.p) { other.p = nullptr; }
    ~CComPtr() { Release(); }

    CComPtr& operator=(T* other) noexcept {
        if (other != p) {
            if (other) other->AddRef();
            T* old = p;
            p = other;
            if (old) old->Release();
        }
        return *this;
    }
    CComPtr& operator=(const CComPtr& other) noexcept { return *this = other.p; }
    CComPtr& operator=(CComPtr&& other) noexcept {
        if (this != std::addressof(other)) {
            Release();
            p = other.p;
            other.p = nullptr;
        }
        return *this;
    }

    operator T*() const noexcept { return p; }
    T* operator->() const noexcept { return p; }
    T& operator*() const noexcept { return *p; }
    // For out-parameters: a pointer held before is released first, so that
    // the reference is not lost when the callee fills in a new one.
    T** operator&() noexcept {
        Release();
        return &p;
    }
    bool operator!() const noexcept { return p == nullptr; }
    bool operator==(T* other) const noexcept { return p == other; }
    bool operator!=(T* other) const noexcept { return p != other; }

    void Release() noexcept {
        T* old = p;
        if (old) {
            p = nullptr;
            old->Release();
        }
    }
    void Attach(T* other) noexcept {
        if (p) p->Release();
        p = other;
    }
    T* Detach() noexcept { T* old = p; p = nullptr; return old; }
    HRESULT CopyTo(T** out) const noexcept {
        if (!out) return E_POINTER;
        *out = p;
        if (p) p->AddRef();
        return S_OK;
    }
    template <class Q>
    HRESULT QueryInterface(Q** out) const noexcept {
        if (!out) return E_POINTER;
        if (!p) return E_POINTER;
        return p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(out));
    }
    HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer = nullptr, DWORD context = CLSCTX_ALL) noexcept {
        Release();
        return ::CoCreateInstance(clsid, outer, context, __uuidof(T), reinterpret_cast<void**>(&p));
    }
    // True when both pointers reach the same object (compared through IUnknown).
    bool IsEqualObject(IUnknown* other) const noexcept {
        if (!p || !other) return p == nullptr && other == nullptr;
        CComPtr<IUnknown> a, b;
        p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a.p));
        other->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&b.p));
        return a.p == b.p;
    }

    T* p = nullptr;
};

// An interface pointer filled by QueryInterface from any other interface.
template <class T, const IID* piid = &__uuidof(T)>
class CComQIPtr : public CComPtr<T> {
public:
    CComQIPtr() noexcept = default;
    CComQIPtr(T* other) noexcept : CComPtr<T>(other) {}
    CComQIPtr(const CComQIPtr& other) noexcept : CComPtr<T>(other.p) {}
    CComQIPtr(IUnknown* other) noexcept {
        if (other) other->QueryInterface(*piid, reinterpret_cast<void**>(&this->p));
    }
    CComQIPtr& operator=(T* other) noexcept { CComPtr<T>::operator=(other); return *this; }
    CComQIPtr& operator=(const CComQIPtr& other) noexcept { CComPtr<T>::operator=(other.p); return *this; }
    CComQIPtr& operator=(IUnknown* other) noexcept {
        T* found = nullptr;
        if (other) other->QueryInterface(*piid, reinterpret_cast<void**>(&found));
        this->Attach(found);
        return *this;
    }
};

// An owned BSTR. Allocation failures raise CAtlException(E_OUTOFMEMORY).
class CComBSTR {
public:
    CComBSTR() noexcept = default;
    CComBSTR(LPCOLESTR text);
    CComBSTR(int length, LPCOLESTR text);
    explicit CComBSTR(int length);
    CComBSTR(const CComBSTR& other);
    CComBSTR(CComBSTR&& other) noexcept : m_str(other.m_str) { other.m_str = nullptr; }
    ~CComBSTR() { ::SysFreeString(m_str); }

    CComBSTR& operator=(const CComBSTR& other);
    CComBSTR& operator=(CComBSTR&& other) noexcept;
    CComBSTR& operator=(LPCOLESTR text);

    operator BSTR() const noexcept { return m_str; }
    // For out-parameters: a string held before is freed, so that the one
    // the callee fills in is not mixed up with it or lost.
    BSTR* operator&() noexcept {
        Empty();
        return &m_str;
    }
    bool operator!() const noexcept { return m_str == nullptr; }
    bool operator==(const CComBSTR& other) const noexcept;
    bool operator!=(const CComBSTR& other) const noexcept { return !(*this == other); }

    unsigned int Length() const noexcept { return ::SysStringLen(m_str); }
    BSTR Copy() const;
    HRESULT CopyTo(BSTR* out) const noexcept;
    void Attach(BSTR text) noexcept;
    BSTR Detach() noexcept { BSTR old = m_str; m_str = nullptr; return old; }
    void Empty() noexcept { ::SysFreeString(m_str); m_str = nullptr; }
    HRESULT Append(LPCOLESTR text) noexcept;
    HRESULT Append(LPCOLESTR text, int length) noexcept;
    HRESULT Append(const CComBSTR& other) noexcept { return Append(other.m_str, static_cast<int>(other.Length())); }
    CComBSTR& operator+=(LPCOLESTR text);

    BSTR m_str = nullptr;
};

// A VARIANT that clears itself. Copies are deep (VariantCopy).
class CComVariant : public tagVARIANT {
public:
    CComVariant() noexcept { ::VariantInit(this); }
    ~CComVariant() { Clear(); }
    CComVariant(const VARIANT& other);
    CComVariant(const CComVariant& other);
    CComVariant(LPCOLESTR text);
    CComVariant(const CComBSTR& text);
    CComVariant(bool value) noexcept;
    CComVariant(int value, VARTYPE type = VT_I4) noexcept;
    CComVariant(long value, VARTYPE type = VT_I4) noexcept;
    CComVariant(unsigned int value, VARTYPE type = VT_UI4) noexcept;
    CComVariant(unsigned long value) noexcept;
    CComVariant(short value) noexcept;
    CComVariant(BYTE value) noexcept;
    CComVariant(LONGLONG value) noexcept;
    CComVariant(ULONGLONG value) noexcept;
    CComVariant(double value, VARTYPE type = VT_R8) noexcept;
    CComVariant(float value) noexcept;
    CComVariant(IDispatch* value) noexcept;
    CComVariant(IUnknown* value) noexcept;

    CComVariant& operator=(const CComVariant& other);
    CComVariant& operator=(const VARIANT& other);
    CComVariant& operator=(LPCOLESTR text);
    CComVariant& operator=(bool value);
    CComVariant& operator=(int value);
    CComVariant& operator=(long value);
    CComVariant& operator=(double value);
    CComVariant& operator=(IUnknown* value);
    CComVariant& operator=(IDispatch* value);

    bool operator==(const VARIANT& other) const noexcept;
    bool operator!=(const VARIANT& other) const noexcept { return !(*this == other); }

    HRESULT Clear() noexcept { return ::VariantClear(this); }
    HRESULT Copy(const VARIANT* source) noexcept;
    HRESULT Attach(VARIANT* source) noexcept;
    HRESULT Detach(VARIANT* destination) noexcept;
    HRESULT ChangeType(VARTYPE type, const VARIANT* source = nullptr) noexcept;
};

}  // namespace ATL

using ATL::CComBSTR;
using ATL::CComPtr;
using ATL::CComQIPtr;
using ATL::CComVariant;
