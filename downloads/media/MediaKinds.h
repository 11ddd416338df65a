#pragma once
// The media kinds the capture engine reports and the file extensions of
// each: which dropped files the list takes and which extension a renamed
// item keeps.
//
//   int kind = GetMediaKindByExtension(L"mp3");   // 8
//
// Thread: any (the table is constant).
#include <cstdint>
#include <string>
#include <vector>

struct MediaKindInfo {
    int kind;
    int signatureOffset;               // 0 when there is no signature
    std::vector<std::uint8_t> signature;  // may be empty
    std::vector<std::wstring> extensions;  // upper case, no dot, preferred first
};

// Fifteen entries, kinds 1..15 in order.
extern const std::vector<MediaKindInfo> MediaKindTable;

// The kind of the first entry listing `extension` (no dot, any case); 0 for
// none and for an empty extension. Shared extensions give the lower kind.
int GetMediaKindByExtension(const std::wstring& extension);
