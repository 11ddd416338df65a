#include "updater/engine/UpdateController.h"

#include "foundation/system/ShellExecute.h"
#include "foundation/tests/ShellLaunchRecorder.h"
#include "testing/TempFolder.h"
#include "updater/settings/UpdaterSettings.h"
#include "updater/tests/UpdaterTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using UpdaterTests::ScopedKey;
using UpdaterTests::StartedProcess;

const DWORD kExitCodeOnEvent = 7;  // the stand-in's answer to the exit event

// A product under a name of its own, with its stand-in copied into two
// folders: "installed" and "elsewhere".
class UpdateControllerTest : public testing::Test {
protected:
    void SetUp() override {
        m_productName = UpdaterTests::UniqueName(L"UpdaterTestProduct");
        m_executable = UpdaterTests::UniqueName(L"UpdTestProd") + L".exe";
        const std::string image = Testing::ReadFileBytes(UpdaterTests::BesideTests(L"UpdaterProductStandIn.exe"));
        ASSERT_FALSE(image.empty());
        m_installed = m_folder.MakeFolder(L"installed");
        m_elsewhere = m_folder.MakeFolder(L"elsewhere");
        m_folder.WriteFile(L"installed\\" + m_executable, image);
        m_folder.WriteFile(L"elsewhere\\" + m_executable, image);
    }

    std::unique_ptr<UpdaterSettings> Settings(const std::wstring& executable) const {
        const std::wstring commandLine =
            L"Updater.exe /productName " + m_productName + L" /productExecutable " + executable;
        return std::make_unique<UpdaterSettings>(commandLine.c_str());
    }

    // Started and ready: it holds the exit event.
    std::unique_ptr<StartedProcess> StartProduct(const std::wstring& folder, const wchar_t* mode) const {
        auto process = std::make_unique<StartedProcess>(folder + L"\\" + m_executable,
                                                        m_productName + L"_ExitEvent " + mode);
        EXPECT_TRUE(process->IsStarted());
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, (m_productName + L"_ExitEvent_Ready").c_str());
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready, 30000));
        CloseHandle(ready);
        return process;
    }

    std::wstring InstallKeyPath() const { return L"Software\\" + m_productName; }

    std::wstring m_productName;
    std::wstring m_executable;
    Testing::TempFolder m_folder;
    std::wstring m_installed;
    std::wstring m_elsewhere;
    FoundationTests::ShellLaunchRecorder m_shell;  // every launch recorded, none reaches the shell
};

TEST_F(UpdateControllerTest, ProductEndingOnTheExitEventIsNotTerminated) {
    auto settings = Settings(m_executable);
    Engine::UpdateController controller(*settings);
    EXPECT_FALSE(controller.IsProductRunning());
    auto product = StartProduct(m_elsewhere, L"exit");
    EXPECT_TRUE(controller.IsProductRunning());
    EXPECT_EQ(product->Id(), controller._FindProductProcessId());

    EXPECT_TRUE(controller.StopProduct(2000));
    ASSERT_TRUE(product->HasEnded(0));
    EXPECT_EQ(kExitCodeOnEvent, product->ExitCode());
    EXPECT_FALSE(controller.IsProductRunning());
}

TEST_F(UpdateControllerTest, ProductIgnoringTheExitEventIsTerminatedAfterTheTimeout) {
    auto settings = Settings(m_executable);
    Engine::UpdateController controller(*settings);
    auto product = StartProduct(m_elsewhere, L"ignore");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(controller.StopProduct(700));
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(elapsed, 690);
    ASSERT_TRUE(product->HasEnded(0));  // waited for after the termination
    EXPECT_EQ(0u, product->ExitCode());
}

TEST_F(UpdateControllerTest, NoRunningProductCountsAsStopped) {
    auto settings = Settings(m_executable);
    Engine::UpdateController controller(*settings);
    EXPECT_EQ(0u, controller._FindProductProcessId());
    EXPECT_TRUE(controller.StopProduct(100));
}

TEST_F(UpdateControllerTest, ExecutableNameIsMatchedWithoutCase) {
    std::wstring upper = m_executable;
    for (wchar_t& ch : upper)
        ch = towupper(ch);
    auto settings = Settings(upper);
    Engine::UpdateController controller(*settings);
    auto product = StartProduct(m_elsewhere, L"exit");
    EXPECT_EQ(product->Id(), controller._FindProductProcessId());
    // A name that only begins the same is another program.
    auto prefix = Settings(m_executable.substr(0, m_executable.size() - 5) + L".exe");
    Engine::UpdateController other(*prefix);
    EXPECT_FALSE(other.IsProductRunning());
}

TEST_F(UpdateControllerTest, KnownInstallPathLeavesAProcessInAnotherFolderAlone) {
    ScopedKey install(HKEY_LOCAL_MACHINE, InstallKeyPath());
    ASSERT_TRUE(install.SetString(L"InstallPath", m_installed));
    auto settings = Settings(m_executable);
    Engine::UpdateController controller(*settings);
    EXPECT_EQ(m_installed, controller.GetInstallPath());

    // Another program of that name, which does not listen to the product's event.
    auto stranger = StartProduct(m_elsewhere, L"ignore");
    EXPECT_FALSE(controller.IsProductRunning());
    EXPECT_TRUE(controller.StopProduct(500));
    EXPECT_FALSE(stranger->HasEnded(200));

    auto product = StartProduct(m_installed, L"exit");
    EXPECT_EQ(product->Id(), controller._FindProductProcessId());
    // The stop returns once the product has gone; the bound only allows for a loaded machine.
    EXPECT_TRUE(controller.StopProduct(Engine::kProductStopTimeoutMs));
    EXPECT_TRUE(product->HasEnded(0));
    EXPECT_EQ(kExitCodeOnEvent, product->ExitCode());
    EXPECT_FALSE(stranger->HasEnded(0));
}

TEST_F(UpdateControllerTest, RelaunchesFromTheInstallPathElseFromTheStoppedProcess) {
    auto settings = Settings(m_executable);
    Engine::UpdateController controller(*settings);
    // Neither an install path nor a stopped process: nothing to start.
    EXPECT_FALSE(controller.LaunchProduct(false));
    EXPECT_TRUE(m_shell.launches.empty());

    auto product = StartProduct(m_elsewhere, L"exit");
    ASSERT_TRUE(controller.StopProduct(2000));
    EXPECT_TRUE(controller.LaunchProduct(false));
    EXPECT_TRUE(controller.LaunchProduct(true));
    ASSERT_EQ(2u, m_shell.launches.size());
    EXPECT_EQ(0, _wcsicmp((m_elsewhere + L"\\" + m_executable).c_str(), m_shell.launches[0].file.c_str()));
    EXPECT_EQ(SW_SHOW, m_shell.launches[0].show);
    EXPECT_EQ(SW_SHOWMINIMIZED, m_shell.launches[1].show);

    m_shell.launches.clear();
    ScopedKey install(HKEY_LOCAL_MACHINE, InstallKeyPath());
    ASSERT_TRUE(install.SetString(L"InstallPath", m_installed + L"\\"));
    EXPECT_TRUE(controller.LaunchProduct(false));
    ASSERT_EQ(1u, m_shell.launches.size());
    EXPECT_EQ(m_installed + L"\\" + m_executable, m_shell.launches[0].file);
    EXPECT_EQ(SW_SHOW, m_shell.launches[0].show);
}

}  // namespace
