#include "updater/engine/UpdateWorker.h"

#include "foundation/errors/Checks.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/ShellFolders.h"
#include "updater/engine/IUpdateEvents.h"
#include "updater/settings/UpdaterSettings.h"

namespace Engine {

const wchar_t kSilentSetupParameters[] = L"/verysilent /norestart /S /SUPPRESSMSGBOXES /COMPONENTS=\"!suite\"";

namespace {

// How long an ended setup may take to let its file go.
const DWORD kSetupEndWaitMs = 5000;

std::wstring NewSetupPath() {
    static std::atomic<unsigned> s_counter{0};
    const std::wstring name =
        L"Update!-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++s_counter) + L".exe";
    return FileSystem::GetTempFolder().GetFile(name).GetPath();
}

}  // namespace

UpdateWorker::UpdateWorker(const UpdaterSettings& settings, const std::wstring& url,
                           Synchronization::GuardedPtrList& listeners)
    : m_settings(settings),
      m_listeners(listeners),
      m_url(url),
      m_setupPath(NewSetupPath()),
      m_downloader(url, &m_writer) {
    m_writer.SetDestination(m_setupPath, this);
    // A stop ends a download at once, in whatever step it waits.
    m_downloader.SetCancelEvent(_GetStopEvent());
}

UpdateWorker::~UpdateWorker() {
    // Before the members the body uses are gone; a download ends at once.
    m_cancelled.store(true);
    ThreadImpl::Stop(INFINITE);
    _EndSetup();
    m_downloader.Close();
}

DWORD UpdateWorker::_Run() {
    _SetState(StateConnecting);
    const bool isDownloaded = !m_cancelled.load() && m_downloader.Download();
    if (!isDownloaded || m_failed.load()) {
        m_failed.store(true);
        _DeleteSetupFile();
        _SetState(StateFinished);
        return 1;
    }
    _SetState(StateInstalling);
    m_failed.store(!_RunSetup());
    _SetState(StateFinished);
    return 0;
}

void UpdateWorker::Stop() {
    m_cancelled.store(true);
    const int state = m_state.load();
    if (!_IsRunning() || state == StatePreparing || state == StateFinished)
        return;
    // The body waits for nothing but the stop event and what it waits for:
    // it ends within moments, in any state.
    ThreadImpl::Stop(INFINITE);
    _EndSetup();
    m_downloader.Close();
    m_failed.store(true);
    _SetState(StateFinished);
}

bool UpdateWorker::_RunSetup() {
    const bool isSilent = m_settings.IsSilent();
    std::wstring cmd = L"\"" + _GetSetupPath() + L"\"";
    if (isSilent)
        cmd += std::wstring(L" ") + kSilentSetupParameters;
    const std::wstring folder = FileSystem::File(_GetSetupPath()).GetFolderPath();
    const auto GetLocation = [&folder] { return folder.c_str(); };
    const DWORD flags = CREATE_NO_WINDOW;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(0, &cmd.front(), 0, 0, 0, flags, 0, GetLocation(), &si, &pi)) {
        const ErrorHandling::ErrorCode code = ErrorHandling::ErrorCode::FromLastError();
        Reporting::GetModuleReportingObject().ReportError(
            "((CreateProcessW(0,&cmd.front(),0,0,0,flags,0,GetLocation(),&si,&pi)))", &code);
        _DeleteSetupFile();
        return false;
    }
    ::CloseHandle(pi.hThread);
    m_setupProcess = System::Process(pi.dwProcessId, pi.hProcess, nullptr);

    // A stop ends the wait; Stop then ends the setup.
    const HANDLE waits[] = {m_setupProcess.GetHandle(), _GetStopEvent()};
    if (::WaitForMultipleObjects(2, waits, FALSE, isSilent ? kSilentSetupTimeoutMs : INFINITE) != WAIT_OBJECT_0)
        return false;  // still running: its file stays
    DWORD exitCode = 0;
    const bool hasExitCode = ::GetExitCodeProcess(m_setupProcess.GetHandle(), &exitCode) != FALSE;
    _DeleteSetupFile();
    return hasExitCode && exitCode == 0;
}

void UpdateWorker::_EndSetup() {
    if (!m_setupProcess.HasHandle() || m_setupProcess.Wait(0))
        return;
    // Cancelled while installing: the user asked for the installation to end.
    m_setupProcess.Terminate(0);
    if (m_setupProcess.Wait(kSetupEndWaitMs))
        _DeleteSetupFile();
}

void UpdateWorker::_DeleteSetupFile() {
    const FileSystem::File setup(_GetSetupPath());
    if (setup.Exists())
        setup.Delete(false);
}

void UpdateWorker::_SetState(int state) {
    if (m_state.exchange(state) == state)
        return;
    m_listeners.Notify([](void* pListener) { static_cast<IUpdateEvents*>(pListener)->StateChanged(); });
}

bool UpdateWorker::OnBegin(unsigned long totalBytes) {
    m_totalBytes.store(totalBytes);
    _SetState(StateDownloading);
    return !m_cancelled.load();
}

bool UpdateWorker::OnProgress(unsigned long bytesSoFar) {
    m_doneBytes.store(bytesSoFar);
    m_listeners.Notify([](void* pListener) { static_cast<IUpdateEvents*>(pListener)->ProgressChanged(); });
    return !m_cancelled.load();
}

void UpdateWorker::OnEnd(bool ok) {
    if (!ok)
        m_failed.store(true);
}

}  // namespace Engine
