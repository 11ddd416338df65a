#include "shell/dialogs/FolderBrowser.h"

namespace FolderBrowser {

namespace {
Handler g_handler = nullptr;
}  // namespace

Handler SetHandler(Handler handler) {
    const Handler previous = g_handler;
    g_handler = handler;
    return previous;
}

PIDLIST_ABSOLUTE Browse(BROWSEINFOW* pInfo) {
    return g_handler ? g_handler(pInfo) : ::SHBrowseForFolderW(pInfo);
}

void FreeItemList(PIDLIST_ABSOLUTE pItemList) {
    if (!pItemList)
        return;
    IMalloc* pMalloc = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&pMalloc)) && pMalloc) {
        pMalloc->Free(pItemList);
        pMalloc->Release();
    }
}

}  // namespace FolderBrowser
