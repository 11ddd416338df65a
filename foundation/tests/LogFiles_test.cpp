#include "foundation/debugging/LogConfiguration.h"
#include "foundation/debugging/LogFiles.h"
#include "foundation/debugging/Log.h"
#include "foundation/debugging/ReportFolders.h"
#include "foundation/debugging/StampedNames.h"
#include "foundation/debugging/TimeStamp.h"
#include "foundation/tests/DebuggingFixtures.h"
#include "foundation/tests/ReportFolderSeams.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

namespace {

using namespace ErrorReport;
using namespace DebuggingTests;

const __time64_t kDay = 86400;

std::tm LocalTm(__time64_t time) {
    std::tm local = {};
    if (const std::tm* pLocal = _localtime64(&time))
        local = *pLocal;
    return local;
}

__time64_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    __time64_t time = 0;
    EXPECT_TRUE(MakeLocalTime(year, month, day, hour, minute, second, time));
    return time;
}

std::wstring StampOf(__time64_t time) {
    std::wostringstream stamp;
    WriteTimeStamp(LocalTm(time), stamp, kStampFileName);
    return stamp.str();
}

std::wstring LogNameAt(__time64_t time) {
    return L"foundation_tests_activity_" + StampOf(time) + L"_pid42.log";
}

const std::wstring kPid = std::to_wstring(::GetCurrentProcessId());

TEST(LogFiles, TimeStamps) {
    std::tm time = {};
    time.tm_year = 2013 - 1900;
    time.tm_mon = 4;
    time.tm_mday = 4;
    time.tm_hour = 7;
    time.tm_min = 3;
    time.tm_sec = 9;
    struct Case {
        unsigned flags;
        const wchar_t* text;
    } cases[] = {{3, L"2013.05.04_07.03.09"}, {1, L"2013:05:04 07:03:09"}, {2, L"05.04_07.03.09"}, {0, L"05:04 07:03:09"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        std::wostringstream stream;
        WriteTimeStamp(time, stream, c.flags);
        EXPECT_EQ(c.text, stream.str());
        EXPECT_EQ(L' ', stream.fill());
    }
}

TEST(LogFiles, StampedNames) {
    struct Case {
        const wchar_t* stem;
        const wchar_t* extension;
        const wchar_t* pattern;
    } cases[] = {
        {L"activity", L"log", L"foundation_tests_activity_\\d{4}\\.\\d\\d\\.\\d\\d_\\d\\d\\.\\d\\d\\.\\d\\d_pid#\\.log"},
        {L"CrashReport", L"dmp", L"foundation_tests_CrashReport_\\d{4}\\.\\d\\d\\.\\d\\d_\\d\\d\\.\\d\\d\\.\\d\\d_pid#\\.dmp"},
        {L"plain", L"", L"foundation_tests_plain_\\d{4}\\.\\d\\d\\.\\d\\d_\\d\\d\\.\\d\\d\\.\\d\\d_pid#"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stem);
        std::wstring pattern = c.pattern;
        pattern.replace(pattern.find(L'#'), 1, kPid);
        const std::wstring name = MakeStampedFileName(c.stem, c.extension);
        EXPECT_TRUE(std::regex_match(name, std::wregex(pattern))) << STLHelpers::WideToUtf8(name);
    }

    const std::wstring path = MakeStampedFilePath(L"C:\\reports\\", L"activity.log");
    EXPECT_EQ(0u, path.find(L"C:\\reports\\foundation_tests_activity_"));
    EXPECT_EQ(L"_pid" + kPid + L".log", path.substr(path.size() - kPid.size() - 8));
    EXPECT_EQ(L"", MakeStampedFilePath(L"", L"activity.log"));  // no folder, no path

    // The name reads back as the time it was made at.
    const __time64_t before = _time64(nullptr);
    const __time64_t read = GetLogFileTime(MakeStampedFilePath(L"C:\\reports", L"activity.log"), 0);
    EXPECT_LE(before, read);
    EXPECT_GE(before + 5, read);
}

TEST(LogFiles, TimesInNames) {
    const __time64_t now = 1000;  // far from every time a name carries
    const __time64_t stamped = LocalTime(2013, 5, 4, 17, 3, 9);
    struct Case {
        const wchar_t* path;
        __time64_t time;
    } cases[] = {
        {L"C:\\logs\\Brunlow_activity_2013.05.04_17.03.09_pid1234.log", stamped},
        {L"Brunlow_activity_2013.5.4_17.3.9_pid1.log", stamped},
        {L"C:\\logs\\x_activity_2013.05.04_17.03.09_pid1234.txt", stamped},  // the extension is not compared
        {L"C:\\logs\\Brunlow.log", now},
        {L"C:\\logs\\Brunlow_activity_", now},
        {L"C:\\logs\\Brunlow_activity_2013.05.04.log", now},
        {L"C:\\logs\\Brunlow_activity_2013.05.04_17.03.09.log", now},
        {L"C:\\logs\\Brunlow_activity_2013.13.04_17.03.09_pid1.log", now},
        {L"C:\\logs\\Brunlow_activity_2013.00.04_17.03.09_pid1.log", now},
        {L"C:\\logs\\Brunlow_activity_2013.05.32_17.03.09_pid1.log", now},
        {L"C:\\logs\\Brunlow_activity_2013.05.04_24.03.09_pid1.log", now},
        {L"C:\\logs\\Brunlow_activity_2013.05.04_17.60.09_pid1.log", now},
        {L"C:\\logs\\Brunlow_activity_2013.05.04_17.03.60_pid1.log", now},
        {L"C:\\logs\\Brunlow_activity_1899.05.04_17.03.09_pid1.log", now},
        {L"C:\\logs\\Brunlow_activity_-2013.05.04_17.03.09_pid1.log", now},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        EXPECT_EQ(c.time, GetLogFileTime(c.path, now));
    }
}

TEST(LogFiles, DeletesLogsOfFifteenDaysOrMore) {
    Testing::TempFolder folder;
    const __time64_t now = _time64(nullptr);
    struct Case {
        std::wstring name;
        bool deleted;
    } cases[] = {
        {LogNameAt(now - 15 * kDay), true},
        {L"older_" + LogNameAt(now - 400 * kDay), true},
        {L"younger_" + LogNameAt(now - 15 * kDay + 60), false},
        {L"yesterday_" + LogNameAt(now - kDay), false},
        {L"undated.log", false},
        {L"x_activity_garbage.log", false},
        {L"x_activity_2013.13.01_10.00.00_pid1.log", false},
        {L"x_activity_1800.01.01_10.00.00_pid1.log", false},
        {L"x_activity_2013.01.01_24.00.00_pid1.log", false},
        {L"x_activity_2013.02.30_10.00.00_pid1.txt", false},  // not a log
        {L"sub\\" + LogNameAt(now - 30 * kDay), false},
    };
    for (const Case& c : cases)
        folder.WriteFile(c.name, "log");
    const std::wstring folderNamedLikeALog = folder.MakeFolder(L"dir_" + LogNameAt(now - 30 * kDay));

    DeleteOldLogs(folder.Path());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        EXPECT_EQ(c.deleted, !Testing::PathExists(folder / c.name));
    }
    EXPECT_TRUE(Testing::PathExists(folderNamedLikeALog));
}

