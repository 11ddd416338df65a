#pragma once
// The one door through which the program asks the shell to open or start
// something. Tests replace it so that no browser, explorer or player starts.
#include <windows.h>

#include <shellapi.h>

namespace System {

typedef BOOL (*ShellExecuteFunction)(SHELLEXECUTEINFOW* pInfo);

// Runs the current launcher: ::ShellExecuteExW unless replaced. It fills
// hInstApp and, when asked, hProcess as ShellExecuteExW does.
BOOL ShellExecuteCall(SHELLEXECUTEINFOW* pInfo);

// Replaces the launcher (null restores ShellExecuteExW); returns the previous one.
ShellExecuteFunction SetShellExecute(ShellExecuteFunction function);

}  // namespace System
