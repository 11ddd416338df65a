#include "foundation/filesystem/ShellFolders.h"

#include "foundation/errors/Checks.h"
#include "foundation/filesystem/FileNames.h"
#include "foundation/filesystem/GrowBuffer.h"
#include "foundation/strings/OwnedWString.h"

#include <shlobj.h>

namespace FileSystem {

namespace {

const DWORD kInitialSize = 260;
const DWORD kMaximumSize = 32767;

typedef DWORD(WINAPI* ConvertPathFunction)(LPCWSTR, LPWSTR, DWORD);

std::wstring ConvertPath(ConvertPathFunction convert, const wlitestring& path, bool growToPathLength) {
    wlitestring::c_string_holder source;
    STLHelpers::ToOwnedWString(path, source);
    std::wstring converted;
    DWORD lastError = 0;
    if (!_GrowBufferCall([&](wchar_t* buffer, DWORD size) { return convert(source.c_str(), buffer, size); },
                         kInitialSize, kMaximumSize, converted, &lastError,
                         growToPathLength ? static_cast<DWORD>(path.length()) : 0))
        converted = path.str();
    if (converted.empty()) {
        const ErrorHandling::ErrorCode lerr = ErrorHandling::ErrorCode::FromWin32Error(lastError);
        if (lerr.IsFailure()) {
            Reporting::GetModuleReportingObject().ReportError("((lerr))", &lerr);
            return path.str();
        }
    }
    return converted;
}

}  // namespace

Folder GetTempFolder() {
    std::wstring path;
    _GrowBufferCall([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); }, kInitialSize,
                    kMaximumSize, path);
    return Folder(GetLongPath(path));
}

File GetModuleFilePath(HMODULE module) {
    std::wstring path;
    _GrowBufferCall([module](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(module, buffer, size); },
                    kInitialSize, kMaximumSize, path);
    return File(GetLongPath(path));
}

Folder GetModuleFolder(HMODULE module) {
    return Folder(_GetFolderPart(GetModuleFilePath(module).GetPath()));
}

Folder GetApplicationFolder() {
    return GetModuleFolder(nullptr);
}

Folder GetSpecialFolder(int csidl) {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, buffer)))
        return Folder();
    return Folder(buffer);
}

std::wstring GetModuleRelativePath(const wlitestring& relativePath, HMODULE module) {
    return _ResolveRelativePath(relativePath, GetModuleFilePath(module).GetPath());
}

std::wstring MakePathRelativeToModule(const wlitestring& path, HMODULE module) {
    return GetRelativePath(path, GetModuleFilePath(module).GetPath());
}

std::wstring GetLongPath(const wlitestring& path) {
    return ConvertPath(GetLongPathNameW, path, true);
}

std::wstring GetShortPath(const wlitestring& path) {
    return ConvertPath(GetShortPathNameW, path, false);
}

}  // namespace FileSystem
