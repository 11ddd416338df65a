#pragma once
// How a FilePath resource is handed out: backslashes only, parent steps
// collapsed, no trailing separator, canonical.
#include <string>

namespace ResourceLib {

std::wstring NormalizeFilePathValue(const std::wstring& path);

}  // namespace ResourceLib
