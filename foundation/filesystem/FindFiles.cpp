#include "foundation/filesystem/FindFiles.h"

#include "foundation/filesystem/FileNames.h"
#include "foundation/system/AutoHandle.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace FileSystem {

bool FindFiles(const wlitestring& folder, const wlitestring& mask, const FindFilesCallback& callback, bool recurse) {
    if (folder.empty() || mask.empty())
        return false;
    WIN32_FIND_DATAW entry = {};
    STLHelpers::AutoFindHandle search(FindFirstFileW(_CombinePath(folder, mask).c_str(), &entry));
    if (!search.IsValid())
        return true;
    do {
        // ".." would lead out of the folder, and up the tree when recursing.
        if (entry.cFileName[0] == L'\0' || std::wcscmp(entry.cFileName, L".") == 0 ||
            std::wcscmp(entry.cFileName, L"..") == 0)
            continue;
        const std::wstring path = _CombinePath(folder, entry.cFileName);
        if (!callback.function(callback.context, path.c_str()))
            break;
        if (recurse && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            FindFiles(path, mask, callback, recurse);
    } while (FindNextFileW(search.Get(), &entry));
    return true;
}

}  // namespace FileSystem
