#include "foundation/debugging/WriteLog.h"

#include "foundation/debugging/LogConfiguration.h"
#include "foundation/debugging/LogImpl.h"
#include "foundation/debugging/LogLine.h"
#include "foundation/debugging/ThreadLogState.h"
#include "foundation/sync/BuiltOnce.h"
#include "foundation/system/Environment.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <vector>

namespace Debugging {
namespace {

alignas(LogImpl) unsigned char s_logStorage[sizeof(LogImpl)];
Synchronization::BuiltOnce s_logOnce;

void DestroyLog() {
    reinterpret_cast<LogImpl*>(s_logStorage)->~LogImpl();
}

// The pieces between line feeds, each without carriage returns and line
// feeds at its ends; empty pieces stay.
std::vector<std::wstring> SplitLines(const wlitestring& message) {
    std::vector<std::wstring> pieces;
    const wchar_t* const end = message.end();
    const wchar_t* start = message.begin();
    for (;;) {
        const wchar_t* feed = std::find(start, end, L'\n');
        std::wstring piece(start, feed);
        const std::wstring::size_type first = piece.find_first_not_of(L"\r\n");
        const std::wstring::size_type last = piece.find_last_not_of(L"\r\n");
        pieces.push_back(first == std::wstring::npos ? std::wstring() : piece.substr(first, last - first + 1));
        if (feed == end)
            break;
        start = feed + 1;
    }
    return pieces;
}

bool WriteOneLine(ILog* pLog, ThreadLogState& state, bool shown, const wlitestring& message,
                  const wlitestring& source, int level, std::uint32_t flags) {
    bool header = false;
    if (!(flags & kWriteContinuation)) {
        const bool wasPending = state.isHeaderPending;
        state.isHeaderPending = false;
        header = !state.pCapture || state.lastLineWasContinuation || level != state.lastLevel || wasPending;
    }
    std::wstring text(state.indentation, L' ');
    text.append(message.begin(), message.end());
    const std::wstring line = FormatLine(text, source, level, header);

    if (!shown)
        return pLog->Write(line, 0, false);
    if (!(flags & kWriteDefer) && state.pCapture && !state.pCapture->isDisabled) {
        state.pCapture->text << line;
        return true;
    }
    return pLog->Write(line, 6, (flags & kWriteDefer) != 0);
}

}  // namespace

LogImpl& GetLogImpl() {
    s_logOnce.Run([] {
        new (s_logStorage) LogImpl();
        std::atexit(&DestroyLog);
        return true;
    });
    return *reinterpret_cast<LogImpl*>(s_logStorage);
}

ILog* GetLog() {
    return &GetLogImpl();
}

bool WriteLog(ILog* pLog, const wlitestring& message, const wlitestring& source, int level,
              std::uint32_t flags) noexcept {
    try {
        // Without a record of its own (no TLS slot) a thread logs with the
        // initial values every record starts with.
        ThreadLogState fallback;
        ThreadLogState* pState = GetThreadLogState();
        ThreadLogState& state = pState ? *pState : fallback;

        const int threshold = std::min(pLog->GetLevel(), state.levelCeiling);
        const bool shown = level >= threshold;
        if (!shown && !pLog->IsMirroringAllLevels())
            return true;

        if (message.find(L"\n") == wlitestring::npos)
            return WriteOneLine(pLog, state, shown, message, source, level, flags);

        bool isOk = true;
        std::uint32_t pieceFlags = flags;
        for (const std::wstring& piece : SplitLines(message)) {
            isOk = WriteOneLine(pLog, state, shown, piece, source, level, pieceFlags) && isOk;
            pieceFlags = flags | kWriteContinuation;
        }
        return isOk;
    } catch (...) {
        return false;
    }
}

bool ConfigureLog(const wlitestring& logPath, const wlitestring& mirrorPath, int level, std::uint32_t flags) {
    if (!(flags & kLogFlagReplaced)) {
        if (!System::GetEnvironmentString(kLogPathVariable).empty() ||
            !System::GetEnvironmentString(kLogLevelVariable).empty())
            return false;
    }
    if (!System::SetEnvironmentInt(kLogLevelVariable, level, 0) ||
        !System::SetEnvironmentUInt(kLogFlagsVariable, flags, 0) ||
        !System::SetEnvironmentText(kMirrorPathVariable, mirrorPath, 0) ||
        !System::SetEnvironmentText(kLogPathVariable, logPath, 0))
        return false;
    GetLogImpl().MirrorDelayedData();
    return true;
}

}  // namespace Debugging
