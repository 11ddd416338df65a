// The client against the service's stand-in running in its own process.
#include "appframework/serviceclient/Library.h"

#include "ServiceClientFixtures.h"
#include "platform/elevation/tests/ElevationServiceFixture.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace GenericServiceClient;
using namespace ServiceClientTests;

std::string CallLogText() {
    return Testing::ReadFileBytes(ElevationTests::CallLogPath());
}

TEST(ElevatedOperations, TheServiceDoesTheWorkInItsOwnProcess) {
    ElevationTests::InstalledService installed;
    Testing::TempFolder folder;
    const std::wstring file = folder.WriteFile(L"a.txt", "a");
    {
        OleScope ole;
        ServiceSink sink;
        FoundationTests::ScopedSink scoped(&sink);
        Library library;

        EXPECT_TRUE(library.CreateFolder(folder / L"made"));
        EXPECT_TRUE(Testing::PathExists(folder / L"made"));

        EXPECT_TRUE(library.MoveFile(file, folder / L"made\\b.txt"));
        EXPECT_FALSE(Testing::PathExists(file));
        EXPECT_TRUE(Testing::PathExists(folder / L"made\\b.txt"));

        EXPECT_TRUE(library.PathExists(folder / L"made\\b.txt"));
        EXPECT_TRUE(library.PathExists(folder / L"made"));
        EXPECT_FALSE(library.PathExists(folder / L"missing"));
        EXPECT_TRUE(library.PathOperation11(folder / L"made"));

        EXPECT_TRUE(library.DeleteFile(folder / L"made\\b.txt"));
        EXPECT_FALSE(Testing::PathExists(folder / L"made\\b.txt"));
        EXPECT_FALSE(library.DeleteFile(folder / L"made\\b.txt"));

        const std::wstring subKey = L"Software\\Brunlow Tests\\" + Testing::NewGuidText();
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                                 nullptr, &key, nullptr));
        const std::wstring value = L"C:\\Program Files\\Codec Pack";
        RegSetValueExW(key, L"InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        EXPECT_EQ(value, library.ReadRegistryValue(L"HKEY_LOCAL_MACHINE\\" + subKey, L"InstallPath"));
        EXPECT_EQ(L"", library.ReadRegistryValue(L"HKEY_LOCAL_MACHINE\\" + subKey, L"Missing"));
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, subKey.c_str());

        EXPECT_TRUE(sink.reports.empty());
    }
    // Every call reached another process, and that process ended after the last release.
    const std::string log = CallLogText();
    EXPECT_EQ(10u, DebuggingTests::SplitLines(log).size()) << log;
    const std::string ownId = std::to_string(GetCurrentProcessId()) + "\t";
    for (const std::string& line : DebuggingTests::SplitLines(log))
        EXPECT_NE(0u, line.find(ownId)) << line;
    EXPECT_TRUE(ElevationTests::WaitForNoServiceProcess(5000));
}

}  // namespace
