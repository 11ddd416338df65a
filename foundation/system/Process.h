#pragma once
// A running process known by its id and, once opened, by a handle; the
// process list and the windows of processes found by executable name.
//
// Threads: a Process may be copied to and used from several threads. The id
// is read and written with interlocked operations; copies share the handle
// owner and the information record through thread-safe reference counts.
#include "foundation/strings/LiteString.h"
#include "foundation/system/AutoHandle.h"

#include <windows.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <utility>
#include <vector>

namespace System {

struct ProcessInfo;

class Process {
public:
    // The handle (may be null) is owned from now on; a given record is copied.
    Process(DWORD id, HANDLE handle, const ProcessInfo* pInfo);
    // A process the program started: its id is asked from the handle on first use.
    explicit Process(HANDLE handle);
    Process(const Process& other);
    Process& operator=(const Process& other);

    // Constructs an empty Process (id 0, no handle, no record) at `place`.
    static Process* _InitEmpty(void* place) noexcept;

    DWORD GetId() const;
    HANDLE GetHandle() const noexcept { return m_pHandle->Get(); }
    bool HasHandle() const noexcept { return m_pHandle->IsValid(); }
    const boost::shared_ptr<ProcessInfo>& GetInfo() const noexcept { return m_pInfo; }

    // OpenProcess by the id; true when a valid handle is held afterwards.
    bool Open(DWORD access);
    // Opens the process with all access first when no handle is held.
    bool Terminate(UINT exitCode);
    // True only when the process ended within the time-out.
    bool Wait(DWORD timeoutMs) const;
    // The executable name of the process snapshot; empty without a record.
    std::wstring GetExeName() const;

private:
    mutable volatile LONG m_id;
    boost::shared_ptr<STLHelpers::AutoHandle> m_pHandle;
    boost::shared_ptr<ProcessInfo> m_pInfo;
};

// What a process snapshot tells about one process.
struct ProcessInfo {
    DWORD threadCount = 0;
    LONG basePriority = 0;
    Process parent{0, nullptr, nullptr};  // id only
    std::wstring executable;
};

typedef std::vector<Process> ProcessList;
typedef std::vector<std::pair<DWORD, HWND>> ProcessWindowList;

// One entry per running process (id and record, no handle).
bool EnumerateProcesses(ProcessList& processes, bool clear);
// The processes whose executable file name equals `exeName`, ignoring case.
// Only file names compare: a name with a folder part never matches.
bool FindProcessesByName(const wlitestring& exeName, ProcessList& processes, bool clear);
// Every top-level window, in enumeration order, of the processes running `exeName`.
bool FindProcessWindows(const wlitestring& exeName, ProcessWindowList& windows);

}  // namespace System
