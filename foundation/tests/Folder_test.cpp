#include "foundation/filesystem/Folder.h"

#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using FileSystem::Folder;

TEST(Folder, ItemsInside) {
    EXPECT_EQ(L"", Folder(L"").GetFile(L"x").GetPath());
    EXPECT_EQ(L"C:\\a\\x", Folder(L"C:\\a").GetFile(L"x").GetPath());
    EXPECT_EQ(L"C:\\a\\x", Folder(L"C:\\a\\").GetSubFolder(L"x").GetPath());
    EXPECT_EQ(L"", Folder().GetSubFolder(L"x").GetPath());
}

TEST(Folder, CreateMakesEveryMissingLevel) {
    Testing::TempFolder temp;
    struct Case {
        std::wstring path;
        bool created;
    } cases[] = {
        {temp / L"a\\b\\c", true},
        {temp / L"d\\e\\", true},
        {temp / L"f/g/h", true},
        {temp / L"a\\b", true},  // exists already
        {L"no-separator", false},
        {temp.WriteFile(L"file", "x") + L"\\sub", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(c.created, Folder(c.path).Create());
        EXPECT_EQ(c.created, Testing::PathExists(c.path));
    }
    EXPECT_FALSE(Testing::PathExists(L"no-separator"));
}

}  // namespace
