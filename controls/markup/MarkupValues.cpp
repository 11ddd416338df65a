#include "controls/markup/MarkupValues.h"

#include <cstdlib>
#include <cwctype>

namespace MarkupLib {

namespace {

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// The DC to measure with: the given one, or the screen's for the call.
class MeasuringDC {
public:
    explicit MeasuringDC(HDC dc) : m_dc(dc ? dc : ::GetDC(nullptr)), m_owned(!dc) {}
    ~MeasuringDC() {
        if (m_owned && m_dc)
            ::ReleaseDC(nullptr, m_dc);
    }
    MeasuringDC(const MeasuringDC&) = delete;
    MeasuringDC& operator=(const MeasuringDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
    bool m_owned;
};

int FontSizeStep(int number) {
    static const int kSizes[] = {8, 10, 12, 14, 18, 24, 36};
    return number >= 1 && number <= 7 ? kSizes[number - 1] : number;
}

}  // namespace

COLORREF ReadColor(const std::wstring& value, COLORREF current, const ColorTable& colors) {
    if (value.empty())
        return current;
    if (value[0] == L'#') {
        if (value.size() != 7)
            return current;
        int component[3];
        for (int i = 0; i < 3; ++i) {
            const int high = HexDigit(value[1 + 2 * i]);
            const int low = HexDigit(value[2 + 2 * i]);
            if (high < 0 || low < 0)
                return current;
            component[i] = high * 16 + low;
        }
        return RGB(component[0], component[1], component[2]);
    }
    if (std::iswdigit(value[0]))
        return static_cast<COLORREF>(ReadNumber(value));
    const auto found = colors.find(value);
    return found != colors.end() ? found->second : current;
}

unsigned long ReadNumber(const std::wstring& value) { return std::wcstoul(value.c_str(), nullptr, 0); }

int ReadLength(const std::wstring& value, int current, bool fontSizeRule, HDC dc) {
    if (value.empty())
        return current;
    if (value.back() == L'%')
        return ::MulDiv(current, std::wcstol(value.c_str(), nullptr, 10), 100);
    std::wstring text = value;
    if (text[0] == L'+' || text[0] == L'-')
        text.erase(0, 1);
    const long number = std::wcstol(text.c_str(), nullptr, 10);
    const std::wstring unit = text.size() >= 2 ? text.substr(text.size() - 2) : std::wstring();
    if (unit == L"px")
        return number;
    if (unit == L"ex" || unit == L"em") {
        MeasuringDC measuring(dc);
        if (unit == L"ex") {
            SIZE letter = {};
            ::GetTextExtentPoint32W(measuring.Get(), L"x", 1, &letter);
            return number * letter.cy;
        }
        TEXTMETRICW metrics = {};
        ::GetTextMetricsW(measuring.Get(), &metrics);
        return number * metrics.tmHeight;
    }
    if (unit == L"in" || unit == L"cm" || unit == L"mm" || unit == L"pt" || unit == L"pc") {
        MeasuringDC measuring(dc);
        const long inches = number * ::GetDeviceCaps(measuring.Get(), LOGPIXELSY);
        if (unit == L"cm")
            return static_cast<int>(inches / 2.54);
        if (unit == L"mm")
            return static_cast<int>(inches / 25.4);
        if (unit == L"pt")
            return inches / 72;
        if (unit == L"pc")
            return inches / 6;
        return inches;
    }
    const int bare = static_cast<int>(ReadNumber(text));
    return fontSizeRule ? FontSizeStep(bare) : bare;
}

int ReadTextAlign(const std::wstring& value, int current) {
    if (value.empty() || value == L"left")
        return AlignLeft;
    if (value == L"center")
        return AlignCenter;
    if (value == L"right")
        return AlignRight;
    return current;
}

int ReadVerticalAlign(const std::wstring& value, int current) {
    if (value.empty() || value == L"baseline")
        return AlignBaseline;
    if (value == L"middle" || value == L"vcenter")
        return AlignVCenter;
    if (value == L"top")
        return AlignTop;
    if (value == L"bottom")
        return AlignBottom;
    return current;
}

int ReadFontWeight(const std::wstring& value) {
    if (value.empty() || value == L"normal")
        return FW_NORMAL;
    if (value == L"bold")
        return FW_BOLD;
    if (value == L"bolder")
        return FW_HEAVY;
    if (value == L"lighter")
        return FW_THIN;
    return static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
}

int ReadBorderStyle(const std::wstring& value, int current) {
    if (value.empty() || value == L"none")
        return 0;
    if (value == L"solid")
        return 1;
    if (value == L"dashed")
        return 2;
    if (value == L"dotted")
        return 3;
    if (value == L"double")
        return 6;
    return current;
}

int ReadBorderWidth(const std::wstring& value, int current, HDC dc) {
    if (value == L"thin")
        return ::MulDiv(current, 75, 100);
    if (value == L"thick")
        return ::MulDiv(current, 125, 100);
    if (value == L"medium")
        return current;
    return ReadLength(value, current, false, dc);
}

}  // namespace MarkupLib
