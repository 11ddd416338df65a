#include "downloads/settings/Settings.h"

#include "appframework/application/ApplicationBaseLite.h"
#include "foundation/errors/ReportingObject.h"

namespace {

const wchar_t kTrue[] = L"true";
const wchar_t kFalse[] = L"false";

// The profile belongs to the application object. Reading settings before or
// after it exists is normal (tools, shutdown order), so its absence is noted
// to a reporter without a sink: nothing is shown, logged or thrown.
CWinApp* GetProfileOwner() {
    ApplicationFramework::ApplicationBaseLite* pApp = ApplicationFramework::ApplicationBaseLite::GetApplication();
    if (!pApp) {
        Reporting::ReportingObject quiet;
        const ErrorHandling::ErrorCode code(E_FAIL);
        quiet.ReportWarning("((pApp))", &code);
    }
    return pApp;
}

}  // namespace

std::wstring Settings::ProfileSection::GetString(const wlitestring& name, const wlitestring& defaultValue) const {
    CWinApp* pApp = GetProfileOwner();
    if (!pApp)
        return defaultValue.str();
    const wlitestring::c_string_holder entry(name);
    const wlitestring::c_string_holder fallback(defaultValue);
    return pApp->GetProfileString(m_name.c_str(), entry.c_str(), fallback.c_str()).GetString();
}

void Settings::ProfileSection::WriteString(const wlitestring& name, const wlitestring& value) const {
    CWinApp* pApp = GetProfileOwner();
    if (!pApp)
        return;
    const wlitestring::c_string_holder entry(name);
    const wlitestring::c_string_holder text(value);
    pApp->WriteProfileString(m_name.c_str(), entry.c_str(), text.c_str());
}

int Settings::ProfileSection::GetInt(const wlitestring& name, int defaultValue) const {
    CWinApp* pApp = GetProfileOwner();
    if (!pApp)
        return defaultValue;
    const wlitestring::c_string_holder entry(name);
    return static_cast<int>(pApp->GetProfileInt(m_name.c_str(), entry.c_str(), defaultValue));
}

void Settings::ProfileSection::WriteInt(const wlitestring& name, int value) const {
    CWinApp* pApp = GetProfileOwner();
    if (!pApp)
        return;
    const wlitestring::c_string_holder entry(name);
    pApp->WriteProfileInt(m_name.c_str(), entry.c_str(), value);
}

bool Settings::ProfileSection::GetBool(const wlitestring& name, bool defaultValue) const {
    // Case matters: "True" or "1" written by hand count as false.
    return GetString(name, defaultValue ? kTrue : kFalse) == kTrue;
}

void Settings::ProfileSection::WriteBool(const wlitestring& name, bool value) const {
    WriteString(name, value ? kTrue : kFalse);
}
