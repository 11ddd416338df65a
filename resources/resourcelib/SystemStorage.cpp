#include "resources/resourcelib/SystemStorage.h"

#include "graphics/resourcelib/SystemColorNames.h"
#include "resources/resourcelib/SystemIconLocation.h"

namespace ResourceLib {

namespace {

// GetSysColor knows the indices below this one.
const int kSystemColorCount = 31;

}  // namespace

boost::shared_ptr<IStorage> CreateSystemStorage() {
    return boost::shared_ptr<IStorage>(new SystemStorage());
}

COLORREF SystemStorage::_GetColorByName(const wlitestring& name, ErrorCodePtr ec) {
    COLORREF color = 0;
    if (!GetSystemColorByName(name, color)) {
        _Fail(ResourceNotFound, ec);
        return 0;
    }
    return color;
}

COLORREF SystemStorage::_GetColorById(int id, ErrorCodePtr ec) {
    if (id < 0 || id >= kSystemColorCount) {
        _Fail(ResourceNotFound, ec);
        return 0;
    }
    return ::GetSysColor(id);
}

SharedIcon SystemStorage::_GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec) {
    SharedIcon icon = ExtractIconFromLocation(name, width, height);
    if (!icon)
        _Fail(ResourceNotFound, ec);
    return icon;
}

SharedIcon SystemStorage::_GetIconById(int id, int width, int height, ErrorCodePtr ec) {
    _Fail(ResourceNotFound, ec);
    return SharedIcon();
}

}  // namespace ResourceLib
