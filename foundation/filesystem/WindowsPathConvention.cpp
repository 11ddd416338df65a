#include "foundation/filesystem/WindowsPathConvention.h"

namespace FileSystem {
namespace {

const wchar_t kForbidden[] = L"/:*?\"<>|";

}  // namespace

std::wstring _StripUrlScheme(const std::wstring& text) {
    const std::size_t at = text.find(L"://");
    return at == std::wstring::npos ? text : text.substr(at + 3);
}

WindowsPathConvention::WindowsPathConvention() : SimplePathConventionImpl(L"\\", L"", L"\\\\", false) {}

bool WindowsPathConvention::IsValidPath(const std::wstring& path) const {
    const std::wstring text = _StripUrlScheme(path);
    if (text.size() < 2)
        return false;
    const std::size_t colon = text.find(L':');
    const bool isDriveForm = colon != std::wstring::npos && (colon + 1 == text.size() || text[colon + 1] == L'\\');
    const bool isNetworkForm = text.size() > 2 && text.compare(0, 2, L"\\\\") == 0;
    if (!isDriveForm && !isNetworkForm)
        return false;
    // The drive letter (anything before the colon) is not examined.
    const std::size_t from = colon == std::wstring::npos ? 0 : colon + 1;
    return text.find_first_of(kForbidden, from) == std::wstring::npos;
}

}  // namespace FileSystem
