#include "foundation/filesystem/ShellFolders.h"

#include "RecordingSink.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

namespace {

using namespace FileSystem;
using FoundationTests::RecordingSink;
using FoundationTests::ScopedSink;

bool EndsWithNoCase(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && _wcsicmp(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

TEST(ShellFolders, TemporaryAndModuleFolders) {
    const std::wstring temp = GetTempFolder().GetPath();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(L'\\', temp.back());
    EXPECT_TRUE(Testing::PathExists(temp));

    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring exePath = exe;
    const std::wstring folder = exePath.substr(0, exePath.rfind(L'\\') + 1);
    EXPECT_EQ(exePath, GetModuleFilePath(nullptr).GetPath());
    EXPECT_EQ(exePath, GetModuleFilePath(GetModuleHandleW(nullptr)).GetPath());
    EXPECT_EQ(folder, GetModuleFolder(nullptr).GetPath());
    EXPECT_EQ(folder, GetApplicationFolder().GetPath());
    EXPECT_TRUE(EndsWithNoCase(GetModuleFilePath(GetModuleHandleW(L"kernel32.dll")).GetPath(), L"\\kernel32.dll"));

    EXPECT_EQ(folder + L"Resources\\Main", GetModuleRelativePath(L"Resources\\Main", nullptr));
    EXPECT_EQ(folder + L"x", GetModuleRelativePath(L"Resources\\..\\x", nullptr));
    EXPECT_EQ(L"D:\\elsewhere", GetModuleRelativePath(L"D:\\elsewhere", nullptr));
    EXPECT_EQ(L".\\Resources\\Main", MakePathRelativeToModule(folder + L"Resources\\Main", nullptr));
}

TEST(ShellFolders, KnownLocations) {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(windows, GetSpecialFolder(CSIDL_WINDOWS).GetPath());
    // A 32-bit program on a 64-bit system.
    EXPECT_TRUE(EndsWithNoCase(GetSpecialFolder(CSIDL_SYSTEMX86).GetPath(), L"\\syswow64"))
        << testing::PrintToString(GetSpecialFolder(CSIDL_SYSTEMX86).GetPath());
    EXPECT_EQ(L"", GetSpecialFolder(0x7F).GetPath());
}

TEST(ShellFolders, LongAndShortForms) {
    Testing::TempFolder temp;
    const std::wstring file = temp.WriteFile(L"A rather long folder name\\A rather long file name.extension", "x");
    const std::wstring shortForm = GetShortPath(file);
    EXPECT_NE(file, shortForm);
    EXPECT_TRUE(Testing::PathExists(shortForm));
    EXPECT_EQ(file, GetLongPath(shortForm));

    // Longer than MAX_PATH: the buffer grows.
    std::wstring deep = temp.Path();
    while (deep.size() < 400)
        deep += L"\\" + std::wstring(40, L'd');
    temp.MakeFolder(deep.substr(temp.Path().size() + 1));
    ASSERT_TRUE(Testing::PathExists(deep));
    EXPECT_EQ(deep, GetLongPath(deep));
}

TEST(ShellFolders, ConversionFailureIsReportedAndKeepsThePath) {
    Testing::TempFolder temp;
    RecordingSink sink;
    ScopedSink scope(&sink);
    const std::wstring missing = temp / L"missing\\file.txt";
    EXPECT_EQ(missing, GetLongPath(missing));
    EXPECT_EQ(missing, GetShortPath(missing));
    ASSERT_EQ(2u, sink.reports.size());
    for (const auto& report : sink.reports) {
        EXPECT_EQ(Reporting::Error, report.severity);
        // A decimal code is a Win32 error (0x8007xxxx).
        EXPECT_EQ(0u, report.text.find(L"Code ")) << report.text;
        EXPECT_TRUE(iswdigit(report.text[5])) << report.text;
        EXPECT_NE(std::wstring::npos, report.text.find(L" ((lerr))")) << report.text;
    }
}

}  // namespace
