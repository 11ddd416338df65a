#include "foundation/debugging/DelayedData.h"
#include "foundation/debugging/Log.h"
#include "foundation/debugging/LogConfiguration.h"
#include "foundation/debugging/LogImpl.h"
#include "foundation/debugging/LogLine.h"
#include "foundation/tests/DebuggingFixtures.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using namespace Debugging;
using namespace DebuggingTests;

std::string Narrow(const std::wstring& text) {
    return STLHelpers::WideToUtf8(text);
}

// Each test starts without any log variable and without the registry level.
class LogTest : public testing::Test {
protected:
    LogTest() : m_level(kLogLevelKey, L"Level", std::nullopt), m_environment(NoDebuggingVariables()) {}

    void Configure(const std::wstring& levelText, const std::wstring& flagsText = L"",
                   const std::wstring& mirrorPath = L"") {
        m_environment.Set({{kLogPathVariable, LogPath()},
                           {kLogLevelVariable, levelText},
                           {kLogFlagsVariable, flagsText},
                           {kMirrorPathVariable, mirrorPath}});
    }
    std::wstring LogPath() const { return m_folder / L"logs\\test.log"; }
    std::wstring MirrorPath() const { return m_folder / L"mirror\\test.log"; }
    std::string LogText() const { return Testing::ReadFileBytes(LogPath()); }
    std::wstring Delayed() const { return ReadDelayedData(); }

    FixedKeysLock m_lock;
    ScopedUserDword m_level;
    ScopedEnvironment m_environment;
    Testing::TempFolder m_folder;
};

