#include "downloads/media/MediaKinds.h"

#include <cwctype>

const std::vector<MediaKindInfo> MediaKindTable = {
    {1, 0, {0x46, 0x4C, 0x56}, {L"FLV"}},
    {2, 0, {0x30, 0x26, 0xB2, 0x75}, {L"WMV", L"ASF", L"WSX", L"WMA"}},
    {3, 4, {0x66, 0x74, 0x79, 0x70}, {L"MP4", L"MPG", L"MPEG"}},
    {4, 0, {0x47, 0x00, 0x45}, {L"TS"}},
    {5, 0, {0x52, 0x49, 0x46, 0x46}, {L"AVI"}},
    {6, 0, {}, {L"WAV"}},
    {7, 0, {0x2E, 0x52, 0x4D, 0x46}, {L"RM", L"RA", L"RAM"}},
    {8, 0, {0x49, 0x44, 0x33}, {L"MP3"}},
    {9, 0, {0xFF, 0xFB}, {L"MP3"}},
    {10, 0, {}, {L"MOV", L"M4V"}},
    {11, 0, {0x46, 0x57, 0x53}, {L"SWF"}},
    {12, 0, {0x43, 0x57, 0x53}, {L"SWF"}},
    {13, 0, {0x1A, 0x45, 0xDF, 0xA3}, {L"MKV", L"WEBM"}},
    {14, 0, {0x12, 0x00, 0x03, 0x4B}, {L"FLV"}},
    {15, 4, {0x66, 0x74, 0x79, 0x70}, {L"F4V", L"F4P", L"F4A", L"F4B"}},
};

namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

}  // namespace

int GetMediaKindByExtension(const std::wstring& extension) {
    if (extension.empty())
        return 0;
    const std::wstring wanted = Lower(extension);
    for (const MediaKindInfo& info : MediaKindTable)
        for (const std::wstring& known : info.extensions)
            if (Lower(known) == wanted)
                return info.kind;
    return 0;
}
