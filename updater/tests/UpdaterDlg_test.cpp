#include <winsock2.h>  // before windows.h

#include "updater/app/UpdaterDlg.h"

#include "foundation/system/ShellExecute.h"
#include "foundation/tests/ShellLaunchRecorder.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "resources/appresources/UpdaterResourceIds.h"
#include "testing/ChildProcess.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"
#include "updater/app/UpdaterApp.h"
#include "updater/app/UpdaterResource.h"
#include "updater/app/UpdaterTexts.h"
#include "updater/engine/UpdateController.h"
#include "updater/settings/UpdaterSettings.h"
#include "updater/tests/UpdaterTestSupport.h"
#include "updater/tests/UpdaterWindowSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using Testing::HttpAnswer;
using Testing::LoopbackHttpServer;
using UpdaterTests::ItemText;
using UpdaterTests::ModalScript;

const std::size_t kSetupSize = 1048576;

// Message boxes answered at once; the first one also delivers two more state
// messages to its owner, as the box's own loop would.
struct BoxRecord {
    int count = 0;
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
    HWND owner = nullptr;
};
BoxRecord g_boxes;

int AnswerBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    if (++g_boxes.count == 1) {
        g_boxes = {1, text ? text : L"", caption ? caption : L"", type, owner};
        for (int i = 0; i < 2; ++i)
            ::SendMessageW(owner, CUpdaterDlg::kStateChangedMessage, 0, 0);
    }
    return IDOK;
}

struct BarState {
    int low = -1;
    int high = -1;
    int position = -1;
};

BarState ReadBar(HWND dialog) {
    HWND bar = ::GetDlgItem(dialog, IDC_UPDATER_PROGRESS);
    PBRANGE range = {};
    ::SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    return {range.iLow, range.iHigh, static_cast<int>(::SendMessageW(bar, PBM_GETPOS, 0, 0))};
}

class UpdaterDialogTest : public testing::Test {
protected:
    void SetUp() override {
        AppResources::ResourceManagerHolder::SetResourceIds(AppResources::Updater::GetUpdaterResourceIds());
        SetEnvironmentVariableW(L"UpdaterSetupStandIn_RecordFolder", m_setupRecords.Path().c_str());
        SetEnvironmentVariableW(L"UpdaterSetupStandIn_ExitCode", nullptr);
        m_setup = Testing::ReadFileBytes(UpdaterTests::BesideTests(L"UpdaterSetupStandIn.exe"));
        ASSERT_FALSE(m_setup.empty());
        m_setup.resize(kSetupSize, '\x5A');
        m_productName = UpdaterTests::UniqueName(L"UpdaterDialogProduct");
        m_executable = UpdaterTests::UniqueName(L"UpdDlgProd") + L".exe";
        m_previousBox = AfxSetMessageBoxHandler(&AnswerBox);
        g_boxes = BoxRecord();
    }
    void TearDown() override {
        AfxSetMessageBoxHandler(m_previousBox);
        SetEnvironmentVariableW(L"UpdaterSetupStandIn_RecordFolder", nullptr);
        SetEnvironmentVariableW(L"UpdaterSetupStandIn_ExitCode", nullptr);
    }

    std::wstring UpdateRoad(const std::wstring& url) const {
        return L"Updater.exe /productName " + m_productName + L" /productURL www.example.com /downloadURL " + url +
               L" /productExecutable " + m_executable + L" /componentName \" \" /isSilent 1";
    }
    std::wstring ExtrasRoad(const std::wstring& url) const {
        return L"Updater.exe /runWithProduct /componentName \"Extras\" /downloadURL \"" + url + L"\" /productName " +
               m_productName + L" /productExecutable " + m_executable;
    }
    bool HasMutex(const std::wstring& suffix) const {
        HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, (m_productName + suffix).c_str());
        if (mutex)
            ::CloseHandle(mutex);
        return mutex != nullptr;
    }

    LoopbackHttpServer m_server;
    Testing::TempFolder m_setupRecords;
    std::string m_setup;
    std::wstring m_productName;
    std::wstring m_executable;
    FoundationTests::ShellLaunchRecorder m_shell;  // every launch recorded, none reaches the shell
    AfxMessageBoxHandler m_previousBox = nullptr;
};

