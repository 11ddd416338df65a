#include "testing/ChildProcess.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// winerun names a file for the result (see cmake/winerun.in): once the last
// thread of a process has ended, Wine's server kills the Unix process that
// has not gone within half a second, and under load that can be one that
// was just ending; the runner then reads the result from the file. Taken
// out of the environment, so that processes the tests start write nothing.
std::wstring TakeResultFile() {
    const wchar_t kVariable[] = L"BRUNLOW_RESULT_FILE";
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(kVariable, path, MAX_PATH);
    ::SetEnvironmentVariableW(kVariable, nullptr);
    return length > 0 && length < MAX_PATH ? path : std::wstring();
}

void WriteResult(const std::wstring& path, int result) {
    if (path.empty())
        return;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = std::to_string(result) + "\n";
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
    // A crash or a failed check must never wait on a dialog under test.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    const std::wstring resultFile = TakeResultFile();
    int exitCode = 0;
    if (Testing::RunScenarioFromCommandLine(argc, argv, exitCode))
        return exitCode;
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    WriteResult(resultFile, result);
    return result;
}
