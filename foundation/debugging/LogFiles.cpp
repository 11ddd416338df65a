#include "foundation/debugging/LogFiles.h"

#include "foundation/debugging/LogConfiguration.h"
#include "foundation/debugging/LogLevel.h"
#include "foundation/debugging/ReportFolders.h"
#include "foundation/debugging/StampedNames.h"
#include "foundation/debugging/WriteLog.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/FindFiles.h"
#include "foundation/registry/Key.h"

#include <string>
#include <vector>

namespace ErrorReport {
namespace {

const __time64_t kSecondsPerDay = 86400;

bool CollectPath(void* context, const wchar_t* path) {
    static_cast<std::vector<std::wstring>*>(context)->push_back(path);
    return true;
}

}  // namespace

void DeleteOldLogs(const wlitestring& folder, __time64_t now) {
    std::vector<std::wstring> paths;
    FileSystem::FindFiles(folder, L"*.log", FileSystem::FindFilesCallback{&CollectPath, &paths}, false);
    for (const std::wstring& path : paths) {
        if (!FileSystem::IsExistingFile(path))
            continue;
        const __time64_t ageInDays = (now - GetLogFileTime(path, now)) / kSecondsPerDay;
        if (ageInDays >= kOldLogDays)
            FileSystem::File(path).Delete(false);
    }
}

void DeleteOldLogs(const wlitestring& folder) {
    DeleteOldLogs(folder, _time64(nullptr));
}

int ReadProductLogLevel(const wlitestring& productKeyName) {
    Registry::Key key(Registry::ToRootKey(HKEY_CURRENT_USER), L"Software\\" + productKeyName.str() + L"\\Debugging\\Log");
    const DWORD level = key.GetDWORD(L"Level", 0xFFFFFFFF, true);
    return level <= Debugging::kMaxLogLevel ? static_cast<int>(level) : Debugging::LevelCRT;
}

bool ConfigureLogFiles(const wlitestring& productName, const wlitestring& shortName, bool replace) {
    const std::wstring logPath = MakeStampedFilePath(GetErrorReportFolder(productName), L"activity.log");
    const std::wstring logFolder = GetLogFolder(productName);
    const std::wstring mirrorPath = logFolder.empty() ? std::wstring() : MakeStampedFilePath(logFolder, L"activity.log");
    const int level = ReadProductLogLevel(shortName.empty() ? productName : shortName);
    DeleteOldLogs(logFolder);
    return Debugging::ConfigureLog(logPath, mirrorPath, level, replace ? Debugging::kLogFlagReplaced : 0);
}

}  // namespace ErrorReport
