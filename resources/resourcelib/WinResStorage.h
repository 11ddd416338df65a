#pragma once
// WinResStorage: strings, bitmaps, icons and "BINARY" resources compiled into
// the program's executable. Resource N of this storage is module resource
// idBase + N (string-table entry, or integer resource id); strings are read
// in the language of the thread locale, and a string asked by name is looked
// up by the id registered for that name.
//
// Loading (on the first lookup after a language change) sets the calling
// thread's locale to the language's locale and its user-interface language
// to that locale's primary language; other threads keep theirs.
//
// Threads: as StorageBase (the manager's lock).
#include "resources/resourcelib/StorageBase.h"

#include <windows.h>

namespace ResourceLib {

class WinResStorage : public StorageBase {
public:
    ResourceType GetSupportedTypes() override {
        return ResourceTypes::String | ResourceTypes::Bitmap | ResourceTypes::Icon | ResourceTypes::Binary;
    }

protected:
    friend boost::shared_ptr<IStorage> CreateWinResStorage(int idBase);
    explicit WinResStorage(int idBase) : m_idBase(idBase) {}

    bool _Load() override;
    std::wstring _GetStringByName(const wlitestring& name, ErrorCodePtr ec) override;
    std::wstring _GetStringById(int id, ErrorCodePtr ec) override;
    // Module bitmaps come as stored: `premultiplied` is not applied.
    SharedBitmap _GetBitmapByName(const wlitestring& name, bool premultiplied, ErrorCodePtr ec) override;
    SharedBitmap _GetBitmapById(int id, bool premultiplied, ErrorCodePtr ec) override;
    SharedIcon _GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec) override;
    SharedIcon _GetIconById(int id, int width, int height, ErrorCodePtr ec) override;
    void _GetBinaryByName(const wlitestring& name, std::vector<BYTE>& bytes, ErrorCodePtr ec) override;
    void _GetBinaryById(int id, std::vector<BYTE>& bytes, ErrorCodePtr ec) override;

private:
    // idBase + id as a module resource id; false (ResourceNotFound) when the
    // sum is no 16-bit resource id, which Windows would otherwise truncate
    // into another resource's id.
    bool _GetModuleId(int id, WORD& moduleId, ErrorCodePtr ec) const;

    const int m_idBase;
};

boost::shared_ptr<IStorage> CreateWinResStorage(int idBase);

}  // namespace ResourceLib
