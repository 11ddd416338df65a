#include "atlcomcli.h"

#include <cstring>

namespace ATL {

namespace {

void ThrowIfFailed(HRESULT hr) {
    if (FAILED(hr))
        AtlThrow(hr);
}

}  // namespace

CComVariant::CComVariant(const VARIANT& other) {
    ::VariantInit(this);
    ThrowIfFailed(::VariantCopy(this, const_cast<VARIANT*>(&other)));
}

CComVariant::CComVariant(const CComVariant& other) : CComVariant(static_cast<const VARIANT&>(other)) {}

CComVariant::CComVariant(LPCOLESTR text) {
    ::VariantInit(this);
    *this = text;
}

CComVariant::CComVariant(const CComBSTR& text) {
    ::VariantInit(this);
    vt = VT_BSTR;
    bstrVal = text.Copy();
}

CComVariant::CComVariant(bool value) noexcept {
    ::VariantInit(this);
    vt = VT_BOOL;
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

CComVariant::CComVariant(int value, VARTYPE type) noexcept {
    ::VariantInit(this);
    vt = (type == VT_INT) ? VT_INT : VT_I4;
    lVal = value;
}

CComVariant::CComVariant(long value, VARTYPE type) noexcept {
    ::VariantInit(this);
    vt = (type == VT_ERROR) ? VT_ERROR : VT_I4;
    lVal = value;
}

CComVariant::CComVariant(unsigned int value, VARTYPE type) noexcept {
    ::VariantInit(this);
    vt = (type == VT_UINT) ? VT_UINT : VT_UI4;
    ulVal = value;
}

CComVariant::CComVariant(unsigned long value) noexcept {
    ::VariantInit(this);
    vt = VT_UI4;
    ulVal = value;
}

CComVariant::CComVariant(short value) noexcept {
    ::VariantInit(this);
    vt = VT_I2;
    iVal = value;
}

CComVariant::CComVariant(BYTE value) noexcept {
    ::VariantInit(this);
    vt = VT_UI1;
    bVal = value;
}

CComVariant::CComVariant(LONGLONG value) noexcept {
    ::VariantInit(this);
    vt = VT_I8;
    llVal = value;
}

CComVariant::CComVariant(ULONGLONG value) noexcept {
    ::VariantInit(this);
    vt = VT_UI8;
    ullVal = value;
}

CComVariant::CComVariant(double value, VARTYPE type) noexcept {
    ::VariantInit(this);
    vt = (type == VT_DATE) ? VT_DATE : VT_R8;
    dblVal = value;
}

CComVariant::CComVariant(float value) noexcept {
    ::VariantInit(this);
    vt = VT_R4;
    fltVal = value;
}

CComVariant::CComVariant(IDispatch* value) noexcept {
    ::VariantInit(this);
    vt = VT_DISPATCH;
    pdispVal = value;
    if (value)
        value->AddRef();
}

CComVariant::CComVariant(IUnknown* value) noexcept {
    ::VariantInit(this);
    vt = VT_UNKNOWN;
    punkVal = value;
    if (value)
        value->AddRef();
}

CComVariant& CComVariant::operator=(const CComVariant& other) {
    return *this = static_cast<const VARIANT&>(other);
}

CComVariant& CComVariant::operator=(const VARIANT& other) {
    if (this != &other)
        ThrowIfFailed(::VariantCopy(this, const_cast<VARIANT*>(&other)));
    return *this;
}

CComVariant& CComVariant::operator=(LPCOLESTR text) {
    BSTR copy = nullptr;
    if (text) {
        copy = ::SysAllocString(text);
        if (!copy)
            AtlThrow(E_OUTOFMEMORY);
    }
    Clear();
    vt = VT_BSTR;
    bstrVal = copy;
    return *this;
}

CComVariant& CComVariant::operator=(bool value) {
    Clear();
    vt = VT_BOOL;
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return *this;
}

CComVariant& CComVariant::operator=(int value) {
    Clear();
    vt = VT_I4;
    lVal = value;
    return *this;
}

CComVariant& CComVariant::operator=(long value) {
    Clear();
    vt = VT_I4;
    lVal = value;
    return *this;
}

CComVariant& CComVariant::operator=(double value) {
    Clear();
    vt = VT_R8;
    dblVal = value;
    return *this;
}

CComVariant& CComVariant::operator=(IUnknown* value) {
    if (value)
        value->AddRef();
    Clear();
    vt = VT_UNKNOWN;
    punkVal = value;
    return *this;
}

CComVariant& CComVariant::operator=(IDispatch* value) {
    if (value)
        value->AddRef();
    Clear();
    vt = VT_DISPATCH;
    pdispVal = value;
    return *this;
}

bool CComVariant::operator==(const VARIANT& other) const noexcept {
    if (this == &other)
        return true;
    if (vt != other.vt)
        return false;
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_BSTR: {
        UINT length = ::SysStringLen(bstrVal);
        return length == ::SysStringLen(other.bstrVal) &&
               (length == 0 || std::memcmp(bstrVal, other.bstrVal, length * sizeof(OLECHAR)) == 0);
    }
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return punkVal == other.punkVal;
    default:
        // Plain values: compare through the system's comparison.
        return ::VarCmp(const_cast<VARIANT*>(static_cast<const VARIANT*>(this)),
                        const_cast<VARIANT*>(&other), LOCALE_USER_DEFAULT, 0) ==
               static_cast<HRESULT>(VARCMP_EQ);
    }
}

HRESULT CComVariant::Copy(const VARIANT* source) noexcept {
    if (!source)
        return E_POINTER;
    return ::VariantCopy(this, const_cast<VARIANT*>(source));
}

HRESULT CComVariant::Attach(VARIANT* source) noexcept {
    if (!source)
        return E_INVALIDARG;
    HRESULT hr = Clear();
    if (FAILED(hr))
        return hr;
    std::memcpy(static_cast<VARIANT*>(this), source, sizeof(VARIANT));
    source->vt = VT_EMPTY;
    return S_OK;
}

HRESULT CComVariant::Detach(VARIANT* destination) noexcept {
    if (!destination)
        return E_POINTER;
    HRESULT hr = ::VariantClear(destination);
    if (FAILED(hr))
        return hr;
    std::memcpy(destination, static_cast<VARIANT*>(this), sizeof(VARIANT));
    vt = VT_EMPTY;
    return S_OK;
}

HRESULT CComVariant::ChangeType(VARTYPE type, const VARIANT* source) noexcept {
    VARIANT* from = const_cast<VARIANT*>(source ? source : this);
    return ::VariantChangeType(this, from, 0, type);
}

}  // namespace ATL
