#include "graphics/resourcelib/SystemColorNames.h"

#include <map>
#include <string>

namespace ResourceLib {

namespace {

typedef std::map<std::wstring, int> ColorIndexByName;

ColorIndexByName BuildColorIndexByName() {
    static const struct {
        const wchar_t* name;
        int index;
    } table[] = {
        {L"COLOR_3DDKSHADOW", COLOR_3DDKSHADOW},
        {L"COLOR_3DFACE", COLOR_3DFACE},
        {L"COLOR_3DHIGHLIGHT", COLOR_3DHIGHLIGHT},
        {L"COLOR_3DHILIGHT", COLOR_3DHILIGHT},
        {L"COLOR_3DLIGHT", COLOR_3DLIGHT},
        {L"COLOR_3DSHADOW", COLOR_3DSHADOW},
        {L"COLOR_ACTIVEBORDER", COLOR_ACTIVEBORDER},
        {L"COLOR_ACTIVECAPTION", COLOR_ACTIVECAPTION},
        {L"COLOR_APPWORKSPACE", COLOR_APPWORKSPACE},
        {L"COLOR_BACKGROUND", COLOR_BACKGROUND},
        {L"COLOR_BTNFACE", COLOR_BTNFACE},
        {L"COLOR_BTNHIGHLIGHT", COLOR_BTNHIGHLIGHT},
        {L"COLOR_BTNHILIGHT", COLOR_BTNHILIGHT},
        {L"COLOR_BTNSHADOW", COLOR_BTNSHADOW},
        {L"COLOR_BTNTEXT", COLOR_BTNTEXT},
        {L"COLOR_CAPTIONTEXT", COLOR_CAPTIONTEXT},
        {L"COLOR_DESKTOP", COLOR_DESKTOP},
        {L"COLOR_GRADIENTACTIVECAPTION", COLOR_GRADIENTACTIVECAPTION},
        {L"COLOR_GRADIENTINACTIVECAPTION", COLOR_GRADIENTINACTIVECAPTION},
        {L"COLOR_GRAYTEXT", COLOR_GRAYTEXT},
        {L"COLOR_HIGHLIGHT", COLOR_HIGHLIGHT},
        {L"COLOR_HIGHLIGHTTEXT", COLOR_HIGHLIGHTTEXT},
        {L"COLOR_HOTLIGHT", COLOR_HOTLIGHT},
        {L"COLOR_INACTIVEBORDER", COLOR_INACTIVEBORDER},
        {L"COLOR_INACTIVECAPTION", COLOR_INACTIVECAPTION},
        {L"COLOR_INACTIVECAPTIONTEXT", COLOR_INACTIVECAPTIONTEXT},
        {L"COLOR_INFOBK", COLOR_INFOBK},
        {L"COLOR_INFOTEXT", COLOR_INFOTEXT},
        {L"COLOR_MENU", COLOR_MENU},
        {L"COLOR_MENUHILIGHT", COLOR_MENUHILIGHT},
        {L"COLOR_MENUBAR", COLOR_MENUBAR},
        {L"COLOR_MENUTEXT", COLOR_MENUTEXT},
        {L"COLOR_SCROLLBAR", COLOR_SCROLLBAR},
        {L"COLOR_WINDOW", COLOR_WINDOW},
        {L"COLOR_WINDOWFRAME", COLOR_WINDOWFRAME},
        {L"COLOR_WINDOWTEXT", COLOR_WINDOWTEXT},
    };
    ColorIndexByName map;
    for (const auto& row : table)
        map.emplace(row.name, row.index);
    return map;
}

}  // namespace

bool GetSystemColorByName(const wlitestring& name, COLORREF& color) {
    // Built on the first call; the local static makes a simultaneous first
    // call on two threads wait for one build instead of racing.
    static const ColorIndexByName colorIndexByName = BuildColorIndexByName();
    const auto found = colorIndexByName.find(name.str());
    if (found == colorIndexByName.end())
        return false;
    color = ::GetSysColor(found->second);
    return true;
}

}  // namespace ResourceLib
