#include "resources/resourcelib/FontText.h"

#include "foundation/strings/NumberStrings.h"
#include "foundation/strings/StringAlgorithms.h"
#include "foundation/strings/TextHelpers.h"
#include "foundation/system/Fonts.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace ResourceLib {

namespace {

// The size of NONCLIENTMETRICSW without iPaddedBorderWidth, which older
// systems refuse.
constexpr UINT kNonClientMetricsSize = 500;
static_assert(sizeof(NONCLIENTMETRICSW) >= kNonClientMetricsSize, "NONCLIENTMETRICSW shrank");

struct SystemFontName {
    const wchar_t* name;
    LOGFONTW NONCLIENTMETRICSW::*font;
};

const SystemFontName kSystemFonts[] = {
    {L"CaptionFont", &NONCLIENTMETRICSW::lfCaptionFont},   {L"SmallCaptionFont", &NONCLIENTMETRICSW::lfSmCaptionFont},
    {L"MenuFont", &NONCLIENTMETRICSW::lfMenuFont},         {L"StatusFont", &NONCLIENTMETRICSW::lfStatusFont},
    {L"MessageFont", &NONCLIENTMETRICSW::lfMessageFont},
};

// Field `index` as a number, or the default when it is absent or empty.
int NumberField(const std::vector<std::wstring>& fields, std::size_t index, int defaultValue) {
    if (index >= fields.size() || fields[index].empty())
        return defaultValue;
    return STLHelpers::ToInt(fields[index]);
}

bool FlagField(const std::vector<std::wstring>& fields, std::size_t index, bool defaultValue) {
    return NumberField(fields, index, defaultValue ? 1 : 0) != 0;
}

// Replaces an "@" face with the named system font; true when it is one.
bool ResolveSystemFace(std::wstring& face, LOGFONTW& systemFont) {
    if (face.empty() || face[0] != L'@')
        return false;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = kNonClientMetricsSize;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
        return false;
    face.erase(0, 1);
    for (const SystemFontName& candidate : kSystemFonts) {
        if (face == candidate.name) {
            systemFont = metrics.*candidate.font;
            face = systemFont.lfFaceName;
            return true;
        }
    }
    return false;
}

SharedFont CreateFromAlternative(std::wstring alternative, bool isLast) {
    STLHelpers::Trim(alternative);
    std::vector<std::wstring> fields;
    STLHelpers::Split(alternative, L",", fields, true, false, true);
    if (fields.size() < 2)
        return SharedFont();

    std::wstring face = fields[0];
    LOGFONTW systemFont = {};
    const bool isSystemFont = ResolveSystemFace(face, systemFont);
    if (!isLast && !System::IsFontInstalled(face))
        return SharedFont();

    const int height = NumberField(fields, 1, isSystemFont ? systemFont.lfHeight : 0);
    const bool bold = FlagField(fields, 2, isSystemFont && systemFont.lfWeight > FW_MEDIUM);
    const bool italic = FlagField(fields, 3, isSystemFont && systemFont.lfItalic);
    const bool underline = FlagField(fields, 4, isSystemFont && systemFont.lfUnderline);
    const bool strikeOut = FlagField(fields, 5, isSystemFont && systemFont.lfStrikeOut);
    const int quality = NumberField(fields, 6, isSystemFont ? systemFont.lfQuality : CLEARTYPE_QUALITY);

    const HFONT font = ::CreateFontW(height, 0, 0, 0, bold ? FW_EXTRABOLD : FW_DONTCARE, italic, underline, strikeOut,
                                     ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     static_cast<DWORD>(quality), DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    if (!font)
        return SharedFont();
    return CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectFont>(font);
}

}  // namespace

SharedFont CreateFontFromText(const wlitestring& fontText) {
    std::vector<std::wstring> alternatives;
    STLHelpers::Split(fontText, L"|", alternatives, true, true, false);
    for (std::size_t i = 0; i < alternatives.size(); ++i) {
        SharedFont font = CreateFromAlternative(alternatives[i], i + 1 == alternatives.size());
        if (font)
            return font;
    }
    return SharedFont();
}

}  // namespace ResourceLib
