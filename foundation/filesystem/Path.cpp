#include "foundation/filesystem/Path.h"

#include <windows.h>

namespace FileSystem {

namespace {

std::wstring UpperCase(const std::wstring& text) {
    if (text.empty())
        return text;
    std::wstring upper(text.size(), L'\0');
    const int length = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, text.c_str(),
                                      static_cast<int>(text.size()), &upper[0], static_cast<int>(upper.size()));
    // Upper-casing keeps the length; should the call fail, the text stays as it is.
    return length == static_cast<int>(text.size()) ? upper : text;
}

}  // namespace

bool IsSamePath(const std::wstring& a, const std::wstring& b) {
    const WindowsPathConvention convention;
    std::wstring first = a;
    std::wstring second = b;
    if (!first.empty())
        convention.SetTrailingSeparator(first, RemoveTrailingSeparator);
    if (!second.empty())
        convention.SetTrailingSeparator(second, RemoveTrailingSeparator);
    if (convention.IsCaseSensitive())
        return first == second;
    // Not a linguistic comparison: that would take "a-b" for "ab" and "ß"
    // for "ss", which are different files.
    return UpperCase(first) == UpperCase(second);
}

}  // namespace FileSystem
