#pragma once
// The shell-folder and message-box seams of the log files and crash handling,
// set in the test process or, from variables the parent passes, in a child:
//   "DebuggingTests_Desktop"   the desktop folder ("" or absent: none)
//   "DebuggingTests_Messages"  file to which each message box is appended
#include "foundation/debugging/CrashMessages.h"
#include "foundation/debugging/ReportFolders.h"
#include "foundation/strings/StringConversions.h"
#include "foundation/tests/DebuggingFixtures.h"

#include <shlobj.h>
#include <windows.h>

#include <string>

namespace DebuggingTests {

struct FakeShellFolders {
    static std::wstring& Desktop() {
        static std::wstring folder;
        return folder;
    }
    static std::wstring& CommonDesktop() {
        static std::wstring folder;
        return folder;
    }
    static std::wstring Lookup(int csidl) {
        if (csidl == CSIDL_DESKTOPDIRECTORY)
            return Desktop();
        if (csidl == CSIDL_COMMON_DESKTOPDIRECTORY)
            return CommonDesktop();
        return std::wstring();
    }
};

class ScopedShellFolders {
public:
    ScopedShellFolders(const std::wstring& desktop, const std::wstring& commonDesktop)
        : m_previous(ErrorReport::SetShellFolderLookup(&FakeShellFolders::Lookup)) {
        FakeShellFolders::Desktop() = desktop;
        FakeShellFolders::CommonDesktop() = commonDesktop;
    }
    ~ScopedShellFolders() { ErrorReport::SetShellFolderLookup(m_previous); }
    ScopedShellFolders(const ScopedShellFolders&) = delete;
    ScopedShellFolders& operator=(const ScopedShellFolders&) = delete;

private:
    ErrorReport::ShellFolderLookup m_previous;
};

inline int RecordMessageBox(HWND, const wchar_t* text, const wchar_t* caption, UINT type) {
    const std::wstring path = ReadVariable(L"DebuggingTests_Messages").value_or(L"");
    const std::string record = STLHelpers::WideToUtf8(std::wstring(caption) + L"|" + std::to_wstring(type) + L"|" +
                                                      text + L"\n");
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    return IDOK;
}

// In a child: the desktop and the message boxes as the parent asked.
inline void UseSeamsFromEnvironment() {
    FakeShellFolders::Desktop() = ReadVariable(L"DebuggingTests_Desktop").value_or(L"");
    ErrorReport::SetShellFolderLookup(&FakeShellFolders::Lookup);
    ErrorReport::SetMessageBoxFunction(&RecordMessageBox);
}

}  // namespace DebuggingTests
