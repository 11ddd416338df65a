#include "testing/ChildProcess.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TESTING_CHILD_SCENARIO(ExitsWithSeven) { return 7; }

TESTING_CHILD_SCENARIO(EchoesVariableLength) {
    wchar_t buffer[256] = {};
    DWORD n = GetEnvironmentVariableW(L"BRUNLOW_TEST_VALUE", buffer, 256);
    return n == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND ? 100 : static_cast<int>(n);
}

TESTING_CHILD_SCENARIO(Hangs) {
    Sleep(INFINITE);
    return 0;
}

TEST(ChildProcess, ReportsTheScenarioExitCode) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("ExitsWithSeven"), 7));
}

TEST(ChildProcess, AppliesEnvironmentChanges) {
    SetEnvironmentVariableW(L"BRUNLOW_TEST_VALUE", L"inherited");
    EXPECT_EQ(9u, Testing::RunChildScenario("EchoesVariableLength").exitCode);
    EXPECT_EQ(3u, Testing::RunChildScenario("EchoesVariableLength", {{L"BRUNLOW_TEST_VALUE", L"abc"}}).exitCode);
    EXPECT_EQ(100u,
              Testing::RunChildScenario("EchoesVariableLength", {{L"BRUNLOW_TEST_VALUE", std::nullopt}}).exitCode);
    SetEnvironmentVariableW(L"BRUNLOW_TEST_VALUE", nullptr);
}

TEST(ChildProcess, UnknownScenarioAndTimeoutAreReported) {
    EXPECT_EQ(200u, Testing::RunChildScenario("NoSuchScenario").exitCode);
    auto hung = Testing::RunChildScenario("Hangs", {}, 300);
    EXPECT_TRUE(hung.timedOut);
    EXPECT_FALSE(Testing::ChildSucceeded(hung, 0xDEAD));
    EXPECT_FALSE(Testing::ChildSucceeded(Testing::RunChildScenario("ExitsWithSeven")));
}

}  // namespace
