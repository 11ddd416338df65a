// The shell folders are redirected in a child: its HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE become a test key that names them.
#include "appframework/application/ApplicationBaseLite.h"

#include "TestApplication.h"
#include "testing/CopiedProgram.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
// Value names of My Videos, Common Videos, My Documents and Common Documents
// (Wine and Windows name My Videos differently).
const wchar_t* const kVideoNames[] = {L"My Video", L"My Videos", L"CommonVideo", L"Common Video"};
const wchar_t* const kDocumentNames[] = {L"Personal", L"Common Documents"};
// A drive no machine here has: nothing can be made there.
const wchar_t kUnusable[] = L"Q:\\Unusable\\Folder";

void SetFolders(const Testing::TempRegistryKey& key, const wchar_t* const* names, size_t count,
                const std::wstring& folder) {
    HKEY shellFolders = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(key.Handle(), kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                               &shellFolders, nullptr));
    for (size_t i = 0; i < count; ++i) {
        ::RegSetValueExW(shellFolders, names[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                         static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    }
    ::RegCloseKey(shellFolders);
}

// Argument: "<test key>|<expected folder>". Exit code 0 when the default
// folder is the expected one.
TESTING_CHILD_SCENARIO(DefaultVideosFolder) {
    const std::wstring argument = Testing::ScenarioArgument();
    const size_t bar = argument.find(L'|');
    HKEY key = nullptr;
    if (bar == std::wstring::npos ||
        ::RegOpenKeyExW(HKEY_CURRENT_USER, argument.substr(0, bar).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 100;
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, key);
    ::RegOverridePredefKey(HKEY_CURRENT_USER, key);
    ::RegCloseKey(key);
    AppFrameworkTests::TestProduct product(L"Brunlow");
    AppFrameworkTests::TestApplication app(product.info);
    free(const_cast<LPWSTR>(app.m_pszAppName));
    app.m_pszAppName = _wcsdup(L"Brunlow");
    const std::wstring folder = ApplicationFramework::GetDefaultVideosFolder();
    return _wcsicmp(folder.c_str(), argument.substr(bar + 1).c_str()) == 0 ? 0 : 1;
}

class DefaultVideosFolderTest : public ::testing::Test {
protected:
    unsigned long Run(const std::wstring& expected) {
        return m_program.Run("DefaultVideosFolder", m_key.SubKey() + L"|" + expected).exitCode;
    }

    Testing::CopiedProgram m_program;
    Testing::TempRegistryKey m_key;
};

TEST_F(DefaultVideosFolderTest, VideosFolderHoldsAFolderNamedAfterTheApplication) {
    SetFolders(m_key, kVideoNames, 4, m_program.Tree().MakeFolder(L"Videos"));
    SetFolders(m_key, kDocumentNames, 2, m_program.Tree().MakeFolder(L"Documents"));
    EXPECT_EQ(0u, Run(m_program.Tree() / L"Videos\\Brunlow"));
    EXPECT_FALSE(Testing::PathExists(m_program.Tree() / L"Videos\\Brunlow"));  // not made here
}

TEST_F(DefaultVideosFolderTest, DocumentsFolderServesWhenNoVideosFolderCanBeMade) {
    SetFolders(m_key, kVideoNames, 4, kUnusable);
    SetFolders(m_key, kDocumentNames, 2, m_program.Tree().MakeFolder(L"Documents"));
    EXPECT_EQ(0u, Run(m_program.Tree() / L"Documents\\Brunlow Videos"));
}

TEST_F(DefaultVideosFolderTest, ProgramFolderServesWhenNoShellFolderCanBeMade) {
    SetFolders(m_key, kVideoNames, 4, kUnusable);
    SetFolders(m_key, kDocumentNames, 2, kUnusable);
    EXPECT_EQ(0u, Run(m_program.BinFolder() + L"\\Brunlow Videos"));
}

}  // namespace
