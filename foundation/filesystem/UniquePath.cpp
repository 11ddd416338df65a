#include "foundation/filesystem/UniquePath.h"

#include "foundation/filesystem/ShellFolders.h"
#include "foundation/system/Guid.h"

#include <shlwapi.h>

namespace FileSystem {

Folder CreateUniquePath(const Folder* pFolder, const wlitestring& suffix, DWORD flags) {
    Folder folder;
    if (pFolder && (PathFileExistsW(pFolder->GetPath().c_str()) || pFolder->Create()))
        folder = *pFolder;
    else
        folder = GetTempFolder();
    const std::wstring extension = suffix.empty() ? std::wstring() : L"." + suffix.str();

    // Bounded: a folder where nothing can be created would otherwise keep us here.
    for (int attempt = 0; attempt < kUniquePathAttempts; ++attempt) {
        const std::wstring name = System::CreateGuidString(nullptr, false, true) + extension;
        const File candidate = folder.GetFile(name);
        if (candidate.Exists())
            continue;
        if (!(flags & kUniquePathCreate))
            return Folder(candidate.GetPath());
        if (flags & kUniquePathFolder)
            Folder(candidate.GetPath()).Create();
        else
            candidate.WriteText(wlitestring(), false, false);
        if (candidate.Exists())
            return Folder(candidate.GetPath());
    }
    return Folder();
}

}  // namespace FileSystem