TEST(LogFiles, AgeCountsWholeDays) {
    Testing::TempFolder folder;
    const std::wstring log = folder.WriteFile(L"Brunlow_activity_2013.01.01_10.00.00_pid7.log", "log");
    DeleteOldLogs(folder.Path(), LocalTime(2013, 1, 16, 9, 59, 59));
    EXPECT_TRUE(Testing::PathExists(log));
    DeleteOldLogs(folder.Path(), LocalTime(2013, 1, 16, 10, 0, 0));
    EXPECT_FALSE(Testing::PathExists(log));
    DeleteOldLogs(folder / L"missing", LocalTime(2013, 1, 16, 10, 0, 0));  // nothing to do
    DeleteOldLogs(L"", LocalTime(2013, 1, 16, 10, 0, 0));
}

TEST(LogFiles, ProductLogLevel) {
    Testing::TempRegistryKey product;
    const std::wstring keyName = product.SubKey().substr(std::wstring(L"Software\\").size());
    struct Case {
        std::optional<DWORD> value;
        int level;
    } cases[] = {{std::nullopt, 5}, {0, 0}, {3, 3}, {6, 6}, {7, 5}, {0xFFFFFFFF, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? std::to_string(*c.value) : "missing");
        ScopedUserDword level(product.SubKey() + L"\\Debugging\\Log", L"Level", c.value);
        EXPECT_EQ(c.level, ReadProductLogLevel(keyName));
    }
}

