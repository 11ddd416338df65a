// The single-instance steps of start-up: a running update stops the start,
// a second instance hands over to the first.
#include "appframework/application/ApplicationBaseLite.h"

#include "foundation/filesystem/ShellFolders.h"
#include "foundation/system/AutoHandle.h"
#include "foundation/system/Process.h"

namespace ApplicationFramework {

namespace {

const UINT kHandOverFlags = SMTO_BLOCK | SMTO_ABORTIFHUNG;
const UINT kWindowTimeoutMs = 2000;
const UINT kChildTimeoutMs = 1000;

std::wstring ExecutableFileName() { return FileSystem::GetModuleFilePath(nullptr).GetName(); }

// True when the window answered the hand-over as handled.
bool HandsOver(HWND window, UINT timeoutMs) {
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(window, kActivateInstanceMessage, 0, 0, kHandOverFlags, timeoutMs, &answer) &&
           static_cast<LRESULT>(answer) == kActivateInstanceAnswer;
}

}  // namespace

bool ApplicationBaseLite::_CheckUpdateNotRunning() {
    if (m_productInfo.GetProductName().empty())
        return true;
    const std::wstring name = m_productInfo.ExpandPlaceholders(L"{ProductName}_UpdateMutex");
    STLHelpers::AutoHandle mutex(::CreateMutexW(nullptr, FALSE, name.c_str()));
    return ::GetLastError() != ERROR_ALREADY_EXISTS;
}

bool ApplicationBaseLite::_CreateInstanceMutex() {
    if (!m_productInfo.GetProductName().empty()) {
        const std::wstring name = m_productInfo.ExpandPlaceholders(L"{ProductName}_InstanceMutex");
        // Held until the process ends: its existence is the running instance.
        ::CreateMutexW(nullptr, FALSE, name.c_str());
        return ::GetLastError() != ERROR_ALREADY_EXISTS;
    }
    System::ProcessList processes;
    System::FindProcessesByName(ExecutableFileName(), processes, true);
    const DWORD self = ::GetCurrentProcessId();
    for (const System::Process& process : processes) {
        if (process.GetId() != self)
            return false;
    }
    return true;
}

bool ApplicationBaseLite::_ActivateRunningInstance() {
    System::ProcessWindowList windows;
    System::FindProcessWindows(ExecutableFileName(), windows);
    const DWORD self = ::GetCurrentProcessId();
    for (const auto& [processId, window] : windows) {
        if (processId == self || !::IsWindow(window))
            continue;
        if (HandsOver(window, kWindowTimeoutMs))
            return true;
        const HWND child = ::GetWindow(window, GW_CHILD);
        if (child && HandsOver(child, kChildTimeoutMs))
            return true;
    }
    return false;
}

}  // namespace ApplicationFramework
