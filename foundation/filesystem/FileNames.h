#pragma once
// Texts of file and folder paths: trailing backslashes, extensions, folder
// parts, canonical, normalised and relative forms. All texts are Windows
// paths; the backslash separates, a slash is accepted where noted.
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <string>
#include <vector>

namespace FileSystem {

// Flags of NormalizePath.
enum NormalizeFlags : DWORD {
    kNormalizeSlashes = 1,          // every slash becomes a backslash
    kNormalizeParentSteps = 2,      // "a\b\..\c" becomes "a\c"
    kNormalizeNoTrailingSlash = 4,  // one trailing backslash is removed
    kNormalizeAll = 7,
};

// Appends a backslash unless the text ends with one ("" becomes "\").
void AddTrailingBackslash(std::wstring& text);
std::wstring WithTrailingBackslash(const wlitestring& text);
// Without one trailing backslash (only one).
std::wstring StripTrailingBackslash(const wlitestring& text);
// "C:\f" + ".txt" and "C:\f." + "txt" both give "C:\f.txt"; an empty
// extension leaves the path as it is.
std::wstring AppendExtension(const wlitestring& path, const wlitestring& extension);
// The base with a backslash, then the name; an empty base gives "".
std::wstring _CombinePath(const wlitestring& base, const wlitestring& name);
// The text up to and including the last backslash of the path without its
// trailing one: "C:\a\" gives "C:\"; "C:\" and "name" give "".
std::wstring _GetFolderPart(const wlitestring& path);
// "C:", "C:\" or "C:/" (the first character is not examined).
bool IsDriveRoot(const wlitestring& text);

// PathCanonicalizeW; the text itself when that fails.
std::wstring CanonicalizePath(const wlitestring& text);
// The path, put under `base` when one is given, with the parts chosen by
// `flags` (NormalizeFlags) done, then canonical. Only a whole ".." segment
// is a parent step ("Wow...mp4" is a name). A parent step that cannot be
// collapsed (no folder before it) leaves the path alone: the canonical form
// of `path` itself is returned.
std::wstring NormalizePath(const wlitestring& path, const wlitestring& base, DWORD flags);
// A relative path resolved against the folder of `base` (or `base` itself
// when it is a folder); an absolute path unchanged.
std::wstring _ResolveRelativePath(const wlitestring& path, const wlitestring& base);
// PathRelativePathToW from `start` to `target`; "" when there is none. A
// start that does not exist counts as a folder.
std::wstring GetRelativePath(const wlitestring& target, const wlitestring& start);

// Where a path's names begin: after "C:", after "\\server\share", else at 0
// (slashes count as backslashes).
std::size_t PathNamesStart(const std::wstring& path);
// The folders from the root down to `folder` itself ("C:\a\b" gives "C:\a",
// "C:\a\b"); a drive or share root is not among them, trailing separators
// are left out.
std::vector<std::wstring> FolderLevels(const std::wstring& folder);

}  // namespace FileSystem
