#include "atlcomcli.h"

#include <cwchar>

namespace ATL {

namespace {

BSTR AllocOrThrow(LPCOLESTR text, UINT length) {
    BSTR result = ::SysAllocStringLen(text, length);
    if (!result)
        AtlThrow(E_OUTOFMEMORY);
    return result;
}

}  // namespace

CComBSTR::CComBSTR(LPCOLESTR text) {
    if (text)
        m_str = AllocOrThrow(text, static_cast<UINT>(std::wcslen(text)));
}

CComBSTR::CComBSTR(int length, LPCOLESTR text) {
    if (length >= 0)
        m_str = AllocOrThrow(text, static_cast<UINT>(length));
}

CComBSTR::CComBSTR(int length) {
    if (length >= 0)
        m_str = AllocOrThrow(nullptr, static_cast<UINT>(length));
}

CComBSTR::CComBSTR(const CComBSTR& other) : m_str(other.Copy()) {}

CComBSTR& CComBSTR::operator=(const CComBSTR& other) {
    if (this != std::addressof(other)) {
        BSTR copy = other.Copy();
        ::SysFreeString(m_str);
        m_str = copy;
    }
    return *this;
}

CComBSTR& CComBSTR::operator=(CComBSTR&& other) noexcept {
    if (this != std::addressof(other)) {
        ::SysFreeString(m_str);
        m_str = other.m_str;
        other.m_str = nullptr;
    }
    return *this;
}

CComBSTR& CComBSTR::operator=(LPCOLESTR text) {
    if (text != m_str) {
        BSTR copy = text ? AllocOrThrow(text, static_cast<UINT>(std::wcslen(text))) : nullptr;
        ::SysFreeString(m_str);
        m_str = copy;
    }
    return *this;
}

bool CComBSTR::operator==(const CComBSTR& other) const noexcept {
    UINT length = Length();
    if (length != other.Length())
        return false;
    if (length == 0)
        return true;  // a null BSTR and an empty one are the same text
    return std::wmemcmp(m_str, other.m_str, length) == 0;
}

BSTR CComBSTR::Copy() const {
    if (!m_str)
        return nullptr;
    return AllocOrThrow(m_str, Length());
}

HRESULT CComBSTR::CopyTo(BSTR* out) const noexcept {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!m_str)
        return S_OK;
    *out = ::SysAllocStringLen(m_str, Length());
    return *out ? S_OK : E_OUTOFMEMORY;
}

void CComBSTR::Attach(BSTR text) noexcept {
    if (text != m_str) {
        ::SysFreeString(m_str);
        m_str = text;
    }
}

HRESULT CComBSTR::Append(LPCOLESTR text) noexcept {
    return text ? Append(text, static_cast<int>(std::wcslen(text))) : S_OK;
}

HRESULT CComBSTR::Append(LPCOLESTR text, int length) noexcept {
    if (length <= 0 || !text)
        return S_OK;
    UINT oldLength = Length();
    BSTR joined = ::SysAllocStringLen(nullptr, oldLength + static_cast<UINT>(length));
    if (!joined)
        return E_OUTOFMEMORY;
    if (oldLength)
        std::wmemcpy(joined, m_str, oldLength);
    std::wmemcpy(joined + oldLength, text, static_cast<size_t>(length));
    ::SysFreeString(m_str);
    m_str = joined;
    return S_OK;
}

CComBSTR& CComBSTR::operator+=(LPCOLESTR text) {
    HRESULT hr = Append(text);
    if (FAILED(hr))
        AtlThrow(hr);
    return *this;
}

}  // namespace ATL
