#include "resources/resourcelib/FilePathValue.h"

#include <windows.h>
#include <shlwapi.h>

namespace ResourceLib {

std::wstring NormalizeFilePathValue(const std::wstring& path) {
    std::wstring text = path;
    for (wchar_t& ch : text) {
        if (ch == L'/')
            ch = L'\\';
    }
    if (!text.empty() && text.back() == L'\\')
        text.pop_back();
    // PathCanonicalizeW drops "." and collapses whole ".." segments.
    wchar_t canonical[MAX_PATH] = {};
    if (text.size() < MAX_PATH && ::PathCanonicalizeW(canonical, text.c_str()))
        return canonical;
    return text;
}

}  // namespace ResourceLib
