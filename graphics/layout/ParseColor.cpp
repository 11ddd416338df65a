#include "graphics/layout/ParseColor.h"

#include "graphics/layout/ParseInteger.h"
#include "graphics/resourcelib/SystemColorNames.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

namespace LayoutLib {

namespace {

int HexDigit(wchar_t ch) {
    if (ch >= L'0' && ch <= L'9')
        return ch - L'0';
    if (ch >= L'a' && ch <= L'f')
        return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F')
        return ch - L'A' + 10;
    return -1;
}

// The hexadecimal digits at the start of a pair; 0 when it starts with none.
int ReadHexPair(const wchar_t* pair) {
    int value = 0;
    for (int i = 0; i < 2; ++i) {
        const int digit = HexDigit(pair[i]);
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return value;
}

int Clamp(long long channel) {
    return static_cast<int>(std::min<long long>(255, std::max<long long>(0, channel)));
}

// "@" followed by a name or index and an optional "+(r,g,b)" or "-(r,g,b)".
bool ParseSystemColor(const std::wstring& text, COLORREF& color) {
    std::wstring name;
    int adjustment[3] = {0, 0, 0};
    int sign = 1;
    const std::size_t open = text.find(L'(');
    if (open == std::wstring::npos) {
        name = text.substr(1);
    } else if (text.size() >= 10 && open >= 2) {
        // The character in front of "(" is the sign; the name ends before it.
        name = text.substr(1, open - 2);
        sign = text[open - 1] == L'+' ? 1 : -1;
        int red = 0, green = 0, blue = 0;
        if (std::swscanf(text.c_str() + open, L"(%d,%d,%d)", &red, &green, &blue) == 3) {
            adjustment[0] = red;
            adjustment[1] = green;
            adjustment[2] = blue;
        }
    }

    COLORREF base = 0;
    const int index = ParseInteger(name);
    if (index != 0)
        base = ::GetSysColor(index);
    else if (!ResourceLib::GetSystemColorByName(name, base))
        return false;
    color = RGB(Clamp(GetRValue(base) + static_cast<long long>(sign) * adjustment[0]),
                Clamp(GetGValue(base) + static_cast<long long>(sign) * adjustment[1]),
                Clamp(GetBValue(base) + static_cast<long long>(sign) * adjustment[2]));
    return true;
}

}  // namespace

bool ParseColor(const wlitestring& text, COLORREF& color) {
    color = 0;
    if (text.empty())
        return false;
    const std::wstring owned = text.str();

    if (owned[0] == L'#') {
        if (owned.size() != 7)
            return false;
        color = RGB(ReadHexPair(owned.c_str() + 1), ReadHexPair(owned.c_str() + 3), ReadHexPair(owned.c_str() + 5));
        return true;
    }
    if (owned[0] == L'@' && owned.size() >= 2 && ParseSystemColor(owned, color))
        return true;

    int red = 0, green = 0, blue = 0;
    if (std::swscanf(owned.c_str(), L"%d,%d,%d", &red, &green, &blue) != 3) {
        color = 0;
        return false;
    }
    color = RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
    return true;
}

}  // namespace LayoutLib
