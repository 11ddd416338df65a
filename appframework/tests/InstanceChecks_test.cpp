// Instances are children of a copy of this test program under a name of its
// own, so the processes of that name are only this test's children. Each
// child is told its product name, and how its window answers the hand-over,
// by its scenario argument.
#include "appframework/application/ApplicationBaseLite.h"

#include "TestApplication.h"
#include "foundation/system/AutoHandle.h"
#include "testing/CopiedProgram.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace {

using AppFrameworkTests::TestApplication;
using AppFrameworkTests::TestProduct;

// Argument fields, separated by "|": product name, answer of the main
// window, answer of its first child ("hung": the thread stops pumping).
std::vector<std::wstring> ArgumentFields() {
    std::vector<std::wstring> fields;
    std::wstring argument = Testing::ScenarioArgument();
    size_t start = 0;
    for (;;) {
        const size_t bar = argument.find(L'|', start);
        fields.push_back(argument.substr(start, bar == std::wstring::npos ? bar : bar - start));
        if (bar == std::wstring::npos)
            return fields;
        start = bar + 1;
    }
}

// Events the parent and its instances share, named after the product (an
// empty product name takes a stand-in).
std::wstring EventName(const std::wstring& product, const wchar_t* what) {
    return L"AppFrameworkTests_" + (product.empty() ? std::wstring(L"unnamed") : product) + L"_" + what;
}

volatile LONG g_handOvers = 0;

LRESULT CALLBACK AnsweringWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ApplicationFramework::kActivateInstanceMessage) {
        if (!::GetParent(window))
            ::InterlockedIncrement(&g_handOvers);
        return ::GetWindowLongPtrW(window, GWLP_USERDATA);
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateAnsweringWindow(HWND parent, LRESULT answer) {
    static const ATOM atom = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = &AnsweringWindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"AppFrameworkTestsInstance";
        return ::RegisterClassW(&windowClass);
    }();
    const HWND window = ::CreateWindowExW(0, MAKEINTATOM(atom), L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10,
                                          parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, answer);
    return window;
}

// Pumps messages until the stop event is set (60 s at most).
void PumpUntil(HANDLE stop) {
    const DWORD end = ::GetTickCount() + 60000;
    while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
        if (::MsgWaitForMultipleObjects(1, &stop, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0)
            return;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
}

// The first instance: takes the instance mutex, shows (hidden) windows that
// answer as told, says it is ready and runs until stopped. Exit code: the
// number of hand-overs its main window got, 100 when it did not get the mutex.
TESTING_CHILD_SCENARIO(RunningInstance) {
    const std::vector<std::wstring> fields = ArgumentFields();
    if (fields.size() != 3)
        return 200;
    TestProduct product(fields[0]);
    TestApplication app(product.info);
    STLHelpers::AutoHandle stop(::CreateEventW(nullptr, TRUE, FALSE, EventName(fields[0], L"stop").c_str()));
    STLHelpers::AutoHandle ready(::CreateEventW(nullptr, TRUE, FALSE, EventName(fields[0], L"ready").c_str()));
    if (!app._CreateInstanceMutex())
        return 100;
    const bool hung = fields[2] == L"hung";
    const HWND main = CreateAnsweringWindow(nullptr, _wtoi(fields[1].c_str()));
    CreateAnsweringWindow(main, _wtoi(fields[2].c_str()));
    ::SetEvent(ready.Get());
    if (hung)
        ::WaitForSingleObject(stop.Get(), 60000);  // no messages are handled meanwhile
    else
        PumpUntil(stop.Get());
    return g_handOvers;
}

// A later instance. Exit code: bit 0 when it got the instance mutex, bit 1
// when a running instance took over.
TESTING_CHILD_SCENARIO(LaterInstance) {
    const std::vector<std::wstring> fields = ArgumentFields();
    TestProduct product(fields[0]);
    TestApplication app(product.info);
    int result = app._CreateInstanceMutex() ? 1 : 0;
    if (app._ActivateRunningInstance())
        result |= 2;
    return result;
}

// Two instances started together. Exit code 1 when this one got the mutex.
TESTING_CHILD_SCENARIO(RacingInstance) {
    const std::wstring name = ArgumentFields()[0];
    TestProduct product(name);
    TestApplication app(product.info);
    STLHelpers::AutoHandle stop(::CreateEventW(nullptr, TRUE, FALSE, EventName(name, L"stop").c_str()));
    STLHelpers::AutoHandle tried(::CreateSemaphoreW(nullptr, 0, 2, EventName(name, L"tried").c_str()));
    const bool created = app._CreateInstanceMutex();
    ::ReleaseSemaphore(tried.Get(), 1, nullptr);
    ::WaitForSingleObject(stop.Get(), 60000);
    return created ? 1 : 0;
}

class InstanceChecksTest : public ::testing::Test {
protected:
    InstanceChecksTest()
        : m_program(Testing::NewGuidText() + L".exe"),
          m_product(L"BrunlowTest" + Testing::NewGuidText()),
          m_stop(::CreateEventW(nullptr, TRUE, FALSE, EventName(m_product, L"stop").c_str())),
          m_ready(::CreateEventW(nullptr, TRUE, FALSE, EventName(m_product, L"ready").c_str())) {}

    // Starts the first instance and waits until its windows are there.
    Testing::StartedChild StartRunningInstance(const std::wstring& mainAnswer, const std::wstring& childAnswer) {
        Testing::StartedChild child =
            m_program.Start("RunningInstance", m_product + L"|" + mainAnswer + L"|" + childAnswer);
        EXPECT_TRUE(child.Started());
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(m_ready.Get(), 60000));
        return child;
    }

    unsigned long RunLaterInstance() { return m_program.Run("LaterInstance", m_product).exitCode; }

    unsigned long StopAndWait(Testing::StartedChild& child) {
        ::SetEvent(m_stop.Get());
        return child.Wait().exitCode;
    }

    Testing::CopiedProgram m_program;
    std::wstring m_product;
    STLHelpers::AutoHandle m_stop;
    STLHelpers::AutoHandle m_ready;
};

