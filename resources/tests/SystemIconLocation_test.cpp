#include "resources/resourcelib/SystemIconLocation.h"

#include "foundation/filesystem/ShellFolders.h"
#include "graphics/commongui/SharedBitmaps.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ResourceLib::ExtractIconFromLocation;
using ResourceLib::ParseIconLocation;

// The module beside the tests that holds four icons; index 3 is green.
std::wstring TestIconFile() {
    return FileSystem::GetModuleFolder(nullptr).GetFile(L"resources_test_icons.dll").GetPath();
}

// The colour of the icon's centre pixel, as 0x00RRGGBB.
COLORREF CenterColor(const CommonGuiLib::SharedIcon& icon, int size) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::DrawIconEx(dc, 0, 0, icon->GetHandle(), size, size, 0, nullptr, DI_NORMAL);
    const COLORREF color = ::GetPixel(dc, size / 2, size / 2);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return color;
}

TEST(SystemIconLocation, ParsesFileAndIndexAtTheLastComma) {
    const struct {
        const wchar_t* location;
        bool ok;
        const wchar_t* file;
        int index;
    } cases[] = {
        {L"shell32.dll,3", true, L"shell32.dll", 3},
        {L"C:\\a,b\\x.dll,12", true, L"C:\\a,b\\x.dll", 12},
        {L"x.dll,,0", true, L"x.dll,", 0},
        {L"x.dll,007", true, L"x.dll", 7},
        {L"x.dll,2147483647", true, L"x.dll", 2147483647},
        {L"x.dll,2147483648", false, L"", 0},
        {L"x.dll,99999999999999999999", false, L"", 0},
        {L"x.dll,-3", false, L"", 0},
        {L"x.dll, 3", false, L"", 0},
        {L"x.dll,3 ", false, L"", 0},
        {L"x.dll,", false, L"", 0},
        {L",3", false, L"", 0},
        {L"x.dll", false, L"", 0},
        {L"", false, L"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.location << "\"");
        std::wstring file;
        int index = -1;
        EXPECT_EQ(c.ok, ParseIconLocation(c.location, file, index));
        if (c.ok) {
            EXPECT_EQ(std::wstring(c.file), file);
            EXPECT_EQ(c.index, index);
        }
    }
}

TEST(SystemIconLocation, ExtractsTheSmallOrLargeIconOfTheIndex) {
    const std::wstring location = TestIconFile() + L",3";
    const CommonGuiLib::SharedIcon small = ExtractIconFromLocation(location, 16, 16);
    ASSERT_FALSE(CommonGuiLib::IsNullGDIObject(small));
    EXPECT_EQ(16, CommonGuiLib::GetIconSize(small).cx);
    EXPECT_EQ(16, CommonGuiLib::GetIconSize(small).cy);
    EXPECT_EQ(RGB(0, 255, 0), CenterColor(small, 16));

    const CommonGuiLib::SharedIcon large = ExtractIconFromLocation(location, 32, 32);
    ASSERT_FALSE(CommonGuiLib::IsNullGDIObject(large));
    EXPECT_EQ(32, CommonGuiLib::GetIconSize(large).cx);

    // Index 0 is one of the red and blue icons.
    EXPECT_EQ(RGB(255, 0, 0), CenterColor(ExtractIconFromLocation(TestIconFile() + L",0", 16, 16), 16));
}

TEST(SystemIconLocation, OtherSizesIndicesAndFilesGiveNothing) {
    const std::wstring file = TestIconFile();
    const struct {
        std::wstring location;
        int width, height;
    } cases[] = {
        {file + L",3", 24, 24},
        {file + L",3", 16, 32},
        {file + L",4", 16, 16},
        {file + L",-3", 16, 16},
        {file + L",4294967293", 16, 16},
        {file + L"missing.dll,0", 16, 16},
        {file, 16, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.location.c_str() << " at " << c.width << "x" << c.height);
        EXPECT_TRUE(CommonGuiLib::IsNullGDIObject(ExtractIconFromLocation(c.location, c.width, c.height)));
    }
}

}  // namespace
