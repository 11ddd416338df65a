#include "downloads/settings/VideosFolderCheck.h"

#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// A drive letter this machine does not have.
std::wstring MissingDrive() {
    const DWORD drives = ::GetLogicalDrives();
    for (wchar_t letter = L'Q'; letter <= L'Y'; ++letter) {
        if (!(drives & (1u << (letter - L'A'))))
            return std::wstring(1, letter) + L":";
    }
    return L"";
}

// An existing folder that takes no new file, even from an administrator:
// the kernel's own file system under Wine's root drive.
const wchar_t kReadOnlyFolder[] = L"Z:\\sys";

bool RefusesNewFiles(const std::wstring& folder) {
    const std::wstring probe = folder + L"\\probe.tmp";
    const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;
    ::CloseHandle(file);
    return false;
}

// Everything below a folder, files and folders, as relative paths.
void ListTree(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>& out) {
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        out.push_back(prefix + name);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListTree(folder + L"\\" + name, prefix + name + L"\\", out);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

std::vector<std::wstring> Tree(const std::wstring& folder) {
    std::vector<std::wstring> entries;
    ListTree(folder, L"", entries);
    return entries;
}

TEST(VideosFolderCheck, EveryMissingLevelIsMadeAndNothingElseIsLeft) {
    Testing::TempFolder temp;
    struct Case {
        const char* name;
        std::wstring folder;
        std::vector<std::wstring> tree;  // below the temporary folder afterwards
    } cases[] = {
        {"existing", temp.Path(), {}},
        {"two levels below a missing parent", temp / L"new\\deeper\\videos",
         {L"new", L"new\\deeper", L"new\\deeper\\videos"}},
        {"trailing backslash", temp / L"new\\other\\", {L"new", L"new\\other"}},
        {"forward slashes", temp / L"slash/ed", {L"slash", L"slash\\ed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Testing::RemoveTree(temp / L"new");
        Testing::RemoveTree(temp / L"slash");
        const VideosFolderCheck check = VideosFolderCheck::Run(c.folder);
        EXPECT_TRUE(check.IsUsable()) << check.GetProblem() << " error " << check.GetError();
        // The probe file is gone again.
        EXPECT_EQ(c.tree, Tree(temp.Path()));
    }
}

TEST(VideosFolderCheck, AFolderThatCannotBeMadeOrWrittenIsNamedAndLeavesNothing) {
    Testing::TempFolder temp;
    temp.WriteFile(L"taken", "a file where a folder should be");
    const std::wstring missingDrive = MissingDrive();
    ASSERT_FALSE(missingDrive.empty());
    ASSERT_TRUE(RefusesNewFiles(kReadOnlyFolder)) << "the read-only folder of these tests takes files here";
    std::wstring tooLong = temp.Path() + L"\\";
    while (tooLong.size() < 10020)
        tooLong += L"level-of-a-very-long-path\\";
    tooLong.resize(10020);
    std::wstring justTooLong = temp.Path() + L"\\";
    justTooLong += std::wstring(VideosFolderCheck::kMaxFolderLength + 1 - justTooLong.size(), L'x');
    struct Case {
        const char* name;
        std::wstring folder;
        VideosFolderCheck::Problem problem;
        DWORD error;
    } cases[] = {
        {"read-only", kReadOnlyFolder, VideosFolderCheck::NotWritable, ERROR_ACCESS_DENIED},
        {"below a read-only folder", std::wstring(kReadOnlyFolder) + L"\\brunlow\\videos",
         VideosFolderCheck::NotCreated, ERROR_ACCESS_DENIED},
        {"10,020 characters", tooLong, VideosFolderCheck::TooLong, 0},
        {"one character too long", justTooLong, VideosFolderCheck::TooLong, 0},
        {"with <>|", temp / L"new\\a<b>c|d", VideosFolderCheck::InvalidCharacters, 0},
        {"with a colon after the drive", temp / L"new\\a:b", VideosFolderCheck::InvalidCharacters, 0},
        {"on a missing drive", missingDrive + L"\\Videos\\Brunlow", VideosFolderCheck::NoDrive, 0},
        {"a file in the way", temp / L"taken\\videos", VideosFolderCheck::NotCreated, ERROR_FILE_EXISTS},
        {"a file in the way, deeper", temp / L"new\\deeper\\taken\\videos", VideosFolderCheck::NotCreated,
         ERROR_FILE_EXISTS},
        {"empty", L"", VideosFolderCheck::NotCreated, ERROR_PATH_NOT_FOUND},
    };
    temp.WriteFile(L"new\\deeper\\taken", "");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::wstring> before = Tree(temp.Path());
        const VideosFolderCheck check = VideosFolderCheck::Run(c.folder);
        EXPECT_FALSE(check.IsUsable());
        EXPECT_EQ(c.problem, check.GetProblem());
        EXPECT_EQ(c.error, check.GetError());
        EXPECT_EQ(before, Tree(temp.Path())) << "nothing made is left";
    }
    EXPECT_FALSE(Testing::PathExists(std::wstring(kReadOnlyFolder) + L"\\brunlow"));
}

}  // namespace
