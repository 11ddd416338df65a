#include "foundation/debugging/LogLevel.h"
#include "foundation/debugging/LogLine.h"
#include "foundation/debugging/SourceTag.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace Debugging;

SYSTEMTIME SampleTime() {
    SYSTEMTIME t = {};
    t.wYear = 2013;
    t.wMonth = 5;
    t.wDay = 4;
    t.wHour = 17;
    t.wMinute = 3;
    t.wSecond = 9;
    return t;
}

TEST(LogLine, LevelTexts) {
    struct Case {
        int level;
        const wchar_t* text;
    } cases[] = {{0, L"DIS"}, {1, L"DBG"}, {2, L"INF"}, {3, L"WRN"}, {4, L"ERR"},
                 {5, L"CRT"}, {6, L"OBL"}, {7, L"UNK"}, {9, L"UNK"}, {-1, L"UNK"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        EXPECT_STREQ(c.text, GetLevelText(c.level));
    }
}

TEST(LogLine, HeaderColumns) {
    const std::wstring line = FormatLineAt(L"hello", L"Brunlow:CBrunlowView:OnCancel@15", LevelWRN, true,
                                           SampleTime(), 88);
    EXPECT_EQ(L"2013.05.04 17:03:09 WRN 88    Brunlow:CBrunlowView:OnCancel@15" + std::wstring(16, L' ') +
                  L" hello\r\n",
              line);
    EXPECT_EQ(79u, line.find(L"hello"));
}

TEST(LogLine, ContinuationLinesUpUnderTheText) {
    EXPECT_EQ(std::wstring(79, L' ') + L"second\r\n",
              FormatLineAt(L"second", L"tag", LevelINF, false, SampleTime(), 1));
    EXPECT_EQ(std::wstring(79, L' ') + L"\r\n", FormatLineAt(L"", L"tag", LevelINF, false, SampleTime(), 1));
}

TEST(LogLine, ThreadField) {
    struct Case {
        DWORD id;
        const wchar_t* field;
    } cases[] = {{88, L"88   "}, {12345, L"12345"}, {123456, L"12345"}, {0, L"0    "}, {4294967295u, L"42949"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.field, FormatThreadField(c.id));
    }
}

TEST(LogLine, SourceField) {
    const std::wstring sixty = L"ABCDEFGHIJKLM" + std::wstring(47, L'x');
    const std::wstring fortyEight(48, L'y');
    struct Case {
        const char* name;
        std::wstring source;
        std::wstring field;
    } cases[] = {
        {"ten characters", L"0123456789", L"0123456789" + std::wstring(38, L' ')},
        {"exactly 48", fortyEight, fortyEight},
        {"49 characters", L"z" + fortyEight, L"?" + fortyEight.substr(1)},
        {"60 characters", sixty, L"?" + sixty.substr(13)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.field, FormatSourceField(c.source));
    }
}

TEST(LogLine, EmptySourceShowsTheExecutableName) {
    const std::wstring expected = L"foundation_tests.exe" + std::wstring(48 - 20, L' ');
    EXPECT_EQ(expected, FormatSourceField(wlitestring()));
    EXPECT_EQ(expected, FormatSourceField(L""));
    const wchar_t startsWithZero[] = {L'\0', L'a', L'b'};
    EXPECT_EQ(expected, FormatSourceField(wlitestring(startsWithZero, 3)));
}

TEST(LogLine, CurrentTimeAndThread) {
    SYSTEMTIME before = {};
    ::GetLocalTime(&before);
    const std::wstring line = FormatLine(L"text", L"tag", 9, true);
    ASSERT_EQ(79u + 4 + 2, line.size());
    EXPECT_EQ(FormatLineTimeStamp(before).substr(0, 10), line.substr(0, 10));  // the date, barring midnight
    EXPECT_EQ(L" UNK ", line.substr(19, 5));
    EXPECT_EQ(FormatThreadField(::GetCurrentThreadId()), line.substr(24, 5));
    EXPECT_EQ(L"text\r\n", line.substr(79));
}

TEST(SourceTag, QualifiedNames) {
    struct Case {
        const char* signature;
        const char* name;
    } cases[] = {
        {"void ResourceLib::IManager::SetLanguageVerify(int)", "ResourceLib::IManager::SetLanguageVerify"},
        {"A::B::C::C()", "A::B::C::C"},
        {"A::B::C::~C()", "A::B::C::~C"},
        {"virtual bool A::B::C::Write(const std::wstring&, int) const", "A::B::C::Write"},
        {"static std::vector<int, std::allocator<int> > A::B::C::Get()", "A::B::C::Get"},
        {"A::B::C::Write(const std::wstring&, int) const::<lambda(int)>", "A::B::C::Write::<lambda>"},
        {"A::B::C::operator bool() const", "A::B::C::operator bool"},
        {"void A::B::C::operator()(int)", "A::B::C::operator()"},
        {"bool A::operator<(const A&) const", "A::operator<"},
        {"T A::B::C::Tm(T) [with T = int]", "A::B::C::Tm"},
        {"void A::B::D<T>::F() [with T = std::__cxx11::basic_string<char>]", "A::B::D<T>::F"},
        {"void {anonymous}::Helper()", "{anonymous}::Helper"},
        {"int main()", "main"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signature);
        EXPECT_EQ(c.name, QualifiedFunctionName(c.signature));
    }
}

namespace Sample {
struct Caller {
    static std::wstring Tag() { return MakeSourceTag(__PRETTY_FUNCTION__, __LINE__); }
};
}  // namespace Sample

TEST(SourceTag, ColonsAndLine) {
    EXPECT_EQ(L"ResourceLib:IManager:SetLanguageVerify@15",
              MakeSourceTag("void ResourceLib::IManager::SetLanguageVerify(int)", 15));
    const std::wstring tag = Sample::Caller::Tag();
    EXPECT_EQ(0u, tag.find(L"{anonymous}:Sample:Caller:Tag@")) << tag;
}

}  // namespace
