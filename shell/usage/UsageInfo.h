#pragma once
// UsageInfo: records each start of the program in the profile section
// "Usage": "LaunchCount", "FirstRunTime" (a local SYSTEMTIME, 16 bytes) and
// "FirstVersionInstalled". The constructor does all the work; the accessor
// builds the one object on its first call, so a start is counted once.
//
// Thread: the GUI thread, during the application's initialisation.
class UsageInfo {
public:
    static UsageInfo& GetInstance();

    // Updates the three values; nothing happens without an application object.
    UsageInfo();
    UsageInfo(const UsageInfo&) = delete;
    UsageInfo& operator=(const UsageInfo&) = delete;

    // Whether every write succeeded; nobody needs it but tests.
    bool IsRecorded() const { return m_isRecorded; }

private:
    bool m_isRecorded = false;
};
