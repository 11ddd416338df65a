#pragma once
// FileStorage: bitmaps (".bmp"), icons (".ico") and binaries (".bin") that
// lie as loose files in the layer folders of a resource root:
//
//   root\<language>\<skin>, root\Common\<skin>, root\<language>, root\Common
//
// each searched only when its language and skin are current and the folder
// exists. A name may address a subfolder: "Toolbar__Play" and "Toolbar/Play"
// both find "Toolbar\Play.bmp". Binaries are served by id only.
//
// Threads: as StorageBase (the manager's lock).
#include "resources/resourcelib/StorageBase.h"

#include <string>
#include <vector>

namespace ResourceLib {

class FileStorage : public StorageBase {
public:
    ResourceType GetSupportedTypes() override {
        return ResourceTypes::Bitmap | ResourceTypes::Icon | ResourceTypes::Binary;
    }

    // The folders searched, first to last, as the last load found them.
    const std::vector<std::wstring>& GetLayers() const noexcept { return m_layers; }

protected:
    friend boost::shared_ptr<IStorage> CreateFileStorage(const wlitestring& rootPath);
    explicit FileStorage(const wlitestring& rootPath);

    bool _Load() override;
    SharedBitmap _GetBitmapByName(const wlitestring& name, bool premultiplied, ErrorCodePtr ec) override;
    SharedBitmap _GetBitmapById(int id, bool premultiplied, ErrorCodePtr ec) override;
    SharedIcon _GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec) override;
    SharedIcon _GetIconById(int id, int width, int height, ErrorCodePtr ec) override;
    void _GetBinaryByName(const wlitestring& name, std::vector<BYTE>& bytes, ErrorCodePtr ec) override;
    void _GetBinaryById(int id, std::vector<BYTE>& bytes, ErrorCodePtr ec) override;

private:
    // The file name inside a layer; false (code stored or raised) for an
    // empty name, a negative id or an id without a registered name.
    bool _GetFileName(const wlitestring& name, ResourceType type, std::wstring& fileName, ErrorCodePtr ec);
    bool _GetFileNameById(int id, ResourceType type, std::wstring& fileName, ErrorCodePtr ec);

    SharedBitmap _FindBitmap(const std::wstring& fileName, bool premultiplied, ErrorCodePtr ec);
    SharedIcon _FindIcon(const std::wstring& fileName, int width, int height, ErrorCodePtr ec);
    void _FindBinary(const std::wstring& fileName, std::vector<BYTE>& bytes, ErrorCodePtr ec);

    const std::wstring m_rootPath;
    std::vector<std::wstring> m_layers;
};

// The name of a resource's loose file: the name with the kind's extension,
// every "__" and "/" turned into "\".
std::wstring GetLooseFileName(const wlitestring& name, ResourceType type);

boost::shared_ptr<IStorage> CreateFileStorage(const wlitestring& rootPath);

}  // namespace ResourceLib
