#pragma once
#include "foundation/system/ShellExecute.h"
// Handing a file or a web address to the Windows shell: a file shown
// selected in its folder, a media file played, an address opened in Internet
// Explorer. No state; any thread. Every launch goes through the program's
// shell door (ShellExecute.h); the folder window of OpenFolderAndSelectFile
// through the replaceable opener below.
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <shlobj.h>

#include <string>

namespace System {

// The default value of Internet Explorer's LocalServer32 key (HKLM, the
// program's own view) without its enclosing double quotes; "" when absent.
std::wstring GetInternetExplorerPath();
// Internet Explorer started with the address in double quotes. False when
// Internet Explorer is not registered, and, reported, for an address with a
// double quote of its own, which would end the argument early.
bool OpenInInternetExplorer(const wlitestring& address);
// The folder opened with the file selected; when the shell cannot name the
// two, explorer.exe "/select," with the quoted path.
bool OpenFolderAndSelectFile(const wlitestring& path);
// "open" on the file, else "play", else Windows Media Player. False, with
// nothing launched, for an empty path or one that names no existing file.
bool PlayMediaFile(const wlitestring& path);

// SHOpenFolderAndSelectItems unless replaced; tests replace it so that no
// explorer window opens. Returns the previous opener; null restores the shell's.
typedef HRESULT (*OpenFolderAndSelectFunction)(PCIDLIST_ABSOLUTE folder, UINT count,
                                               PCUITEMID_CHILD_ARRAY items, DWORD flags);
OpenFolderAndSelectFunction SetOpenFolderAndSelectItems(OpenFolderAndSelectFunction function);

}  // namespace System
