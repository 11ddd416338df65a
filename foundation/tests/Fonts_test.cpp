#include "foundation/system/Fonts.h"

#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

int CALLBACK TakeFirstFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM name) {
    *reinterpret_cast<std::wstring*>(name) = font->lfFaceName;
    return 0;
}

TEST(Fonts, InstalledFamilyIsFoundAndAnUnknownOneIsNot) {
    std::wstring family;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesW(screen, nullptr, TakeFirstFamily, reinterpret_cast<LPARAM>(&family));
    ReleaseDC(nullptr, screen);
    ASSERT_FALSE(family.empty()) << "the screen lists no font at all";

    EXPECT_TRUE(System::IsFontInstalled(family)) << testing::PrintToString(family);
    const std::wstring unknown = L"No Such Family " + Testing::NewGuidText().substr(1, 8);
    EXPECT_FALSE(System::IsFontInstalled(unknown));
    // A family name that is not zero-terminated is copied first.
    const std::wstring padded = family + L"#tail";
    EXPECT_TRUE(System::IsFontInstalled(wlitestring(padded.c_str(), static_cast<int>(family.size()))));
}

}  // namespace
