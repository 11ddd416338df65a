#include "foundation/filesystem/XmlBstr.h"

namespace FileSystem {

XmlBstr::XmlBstr(const wlitestring& text) {
    if (!text.empty())
        m_bstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.length()));
}

void XmlBstr::Free() noexcept {
    if (m_bstr) {
        SysFreeString(m_bstr);
        m_bstr = nullptr;
    }
}

BSTR* XmlBstr::Receive() noexcept {
    Free();
    return &m_bstr;
}

std::wstring XmlBstr::str() const {
    return m_bstr ? std::wstring(m_bstr, SysStringLen(m_bstr)) : std::wstring();
}

VARIANT XmlBstr::AsVariant() const noexcept {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_BSTR;
    variant.bstrVal = m_bstr;
    return variant;
}

}  // namespace FileSystem
