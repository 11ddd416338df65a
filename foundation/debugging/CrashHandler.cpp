#include "foundation/debugging/CrashHandler.h"

#include "foundation/debugging/CrashMessages.h"
#include "foundation/debugging/LogFiles.h"
#include "foundation/debugging/MiniDump.h"
#include "foundation/debugging/ReportFolders.h"
#include "foundation/debugging/StampedNames.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/registry/Key.h"
#include "foundation/system/Environment.h"
#include "foundation/system/StructuredExceptionGuard.h"

namespace ErrorReport {

const wchar_t kCrashHandlingKey[] = L"Software\\Ruveziz\\Debugging\\CrashHandling";
const wchar_t kSupportToolName[] = L"VezozazIzeviz.exe";

namespace {

// A second thread that fails while the first reports waits for the first to
// end the process, so that two reports never write one dump file.
volatile LONG s_isReporting = 0;
const DWORD kSecondCrashWaitMs = 60000;

void PublishParams(const CrashHandlingParams& params) {
    const int mode = params.replace ? 1 : 0;
    System::SetEnvironmentText(L"VerboseCrashHandling", params.isVerbose ? L"1" : L"0", mode);
    System::SetEnvironmentText(L"ProductName", params.productName, mode);
    System::SetEnvironmentText(L"ProductNameShort", params.shortName, mode);
}

// The steps of a report run guarded against C++ exceptions and against
// faults (structured exceptions): the crash handler itself must not crash.
// A step cut short by a fault leaks what it built; the process ends anyway.
template <class Step>
bool RunGuarded(Step&& step) {
    try {
        DWORD code = 0;
        return System::RunStructuredGuarded(step, code);
    } catch (...) {
        return false;
    }
}

bool StartSupportTool() {
    bool isStarted = false;
    RunGuarded([&isStarted] {
        const FileSystem::File tool = FileSystem::GetApplicationFolder().GetFile(kSupportToolName);
        isStarted = tool.ShellExecuteProcess(L"/crash", SW_SHOWNORMAL).HasHandle();
    });
    return isStarted;
}

}  // namespace

void SetUpErrorReporting(const wlitestring& productName, const wlitestring& shortName, unsigned options,
                         CrashReportInfo* pRecord) {
    bool isVerbose = (options & kCrashVerbose) != 0;
    if (!isVerbose) {
        Registry::Key key(Registry::ToRootKey(HKEY_CURRENT_USER), kCrashHandlingKey);
        isVerbose = key.GetDWORD(L"IsVerbose", 0, true) != 0;
    }
    CrashHandlingParams params;
    params.isVerbose = isVerbose;
    params.replace = (options & kCrashReplace) != 0;
    params.productName = productName.str();
    params.shortName = shortName.str();
    PublishParams(params);

    // The environment keeps the registry's verdict; the process itself may
    // still be verbose by default.
    if (!isVerbose)
        isVerbose = (options & kCrashVerboseByDefault) != 0;

    if (!params.productName.empty())
        ConfigureLogFiles(params.productName, params.shortName, params.replace);

    if (pRecord)
        *pRecord = CrashReportInfo(params.productName, params.shortName, isVerbose ? CrashModeVerbose : CrashModeQuiet);
}

bool InstallCrashHandler(const wlitestring& shortName, const wlitestring& productName) {
    SetUpErrorReporting(productName, shortName, kCrashVerboseByDefault | kCrashReplace, &GetProcessCrashReportInfo());
    ::SetUnhandledExceptionFilter(&ErrorReport::UnhandledExceptionFilter);
    return true;
}

bool ExecuteGenericCrashHandlingVezozazIzeviz(EXCEPTION_POINTERS* pExceptionPointers, CrashReportInfo& record) {
    record.ResolveNames();
    const DWORD mode = record.ResolveMode();

    // A failure here leaves the report without a dump; it goes on.
    std::wstring dumpPath;
    RunGuarded([&] {
        const std::wstring folder =
            FileSystem::Folder(GetErrorReportFolder(record.GetProductName())).GetSubFolder(L"CrashDumps").GetPath();
        if (!FileSystem::Folder(folder).Create() && mode == CrashModeVerbose)
            ShowCrashMessage(record.GetOwnerWindow(), FolderFailureText(folder), record.GetShortProductName());
        dumpPath = MakeStampedFilePath(folder, L"CrashReport.dmp");
        WriteMiniDump(dumpPath, pExceptionPointers, MiniDumpNormal);
    });

    if (mode != CrashModeVerbose)
        return true;
    if (StartSupportTool())
        return true;
    ShowCrashMessage(record.GetOwnerWindow(),
                     SupportToolFailureText(record.GetMessageFormat(), record.GetProductName(), dumpPath),
                     record.GetShortProductName());
    return false;
}

LONG WINAPI UnhandledExceptionFilter(EXCEPTION_POINTERS* pExceptionPointers) {
    // An attempt to execute data memory (access violation, first parameter 8)
    // is a crash like any other: making the memory executable would run
    // whatever the data holds.
    if (::InterlockedExchange(&s_isReporting, 1) != 0) {
        ::Sleep(kSecondCrashWaitMs);
        ::TerminateProcess(::GetCurrentProcess(), kCrashExitCode);
        return EXCEPTION_EXECUTE_HANDLER;
    }
    CrashReportInfo record = GetProcessCrashReportInfo();
    ExecuteGenericCrashHandlingVezozazIzeviz(pExceptionPointers, record);
    ::TerminateProcess(::GetCurrentProcess(), kCrashExitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace ErrorReport
