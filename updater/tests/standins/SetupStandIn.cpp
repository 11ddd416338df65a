// The setup package's stand-in, served by the tests' loopback server and run
// by the Updater's worker. It notes how it was started in
// "<UpdaterSetupStandIn_RecordFolder>\<process id>.txt" (UTF-16, lines
// "CommandLine=...", "CurrentDirectory=...", "Module=..."), then waits
// "UpdaterSetupStandIn_SleepMs" milliseconds and exits with
// "UpdaterSetupStandIn_ExitCode" (0 when unset).
//
// Bytes appended to the file (the tests pad it to a given size) are ignored
// by the loader.
#include <windows.h>

#include <string>

namespace {

std::wstring Variable(const wchar_t* name) {
    wchar_t buffer[4096];
    const DWORD n = GetEnvironmentVariableW(name, buffer, 4096);
    return n > 0 && n < 4096 ? std::wstring(buffer, n) : std::wstring();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring record = L"CommandLine=" + std::wstring(GetCommandLineW()) + L"\r\nCurrentDirectory=" +
                                directory + L"\r\nModule=" + module + L"\r\n";

    const std::wstring folder = Variable(L"UpdaterSetupStandIn_RecordFolder");
    if (!folder.empty()) {
        const std::wstring path = folder + L"\\" + std::to_wstring(GetCurrentProcessId()) + L".txt";
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written, nullptr);
            CloseHandle(file);
        }
    }
    const std::wstring sleep = Variable(L"UpdaterSetupStandIn_SleepMs");
    if (!sleep.empty())
        Sleep(static_cast<DWORD>(std::wcstoul(sleep.c_str(), nullptr, 10)));
    const std::wstring exitCode = Variable(L"UpdaterSetupStandIn_ExitCode");
    return exitCode.empty() ? 0 : static_cast<int>(std::wcstoul(exitCode.c_str(), nullptr, 10));
}
