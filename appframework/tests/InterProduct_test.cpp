#include "appframework/interproduct/Product.h"

#include "ServiceClientFixtures.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/system/Process.h"
#include "testing/ChildProcess.h"
#include "testing/CopiedProgram.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

namespace {

using InterProductLib::ProductId;
using ServiceClientTests::ShellStartRecorder;

const wchar_t kCompanionRecordVariable[] = L"BRUNLOW_COMPANION_RECORD";

std::wstring UniqueName() {
    std::wstring guid = Testing::NewGuidText();
    std::wstring name = L"BrunlowCompanion";
    for (wchar_t c : guid) {
        if (iswalnum(c))
            name += c;
    }
    return name;
}

std::wstring TestProgramFolder() {
    return FileSystem::GetApplicationFolder().GetPath();
}

// A small placeholder file; the shell door never runs it.
void WriteStub(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(file, "MZ", 2, &written, nullptr);
    ::CloseHandle(file);
}

void SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// "Software\<key>" under HKLM (32-bit view, the product description) and
// HKCU (the launch settings), both removed afterwards.
class CompanionKeys {
public:
    explicit CompanionKeys(const std::wstring& productKey) : m_path(L"Software\\" + productKey) {}
    ~CompanionKeys() {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), KEY_WOW64_32KEY, 0);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), KEY_WOW64_64KEY, 0);
        RegDeleteKeyW(HKEY_CURRENT_USER, m_path.c_str());
    }
    void Describe(const wchar_t* name, const std::wstring& value, REGSAM view = KEY_WOW64_32KEY) const {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        SetString(key, name, value);
        RegCloseKey(key);
    }
    void SetUserString(const wchar_t* name, const std::wstring& value) const {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        SetString(key, name, value);
        RegCloseKey(key);
    }
    void SetLaunchOnce(DWORD value) const {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegSetValueExW(key, L"LaunchOnceOnProductExit", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof(value));
        RegCloseKey(key);
    }
    DWORD LaunchOnce() const {
        DWORD value = 0xFFFFFFFF;
        DWORD size = sizeof(value);
        RegGetValueW(HKEY_CURRENT_USER, m_path.c_str(), L"LaunchOnceOnProductExit", RRF_RT_REG_DWORD, nullptr, &value,
                     &size);
        return value;
    }

private:
    std::wstring m_path;
};

// A file made beside the test program, removed afterwards.
class FileBesideProgram {
public:
    explicit FileBesideProgram(const std::wstring& name) : m_path(TestProgramFolder() + name) {
        WriteStub(m_path);
    }
    ~FileBesideProgram() { ::DeleteFileW(m_path.c_str()); }
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

class CompanionTest : public testing::Test {
protected:
    CompanionTest() : key(UniqueName()), keys(key) {}

    std::wstring key;
    CompanionKeys keys;
    Testing::TempFolder folder;
    ShellStartRecorder shell{false};
};

TEST_F(CompanionTest, BareDescriptionTakesItsDefaults) {
    InterProductLib::Product product({key, L"Short", L"SuiteKey", L"Suite"});
    const PluginLib::ProductDescription& description = product.GetPlugin().GetDescription();
    EXPECT_EQ(L"Short", description.shortTitle);
    EXPECT_EQ(L"", description.mediumTitle);
    EXPECT_EQ(key, description.productKey);
    EXPECT_EQ(L"SuiteKey", description.bundleLongTitle);
    EXPECT_EQ(L"Suite", description.bundleShortTitle);
    EXPECT_EQ(L"", description.downloadAddress);
    EXPECT_EQ(L"", description.iconFilePath);
    EXPECT_EQ(128, description.iconResourceId);
    EXPECT_EQ(L"Short.exe", product.GetPlugin().GetExecutableName());
    EXPECT_EQ(key, product.GetValue(1));
    EXPECT_EQ(L"Short", product.GetValue(3));
    EXPECT_EQ(L"", product.GetValue(10));
    EXPECT_EQ(L"", product.GetValue(8));
    EXPECT_FALSE(product.IsInstalled());
}

TEST_F(CompanionTest, DescriptionComesFromTheRegistryAndIsCached) {
    keys.Describe(L"TitleShort", L"Conv");
    keys.Describe(L"TitleMedium", L"Converter Deluxe");
    keys.Describe(L"DescriptionVerb", L"Convert");
    keys.Describe(L"URLMain", L"http://main.example/");
    keys.Describe(L"ExecutableName", L"ConvMain.exe");
    keys.Describe(L"IconResourceID", L"7");
    const boost::shared_ptr<InterProductLib::Manager> manager = InterProductLib::CreateManager();
    ASSERT_TRUE(manager);
    const boost::shared_ptr<InterProductLib::Product> product = manager->GetProduct({key, L"Other", key, L"Other"});
    ASSERT_TRUE(product);
    EXPECT_EQ(L"Converter Deluxe", product->GetValue(0));
    EXPECT_EQ(L"Converter Deluxe", product->GetValue(2));
    EXPECT_EQ(L"Conv", product->GetValue(3));
    EXPECT_EQ(L"Convert", product->GetValue(5));
    EXPECT_EQ(L"http://main.example/", product->GetValue(7));
    EXPECT_EQ(L"ConvMain.exe", product->GetPlugin().GetExecutableName());
    EXPECT_EQ(7, product->GetPlugin().GetDescription().iconResourceId);
    EXPECT_EQ(product, manager->GetProduct({key, L"Another", key, L"Another"}));
}

TESTING_CHILD_SCENARIO(CompanionWindow) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"Companion", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                    nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr)
        return 1;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 60000 && ::IsWindow(window)) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
    return 0;
}

