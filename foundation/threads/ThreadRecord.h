#pragma once
// Id and handle of one worker thread, and the Win32 steps on them.
// Owned by the thread that starts and stops the worker (mostly the GUI thread);
// other threads only read whether the worker runs.
#include "foundation/threads/OwnedHandle.h"

#include <windows.h>

namespace ThreadLib {

// The access the worker asks for when it has to open its thread by id.
constexpr DWORD kThreadAllAccess = 0x1F03FF;
// What _Resume gives when no thread could be resumed (ResumeThread's failure value).
constexpr DWORD kResumeFailed = 0xFFFFFFFF;

class ThreadRecord {
public:
    using Procedure = unsigned(__stdcall*)(void*);

    DWORD GetId() const { return m_id; }
    HANDLE GetHandle() const { return m_handle.Get(); }
    bool HasHandle() const { return m_handle.IsValid(); }

    // A handle is held and the thread has not ended yet (a zero wait times out).
    bool IsRunning() const;

    // Creates the thread suspended with _beginthreadex. The old handle is closed
    // and the new id and handle stored even when the creation failed; the result
    // says whether the new handle is valid.
    bool Create(Procedure procedure, void* parameter, unsigned stackSize);

    // ResumeThread on the held handle, or on the thread opened by its id when no
    // valid handle is held. The previous suspend count, or kResumeFailed.
    DWORD Resume();

    // True only when the thread has ended within the time-out. Opens the thread
    // by its id first when no valid handle is held.
    bool WaitForExit(DWORD timeout);

    // Closes the handle and forgets the id.
    void Clear();

private:
    bool _OpenById();

    DWORD m_id = 0;
    OwnedHandle m_handle;
};

}  // namespace ThreadLib
