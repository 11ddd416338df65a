#include "resources/resourcelib/SystemIconLocation.h"

#include <windows.h>
#include <shellapi.h>

#include <climits>

namespace ResourceLib {

bool ParseIconLocation(const wlitestring& location, std::wstring& file, int& index) {
    const int comma = location.rfind(L',');
    if (comma <= 0 || comma == location.length() - 1)
        return false;
    long long value = 0;
    for (int at = comma + 1; at < location.length(); ++at) {
        const wchar_t ch = location[at];
        if (ch < L'0' || ch > L'9')
            return false;
        value = value * 10 + (ch - L'0');
        // A wrapped index would turn negative, which ExtractIconExW reads as
        // a resource id instead of an index.
        if (value > INT_MAX)
            return false;
    }
    file = location.substr(0, comma);
    index = static_cast<int>(value);
    return true;
}

CommonGuiLib::SharedIcon ExtractIconFromLocation(const wlitestring& location, int width, int height) {
    bool large = false;
    if (width == 32 && height == 32)
        large = true;
    else if (width != 16 || height != 16)
        return CommonGuiLib::SharedIcon();
    std::wstring file;
    int index = 0;
    if (!ParseIconLocation(location, file, index))
        return CommonGuiLib::SharedIcon();
    HICON icon = nullptr;
    const UINT extracted = ::ExtractIconExW(file.c_str(), index, large ? &icon : nullptr, large ? nullptr : &icon, 1);
    if (extracted == 0 || extracted == UINT_MAX || !icon)
        return CommonGuiLib::SharedIcon();
    return CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectIcon>(icon);
}

}  // namespace ResourceLib
