// The product's stand-in for the Updater's tests. When
// "UpdaterProductStandIn_RecordFolder" is set it first notes its start in
// "<folder>\<process id>.txt" (UTF-16 lines "Module=...", "Show=<show state
// it was given, -1 for none>"). Then it opens (or creates) the exit event
// named by its first argument, sets "<event name>_Ready", and waits; without
// arguments (a start by the Updater's relaunch) it ends at once with code 2.
// With the second argument "exit" it ends with exit code 7 as soon as the
// exit event is set; with "ignore" it pays no attention and ends after 60 s
// with exit code 9 (never 0, the code the Updater terminates with). The
// tests copy it under the product's file name and read its version block
// (1.4.1.7).
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

const DWORD kLifetimeMs = 60000;
const int kExitCodeOnEvent = 7;
const int kExitCodeAfterLifetime = 9;

void RecordStart() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"UpdaterProductStandIn_RecordFolder", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const std::wstring record = L"Module=" + std::wstring(module) + L"\r\nShow=" + std::to_wstring(show) + L"\r\n";
    const std::wstring path = std::wstring(folder) + L"\\" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RecordStart();
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count < 3)
        return 2;
    const std::wstring eventName = arguments[1];
    const bool exitsOnEvent = std::wstring(arguments[2]) == L"exit";
    LocalFree(arguments);

    HANDLE exitEvent = CreateEventW(nullptr, FALSE, FALSE, eventName.c_str());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, (eventName + L"_Ready").c_str());
    if (!exitEvent || !ready)
        return 3;
    SetEvent(ready);
    if (exitsOnEvent && WaitForSingleObject(exitEvent, kLifetimeMs) == WAIT_OBJECT_0)
        return kExitCodeOnEvent;
    if (!exitsOnEvent)
        Sleep(kLifetimeMs);
    return kExitCodeAfterLifetime;
}
