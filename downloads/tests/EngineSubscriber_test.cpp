#include "downloads/engine/EngineSubscriber.h"

#include "EngineStandIn.h"
#include "testing/ChildProcess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

using namespace KavennaEngine;
using DownloadsTests::EngineStandIn;

namespace {

// Observers whose unsubscription has returned; any call into one of them
// afterwards is counted.
CRITICAL_SECTION* DoneLock() {
    static CRITICAL_SECTION* pSection = [] {
        auto* p = new CRITICAL_SECTION;
        ::InitializeCriticalSection(p);
        return p;
    }();
    return pSection;
}
std::set<const void*> g_done;
std::atomic<int> g_lateCalls{0};
std::atomic<int> g_calls{0};

class ProgressView : public Brunlow::EngineSubscriber<ProgressView> {
public:
    explicit ProgressView(const boost::shared_ptr<IEngine>& pEngine) {
        ::EnterCriticalSection(DoneLock());
        g_done.erase(this);
        ::LeaveCriticalSection(DoneLock());
        m_rows.assign(64, 0);
        SubscribeEngine(pEngine);
    }
    ~ProgressView() override {
        UnsubscribeEngine();
        ::EnterCriticalSection(DoneLock());
        g_done.insert(this);
        ::LeaveCriticalSection(DoneLock());
    }
    void OnItemProgress(DownloadItemHandle item) override {
        ::EnterCriticalSection(DoneLock());
        const bool late = g_done.count(this) != 0;
        ::LeaveCriticalSection(DoneLock());
        if (late)
            ++g_lateCalls;
        ++g_calls;
        // Members in use while the engine calls.
        for (int& row : m_rows)
            row += static_cast<int>(item.m_pRaw);
        ::Sleep(0);
    }

private:
    std::vector<int> m_rows;
};

TESTING_CHILD_SCENARIO(ObserverDestroyedWhileProgressFires) {
    EngineStandIn engine;
    if (!engine.pEngine)
        return 2;
    TestDoor::ItemSpec spec;
    const DownloadItemHandle item = engine.door->AddItem(spec);
    std::atomic<bool> stop{false};
    std::thread firing([&] {
        while (!stop)
            engine.door->FireEvent(TestDoor::EventItemProgress, item, {}, 0, true);
    });
    for (int round = 0; round < 100; ++round) {
        auto* pView = new ProgressView(engine.pEngine);
        ::Sleep(round % 3);
        delete pView;
    }
    stop = true;
    firing.join();
    if (g_calls == 0)
        return 3;
    return g_lateCalls == 0 ? 0 : 1;
}

TEST(EngineSubscriber, ObserverIsNeverCalledAfterItsUnsubscriptionReturned) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("ObserverDestroyedWhileProgressFires")));
}

TEST(EngineSubscriber, SubscribesOnceWholeAndUnsubscribes) {
    EngineStandIn engine;
    ASSERT_TRUE(engine.pEngine);
    {
        ProgressView view(engine.pEngine);
        EXPECT_TRUE(view.IsEngineSubscribed());
        TestDoor::ItemSpec spec;
        engine.door->FireEvent(TestDoor::EventItemProgress, engine.door->AddItem(spec), {}, 0, false);
    }
    EXPECT_EQ(1u, engine.Calls(L"Subscribe").size());
    EXPECT_EQ(1u, engine.Calls(L"Unsubscribe").size());
}

// An observer whose callback sends to the unsubscribing thread: the
// unsubscription serves the message and returns.
class SendingView : public Brunlow::EngineSubscriber<SendingView> {
public:
    SendingView(const boost::shared_ptr<IEngine>& pEngine, HWND window) : m_window(window) { SubscribeEngine(pEngine); }
    ~SendingView() override { UnsubscribeEngine(); }
    void OnItemProgress(DownloadItemHandle) override {
        ::SetEvent(entered);
        ::SendMessageW(m_window, WM_NULL, 0, 0);
    }
    HANDLE entered = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);

private:
    HWND m_window;
};

TEST(EngineSubscriber, UnsubscribeServesACallbackBlockedInSendMessage) {
    EngineStandIn engine;
    ASSERT_TRUE(engine.pEngine);
    const HWND window = ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    TestDoor::ItemSpec spec;
    const DownloadItemHandle item = engine.door->AddItem(spec);
    auto* pView = new SendingView(engine.pEngine, window);
    const HANDLE entered = pView->entered;
    std::thread firing([&] { engine.door->FireEvent(TestDoor::EventItemProgress, item, {}, 0, true); });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(entered, 10000));
    const DWORD start = ::GetTickCount();
    delete pView;
    EXPECT_LT(::GetTickCount() - start, 5000u);
    firing.join();
    ::CloseHandle(entered);
    ::DestroyWindow(window);
}

}  // namespace
