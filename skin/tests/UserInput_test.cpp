#include "skin/commongui/UserInput.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace CommonGuiLib;

InputFunctions KeyStateAnswering(SHORT answer) {
    InputFunctions table;
    table.getKeyState = [answer](int) { return answer; };
    return table;
}

// No real key answers 0x1234: its bits below the high one say only whether
// the key is toggled.
const SHORT kFake = 0x1234;

TEST(UserInput, ScopedTableIsUsedAndThePreviousOneComesBack) {
    EXPECT_NE(kFake, Input().getKeyState(VK_LBUTTON));
    {
        ScopedInputFunctions outer(KeyStateAnswering(kFake));
        EXPECT_EQ(kFake, Input().getKeyState(VK_LBUTTON));
        {
            ScopedInputFunctions inner(KeyStateAnswering(7));
            EXPECT_EQ(7, Input().getKeyState(VK_LBUTTON));
        }
        EXPECT_EQ(kFake, Input().getKeyState(VK_LBUTTON));
    }
    EXPECT_NE(kFake, Input().getKeyState(VK_LBUTTON));
}

TEST(UserInput, RealCallsComeBackWhenTheTestFailsHalfWay) {
    try {
        ScopedInputFunctions scoped(KeyStateAnswering(kFake));
        throw std::runtime_error("failed half-way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_NE(kFake, Input().getKeyState(VK_LBUTTON));
}

TEST(UserInput, MissingEntriesFallBackToTheRealCalls) {
    InputFunctions table;
    POINT fakePoint = {123, 456};
    table.getCursorPos = [&](POINT* point) {
        *point = fakePoint;
        return TRUE;
    };
    ScopedInputFunctions scoped(table);
    POINT point = {};
    ASSERT_TRUE(Input().getCursorPos(&point));
    EXPECT_EQ(123, point.x);
    EXPECT_EQ(456, point.y);
    // The rest are the Win32 calls.
    ASSERT_TRUE(Input().windowFromPoint);
    ASSERT_TRUE(Input().childWindowFromPointEx);
    ASSERT_TRUE(Input().trackMouseEvent);
    ASSERT_TRUE(Input().setCapture);
    ASSERT_TRUE(Input().releaseCapture);
    EXPECT_EQ(nullptr, Input().childWindowFromPointEx(nullptr, POINT{0, 0}, CWP_ALL));
    EXPECT_FALSE(Input().getKeyState(VK_LBUTTON) & 0x8000);
}

}  // namespace
