#include "foundation/system/Locale.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Locale, PrimaryLanguageChoosesTheLocaleName) {
    struct Case {
        LANGID id;
        const wchar_t* name;
    } cases[] = {
        {0x0406, L"da-dk"}, {0x0407, L"de-de"}, {0x0807, L"de-de"}, {0x040C, L"fr-fr"}, {0x0C0C, L"fr-fr"},
        {0x0411, L"ja-jp"}, {0x0409, L"en-us"}, {0x0809, L"en-us"}, {0x0416, L"en-us"}, {0x0000, L"en-us"},
        // Only the low ten bits are the primary language.
        {0xFC07, L"de-de"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.id);
        EXPECT_EQ(c.name, System::LangIdToLocaleName(c.id));
    }
}

TEST(Locale, UiLanguageComesFromTheThreadOrTheUserDefault) {
    const FARPROC threadLanguage = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadUILanguage");
    ASSERT_NE(nullptr, threadLanguage) << "Wine exports GetThreadUILanguage";
    EXPECT_EQ(reinterpret_cast<LANGID(WINAPI*)()>(threadLanguage)(), System::_GetUILanguageId(L"kernel32.dll"));
    EXPECT_EQ(System::LangIdToLocaleName(System::_GetUILanguageId(L"kernel32.dll")), System::GetUILanguageName());

    // A system without the function: the user's default locale.
    EXPECT_EQ(LOWORD(GetUserDefaultLCID()), System::_GetUILanguageId(L"user32.dll"));
    EXPECT_EQ(LOWORD(GetUserDefaultLCID()), System::_GetUILanguageId(L"no-such-module.dll"));
}

}  // namespace