TEST_F(UpdaterDialogTest, SuccessfulRunOffersTheLaunchAndTheBarFollowsTheBytes) {
    // Slow enough that the script sees the download even on a loaded machine.
    m_server.SetAnswer("/setup.exe", HttpAnswer::Slow(m_setup, 16384, 40));
    UpdaterSettings settings(UpdateRoad(m_server.Url(L"/setup.exe")).c_str());
    Engine::UpdateController controller(settings);

    struct Seen {
        std::wstring caption, firstStatus, launchText, cancelText;
        bool launchShownEarly = true, launchEnabledEarly = true, barShownEarly = false;
        bool sawDownload = false, barWithinRange = true;
        bool launchShown = false, launchEnabled = false, barShown = true;
        std::wstring closeText;
        BarState bar;
    } seen;
    INT_PTR result = 0;
    {
        CUpdaterDlg dialog(settings, controller);
        UpdaterTests::ItemTextsSet statuses(IDC_UPDATER_STATUS);
        ASSERT_TRUE(statuses.IsHooked());
        const auto atStart = [&](HWND d) {
            seen.caption = UpdaterTests::WindowText(d);
            seen.firstStatus = ItemText(d, IDC_UPDATER_STATUS);
            seen.launchText = ItemText(d, IDOK);
            seen.cancelText = ItemText(d, IDCANCEL);
            seen.launchShownEarly = UpdaterTests::IsItemVisible(d, IDOK);
            seen.launchEnabledEarly = UpdaterTests::IsItemEnabled(d, IDOK);
            seen.barShownEarly = UpdaterTests::IsItemVisible(d, IDC_UPDATER_PROGRESS);
        };
        ModalScript script([&](HWND d) {
            if (ItemText(d, IDC_UPDATER_STATUS) == UpdaterTests::kDownloadingText) {
                const BarState bar = ReadBar(d);
                seen.barWithinRange = seen.barWithinRange && bar.low == 0 && bar.position <= bar.high &&
                                      (bar.position == 0 || bar.high == static_cast<int>(kSetupSize));  // untouched before the first chunk
            }
            if (ItemText(d, IDC_UPDATER_STATUS) != UpdaterTests::kCompleteText)
                return false;
            seen.launchShown = UpdaterTests::IsItemVisible(d, IDOK);
            seen.launchEnabled = UpdaterTests::IsItemEnabled(d, IDOK);
            seen.barShown = UpdaterTests::IsItemVisible(d, IDC_UPDATER_PROGRESS);
            seen.closeText = ItemText(d, IDCANCEL);
            seen.bar = ReadBar(d);
            Testing::SaveWindowPicture(d, L"UpdaterDialogComplete");
            UpdaterTests::PressButton(d, IDOK);
            return true;
        }, 180000, atStart);
        result = dialog.DoModal();
        seen.sawDownload = statuses.Saw(UpdaterTests::kDownloadingText);
    }

    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(m_productName + L" Installation", seen.caption);
    EXPECT_EQ(L"Launch " + m_productName, seen.launchText);
    EXPECT_EQ(L"Cancel Installation", seen.cancelText);
    EXPECT_FALSE(seen.launchShownEarly);
    EXPECT_FALSE(seen.launchEnabledEarly);
    EXPECT_TRUE(seen.barShownEarly);
    EXPECT_TRUE(seen.sawDownload);
    EXPECT_TRUE(seen.barWithinRange);
    EXPECT_TRUE(seen.launchShown);
    EXPECT_TRUE(seen.launchEnabled);
    EXPECT_FALSE(seen.barShown);
    EXPECT_EQ(L"Close", seen.closeText);
    EXPECT_EQ(0, seen.bar.low);
    EXPECT_EQ(static_cast<int>(kSetupSize), seen.bar.high);
    EXPECT_EQ(static_cast<int>(kSetupSize), seen.bar.position);
    EXPECT_FALSE(controller.HasFailed());
    EXPECT_EQ(1u, UpdaterTests::ReadRecords(m_setupRecords.Path()).size());
    EXPECT_EQ(0, g_boxes.count);
    // The dialog itself starts nothing; its owner does on IDOK.
    EXPECT_TRUE(m_shell.launches.empty());
}

