// The product's stand-in for the Updater's tests: it opens (or creates) the
// exit event named by its first argument, sets "<event name>_Ready", and
// waits. With the second argument "exit" it ends with exit code 7 as soon as
// the exit event is set; with "ignore" it pays no attention and ends after
// 60 s with exit code 9 (never 0, the code the Updater terminates with). The tests copy it under the product's file name and read its
// version block (1.4.1.7).
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

const DWORD kLifetimeMs = 60000;
const int kExitCodeOnEvent = 7;
const int kExitCodeAfterLifetime = 9;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
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
