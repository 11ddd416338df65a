#include "shell/usage/UsageInfo.h"

#include "appframework/application/ApplicationBaseLite.h"
#include "foundation/errors/Checks.h"

#include <cstring>
#include <memory>

namespace {

const wchar_t kSection[] = L"Usage";

bool CountLaunch(CWinApp& app) {
    const int count = static_cast<int>(app.GetProfileInt(kSection, L"LaunchCount", 0));
    return app.WriteProfileInt(kSection, L"LaunchCount", count + 1) != FALSE;
}

// Written while the stored value is missing, of another size or all zero.
bool RecordFirstRunTime(CWinApp& app) {
    SYSTEMTIME stored{};
    LPBYTE pData = nullptr;
    UINT size = 0;
    if (app.GetProfileBinary(kSection, L"FirstRunTime", &pData, &size)) {
        const std::unique_ptr<BYTE[]> owned(pData);
        if (size == sizeof(stored))
            std::memcpy(&stored, pData, sizeof(stored));
    }
    const SYSTEMTIME zero{};
    if (std::memcmp(&stored, &zero, sizeof(stored)) != 0)
        return true;

    SYSTEMTIME now{};
    FILETIME utc{};
    FILETIME local{};
    ::GetSystemTimeAsFileTime(&utc);
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &now))
        now = SYSTEMTIME{};
    now.wMilliseconds = 0;
    return app.WriteProfileBinary(kSection, L"FirstRunTime", reinterpret_cast<LPBYTE>(&now), sizeof(now)) != FALSE;
}

bool RecordFirstVersion(ApplicationFramework::ApplicationBaseLite& app) {
    if (!CString(app.GetProfileString(kSection, L"FirstVersionInstalled", L"")).IsEmpty())
        return true;
    const std::wstring& version = app.GetProductInfo().GetProductVersion();
    return app.WriteProfileString(kSection, L"FirstVersionInstalled", version.c_str()) != FALSE;
}

}  // namespace

UsageInfo& UsageInfo::GetInstance() {
    static UsageInfo instance;
    return instance;
}

UsageInfo::UsageInfo() {
    ApplicationFramework::ApplicationBaseLite* pApp = ApplicationFramework::ApplicationBaseLite::GetApplication();
    CHECK_WARNING(pApp);
    if (!pApp)
        return;
    // A failed step does not stop the next one.
    bool recorded = CountLaunch(*pApp);
    recorded = RecordFirstRunTime(*pApp) && recorded;
    recorded = RecordFirstVersion(*pApp) && recorded;
    m_isRecorded = recorded;
}
