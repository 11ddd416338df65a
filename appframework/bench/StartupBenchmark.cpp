// What the framework's start-up and exit add to a start: the time from a
// process's start to its first shown main window and out, 10 times, for an
// application of the framework and for a bare program of the MFC subset that
// shows and closes the same window. Prints both means and their ratio (goal:
// 1.5 or less).
//
//   startup_benchmark.exe [runs, default 10]
#include "appframework/application/ApplicationBase.h"

#include <afxwin.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Shows the window, then closes it once it has been painted.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        ::BeginPaint(window, &paint);
        ::EndPaint(window, &paint);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND ShowMainWindow(CWnd& mainWindow) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"StartupBenchmarkMain";
    ::RegisterClassW(&windowClass);
    const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Startup benchmark", WS_OVERLAPPEDWINDOW,
                                          0, 0, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    mainWindow.Attach(window);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    return window;
}

class BareApplication : public CWinApp {
public:
    BOOL InitInstance() override {
        ShowMainWindow(m_mainWindow);
        m_pMainWnd = &m_mainWindow;
        return TRUE;
    }
    int ExitInstance() override {
        m_mainWindow.Detach();
        return CWinApp::ExitInstance();
    }
    CWnd m_mainWindow;
};

// Without a product name nothing is written beside the user's files.
class EmptyProductValues : public ApplicationFramework::IProductValues {
public:
    std::wstring GetValue(ApplicationFramework::ProductValue) override { return std::wstring(); }
};

class FrameworkApplication : public ApplicationFramework::ApplicationBase {
public:
    explicit FrameworkApplication(ApplicationFramework::ProductInfo& info) : ApplicationBase(info, nullptr) {}

    bool Initialize() override { return true; }
    bool StartApplication() override {
        ShowMainWindow(m_mainWindow);
        m_pMainWnd = &m_mainWindow;
        return true;
    }
    void ShutdownApplication() override { m_mainWindow.Detach(); }
    void GetResourcesFolder(std::wstring& folder) override { folder.clear(); }
    void GetConfiguredLanguageName(std::wstring& name) override { name.clear(); }
    void GetCommonDialogsTextA(std::wstring& text) override { text.clear(); }
    void GetCommonDialogsTextB(std::wstring& text) override { text.clear(); }
    bool InitializeResources(const std::wstring&) override { return true; }
    void ShutdownResources() override {}
    void RegisterResourceObserver() override {}
    void UnregisterResourceObserver() override {}
    bool SetResourcesLanguage(const std::wstring&) override { return true; }
    bool SetResourcesSkin(const std::wstring&) override { return true; }
    bool InitializeCommonDialogs() override { return true; }

    CWnd m_mainWindow;
};

int RunChild(const std::string& kind) {
    wchar_t commandLine[] = L"";
    if (kind == "bare") {
        BareApplication app;
        return AfxWinMain(::GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
    }
    EmptyProductValues values;
    ApplicationFramework::ProductInfo info(&values);
    info.Initialize();
    FrameworkApplication app(info);
    return AfxWinMain(::GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
}

// Milliseconds from the start of a child of this program to its end.
double TimeChild(const char* kind) {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(path) + L"\" --child " + std::wstring(kind, kind + strlen(kind));
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return -1;
    ::WaitForSingleObject(process.hProcess, 120000);
    ::QueryPerformanceCounter(&end);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::string(argv[1]) == "--child")
        return RunChild(argv[2]);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    double framework = 0;
    double bare = 0;
    for (int i = 0; i < runs; ++i) {
        framework += TimeChild("framework");
        bare += TimeChild("bare");
    }
    framework /= runs;
    bare /= runs;
    std::printf("framework start-up to window and out: %.1f ms (mean of %d)\n", framework, runs);
    std::printf("bare MFC start-up to window and out:  %.1f ms (mean of %d)\n", bare, runs);
    std::printf("ratio: %.2f (goal: 1.5 or less)\n", bare > 0 ? framework / bare : 0.0);
    return 0;
}