TEST_F(LogTest, ConfigurationFromTheEnvironment) {
    struct Case {
        const char* name;
        bool hasPath;
        const wchar_t* level;
        const wchar_t* flags;
        std::optional<DWORD> registryLevel;
        bool configured;
        int expectedLevel;
        bool mirroringAll;
    } cases[] = {
        {"level unset", true, L"", L"", std::nullopt, true, 0, true},
        {"level 3", true, L"3", L"", std::nullopt, true, 3, true},
        {"level 6", true, L"6", L"0", std::nullopt, true, 6, true},
        {"flags 2", true, L"3", L"2", std::nullopt, true, 3, false},
        {"flags 3", true, L"3", L"3", std::nullopt, true, 3, false},
        {"level 7", true, L"7", L"", std::nullopt, false, 5, true},
        {"level -1", true, L"-1", L"", std::nullopt, false, 5, true},
        {"level not a number", true, L"abc", L"", std::nullopt, false, 5, true},
        {"level with a blank", true, L" 3", L"", std::nullopt, false, 5, true},
        {"flags not a number", true, L"3", L"two", std::nullopt, false, 5, true},
        {"negative flags", true, L"3", L"-2", std::nullopt, false, 5, true},
        {"no path", false, L"3", L"", std::nullopt, false, 5, true},
        {"registry level replaces", true, L"", L"", 4, true, 4, true},
        {"registry level 0 replaces", true, L"6", L"", 0, true, 0, true},
        {"registry level 7 ignored", true, L"2", L"", 7, true, 2, true},
        {"registry cannot save a bad level", true, L"7", L"", 4, false, 5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnvironment environment({{kLogPathVariable, c.hasPath ? std::optional<std::wstring>(LogPath())
                                                                    : std::nullopt},
                                       {kLogLevelVariable, std::wstring(c.level)},
                                       {kLogFlagsVariable, std::wstring(c.flags)}});
        m_level.Set(c.registryLevel);
        {
            LogImpl log;
            EXPECT_EQ(c.expectedLevel, log.GetLevel());
            EXPECT_EQ(c.mirroringAll, log.IsMirroringAllLevels());
            EXPECT_FALSE(log.Reserved(nullptr));

            // An obligatory line reaches the file only when the log is configured.
            EXPECT_TRUE(WriteLog(&log, L"obligatory", L"Tag@1", LevelOBL, 0));
            EXPECT_EQ(c.configured, Testing::PathExists(LogPath()));
            EXPECT_EQ(c.configured, Delayed().empty());
        }
        ClearDelayedData();
        Testing::RemoveTree(m_folder / L"logs");
    }
}

TEST_F(LogTest, LineFeedsMakeContinuationLines) {
    Configure(L"0");
    LogImpl log;
    EXPECT_TRUE(WriteLog(&log, L"first\r\nsecond", L"Brunlow:CBrunlowView:OnCancel@15", LevelWRN, 0));
    EXPECT_TRUE(WriteLog(&log, L"ends with a feed\n", L"", LevelINF, 0));

    const std::vector<std::string> lines = SplitLines(LogText());
    ASSERT_EQ(4u, lines.size()) << LogText();
    EXPECT_EQ(" WRN ", lines[0].substr(19, 5));
    EXPECT_EQ(Narrow(FormatThreadField(::GetCurrentThreadId())), lines[0].substr(24, 5));
    EXPECT_EQ("Brunlow:CBrunlowView:OnCancel@15" + std::string(16, ' ') + " first", lines[0].substr(30));
    EXPECT_EQ(std::string(79, ' ') + "second", lines[1]);
    EXPECT_EQ(" INF ", lines[2].substr(19, 5));
    EXPECT_EQ("foundation_tests.exe" + std::string(28, ' ') + " ends with a feed", lines[2].substr(30));
    EXPECT_EQ(std::string(79, ' '), lines[3]);
}

TEST_F(LogTest, LevelsAndTheMirror) {
    struct Case {
        const char* name;
        const wchar_t* flags;
        bool withMirror;
        bool belowLevelMirrored;
    } cases[] = {
        {"flags 0 mirror every line", L"0", true, true},
        {"flags 2 drop lines below the level", L"2", true, false},
        {"no mirror", L"0", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configure(L"3", c.flags, c.withMirror ? MirrorPath() : L"");
        {
            LogImpl log;
            EXPECT_TRUE(WriteLog(&log, L"below", L"Tag@1", LevelINF, 0));
            EXPECT_TRUE(WriteLog(&log, L"at the level", L"Tag@2", LevelWRN, 0));
            EXPECT_TRUE(WriteLog(&log, L"above", L"Tag@3", LevelERR, 0));
        }
        const std::string logText = LogText();
        const std::string mirrorText = Testing::ReadFileBytes(MirrorPath());
        EXPECT_EQ(0u, CountOf(logText, "below"));
        EXPECT_EQ(1u, CountOf(logText, "at the level"));
        EXPECT_EQ(1u, CountOf(logText, "above"));
        EXPECT_EQ(c.belowLevelMirrored ? 1u : 0u, CountOf(mirrorText, "below"));
        EXPECT_EQ(c.withMirror ? 1u : 0u, CountOf(mirrorText, "above"));
        EXPECT_TRUE(Delayed().empty());
        Testing::RemoveTree(m_folder / L"logs");
        Testing::RemoveTree(m_folder / L"mirror");
    }
}

TEST_F(LogTest, UnconfiguredLogKeepsCriticalLinesUntilAConfigurationAppears) {
    Configure(L"7");
    LogImpl log;
    EXPECT_TRUE(WriteLog(&log, L"warning", L"Tag@1", LevelWRN, 0));
    EXPECT_TRUE(WriteLog(&log, L"critical", L"Tag@2", LevelCRT, 0));
    EXPECT_TRUE(WriteLog(&log, L"obligatory", L"Tag@3", LevelOBL, 0));
    EXPECT_FALSE(Testing::PathExists(LogPath()));
    EXPECT_EQ(0u, CountOf(Narrow(Delayed()), "warning"));
    EXPECT_EQ(1u, CountOf(Narrow(Delayed()), "critical"));

    Configure(L"1");  // read again by the next call
    EXPECT_TRUE(WriteLog(&log, L"configured", L"Tag@4", LevelDBG, 0));
    const std::vector<std::string> lines = SplitLines(LogText());
    ASSERT_EQ(3u, lines.size()) << LogText();
    EXPECT_NE(std::string::npos, lines[0].find("critical"));
    EXPECT_NE(std::string::npos, lines[1].find("obligatory"));
    EXPECT_NE(std::string::npos, lines[2].find("configured"));
    EXPECT_TRUE(Delayed().empty());
    EXPECT_TRUE(ReadVariable(kDelayedDataVariable).has_value());  // set to empty text
}

TEST_F(LogTest, DelayedLinesComeFirstOnceTheBlockedFolderIsFreed) {
    const std::wstring blocker = m_folder.WriteFile(L"logs", "a file where the folder belongs");
    Configure(L"0");
    LogImpl log;
    EXPECT_TRUE(WriteLog(&log, L"one", L"Tag@1", LevelINF, 0));
    EXPECT_TRUE(WriteLog(&log, L"two", L"Tag@2", LevelINF, 0));
    EXPECT_EQ(2u, SplitLines(Narrow(Delayed())).size());

    ASSERT_TRUE(::DeleteFileW(blocker.c_str()));
    EXPECT_TRUE(WriteLog(&log, L"three", L"Tag@3", LevelINF, 0));
    const std::vector<std::string> lines = SplitLines(LogText());
    ASSERT_EQ(3u, lines.size()) << LogText();
    EXPECT_EQ("one", lines[0].substr(79));
    EXPECT_EQ("two", lines[1].substr(79));
    EXPECT_EQ("three", lines[2].substr(79));
    EXPECT_TRUE(Delayed().empty());
}

TEST_F(LogTest, DeferredLinesGoToTheDelayedDataEvenWhenTheFileIsOpen) {
    Configure(L"0");
    LogImpl log;
    EXPECT_TRUE(WriteLog(&log, L"plain", L"Tag@1", LevelINF, 0));
    EXPECT_TRUE(WriteLog(&log, L"deferred", L"Tag@2", LevelINF, kWriteDefer));
    EXPECT_EQ(0u, CountOf(LogText(), "deferred"));
    EXPECT_EQ(1u, CountOf(Narrow(Delayed()), "deferred"));
    EXPECT_TRUE(WriteLog(&log, L"next", L"Tag@3", LevelINF, 0));
    EXPECT_EQ(1u, CountOf(LogText(), "deferred"));
}

TEST_F(LogTest, ManyDeferredLinesAllSurvive) {
    Configure(L"7");
    LogImpl log;
    const int count = 2000;
    for (int i = 0; i < count; ++i) {
        std::wstring text = L"line " + std::to_wstring(i) + L" ";
        text.resize(100, L'.');
        ASSERT_TRUE(WriteLog(&log, text, L"Tag@1", LevelCRT, 0)) << i;
    }
    EXPECT_EQ(static_cast<std::size_t>(count) * (79 + 100 + 2), Delayed().size());

    Configure(L"0");
    EXPECT_TRUE(WriteLog(&log, L"last", L"Tag@2", LevelINF, 0));
    const std::vector<std::string> lines = SplitLines(LogText());
    ASSERT_EQ(static_cast<std::size_t>(count) + 1, lines.size());
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(79u, lines[i].find("line " + std::to_string(i) + " ", 79)) << i;
    EXPECT_TRUE(Delayed().empty());
}

TEST_F(LogTest, TwoThreadsDeferringAtOnceLoseNothing) {
    Configure(L"7");
    LogImpl log;
    const int perThread = 300;
    auto defer = [&log](const wchar_t* name) {
        for (int i = 0; i < perThread; ++i)
            WriteLog(&log, std::wstring(name) + L" " + std::to_wstring(i) + L";", L"Tag@1", LevelCRT, 0);
    };
    std::thread first(defer, L"first");
    std::thread second(defer, L"second");
    first.join();
    second.join();
    const std::string delayed = Narrow(Delayed());
    EXPECT_EQ(2u * perThread, SplitLines(delayed).size());
    for (int i = 0; i < perThread; ++i) {
        ASSERT_EQ(1u, CountOf(delayed, " first " + std::to_string(i) + ";")) << i;
        ASSERT_EQ(1u, CountOf(delayed, " second " + std::to_string(i) + ";")) << i;
    }
}

TEST_F(LogTest, DelayedDataIsBounded) {
    Configure(L"7");
    LogImpl log;
    // Lines longer than one piece spread over several variables.
    const std::wstring block(100000, L'x');
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(AppendDelayedData(block)) << i;
    EXPECT_EQ(1000000u, Delayed().size());
    EXPECT_EQ(kDelayedDataChunk, ReadVariable(kDelayedDataVariable).value_or(L"").size());
    EXPECT_TRUE(ReadVariable(DelayedDataVariable(31)).has_value());
    EXPECT_FALSE(ReadVariable(DelayedDataVariable(32)).has_value());

    EXPECT_TRUE(WriteLog(&log, block, L"Tag@1", LevelCRT, 0));  // 1,000,000 is within the bound
    const std::wstring kept = Delayed();
    EXPECT_EQ(1000000u + 79 + 100000 + 2, kept.size());
    EXPECT_FALSE(WriteLog(&log, L"lost", L"Tag@2", LevelCRT, 0));
    EXPECT_EQ(kept, Delayed());

    // Emptied, the data takes lines again and no piece is left behind.
    EXPECT_TRUE(ClearDelayedData());
    EXPECT_TRUE(Delayed().empty());
    EXPECT_FALSE(ReadVariable(DelayedDataVariable(1)).has_value());
    EXPECT_TRUE(WriteLog(&log, L"kept again", L"Tag@3", LevelCRT, 0));
    EXPECT_EQ(1u, CountOf(Narrow(Delayed()), "kept again"));
}

TEST_F(LogTest, TwoWritersOfOneFileKeepEachOthersLines) {
    // A program started by this one inherits the configuration and writes to
    // the same file through a handle of its own.
    Configure(L"0");
    LogImpl parent;
    LogImpl child;
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(WriteLog(&parent, L"parent " + std::to_wstring(i), L"Tag@1", LevelINF, 0));
        EXPECT_TRUE(WriteLog(&child, L"child " + std::to_wstring(i), L"Tag@2", LevelINF, 0));
    }
    const std::vector<std::string> lines = SplitLines(LogText());
    ASSERT_EQ(10u, lines.size()) << LogText();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ("parent " + std::to_string(i), lines[2 * i].substr(79));
        EXPECT_EQ("child " + std::to_string(i), lines[2 * i + 1].substr(79));
    }
}

