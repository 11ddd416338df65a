#include "updater/engine/UpdateController.h"

#include "foundation/errors/Checks.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/registry/Key.h"
#include "foundation/strings/StringAlgorithms.h"
#include "foundation/system/AutoHandle.h"
#include "updater/engine/IUpdateEvents.h"
#include "updater/settings/UpdaterSettings.h"

namespace Engine {

namespace {

// A terminated process may hold its files a moment longer; the setup that
// follows must find them free.
const DWORD kTerminatedExitWaitMs = 5000;

// The full path of the process's executable; "" when it cannot be asked.
std::wstring ProcessImagePath(DWORD processId) {
    STLHelpers::AutoHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process.IsValid())
        return std::wstring();
    wchar_t path[MAX_PATH * 4] = {};
    DWORD length = ARRAYSIZE(path);
    if (!::QueryFullProcessImageNameW(process.Get(), 0, path, &length))
        return std::wstring();
    return std::wstring(path, length);
}

bool IsSameFile(const std::wstring& a, const std::wstring& b) {
    return STLHelpers::IsEqualNoCase(FileSystem::GetLongPath(a), FileSystem::GetLongPath(b));
}

}  // namespace

UpdateController& UpdateController::Instance() {
    static UpdateController s_controller(UpdaterSettings::Instance());
    return s_controller;
}

UpdateController::UpdateController(UpdaterSettings& settings)
    : m_settings(settings), m_worker(settings, settings.GetDownloadURL(), m_listeners) {}

bool UpdateController::AddListener(IUpdateEvents* pListener) {
    return m_listeners.Add(static_cast<void*>(pListener));
}

bool UpdateController::RemoveListener(IUpdateEvents* pListener) {
    return m_listeners.Remove(static_cast<void*>(pListener));
}

bool UpdateController::IsProductRunning() {
    return _FindProductProcessId() != 0;
}

std::wstring UpdateController::ProductPathInInstallFolder(const std::wstring& installPath) {
    return FileSystem::Folder(installPath).GetFile(m_settings.GetProductExecutable()).GetPath();
}

DWORD UpdateController::_FindProductProcessId() {
    System::ProcessList processes;
    if (!System::FindProcessesByName(m_settings.GetProductExecutable(), processes, true) || processes.empty())
        return 0;
    const std::wstring installPath = GetInstallPath();
    if (installPath.empty())
        return processes.front().GetId();
    // Another program of the same file name elsewhere is none of ours.
    const std::wstring productPath = ProductPathInInstallFolder(installPath);
    for (const System::Process& process : processes) {
        if (IsSameFile(ProcessImagePath(process.GetId()), productPath))
            return process.GetId();
    }
    return 0;
}

bool UpdateController::StopProduct(DWORD timeoutMs) {
    const DWORD processId = _FindProductProcessId();
    if (processId == 0)
        return true;
    const std::wstring imagePath = ProcessImagePath(processId);
    System::Process product(processId, nullptr, nullptr);
    if (!product.Open(SYNCHRONIZE | PROCESS_TERMINATE)) {
        // Gone between the search and the open: stopped all the same.
        return _FindProductProcessId() != processId;
    }
    if (!imagePath.empty())
        m_stoppedProductPath = imagePath;

    const std::wstring eventName = m_settings.GetExitEventName();
    STLHelpers::AutoHandle exitEvent(::CreateEventW(nullptr, FALSE, FALSE, eventName.c_str()));
    // Without the event the product cannot be asked; ending it unasked could
    // lose what it has not saved.
    CHECK_ERROR_WIN32(exitEvent.IsValid());
    CHECK_ERROR_WIN32(::SetEvent(exitEvent.Get()));

    if (product.Wait(timeoutMs))
        return true;
    const bool isTerminated = product.Terminate(0);
    if (isTerminated)
        product.Wait(kTerminatedExitWaitMs);
    return isTerminated;
}

std::wstring UpdateController::GetInstallPath() {
    Registry::Key key(Registry::ToRootKey(HKEY_LOCAL_MACHINE), L"Software\\" + m_settings.GetProductName());
    return key.GetString(L"InstallPath", L"", true);
}

bool UpdateController::LaunchProduct(bool minimized) {
    const std::wstring installPath = GetInstallPath();
    // The bare file name would let the shell pick any program of that name.
    const std::wstring path = installPath.empty() ? m_stoppedProductPath : ProductPathInInstallFolder(installPath);
    if (path.empty())
        return false;
    return FileSystem::File(path).ShellOpen(L"", minimized ? SW_SHOWMINIMIZED : SW_SHOW);
}

bool UpdateController::StartWorker() {
    return m_worker.Start(false, 0);
}

bool UpdateController::StopWorker() {
    m_worker.Stop();
    return true;
}

}  // namespace Engine
