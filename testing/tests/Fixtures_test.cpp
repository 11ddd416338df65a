#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TEST(TempFolder, CreatesFilesAndRemovesEverything) {
    std::wstring root;
    {
        Testing::TempFolder folder;
        root = folder.Path();
        std::wstring file = folder.WriteFile(L"a\\b\\c.txt", "hello");
        EXPECT_EQ("hello", Testing::ReadFileBytes(file));
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(Testing::PathExists(folder.MakeFolder(L"d\\e")));
    }
    EXPECT_FALSE(Testing::PathExists(root));
}

TEST(TempRegistryKey, IsCreatedAndDeletedWithItsSubtree) {
    std::wstring subKey;
    {
        Testing::TempRegistryKey key;
        subKey = key.SubKey();
        HKEY child = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(key.Handle(), L"child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &child, nullptr));
        RegCloseKey(child);
    }
    HKEY gone = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &gone));
}

}  // namespace
