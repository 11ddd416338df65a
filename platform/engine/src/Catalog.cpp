#include "Catalog.h"

#include <windows.h>

namespace KavennaEngine {

namespace {

struct KindExtension {
    int kind;
    const wchar_t* extension;
};

// The engine's own table; the first kind listed for an extension wins.
const KindExtension kKinds[] = {
    {1, L"FLV"},  {2, L"WMV"},  {2, L"ASF"},  {2, L"WSX"},  {2, L"WMA"}, {3, L"MP4"},   {3, L"MPG"},
    {3, L"MPEG"}, {4, L"TS"},   {5, L"AVI"},  {6, L"WAV"},  {7, L"RM"},  {7, L"RA"},    {7, L"RAM"},
    {8, L"MP3"},  {10, L"MOV"}, {10, L"M4V"}, {11, L"SWF"}, {13, L"MKV"}, {13, L"WEBM"},
};

}  // namespace

int MediaKindOfName(const std::wstring& name) {
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || name.find_first_of(L"\\/", dot) != std::wstring::npos)
        return 0;
    const std::wstring extension = name.substr(dot + 1);
    for (const KindExtension& entry : kKinds) {
        if (::CompareStringOrdinal(extension.c_str(), -1, entry.extension, -1, TRUE) == CSTR_EQUAL)
            return entry.kind;
    }
    return 0;
}

const std::vector<PresetInfo>& Presets() {
    static const std::vector<PresetInfo> presets = {
        {L"OFP_0_IPAD_A_1024X768!iPadMpeg4_1024x768,85", L"", L"iPad", L"mp4"},
        {L"OFP_0_IPAD_B_1024X768!iPadMpeg4_1024x768,70", L"", L"iPad", L"mp4"},
        {L"OFP_0_IPAD_C_1024X768!iPadMpeg4_1024x768,50", L"", L"iPad", L"mp4"},
        {L"OFP_0_IPOD_A_320X240!iPodMpeg4_320x240,85", L"", L"iPod", L"mp4"},
        {L"OFP_0_IPOD_C_320X240!iPodMpeg4_320x240,50", L"", L"iPod", L"mp4"},
        {L"OFP_0_AVI_B_640X480!Xvid_640x480,70", L"PresetAvi", L"AVI video", L"avi"},
        {L"OFP_0_WMV_B_640X480!Wmv_640x480,70", L"", L"Windows Media video", L"wmv"},
        {L"OFP_0_MP3_A_128!Mp3_128,85", L"PresetMp3", L"MP3 audio", L"mp3"},
    };
    return presets;
}

std::wstring ExtensionOfFormat(const std::wstring& format) {
    for (const PresetInfo& preset : Presets()) {
        if (format == preset.id)
            return preset.extension;
    }
    return L"mp4";
}

}  // namespace KavennaEngine
