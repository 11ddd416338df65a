#include "testing/ChildProcess.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// Starts the tool beside the test program and gives its exit code.
DWORD RunTool(const std::wstring& arguments) {
    const Testing::ChildResult result = Testing::RunProgram(L"VezozazIzeviz.exe", arguments, {}, 30000);
    return result.started && !result.timedOut ? result.exitCode : 0xFFFFFFFF;
}

TEST(SupportTool, RecordsItsCommandLineAndTheCrashVariables) {
    Testing::TempFolder folder;
    std::wstring record = folder / L"record.txt";
    SetEnvironmentVariableW(L"VezozazIzeviz_RecordPath", record.c_str());
    SetEnvironmentVariableW(L"VerboseCrashHandling", L"1");
    SetEnvironmentVariableW(L"ProductName", L"Brunlow Pro \u00e9");
    SetEnvironmentVariableW(L"ProductNameShort", nullptr);

    EXPECT_EQ(0u, RunTool(L"/crash"));
    EXPECT_EQ("CommandLine=/crash\r\nVerboseCrashHandling=1\r\nProductName=Brunlow Pro \xc3\xa9\r\nProductNameShort=\r\n",
              Testing::ReadFileBytes(record));

    for (const wchar_t* name : {L"VezozazIzeviz_RecordPath", L"VerboseCrashHandling", L"ProductName"})
        SetEnvironmentVariableW(name, nullptr);
}

TEST(SupportTool, FailsWhenTheRecordCannotBeWritten) {
    Testing::TempFolder folder;
    SetEnvironmentVariableW(L"VezozazIzeviz_RecordPath", (folder / L"missing\\record.txt").c_str());
    EXPECT_EQ(1u, RunTool(L"/crash"));
    SetEnvironmentVariableW(L"VezozazIzeviz_RecordPath", nullptr);
}

}  // namespace
