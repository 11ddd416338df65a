#pragma once
// The one door through which the program asks the shell to open or start
// something. Tests replace it so that no browser, explorer or player starts.
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <shellapi.h>

namespace System {

typedef BOOL (*ShellExecuteFunction)(SHELLEXECUTEINFOW* pInfo);

// Runs the current launcher: ::ShellExecuteExW unless replaced. It fills
// hInstApp and, when asked, hProcess as ShellExecuteExW does.
BOOL ShellExecuteCall(SHELLEXECUTEINFOW* pInfo);

// Replaces the launcher (null restores ShellExecuteExW); returns the previous one.
ShellExecuteFunction SetShellExecute(ShellExecuteFunction function);

// ShellExecuteW through the shell door: the instance code it would return
// (above 32 on success). A null verb is the default verb; empty parameters
// pass none.
INT_PTR ShellExecuteInstance(const wchar_t* verb, const wlitestring& file, const wlitestring& parameters,
                             int showCommand);

}  // namespace System
