#pragma once
// The process's log and the calls every log line goes through. Code logs with
// DEBUG_LOG (Log.h), which calls WriteLog with flags 0.
#include "foundation/debugging/ILog.h"
#include "foundation/strings/LiteString.h"

#include <cstdint>

namespace Debugging {

class LogImpl;

const std::uint32_t kWriteContinuation = 1;  // no header: the text continues the previous line
const std::uint32_t kWriteDefer = 2;         // the line goes to the delayed data

// The process's log, built on first call, destroyed at exit; never null.
ILog* GetLog();
LogImpl& GetLogImpl();

// Formats and writes one message: each line feed starts a continuation line.
// A message below the threshold is dropped, or only mirrored, before any text
// is formatted. Never throws; false when a line could not be written or kept.
bool WriteLog(ILog* pLog, const wlitestring& message, const wlitestring& source, int level,
              std::uint32_t flags) noexcept;

// Publishes a configuration in the environment, where this process's log and
// every program it starts find it. Unless flags bit 0 is set an existing
// configuration stays and the result is false. Delayed data waiting so far is
// written to the mirror file.
bool ConfigureLog(const wlitestring& logPath, const wlitestring& mirrorPath, int level, std::uint32_t flags);

}  // namespace Debugging
