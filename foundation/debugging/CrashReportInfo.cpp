#include "foundation/debugging/CrashReportInfo.h"

#include "foundation/debugging/ReportFolders.h"
#include "foundation/system/Environment.h"

namespace ErrorReport {

CrashReportInfo::CrashReportInfo(const std::wstring& productName, const std::wstring& shortName, DWORD mode)
    : m_productName(productName), m_shortProductName(shortName), m_mode(mode) {}

void CrashReportInfo::ResolveNames() {
    if (m_productName.empty() && m_shortProductName.empty()) {
        m_productName = System::GetEnvironmentString(L"ProductName");
        m_shortProductName = System::GetEnvironmentString(L"ProductNameShort");
    }
    if (m_productName.empty())
        m_productName = !m_shortProductName.empty() ? m_shortProductName : GetReportName(L"");
    if (m_shortProductName.empty())
        m_shortProductName = m_productName;
}

DWORD CrashReportInfo::ResolveMode() {
    if (m_mode == CrashModeNotSet)
        m_mode = System::GetEnvironmentString(L"VerboseCrashHandling") == L"1" ? CrashModeVerbose : CrashModeQuiet;
    return m_mode;
}

const std::wstring& CrashReportInfo::GetProductName() {
    ResolveNames();
    return m_productName;
}

const std::wstring& CrashReportInfo::GetShortProductName() {
    ResolveNames();
    return m_shortProductName;
}

const std::wstring& CrashReportInfo::GetMessageFormat() {
    ResolveNames();
    return m_messageFormat;
}

namespace {
CrashReportInfo s_processCrashReportInfo;
}  // namespace

CrashReportInfo& GetProcessCrashReportInfo() {
    return s_processCrashReportInfo;
}

}  // namespace ErrorReport
