#pragma once
// The process's log behind its interface. Code logs through DEBUG_LOG (Log.h);
// these operations are what WriteLog builds on.
#include "foundation/core/InterfaceCore.h"
#include "foundation/strings/LiteString.h"

namespace Debugging {

class ILog : public InterfaceCore::IInterfaceCore<ILog>, public InterfaceCore::_Debug::ObjectProperties<ILog> {
public:
    ~ILog() override {}
    // The threshold 0..6, after reading the configuration if it is not read yet.
    virtual int GetLevel() = 0;
    // False when lines below the level are dropped instead of mirrored.
    virtual bool IsMirroringAllLevels() = 0;
    // Always false; nothing calls it.
    virtual bool Reserved(const void* pArgument) = 0;
    // One formatted line with its "\r\n". A level below the log's level goes
    // to the mirror only; `defer` keeps the line in the delayed data.
    virtual bool Write(const wlitestring& line, int level, bool defer) = 0;
};

class Log : public ILog {
public:
    ~Log() override {}
};

}  // namespace Debugging
