#pragma once
// Where a product's reports lie: the error-report folder on the desktop (the
// log file proper and the crash dumps) and the log folder under the temporary
// folder (the mirror files).
//
//   GetErrorReportFolder(L"Brunlow")  "<desktop>\Brunlow Error Report"
//   GetLogFolder(L"Brunlow")          "<temp>\Ruveziz\Debugging\Log\Brunlow"
#include "foundation/strings/LiteString.h"

#include <string>

namespace ErrorReport {

// The shell's folder of a CSIDL value; "" when it has none. Tests put their
// own in place, so that nothing is written to the real desktop.
typedef std::wstring (*ShellFolderLookup)(int csidl);
// Returns the previous lookup; null restores the shell's.
ShellFolderLookup SetShellFolderLookup(ShellFolderLookup lookup);
std::wstring GetShellFolder(int csidl);

// The name itself, or for an empty name the name of the folder that holds
// the executable (without extension).
std::wstring GetReportName(const wlitestring& name);

// The desktop folder, or the common desktop when the user's does not exist,
// joined with the name and " Error Report"; "" when neither desktop exists.
std::wstring GetErrorReportFolder(const wlitestring& name);
std::wstring GetLogFolder(const wlitestring& name);

}  // namespace ErrorReport
