#include "foundation/debugging/LogImpl.h"

#include "foundation/debugging/DelayedData.h"

namespace Debugging {

using Scope = Synchronization::CriticalSection::Scope;

LogImpl::LogImpl() = default;

LogImpl::~LogImpl() {
    m_mirrorFile.Close();
    m_logFile.Close();
}

bool LogImpl::Configure() {
    if (m_isConfigured.load())
        return true;
    Scope scope(m_lock);
    if (m_isConfigured.load())
        return true;
    LogConfiguration configuration;
    try {
        if (!ReadLogConfiguration(configuration))
            return false;
    } catch (...) {
        // A failed environment read counts as no configuration; the next call tries again.
        return false;
    }
    m_configuration = configuration;
    m_level.store(configuration.level);
    m_flags.store(configuration.flags);
    m_isConfigured.store(true);
    return true;
}

int LogImpl::GetLevel() {
    Configure();
    return m_level.load();
}

bool LogImpl::IsMirroringAllLevels() {
    Configure();
    return (m_flags.load() & kLogFlagDropBelowLevel) == 0;
}

bool LogImpl::Reserved(const void*) {
    return false;
}

bool LogImpl::OpenLogFile() {
    if (!m_logFile.IsOpen()) {
        Scope scope(m_lock);
        if (!Configure())
            return false;
        m_logFile.Open(m_configuration.logPath);
    }
    return m_logFile.IsOpen();
}

bool LogImpl::WriteMirror(const wlitestring& line) {
    if (!m_mirrorFile.IsOpen()) {
        Scope scope(m_lock);
        if (!Configure())
            return false;
        if (m_configuration.mirrorPath.empty())
            return true;
        m_mirrorFile.Open(m_configuration.mirrorPath);
    }
    return m_mirrorFile.Write(line);
}

bool LogImpl::FlushDelayedData() {
    Scope scope(m_lock);
    const std::wstring delayed = ReadDelayedData();
    if (delayed.empty())
        return true;
    if (!m_logFile.Write(delayed))
        return false;
    ClearDelayedData();
    return true;
}

bool LogImpl::Write(const wlitestring& line, int level, bool defer) {
    if (level < m_level.load()) {
        if (IsMirroringAllLevels())
            WriteMirror(line);
        return true;
    }
    if (!defer && OpenLogFile()) {
        if (!FlushDelayedData())
            return false;
        WriteMirror(line);
        return m_logFile.Write(line);
    }
    WriteMirror(line);
    Scope scope(m_lock);
    return AppendDelayedData(line);
}

bool LogImpl::MirrorDelayedData() {
    const std::wstring delayed = ReadDelayedData();
    return delayed.empty() || WriteMirror(delayed);
}

}  // namespace Debugging
