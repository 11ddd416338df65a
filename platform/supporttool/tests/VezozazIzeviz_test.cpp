#include "testing/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring ToolPath() {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path = module;
    return path.substr(0, path.rfind(L'\\') + 1) + L"VezozazIzeviz.exe";
}

// Starts the tool with the given arguments and waits (bounded) for it to end.
DWORD RunTool(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + ToolPath() + L"\" " + arguments;
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(ToolPath().c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
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
