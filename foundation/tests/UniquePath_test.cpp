#include "foundation/filesystem/UniquePath.h"

#include "foundation/filesystem/FileNames.h"
#include "foundation/filesystem/ShellFolders.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace FileSystem;

// Name of the item inside `folder`, or "" when the path lies elsewhere.
std::wstring NameIn(const std::wstring& folder, const std::wstring& path) {
    const std::wstring prefix = folder + L"\\";
    return path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : L"";
}

bool IsGuidText(const std::wstring& text) {
    if (text.size() != 36)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != L'-' : !iswxdigit(text[i]))
            return false;
    }
    return true;
}

TEST(UniquePath, NamesAndCreatesItemsNamedByAGuid) {
    Testing::TempFolder temp;
    const Folder folder(temp.Path());
    struct Case {
        const char* name;
        const wchar_t* suffix;
        DWORD flags;
        bool exists;
        bool isFolder;
    } cases[] = {
        {"folder created", L"", kUniquePathFolder | kUniquePathCreate, true, true},
        {"file created", L"tmp", kUniquePathCreate, true, false},
        {"name only", L"log", 0, false, false},
        {"name only, folder flag", L"", kUniquePathFolder, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = CreateUniquePath(&folder, c.suffix, c.flags).GetPath();
        const std::wstring name = NameIn(temp.Path(), path);
        const std::wstring extension = *c.suffix ? std::wstring(L".") + c.suffix : L"";
        ASSERT_EQ(36 + extension.size(), name.size()) << testing::PrintToString(path);
        EXPECT_TRUE(IsGuidText(name.substr(0, 36))) << testing::PrintToString(name);
        EXPECT_EQ(extension, name.substr(36));
        const DWORD attributes = GetFileAttributesW(path.c_str());
        EXPECT_EQ(c.exists, attributes != INVALID_FILE_ATTRIBUTES);
        if (c.exists) {
            EXPECT_EQ(c.isFolder, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
            if (!c.isFolder) {
                EXPECT_EQ("", Testing::ReadFileBytes(path));
            }
        }
    }
}

TEST(UniquePath, MissingFolderIsCreatedAndNoFolderMeansTheTemporaryOne) {
    Testing::TempFolder temp;
    const Folder missing(temp / L"a\\b");
    EXPECT_NE(L"", NameIn(missing.GetPath(), CreateUniquePath(&missing, L"", 0).GetPath()));
    EXPECT_TRUE(Testing::PathExists(missing.GetPath()));

    const std::wstring tempFolder = StripTrailingBackslash(GetTempFolder().GetPath());
    EXPECT_NE(L"", NameIn(tempFolder, CreateUniquePath(nullptr, L"x", 0).GetPath()));

    // A folder that cannot be made: the temporary folder instead.
    const Folder impossible(temp.WriteFile(L"file", "x") + L"\\sub");
    EXPECT_NE(L"", NameIn(tempFolder, CreateUniquePath(&impossible, L"x", 0).GetPath()));
}

TEST(UniquePath, GivesUpWhenNothingCanBeCreated) {
    Testing::TempFolder temp;
    const Folder folder(temp.Path());
    // No item can carry this name, so every attempt fails to create it.
    for (DWORD flags : {kUniquePathCreate | kUniquePathFolder, static_cast<DWORD>(kUniquePathCreate)}) {
        SCOPED_TRACE(flags);
        EXPECT_EQ(L"", CreateUniquePath(&folder, L"bad|name", flags).GetPath());
    }
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((temp / L"*-*").c_str(), &entry);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "left behind: " << testing::PrintToString(std::wstring(entry.cFileName));
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

}  // namespace
