#pragma once
// What the service client's tests share: COM entered as the client enters it,
// a reporter sink that records and raises as the module's default sink does,
// a shell door that records the service's start and still starts it, and
// child scenarios whose log lines the test reads.
#include "foundation/debugging/LogConfiguration.h"
#include "foundation/errors/NotificationsDefault.h"
#include "foundation/system/ShellExecute.h"
#include "foundation/tests/DebuggingFixtures.h"
#include "foundation/tests/RecordingSink.h"
#include "testing/ChildProcess.h"
#include "testing/TempFolder.h"

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace ServiceClientTests {

// The client enters COM in the process's default model (OLE); the test's
// apartment is the same, and stays alive across the client's own scopes.
class OleScope {
public:
    OleScope() : m_hr(OleInitialize(nullptr)) {}
    ~OleScope() {
        if (SUCCEEDED(m_hr))
            OleUninitialize();
    }
    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};

// Records every report; an assertion then raises as under the default
// notifications, unless the sink is told to let it pass.
class ServiceSink : public FoundationTests::RecordingSink {
public:
    explicit ServiceSink(bool raiseAssertions = true) : m_raise(raiseAssertions) {}
    int OnReport(Reporting::ReportingObject& reporter, const wlitestring& text, Reporting::Severity severity) override {
        RecordingSink::OnReport(reporter, text, severity);
        return Reporting::NotificationsDefault(m_raise).OnReport(reporter, text, severity);
    }

    // "((hr))" for a report "Code 0x...: text ((hr))".
    std::vector<std::wstring> CheckTexts() const {
        std::vector<std::wstring> texts;
        for (const FoundationTests::Report& report : reports) {
            const size_t start = report.text.find(L"((");
            texts.push_back(start == std::wstring::npos ? report.text : report.text.substr(start));
        }
        return texts;
    }

private:
    bool m_raise;
};

struct ShellStart {
    std::wstring file;
    std::wstring parameters;
    int show;
};

// Records each start through the shell door; with `passOn` it then really
// starts it, else it answers success without a process.
class ShellStartRecorder {
public:
    explicit ShellStartRecorder(bool passOn) : m_previous(System::SetShellExecute(passOn ? &_PassOn : &_Answer)) {
        starts.clear();
    }
    ~ShellStartRecorder() { System::SetShellExecute(m_previous); }
    ShellStartRecorder(const ShellStartRecorder&) = delete;
    ShellStartRecorder& operator=(const ShellStartRecorder&) = delete;

    static inline std::vector<ShellStart> starts;

private:
    static void _Record(const SHELLEXECUTEINFOW* pInfo) {
        starts.push_back({pInfo->lpFile ? pInfo->lpFile : L"", pInfo->lpParameters ? pInfo->lpParameters : L"",
                          pInfo->nShow});
    }
    static BOOL _PassOn(SHELLEXECUTEINFOW* pInfo) {
        _Record(pInfo);
        return ::ShellExecuteExW(pInfo);
    }
    static BOOL _Answer(SHELLEXECUTEINFOW* pInfo) {
        _Record(pInfo);
        pInfo->hInstApp = reinterpret_cast<HINSTANCE>(42);
        pInfo->hProcess = nullptr;
        return TRUE;
    }

    System::ShellExecuteFunction m_previous;
};

struct LogLine {
    std::string level;    // "ERR", "INF", ...
    std::string tag;      // the last 48 characters of "GenericServiceClient:GenericServicePtr:GenericServicePtr@42"
    std::string message;
};

struct ScenarioRun {
    unsigned long exitCode = 0xFFFFFFFF;
    std::vector<LogLine> log;
};

// Runs a child scenario with its log at level 1 in a fresh file and reads
// the lines back. `folder` reaches the child as "ServiceTests_Folder".
inline ScenarioRun RunLoggedScenario(const std::string& scenario, const std::wstring& folder) {
    DebuggingTests::FixedKeysLock lock;  // no test changes the log's registry level meanwhile
    const std::wstring logPath = folder + L"\\scenario.log";
    Testing::EnvironmentChanges environment = DebuggingTests::NoDebuggingVariables();
    environment[Debugging::kLogPathVariable] = logPath;
    environment[Debugging::kLogLevelVariable] = L"1";
    environment[L"ServiceTests_Folder"] = folder;
    const Testing::ChildResult result = Testing::RunChildScenario(scenario, environment, 120000);
    ScenarioRun run;
    if (!result.started || result.timedOut)
        return run;
    run.exitCode = result.exitCode;
    for (const std::string& line : DebuggingTests::SplitLines(Testing::ReadFileBytes(logPath))) {
        if (line.size() < 79)
            continue;
        std::string tag = line.substr(30, 48);
        tag.erase(tag.find_last_not_of(' ') + 1);
        run.log.push_back({line.substr(20, 3), tag, line.substr(79)});
    }
    return run;
}

inline std::wstring ScenarioFolder() {
    return DebuggingTests::ReadVariable(L"ServiceTests_Folder").value_or(L"");
}

}  // namespace ServiceClientTests
