// A module with a bitmap whose start-up code leaves a trace: markup images
// taken from it must come out without that code ever running.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH];
        DWORD length = GetEnvironmentVariableW(L"BRUNLOW_PROBE_RECORD", path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            if (file != INVALID_HANDLE_VALUE) {
                DWORD written = 0;
                WriteFile(file, "started", 7, &written, NULL);
                CloseHandle(file);
            }
        }
    }
    return TRUE;
}
