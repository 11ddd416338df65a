#include "testing/ChildProcess.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace Testing {
namespace {

const char kScenarioSwitch[] = "--child-scenario=";

std::map<std::string, ScenarioFunction>& Scenarios() {
    static std::map<std::string, ScenarioFunction> scenarios;
    return scenarios;
}

// Copies the current environment with the requested changes applied, as the
// sorted, double-zero-terminated block CreateProcessW expects.
std::vector<wchar_t> BuildEnvironment(const EnvironmentChanges& changes) {
    std::map<std::wstring, std::wstring, bool (*)(const std::wstring&, const std::wstring&)> vars(
        [](const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) < 0; });
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
            std::wstring text = entry;
            size_t eq = text.find(L'=', 1);  // "=C:=C:\..." entries start with '='
            if (eq != std::wstring::npos)
                vars[text.substr(0, eq)] = text.substr(eq + 1);
        }
        FreeEnvironmentStringsW(block);
    }
    for (const auto& [name, value] : changes) {
        if (value)
            vars[name] = *value;
        else
            vars.erase(name);
    }
    std::vector<wchar_t> result;
    for (const auto& [name, value] : vars) {
        std::wstring entry = name + L"=" + value;
        result.insert(result.end(), entry.begin(), entry.end());
        result.push_back(L'\0');
    }
    result.push_back(L'\0');
    return result;
}

}  // namespace

ScenarioRegistration::ScenarioRegistration(const char* name, ScenarioFunction function) {
    Scenarios()[name] = function;
}

ChildResult RunProgram(const std::wstring& program, const std::wstring& arguments,
                       const EnvironmentChanges& environment, unsigned long timeoutMs) {
    ChildResult result;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = program;
    if (path.find(L'\\') == std::wstring::npos) {
        path = self;
        path = path.substr(0, path.rfind(L'\\') + 1) + program;
    }
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    std::vector<wchar_t> block = BuildEnvironment(environment);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        block.data(), nullptr, &si, &pi))
        return result;
    result.started = true;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        result.timedOut = true;
        TerminateProcess(pi.hProcess, 0xDEAD);
        WaitForSingleObject(pi.hProcess, 10000);
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    result.exitCode = code;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

ChildResult RunChildScenario(const std::string& scenario, const EnvironmentChanges& environment,
                             unsigned long timeoutMs) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return RunProgram(self,
                      std::wstring(kScenarioSwitch, kScenarioSwitch + strlen(kScenarioSwitch)) +
                          std::wstring(scenario.begin(), scenario.end()),
                      environment, timeoutMs);
}

::testing::AssertionResult ChildSucceeded(const ChildResult& result, unsigned long expectedExitCode) {
    if (!result.started)
        return ::testing::AssertionFailure() << "the child did not start";
    if (result.timedOut)
        return ::testing::AssertionFailure() << "the child was killed after its timeout";
    if (result.exitCode != expectedExitCode)
        return ::testing::AssertionFailure() << "the child exited with " << result.exitCode << " (0x" << std::hex
                                             << result.exitCode << std::dec << "), expected " << expectedExitCode;
    return ::testing::AssertionSuccess();
}

bool RunScenarioFromCommandLine(int argc, char** argv, int& exitCode) {
    for (int i = 1; i < argc; ++i) {
        if (strncmp(argv[i], kScenarioSwitch, strlen(kScenarioSwitch)) != 0)
            continue;
        auto found = Scenarios().find(argv[i] + strlen(kScenarioSwitch));
        exitCode = found == Scenarios().end() ? 200 : found->second();
        return true;
    }
    return false;
}

}  // namespace Testing
