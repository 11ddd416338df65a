#include "foundation/system/Library.h"

#include "foundation/strings/OwnedWString.h"

namespace System {

bool Library::Load(const wlitestring& path) {
    wlitestring::c_string_holder name;
    STLHelpers::ToOwnedWString(path, name);
    Free();
    m_module = LoadLibraryW(name.c_str());
    if (!m_module) {
        m_lastError = ErrorHandling::ErrorCode::FromLastError();
        return false;
    }
    return true;
}

void Library::Free() {
    if (m_keep || !m_module)
        return;
    FreeLibrary(m_module);
    m_module = nullptr;
}

HMODULE GetCurrentModule() {
    MEMORY_BASIC_INFORMATION region = {};
    VirtualQuery(reinterpret_cast<const void*>(&GetCurrentModule), &region, sizeof region);
    return static_cast<HMODULE>(region.AllocationBase);
}

}  // namespace System
