#include "graphics/resourcelib/SystemColorNames.h"

#include "testing/ChildProcess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using ResourceLib::GetSystemColorByName;

TEST(SystemColorNames, EveryNameGivesItsSystemColor) {
    const struct {
        const wchar_t* name;
        int index;
    } cases[] = {
        {L"COLOR_3DDKSHADOW", 21}, {L"COLOR_3DFACE", 15}, {L"COLOR_3DHIGHLIGHT", 20},
        {L"COLOR_3DHILIGHT", 20}, {L"COLOR_3DLIGHT", 22}, {L"COLOR_3DSHADOW", 16},
        {L"COLOR_ACTIVEBORDER", 10}, {L"COLOR_ACTIVECAPTION", 2}, {L"COLOR_APPWORKSPACE", 12},
        {L"COLOR_BACKGROUND", 1}, {L"COLOR_BTNFACE", 15}, {L"COLOR_BTNHIGHLIGHT", 20},
        {L"COLOR_BTNHILIGHT", 20}, {L"COLOR_BTNSHADOW", 16}, {L"COLOR_BTNTEXT", 18},
        {L"COLOR_CAPTIONTEXT", 9}, {L"COLOR_DESKTOP", 1}, {L"COLOR_GRADIENTACTIVECAPTION", 27},
        {L"COLOR_GRADIENTINACTIVECAPTION", 28}, {L"COLOR_GRAYTEXT", 17}, {L"COLOR_HIGHLIGHT", 13},
        {L"COLOR_HIGHLIGHTTEXT", 14}, {L"COLOR_HOTLIGHT", 26}, {L"COLOR_INACTIVEBORDER", 11},
        {L"COLOR_INACTIVECAPTION", 3}, {L"COLOR_INACTIVECAPTIONTEXT", 19}, {L"COLOR_INFOBK", 24},
        {L"COLOR_INFOTEXT", 23}, {L"COLOR_MENU", 4}, {L"COLOR_MENUHILIGHT", 29},
        {L"COLOR_MENUBAR", 30}, {L"COLOR_MENUTEXT", 7}, {L"COLOR_SCROLLBAR", 0},
        {L"COLOR_WINDOW", 5}, {L"COLOR_WINDOWFRAME", 6}, {L"COLOR_WINDOWTEXT", 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        COLORREF color = 0x01020304;
        ASSERT_TRUE(GetSystemColorByName(c.name, color));
        EXPECT_EQ(::GetSysColor(c.index), color);
    }
}

TEST(SystemColorNames, OtherNamesAreNotFoundAndLeaveTheColor) {
    const wlitestring misses[] = {
        L"color_3dface", L"COLOR_3DFACE ", L"COLOR_3DFAC", L"15", L"", wlitestring(),
        wlitestring(L"COLOR_3DFACEX", 11),
    };
    for (const wlitestring& name : misses) {
        SCOPED_TRACE(testing::Message() << "\"" << name.str() << "\"");
        COLORREF color = 0x01020304;
        EXPECT_FALSE(GetSystemColorByName(name, color));
        EXPECT_EQ(0x01020304u, color);
    }
}

TEST(SystemColorNames, NameNeedNotBeZeroTerminated) {
    COLORREF color = 0;
    EXPECT_TRUE(GetSystemColorByName(wlitestring(L"COLOR_3DFACEX", 12), color));
    EXPECT_EQ(::GetSysColor(COLOR_3DFACE), color);
}

// The name table is built on the first call: here several threads make that
// first call together in a fresh process.
TESTING_CHILD_SCENARIO(SystemColorNamesFirstCallOnManyThreads) {
    std::atomic<int> ready(0);
    std::atomic<int> failures(0);
    std::vector<std::thread> threads;
    const int count = 8;
    for (int i = 0; i < count; ++i) {
        threads.emplace_back([&] {
            ++ready;
            while (ready.load() < count)
                std::this_thread::yield();
            COLORREF color = 0;
            if (!GetSystemColorByName(L"COLOR_WINDOWTEXT", color) || color != ::GetSysColor(COLOR_WINDOWTEXT))
                ++failures;
        });
    }
    for (auto& thread : threads)
        thread.join();
    return failures.load();
}

TEST(SystemColorNames, FirstCallOnManyThreadsAtOnce) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("SystemColorNamesFirstCallOnManyThreads")));
}

}  // namespace
