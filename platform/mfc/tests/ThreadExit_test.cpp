// GUI threads come and go (dialogs of worker threads, the tips updater):
// each one's window maps and hooks must be freed while its memory is valid.
#include "afxwin.h"

#include "MfcTestSupport.h"
#include "testing/ChildProcess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace MfcTests;

namespace {

// Run directly by a ctest entry with Wine's heap checks on as well.
TESTING_CHILD_SCENARIO(PopupThreadsEnding) {
    std::atomic<int> wrong{0};
    for (int round = 0; round < 100; ++round) {
        std::thread gui([&] {
            CWnd popup;
            if (!popup.CreateEx(0, nullptr, L"Popup", WS_POPUP | WS_VISIBLE, Area(), nullptr, 0)) {
                ++wrong;
                return;
            }
            PumpPending();
            if (CWnd::FromHandlePermanent(popup.m_hWnd) != &popup)
                ++wrong;
            if (!popup.DestroyWindow())
                ++wrong;
            PumpPending();
        });
        gui.join();
    }
    return wrong == 0 ? 0 : 1;
}

TEST(ThreadExit, ThreadsThatMadeAWindowEndCleanly) {
    // A generous bound: the rounds crawl on a loaded machine under emulation.
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario(
        "PopupThreadsEnding", {}, 300000)));
}

}  // namespace
