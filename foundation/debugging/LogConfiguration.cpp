#include "foundation/debugging/LogConfiguration.h"

#include "foundation/debugging/LogLevel.h"
#include "foundation/registry/Key.h"
#include "foundation/strings/NumberStrings.h"
#include "foundation/system/Environment.h"

namespace Debugging {

const wchar_t kLogPathVariable[] = L"Debugging_Log_Path";
const wchar_t kLogLevelVariable[] = L"Debugging_Log_Level";
const wchar_t kLogFlagsVariable[] = L"Debugging_Log_Flags";
const wchar_t kMirrorPathVariable[] = L"Debugging_Mirror_Path";
const wchar_t kDelayedDataVariable[] = L"Debugging_Log_DelayedData";
const wchar_t kLogLevelKey[] = L"Software\\Ruveziz\\Debugging\\LogImpl";

namespace {

// The level text as a number; false when it is not one decimal int.
bool ParseLevel(const wlitestring& text, int& level) {
    try {
        level = STLHelpers::ToInt(text);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

bool ParseLogConfiguration(const wlitestring& logPath, const wlitestring& levelText, const wlitestring& flagsText,
                           const wlitestring& mirrorPath, DWORD registryLevel, LogConfiguration& out) {
    if (logPath.empty())
        return false;
    int level = 0;
    if (!ParseLevel(levelText, level) || static_cast<unsigned>(level) > kMaxLogLevel)
        return false;
    if (registryLevel <= kMaxLogLevel)
        level = static_cast<int>(registryLevel);
    std::uint32_t flags = 0;
    if (!STLHelpers::ParseUInt(flagsText, flags))
        return false;

    out.logPath = logPath.str();
    out.mirrorPath = mirrorPath.str();
    out.level = level;
    out.flags = flags;
    return true;
}

bool ReadLogConfiguration(LogConfiguration& out) {
    const std::wstring logPath = System::GetEnvironmentString(kLogPathVariable);
    if (logPath.empty())
        return false;
    Registry::Key key(Registry::ToRootKey(HKEY_CURRENT_USER), kLogLevelKey);
    return ParseLogConfiguration(logPath, System::GetEnvironmentString(kLogLevelVariable),
                                 System::GetEnvironmentString(kLogFlagsVariable),
                                 System::GetEnvironmentString(kMirrorPathVariable),
                                 key.GetDWORD(L"Level", 0xFFFFFFFF, true), out);
}

}  // namespace Debugging
