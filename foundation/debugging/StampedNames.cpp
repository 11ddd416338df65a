#include "foundation/debugging/StampedNames.h"

#include "foundation/debugging/TimeStamp.h"
#include "foundation/filesystem/FileNames.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/strings/NumberStrings.h"

#include <windows.h>

#include <cwchar>
#include <sstream>

namespace ErrorReport {

std::wstring MakeStampedFileName(const wlitestring& stem, const wlitestring& extension) {
    std::wostringstream name;
    name << FileSystem::GetModuleFilePath(nullptr).GetTitle() << L'_' << stem.str() << L'_';
    WriteNowTimeStamp(name, kStampFileName);
    name << L"_pid" << STLHelpers::NumberToWString(::GetCurrentProcessId());
    return extension.empty() ? name.str() : FileSystem::AppendExtension(name.str(), extension);
}

std::wstring MakeStampedFilePath(const wlitestring& folder, const wlitestring& fileName) {
    const FileSystem::File file(fileName);
    return FileSystem::Folder(folder).GetFile(MakeStampedFileName(file.GetTitle(), file.GetExtension())).GetPath();
}

__time64_t GetLogFileTime(const wlitestring& path, __time64_t now) {
    const std::wstring name = FileSystem::File(path).GetName();
    const std::wstring::size_type mark = name.find(L"_activity_");
    if (mark == std::wstring::npos)
        return now;
    const std::wstring rest = name.substr(mark + 10);
    if (rest.empty())
        return now;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, pid = 0;
    if (std::swscanf(rest.c_str(), L"%d.%d.%d_%d.%d.%d_pid%d.log", &year, &month, &day, &hour, &minute, &second,
                     &pid) < 7)
        return now;
    __time64_t time = 0;
    return MakeLocalTime(year, month, day, hour, minute, second, time) ? time : now;
}

__time64_t GetLogFileTime(const wlitestring& path) {
    return GetLogFileTime(path, _time64(nullptr));
}

}  // namespace ErrorReport
