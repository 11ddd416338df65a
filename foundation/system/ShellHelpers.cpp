#include "foundation/system/ShellHelpers.h"

#include "foundation/errors/Checks.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/FileNames.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/registry/Key.h"
#include "foundation/strings/StringAlgorithms.h"
#include "foundation/system/ShellExecute.h"

#include <atomic>

namespace System {

namespace {

const wchar_t kInternetExplorerServerKey[] =
    L"SOFTWARE\\Classes\\CLSID\\{0002DF01-0000-0000-C000-000000000046}\\LocalServer32";

HRESULT ShellOpenFolderAndSelectItems(PCIDLIST_ABSOLUTE folder, UINT count, PCUITEMID_CHILD_ARRAY items,
                                      DWORD flags) {
    return ::SHOpenFolderAndSelectItems(folder, count, items, flags);
}

std::atomic<OpenFolderAndSelectFunction> g_openFolderAndSelect{&ShellOpenFolderAndSelectItems};

// An item list of the shell, freed with the shell's allocator.
class ItemList {
public:
    explicit ItemList(const std::wstring& path) {
        if (FAILED(::SHParseDisplayName(path.c_str(), nullptr, &m_pList, 0, nullptr)))
            m_pList = nullptr;
    }
    ~ItemList() { ::CoTaskMemFree(m_pList); }
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    PIDLIST_ABSOLUTE Get() const { return m_pList; }

private:
    PIDLIST_ABSOLUTE m_pList = nullptr;
};

bool OpenInFolderWindow(const std::wstring& path) {
    ItemList folder(FileSystem::_GetFolderPart(path));
    ItemList file(path);
    if (!folder.Get() || !file.Get())
        return false;
    // An absolute list stands for the item relative to the desktop, which is
    // what the opener takes.
    PCUITEMID_CHILD item = reinterpret_cast<PCUITEMID_CHILD>(file.Get());
    return SUCCEEDED(g_openFolderAndSelect.load()(folder.Get(), 1, &item, 0));
}

}  // namespace

std::wstring GetInternetExplorerPath() {
    Registry::Key key(Registry::ToRootKey(HKEY_LOCAL_MACHINE), kInternetExplorerServerKey);
    return STLHelpers::TrimCopy(key.GetString(L"", L"", true), L"\"");
}

bool OpenInInternetExplorer(const wlitestring& address) {
    const std::wstring path = GetInternetExplorerPath();
    if (path.empty())
        return false;
    const std::wstring inner = STLHelpers::Unquote(address, L'"');
    CHECK_ERROR(inner.find(L'"') == std::wstring::npos);
    const std::wstring parameters = address.empty() ? std::wstring() : STLHelpers::Enquote(address, L'"');
    return FileSystem::File(path).ShellOpen(parameters, SW_SHOWNORMAL);
}

bool OpenFolderAndSelectFile(const wlitestring& path) {
    const std::wstring pathText = path.str();
    if (OpenInFolderWindow(pathText))
        return true;
    const FileSystem::File explorer = FileSystem::GetSpecialFolder(CSIDL_WINDOWS).GetFile(L"explorer.exe");
    const std::wstring parameters = L"/select," + STLHelpers::Enquote(pathText, L'"');
    return ShellExecuteInstance(nullptr, explorer.GetPath(), parameters, SW_SHOW) > 32;
}

bool PlayMediaFile(const wlitestring& path) {
    if (path.empty() || !FileSystem::IsExistingFile(path))
        return false;
    const FileSystem::File media(path);
    if (media.ShellOpen(wlitestring(), SW_SHOWNORMAL))
        return true;
    if (ShellExecuteInstance(L"play", path, wlitestring(), SW_SHOWNORMAL) > 32)
        return true;
    const FileSystem::File player =
        FileSystem::GetSpecialFolder(CSIDL_PROGRAM_FILES).GetFile(L"Windows Media Player\\wmplayer.exe");
    return player.ShellOpen(STLHelpers::Enquote(path, L'"'), SW_SHOWNORMAL);
}

OpenFolderAndSelectFunction SetOpenFolderAndSelectItems(OpenFolderAndSelectFunction function) {
    return g_openFolderAndSelect.exchange(function ? function : &ShellOpenFolderAndSelectItems);
}

}  // namespace System
