#include "resources/resourcelib/FileStorage.h"

#include "foundation/filesystem/File.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/strings/StringAlgorithms.h"
#include "graphics/commongui/PictureLoaders.h"

namespace ResourceLib {

namespace {


const wchar_t* ExtensionOf(ResourceType type) {
    switch (type) {
    case ResourceTypes::Bitmap:
        return L".bmp";
    case ResourceTypes::Icon:
        return L".ico";
    case ResourceTypes::Binary:
        return L".bin";
    default:
        return L"";
    }
}

}  // namespace

std::wstring GetLooseFileName(const wlitestring& name, ResourceType type) {
    std::wstring fileName = name.str() + ExtensionOf(type);
    static const STLHelpers::ReplacementPairs kSeparators = {{L"__", L"\\"}, {L"/", L"\\"}};
    STLHelpers::ReplaceAllPairs(fileName, kSeparators);
    return fileName;
}

boost::shared_ptr<IStorage> CreateFileStorage(const wlitestring& rootPath) {
    return boost::shared_ptr<IStorage>(new FileStorage(rootPath));
}

FileStorage::FileStorage(const wlitestring& rootPath) : m_rootPath(rootPath.str()) {}

bool FileStorage::_Load() {
    m_layers.clear();
    for (const std::wstring& folder : _GetLayerFolders(m_rootPath)) {
        if (FileSystem::File(folder).Exists())
            m_layers.push_back(folder);
    }
    return true;
}

bool FileStorage::_GetFileName(const wlitestring& name, ResourceType type, std::wstring& fileName,
                               ErrorCodePtr ec) {
    if (name.empty()) {
        _Fail(InvalidResourceName, ec);
        return false;
    }
    fileName = GetLooseFileName(name, type);
    return true;
}

bool FileStorage::_GetFileNameById(int id, ResourceType type, std::wstring& fileName, ErrorCodePtr ec) {
    if (id < 0) {
        _Fail(InvalidResourceID, ec);
        return false;
    }
    const boost::shared_ptr<IInternalManager> manager = _GetManager();
    if (!manager) {
        _Fail(InvalidStorageState, ec);
        return false;
    }
    return _GetFileName(manager->GetResourceName(id, type), type, fileName, ec);
}

SharedBitmap FileStorage::_FindBitmap(const std::wstring& fileName, bool premultiplied, ErrorCodePtr ec) {
    for (const std::wstring& layer : m_layers) {
        const FileSystem::File file = FileSystem::Folder(layer).GetFile(fileName);
        SharedBitmap bitmap = CommonGuiLib::LoadBitmapFromFile(file.GetPath(), false);
        if (CommonGuiLib::IsNullGDIObject(bitmap))
            continue;
        if (premultiplied)
            PremultiplyBitmap(bitmap);
        return bitmap;
    }
    _Fail(ResourceNotFound, ec);
    return SharedBitmap();
}

SharedIcon FileStorage::_FindIcon(const std::wstring& fileName, int width, int height, ErrorCodePtr ec) {
    for (const std::wstring& layer : m_layers) {
        const FileSystem::File file = FileSystem::Folder(layer).GetFile(fileName);
        SharedIcon icon = CommonGuiLib::LoadIconFromFile(file.GetPath(), width, height);
        if (!CommonGuiLib::IsNullGDIObject(icon))
            return icon;
    }
    _Fail(ResourceNotFound, ec);
    return SharedIcon();
}

void FileStorage::_FindBinary(const std::wstring& fileName, std::vector<BYTE>& bytes, ErrorCodePtr ec) {
    bytes.clear();
    for (const std::wstring& layer : m_layers) {
        if (FileSystem::Folder(layer).GetFile(fileName).ReadAll(bytes))
            return;
    }
    _Fail(ResourceNotFound, ec);
}

SharedBitmap FileStorage::_GetBitmapByName(const wlitestring& name, bool premultiplied, ErrorCodePtr ec) {
    std::wstring fileName;
    if (!_GetFileName(name, ResourceTypes::Bitmap, fileName, ec))
        return SharedBitmap();
    return _FindBitmap(fileName, premultiplied, ec);
}

SharedBitmap FileStorage::_GetBitmapById(int id, bool premultiplied, ErrorCodePtr ec) {
    std::wstring fileName;
    if (!_GetFileNameById(id, ResourceTypes::Bitmap, fileName, ec))
        return SharedBitmap();
    return _FindBitmap(fileName, premultiplied, ec);
}

SharedIcon FileStorage::_GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec) {
    std::wstring fileName;
    if (!_GetFileName(name, ResourceTypes::Icon, fileName, ec))
        return SharedIcon();
    return _FindIcon(fileName, width, height, ec);
}

SharedIcon FileStorage::_GetIconById(int id, int width, int height, ErrorCodePtr ec) {
    std::wstring fileName;
    if (!_GetFileNameById(id, ResourceTypes::Icon, fileName, ec))
        return SharedIcon();
    return _FindIcon(fileName, width, height, ec);
}

void FileStorage::_GetBinaryByName(const wlitestring& name, std::vector<BYTE>& bytes, ErrorCodePtr ec) {
    std::wstring fileName;
    if (_GetFileName(name, ResourceTypes::Binary, fileName, ec))
        _FindBinary(fileName, bytes, ec);
}

void FileStorage::_GetBinaryById(int id, std::vector<BYTE>& bytes, ErrorCodePtr ec) {
    std::wstring fileName;
    if (_GetFileNameById(id, ResourceTypes::Binary, fileName, ec))
        _FindBinary(fileName, bytes, ec);
}

}  // namespace ResourceLib
