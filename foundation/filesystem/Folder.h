#pragma once
// A folder path. The text may or may not end with a backslash; operations
// that compose add one where needed.
#include "foundation/strings/LiteString.h"

#include <string>

namespace FileSystem {

class File;

class Folder {
public:
    Folder() = default;
    explicit Folder(const wlitestring& path) : m_path(path.str()) {}

    const std::wstring& GetPath() const noexcept { return m_path; }

    // An item inside the folder; "" for an empty folder path.
    File GetFile(const wlitestring& name) const;
    Folder GetSubFolder(const wlitestring& name) const;

    // Creates the folder and every missing folder above it (the drive part
    // excepted). True when it exists afterwards or already did.
    bool Create() const;
    // Shell copy of the folder (or file) to `destination`, without questions.
    bool CopyTo(const wlitestring& destination) const;

private:
    std::wstring m_path;
};

}  // namespace FileSystem

#include "foundation/filesystem/File.h"
