#include "foundation/system/ShellHelpers.h"

#include "foundation/filesystem/ShellFolders.h"
#include "foundation/tests/MachineKeyOverride.h"
#include "foundation/tests/RecordingSink.h"
#include "foundation/tests/ShellLaunchRecorder.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <string>

namespace {

using FoundationTests::RecordingSink;
using FoundationTests::ScopedSink;
using FoundationTests::ShellLaunchRecorder;

using FoundationTests::MachineKeyOverride;

std::wstring WindowsFile(const wchar_t* name) {
    return FileSystem::GetSpecialFolder(CSIDL_WINDOWS).GetFile(name).GetPath();
}

TEST(InternetExplorerPath, RegisteredPathWithoutQuotes) {
    MachineKeyOverride machine;
    const struct {
        const wchar_t* value;  // null: not registered
        const wchar_t* path;
    } cases[] = {
        {nullptr, L""},
        {L"", L""},
        {L"\"C:\\Program Files\\IE\\iexplore.exe\"", L"C:\\Program Files\\IE\\iexplore.exe"},
        {L"C:\\IE\\iexplore.exe", L"C:\\IE\\iexplore.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.value ? c.value : L"<none>"));
        machine.RegisterInternetExplorer(c.value);
        EXPECT_EQ(c.path, System::GetInternetExplorerPath());
    }
}

TEST(InternetExplorerPath, ThisSystemsInternetExplorer) {
    const std::wstring path = System::GetInternetExplorerPath();
    ASSERT_FALSE(path.empty());
    EXPECT_NE(L'"', path.front());
    EXPECT_NE(L'"', path.back());
    EXPECT_TRUE(::PathFileExistsW(path.c_str())) << path;
}

class ShellHelpersTest : public testing::Test {
protected:
    ShellLaunchRecorder m_shell;
    RecordingSink m_sink;
    ScopedSink m_sinkScope{&m_sink};
};

TEST_F(ShellHelpersTest, OpenInInternetExplorerQuotesTheAddressOnce) {
    MachineKeyOverride machine;
    machine.RegisterInternetExplorer(L"\"C:\\IE\\iexplore.exe\"");
    const struct {
        const wchar_t* address;
        const wchar_t* parameters;  // null: refused, nothing launched
    } cases[] = {
        {L"http://example.com/a b", L"\"http://example.com/a b\""},
        {L"\"http://example.com/\"", L"\"http://example.com/\""},
        {L"", L""},
        {L"http://example.com/\" -extoff", nullptr},
        {L"\"http://a\" \"b\"", nullptr},
        {L"\"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.address << "'");
        ShellLaunchRecorder::launches.clear();
        m_sink.reports.clear();
        EXPECT_EQ(c.parameters != nullptr, System::OpenInInternetExplorer(c.address));
        if (c.parameters) {
            ASSERT_EQ(1u, ShellLaunchRecorder::launches.size());
            const FoundationTests::ShellLaunch& launch = ShellLaunchRecorder::launches[0];
            EXPECT_EQ(L"open", launch.verb);
            EXPECT_EQ(L"C:\\IE\\iexplore.exe", launch.file);
            EXPECT_EQ(c.parameters, launch.parameters);
            EXPECT_EQ(SW_SHOWNORMAL, launch.show);
            EXPECT_TRUE(m_sink.reports.empty());
        } else {
            EXPECT_TRUE(ShellLaunchRecorder::launches.empty());
            ASSERT_EQ(1u, m_sink.reports.size());
            EXPECT_EQ(Reporting::Error, m_sink.reports[0].severity);
        }
    }

    ShellLaunchRecorder::launches.clear();
    ShellLaunchRecorder::instanceCodes = {SE_ERR_FNF};
    EXPECT_FALSE(System::OpenInInternetExplorer(L"http://example.com/"));
    machine.RegisterInternetExplorer(nullptr);
    EXPECT_FALSE(System::OpenInInternetExplorer(L"http://example.com/"));
    EXPECT_EQ(1u, ShellLaunchRecorder::launches.size());
}

TEST_F(ShellHelpersTest, OpenFolderAndSelectFile) {
    Testing::TempFolder folder;
    const std::wstring video = folder.WriteFile(L"clips\\video.flv", "flv");
    const std::wstring missing = folder / L"clips\\gone.flv";
    const std::wstring explorer = WindowsFile(L"explorer.exe");
    const struct {
        const char* name;
        std::wstring path;
        HRESULT openerResult;
        INT_PTR explorerCode;
        bool selected;   // the folder window was asked for
        bool explorerRun;
        bool result;
    } cases[] = {
        {"existing file", video, S_OK, 42, true, false, true},
        {"folder window fails", video, E_FAIL, 42, true, true, true},
        {"explorer fails too", video, E_FAIL, SE_ERR_FNF, true, true, false},
        {"file the shell cannot name", missing, S_OK, 42, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShellLaunchRecorder::launches.clear();
        ShellLaunchRecorder::selections.clear();
        ShellLaunchRecorder::openerResult = c.openerResult;
        ShellLaunchRecorder::instanceCodes = {c.explorerCode};
        EXPECT_EQ(c.result, System::OpenFolderAndSelectFile(c.path));
        if (c.selected) {
            ASSERT_EQ(1u, ShellLaunchRecorder::selections.size());
            EXPECT_EQ(folder / L"clips", ShellLaunchRecorder::selections[0].folder);
            EXPECT_EQ(video, ShellLaunchRecorder::selections[0].item);
        } else {
            EXPECT_TRUE(ShellLaunchRecorder::selections.empty());
        }
        ASSERT_EQ(c.explorerRun ? 1u : 0u, ShellLaunchRecorder::launches.size());
        if (c.explorerRun) {
            const FoundationTests::ShellLaunch& launch = ShellLaunchRecorder::launches[0];
            EXPECT_EQ(L"", launch.verb);
            EXPECT_EQ(explorer, launch.file);
            EXPECT_EQ(L"/select,\"" + c.path + L"\"", launch.parameters);
            EXPECT_EQ(SW_SHOW, launch.show);
        }
    }
}

TEST_F(ShellHelpersTest, PlayMediaFileTriesOpenThenPlayThenThePlayer) {
    Testing::TempFolder folder;
    const std::wstring video = folder.WriteFile(L"video.wmv", "wmv");
    const std::wstring player =
        FileSystem::GetSpecialFolder(CSIDL_PROGRAM_FILES).GetFile(L"Windows Media Player\\wmplayer.exe").GetPath();
    const struct {
        const char* name;
        std::vector<INT_PTR> codes;
        size_t launches;
        bool result;
    } cases[] = {
        {"open plays it", {42}, 1, true},
        {"play plays it", {SE_ERR_NOASSOC, 33}, 2, true},
        {"the player plays it", {SE_ERR_NOASSOC, 32, 42}, 3, true},
        {"nothing plays it", {SE_ERR_NOASSOC, 31, SE_ERR_FNF}, 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShellLaunchRecorder::launches.clear();
        ShellLaunchRecorder::instanceCodes = c.codes;
        EXPECT_EQ(c.result, System::PlayMediaFile(video));
        const std::vector<FoundationTests::ShellLaunch>& launches = ShellLaunchRecorder::launches;
        ASSERT_EQ(c.launches, launches.size());
        const struct {
            const wchar_t* verb;
            std::wstring file;
            std::wstring parameters;
        } expected[] = {
            {L"open", video, L""},
            {L"play", video, L""},
            {L"open", player, L"\"" + video + L"\""},
        };
        for (size_t i = 0; i < launches.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "launch " << i);
            EXPECT_EQ(expected[i].verb, launches[i].verb);
            EXPECT_EQ(expected[i].file, launches[i].file);
            EXPECT_EQ(expected[i].parameters, launches[i].parameters);
            EXPECT_EQ(SW_SHOWNORMAL, launches[i].show);
        }
    }
}

TEST_F(ShellHelpersTest, PlayMediaFileLaunchesNothingWithoutAFile) {
    Testing::TempFolder folder;
    const std::wstring paths[] = {L"", folder / L"missing.wmv", folder.Path()};
    for (const std::wstring& path : paths) {
        SCOPED_TRACE(testing::Message() << "'" << path << "'");
        EXPECT_FALSE(System::PlayMediaFile(path));
    }
    EXPECT_TRUE(ShellLaunchRecorder::launches.empty());
}

}  // namespace
