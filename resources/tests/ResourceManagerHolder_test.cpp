#include "resources/appresources/ResourceManagerHolder.h"

#include "testing/CopiedProgram.h"
#include "ResourceFolderFixture.h"
#include "resources/appresources/MainResourceIds.h"
#include "resources/appresources/ResManagerExtraParamsProvider.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

// Every case runs in a copy of this program inside a tree of its own: the
// holder is one per process and finds its folders beside the program file.
//
//   <tree>\bin\resources_tests.exe
//   <tree>\bin\Resources\                     "Resources title"
//   <tree>\bin\Resources\resources_tests\     "Auto title" (the automatic root)
//   <tree>\bin\Resources\Main\                "Main title" (the application's root; base ..\Base)
//   <tree>\bin\Resources\Base\                "Base exit"

namespace {

using AppResources::ResourceManagerHolder;
using ResourceTesting::LanguageSpec;
using ResourceTesting::StringList;

const int kTitle = AppResources::StringID_AlreadyRunningTitle;
const int kText = AppResources::StringID_AlreadyRunningText;
const int kExit = AppResources::StringID_TrayExit;

std::wstring ProgramTitle() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.rfind(L'\\') + 1);
    return name.substr(0, name.rfind(L'.'));
}

std::wstring ResourcesFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.rfind(L'\\')) + L"\\Resources";
}

ResourceManagerHolder::ProductParameters Product() {
    ResourceManagerHolder::ProductParameters parameters;
    parameters.productName = L"Brunlow";
    parameters.companyName = L"Ruveziz";
    return parameters;
}

// Lays out the tree; the folders not wanted are left out.
struct TreeLayout {
    bool resources = true;
    bool automatic = true;
    bool main = true;
    std::set<int> missingInMain;
};

void LayOut(const Testing::CopiedProgram& program, const TreeLayout& layout) {
    const Testing::TempFolder& tree = program.Tree();
    const std::vector<LanguageSpec> languages = {{L"en-us", L"English", 0, true}, {L"de-de", L"Deutsch", 0, false}};
    if (layout.resources) {
        ResourceTesting::WriteMetadata(tree, L"bin\\Resources", languages);
        ResourceTesting::WriteStrings(tree, L"bin\\Resources\\en-us", {{L"AlreadyRunningTitle", L"Resources title"}});
    }
    if (layout.automatic) {
        const std::wstring folder = L"bin\\Resources\\" + ProgramTitle();
        ResourceTesting::WriteMetadata(tree, folder, languages);
        ResourceTesting::WriteStrings(tree, folder + L"\\en-us", {{L"AlreadyRunningTitle", L"Auto title"}});
    }
    if (layout.main) {
        ResourceTesting::WriteMetadata(tree, L"bin\\Resources\\Main", languages, L"..\\Base");
        StringList strings = ResourceTesting::AllStringsExcept(AppResources::GetMainProgramResourceIds(),
                                                               layout.missingInMain, L"Main ");
        for (auto& entry : strings) {
            if (entry.first == L"AlreadyRunningTitle")
                entry.second = L"Main title";
            else if (entry.first == L"AlreadyRunningText")
                entry.second = L"{ProductName} is running";
        }
        // Left to the base folder.
        strings.erase(std::remove_if(strings.begin(), strings.end(),
                                     [](const auto& entry) { return entry.first == L"TrayExit"; }),
                      strings.end());
        ResourceTesting::WriteStrings(tree, L"bin\\Resources\\Main\\en-us", strings);
        ResourceTesting::WriteStrings(tree, L"bin\\Resources\\Main\\de-de", strings);
        ResourceTesting::WriteMetadata(tree, L"bin\\Resources\\Base", languages);
        ResourceTesting::WriteStrings(tree, L"bin\\Resources\\Base\\en-us", {{L"TrayExit", L"Base exit"}});
    }
}

void ExpectScenario(const char* scenario, const TreeLayout& layout, const std::wstring& argument = L"") {
    Testing::CopiedProgram program;
    LayOut(program, layout);
    const Testing::ChildResult result = program.Run(scenario, argument);
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(0u, result.exitCode);
}

std::wstring MainRoot() {
    return ResourcesFolder() + L"\\Main";
}

// A resource asked for before the application's step sets the holder up
// over the automatic root; the argument is the title expected there.
TESTING_CHILD_SCENARIO(HolderAutomaticInitialization) {
    const boost::shared_ptr<AppResources::Manager> first = ResourceManagerHolder::GetManager();
    if (first->GetString(kTitle) != Testing::ScenarioArgument())
        return 1;
    if (ResourceManagerHolder::GetManager() != first)
        return 2;
    if (ResourceManagerHolder::InitializeApplication(MainRoot(), Product()))
        return 3;
    if (ResourceManagerHolder::GetManager() != first || first->GetString(kTitle) != Testing::ScenarioArgument())
        return 4;
    if (ResourceManagerHolder::IsFailed())
        return 5;
    // Ends without the exit step: the still published manager must not
    // bring the process down on its way out.
    return 0;
}

TEST(ResourceManagerHolder, FirstUseSetsUpOverTheProgramsOwnFolder) {
    ExpectScenario("HolderAutomaticInitialization", TreeLayout(), L"Auto title");
}

TEST(ResourceManagerHolder, FirstUseWithoutTheProgramsFolderTakesResources) {
    TreeLayout layout;
    layout.automatic = false;
    ExpectScenario("HolderAutomaticInitialization", layout, L"Resources title");
}