// The process-wide log and ConfigureLog, each in a child of its own.

TESTING_CHILD_SCENARIO(LogsThroughTheMacro) {
    DEBUG_LOG(LevelWRN, "narrow \xc3\xa9");
    DEBUG_LOG(LevelERR, std::wstring(L"wide\0cut", 8));
    DEBUG_LOG(LevelDBG, L"below the level");
    return GetLog() == GetLog() && GetLog()->GetLevel() == 3 ? 0 : 1;
}

TEST_F(LogTest, MacroWritesWithTheCallersTag) {
    Configure(L"3");
    const Testing::ChildResult result = Testing::RunChildScenario("LogsThroughTheMacro");
    ASSERT_TRUE(result.started);
    EXPECT_EQ(0u, result.exitCode);
    const std::vector<std::string> lines = SplitLines(LogText());
    ASSERT_EQ(2u, lines.size()) << LogText();
    EXPECT_EQ(" WRN ", lines[0].substr(19, 5));
    EXPECT_EQ(30u, lines[0].find("?nymous}:TestingScenario_LogsThroughTheMacro@", 30)) << lines[0];
    EXPECT_EQ("narrow \xc3\xa9", lines[0].substr(79));
    EXPECT_EQ(" ERR ", lines[1].substr(19, 5));
    EXPECT_EQ("wide", lines[1].substr(79));
    EXPECT_NE(lines[0].substr(30, 48), lines[1].substr(30, 48));  // another source line
}

