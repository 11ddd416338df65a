#pragma once
// The message boxes of crash handling, shown through one replaceable function
// so that no test ever waits on a dialog.
#include <windows.h>

#include <string>

namespace ErrorReport {

typedef int (*MessageBoxFunction)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// Returns the previous function; null restores MessageBoxW.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);
// text with the caption, MB_ICONERROR.
int ShowCrashMessage(HWND owner, const std::wstring& text, const std::wstring& caption);

std::wstring FolderFailureText(const std::wstring& folder);
// The format (the default text when empty) with the product name twice and
// the dump path, cut to 1,023 characters.
std::wstring SupportToolFailureText(const std::wstring& format, const std::wstring& productName,
                                    const std::wstring& dumpPath);

}  // namespace ErrorReport
