#include "appframework/application/ApplicationBaseLite.h"

#include "foundation/filesystem/ShellFolders.h"

#include <shlobj.h>

namespace ApplicationFramework {

namespace {

// The first of the two shell folders that exists or can be made; empty when neither.
FileSystem::Folder FirstUsableFolder(int first, int second) {
    for (int csidl : {first, second}) {
        const FileSystem::Folder folder = FileSystem::GetSpecialFolder(csidl);
        if (!folder.GetPath().empty() && folder.Create())
            return folder;
    }
    return FileSystem::Folder();
}

}  // namespace

std::wstring GetDefaultVideosFolder() {
    const std::wstring name = AfxGetAppName();
    FileSystem::Folder folder = FirstUsableFolder(CSIDL_MYVIDEO, CSIDL_COMMON_VIDEO);
    if (!folder.GetPath().empty())
        return folder.GetSubFolder(name).GetPath();
    folder = FirstUsableFolder(CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS);
    if (folder.GetPath().empty())
        folder = FileSystem::GetApplicationFolder();
    return folder.GetSubFolder(name + L" Videos").GetPath();
}

}  // namespace ApplicationFramework
