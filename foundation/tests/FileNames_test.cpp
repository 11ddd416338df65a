#include "foundation/filesystem/FileNames.h"

#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace FileSystem;

TEST(FileNames, TrailingBackslashes) {
    struct Case {
        std::wstring text, added, stripped;
    } cases[] = {
        {L"", L"\\", L""},
        {L"C:\\", L"C:\\", L"C:"},
        {L"C:\\a", L"C:\\a\\", L"C:\\a"},
        {L"C:\\a\\\\", L"C:\\a\\\\", L"C:\\a\\"},  // only one goes
        {L"C:/a/", L"C:/a/\\", L"C:/a/"},         // a slash is no backslash here
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        std::wstring inPlace = c.text;
        AddTrailingBackslash(inPlace);
        EXPECT_EQ(c.added, inPlace);
        EXPECT_EQ(c.added, WithTrailingBackslash(c.text));
        EXPECT_EQ(c.stripped, StripTrailingBackslash(c.text));
    }
}

TEST(FileNames, ExtensionsCombinationsAndFolderParts) {
    struct ExtensionCase {
        std::wstring path, extension, result;
    } extensions[] = {
        {L"C:\\f", L".txt", L"C:\\f.txt"}, {L"C:\\f.", L"txt", L"C:\\f.txt"}, {L"C:\\f", L"txt", L"C:\\f.txt"},
        {L"C:\\f\\", L"txt", L"C:\\f.txt"}, {L"C:\\f", L"", L"C:\\f"},         {L"C:\\f\\", L"", L"C:\\f\\"},
        {L"f.tar", L"gz", L"f.tar.gz"},
    };
    for (const ExtensionCase& c : extensions) {
        SCOPED_TRACE(testing::PrintToString(c.path + L" + " + c.extension));
        EXPECT_EQ(c.result, AppendExtension(c.path, c.extension));
    }

    EXPECT_EQ(L"", _CombinePath(L"", L"name"));
    EXPECT_EQ(L"C:\\a\\name", _CombinePath(L"C:\\a", L"name"));
    EXPECT_EQ(L"C:\\a\\name", _CombinePath(L"C:\\a\\", L"name"));

    struct FolderCase {
        std::wstring path, folder;
    } folders[] = {
        {L"C:\\a\\", L"C:\\"}, {L"C:\\", L""},           {L"name", L""},           {L"C:\\a\\b.txt", L"C:\\a\\"},
        {L"\\x", L"\\"},         {L"C:\\a\\b\\", L"C:\\a\\"}, {L"\\\\srv\\share\\f", L"\\\\srv\\share\\"},
    };
    for (const FolderCase& c : folders) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(c.folder, _GetFolderPart(c.path));
    }
}

