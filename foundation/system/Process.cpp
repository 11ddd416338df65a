#include "foundation/system/Process.h"

#include "foundation/errors/Checks.h"
#include "foundation/strings/StringAlgorithms.h"

#include <shlwapi.h>
#include <tlhelp32.h>

#include <new>

namespace System {

namespace {

// The snapshot entry of this 32-bit program.
static_assert(sizeof(PROCESSENTRY32W) == 556, "PROCESSENTRY32W");

DWORD ReadId(volatile LONG& id) {
    return static_cast<DWORD>(InterlockedCompareExchange(&id, 0, 0));
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    if (IsWindow(window))
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

}  // namespace

Process::Process(DWORD id, HANDLE handle, const ProcessInfo* pInfo)
    : m_id(static_cast<LONG>(id)),
      m_pHandle(new STLHelpers::AutoHandle(handle)),
      m_pInfo(pInfo ? boost::shared_ptr<ProcessInfo>(new ProcessInfo(*pInfo)) : boost::shared_ptr<ProcessInfo>()) {}

Process::Process(HANDLE handle) : m_id(0), m_pHandle(new STLHelpers::AutoHandle(handle)) {}

Process::Process(const Process& other)
    : m_id(static_cast<LONG>(ReadId(other.m_id))), m_pHandle(other.m_pHandle), m_pInfo(other.m_pInfo) {}

Process& Process::operator=(const Process& other) {
    if (this != &other) {
        InterlockedExchange(&m_id, static_cast<LONG>(ReadId(other.m_id)));
        m_pHandle = other.m_pHandle;
        m_pInfo = other.m_pInfo;
    }
    return *this;
}

Process* Process::_InitEmpty(void* place) noexcept {
    // Allocating the handle owner could throw; the program treats that as fatal.
    return new (place) Process(0, nullptr, nullptr);
}

DWORD Process::GetId() const {
    DWORD id = ReadId(m_id);
    if (id == 0) {
        id = GetProcessId(m_pHandle->Get());
        InterlockedExchange(&m_id, static_cast<LONG>(id));
    }
    return id;
}

bool Process::Open(DWORD access) {
    const DWORD id = ReadId(m_id);
    CHECK_ERROR(!!m_id);
    HANDLE handle = OpenProcess(access, FALSE, id);
    if (handle != m_pHandle->Get())
        m_pHandle.reset(new STLHelpers::AutoHandle(handle));
    return HasHandle();
}

bool Process::Terminate(UINT exitCode) {
    if (!HasHandle())
        Open(PROCESS_ALL_ACCESS);
    return TerminateProcess(m_pHandle->Get(), exitCode) != FALSE;
}

bool Process::Wait(DWORD timeoutMs) const {
    return WaitForSingleObject(m_pHandle->Get(), timeoutMs) == WAIT_OBJECT_0;
}

std::wstring Process::GetExeName() const {
    if (!m_pInfo) {
        const ErrorHandling::ErrorCode code(E_FAIL);
        Reporting::GetModuleReportingObject().ReportError("((m_pInfo))", &code);
        return std::wstring();
    }
    return m_pInfo->executable;
}

bool EnumerateProcesses(ProcessList& processes, bool clear) {
    if (clear)
        processes.clear();
    STLHelpers::AutoHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.Get() == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        ProcessInfo info;
        info.threadCount = entry.cntThreads;
        info.basePriority = entry.pcPriClassBase;
        info.parent = Process(entry.th32ParentProcessID, nullptr, nullptr);
        info.executable = entry.szExeFile;
        processes.push_back(Process(entry.th32ProcessID, nullptr, &info));
    }
    return true;
}

bool FindProcessesByName(const wlitestring& exeName, ProcessList& processes, bool clear) {
    if (clear)
        processes.clear();
    ProcessList all;
    if (!EnumerateProcesses(all, true))
        return false;
    for (const Process& process : all) {
        const std::wstring exe = process.GetExeName();
        if (STLHelpers::IsEqualNoCase(PathFindFileNameW(exe.c_str()), exeName))
            processes.push_back(process);
    }
    return true;
}

bool FindProcessWindows(const wlitestring& exeName, ProcessWindowList& windows) {
    windows.clear();
    ProcessList processes;
    FindProcessesByName(exeName, processes, true);
    std::vector<HWND> topLevel;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&topLevel));
    for (HWND window : topLevel) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        if (id == 0)
            continue;
        for (const Process& process : processes) {
            if (process.GetId() == id) {
                windows.push_back(std::make_pair(id, window));
                break;
            }
        }
    }
    return true;
}

}  // namespace System
