#pragma once
// KeyHandle: owns one open registry key and remembers the view bits
// (KEY_WOW64_64KEY / KEY_WOW64_32KEY) it was opened with. Moved, never copied.
#include "foundation/strings/LiteString.h"

#include <windows.h>

namespace Registry {

class KeyHandle {
public:
    KeyHandle() noexcept : m_key(nullptr), m_viewBits(0) {}
    // Takes ownership of `key`.
    KeyHandle(HKEY key, REGSAM access) noexcept : m_key(key), m_viewBits(key ? (access & 0x300) : 0) {}
    KeyHandle(KeyHandle&& other) noexcept;
    KeyHandle& operator=(KeyHandle&& other) noexcept;
    ~KeyHandle() { Close(); }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;

    void Close() noexcept;
    HKEY Get() const noexcept { return m_key; }
    bool IsOpen() const noexcept { return m_key != nullptr; }
    REGSAM GetViewBits() const noexcept { return m_viewBits; }

    // RegOpenKeyExW / RegCreateKeyExW of root\path; an empty holder and the
    // Win32 error in `status` when the call fails.
    static KeyHandle Open(HKEY root, const wchar_t* path, REGSAM access, LONG& status);
    static KeyHandle Create(HKEY root, const wchar_t* path, DWORD options, REGSAM access, LONG& status);

    // A REG_DWORD of exactly 4 bytes; ERROR_INVALID_DATA for another type or
    // size, ERROR_MORE_DATA for a larger value. `value` changes only on success.
    LONG QueryDWORD(const wlitestring& name, DWORD& value) const;
    // A REG_SZ or REG_EXPAND_SZ (unexpanded) that ends with its terminating
    // zero within `characters`; an empty value gives an empty text.
    // ERROR_INVALID_DATA for another type or a value without the zero.
    LONG QueryString(const wlitestring& name, wchar_t* buffer, DWORD characters) const;
    LONG SetDWORD(const wlitestring& name, DWORD value) const;

private:
    HKEY m_key;
    REGSAM m_viewBits;
};

}  // namespace Registry
