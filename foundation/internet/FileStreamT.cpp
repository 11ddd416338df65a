#include "foundation/internet/FileStreamT.h"

#include "foundation/filesystem/FileNames.h"
#include "foundation/filesystem/Folder.h"

#include <boost/make_shared.hpp>

#include <stdexcept>
#include <string>

namespace FileSystem {

template class FileStreamT<STLHelpers_::IStream>;

namespace {

DWORD CreationDisposition(int openMode, int accessMode) {
    switch (openMode) {
    case STLHelpers_::OpenCreate:
        return CREATE_ALWAYS;
    case STLHelpers_::OpenExisting:
        return accessMode == STLHelpers_::AccessRead ? OPEN_EXISTING : OPEN_ALWAYS;
    case STLHelpers_::OpenAppend:
        return OPEN_ALWAYS;
    default:
        return 0;  // refused by the system
    }
}

DWORD DesiredAccess(int accessMode) {
    switch (accessMode) {
    case STLHelpers_::AccessRead:
        return GENERIC_READ;
    case STLHelpers_::AccessWrite:
        return GENERIC_WRITE;
    default:
        return GENERIC_READ | GENERIC_WRITE;
    }
}

}  // namespace

bool _StreamCallSucceeded(BOOL result) {
    return result || ::GetLastError() == NO_ERROR;
}

HANDLE _OpenFileStreamHandle(const wlitestring& path, int openMode, int accessMode,
                             const STLHelpers::CustomValues& options, std::unique_ptr<AttributeKeeper>& pKeeper) {
    // An unknown access mode would open a handle that can neither read nor
    // write, and could create the file doing so.
    const bool knownAccess = accessMode >= STLHelpers_::AccessRead && accessMode <= STLHelpers_::AccessReadWrite;
    if (!knownAccess || (accessMode == STLHelpers_::AccessRead && openMode != STLHelpers_::OpenExisting))
        throw std::runtime_error("Can't open file in this mode");

    const std::wstring pathText = path.str();
    const DWORD share = accessMode == STLHelpers_::AccessRead ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
    if (accessMode != STLHelpers_::AccessRead) {
        pKeeper.reset(new AttributeKeeper(pathText));
        const std::wstring folder = _GetFolderPart(pathText);
        if (!folder.empty() && !IsDriveRoot(folder))
            Folder(folder).Create();
    }

    DWORD flags = FILE_ATTRIBUTE_NORMAL;
    const bool* pDeleteOnClose = STLHelpers::_FindCustomBool(options, L"deleteOnClose");
    if (pDeleteOnClose && *pDeleteOnClose)
        flags |= FILE_FLAG_DELETE_ON_CLOSE;

    const HANDLE handle = ::CreateFileW(pathText.c_str(), DesiredAccess(accessMode), share, nullptr,
                                        CreationDisposition(openMode, accessMode), flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw std::runtime_error("Can't create stream");
    if (openMode == STLHelpers_::OpenAppend)
        ::SetFilePointer(handle, 0, nullptr, FILE_END);
    return handle;
}

boost::shared_ptr<STLHelpers_::IStream> OpenFileStream(const wlitestring& path, int openMode, int accessMode,
                                                       const STLHelpers::CustomValues& options) {
    return boost::make_shared<FileStream>(path, openMode, accessMode, options);
}

}  // namespace FileSystem
