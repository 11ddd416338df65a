#pragma once
#include "foundation/filesystem/Folder.h"
#include "foundation/strings/LiteString.h"

#include <windows.h>

namespace FileSystem {

// Flags of CreateUniquePath.
enum UniquePathFlags : DWORD {
    kUniquePathFolder = 1,  // create a folder, not a file (with kUniquePathCreate)
    kUniquePathCreate = 2,  // create the item rather than only name it
};

// Attempts CreateUniquePath makes before it gives up.
const int kUniquePathAttempts = 100;

// A path named by a new GUID (36 characters) and ".suffix" when a suffix is
// given, inside `pFolder` (created when missing) or the temporary folder.
// With kUniquePathCreate the item is created. An empty path when no new item
// could be named or created within kUniquePathAttempts.
Folder CreateUniquePath(const Folder* pFolder, const wlitestring& suffix, DWORD flags);

}  // namespace FileSystem