TEST(FileNames, DriveRoots) {
    struct Case {
        std::wstring text;
        bool root;
    } cases[] = {
        {L"C:", true},    {L"C:\\", true}, {L"C:/", true},   {L"?:", true},  // the letter is not examined
        {L"C", false},    {L"", false},    {L"C:\\a", false}, {L"C:a", false}, {L"CC\\", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(c.root, IsDriveRoot(c.text));
    }
}

TEST(FileNames, FolderLevelsStartBelowTheRoot) {
    using Levels = std::vector<std::wstring>;
    EXPECT_EQ(2u, PathNamesStart(L"C:\\a"));
    EXPECT_EQ(14u, PathNamesStart(L"\\\\server\\share\\a"));
    EXPECT_EQ(0u, PathNamesStart(L"a\\b"));
    EXPECT_EQ((Levels{L"C:\\a", L"C:\\a\\b"}), FolderLevels(L"C:\\a\\b\\"));
    EXPECT_EQ((Levels{L"C:\\a", L"C:\\a//b"}), FolderLevels(L"C:\\a//b"));
    EXPECT_EQ((Levels{L"\\\\server\\share\\a"}), FolderLevels(L"\\\\server\\share\\a"));
    EXPECT_EQ(Levels{}, FolderLevels(L"C:\\"));
}

TEST(FileNames, NormalizePath) {
    struct Case {
        std::wstring path, base;
        DWORD flags;
        std::wstring result;
    } cases[] = {
        {L"..\\x", L"C:\\a", 7, L"C:\\x"},
        {L"x\\..\\y", L"C:\\a", 7, L"C:\\a\\y"},
        {L"\\\\/x", L"C:\\a", 7, L"C:\\a\\x"},  // leading separators go before the base is put in front
        {L"C:\\a\\b\\..\\..\\c", L"", 2, L"C:\\c"},
        {L"C:/a/b/../c/", L"", 7, L"C:\\a\\c"},
        {L"C:/a/b/", L"", 1, L"C:\\a\\b\\"},
        {L"C:\\a\\b\\", L"", 4, L"C:\\a\\b"},
        {L"C:\\a\\.\\b", L"", 0, L"C:\\a\\b"},
        // Dots inside a name are no parent step: the base stays.
        {L"Wow...mp4", L"C:\\a", 7, L"C:\\a\\Wow...mp4"},
        {L"x..y\\z", L"C:\\a", 7, L"C:\\a\\x..y\\z"},
        {L"v1..2\\..\\z", L"C:\\a", 7, L"C:\\a\\z"},
        {L"C:\\..\\x", L"", 7, L"C:\\x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path + L" under " + c.base) + " flags " + std::to_string(c.flags));
        EXPECT_EQ(c.result, NormalizePath(c.path, c.base, c.flags));
    }
    // More parent steps than folders: the canonical form of the path alone.
    EXPECT_EQ(CanonicalizePath(L"..\\..\\..\\x"), NormalizePath(L"..\\..\\..\\x", L"C:\\a", 7));
}

TEST(FileNames, RelativePathsResolveAgainstTheBaseFolder) {
    Testing::TempFolder temp;
    const std::wstring file = temp.WriteFile(L"sub\\file.txt", "x");
    const std::wstring sub = temp / L"sub";

    EXPECT_EQ(sub + L"\\Resources\\Main", _ResolveRelativePath(L"Resources\\Main", file));
    EXPECT_EQ(sub + L"\\Resources\\Main", _ResolveRelativePath(L"Resources\\Main", sub));
    EXPECT_EQ(temp.Path() + L"\\other", _ResolveRelativePath(L"..\\other", sub + L"\\"));
    EXPECT_EQ(L"D:\\abs\\x", _ResolveRelativePath(L"D:\\abs\\x", file));

    EXPECT_EQ(L".\\Resources\\Main", GetRelativePath(sub + L"\\Resources\\Main", file));
    EXPECT_EQ(L".\\file.txt", GetRelativePath(file, sub));
    EXPECT_EQ(L"..\\file.txt", GetRelativePath(file, sub + L"\\missing"));  // a missing start is a folder
    EXPECT_EQ(L"", GetRelativePath(L"D:\\x", L"C:\\y"));
}

TEST(FileNames, TextsLongerThanTheSystemBufferAreLeftAlone) {
    EXPECT_EQ(L"C:\\a\\c", CanonicalizePath(L"C:\\a\\b\\..\\c"));
    // The system call would write past its MAX_PATH buffer.
    const std::wstring tooLong = L"C:\\" + std::wstring(MAX_PATH + 10, L'a') + L"\\.\\b";
    EXPECT_EQ(tooLong, CanonicalizePath(tooLong));
    EXPECT_EQ(tooLong, NormalizePath(tooLong, L"", 0));
    EXPECT_EQ(L"", GetRelativePath(tooLong, L"C:\\"));
    EXPECT_EQ(L"", GetRelativePath(L"C:\\x", tooLong));

    // A relative path that is longer than what the system call allows for.
    std::wstring deep = L"C:";
    while (deep.size() < MAX_PATH - 10)
        deep += L"\\a";
    const std::wstring relative = GetRelativePath(L"C:\\x", deep);
    EXPECT_TRUE(relative.empty() || relative.size() > MAX_PATH) << relative.size();
}

}  // namespace
