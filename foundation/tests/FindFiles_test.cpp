#include "foundation/filesystem/FindFiles.h"

#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::wstring>;

struct Visit {
    Paths paths;
    size_t stopAfter = 0;  // 0: never stop

    static bool Record(void* context, const wchar_t* path) {
        Visit* visit = static_cast<Visit*>(context);
        visit->paths.push_back(path);
        return visit->stopAfter == 0 || visit->paths.size() < visit->stopAfter;
    }
    FileSystem::FindFilesCallback Callback() { return {&Visit::Record, this}; }
};

class FindFiles : public testing::Test {
protected:
    void SetUp() override {
        temp.WriteFile(L"tree\\a.log", "");
        temp.WriteFile(L"tree\\b.txt", "");
        temp.WriteFile(L"tree\\logs.log\\c.log", "");
        temp.WriteFile(L"tree\\logs.log\\d.txt", "");
        temp.WriteFile(L"tree\\logs.log\\inner.log\\e.log", "");
        temp.WriteFile(L"tree\\other\\f.log", "");
        temp.WriteFile(L"outside.log", "");  // beside the tree: never reached
        root = temp / L"tree";
    }
    Paths Under(std::initializer_list<const wchar_t*> names) const {
        Paths paths;
        for (const wchar_t* name : names)
            paths.push_back(root + L"\\" + name);
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    static Paths Sorted(Paths paths) {
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    // Pre-order: every entry comes after the folder that holds it.
    static void ExpectFoldersFirst(const Paths& visited) {
        for (size_t i = 0; i < visited.size(); ++i) {
            const std::wstring parent = visited[i].substr(0, visited[i].rfind(L'\\'));
            auto at = std::find(visited.begin(), visited.end(), parent);
            if (at != visited.end()) {
                EXPECT_LT(static_cast<size_t>(at - visited.begin()), i) << testing::PrintToString(visited[i]);
            }
        }
    }

    Testing::TempFolder temp;
    std::wstring root;
};

TEST_F(FindFiles, MaskChoosesFilesAndTheFoldersToEnter) {
    Visit visit;
    ASSERT_TRUE(FileSystem::FindFiles(root, L"*.log", visit.Callback(), true));
    EXPECT_EQ(Under({L"a.log", L"logs.log", L"logs.log\\c.log", L"logs.log\\inner.log", L"logs.log\\inner.log\\e.log"}),
              Sorted(visit.paths));
    ExpectFoldersFirst(visit.paths);

    Visit flat;
    ASSERT_TRUE(FileSystem::FindFiles(root + L"\\", L"*.log", flat.Callback(), false));
    EXPECT_EQ(Under({L"a.log", L"logs.log"}), Sorted(flat.paths));
}

TEST_F(FindFiles, EverythingMaskStaysInsideTheTree) {
    Visit visit;
    ASSERT_TRUE(FileSystem::FindFiles(root, L"*", visit.Callback(), true));
    EXPECT_EQ(Under({L"a.log", L"b.txt", L"logs.log", L"logs.log\\c.log", L"logs.log\\d.txt", L"logs.log\\inner.log",
                     L"logs.log\\inner.log\\e.log", L"other", L"other\\f.log"}),
              Sorted(visit.paths));
    ExpectFoldersFirst(visit.paths);
}

TEST_F(FindFiles, FalseFromTheCallbackStopsThatLevel) {
    Visit visit;
    visit.stopAfter = 1;
    ASSERT_TRUE(FileSystem::FindFiles(root, L"*", visit.Callback(), false));
    EXPECT_EQ(1u, visit.paths.size());
}

TEST_F(FindFiles, BadArgumentsMissingFolderAndThrowingCallback) {
    Visit visit;
    EXPECT_FALSE(FileSystem::FindFiles(L"", L"*", visit.Callback(), true));
    EXPECT_FALSE(FileSystem::FindFiles(root, L"", visit.Callback(), true));
    EXPECT_TRUE(FileSystem::FindFiles(root + L"\\missing", L"*", visit.Callback(), true));
    EXPECT_TRUE(FileSystem::FindFiles(root, L"*.none", visit.Callback(), true));
    EXPECT_TRUE(visit.paths.empty());

    const FileSystem::FindFilesCallback throwing = {
        [](void*, const wchar_t*) -> bool { throw std::runtime_error("callback failed"); }, nullptr};
    EXPECT_THROW(FileSystem::FindFiles(root, L"*", throwing, true), std::runtime_error);
}

}  // namespace
