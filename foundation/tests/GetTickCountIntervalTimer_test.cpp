#include "foundation/time/GetTickCountIntervalTimer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>

namespace {

using Time::GetTickCountIntervalTimer;

TEST(GetTickCountIntervalTimer, ElapsedIsTheSpanInUnitsTruncatedTowardZero) {
    struct Case {
        const char* name;
        int unit;
        std::uint64_t start;
        std::uint64_t end;
        int expected;
    } cases[] = {
        {"ms forward", 1, 0, 100, 100},
        {"ms backward", 1, 100, 0, -100},
        {"unit 10 truncates", 10, 0, 59, 5},
        {"unit 10 backward truncates toward zero", 10, 59, 0, -5},
        {"same moment", 10, 1234, 1234, 0},
        {"across the 32-bit wrap", 1, 0xFFFFFF00ULL, 0x100000100ULL, 512},
        {"beyond 32 bits holds at the bound", 1, 0, 1ULL << 40, INT_MAX},
        {"beyond 32 bits backward", 1, 1ULL << 40, 0, INT_MIN},
        {"large unit", 1000, 0, 1ULL << 40, 1099511627},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GetTickCountIntervalTimer timer(c.unit);
        EXPECT_EQ(c.expected, timer.Elapsed(c.start, c.end));
    }
}

TEST(GetTickCountIntervalTimer, NowFollowsTheTickCount) {
    const GetTickCountIntervalTimer timer(10);
    const ULONGLONG before = ::GetTickCount64();
    const std::uint64_t now = timer.Now();
    const ULONGLONG after = ::GetTickCount64();
    EXPECT_LE(before, now);
    EXPECT_GE(after, now);
    EXPECT_GE(timer.ElapsedSince(now - 5000), 500);
}

TEST(GetTickCountIntervalTimer, UnitBelowOneIsRefused) {
    for (int unit : {0, -1}) {
        SCOPED_TRACE(unit);
        try {
            GetTickCountIntervalTimer timer(unit);
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string("Invalid unit"), e.what());
        }
    }
}

}  // namespace
