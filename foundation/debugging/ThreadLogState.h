#pragma once
// The per-thread record of the log, one per thread that logs, reached through
// a TLS slot. Nothing changes a record after it is made, so in effect the
// threshold is the log's level, no text is indented and no line is captured;
// WriteLog still reads every field.
//
// Threads: a record belongs to its thread; the holder's lock guards only its set.
#include "foundation/sync/CriticalSection.h"

#include <windows.h>

#include <set>
#include <sstream>

namespace Debugging {

// Where a thread's lines would go instead of the log.
struct LogCaptureTarget {
    bool isDisabled = false;
    std::wostringstream text;
};

struct ThreadLogState {
    unsigned indentation = 0;
    LogCaptureTarget* pCapture = nullptr;
    int lastLevel = 0;
    bool lastLineWasContinuation = false;
    bool isHeaderPending = false;
    int levelCeiling = 6;
};

// Owns every record made in the process; records live until it is destroyed
// at exit, also those of threads that have ended.
class ThreadLogStates {
public:
    // A failed TlsAlloc leaves the holder without records.
    ThreadLogStates();
    ~ThreadLogStates();
    ThreadLogStates(const ThreadLogStates&) = delete;
    ThreadLogStates& operator=(const ThreadLogStates&) = delete;

    // This thread's record, made on first use; null when no TLS slot could be had.
    ThreadLogState* GetCurrent();

private:
    DWORD m_tlsIndex;
    Synchronization::CriticalSection m_lock;
    std::set<ThreadLogState*> m_states;
};

// The process-wide holder's record for this thread (see GetCurrent).
ThreadLogState* GetThreadLogState();

}  // namespace Debugging
