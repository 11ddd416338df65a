#pragma once
// Reading a module's resources: raw bytes of a located resource and entries
// of the string table.
#include <windows.h>

#include <string>
#include <vector>

namespace System {

class ModuleResource {
public:
    // Locates the resource (FindResourceW); a missing one reads as nothing.
    ModuleResource(const wchar_t* name, const wchar_t* type, HMODULE module);

    bool IsFound() const noexcept { return m_resource != nullptr; }

    // Size protocol: the buffer is zeroed over `size` bytes. Missing resource:
    // size 0, false. Resource larger than `size`: size = the bytes needed,
    // false. Otherwise the bytes are copied and the result is true. A null
    // buffer counts as size 0.
    bool Read(void* buffer, DWORD& size) const;
    // The whole resource; false (and an empty list) when it is missing.
    bool ReadBytes(std::vector<BYTE>& bytes) const;

private:
    HRSRC m_resource;
    HMODULE m_module;
};

struct ResourceString {
    std::wstring text;
    bool found = false;  // the entry exists and is not empty
};

// String-table entry `id` in `language` of `module` (null: the executable).
ResourceString LoadResourceString(UINT id, HMODULE module, LANGID language);

}  // namespace System
