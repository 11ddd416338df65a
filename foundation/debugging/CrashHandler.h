#pragma once
// Crash handling: at start-up the application installs the process's
// unhandled-exception filter with its product names. After a crash the
// filter writes a minidump to "<desktop>\<product> Error Report\CrashDumps",
// starts the support tool "VezozazIzeviz.exe" from the program's folder with
// "/crash" (verbose mode), shows a message only when that start fails, and
// ends the process with exit code 255.
//
//   ErrorReport::InstallCrashHandler(L"Brunlow", L"Brunlow Video Keeper");
#include "foundation/debugging/CrashReportInfo.h"
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <string>

namespace ErrorReport {

// Options of SetUpErrorReporting.
const unsigned kCrashVerboseByDefault = 1;  // verbose unless the registry says so already
const unsigned kCrashVerbose = 2;           // verbose without asking the registry
const unsigned kCrashReplace = 4;           // replace existing environment values and log configuration

const UINT kCrashExitCode = 255;

extern const wchar_t kCrashHandlingKey[];  // below HKEY_CURRENT_USER; DWORD "IsVerbose"
extern const wchar_t kSupportToolName[];

struct CrashHandlingParams {
    bool isVerbose = false;
    bool replace = false;
    std::wstring productName;
    std::wstring shortName;
};

// Set-up with options 5, then SetUnhandledExceptionFilter. Always true.
bool InstallCrashHandler(const wlitestring& shortName, const wlitestring& productName);

// Publishes "VerboseCrashHandling" (the registry's verdict, or "1" with
// kCrashVerbose), "ProductName" and "ProductNameShort" for child processes,
// configures the log files when the product name is not empty, and fills the
// record when one is given.
void SetUpErrorReporting(const wlitestring& productName, const wlitestring& shortName, unsigned options,
                         CrashReportInfo* pRecord);

// Reports the crash with a copy of the process's record and ends the process
// with 255. Every exception is a crash, also an attempt to execute data.
LONG WINAPI UnhandledExceptionFilter(EXCEPTION_POINTERS* pExceptionPointers);

// The dump and, in verbose mode, the support tool; true when quiet or when
// the tool started.
bool ExecuteGenericCrashHandlingVezozazIzeviz(EXCEPTION_POINTERS* pExceptionPointers, CrashReportInfo& record);

}  // namespace ErrorReport
