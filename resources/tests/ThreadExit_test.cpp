// Worker threads that looked strings up by name must end without touching
// freed memory: the engine, update and tips threads all do this.
#include "testing/ResourceFolder.h"
#include "testing/ChildProcess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Run directly by a ctest entry with Wine's heap checks on as well.
TESTING_CHILD_SCENARIO(ByNameLookupsOnEndingThreads) {
    ResourceTesting::ResourceFolder folder;
    folder.WriteResources(L"en-us\\Dark", R"(<String name="Greeting" value="Hello{nl}{Name}"/>)"
                                          R"(<String name="Name" value="World"/>)"
                                          R"(<String name="Lines" value="a{nl}b"/>)");
    folder.Open();
    std::atomic<int> wrong{0};
    for (int round = 0; round < 100; ++round) {
        std::vector<std::thread> workers;
        for (int i = 0; i < 4; ++i) {
            workers.emplace_back([&] {
                if (folder.manager->GetStringByName(L"Greeting") != L"Hello\nWorld" ||
                    folder.manager->GetStringByName(L"Name") != L"World" ||
                    folder.manager->GetStringByName(L"Lines") != L"a\nb")
                    ++wrong;
            });
        }
        for (std::thread& worker : workers)
            worker.join();
    }
    return wrong == 0 ? 0 : 1;
}

TEST(ThreadExit, ThreadsThatLookedStringsUpByNameEndCleanly) {
    // A generous bound: the rounds crawl on a loaded machine under emulation.
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario(
        "ByNameLookupsOnEndingThreads", {}, 300000)));
}

}  // namespace
