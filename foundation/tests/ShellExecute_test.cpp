#include "foundation/errors/FormatErrorCode.h"
#include "foundation/filesystem/File.h"
#include "foundation/system/ShellExecute.h"

#include "RecordingSink.h"
#include "testing/ChildProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using FileSystem::File;
using FoundationTests::RecordingSink;
using FoundationTests::ScopedSink;

TESTING_CHILD_SCENARIO(ShellStartedChild) {
    return 42;
}

std::wstring TestExe() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return exe;
}

// What a launch asked for.
struct Launch {
    ULONG mask;
    std::wstring verb, file, parameters;
    bool parametersNull;
    int show;
};

// Records every launch; answers as configured, never reaching the shell.
struct FakeShell {
    static std::vector<Launch> launches;
    static BOOL result;
    static INT_PTR instance;
    static DWORD error;
    static bool startChild;

    static BOOL Execute(SHELLEXECUTEINFOW* pInfo) {
        EXPECT_EQ(sizeof(SHELLEXECUTEINFOW), pInfo->cbSize);
        EXPECT_EQ(nullptr, pInfo->hwnd);
        launches.push_back({pInfo->fMask, pInfo->lpVerb ? pInfo->lpVerb : L"", pInfo->lpFile ? pInfo->lpFile : L"",
                            pInfo->lpParameters ? pInfo->lpParameters : L"", pInfo->lpParameters == nullptr,
                            pInfo->nShow});
        pInfo->hInstApp = reinterpret_cast<HINSTANCE>(instance);
        if (startChild && (pInfo->fMask & SEE_MASK_NOCLOSEPROCESS)) {
            std::wstring commandLine = L"\"" + TestExe() + L"\" --child-scenario=ShellStartedChild";
            STARTUPINFOW startup = {};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION info = {};
            if (CreateProcessW(TestExe().c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info)) {
                CloseHandle(info.hThread);
                pInfo->hProcess = info.hProcess;
            }
        }
        SetLastError(error);
        return result;
    }
};
std::vector<Launch> FakeShell::launches;
BOOL FakeShell::result;
INT_PTR FakeShell::instance;
DWORD FakeShell::error;
bool FakeShell::startChild;

class ShellLaunch : public testing::Test {
protected:
    void SetUp() override {
        FakeShell::launches.clear();
        FakeShell::result = TRUE;
        FakeShell::instance = 42;
        FakeShell::error = 0;
        FakeShell::startChild = false;
        m_previous = System::SetShellExecute(&FakeShell::Execute);
    }
    void TearDown() override { System::SetShellExecute(m_previous); }

    RecordingSink sink;
    ScopedSink scope{&sink};

private:
    System::ShellExecuteFunction m_previous = nullptr;
};

TEST_F(ShellLaunch, OpenAsksTheShellAndReadsTheInstanceCode) {
    struct Case {
        const char* name;
        BOOL result;
        INT_PTR instance;
        bool opened;
    } cases[] = {
        {"opened", TRUE, 42, true},
        {"instance code of an error", TRUE, SE_ERR_NOASSOC, false},
        {"instance code 32", TRUE, 32, false},
        {"call failed", FALSE, 42, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeShell::launches.clear();
        FakeShell::result = c.result;
        FakeShell::instance = c.instance;
        EXPECT_EQ(c.opened, File(L"C:\\videos\\clip.mp4").ShellOpen(L"/play", SW_SHOWNORMAL));
        ASSERT_EQ(1u, FakeShell::launches.size());
        const Launch& launch = FakeShell::launches[0];
        EXPECT_EQ(L"open", launch.verb);
        EXPECT_EQ(L"C:\\videos\\clip.mp4", launch.file);
        EXPECT_EQ(L"/play", launch.parameters);
        EXPECT_EQ(SW_SHOWNORMAL, launch.show);
        EXPECT_EQ(0u, launch.mask & SEE_MASK_NOCLOSEPROCESS);
    }
    File(L"http://example.invalid/").ShellOpen(L"", SW_SHOW);
    EXPECT_TRUE(FakeShell::launches.back().parametersNull);
    EXPECT_TRUE(sink.reports.empty());
}

TEST_F(ShellLaunch, StartedProcessComesBackWithItsHandle) {
    FakeShell::startChild = true;
    System::Process process = File(L"C:\\Tools\\helper.exe").ShellExecuteProcess(L"/quiet", SW_HIDE);
    ASSERT_EQ(1u, FakeShell::launches.size());
    EXPECT_EQ(static_cast<ULONG>(SEE_MASK_NOCLOSEPROCESS), FakeShell::launches[0].mask);
    EXPECT_EQ(L"open", FakeShell::launches[0].verb);
    EXPECT_EQ(L"C:\\Tools\\helper.exe", FakeShell::launches[0].file);
    EXPECT_EQ(L"/quiet", FakeShell::launches[0].parameters);
    EXPECT_EQ(SW_HIDE, FakeShell::launches[0].show);

    ASSERT_TRUE(process.HasHandle());
    EXPECT_NE(0u, process.GetId());
    ASSERT_TRUE(process.Wait(30000));
    DWORD code = 0;
    GetExitCodeProcess(process.GetHandle(), &code);
    EXPECT_EQ(42u, code);
    EXPECT_TRUE(sink.reports.empty());
}

TEST_F(ShellLaunch, FailedLaunchIsReportedAndGivesAnEmptyProcess) {
    FakeShell::result = FALSE;
    FakeShell::error = ERROR_FILE_NOT_FOUND;
    System::Process process = File(L"C:\\missing.exe").ShellExecuteProcess(L"", SW_SHOW);
    EXPECT_FALSE(process.HasHandle());
    EXPECT_EQ(0u, process.GetId());
    EXPECT_FALSE(process.GetInfo());
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Error, sink.reports[0].severity);
    std::wstring expected;
    ErrorHandling::FormatErrorCode(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), expected);
    EXPECT_EQ(expected + L" ((::ShellExecuteExW(&sei)))", sink.reports[0].text);
}

TEST_F(ShellLaunch, SystemShellStartsAProgram) {
    // The real door, on this test program only: no browser or explorer.
    System::SetShellExecute(nullptr);
    System::Process process = File(TestExe()).ShellExecuteProcess(L"--child-scenario=ShellStartedChild", SW_HIDE);
    ASSERT_TRUE(process.HasHandle());
    ASSERT_TRUE(process.Wait(30000));
    DWORD code = 0;
    GetExitCodeProcess(process.GetHandle(), &code);
    EXPECT_EQ(42u, code);
}

}  // namespace
