#include "foundation/filesystem/File.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/filesystem/ShellFileOperation.h"

#include "RecordingSink.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using FileSystem::File;
using FileSystem::Folder;
using FoundationTests::RecordingSink;
using FoundationTests::ScopedSink;

// Everything happens inside a temporary tree; no undo is asked for, which
// under Wine would mean the Linux trash.
class ShellFileOperation : public testing::Test {
protected:
    void SetUp() override {
        temp.WriteFile(L"tree\\one.txt", "1");
        temp.WriteFile(L"tree\\sub\\two.txt", "22");
    }
    Testing::TempFolder temp;
    RecordingSink sink;
    ScopedSink scope{&sink};
};

TEST_F(ShellFileOperation, CopyMoveAndDeleteFoldersAndFiles) {
    ASSERT_TRUE(Folder(temp / L"tree").CopyTo(temp / L"copy"));
    EXPECT_EQ("1", Testing::ReadFileBytes(temp / L"copy\\one.txt"));
    EXPECT_EQ("22", Testing::ReadFileBytes(temp / L"copy\\sub\\two.txt"));
    EXPECT_TRUE(Testing::PathExists(temp / L"tree\\sub\\two.txt"));

    // Slashes and parent steps are normalised first.
    ASSERT_TRUE(File(temp.Path() + L"/copy/sub/../one.txt").MoveTo(temp / L"moved.txt"));
    EXPECT_FALSE(Testing::PathExists(temp / L"copy\\one.txt"));
    EXPECT_EQ("1", Testing::ReadFileBytes(temp / L"moved.txt"));

    ASSERT_TRUE(File(temp / L"copy").MoveTo(temp / L"renamed"));
    EXPECT_EQ("22", Testing::ReadFileBytes(temp / L"renamed\\sub\\two.txt"));

    ASSERT_TRUE(File(temp / L"moved.txt").Delete(false));
    EXPECT_FALSE(Testing::PathExists(temp / L"moved.txt"));
    ASSERT_TRUE(File(temp / L"renamed\\").Delete(false));
    EXPECT_FALSE(Testing::PathExists(temp / L"renamed"));
    EXPECT_TRUE(sink.reports.empty());
}

TEST_F(ShellFileOperation, FailureIsReportedWithTheShellCode) {
    EXPECT_FALSE(File(temp / L"missing.txt").Delete(false));
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Error, sink.reports[0].severity);
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L" ((shRes))")) << sink.reports[0].text;
    // A decimal code is a Win32 error (0x8007xxxx).
    EXPECT_EQ(0u, sink.reports[0].text.find(L"Code ")) << sink.reports[0].text;
    EXPECT_TRUE(iswdigit(sink.reports[0].text[5])) << sink.reports[0].text;
}

TEST_F(ShellFileOperation, EmptySourceIsRefusedNotTakenForTheRoot) {
    EXPECT_FALSE(File(L"").Delete(false));
    EXPECT_FALSE(Folder(L"").CopyTo(temp / L"copy"));
    ASSERT_EQ(2u, sink.reports.size());
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((!source.empty()))")) << sink.reports[0].text;
    EXPECT_FALSE(Testing::PathExists(temp / L"copy"));
}

}  // namespace