TESTING_CHILD_SCENARIO(ConfigureLogPublishes) {
    const std::wstring folder = ReadVariable(L"DebuggingTests_Folder").value_or(L"");
    int failures = 0;
    DEBUG_LOG(LevelCRT, "before the configuration");
    if (ReadDelayedData().find(L"before the configuration") == std::wstring::npos)
        failures |= 1;
    if (!ConfigureLog(folder + L"\\log\\a.log", folder + L"\\mirror\\a.log", 2, 0))
        failures |= 2;
    if (ReadVariable(kLogLevelVariable) != L"2" || ReadVariable(kLogFlagsVariable) != L"0" ||
        ReadVariable(kLogPathVariable) != folder + L"\\log\\a.log" ||
        ReadVariable(kMirrorPathVariable) != folder + L"\\mirror\\a.log")
        failures |= 4;
    // An existing configuration stays unless the call says it replaces it.
    if (ConfigureLog(folder + L"\\log\\b.log", L"", 0, 0) || ReadVariable(kLogPathVariable) != folder + L"\\log\\a.log")
        failures |= 8;
    DEBUG_LOG(LevelINF, "after the configuration");
    DEBUG_LOG(LevelDBG, "below the level");
    if (!ConfigureLog(folder + L"\\log\\c.log", L"", 0, kLogFlagReplaced) || ReadVariable(kLogFlagsVariable) != L"1")
        failures |= 16;
    return failures;
}

TEST_F(LogTest, ConfigureLogPublishesInTheEnvironment) {
    const Testing::ChildResult result =
        Testing::RunChildScenario("ConfigureLogPublishes", {{L"DebuggingTests_Folder", m_folder.Path()}});
    ASSERT_TRUE(result.started);
    EXPECT_EQ(0u, result.exitCode);
    // The delayed line reached the mirror at configuration and the log file
    // with the first line that followed; the log of a process is configured once.
    const std::vector<std::string> log = SplitLines(Testing::ReadFileBytes(m_folder / L"log\\a.log"));
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ("before the configuration", log[0].substr(79));
    EXPECT_EQ("after the configuration", log[1].substr(79));
    const std::vector<std::string> mirror = SplitLines(Testing::ReadFileBytes(m_folder / L"mirror\\a.log"));
    ASSERT_EQ(3u, mirror.size());
    EXPECT_EQ("before the configuration", mirror[0].substr(79));
    EXPECT_EQ("after the configuration", mirror[1].substr(79));
    EXPECT_EQ("below the level", mirror[2].substr(79));
    EXPECT_FALSE(Testing::PathExists(m_folder / L"log\\b.log"));
    EXPECT_FALSE(Testing::PathExists(m_folder / L"log\\c.log"));
}

}  // namespace
