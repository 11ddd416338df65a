#pragma once
// The shell's folder browser (SHBrowseForFolderW) behind one replaceable
// function, so that tests answer instead of a person. The returned item list
// belongs to the caller, who frees it with the shell allocator.
#include <windows.h>
#include <shlobj.h>

namespace FolderBrowser {

typedef PIDLIST_ABSOLUTE (*Handler)(BROWSEINFOW* pInfo);
// Returns the handler it replaces; null restores SHBrowseForFolderW.
Handler SetHandler(Handler handler);
PIDLIST_ABSOLUTE Browse(BROWSEINFOW* pInfo);

// Frees an item list through the shell allocator (SHGetMalloc, Free, Release).
void FreeItemList(PIDLIST_ABSOLUTE pItemList);

}  // namespace FolderBrowser
