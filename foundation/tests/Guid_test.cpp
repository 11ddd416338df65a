#include "foundation/system/Guid.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cwctype>
#include <set>
#include <string>

namespace {

TEST(Guid, TextFormsHaveTheirLengthsAndMatchTheGuid) {
    struct Case {
        bool withBraces;
        bool withDashes;
        size_t length;
    } cases[] = {
        {true, true, 38},
        {false, true, 36},
        {false, false, 32},
        {true, false, 34},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "braces " << c.withBraces << ", dashes " << c.withDashes);
        GUID guid = {};
        const std::wstring text = System::CreateGuidString(&guid, c.withBraces, c.withDashes);
        ASSERT_EQ(c.length, text.size());
        EXPECT_EQ(c.withBraces, text.front() == L'{' && text.back() == L'}');
        EXPECT_EQ(c.withDashes, text.find(L'-') != std::wstring::npos);

        wchar_t full[64] = {};
        ASSERT_NE(0, StringFromGUID2(guid, full, 64));
        std::wstring expected = full;
        if (!c.withBraces)
            expected = expected.substr(1, expected.size() - 2);
        if (!c.withDashes) {
            std::wstring plain;
            for (wchar_t ch : expected)
                if (ch != L'-')
                    plain += ch;
            expected = plain;
        }
        EXPECT_EQ(expected, text);
        for (wchar_t ch : text)
            EXPECT_FALSE(std::iswlower(ch)) << "lower-case digit in " << testing::PrintToString(text);
    }
}

TEST(Guid, EveryCallMakesANewGuidAndTheOutGuidIsOptional) {
    std::set<std::wstring> seen;
    for (int i = 0; i < 50; ++i)
        seen.insert(System::CreateGuidString(nullptr, false, true));
    EXPECT_EQ(50u, seen.size());
}

}  // namespace
