#pragma once
// The names the engine gives its files: an address's last segment made into
// a file name, numbered variants of it, and the folder's path split into the
// levels that may have to be created.
#include <string>
#include <vector>

namespace KavennaEngine {

// Percent-escapes decoded: the bytes as UTF-8, or as code page 1252 when they
// are not UTF-8 ("typed%20video.mp4" -> "typed video.mp4").
std::wstring DecodeEscapes(const std::wstring& text);

// Room a numbered variant and the partial file's suffix need beyond a name.
const std::size_t kNameSuffixRoom = 16;
// The longest file name the engine gives, in characters.
const std::size_t kMaxFileName = 120;

// `name` made a valid file name by the foundation's rules ("video" when
// nothing is left) and cut, keeping its extension, so that `folder` (ending
// with a separator) + name + kNameSuffixRoom stays within MAX_PATH. Empty
// when the folder's path leaves no room for a name.
std::wstring FitFileName(const std::wstring& folder, const std::wstring& name);

// "stem (n).ext"; n < 2 gives `name` itself.
std::wstring NumberedName(const std::wstring& name, int n);


// "1,234,567"
std::wstring GroupedNumber(unsigned long long value);

}  // namespace KavennaEngine
