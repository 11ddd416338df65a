#pragma once
// LogImpl: the process's log. Configured from the environment (see
// LogConfiguration.h) at the first call that needs it, retried by every call
// until a configuration is found, never changed afterwards. Lines go to the
// log file and, when a mirror path is set, to the mirror file; lines that
// cannot reach the log file wait in the delayed data.
//
// Threads: any. The lock guards the configuration, the opening of both files
// and every read-modify-write of the delayed data; lines are written to open
// files without it.
#include "foundation/debugging/ILog.h"
#include "foundation/debugging/LogConfiguration.h"
#include "foundation/debugging/LogFile.h"
#include "foundation/sync/CriticalSection.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace Debugging {

class LogImpl : public Log {
public:
    LogImpl();
    // Closes the mirror file, then the log file.
    ~LogImpl() override;

    int GetLevel() override;
    bool IsMirroringAllLevels() override;
    bool Reserved(const void* pArgument) override;
    bool Write(const wlitestring& line, int level, bool defer) override;

    // The delayed data, when there is any, to the mirror file (the log file
    // gets it with the next line that reaches it).
    bool MirrorDelayedData();

private:
    bool Configure();
    bool OpenLogFile();
    bool WriteMirror(const wlitestring& line);
    // Under the lock: writes the delayed data to the open log file and
    // empties it; false, keeping it, when that write fails.
    bool FlushDelayedData();

    std::atomic<bool> m_isConfigured{false};
    Synchronization::CriticalSection m_lock;
    LogConfiguration m_configuration;
    std::atomic<int> m_level{5};
    std::atomic<std::uint32_t> m_flags{0};
    LogFile m_logFile;
    LogFile m_mirrorFile;
};

}  // namespace Debugging
