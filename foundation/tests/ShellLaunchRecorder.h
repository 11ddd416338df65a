#pragma once
// Stands in for the shell door and the folder-window opener for one test:
// every launch is recorded and answered as configured, none reaches the shell.
#include "foundation/system/ShellExecute.h"
#include "foundation/system/ShellHelpers.h"

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

namespace FoundationTests {

struct ShellLaunch {
    std::wstring verb;  // "" for the default verb
    std::wstring file;
    std::wstring parameters;
    int show;
};

struct FolderSelection {
    std::wstring folder;
    std::wstring item;
};

class ShellLaunchRecorder {
public:
    ShellLaunchRecorder()
        : m_previousDoor(System::SetShellExecute(&_Execute)),
          m_previousOpener(System::SetOpenFolderAndSelectItems(&_OpenFolder)) {
        launches.clear();
        selections.clear();
        instanceCodes.clear();
        openerResult = S_OK;
    }
    ~ShellLaunchRecorder() {
        System::SetShellExecute(m_previousDoor);
        System::SetOpenFolderAndSelectItems(m_previousOpener);
    }
    ShellLaunchRecorder(const ShellLaunchRecorder&) = delete;
    ShellLaunchRecorder& operator=(const ShellLaunchRecorder&) = delete;

    // The instance code of each launch in turn; 42 (success) once they run out.
    static std::vector<INT_PTR> instanceCodes;
    static HRESULT openerResult;
    static std::vector<ShellLaunch> launches;
    static std::vector<FolderSelection> selections;

private:
    static BOOL _Execute(SHELLEXECUTEINFOW* pInfo) {
        launches.push_back({pInfo->lpVerb ? pInfo->lpVerb : L"", pInfo->lpFile ? pInfo->lpFile : L"",
                            pInfo->lpParameters ? pInfo->lpParameters : L"", pInfo->nShow});
        INT_PTR code = 42;
        if (!instanceCodes.empty()) {
            code = instanceCodes.front();
            instanceCodes.erase(instanceCodes.begin());
        }
        pInfo->hInstApp = reinterpret_cast<HINSTANCE>(code);
        return code > 32;
    }
    static std::wstring _PathOf(PCIDLIST_ABSOLUTE list) {
        wchar_t path[MAX_PATH] = {};
        return ::SHGetPathFromIDListW(list, path) ? path : L"<no path>";
    }
    static HRESULT _OpenFolder(PCIDLIST_ABSOLUTE folder, UINT count, PCUITEMID_CHILD_ARRAY items, DWORD) {
        for (UINT i = 0; i < count; ++i)
            selections.push_back({_PathOf(folder), _PathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(items[i]))});
        return openerResult;
    }

    System::ShellExecuteFunction m_previousDoor;
    System::OpenFolderAndSelectFunction m_previousOpener;
};

inline std::vector<INT_PTR> ShellLaunchRecorder::instanceCodes;
inline HRESULT ShellLaunchRecorder::openerResult = S_OK;
inline std::vector<ShellLaunch> ShellLaunchRecorder::launches;
inline std::vector<FolderSelection> ShellLaunchRecorder::selections;

}  // namespace FoundationTests
