#pragma once
// SystemStorage: the last storage of the application's manager. Colours by
// their Win32 "COLOR_" names (GetSystemColorByName) or GetSysColor index
// (0..30), and icons inside system files, named "file,index" and asked at
// 16 x 16 (small) or 32 x 32 (large).
//
// Threads: as StorageBase (the manager's lock).
#include "resources/resourcelib/StorageBase.h"

namespace ResourceLib {

class SystemStorage : public StorageBase {
public:
    ResourceType GetSupportedTypes() override { return ResourceTypes::Icon | ResourceTypes::Color; }

protected:
    friend boost::shared_ptr<IStorage> CreateSystemStorage();
    SystemStorage() = default;

    COLORREF _GetColorByName(const wlitestring& name, ErrorCodePtr ec) override;
    COLORREF _GetColorById(int id, ErrorCodePtr ec) override;
    SharedIcon _GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec) override;
    // Always ResourceNotFound: system icons have names only.
    SharedIcon _GetIconById(int id, int width, int height, ErrorCodePtr ec) override;
};

boost::shared_ptr<IStorage> CreateSystemStorage();

}  // namespace ResourceLib
