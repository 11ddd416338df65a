#pragma once
// XmlBstr: owns one BSTR, the text type of the XML DOM's calls.
#include "foundation/strings/LiteString.h"

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace FileSystem {

class XmlBstr {
public:
    XmlBstr() noexcept = default;
    // A copy of the text; null when the text is empty or memory is short.
    explicit XmlBstr(const wlitestring& text);
    ~XmlBstr() { Free(); }
    XmlBstr(const XmlBstr&) = delete;
    XmlBstr& operator=(const XmlBstr&) = delete;

    void Free() noexcept;
    // For an out-parameter: frees what is held and lets the callee store a
    // BSTR that this object then owns.
    BSTR* Receive() noexcept;

    BSTR Get() const noexcept { return m_bstr; }
    // True when the text is not empty.
    explicit operator bool() const noexcept { return SysStringLen(m_bstr) != 0; }
    // The text, embedded zero characters included.
    std::wstring str() const;
    // A VARIANT of type VT_BSTR that borrows this text: valid while the
    // object lives, never cleared by the caller.
    VARIANT AsVariant() const noexcept;

private:
    BSTR m_bstr = nullptr;
};

}  // namespace FileSystem
