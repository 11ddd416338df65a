#include "shell/usage/UsageInfo.h"

#include "downloads/tests/ProfileApplication.h"
#include "foundation/tests/RecordingSink.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using DownloadsTests::ProfileApplication;

const wchar_t kSection[] = L"Usage";

SYSTEMTIME ReadFirstRunTime(const ProfileApplication& app) {
    SYSTEMTIME time{};
    const auto raw = app.ReadRaw(kSection, L"FirstRunTime");
    EXPECT_TRUE(raw);
    if (raw) {
        EXPECT_EQ(raw->type, static_cast<DWORD>(REG_BINARY));
        EXPECT_EQ(raw->bytes.size(), sizeof(time));
        if (raw->bytes.size() == sizeof(time))
            std::memcpy(&time, raw->bytes.data(), sizeof(time));
    }
    return time;
}

// The local date of now, as the value holds it.
bool IsToday(const SYSTEMTIME& time) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return time.wYear == now.wYear && time.wMonth == now.wMonth && time.wDay == now.wDay &&
           time.wDayOfWeek == now.wDayOfWeek;
}

TEST(UsageInfo, FirstStartWritesAllThreeLaterStartsOnlyCount) {
    ProfileApplication app;
    EXPECT_TRUE(UsageInfo().IsRecorded());
    EXPECT_EQ(app.GetProfileInt(kSection, L"LaunchCount", 0), 1u);
    const SYSTEMTIME first = ReadFirstRunTime(app);
    EXPECT_TRUE(IsToday(first));
    EXPECT_EQ(first.wMilliseconds, 0);
    EXPECT_EQ(std::wstring(app.GetProfileString(kSection, L"FirstVersionInstalled", L"").GetString()), L"3.1.4.1");

    ::Sleep(1100);  // a second start would show another second
    UsageInfo();
    EXPECT_EQ(app.GetProfileInt(kSection, L"LaunchCount", 0), 2u);
    const SYSTEMTIME second = ReadFirstRunTime(app);
    EXPECT_EQ(std::memcmp(&first, &second, sizeof(first)), 0);
}

TEST(UsageInfo, DamagedFirstRunTimeIsReplaced) {
    struct Case {
        const char* name;
        std::vector<BYTE> stored;
    } cases[] = {
        {"8 bytes", std::vector<BYTE>{1, 2, 3, 4, 5, 6, 7, 8}},
        {"16 zero bytes", std::vector<BYTE>(16, 0)},
        {"20 bytes", std::vector<BYTE>(20, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileApplication app;
        app.WriteProfileBinary(kSection, L"FirstRunTime", const_cast<BYTE*>(c.stored.data()),
                               static_cast<UINT>(c.stored.size()));
        UsageInfo();
        EXPECT_TRUE(IsToday(ReadFirstRunTime(app)));
    }
}

TEST(UsageInfo, KeepsAnEarlierFirstRunAndVersion) {
    ProfileApplication app;
    SYSTEMTIME earlier{2009, 3, 2, 17, 8, 30, 0, 0};
    app.WriteProfileBinary(kSection, L"FirstRunTime", reinterpret_cast<BYTE*>(&earlier), sizeof(earlier));
    app.WriteProfileString(kSection, L"FirstVersionInstalled", L"1.0.7");
    app.WriteProfileInt(kSection, L"LaunchCount", 41);
    UsageInfo();
    EXPECT_EQ(app.GetProfileInt(kSection, L"LaunchCount", 0), 42u);
    const SYSTEMTIME kept = ReadFirstRunTime(app);
    EXPECT_EQ(std::memcmp(&kept, &earlier, sizeof(kept)), 0);
    EXPECT_EQ(std::wstring(app.GetProfileString(kSection, L"FirstVersionInstalled", L"").GetString()), L"1.0.7");
}

TEST(UsageInfo, AccessorCountsTheStartOnce) {
    ProfileApplication app;
    UsageInfo& first = UsageInfo::GetInstance();
    EXPECT_EQ(&UsageInfo::GetInstance(), &first);
    EXPECT_EQ(app.GetProfileInt(kSection, L"LaunchCount", 0), 1u);
}

TEST(UsageInfo, WithoutApplicationNothingIsRecorded) {
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    EXPECT_FALSE(UsageInfo().IsRecorded());
    ASSERT_EQ(sink.reports.size(), 1u);
    EXPECT_NE(sink.reports[0].text.find(L"((pApp))"), std::wstring::npos);
}

}  // namespace