TEST_F(CompanionTest, RunningProductIsOnlyBroughtForward) {
    Testing::CopiedProgram program(key + L".exe");
    Testing::StartedChild child = program.Start("CompanionWindow");
    ASSERT_TRUE(child.Started());
    bool visible = false;
    for (int i = 0; i < 400 && !visible; ++i) {
        visible = PluginLib::PluginBase::FindVisibleWindow(key + L".exe") != nullptr;
        if (!visible)
            ::Sleep(50);
    }
    ASSERT_TRUE(visible);
    keys.SetLaunchOnce(1);
    EXPECT_TRUE(InterProductLib::LaunchProduct(key, key, true, true));
    EXPECT_TRUE(ShellStartRecorder::starts.empty());
    EXPECT_EQ(1u, keys.LaunchOnce());
}

TEST_F(CompanionTest, LaunchFollowsTheLaunchOnceValue) {
    const std::wstring executable = folder.WriteFile(key + L".exe", "MZ");
    keys.SetUserString(L"InstallPath", folder.Path());
    // Absent, then 0: nothing starts unless forced.
    EXPECT_TRUE(InterProductLib::LaunchProduct(key, key, false, true));
    keys.SetLaunchOnce(0);
    EXPECT_TRUE(InterProductLib::LaunchProduct(key, key, false, true));
    EXPECT_TRUE(ShellStartRecorder::starts.empty());
    // Set: the product starts and the value is cleared.
    keys.SetLaunchOnce(1);
    EXPECT_TRUE(InterProductLib::LaunchProduct(key, key, false, false));
    ASSERT_EQ(1u, ShellStartRecorder::starts.size());
    EXPECT_EQ(executable, ShellStartRecorder::starts[0].file);
    EXPECT_EQ(L"", ShellStartRecorder::starts[0].parameters);
    EXPECT_EQ(SW_SHOWNORMAL, ShellStartRecorder::starts[0].show);
    EXPECT_EQ(0u, keys.LaunchOnce());
    // Forced with the value 0: starts again.
    EXPECT_TRUE(InterProductLib::LaunchProduct(key, key, true, false));
    EXPECT_EQ(2u, ShellStartRecorder::starts.size());
    // Without a name or a key nothing happens.
    EXPECT_FALSE(InterProductLib::LaunchProduct(key, L"", true, true));
    EXPECT_FALSE(InterProductLib::LaunchProduct(L"", key, true, true));
    EXPECT_EQ(2u, ShellStartRecorder::starts.size());
}

TEST_F(CompanionTest, MissingProductIsInstalledBySetupOrUpdater) {
    keys.SetLaunchOnce(1);
    // Not asked to install.
    EXPECT_FALSE(InterProductLib::LaunchProduct(key, key, true, false));
    // No setup and no download address.
    EXPECT_FALSE(InterProductLib::LaunchProduct(key, key, true, true));
    EXPECT_TRUE(ShellStartRecorder::starts.empty());
    {
        FileBesideProgram setup(key + L" Setup.exe");
        EXPECT_TRUE(InterProductLib::LaunchProduct(key, key, true, true));
        ASSERT_EQ(1u, ShellStartRecorder::starts.size());
        EXPECT_EQ(setup.Path(), ShellStartRecorder::starts[0].file);
        EXPECT_EQ(L"", ShellStartRecorder::starts[0].parameters);
    }
    keys.Describe(L"URLDownload", L"http://dl.example/conv.exe");
    keys.Describe(L"URLMain", L"http://main.example/");
    EXPECT_TRUE(InterProductLib::LaunchProduct(key, key, true, true));
    ASSERT_EQ(2u, ShellStartRecorder::starts.size());
    EXPECT_EQ(TestProgramFolder() + L"Updater.exe", ShellStartRecorder::starts[1].file);
    EXPECT_EQ(L"/productName \"" + key + L"\" /productURL \"http://main.example/\" /downloadURL "
              L"\"http://dl.example/conv.exe\" /productExecutable \"" + key + L".exe\" /componentName \" \" /isSilent 0",
              ShellStartRecorder::starts[1].parameters);
}

