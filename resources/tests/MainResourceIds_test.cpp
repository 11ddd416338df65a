#include "resources/appresources/MainResourceIds.h"
#include "resources/appresources/UpdaterResourceIds.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using AppResources::ResourceIdEntry;
using AppResources::ResourceIdTables;

std::set<int> IdsOf(const ResourceIdEntry* entries, std::size_t count) {
    std::set<int> ids;
    for (std::size_t i = 0; i < count; ++i)
        ids.insert(entries[i].id);
    return ids;
}

void ExpectAscendingAndNamed(const ResourceIdEntry* entries, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(testing::Message() << "entry " << i);
        ASSERT_NE(nullptr, entries[i].name);
        EXPECT_NE(L'\0', entries[i].name[0]);
        if (i > 0) {
            EXPECT_LT(entries[i - 1].id, entries[i].id);
        }
    }
}

TEST(MainResourceIds, StringTableKeepsItsGaps) {
    const ResourceIdTables& tables = AppResources::GetMainProgramResourceIds();
    ExpectAscendingAndNamed(tables.strings, tables.stringCount);
    const std::set<int> ids = IdsOf(tables.strings, tables.stringCount);
    const std::set<int> gaps = {16, 17, 18, 19, 20, 21, 22, 34, 64, 126, 148, 149, 150};
    for (int id = 0; id <= 151; ++id) {
        SCOPED_TRACE(testing::Message() << "id " << id);
        EXPECT_EQ(gaps.count(id) == 0, ids.count(id) == 1);
    }
    EXPECT_EQ(146u, tables.stringCount);
}

TEST(MainResourceIds, NamesMatchTheirEnumerators) {
    const ResourceIdTables& tables = AppResources::GetMainProgramResourceIds();
    const struct {
        int enumerator;
        const wchar_t* name;
    } cases[] = {
        {AppResources::StringID_FatalError, L"FatalError"},
        {AppResources::StringID_EngineLoadFailure, L"EngineLoadFailure"},
        {AppResources::StringID_ButtonHelpSupportTooltip, L"ButtonHelpSupportTooltip"},
        {AppResources::StringID_CompatNever, L"CompatNever"},
        {AppResources::StringID__Finished, L"_Finished"},
        {AppResources::StringID_AlreadyRunningTitle, L"AlreadyRunningTitle"},
        {AppResources::StringID_UpdateRequestQuestion, L"UpdateRequestQuestion"},
        {AppResources::StringID_TrayExit, L"TrayExit"},
        {AppResources::StringID_BundleIsNotInstalled, L"BundleIsNotInstalled"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.enumerator);
        bool found = false;
        for (std::size_t i = 0; i < tables.stringCount; ++i) {
            if (tables.strings[i].id == c.enumerator) {
                found = true;
                EXPECT_EQ(std::wstring(c.name), tables.strings[i].name);
            }
        }
        EXPECT_TRUE(found);
    }
    EXPECT_EQ(75, AppResources::StringID_AlreadyRunningTitle);
    EXPECT_EQ(151, AppResources::StringID_BundleIsNotInstalled);
}

TEST(MainResourceIds, FilePathsAreLayoutAndTips) {
    const ResourceIdTables& tables = AppResources::GetMainProgramResourceIds();
    ASSERT_EQ(2u, tables.filePathCount);
    EXPECT_EQ(AppResources::FilePathID_LayoutXml, tables.filePaths[0].id);
    EXPECT_EQ(0, tables.filePaths[0].id);
    EXPECT_EQ(std::wstring(L"LayoutXml"), tables.filePaths[0].name);
    EXPECT_EQ(2, tables.filePaths[1].id);
    EXPECT_EQ(std::wstring(L"TipOfTheDayXml"), tables.filePaths[1].name);
}

TEST(UpdaterResourceIds, TwelveStringsAndNoFilePath) {
    const ResourceIdTables& tables = AppResources::Updater::GetUpdaterResourceIds();
    EXPECT_EQ(0u, tables.filePathCount);
    ASSERT_EQ(12u, tables.stringCount);
    ExpectAscendingAndNamed(tables.strings, tables.stringCount);
    for (std::size_t i = 0; i < tables.stringCount; ++i)
        EXPECT_EQ(static_cast<int>(i), tables.strings[i].id);
    EXPECT_EQ(std::wstring(L"PreparingForDownload"), tables.strings[0].name);
    EXPECT_EQ(std::wstring(L"Close"), tables.strings[11].name);
    EXPECT_EQ(10, AppResources::Updater::StringID_Error);
}

}  // namespace
