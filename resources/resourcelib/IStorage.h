#pragma once
// One source of typed resources that the manager asks in the order the
// storages were added. Every fetch takes an optional error code as its last
// argument: on a failure a code of ResourceLib::GetErrorCategory() is stored
// there and the empty value returned; without it the failure is raised as
// boost::system::system_error.
#include "foundation/strings/LiteString.h"
#include "foundation/core/InterfaceCore.h"
#include "resources/resourcelib/ResourceType.h"

#include <boost/system/error_code.hpp>
#include <boost/weak_ptr.hpp>

#include <string>

namespace ResourceLib {

class IManager;

class IStorage : public InterfaceCore::IInterfaceCore<IStorage> {
public:
    typedef boost::system::error_code* ErrorCodePtr;

    // False when the manager is gone or refuses storages; the manager then
    // does not add the storage.
    virtual bool Attach(const boost::weak_ptr<IManager>& manager) = 0;

    virtual std::wstring GetStringByName(const wlitestring& name, ErrorCodePtr ec = nullptr) = 0;
    virtual std::wstring GetStringById(int id, ErrorCodePtr ec = nullptr) = 0;
    virtual SharedBitmap GetBitmapByName(const wlitestring& name, PremultiplyAlpha premultiplied,
                                         ErrorCodePtr ec = nullptr) = 0;
    virtual SharedBitmap GetBitmapById(int id, PremultiplyAlpha premultiplied, ErrorCodePtr ec = nullptr) = 0;
    virtual SharedIcon GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec = nullptr) = 0;
    virtual SharedIcon GetIconById(int id, int width, int height, ErrorCodePtr ec = nullptr) = 0;
    virtual BinaryData GetBinaryByName(const wlitestring& name, ErrorCodePtr ec = nullptr) = 0;
    virtual BinaryData GetBinaryById(int id, ErrorCodePtr ec = nullptr) = 0;
    virtual COLORREF GetColorByName(const wlitestring& name, ErrorCodePtr ec = nullptr) = 0;
    virtual COLORREF GetColorById(int id, ErrorCodePtr ec = nullptr) = 0;
    virtual SharedFont GetFontByName(const wlitestring& name, ErrorCodePtr ec = nullptr) = 0;
    virtual SharedFont GetFontById(int id, ErrorCodePtr ec = nullptr) = 0;
    virtual int GetIntegerByName(const wlitestring& name, ErrorCodePtr ec = nullptr) = 0;
    virtual int GetIntegerById(int id, ErrorCodePtr ec = nullptr) = 0;
    virtual std::wstring GetFilePath(int id, ResourceType typeMask, ErrorCodePtr ec = nullptr) = 0;

    // The kinds this storage serves; the manager never asks it for others.
    virtual ResourceType GetSupportedTypes() = 0;
    virtual bool IsValid() = 0;
    virtual bool ResetCaches() = 0;
    // Drops the cached value of one id; true when there was one.
    virtual bool ReleaseCachedResource(int id, ResourceType type) = 0;
};

}  // namespace ResourceLib
