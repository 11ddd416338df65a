#include "testing/CopiedProgram.h"

#include <windows.h>

#include <stdexcept>
#include <utility>

namespace Testing {

namespace {

const wchar_t kArgumentSwitch[] = L"--scenario-argument=";
const wchar_t* const kRuntimeDlls[] = {L"libstdc++-6.dll", L"libgcc_s_dw2-1.dll", L"libwinpthread-1.dll"};

std::wstring ModulePath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.rfind(L'\\'));
}

std::wstring NameOf(const std::wstring& path) {
    return path.substr(path.rfind(L'\\') + 1);
}

}  // namespace

StartedChild::StartedChild(StartedChild&& other) noexcept
    : m_process(std::exchange(other.m_process, nullptr)), m_id(other.m_id) {}

StartedChild& StartedChild::operator=(StartedChild&& other) noexcept {
    if (this != &other) {
        Close();
        m_process = std::exchange(other.m_process, nullptr);
        m_id = other.m_id;
    }
    return *this;
}

StartedChild::~StartedChild() { Close(); }

void StartedChild::Close() {
    if (!m_process)
        return;
    if (::WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0) {
        ::TerminateProcess(m_process, 0xDEAD);
        ::WaitForSingleObject(m_process, 10000);
    }
    ::CloseHandle(m_process);
    m_process = nullptr;
}

ChildResult StartedChild::Wait(unsigned long timeoutMs) {
    ChildResult result;
    if (!m_process)
        return result;
    result.started = true;
    if (::WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0) {
        result.timedOut = true;
        ::TerminateProcess(m_process, 0xDEAD);
        ::WaitForSingleObject(m_process, 10000);
    }
    DWORD code = 0;
    ::GetExitCodeProcess(m_process, &code);
    result.exitCode = code;
    return result;
}

CopiedProgram::CopiedProgram(const std::wstring& programName) {
    const std::wstring source = ModulePath();
    const std::wstring bin = m_tree.MakeFolder(L"bin");
    m_program = bin + L"\\" + (programName.empty() ? NameOf(source) : programName);
    if (!::CopyFileW(source.c_str(), m_program.c_str(), FALSE))
        throw std::runtime_error("cannot copy the test program");
    for (const wchar_t* dll : kRuntimeDlls)
        CopyBeside(dll);
}

void CopiedProgram::CopyBeside(const std::wstring& fileName) const {
    const std::wstring from = FolderOf(ModulePath()) + L"\\" + fileName;
    if (!::CopyFileW(from.c_str(), (BinFolder() + L"\\" + fileName).c_str(), FALSE))
        throw std::runtime_error("cannot copy a file beside the test program");
}

StartedChild CopiedProgram::Start(const std::string& scenario, const std::wstring& argument) const {
    std::wstring commandLine = L"\"" + m_program + L"\" --child-scenario=" +
                               std::wstring(scenario.begin(), scenario.end());
    if (!argument.empty())
        commandLine += L" \"" + std::wstring(kArgumentSwitch) + argument + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(m_program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          BinFolder().c_str(), &startup, &process))
        return StartedChild();
    ::CloseHandle(process.hThread);
    return StartedChild(process.hProcess, process.dwProcessId);
}

ChildResult CopiedProgram::Run(const std::string& scenario, const std::wstring& argument,
                               unsigned long timeoutMs) const {
    return Start(scenario, argument).Wait(timeoutMs);
}

std::wstring ScenarioArgument() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::wstring found;
    const std::wstring prefix = kArgumentSwitch;
    for (int i = 1; arguments && i < count; ++i) {
        const std::wstring argument = arguments[i];
        if (argument.compare(0, prefix.size(), prefix) == 0)
            found = argument.substr(prefix.size());
    }
    ::LocalFree(arguments);
    return found;
}

bool RedirectCurrentUser(const std::wstring& subKey) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    const bool redirected = ::RegOverridePredefKey(HKEY_CURRENT_USER, key) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return redirected;
}

}  // namespace Testing
