#pragma once
// The nine predefined registry roots by name. A root is held as the 32-bit
// value of its predefined handle (0x80000001 for HKEY_CURRENT_USER); 0 means
// none.
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <cstdint>

namespace Registry {

typedef std::uint32_t RootKey;

const int RootKeyCount = 9;

// Row `index` of the table (0 HKCU, 1 HKLM, 2 HKCR, 3 HKCC, 4 HKUS, 5 HKDD,
// 6 HKPD, 7 HKPN, 8 HKPT); an empty name and root 0 outside 0..8.
const wchar_t* GetRootShortName(int index);
const wchar_t* GetRootLongName(int index);
RootKey GetRootValue(int index);

// The first row whose short or long name equals the text ignoring case
// ("hklm", "HKEY_local_MACHINE"); false, index untouched, when none does.
bool ParseRootName(const wlitestring& text, int& index);

// Long names only, exactly as written, one trailing backslash allowed; 0 when
// the text names no root.
RootKey ParseRootKeyLongName(const wlitestring& text);

HKEY ToHandle(RootKey root);

// The access rights for one of the two views of the registry: the program's
// own (the 32-bit view for this 32-bit program) or the 64-bit one.
inline REGSAM WithView(REGSAM access, bool ownView) {
    return access | (ownView ? 0 : KEY_WOW64_64KEY);
}
RootKey ToRootKey(HKEY predefined);

}  // namespace Registry
