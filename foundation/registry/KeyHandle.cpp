#include "foundation/registry/KeyHandle.h"

namespace Registry {

KeyHandle::KeyHandle(KeyHandle&& other) noexcept : m_key(other.m_key), m_viewBits(other.m_viewBits) {
    other.m_key = nullptr;
    other.m_viewBits = 0;
}

KeyHandle& KeyHandle::operator=(KeyHandle&& other) noexcept {
    if (this == &other)
        return *this;
    if (m_key != other.m_key)
        Close();
    m_key = other.m_key;
    m_viewBits = other.m_viewBits;
    other.m_key = nullptr;
    other.m_viewBits = 0;
    return *this;
}

void KeyHandle::Close() noexcept {
    if (m_key)
        RegCloseKey(m_key);
    m_key = nullptr;
    m_viewBits = 0;
}

KeyHandle KeyHandle::Open(HKEY root, const wchar_t* path, REGSAM access, LONG& status) {
    HKEY key = nullptr;
    status = RegOpenKeyExW(root, path, 0, access, &key);
    return status == ERROR_SUCCESS ? KeyHandle(key, access) : KeyHandle();
}

KeyHandle KeyHandle::Create(HKEY root, const wchar_t* path, DWORD options, REGSAM access, LONG& status) {
    HKEY key = nullptr;
    status = RegCreateKeyExW(root, path, 0, nullptr, options, access, nullptr, &key, nullptr);
    return status == ERROR_SUCCESS ? KeyHandle(key, access) : KeyHandle();
}

LONG KeyHandle::QueryDWORD(const wlitestring& name, DWORD& value) const {
    const wlitestring::c_string_holder valueName(name);
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD size = sizeof(data);
    const LONG status =
        RegQueryValueExW(m_key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    if (status != ERROR_SUCCESS)
        return status;
    // A shorter REG_DWORD would leave part of the number unread.
    if (type != REG_DWORD || size != sizeof(data))
        return ERROR_INVALID_DATA;
    value = data;
    return ERROR_SUCCESS;
}

LONG KeyHandle::QueryString(const wlitestring& name, wchar_t* buffer, DWORD characters) const {
    const wlitestring::c_string_holder valueName(name);
    DWORD type = REG_NONE;
    DWORD size = characters * sizeof(wchar_t);
    const LONG status =
        RegQueryValueExW(m_key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (status != ERROR_SUCCESS)
        return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    if (size == 0) {
        if (characters > 0)
            buffer[0] = L'\0';
        return ERROR_SUCCESS;
    }
    // The system stores string values as written: the zero may be missing.
    if (size % sizeof(wchar_t) != 0 || buffer[size / sizeof(wchar_t) - 1] != L'\0')
        return ERROR_INVALID_DATA;
    return ERROR_SUCCESS;
}

LONG KeyHandle::SetDWORD(const wlitestring& name, DWORD value) const {
    const wlitestring::c_string_holder valueName(name);
    return RegSetValueExW(m_key, valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value));
}

}  // namespace Registry
