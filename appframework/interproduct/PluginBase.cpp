#include "appframework/interproduct/PluginBase.h"

#include "foundation/filesystem/File.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/registry/Key.h"
#include "foundation/system/Foreground.h"
#include "foundation/system/Process.h"
#include "graphics/commongui/PictureLoaders.h"

#include <shlobj.h>

namespace PluginLib {

namespace {

const wchar_t kUpdaterName[] = L"Updater.exe";
const wchar_t kX86Suffix[] = L" (x86)";

bool HasFile(const std::wstring& folder, const std::wstring& name) {
    return !folder.empty() && FileSystem::IsExistingFile(FileSystem::Folder(folder).GetFile(name).GetPath());
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    return folder.empty() ? std::wstring() : FileSystem::Folder(folder).GetFile(name).GetPath();
}

std::wstring WithoutTrailingBackslash(std::wstring path) {
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

// A cached path stays while its file exists.
bool IsStillThere(const std::wstring& path) {
    return !path.empty() && FileSystem::IsExistingFile(path);
}

}  // namespace

PluginBase::PluginBase(IHost* pHost) {
    if (pHost != nullptr)
        pHost->GetDescription(m_description);
}

HWND PluginBase::FindVisibleWindow(const wlitestring& executableName) {
    System::ProcessWindowList windows;
    if (executableName.empty() || !System::FindProcessWindows(executableName, windows))
        return nullptr;
    HWND found = nullptr;
    for (const auto& entry : windows) {
        if (::IsWindowVisible(entry.second))
            found = entry.second;
    }
    return found;
}

std::wstring PluginBase::GetExecutableName() {
    if (!m_isExecutableNameMade) {
        m_executableName = m_description.executableName;
        if (m_executableName.empty() && !m_description.shortTitle.empty())
            m_executableName = m_description.shortTitle + L".exe";
        m_isExecutableNameMade = true;
    }
    return m_executableName;
}

std::wstring PluginBase::FindInstallFolder(const wlitestring& productKey, const wlitestring& executableName) {
    const std::wstring key = productKey.str();
    const std::wstring name = executableName.str();
    if (key.empty() || name.empty())
        return std::wstring();
    Registry::Key registryKey(Registry::ToRootKey(HKEY_LOCAL_MACHINE), L"Software\\" + key);
    const std::wstring programFiles = WithoutTrailingBackslash(FileSystem::GetSpecialFolder(CSIDL_PROGRAM_FILES).GetPath());
    std::wstring widePrograms = programFiles;
    const size_t suffixLength = wcslen(kX86Suffix);
    if (widePrograms.size() >= suffixLength &&
        widePrograms.compare(widePrograms.size() - suffixLength, suffixLength, kX86Suffix) == 0)
        widePrograms.erase(widePrograms.size() - suffixLength);
    const std::wstring candidates[] = {
        registryKey.GetString(L"InstallPath", L"", true),
        JoinPath(programFiles, key),
        registryKey.GetString(L"InstallPath", L"", false),
        JoinPath(widePrograms, key),
    };
    for (const std::wstring& candidate : candidates) {
        if (HasFile(candidate, name))
            return candidate;
    }
    return std::wstring();
}

std::wstring PluginBase::_GetInstallFolder() {
    return FindInstallFolder(m_description.productKey, GetExecutableName());
}

std::wstring PluginBase::_GetBundleFolder() {
    if (m_description.bundleShortTitle.empty())
        return std::wstring();
    return FindInstallFolder(m_description.bundleLongTitle, m_description.bundleShortTitle + L".exe");
}

std::wstring PluginBase::GetExecutablePath() {
    if (!IsStillThere(m_executablePath))
        m_executablePath = JoinPath(_GetInstallFolder(), GetExecutableName());
    return m_executablePath;
}

bool PluginBase::IsInstalled() {
    return IsStillThere(GetExecutablePath());
}

std::wstring PluginBase::GetUpdaterPath() {
    if (!IsStillThere(m_updaterPath)) {
        m_updaterPath = JoinPath(_GetBundleFolder(), kUpdaterName);
        if (!IsStillThere(m_updaterPath))
            m_updaterPath = FileSystem::GetApplicationFolder().GetFile(kUpdaterName).GetPath();
    }
    return m_updaterPath;
}

std::wstring PluginBase::GetSetupPath() {
    if (!IsStillThere(m_setupPath)) {
        const std::wstring setupName = m_description.productKey + L" Setup.exe";
        m_setupPath = JoinPath(_GetBundleFolder(), setupName);
        if (!IsStillThere(m_setupPath))
            m_setupPath = FileSystem::GetApplicationFolder().GetFile(setupName).GetPath();
        if (!IsStillThere(m_setupPath))
            m_setupPath.clear();
    }
    return m_setupPath;
}

std::wstring PluginBase::BuildUpdaterArguments(bool silent) {
    return L"/productName \"" + m_description.productKey + L"\" /productURL \"" + m_description.mainAddress +
           L"\" /downloadURL \"" + m_description.downloadAddress + L"\" /productExecutable \"" +
           GetExecutableName() + L"\" /componentName \" \" /isSilent " + (silent ? L"1" : L"0");
}

bool PluginBase::Install(BOOL silent, BOOL allowUpdater) {
    const std::wstring setup = GetSetupPath();
    if (!setup.empty() && FileSystem::File(setup).ShellOpen(L"", SW_SHOWNORMAL))
        return true;
    if (!allowUpdater || m_description.downloadAddress.empty())
        return false;
    return FileSystem::File(GetUpdaterPath()).ShellOpen(BuildUpdaterArguments(silent != FALSE), SW_SHOWNORMAL);
}

bool PluginBase::Uninstall(BOOL silent) {
    const std::wstring folder = _GetInstallFolder();
    if (folder.empty())
        return false;
    WIN32_FIND_DATAW found;
    const std::wstring pattern = JoinPath(folder, L"unins???.exe");
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(search);
    return FileSystem::File(JoinPath(folder, found.cFileName))
        .ShellOpen(silent ? L"/verysilent /norestart /S" : L"", SW_SHOWNORMAL);
}

bool PluginBase::Run(const wlitestring& argument) {
    const std::wstring path = GetExecutablePath();
    return !path.empty() && FileSystem::File(path).ShellOpen(argument, SW_SHOWNORMAL);
}

bool PluginBase::IsRunning() {
    System::ProcessList processes;
    const std::wstring name = GetExecutableName();
    return !name.empty() && System::FindProcessesByName(name, processes, true) && !processes.empty();
}

bool PluginBase::BringToFront() {
    const HWND window = FindVisibleWindow(GetExecutableName());
    if (window == nullptr)
        return false;
    System::ForceForegroundWindow(window);
    return true;
}

bool PluginBase::EndRunning() {
    System::ProcessWindowList windows;
    const std::wstring name = GetExecutableName();
    if (name.empty() || !System::FindProcessWindows(name, windows) || windows.empty())
        return false;
    for (const auto& entry : windows)
        ::PostMessageW(entry.second, WM_CLOSE, 0, 0);
    return true;
}

std::wstring PluginBase::GetVersion() {
    const std::wstring path = GetExecutablePath();
    return path.empty() ? std::wstring() : FileSystem::File(path).GetVersionString();
}

std::wstring PluginBase::GetComposedTitle() {
    return m_description.mediumTitle.empty() ? m_description.shortTitle : m_description.mediumTitle;
}

CommonGuiLib::SharedIcon PluginBase::GetIcon(int width, int height) {
    if (!m_description.iconFilePath.empty())
        return CommonGuiLib::LoadIconFromFile(m_description.iconFilePath, width, height);
    const std::wstring path = GetExecutablePath();
    if (path.empty())
        return CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectIcon>(nullptr);
    // Only its resources: a full load would resolve the product's imports and
    // run their start-up code inside this process.
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr)
        return CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectIcon>(nullptr);
    CommonGuiLib::SharedIcon icon =
        CommonGuiLib::LoadIconFromResourceId(module, static_cast<WORD>(m_description.iconResourceId), width, height);
    ::FreeLibrary(module);
    return icon;
}

}  // namespace PluginLib
