#include "foundation/filesystem/Folder.h"

#include "foundation/filesystem/FileNames.h"
#include "foundation/filesystem/ShellFileOperation.h"

#include <shlwapi.h>

namespace FileSystem {

File Folder::GetFile(const wlitestring& name) const {
    return File(_CombinePath(m_path, name));
}

Folder Folder::GetSubFolder(const wlitestring& name) const {
    return Folder(_CombinePath(m_path, name));
}

bool Folder::Create() const {
    if (PathFileExistsW(m_path.c_str()))
        return true;
    size_t separator = m_path.find_first_of(L"\\/");
    if (separator == std::wstring::npos)
        return false;
    // Each folder above, in order; those that exist already just fail.
    for (separator = m_path.find_first_of(L"\\/", separator + 1); separator != std::wstring::npos;
         separator = m_path.find_first_of(L"\\/", separator + 1))
        CreateDirectoryW(m_path.substr(0, separator + 1).c_str(), nullptr);
    if (CreateDirectoryW(StripTrailingBackslash(m_path).c_str(), nullptr))
        return true;
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

bool Folder::CopyTo(const wlitestring& destination) const {
    return _ShellFileOperation(FO_COPY, m_path, destination, false);
}

}  // namespace FileSystem