TESTING_CHILD_SCENARIO(HolderApplicationInitialization) {
    if (!ResourceManagerHolder::InitializeApplication(MainRoot(), Product()))
        return 1;
    const boost::shared_ptr<AppResources::Manager> manager = ResourceManagerHolder::GetManager();
    if (manager != ResourceManagerHolder::GetManager())
        return 2;
    if (manager->GetString(kTitle) != L"Main title")
        return 3;
    // The extra parameters fill the placeholders.
    if (manager->GetString(kText) != L"Brunlow is running")
        return 4;
    // Only the base folder holds this one.
    if (manager->GetString(kExit) != L"Base exit")
        return 5;
    if (ResourceManagerHolder::InitializeApplication(ResourcesFolder(), Product()))
        return 6;
    if (ResourceManagerHolder::GetManager() != manager || ResourceManagerHolder::IsFailed())
        return 7;
    ResourceManagerHolder::Disable();
    return 0;
}

TEST(ResourceManagerHolder, TheApplicationsInitializationWithItsParametersAndBase) {
    ExpectScenario("HolderApplicationInitialization", TreeLayout());
}

TESTING_CHILD_SCENARIO(HolderDisabled) {
    const boost::shared_ptr<AppResources::Manager> before = ResourceManagerHolder::GetManager();
    ResourceManagerHolder::Disable();
    const boost::shared_ptr<AppResources::Manager> first = ResourceManagerHolder::GetManager();
    const boost::shared_ptr<AppResources::Manager> second = ResourceManagerHolder::GetManager();
    if (!first || !second || first == second || first == before)
        return 1;
    if (!first->GetString(kTitle).empty() || !first->GetFilePath(AppResources::FilePathID_LayoutXml).empty())
        return 2;
    const boost::shared_ptr<ResourceLib::IManager> wrapped = first->GetResourceLibManager();
    if (!wrapped || wrapped->GetColorByName(L"COLOR_3DFACE") != 0 || wrapped->GetCurrentLanguage())
        return 3;
    if (ResourceManagerHolder::InitializeApplication(MainRoot(), Product()))
        return 4;
    // A manager handed out before lives on with its holder.
    if (before->GetString(kTitle) != L"Auto title")
        return 5;
    return 0;
}

TEST(ResourceManagerHolder, AfterDisableEveryLookupAnswersEmpty) {
    ExpectScenario("HolderDisabled", TreeLayout());
}

// The argument is the test key that stands in for HKEY_CURRENT_USER.
TESTING_CHILD_SCENARIO(HolderDisplayErrors) {
    if (!Testing::RedirectCurrentUser(Testing::ScenarioArgument()))
        return 10;
    if (!ResourceManagerHolder::InitializeApplication(MainRoot(), Product()))
        return 1;
    if (!ResourceManagerHolder::IsFailed())
        return 2;
    const boost::shared_ptr<AppResources::Manager> manager = ResourceManagerHolder::GetManager();
    if (manager != ResourceManagerHolder::GetManager() || manager->GetString(kTitle) != L"Main title")
        return 3;
    if (manager->GetResourceLibManager()->GetCurrentLanguageName() != L"en-us")
        return 4;
    ResourceManagerHolder::Disable();
    return 0;
}

TEST(ResourceManagerHolder, AFailedVerificationStillPublishesTheManager) {
    Testing::TempRegistryKey user;
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(user.Handle(), L"Software\\ResourceLib", 0, nullptr, 0, KEY_ALL_ACCESS,
                                               nullptr, &key, nullptr));
    const DWORD one = 1;
    ::RegSetValueExW(key, L"DisplayErrors", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    ::RegCloseKey(key);
    TreeLayout layout;
    layout.missingInMain = {AppResources::StringID_Warning};
    ExpectScenario("HolderDisplayErrors", layout, user.SubKey());
}

// Threads ask while the application sets the holder up: whoever sets it up,
// each of them gets the one published manager, completely set up.
TESTING_CHILD_SCENARIO(HolderManyThreadsDuringInitialization) {
    const int threadCount = 8;
    std::atomic<int> ready(0);
    std::atomic<bool> go(false);
    std::vector<boost::shared_ptr<AppResources::Manager>> seen(threadCount);
    std::vector<std::wstring> texts(threadCount);
    std::atomic<int> inconsistent(0);
    std::vector<std::thread> threads;
    for (int i = 0; i < threadCount; ++i) {
        threads.emplace_back([&, i] {
            ++ready;
            while (!go.load())
                std::this_thread::yield();
            for (int round = 0; round < 50; ++round) {
                const boost::shared_ptr<AppResources::Manager> manager = ResourceManagerHolder::GetManager();
                const std::wstring text = manager->GetString(kTitle);
                if ((seen[i] && seen[i] != manager) || (!texts[i].empty() && texts[i] != text) || text.empty())
                    ++inconsistent;
                seen[i] = manager;
                texts[i] = text;
            }
        });
    }
    while (ready.load() < threadCount)
        std::this_thread::yield();
    go = true;
    ResourceManagerHolder::InitializeApplication(MainRoot(), Product());
    for (auto& thread : threads)
        thread.join();
    if (inconsistent.load() != 0)
        return 1;
    const boost::shared_ptr<AppResources::Manager> published = ResourceManagerHolder::GetManager();
    for (int i = 0; i < threadCount; ++i) {
        if (seen[i] != published)
            return 2;
    }
    const std::wstring title = published->GetString(kTitle);
    if (title != L"Main title" && title != L"Auto title")
        return 3;
    ResourceManagerHolder::Disable();
    return 0;
}

TEST(ResourceManagerHolder, ThreadsDuringInitializationSeeOnlyTheWholeManager) {
    ExpectScenario("HolderManyThreadsDuringInitialization", TreeLayout());
}

}  // namespace