TEST_F(UpdaterDialogTest, FailureIsShownOnceAndEndsWithCancel) {
    SetEnvironmentVariableW(L"UpdaterSetupStandIn_ExitCode", L"3");
    m_server.SetAnswer("/setup.exe", HttpAnswer::Ok(m_setup));
    UpdaterSettings settings(UpdateRoad(m_server.Url(L"/setup.exe")).c_str());
    Engine::UpdateController controller(settings);
    HWND dialogWindow = nullptr;
    bool launchShown = true;
    INT_PTR result = 0;
    {
        CUpdaterDlg dialog(settings, controller);
        // The failure may end the dialog before the first step: what is
        // looked at is taken when the loop starts, and the step only watches.
        ModalScript script([&](HWND d) {
            launchShown = launchShown || UpdaterTests::IsItemVisible(d, IDOK);
            return false;
        }, 180000, [&](HWND d) {
            dialogWindow = d;
            launchShown = UpdaterTests::IsItemVisible(d, IDOK);
        });
        result = dialog.DoModal();
    }
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(1, g_boxes.count);
    EXPECT_EQ(L"The installation of " + m_productName + L" failed. Please try again later.", g_boxes.text);
    EXPECT_EQ(L"Error", g_boxes.caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), g_boxes.type);
    EXPECT_EQ(dialogWindow, g_boxes.owner);
    EXPECT_FALSE(launchShown);
    EXPECT_TRUE(controller.HasFailed());
    EXPECT_EQ(1u, UpdaterTests::ReadRecords(m_setupRecords.Path()).size());
}

TEST_F(UpdaterDialogTest, CloseBoxMinimisesDuringTheDownloadAndCancelEndsIt) {
    m_server.SetAnswer("/setup.exe", HttpAnswer::Slow(m_setup, 16384, 250));
    UpdaterSettings settings(UpdateRoad(m_server.Url(L"/setup.exe")).c_str());
    Engine::UpdateController controller(settings);
    bool minimised = false, stillOpen = false, isCancelled = false;
    INT_PTR result = 0;
    {
        CUpdaterDlg dialog(settings, controller);
        ModalScript script([&](HWND d) {
            if (ItemText(d, IDC_UPDATER_STATUS) != UpdaterTests::kDownloadingText)
                return false;
            ::SendMessageW(d, WM_CLOSE, 0, 0);
            minimised = ::IsIconic(d) != FALSE;
            stillOpen = ::IsWindow(d) && ::IsWindowVisible(d);
            Testing::SaveWindowPicture(d, L"UpdaterDialogMinimised");
            UpdaterTests::PressButton(d, IDCANCEL);
            return true;
        });
        result = dialog.DoModal();
        isCancelled = dialog.IsCancelled();
    }
    EXPECT_TRUE(minimised);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(isCancelled);
    EXPECT_TRUE(controller.HasFailed());
    EXPECT_EQ(Engine::UpdateWorker::StateFinished, controller.GetState());
    EXPECT_EQ(0, g_boxes.count);  // a cancel is no failure to report
    EXPECT_TRUE(UpdaterTests::ReadRecords(m_setupRecords.Path()).empty());
}

TEST_F(UpdaterDialogTest, CloseBoxAtTheEndClosesTheDialog) {
    m_server.SetAnswer("/setup.exe", HttpAnswer::Ok(m_setup));
    UpdaterSettings settings(UpdateRoad(m_server.Url(L"/setup.exe")).c_str());
    Engine::UpdateController controller(settings);
    INT_PTR result = 0;
    {
        CUpdaterDlg dialog(settings, controller);
        ModalScript script([&](HWND d) {
            if (ItemText(d, IDC_UPDATER_STATUS) != UpdaterTests::kCompleteText)
                return false;
            ::PostMessageW(d, WM_CLOSE, 0, 0);
            return true;
        });
        result = dialog.DoModal();
    }
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_FALSE(controller.HasFailed());
}

// The application's start-up and end, in this process: the product's
// relaunch goes through the shell seam.
class UpdaterAppTest : public UpdaterDialogTest {
protected:
    // The dialog is the application's main window: its end posts WM_QUIT,
    // which ends the program; here it would end the next modal loop at once.
    static bool TakeQuitMessage() {
        MSG msg;
        return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }
};

