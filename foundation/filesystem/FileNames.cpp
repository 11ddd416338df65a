#include "foundation/filesystem/FileNames.h"

#include "foundation/strings/OwnedWString.h"

#include <shlwapi.h>

namespace FileSystem {

namespace {

const wchar_t kSeparators[] = L"\\/";

bool IsSeparator(wchar_t ch) {
    return ch == L'\\' || ch == L'/';
}

bool EndsWithBackslash(const std::wstring& text) {
    return !text.empty() && text.back() == L'\\';
}

// The first ".." that is a whole segment: at the start or after a separator,
// and at the end or before one.
size_t FindParentStep(const std::wstring& text, size_t from = 0) {
    for (size_t at = text.find(L"..", from); at != std::wstring::npos; at = text.find(L"..", at + 1)) {
        const bool segmentStart = at == 0 || IsSeparator(text[at - 1]);
        const bool segmentEnd = at + 2 == text.size() || IsSeparator(text[at + 2]);
        if (segmentStart && segmentEnd)
            return at;
    }
    return std::wstring::npos;
}

}  // namespace

void AddTrailingBackslash(std::wstring& text) {
    if (!EndsWithBackslash(text))
        text += L'\\';
}

std::wstring WithTrailingBackslash(const wlitestring& text) {
    std::wstring result = text.str();
    AddTrailingBackslash(result);
    return result;
}

std::wstring StripTrailingBackslash(const wlitestring& text) {
    std::wstring result = text.str();
    if (EndsWithBackslash(result))
        result.pop_back();
    return result;
}

std::wstring AppendExtension(const wlitestring& path, const wlitestring& extension) {
    if (extension.empty())
        return path.str();
    std::wstring result = StripTrailingBackslash(path);
    if (result.empty() || result.back() != L'.')
        result += L'.';
    const std::wstring tail = extension.str();
    result += tail[0] == L'.' ? tail.substr(1) : tail;
    return result;
}

std::wstring _CombinePath(const wlitestring& base, const wlitestring& name) {
    if (base.empty())
        return std::wstring();
    return WithTrailingBackslash(base) + name.str();
}

std::wstring _GetFolderPart(const wlitestring& path) {
    const std::wstring text = StripTrailingBackslash(path);
    const size_t last = text.rfind(L'\\');
    if (last == std::wstring::npos || last == 1)
        return std::wstring();
    return text.substr(0, last + 1);
}

bool IsDriveRoot(const wlitestring& text) {
    const int length = text.length();
    if (length != 2 && length != 3)
        return false;
    if (text[1] != L':')
        return false;
    return length == 2 || IsSeparator(text[2]);
}

std::wstring CanonicalizePath(const wlitestring& text) {
    // Wine's PathCanonicalizeW writes past its MAX_PATH buffer for longer texts.
    if (text.length() >= MAX_PATH)
        return text.str();
    wlitestring::c_string_holder source;
    STLHelpers::ToOwnedWString(text, source);
    wchar_t buffer[MAX_PATH] = {};
    if (!PathCanonicalizeW(buffer, source.c_str()))
        return text.str();
    return buffer;
}

std::wstring NormalizePath(const wlitestring& path, const wlitestring& base, DWORD flags) {
    std::wstring text = path.str();
    if (!base.empty()) {
        const size_t first = text.find_first_not_of(kSeparators);
        text.erase(0, first == std::wstring::npos ? text.size() : first);
        text = WithTrailingBackslash(base) + text;
    }
    if (flags & kNormalizeParentSteps) {
        for (size_t step = FindParentStep(text); step != std::wstring::npos; step = FindParentStep(text)) {
            if (step <= 3)
                return CanonicalizePath(path);
            // The separator before the step's parent folder (or the start).
            const size_t parent = text.find_last_of(kSeparators, step - 2);
            const size_t from = parent == std::wstring::npos ? 0 : parent;
            text.erase(from, step + 2 - from);
        }
    }
    if (flags & kNormalizeSlashes) {
        for (wchar_t& ch : text)
            if (ch == L'/')
                ch = L'\\';
    }
    if (flags & kNormalizeNoTrailingSlash) {
        if (EndsWithBackslash(text))
            text.pop_back();
    }
    return CanonicalizePath(text);
}

std::wstring _ResolveRelativePath(const wlitestring& path, const wlitestring& base) {
    wlitestring::c_string_holder pathText;
    STLHelpers::ToOwnedWString(path, pathText);
    if (!PathIsRelativeW(pathText.c_str()))
        return path.str();
    wlitestring::c_string_holder baseText;
    STLHelpers::ToOwnedWString(base, baseText);
    std::wstring start = base.str();
    if (!PathIsDirectoryW(baseText.c_str())) {
        size_t cut = start.rfind(L'\\');
        if (cut == std::wstring::npos)
            cut = start.rfind(L'/');
        if (cut != std::wstring::npos)
            start.erase(cut);
    }
    return NormalizePath(WithTrailingBackslash(start) + path.str(), wlitestring(), kNormalizeAll);
}

std::wstring GetRelativePath(const wlitestring& target, const wlitestring& start) {
    // The system call takes texts of at most MAX_PATH characters.
    if (target.length() >= MAX_PATH || start.length() >= MAX_PATH)
        return std::wstring();
    wlitestring::c_string_holder targetText;
    STLHelpers::ToOwnedWString(target, targetText);
    wlitestring::c_string_holder startText;
    STLHelpers::ToOwnedWString(start, startText);
    // A start that cannot be examined (it does not exist) counts as a folder.
    SetLastError(0);
    const bool startIsFolder = PathIsDirectoryW(startText.c_str()) || GetLastError() != 0;
    const bool targetIsFolder = PathIsDirectoryW(targetText.c_str()) != FALSE;
    // Room for a climb of "..\\" per folder of the start on top of the target.
    wchar_t buffer[4 * MAX_PATH] = {};
    if (!PathRelativePathToW(buffer, startText.c_str(),
                             startIsFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, targetText.c_str(),
                             targetIsFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL))
        return std::wstring();
    return buffer;
}

namespace {
bool IsPathSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}
}  // namespace

std::size_t PathNamesStart(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':')
        return 2;
    if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        std::size_t start = path.find_first_of(L"\\/", 2);
        if (start != std::wstring::npos)
            start = path.find_first_of(L"\\/", start + 1);
        return start == std::wstring::npos ? path.size() : start;
    }
    return 0;
}

std::vector<std::wstring> FolderLevels(const std::wstring& folder) {
    std::wstring path = folder;
    while (path.size() > 1 && IsPathSeparator(path.back()))
        path.pop_back();
    std::vector<std::wstring> levels;
    for (std::size_t i = PathNamesStart(path) + 1; i <= path.size(); ++i) {
        if (i == path.size() || (IsPathSeparator(path[i]) && !IsPathSeparator(path[i - 1])))
            levels.push_back(path.substr(0, i));
    }
    return levels;
}

}  // namespace FileSystem
