#include "foundation/filesystem/ShellFileOperation.h"

#include "foundation/errors/Checks.h"
#include "foundation/filesystem/FileNames.h"
#include "foundation/system/StructuredExceptionGuard.h"

#include <string>

namespace FileSystem {

namespace {

const FILEOP_FLAGS kQuietFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI |
                                 FOF_NO_CONNECTED_ELEMENTS | FOF_NORECURSEREPARSE;
static_assert(kQuietFlags == 0xA614, "shell operation flags");

// A list of one name: the normalised path and a second terminating zero.
std::wstring NameList(const wlitestring& path) {
    std::wstring list = NormalizePath(path, wlitestring(), kNormalizeAll);
    list.push_back(L'\0');
    return list;
}

}  // namespace

bool _ShellFileOperation(UINT operation, const wlitestring& source, const wlitestring& destination,
                         bool allowUndo) {
    // An empty source would normalise to the root of the current drive.
    CHECK_ERROR(!source.empty());
    const std::wstring from = NameList(source);
    const std::wstring to = destination.empty() ? std::wstring() : NameList(destination);
    SHFILEOPSTRUCTW shOp = {};
    shOp.hwnd = nullptr;
    shOp.wFunc = operation;
    shOp.pFrom = from.c_str();
    shOp.pTo = to.empty() ? nullptr : to.c_str();
    shOp.fFlags = kQuietFlags | (allowUndo ? FOF_ALLOWUNDO : 0);
    int result = 0;
    DWORD exceptionCode = 0;
    if (!System::RunStructuredGuarded([&shOp, &result] { result = SHFileOperationW(&shOp); }, exceptionCode))
        result = 0x10000;
    const HRESULT shRes = result == 0 ? S_OK : static_cast<HRESULT>(0x80070000 + (result & 0xFFFF));
    CHECK_ERROR_HR(shRes);
    return true;
}

}  // namespace FileSystem
