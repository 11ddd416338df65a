#pragma once
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

// Scenarios that need a process of their own (one-shot set-ups, crashes,
// inherited environments) run in a child started from the test executable
// itself. The child runs only the named scenario and exits with its result.
//
//   TESTING_CHILD_SCENARIO(ReadsInheritedValue) { return SomeCheck() ? 0 : 1; }
//   EXPECT_EQ(0, Testing::RunChildScenario("ReadsInheritedValue").exitCode);

namespace Testing {

using ScenarioFunction = int (*)();

struct ScenarioRegistration {
    ScenarioRegistration(const char* name, ScenarioFunction function);
};

// Environment changes for the child: a value sets the variable, nullopt removes it.
using EnvironmentChanges = std::map<std::wstring, std::optional<std::wstring>>;

struct ChildResult {
    bool started = false;
    bool timedOut = false;   // the child was killed after the timeout
    unsigned long exitCode = 0;
};

// Starts a program of this build (a file name resolves beside the test
// executable) with the arguments and environment changes, and waits for it,
// killing it after the timeout.
ChildResult RunProgram(const std::wstring& program, const std::wstring& arguments,
                       const EnvironmentChanges& environment = {}, unsigned long timeoutMs = 60000);

ChildResult RunChildScenario(const std::string& scenario,
                             const EnvironmentChanges& environment = {},
                             unsigned long timeoutMs = 60000);

// Success when the child started, ended on its own and exited with
// `expectedExitCode`; otherwise says which of these failed:
//   EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("Name")));
::testing::AssertionResult ChildSucceeded(const ChildResult& result, unsigned long expectedExitCode = 0);

// Used by the test main(): runs the scenario named on the command line, if any.
bool RunScenarioFromCommandLine(int argc, char** argv, int& exitCode);

}  // namespace Testing

#define TESTING_CHILD_SCENARIO(name)                                                   \
    static int TestingScenario_##name();                                               \
    static ::Testing::ScenarioRegistration TestingScenarioRegistration_##name(         \
        #name, &TestingScenario_##name);                                               \
    static int TestingScenario_##name()