TEST_F(CompanionTest, UpdaterOfTheSuiteIsPreferred) {
    const std::wstring suiteKey = UniqueName();
    CompanionKeys suiteKeys(suiteKey);
    keys.Describe(L"URLDownload", L"http://dl.example/conv.exe");
    keys.Describe(L"BundleTitleLong", suiteKey);
    keys.Describe(L"BundleTitleShort", L"Suite");
    InterProductLib::Product product({key, L"Conv", suiteKey, L"Suite"});
    EXPECT_EQ(TestProgramFolder() + L"Updater.exe", product.GetPlugin().GetUpdaterPath());
    EXPECT_TRUE(product.Install(TRUE, TRUE));
    ASSERT_EQ(1u, ShellStartRecorder::starts.size());
    EXPECT_NE(std::wstring::npos, ShellStartRecorder::starts[0].parameters.find(L"/isSilent 1"));
    EXPECT_FALSE(product.Install(TRUE, FALSE));

    folder.WriteFile(L"Suite.exe", "MZ");
    const std::wstring updater = folder.WriteFile(L"Updater.exe", "MZ");
    suiteKeys.Describe(L"InstallPath", folder.Path());
    // A fresh product: the first keeps the path it found while that file is
    // there, and the build puts a real Updater.exe beside the tests.
    InterProductLib::Product later({key, L"Conv", suiteKey, L"Suite"});
    EXPECT_EQ(updater, later.GetPlugin().GetUpdaterPath());
}

TEST_F(CompanionTest, WidePrograms64FolderIsTried) {
    const std::wstring programFiles = FileSystem::GetSpecialFolder(CSIDL_PROGRAM_FILES).GetPath();
    std::wstring wide = programFiles;
    while (!wide.empty() && wide.back() == L'\\')
        wide.pop_back();
    if (wide.size() < 6 || wide.compare(wide.size() - 6, 6, L" (x86)") != 0)
        GTEST_SKIP() << "Program Files has no \" (x86)\" form here";
    wide.erase(wide.size() - 6);
    const std::wstring installFolder = wide + L"\\" + key;
    ASSERT_TRUE(::CreateDirectoryW(installFolder.c_str(), nullptr));
    WriteStub(installFolder + L"\\Conv.exe");
    EXPECT_EQ(installFolder, PluginLib::PluginBase::FindInstallFolder(key, L"Conv.exe"));
    InterProductLib::Product product({key, L"Conv", key, L"Conv"});
    EXPECT_TRUE(product.IsInstalled());
    EXPECT_EQ(installFolder + L"\\Conv.exe", product.GetValue(10));
    EXPECT_TRUE(product.Run(L"\"C:\\videos\\a.flv\""));
    ASSERT_EQ(1u, ShellStartRecorder::starts.size());
    EXPECT_EQ(L"\"C:\\videos\\a.flv\"", ShellStartRecorder::starts[0].parameters);
    Testing::RemoveTree(installFolder);
}

TEST_F(CompanionTest, UninstallRunsTheSetupsUninstaller) {
    folder.WriteFile(L"Conv.exe", "MZ");
    keys.Describe(L"InstallPath", folder.Path());
    InterProductLib::Product product({key, L"Conv", key, L"Conv"});
    ASSERT_TRUE(product.IsInstalled());
    EXPECT_FALSE(product.Uninstall(TRUE));
    const std::wstring uninstaller = folder.WriteFile(L"unins000.exe", "MZ");
    EXPECT_TRUE(product.Uninstall(TRUE));
    EXPECT_TRUE(product.Uninstall(FALSE));
    ASSERT_EQ(2u, ShellStartRecorder::starts.size());
    EXPECT_EQ(uninstaller, ShellStartRecorder::starts[0].file);
    EXPECT_EQ(L"/verysilent /norestart /S", ShellStartRecorder::starts[0].parameters);
    EXPECT_EQ(L"", ShellStartRecorder::starts[1].parameters);
}

TEST_F(CompanionTest, IconComesFromTheFileOrTheExecutableWithoutRunningIt) {
    keys.Describe(L"IconFilePath", TestProgramFolder() + L"CompanionProbe.ico");
    {
        InterProductLib::Product product({key, L"Conv", key, L"Conv"});
        const CommonGuiLib::SharedIcon icon = product.GetIcon(32, 32);
        ASSERT_TRUE(icon);
        EXPECT_NE(nullptr, icon->GetHandle());
    }
    keys.Describe(L"IconFilePath", L"");
    keys.Describe(L"InstallPath", folder.Path());
    ASSERT_TRUE(::CopyFileW((TestProgramFolder() + L"CompanionProbe.exe").c_str(), (folder / L"Conv.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW((TestProgramFolder() + L"CompanionHelper.dll").c_str(),
                            (folder / L"CompanionHelper.dll").c_str(), FALSE));
    const std::wstring record = folder / L"attached.txt";
    ::SetEnvironmentVariableW(kCompanionRecordVariable, record.c_str());
    InterProductLib::Product product({key, L"Conv", key, L"Conv"});
    const CommonGuiLib::SharedIcon icon = product.GetIcon(16, 16);
    ::SetEnvironmentVariableW(kCompanionRecordVariable, nullptr);
    ASSERT_TRUE(icon);
    EXPECT_NE(nullptr, icon->GetHandle());
    EXPECT_FALSE(Testing::PathExists(record)) << "the product's imported DLL ran its start-up";
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"CompanionHelper.dll"));
}

}  // namespace
