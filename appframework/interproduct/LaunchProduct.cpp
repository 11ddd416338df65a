#include "appframework/interproduct/Product.h"

#include "foundation/filesystem/File.h"
#include "foundation/registry/Key.h"
#include "foundation/system/Foreground.h"

namespace InterProductLib {

namespace {

const wchar_t kLaunchOnceValue[] = L"LaunchOnceOnProductExit";

void BringForward(HWND window) {
    WINDOWPLACEMENT placement = {sizeof(placement)};
    if (::GetWindowPlacement(window, &placement) &&
        (placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_MINIMIZE ||
         placement.showCmd == SW_SHOWMINNOACTIVE))
        ::ShowWindow(window, SW_SHOWNORMAL);
    System::ForceForegroundWindow(window);
}

}  // namespace

bool LaunchProduct(const wlitestring& key, const wlitestring& name, bool force, bool installIfMissing) {
    const std::wstring productKey = key.str();
    const std::wstring executableName = name.str() + L".exe";
    if (name.empty())
        return false;
    if (const HWND running = PluginLib::PluginBase::FindVisibleWindow(executableName)) {
        BringForward(running);
        return true;
    }
    if (productKey.empty())
        return false;
    Registry::Key settings(Registry::ToRootKey(HKEY_CURRENT_USER), L"Software\\" + productKey);
    if (settings.GetDWORD(kLaunchOnceValue, 0, true) != 1 && !force)
        return true;
    const std::wstring installPath = settings.GetString(L"InstallPath", L"", true);
    const FileSystem::File executable = FileSystem::Folder(installPath).GetFile(executableName);
    if (!installPath.empty() && executable.Exists()) {
        if (!executable.ShellOpen(L"", SW_SHOWNORMAL))
            return false;
        settings.SetDWORD(kLaunchOnceValue, 0);
        return true;
    }
    if (!installIfMissing)
        return false;
    const boost::shared_ptr<Manager> pManager = CreateManager();
    if (!pManager)
        return false;
    const boost::shared_ptr<Product> pProduct = pManager->GetProduct({productKey, name.str(), productKey, name.str()});
    if (!pProduct || pProduct->IsInstalled())
        return false;
    return pProduct->Install(FALSE, TRUE);
}

}  // namespace InterProductLib