TEST_F(InstanceChecksTest, UpdateMutexHeldStopsTheStart) {
    TestProduct product(m_product);
    TestApplication app(product.info);
    EXPECT_TRUE(app._CheckUpdateNotRunning());
    EXPECT_TRUE(app._CheckUpdateNotRunning());  // probing leaves no mutex behind
    {
        STLHelpers::AutoHandle update(::CreateMutexW(nullptr, FALSE, (m_product + L"_UpdateMutex").c_str()));
        EXPECT_FALSE(app._CheckUpdateNotRunning());
    }
    EXPECT_TRUE(app._CheckUpdateNotRunning());

    TestProduct unnamed(L"");
    TestApplication unnamedApp(unnamed.info);
    STLHelpers::AutoHandle update(::CreateMutexW(nullptr, FALSE, L"_UpdateMutex"));
    EXPECT_TRUE(unnamedApp._CheckUpdateNotRunning());
}

TEST_F(InstanceChecksTest, SecondInstanceHandsOverToTheFirst) {
    Testing::StartedChild first = StartRunningInstance(L"16", L"0");
    EXPECT_EQ(2u, RunLaterInstance());  // no mutex, handed over
    EXPECT_EQ(1u, StopAndWait(first));  // one hand-over reached the main window
}

TEST_F(InstanceChecksTest, FirstChildWindowIsAskedWhenTheMainWindowDeclines) {
    Testing::StartedChild first = StartRunningInstance(L"0", L"16");
    EXPECT_EQ(2u, RunLaterInstance());
    EXPECT_EQ(1u, StopAndWait(first));
}

TEST_F(InstanceChecksTest, NobodyAnsweringMeansNoHandOver) {
    Testing::StartedChild first = StartRunningInstance(L"0", L"0");
    EXPECT_EQ(0u, RunLaterInstance());
    EXPECT_EQ(1u, StopAndWait(first));  // asked once, declined
}

TEST_F(InstanceChecksTest, HungInstanceCostsBoundedTime) {
    Testing::StartedChild first = StartRunningInstance(L"16", L"hung");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0u, RunLaterInstance());
    // 2000 ms for the window and 1000 ms for its child, plus a process start
    // under emulation and load; the hung instance itself waits 60 s.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(0u, StopAndWait(first));
}

TEST_F(InstanceChecksTest, OfTwoStartedAtOnceExactlyOneGetsTheMutex) {
    STLHelpers::AutoHandle tried(::CreateSemaphoreW(nullptr, 0, 2, EventName(m_product, L"tried").c_str()));
    Testing::StartedChild a = m_program.Start("RacingInstance", m_product);
    Testing::StartedChild b = m_program.Start("RacingInstance", m_product);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(tried.Get(), 60000));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(tried.Get(), 60000));
    ::SetEvent(m_stop.Get());
    EXPECT_EQ(1u, a.Wait().exitCode + b.Wait().exitCode);
}

TEST_F(InstanceChecksTest, WithoutAProductNameTheProcessListDecides) {
    m_product.clear();
    m_stop.Reset(::CreateEventW(nullptr, TRUE, FALSE, EventName(m_product, L"stop").c_str()));
    m_ready.Reset(::CreateEventW(nullptr, TRUE, FALSE, EventName(m_product, L"ready").c_str()));
    // Alone, the first instance counts as the only one.
    Testing::StartedChild first = StartRunningInstance(L"0", L"0");
    STLHelpers::AutoHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, L"_InstanceMutex"));
    EXPECT_EQ(nullptr, mutex.Get());
    EXPECT_EQ(0u, RunLaterInstance());  // another process of the same program runs
    EXPECT_EQ(1u, StopAndWait(first));  // its window was asked and declined
}

}  // namespace
