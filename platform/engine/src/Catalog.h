#pragma once
// The engine's fixed tables: media kinds by file extension, and the
// conversion presets it offers.
#include <string>
#include <vector>

namespace KavennaEngine {

// The media kind of a file name's extension (case ignored); 0 when unknown.
int MediaKindOfName(const std::wstring& name);

struct PresetInfo {
    const wchar_t* id;
    const wchar_t* nameKey;
    const wchar_t* name;
    const wchar_t* extension;  // of the converted file, without the dot
};
const std::vector<PresetInfo>& Presets();
// The extension a conversion to `format` (a preset id) produces; "mp4" when unknown.
std::wstring ExtensionOfFormat(const std::wstring& format);

}  // namespace KavennaEngine
