#include "foundation/system/Fonts.h"

#include "foundation/strings/OwnedWString.h"

#include <windows.h>

namespace System {

namespace {

int CALLBACK MarkFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // the first family is enough
}

}  // namespace

bool IsFontInstalled(const wlitestring& family) {
    wlitestring::c_string_holder name;
    STLHelpers::ToOwnedWString(family, name);
    bool found = false;
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    EnumFontFamiliesW(screen, name.c_str(), MarkFound, reinterpret_cast<LPARAM>(&found));
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace System
