#include "CopiedProgram.h"

#include <windows.h>

#include <stdexcept>

namespace ResourceTesting {

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

CopiedProgram::CopiedProgram() {
    const std::wstring source = ModulePath();
    const std::wstring bin = m_tree.MakeFolder(L"bin");
    m_program = bin + L"\\" + NameOf(source);
    if (!::CopyFileW(source.c_str(), m_program.c_str(), FALSE))
        throw std::runtime_error("cannot copy the test program");
    for (const wchar_t* dll : kRuntimeDlls) {
        const std::wstring from = FolderOf(source) + L"\\" + dll;
        if (!::CopyFileW(from.c_str(), (bin + L"\\" + dll).c_str(), FALSE))
            throw std::runtime_error("cannot copy a runtime DLL beside the test program");
    }
}

Testing::ChildResult CopiedProgram::Run(const std::string& scenario, const std::wstring& argument,
                                        unsigned long timeoutMs) const {
    Testing::ChildResult result;
    std::wstring commandLine = L"\"" + m_program + L"\" --child-scenario=" +
                               std::wstring(scenario.begin(), scenario.end());
    if (!argument.empty())
        commandLine += L" \"" + std::wstring(kArgumentSwitch) + argument + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(m_program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          BinFolder().c_str(), &startup, &process))
        return result;
    result.started = true;
    if (::WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        result.timedOut = true;
        ::TerminateProcess(process.hProcess, 0xDEAD);
        ::WaitForSingleObject(process.hProcess, 10000);
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    result.exitCode = code;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return result;
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

}  // namespace ResourceTesting
