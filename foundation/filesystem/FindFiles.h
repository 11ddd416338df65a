#pragma once
#include "foundation/strings/LiteString.h"

namespace FileSystem {

// Called with each entry's full path; false stops the search at that level.
struct FindFilesCallback {
    bool (*function)(void* context, const wchar_t* path);
    void* context;
};

// Every entry of `folder` whose name matches `mask` (folders included), in
// the file system's order; with `recurse`, each matching folder is searched
// the same way right after its own call (depth first). "." and ".." are
// neither reported nor entered. False only for an empty folder or mask. An
// exception of the callback closes the search and passes on.
bool FindFiles(const wlitestring& folder, const wlitestring& mask, const FindFilesCallback& callback, bool recurse);

}  // namespace FileSystem
