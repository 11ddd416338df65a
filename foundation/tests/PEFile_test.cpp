#include "foundation/filesystem/File.h"
#include "foundation/filesystem/PEFile.h"

#include "RecordingSink.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using FoundationTests::RecordingSink;
using FoundationTests::ScopedSink;

std::wstring TestExe() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return exe;
}

// The block comes from PEFile_test.rc: FileVersion "1, 2, 3, 4".
TEST(PEFile, VersionBlockOfThisProgram) {
    const FileSystem::File exe(TestExe());
    EXPECT_EQ(L"1. 2. 3. 4", exe.GetVersionString());

    const FileSystem::PEFile block = exe.GetVersionInfo();
    ASSERT_FALSE(block.IsEmpty());
    EXPECT_EQ(L"1, 2, 3, 4", block.GetFileVersion());
    ASSERT_NE(nullptr, block.GetStringValue(L"FileDescription"));
    EXPECT_EQ(std::wstring(L"Foundation tests"), block.GetStringValue(L"FileDescription"));
    EXPECT_EQ(nullptr, block.GetStringValue(L"NoSuchValue"));
}

TEST(PEFile, SystemLibraryHasAVersion) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const FileSystem::PEFile block(std::wstring(system) + L"\\kernel32.dll");
    EXPECT_FALSE(block.IsEmpty());
    EXPECT_FALSE(block.GetFileVersion().empty());
}

TEST(PEFile, NoBlockIsReportedWhenAsked) {
    Testing::TempFolder temp;
    RecordingSink sink;
    ScopedSink scope(&sink);

    const FileSystem::PEFile none(temp.WriteFile(L"plain.txt", "no version here"));
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_TRUE(sink.reports.empty());
    EXPECT_EQ(nullptr, none.GetStringValue(L"FileVersion"));
    EXPECT_EQ(L"", none.GetFileVersion());
    EXPECT_EQ(L"", FileSystem::File(temp / L"missing.dll").GetVersionString());

    const FileSystem::PEFile unnamed(L"");
    EXPECT_TRUE(unnamed.IsEmpty());

    ASSERT_EQ(4u, sink.reports.size());
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((!m_verBuf.empty()))")) << sink.reports[0].text;
    EXPECT_NE(std::wstring::npos, sink.reports[3].text.find(L"((!!modulePath))")) << sink.reports[3].text;
    for (const auto& report : sink.reports) {
        EXPECT_EQ(Reporting::Error, report.severity);
        EXPECT_EQ(0u, report.text.find(L"Code 0x80004005")) << report.text;
    }
}

TEST(PEFile, ParseVersion) {
    struct Case {
        std::wstring text;
        std::vector<int> numbers;
    } cases[] = {
        {L"1.2.3.4", {1, 2, 3, 4}},
        {L"1..2", {1, 0, 2}},
        {L"", {0}},
        {L"1. 2. 3. 4", {1, 2, 3, 4}},
        {L"7.0b.x", {7, 0, 0}},
        {L"-3.+4", {-3, 4}},
        {L"10.", {10, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        std::vector<int> numbers = {99};
        FileSystem::ParseVersion(c.text, numbers);
        EXPECT_EQ(c.numbers, numbers);
    }
}

}  // namespace
