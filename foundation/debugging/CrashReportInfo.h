#pragma once
// The process's crash-report record: what the crash filter needs to name the
// product, find the error-report folder and decide how verbose to be. Filled
// by the set-up at start-up; the filter works on a copy.
#include <windows.h>

#include <string>

namespace ErrorReport {

enum CrashMode : DWORD {
    CrashModeNotSet = 0,  // taken from "VerboseCrashHandling" when needed
    CrashModeVerbose = 1, // dump, support tool, messages
    CrashModeQuiet = 2,   // dump only
};

class CrashReportInfo {
public:
    CrashReportInfo() = default;
    CrashReportInfo(const std::wstring& productName, const std::wstring& shortName, DWORD mode);

    // Empty names are taken from the environment ("ProductName" for the name,
    // "ProductNameShort" for the short name); a name still empty becomes the
    // other name, or the name of the executable's folder.
    void ResolveNames();
    // A mode not set becomes verbose exactly when "VerboseCrashHandling" is "1".
    DWORD ResolveMode();

    // Each after resolving the names.
    const std::wstring& GetProductName();
    const std::wstring& GetShortProductName();
    const std::wstring& GetMessageFormat();

    HWND GetOwnerWindow() const { return m_ownerWindow; }

private:
    std::wstring m_productName;
    std::wstring m_shortProductName;
    HWND m_ownerWindow = nullptr;
    DWORD m_mode = CrashModeNotSet;
    std::wstring m_messageFormat;
};

// The process's record, built empty before the program's entry.
CrashReportInfo& GetProcessCrashReportInfo();

}  // namespace ErrorReport
