#include "foundation/filesystem/GrowBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A text of `length` characters handed out the way a Windows function does:
// either answering the size it needs, or truncating and answering the
// buffer's size. Records every buffer size it was given.
struct FakeFill {
    size_t length;
    bool truncates;
    std::vector<DWORD> sizes;

    DWORD operator()(wchar_t* buffer, DWORD size) {
        sizes.push_back(size);
        const std::wstring text(length, L'x');
        if (text.size() < size) {
            text.copy(buffer, text.size());
            buffer[text.size()] = L'\0';
            SetLastError(0);
            return static_cast<DWORD>(text.size());
        }
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return truncates ? size : static_cast<DWORD>(text.size() + 1);
    }
};

TEST(GrowBuffer, GrowsUntilTheTextFitsOrTheMaximumIsPassed) {
    struct Case {
        size_t length;
        bool truncates;
        bool fits;
        size_t calls;
    } cases[] = {
        {0, false, true, 1},
        {10, false, true, 1},
        {257, false, true, 1},
        {258, false, true, 1},
        {259, false, true, 2},  // fits with its zero, not with two spare characters
        {300, false, true, 3},
        {300, true, true, 2},
        {259, true, true, 2},
        {260, true, true, 2},   // truncated: the buffer's size is answered
        {5000, true, true, 6},
        {32765, false, true, 3},
        {40000, false, false, 1},
        {40000, true, false, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << (c.truncates ? " truncating" : " answering its size"));
        FakeFill fill{c.length, c.truncates, {}};
        std::wstring result = L"unchanged";
        DWORD lastError = 12345;
        const bool fits = FileSystem::_GrowBufferCall(std::ref(fill), 260, 32767, result, &lastError);
        EXPECT_EQ(c.fits, fits);
        EXPECT_EQ(c.calls, fill.sizes.size());
        if (c.fits) {
            EXPECT_EQ(std::wstring(c.length, L'x'), result);
            EXPECT_EQ(0u, lastError);
        } else {
            EXPECT_EQ(L"unchanged", result);
            EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), lastError);
        }
        for (DWORD size : fill.sizes)
            EXPECT_LE(size, 32768u);
    }
}

TEST(GrowBuffer, SmallInitialSizesAndTheMinimum) {
    FakeFill fill{20, false, {}};
    std::wstring result;
    EXPECT_TRUE(FileSystem::_GrowBufferCall(std::ref(fill), 5, 100, result));
    EXPECT_EQ(32u, fill.sizes.at(0));

    FakeFill longInput{400, false, {}};
    EXPECT_TRUE(FileSystem::_GrowBufferCall(std::ref(longInput), 260, 32767, result, nullptr, 500));
    EXPECT_EQ(std::vector<DWORD>{500}, longInput.sizes);
}

}  // namespace
