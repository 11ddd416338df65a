#include "resources/appresources/Manager.h"

#include "testing/CopiedProgram.h"
#include "ResourceFolderFixture.h"
#include "foundation/filesystem/ShellFolders.h"
#include "resources/appresources/MainResourceIds.h"
#include "resources/appresources/UpdaterResourceIds.h"
#include "resources/resourcelib/ManagerFactory.h"
#include "resources/resourcelib/StorageBase.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <set>
#include <string>

namespace {

using AppResources::Manager;
using ResourceTesting::AllStringsExcept;
using ResourceTesting::LanguageSpec;
using ResourceTesting::WriteMetadata;
using ResourceTesting::WriteStrings;

const AppResources::ResourceIdTables& MainIds() {
    return AppResources::GetMainProgramResourceIds();
}

boost::shared_ptr<Manager> NewManager(const AppResources::ResourceIdTables& ids = MainIds()) {
    return boost::make_shared<Manager>(ResourceLib::CreateManager(), ids);
}

// English (default) and German, each with every registered string but the
// ones named, valued "<language>:<name>".
class TwoLanguages {
public:
    TwoLanguages(const std::set<int>& missingInEnglish, const std::set<int>& missingInGerman) {
        // No locales: the report switches languages on the test thread, which must keep its own.
        WriteMetadata(m_root, L"", {{L"en-us", L"English", 0, true}, {L"de-de", L"Deutsch", 0, false}});
        WriteStrings(m_root, L"en-us", AllStringsExcept(MainIds(), missingInEnglish, L"en:"));
        WriteStrings(m_root, L"de-de", AllStringsExcept(MainIds(), missingInGerman, L"de:"));
    }
    const std::wstring& Path() const { return m_root.Path(); }

private:
    Testing::TempFolder m_root;
};

TEST(AppManager, TextsAndNamesByRegisteredId) {
    Testing::TempFolder root;
    WriteMetadata(root, L"", {{L"en-us", L"English", 1033, true}});
    WriteStrings(root, L"en-us", {{L"AlreadyRunningTitle", L"Already running"}, {L"TrayExit", L"Exit"}});
    const boost::shared_ptr<Manager> manager = NewManager();
    ASSERT_TRUE(manager->Initialize(root.Path(), nullptr, 10000, false));
    EXPECT_EQ(root.Path(), manager->GetRootFolder());

    EXPECT_EQ(L"Already running", manager->GetString(AppResources::StringID_AlreadyRunningTitle));
    EXPECT_EQ(L"Exit", manager->GetString(AppResources::StringID_TrayExit));
    EXPECT_EQ(L"", manager->GetString(AppResources::StringID_OK));

    const boost::shared_ptr<ResourceLib::IManager> wrapped = manager->GetResourceLibManager();
    const struct {
        int id;
        ResourceLib::ResourceType type;
        const wchar_t* name;
    } names[] = {
        {0, ResourceLib::ResourceTypes::FilePath, L"LayoutXml"},
        {1, ResourceLib::ResourceTypes::FilePath, L""},
        {2, ResourceLib::ResourceTypes::FilePath, L"TipOfTheDayXml"},
        {0, ResourceLib::ResourceTypes::String, L"FatalError"},
        {16, ResourceLib::ResourceTypes::String, L""},
        {75, ResourceLib::ResourceTypes::String, L"AlreadyRunningTitle"},
        {151, ResourceLib::ResourceTypes::String, L"BundleIsNotInstalled"},
    };
    for (const auto& n : names) {
        SCOPED_TRACE(testing::Message() << n.id << " of type " << n.type);
        EXPECT_EQ(std::wstring(n.name), wrapped->GetResourceName(n.id, n.type));
    }
    EXPECT_EQ(127, wrapped->GetResourceId(L"TrayExit", ResourceLib::ResourceTypes::String));
}

TEST(AppManager, TheUpdaterRegistersItsOwnTable) {
    Testing::TempFolder root;
    WriteMetadata(root, L"", {{L"en-us", L"English", 1033, true}});
    WriteStrings(root, L"en-us", {{L"Error", L"Updater error"}});
    const boost::shared_ptr<Manager> manager = NewManager(AppResources::Updater::GetUpdaterResourceIds());
    ASSERT_TRUE(manager->Initialize(root.Path(), nullptr, 10000, false));
    EXPECT_EQ(L"Updater error", manager->GetString(AppResources::Updater::StringID_Error));
    const boost::shared_ptr<ResourceLib::IManager> wrapped = manager->GetResourceLibManager();
    EXPECT_EQ(L"Close", wrapped->GetResourceName(11, ResourceLib::ResourceTypes::String));
    EXPECT_EQ(L"", wrapped->GetResourceName(0, ResourceLib::ResourceTypes::FilePath));
    EXPECT_EQ(-1, wrapped->GetResourceId(L"AlreadyRunningTitle", ResourceLib::ResourceTypes::String));
}

TEST(AppManager, FilePathsByRegisteredId) {
    Testing::TempFolder root;
    WriteMetadata(root, L"", {{L"en-us", L"English", 1033, true}});
    root.WriteFile(L"en-us\\Layout.xml", "<Layout/>");
    root.WriteFile(L"en-us\\Resources.xml",
                   "<ResourceLib><Resources><FilePath name=\"LayoutXml\" value=\"Layout.xml\"/></Resources></ResourceLib>");
    const boost::shared_ptr<Manager> manager = NewManager();
    ASSERT_TRUE(manager->Initialize(root.Path(), nullptr, 10000, false));
    const std::wstring path = manager->GetFilePath(AppResources::FilePathID_LayoutXml);
    EXPECT_TRUE(FileSystem::IsExistingFile(path)) << path.c_str();
    EXPECT_EQ(L"", manager->GetFilePath(AppResources::FilePathID_TipOfTheDayXml));
}

TEST(AppManager, StringsOnlyTheBaseFolderHoldsComeThroughTheFallback) {
    Testing::TempFolder tree;
    WriteMetadata(tree, L"Main", {{L"en-us", L"English", 1033, true}}, L"..\\Base");
    WriteStrings(tree, L"Main\\en-us", {{L"AlreadyRunningTitle", L"Main title"}});
    WriteMetadata(tree, L"Base", {{L"en-us", L"English", 1033, true}});
    WriteStrings(tree, L"Base\\en-us", {{L"AlreadyRunningTitle", L"Base title"}, {L"TrayExit", L"Base exit"}});

    const boost::shared_ptr<Manager> manager = NewManager();
    ASSERT_TRUE(manager->Initialize(tree / L"Main", nullptr, 10000, false));
    EXPECT_EQ(L"Main title", manager->GetString(AppResources::StringID_AlreadyRunningTitle));
    EXPECT_EQ(L"Base exit", manager->GetString(AppResources::StringID_TrayExit));
    EXPECT_EQ(L"", manager->GetString(AppResources::StringID_OK));
}

TEST(AppManager, SetUpOnlyOnce) {
    TwoLanguages root({}, {});
    const boost::shared_ptr<Manager> manager = NewManager();
    ASSERT_TRUE(manager->Initialize(root.Path(), nullptr, 10000, false));
    Testing::TempFolder other;
    EXPECT_FALSE(manager->Initialize(other.Path(), nullptr, 10000, false));
    EXPECT_EQ(root.Path(), manager->GetRootFolder());
    EXPECT_EQ(L"en:OK", manager->GetString(AppResources::StringID_OK));
}

TEST(AppManager, RootsThatAreNoFolderOfResources) {
    const std::wstring besideProgram = FileSystem::GetModuleFolder(nullptr).GetFile(L"Resources").GetPath();
    Testing::TempFolder temp;
    const std::wstring file = temp.WriteFile(L"NotAFolder.txt", "x");
    const struct {
        const char* label;
        std::wstring root;
        std::wstring used;
    } cases[] = {
        {"empty", L"", besideProgram},
        {"missing", temp / L"Missing", besideProgram},
        {"an existing file is used as it is", file, file},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const boost::shared_ptr<Manager> manager = NewManager();
        // None of them holds a Metadata.xml: the set-up raises after choosing.
        EXPECT_ANY_THROW(manager->Initialize(c.root, nullptr, 10000, false));
        EXPECT_EQ(c.used, manager->GetRootFolder());
    }
}

TEST(AppManager, ReleasingTheLastManagerResetsTheWrappedOne) {
    TwoLanguages root({}, {});
    boost::shared_ptr<Manager> manager = NewManager();
    ASSERT_TRUE(manager->Initialize(root.Path(), nullptr, 10000, false));
    const boost::shared_ptr<ResourceLib::IManager> kept = manager->GetResourceLibManager();
    EXPECT_EQ(L"en:OK", kept->GetStringById(AppResources::StringID_OK));
    manager.reset();
    EXPECT_EQ(L"", kept->GetStringById(AppResources::StringID_OK));
    EXPECT_FALSE(kept->GetCurrentLanguage());
}

TEST(AppManagerReport, ListsMissingStringsPerLanguage) {
    const struct {
        const char* label;
        std::set<int> missingInEnglish, missingInGerman;
        std::wstring report;
    } cases[] = {
        {"none missing", {}, {}, L""},
        {"two in English",
         {0, 1},
         {},
         L"-->English (en-us):\nStringID_FatalError (0)\nStringID_EngineLoadFailure (1)\n"},
        {"in both, ascending per language",
         {9, 3},
         {151, 3},
         L"-->English (en-us):\nStringID_ButtonOnOffTooltip (3)\nStringID_ButtonRemoveTooltip (9)\n"
         L"-->Deutsch (de-de):\nStringID_ButtonOnOffTooltip (3)\nStringID_BundleIsNotInstalled (151)\n"},
        {"German only", {}, {63}, L"-->Deutsch (de-de):\nStringID__Error (63)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TwoLanguages root(c.missingInEnglish, c.missingInGerman);
        const boost::shared_ptr<Manager> manager = NewManager();
        ASSERT_TRUE(manager->Initialize(root.Path(), nullptr, 10000, false));
        EXPECT_EQ(c.report, manager->_BuildResourceReport());
        EXPECT_EQ(c.report.empty(), manager->VerifyResources());
    }
}

TEST(AppManagerReport, EndsOnTheDefaultLanguageWithTheThrowFlagAsItWas) {
    TwoLanguages root({0, 1}, {});
    for (bool throwOnFailure : {false, true}) {
        SCOPED_TRACE(throwOnFailure);
        const boost::shared_ptr<Manager> manager = NewManager();
        ASSERT_TRUE(manager->Initialize(root.Path(), nullptr, 10000, false));
        const boost::shared_ptr<ResourceLib::IManager> wrapped = manager->GetResourceLibManager();
        ASSERT_TRUE(wrapped->SetLanguageByName(L"de-de"));
        wrapped->SetThrowOnFailure(throwOnFailure);
        EXPECT_EQ(L"-->English (en-us):\nStringID_FatalError (0)\nStringID_EngineLoadFailure (1)\n",
                  manager->_BuildResourceReport());
        EXPECT_EQ(L"en-us", wrapped->GetCurrentLanguageName());
        EXPECT_EQ(throwOnFailure, wrapped->GetThrowOnFailure());
    }
}

TEST(AppManagerReport, WithoutLanguagesOrProvider) {
    // No provider: the manager was never set up.
    const boost::shared_ptr<Manager> bare = NewManager();
    EXPECT_EQ(L"--> Failed to initialize languages!", bare->_BuildResourceReport());
    EXPECT_FALSE(bare->VerifyResources());

    // A provider without languages: nothing to miss.
    Testing::TempFolder root;
    WriteMetadata(root, L"", {});
    const boost::shared_ptr<Manager> manager = NewManager();
    ASSERT_TRUE(manager->Initialize(root.Path(), nullptr, 10000, true));
    EXPECT_EQ(L"", manager->_BuildResourceReport());
    EXPECT_FALSE(manager->GetResourceLibManager()->GetCurrentLanguage());
}

// Answers every string by id with an exception that is no std::exception.
class ThrowingStringStorage : public ResourceLib::StorageBase {
public:
    ResourceLib::ResourceType GetSupportedTypes() override { return ResourceLib::ResourceTypes::String; }

protected:
    std::wstring _GetStringById(int id, ErrorCodePtr ec) override { throw 42; }
};

TEST(AppManagerReport, AnUnexpectedErrorStillRestoresLanguageAndFlag) {
    TwoLanguages root({}, {5});
    const boost::shared_ptr<Manager> manager = NewManager();
    ASSERT_TRUE(manager->Initialize(root.Path(), nullptr, 20000, false));
    const boost::shared_ptr<ResourceLib::IManager> wrapped = manager->GetResourceLibManager();
    ASSERT_TRUE(wrapped->AddStorage(boost::make_shared<ThrowingStringStorage>()));
    ASSERT_TRUE(wrapped->SetLanguageByName(L"de-de"));
    EXPECT_THROW(manager->_BuildResourceReport(), int);
    EXPECT_EQ(L"en-us", wrapped->GetCurrentLanguageName());
    EXPECT_FALSE(wrapped->GetThrowOnFailure());
}

// DisplayErrors lives under HKEY_CURRENT_USER: these cases run in a child
// whose HKEY_CURRENT_USER is a test key. The argument is "<key>|<root>".
TESTING_CHILD_SCENARIO(AppManagerSetUpWithDisplayErrors) {
    const std::wstring argument = Testing::ScenarioArgument();
    const std::size_t bar = argument.find(L'|');
    if (bar == std::wstring::npos || !Testing::RedirectCurrentUser(argument.substr(0, bar)))
        return 10;
    const boost::shared_ptr<Manager> manager = NewManager();
    const bool result = manager->Initialize(argument.substr(bar + 1), nullptr, 10000, false);
    // The verification ends on the default language.
    if (manager->GetResourceLibManager()->GetCurrentLanguageName() != L"en-us")
        return 11;
    return result ? 1 : 0;
}

TEST(AppManager, DisplayErrorsMakesTheSetUpVerify) {
    TwoLanguages complete({}, {});
    TwoLanguages lacking({}, {AppResources::StringID_Yes});
    const struct {
        const char* label;
        DWORD displayErrors;  // 0xFFFFFFFF: the value is absent
        const TwoLanguages* root;
        unsigned long exitCode;  // 1: the set-up gave true, 0: false
    } cases[] = {
        {"absent, string missing", 0xFFFFFFFF, &lacking, 1},
        {"0, string missing", 0, &lacking, 1},
        {"1, string missing", 1, &lacking, 0},
        {"1, complete", 1, &complete, 1},
    };
    Testing::CopiedProgram program;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Testing::TempRegistryKey user;
        if (c.displayErrors != 0xFFFFFFFF) {
            HKEY key = nullptr;
            ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(user.Handle(), L"Software\\ResourceLib", 0, nullptr, 0,
                                                       KEY_ALL_ACCESS, nullptr, &key, nullptr));
            ::RegSetValueExW(key, L"DisplayErrors", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&c.displayErrors),
                             sizeof(DWORD));
            ::RegCloseKey(key);
        }
        const Testing::ChildResult result =
            program.Run("AppManagerSetUpWithDisplayErrors", user.SubKey() + L"|" + c.root->Path());
        ASSERT_TRUE(result.started);
        EXPECT_EQ(c.exitCode, result.exitCode);
    }
}

}  // namespace
