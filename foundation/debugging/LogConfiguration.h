#pragma once
// The log's configuration as the environment publishes it, so that programs
// started by this one inherit it; the registry may override the level.
//
//   "Debugging_Log_Path"     log file; the log is configured only when set
//   "Debugging_Log_Level"    decimal 0..6; empty counts as 0
//   "Debugging_Log_Flags"    decimal; bit 1 (2) drops lines below the level
//   "Debugging_Mirror_Path"  mirror file; empty: no mirror
//   HKCU "Software\Ruveziz\Debugging\LogImpl" "Level" (DWORD 0..6) replaces the level
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace Debugging {

extern const wchar_t kLogPathVariable[];
extern const wchar_t kLogLevelVariable[];
extern const wchar_t kLogFlagsVariable[];
extern const wchar_t kMirrorPathVariable[];
extern const wchar_t kDelayedDataVariable[];
extern const wchar_t kLogLevelKey[];  // below HKEY_CURRENT_USER

const std::uint32_t kLogFlagReplaced = 1;        // ConfigureLog replaced an existing configuration
const std::uint32_t kLogFlagDropBelowLevel = 2;  // lines below the level do not go to the mirror

struct LogConfiguration {
    std::wstring logPath;
    std::wstring mirrorPath;
    int level = 5;
    std::uint32_t flags = 0;
};

// The texts of the four variables and the registry value (0xFFFFFFFF when
// missing). False, with `out` untouched, for an empty path, a level that is
// not a decimal number of 0..6, or flags that are not an unsigned decimal
// number: such a configuration is invalid and the log stays unconfigured.
bool ParseLogConfiguration(const wlitestring& logPath, const wlitestring& levelText, const wlitestring& flagsText,
                           const wlitestring& mirrorPath, DWORD registryLevel, LogConfiguration& out);

// Reads the variables and the registry value and parses them.
bool ReadLogConfiguration(LogConfiguration& out);

}  // namespace Debugging
