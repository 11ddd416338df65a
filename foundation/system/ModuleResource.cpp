#include "foundation/system/ModuleResource.h"

#include <cstring>

namespace System {

ModuleResource::ModuleResource(const wchar_t* name, const wchar_t* type, HMODULE module)
    : m_resource(FindResourceW(module, name, type)), m_module(module) {}

bool ModuleResource::Read(void* buffer, DWORD& size) const {
    // No buffer holds nothing, whatever size comes with it: only the size is told.
    if (!buffer)
        size = 0;
    if (size)
        std::memset(buffer, 0, size);
    if (!m_resource) {
        size = 0;
        return false;
    }
    const DWORD needed = SizeofResource(m_module, m_resource);
    if (needed > size) {
        size = needed;
        return false;
    }
    HGLOBAL loaded = LoadResource(m_module, m_resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return false;
    if (needed)
        std::memcpy(buffer, bytes, needed);
    return true;
}

bool ModuleResource::ReadBytes(std::vector<BYTE>& bytes) const {
    bytes.assign(m_resource ? SizeofResource(m_module, m_resource) : 0, 0);
    DWORD size = static_cast<DWORD>(bytes.size());
    if (!Read(bytes.empty() ? nullptr : bytes.data(), size)) {
        bytes.clear();
        return false;
    }
    return true;
}

ResourceString LoadResourceString(UINT id, HMODULE module, LANGID language) {
    ResourceString result;
    // Each block holds 16 counted strings: a length, then that many characters.
    HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW((id >> 4) + 1), language);
    if (!block)
        return result;
    HGLOBAL loaded = LoadResource(module, block);
    const wchar_t* text = loaded ? static_cast<const wchar_t*>(LockResource(loaded)) : nullptr;
    if (!text)
        return result;
    const wchar_t* const end = text + SizeofResource(module, block) / sizeof(wchar_t);
    for (UINT entry = 0; text < end; ++entry) {
        const UINT length = static_cast<UINT>(*text++);
        // A block that claims more than it holds is read no further.
        if (length > static_cast<UINT>(end - text))
            break;
        if (entry == (id & 15)) {
            result.text.assign(text, length);
            result.found = length != 0;
            break;
        }
        text += length;
    }
    return result;
}

}  // namespace System
