#pragma once
// Folders the system names: the temporary folder, the folder of a module,
// the shell's special folders; and the long and short forms of a path.
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <string>

namespace FileSystem {

Folder GetTempFolder();
// The module's file (null: the program's executable), in its long form.
File GetModuleFilePath(HMODULE module);
// The module's folder, with its trailing backslash.
Folder GetModuleFolder(HMODULE module);
Folder GetApplicationFolder();
// SHGetFolderPathW of a CSIDL value; an empty folder when it fails.
Folder GetSpecialFolder(int csidl);
// A path relative to the module's folder ("Resources\Main" beside the program).
std::wstring GetModuleRelativePath(const wlitestring& relativePath, HMODULE module);
// The path relative to the module's folder (".\Resources\Main").
std::wstring MakePathRelativeToModule(const wlitestring& path, HMODULE module);

// GetLongPathNameW / GetShortPathNameW; the path itself when the conversion
// fails (an empty answer with a failure code is reported as "((lerr))").
std::wstring GetLongPath(const wlitestring& path);
std::wstring GetShortPath(const wlitestring& path);

}  // namespace FileSystem