TEST_F(UpdaterAppTest, UpdateRoadHoldsTheUpdateMutexAndLaunchesFromTheInstallPath) {
    Testing::TempFolder install;
    UpdaterTests::ScopedKey key(HKEY_LOCAL_MACHINE, L"Software\\" + m_productName);
    ASSERT_TRUE(key.SetString(L"InstallPath", install.Path()));
    m_server.SetAnswer("/setup.exe", HttpAnswer::Ok(m_setup));
    const std::wstring commandLine = UpdateRoad(m_server.Url(L"/setup.exe"));
    CUpdaterApp app(commandLine.c_str());
    bool updateMutex = false, extrasMutex = true;
    ModalScript script([&](HWND d) {
        updateMutex = HasMutex(L"_UpdateMutex");
        extrasMutex = HasMutex(L"_ExtrasMutex");
        if (ItemText(d, IDC_UPDATER_STATUS) != UpdaterTests::kCompleteText)
            return false;
        UpdaterTests::PressButton(d, IDOK);
        return true;
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_TRUE(updateMutex);
    EXPECT_FALSE(extrasMutex);
    EXPECT_FALSE(HasMutex(L"_UpdateMutex"));  // closed once the user chose the launch
    ASSERT_EQ(1u, m_shell.launches.size());
    EXPECT_EQ(0, _wcsicmp((install / m_executable).c_str(), m_shell.launches[0].file.c_str()));
    EXPECT_EQ(SW_SHOW, m_shell.launches[0].show);
}

TEST_F(UpdaterAppTest, ExtrasRoadHoldsTheExtrasMutexShowsNoLaunchAndStartsNothing) {
    m_server.SetAnswer("/extras.exe", HttpAnswer::Ok(m_setup));
    const std::wstring commandLine = ExtrasRoad(m_server.Url(L"/extras.exe"));
    CUpdaterApp app(commandLine.c_str());
    bool updateMutex = true, extrasMutex = false, launchShown = true;
    std::wstring caption;
    ModalScript script([&](HWND d) {
        updateMutex = HasMutex(L"_UpdateMutex");
        extrasMutex = HasMutex(L"_ExtrasMutex");
        if (ItemText(d, IDC_UPDATER_STATUS) != UpdaterTests::kCompleteText)
            return false;
        caption = UpdaterTests::WindowText(d);
        launchShown = UpdaterTests::IsItemVisible(d, IDOK);
        // Even an IDOK (the default button's id) starts nothing here.
        UpdaterTests::PressButton(d, IDOK);
        return true;
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_TRUE(extrasMutex);
    EXPECT_FALSE(updateMutex);
    EXPECT_FALSE(launchShown);
    EXPECT_EQ(m_productName + L" Extras Installation", caption);
    EXPECT_TRUE(m_shell.launches.empty());
    EXPECT_EQ(1u, UpdaterTests::ReadRecords(m_setupRecords.Path()).size());
}

// In a process of its own: the end disables the process's resource manager.
TESTING_CHILD_SCENARIO(UpdaterAppExitDisablesTheResources) {
    Testing::TempFolder resources;
    resources.WriteFile(L"Metadata.xml", R"(<?xml version="1.0" encoding="utf-8"?>
<ResourceLib><Languages><Language name="en-us" title="English" locale="1033" default="1"/></Languages></ResourceLib>
)");
    AppResources::ResourceManagerHolder::SetResourceIds(AppResources::Updater::GetUpdaterResourceIds());
    if (!AppResources::ResourceManagerHolder::InitializeApplication(resources.Path(), {}))
        return 3;
    const std::wstring commandLine = L"Updater.exe /productName UpdaterExitProduct";
    CUpdaterApp app(commandLine.c_str());
    app._InitializeResources();
    const std::wstring before =
        AppResources::ResourceManagerHolder::GetManager()->GetString(AppResources::Updater::StringID_Close);
    app.ExitInstance();
    const std::wstring after =
        AppResources::ResourceManagerHolder::GetManager()->GetString(AppResources::Updater::StringID_Close);
    if (before != L"Close")
        return 1;
    return after.empty() ? 0 : 2;
}

TEST(UpdaterAppExit, DisablesTheResourceManager) {
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario("UpdaterAppExitDisablesTheResources")));
}

// No resource folder beside this executable, as beside a damaged install:
// the texts built into the string table stand in, and the dialog tests above
// run on them.
TEST(UpdaterTexts, BuiltInTextsStandInWithoutAResourceFolder) {
    AppResources::ResourceManagerHolder::SetResourceIds(AppResources::Updater::GetUpdaterResourceIds());
    EXPECT_EQ(UpdaterTests::kCompleteText, UpdaterTexts::Get(AppResources::Updater::StringID_InstallationComplete));
    EXPECT_EQ(L"Launch {ProductName}", UpdaterTexts::Get(AppResources::Updater::StringID_LaunchProduct));
    EXPECT_EQ(L"", UpdaterTexts::Get(99));
}

}  // namespace
