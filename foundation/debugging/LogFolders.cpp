#include "foundation/debugging/LogFolders.h"

#include <windows.h>

namespace Debugging {

bool CreateFolderOf(const std::wstring& filePath) {
    const std::wstring::size_type last = filePath.find_last_of(L"\\/");
    if (last == std::wstring::npos || last == 0)
        return false;
    const std::wstring folder = filePath.substr(0, last);
    if (::GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const std::wstring::size_type first = folder.find_first_of(L"\\/");
    if (first == std::wstring::npos)
        return false;
    // The part before the first separator (a drive) is never created.
    for (std::wstring::size_type at = folder.find_first_of(L"\\/", first + 1); at != std::wstring::npos;
         at = folder.find_first_of(L"\\/", at + 1))
        ::CreateDirectoryW(folder.substr(0, at + 1).c_str(), nullptr);
    return ::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace Debugging