TEST(LogFiles, ErrorReportFolderLiesOnTheDesktop) {
    Testing::TempFolder folder;
    const std::wstring desktop = folder.MakeFolder(L"desktop");
    const std::wstring common = folder.MakeFolder(L"common");
    const std::wstring missing = folder / L"missing";
    struct Case {
        const char* name;
        std::wstring desktop;
        std::wstring common;
        const wchar_t* product;
        std::wstring folder;
    } cases[] = {
        {"desktop", desktop, common, L"Brunlow", desktop + L"\\Brunlow Error Report"},
        {"desktop with a backslash", desktop + L"\\", common, L"Brunlow", desktop + L"\\Brunlow Error Report"},
        {"no desktop folder", missing, common, L"Brunlow", common + L"\\Brunlow Error Report"},
        {"no desktop at all", L"", common, L"Brunlow", common + L"\\Brunlow Error Report"},
        {"neither desktop", missing, missing, L"Brunlow", L""},
        {"the executable's folder names it", desktop, common, L"", desktop + L"\\bin Error Report"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedShellFolders shellFolders(c.desktop, c.common);
        EXPECT_EQ(c.folder, GetErrorReportFolder(c.product));
    }
}

TEST(LogFiles, LogFolderLiesUnderTheTemporaryFolder) {
    Testing::TempFolder folder;
    const std::wstring temp = folder.MakeFolder(L"temp");
    ScopedEnvironment environment({{L"TMP", temp}, {L"TEMP", temp}});
    EXPECT_EQ(temp + L"\\Ruveziz\\Debugging\\Log\\Brunlow", GetLogFolder(L"Brunlow"));
    EXPECT_EQ(temp + L"\\Ruveziz\\Debugging\\Log\\bin", GetLogFolder(L""));
}

// Start-up in a child: the child's desktop, temporary folder and product key
// come from its parent.

TESTING_CHILD_SCENARIO(ConfiguresLogFilesAtStartUp) {
    UseSeamsFromEnvironment();
    const std::wstring product = ReadVariable(L"DebuggingTests_Product").value_or(L"");
    const std::wstring shortName = ReadVariable(L"DebuggingTests_Short").value_or(L"");
    if (!ConfigureLogFiles(product, shortName, false))
        return 1;
    DEBUG_LOG(Debugging::LevelINF, "information");
    DEBUG_LOG(Debugging::LevelDBG, "debugging");
    return Debugging::GetLog()->GetLevel() == 2 ? 0 : 2;
}

TEST(LogFiles, StartUpConfiguresTheLogAndCleansTheLogFolder) {
    FixedKeysLock lock;
    ScopedUserDword noLogImplLevel(Debugging::kLogLevelKey, L"Level", std::nullopt);
    Testing::TempFolder folder;
    const std::wstring desktop = folder.MakeFolder(L"desktop");
    const std::wstring temp = folder.MakeFolder(L"temp");
    const std::wstring shortName = L"BrunlowTests-" + Testing::NewGuidText().substr(1, 8);
    const std::wstring product = shortName + L" Product";
    const std::wstring productKey = L"Software\\" + shortName;
    ScopedUserDword productLevel(productKey + L"\\Debugging\\Log", L"Level", 2);
    const std::wstring logFolder = temp + L"\\Ruveziz\\Debugging\\Log\\" + product;
    const std::wstring oldLog = folder.WriteFile(L"temp\\Ruveziz\\Debugging\\Log\\" + product + L"\\" +
                                                     LogNameAt(_time64(nullptr) - 20 * kDay),
                                                 "old");
    const std::wstring badDate = folder.WriteFile(
        L"temp\\Ruveziz\\Debugging\\Log\\" + product + L"\\x_activity_2013.99.01_10.00.00_pid1.log", "bad");

    Testing::EnvironmentChanges environment = NoDebuggingVariables();
    environment[L"TMP"] = temp;
    environment[L"TEMP"] = temp;
    environment[L"DebuggingTests_Desktop"] = desktop;
    environment[L"DebuggingTests_Product"] = product;
    environment[L"DebuggingTests_Short"] = shortName;
    const Testing::ChildResult result = Testing::RunChildScenario("ConfiguresLogFilesAtStartUp", environment);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, productKey.c_str());
    ASSERT_TRUE(result.started);
    EXPECT_EQ(0u, result.exitCode);

    EXPECT_FALSE(Testing::PathExists(oldLog));
    EXPECT_TRUE(Testing::PathExists(badDate));

    const std::wregex stamped(L"foundation_tests_activity_\\d{4}\\.\\d\\d\\.\\d\\d_\\d\\d\\.\\d\\d\\.\\d\\d_pid\\d+\\.log");
    struct Case {
        const char* name;
        std::wstring folder;
        std::size_t lines;
    } cases[] = {
        {"log file", desktop + L"\\" + product + L" Error Report", 1},
        {"mirror file", logFolder, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WIN32_FIND_DATAW found = {};
        HANDLE search = ::FindFirstFileW((c.folder + L"\\foundation_tests_activity_*.log").c_str(), &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, search);
        EXPECT_FALSE(::FindNextFileW(search, &found));  // just one
        ::FindClose(search);
        EXPECT_TRUE(std::regex_match(std::wstring(found.cFileName), stamped));
        const std::string text = Testing::ReadFileBytes(c.folder + L"\\" + found.cFileName);
        EXPECT_EQ(c.lines, SplitLines(text).size()) << text;
        EXPECT_EQ(1u, CountOf(text, "information"));
    }
}

}  // namespace
