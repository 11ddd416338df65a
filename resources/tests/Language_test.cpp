#include "resources/resourcelib/Language.h"

#include <gtest/gtest.h>

namespace {

TEST(Language, KeepsWhatItWasMadeWith) {
    std::wstring name = L"de-de";
    ResourceLib::Language german(name, L"Deutsch", 0x0407);
    name = L"changed";
    EXPECT_EQ(L"de-de", german.GetName());
    EXPECT_EQ(L"Deutsch", german.GetTitle());
    EXPECT_EQ(0x0407u, german.GetLocale());

    // A part of a longer text, and no locale.
    const wchar_t text[] = L"en-us,rest";
    ResourceLib::Language english(wlitestring(text, 5), L"", 0);
    EXPECT_EQ(L"en-us", english.GetName());
    EXPECT_EQ(L"", english.GetTitle());
    EXPECT_EQ(0u, english.GetLocale());
}

}  // namespace
