#include "appframework/updates/ExitEventWatcher.h"

#include "TestApplication.h"
#include "testing/ChildProcess.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>

namespace {

using ApplicationFramework::ExitEventWatcher;
using ApplicationFramework::kExitEventMessage;

const wchar_t kProductVariable[] = L"BRUNLOW_EXIT_EVENT_PRODUCT";

// The main window of the scenarios: counts the exit-event message.
class CountingWindow : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kExitEventMessage) {
            ++count;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

    int count = 0;
};

std::wstring ScenarioProduct() {
    wchar_t name[128] = {};
    ::GetEnvironmentVariableW(kProductVariable, name, 128);
    return name;
}

// Lets sent messages in for the time given, or until the count is reached.
void Pump(const CountingWindow& window, int untilCount, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds && window.count < untilCount) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
}

bool Signal(const std::wstring& product) {
    HANDLE event = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, (product + L"_ExitEvent").c_str());
    if (event == nullptr)
        return false;
    const bool set = ::SetEvent(event) != FALSE;
    ::CloseHandle(event);
    return set;
}

// The exit code names the first check that failed; the watcher stays
// installed until the process ends on its own.
TESTING_CHILD_SCENARIO(ExitEventReachesMainWindow) {
    AppFrameworkTests::TestProduct product(ScenarioProduct());
    CWinApp app;
    ExitEventWatcher::Install();
    ExitEventWatcher::Install();
    CountingWindow window;
    if (!window.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0))
        return 10;
    // No main window yet: the signal is used up without a message.
    if (!Signal(product.info.GetProductName()))
        return 11;
    Pump(window, 1, 800);
    if (window.count != 0)
        return 12;
    app.m_pMainWnd = &window;
    if (!Signal(product.info.GetProductName()))
        return 13;
    Pump(window, 1, 10000);
    Pump(window, 2, 500);
    if (window.count != 1)
        return 14;
    if (!Signal(product.info.GetProductName()))
        return 15;
    Pump(window, 2, 10000);
    Pump(window, 3, 500);
    if (window.count != 2)
        return 16;
    app.m_pMainWnd = nullptr;
    window.DestroyWindow();
    return 0;
}

TESTING_CHILD_SCENARIO(ExitEventMadeFirstIsWatched) {
    AppFrameworkTests::TestProduct product(ScenarioProduct());
    HANDLE ownEvent = ::CreateEventW(nullptr, FALSE, FALSE, (product.info.GetProductName() + L"_ExitEvent").c_str());
    if (ownEvent == nullptr)
        return 10;
    CWinApp app;
    CountingWindow window;
    if (!window.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0))
        return 11;
    app.m_pMainWnd = &window;
    ExitEventWatcher::Install();
    ::SetEvent(ownEvent);
    Pump(window, 1, 10000);
    Pump(window, 2, 500);
    const int count = window.count;
    app.m_pMainWnd = nullptr;
    window.DestroyWindow();
    ::CloseHandle(ownEvent);
    return count == 1 ? 0 : 12;
}

TEST(ExitEventWatcher, EachSignalSendsOneMessageToTheMainWindow) {
    const Testing::EnvironmentChanges environment{{kProductVariable, L"ExitTest" + Testing::NewGuidText()}};
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("ExitEventReachesMainWindow", environment)));
}

TEST(ExitEventWatcher, WatchesTheEventTheUpdaterMadeFirst) {
    const Testing::EnvironmentChanges environment{{kProductVariable, L"ExitTest" + Testing::NewGuidText()}};
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("ExitEventMadeFirstIsWatched", environment)));
}

}  // namespace
