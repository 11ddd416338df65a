#include "foundation/system/Guid.h"

#include <objbase.h>

#include <algorithm>

namespace System {

std::wstring CreateGuidString(GUID* pGuid, bool withBraces, bool withDashes) {
    GUID guid = {};
    if (FAILED(CoCreateGuid(&guid)))
        return std::wstring();
    if (pGuid)
        *pGuid = guid;
    wchar_t buffer[256] = {};
    if (StringFromGUID2(guid, buffer, 256) == 0)
        return std::wstring();
    std::wstring text = buffer;
    if (!withBraces && text.size() >= 2)
        text = text.substr(1, text.size() - 2);
    if (!withDashes)
        text.erase(std::remove(text.begin(), text.end(), L'-'), text.end());
    return text;
}

}  // namespace System
