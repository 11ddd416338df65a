#include "foundation/debugging/ReportFolders.h"

#include "foundation/filesystem/File.h"
#include "foundation/filesystem/ShellFolders.h"

#include <shlobj.h>

#include <atomic>

namespace ErrorReport {
namespace {

std::wstring LookUpShellFolder(int csidl) {
    return FileSystem::GetSpecialFolder(csidl).GetPath();
}

std::atomic<ShellFolderLookup> s_shellFolderLookup{&LookUpShellFolder};

bool IsExistingFolder(const std::wstring& path) {
    return !path.empty() && FileSystem::File(path).HasAttributes(FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

ShellFolderLookup SetShellFolderLookup(ShellFolderLookup lookup) {
    return s_shellFolderLookup.exchange(lookup ? lookup : &LookUpShellFolder);
}

std::wstring GetShellFolder(int csidl) {
    return s_shellFolderLookup.load()(csidl);
}

std::wstring GetReportName(const wlitestring& name) {
    if (!name.empty())
        return name.str();
    const std::wstring folder = FileSystem::GetModuleFilePath(nullptr).GetFolderPath();
    return FileSystem::File(folder).GetTitle();
}

std::wstring GetErrorReportFolder(const wlitestring& name) {
    std::wstring desktop = GetShellFolder(CSIDL_DESKTOPDIRECTORY);
    if (!IsExistingFolder(desktop)) {
        desktop = GetShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
        if (!IsExistingFolder(desktop))
            return std::wstring();
    }
    return FileSystem::Folder(desktop).GetSubFolder(GetReportName(name) + L" Error Report").GetPath();
}

std::wstring GetLogFolder(const wlitestring& name) {
    return FileSystem::GetTempFolder()
        .GetSubFolder(L"Ruveziz\\Debugging\\Log\\")
        .GetSubFolder(GetReportName(name))
        .GetPath();
}

}  // namespace ErrorReport
