#pragma once
// Lets a read-only file be written for the lifetime of the keeper: the
// read-only bit is cleared on construction and set again on destruction.
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <string>

namespace FileSystem {

class AttributeKeeper {
public:
    // Remembers the attributes of an existing file (0 for a folder or a
    // missing file) and clears a read-only bit.
    explicit AttributeKeeper(const wlitestring& path);
    // A file that was read-only gets its kept attributes back, whatever
    // was written to the path in between.
    ~AttributeKeeper();
    AttributeKeeper(const AttributeKeeper&) = delete;
    AttributeKeeper& operator=(const AttributeKeeper&) = delete;

    DWORD GetKeptAttributes() const { return m_attributes; }
    bool WasReadOnly() const { return (m_attributes & FILE_ATTRIBUTE_READONLY) != 0; }

private:
    std::wstring m_path;
    DWORD m_attributes;
};

}  // namespace FileSystem
