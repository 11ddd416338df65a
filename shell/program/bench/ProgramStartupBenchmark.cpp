// Not a test: how long Brunlow.exe takes from CreateProcess until its main
// window is visible and fully painted, against a bare Win32 program that
// shows an 865 x 600 window. Five runs each; prints both medians and their
// ratio (goal: 1.5 or less).
//
//   build/winerun build/bin/program_startup_benchmark.exe [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        ::FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH)));
        ::EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int RunBareWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &BareWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BareStartupWindow";
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 865, 600, nullptr, nullptr, windowClass.hInstance, nullptr);
    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindPaintedWindow(HWND window, LPARAM parameter) {
    Search& search = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER))
        return TRUE;
    RECT rect;
    if (::GetWindowRect(window, &rect) && rect.right - rect.left >= 400 && !::GetUpdateRect(window, nullptr, FALSE)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds until the process shows its painted window; -1 when it does
// not within a minute.
double TimeOneStart(const std::wstring& commandLine, const std::wstring& folder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    LARGE_INTEGER frequency, start, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return -1;
    double elapsed = -1;
    for (;;) {
        Search search = {process.dwProcessId, nullptr};
        ::EnumWindows(&FindPaintedWindow, reinterpret_cast<LPARAM>(&search));
        ::QueryPerformanceCounter(&now);
        const double ms = 1000.0 * (now.QuadPart - start.QuadPart) / frequency.QuadPart;
        if (search.found) {
            elapsed = ms;
            break;
        }
        if (ms > 60000 || ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        ::Sleep(5);
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wcscmp(argv[1], L"--bare-window") == 0)
        return RunBareWindow();
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder.resize(folder.find_last_of(L'\\'));
    // The program lies in its own folder beside the tests' bin folder.
    const std::wstring programFolder = folder.substr(0, folder.find_last_of(L'\\')) + L"\\program";
    const std::wstring program = L"\"" + programFolder + L"\\Brunlow.exe\"";
    const std::wstring bare = L"\"" + std::wstring(self) + L"\" --bare-window";

    std::vector<double> programTimes, bareTimes;
    for (int i = 0; i < runs; ++i) {
        programTimes.push_back(TimeOneStart(program, programFolder));
        bareTimes.push_back(TimeOneStart(bare, folder));
        std::printf("run %d: Brunlow.exe %.0f ms, bare window %.0f ms\n", i + 1, programTimes.back(), bareTimes.back());
    }
    const double programMedian = Median(programTimes);
    const double bareMedian = Median(bareTimes);
    std::printf("median Brunlow.exe: %.0f ms\nmedian bare window: %.0f ms\nratio: %.2f (goal 1.5 or less)\n",
                programMedian, bareMedian, bareMedian > 0 ? programMedian / bareMedian : -1.0);
    return programMedian > 0 && bareMedian > 0 ? 0 : 1;
}
