#include "updater/app/UpdaterApp.h"

#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/filesystem/ShellFolders.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "resources/appresources/UpdaterResourceIds.h"
#include "toolkit/SkinManager.h"
#include "updater/app/UpdaterDlg.h"
#include "updater/app/UpdaterTexts.h"
#include "updater/engine/UpdateController.h"
#include "updater/engine/UpdateWorker.h"

#include "afxdisp.h"
#include "mfc/ModalSeams.h"

#include <commctrl.h>

using namespace AppResources::Updater;

CUpdaterApp::CUpdaterApp() : CWinApp(nullptr) {}

CUpdaterApp::CUpdaterApp(const wchar_t* commandLine) : CWinApp(nullptr), m_settings(commandLine) {}

CUpdaterApp::~CUpdaterApp() = default;

Engine::UpdateController& CUpdaterApp::GetController() {
    if (&m_settings == &UpdaterSettings::Instance())
        return Engine::UpdateController::Instance();
    if (!m_pOwnController)
        m_pOwnController = std::make_unique<Engine::UpdateController>(m_settings);
    return *m_pOwnController;
}

std::wstring CUpdaterApp::_GetProgramFolder() const {
    return FileSystem::GetApplicationFolder().GetPath();
}

BOOL CUpdaterApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    AfxEnableControlContainer();

    _LoadSkin();
    _InitializeResources();
    if (!_TakeModeMutex())
        return FALSE;

    INT_PTR result = IDCANCEL;
    bool isCancelled = false;
    {
        CUpdaterDlg dialog(m_settings, GetController());
        m_pMainWnd = &dialog;
        result = dialog.DoModal();
        m_pMainWnd = nullptr;
        isCancelled = dialog.IsCancelled();
    }
    Engine::UpdateController& controller = GetController();
    if (controller.GetState() == Engine::UpdateWorker::StateFinished && !controller.HasFailed())
        m_exitCode = kExitInstalled;
    else
        m_exitCode = isCancelled ? kExitCancelled : kExitFailed;
    if (result == IDOK) {
        m_modeMutex.Reset();
        if (!m_settings.IsRunWithProduct())
            GetController().LaunchProduct(false);
    }
    return FALSE;
}

int CUpdaterApp::ExitInstance() {
    AppResources::ResourceManagerHolder::Disable();
    const int frameworkCode = CWinApp::ExitInstance();
    // The one who started the Updater learns whether the installation happened.
    return m_exitCode != kExitInstalled ? m_exitCode : frameworkCode;
}

void CUpdaterApp::_LoadSkin() {
    const std::wstring skinFile =
        FileSystem::Folder(_GetProgramFolder()).GetSubFolder(L"Styles").GetFile(L"Default.skn").GetPath();
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CUpdaterApp::_LoadSkin"), [&] {
        Toolkit::SkinManager& skins = Toolkit::GetSkinManager();
        // First without a settings file, as the toolkit allows; then with the default one.
        if (!skins.LoadSkin(skinFile, L""))
            skins.LoadSkin(skinFile, L"Default.INI");
    });
}

void CUpdaterApp::_InitializeResources() {
    AppResources::ResourceManagerHolder::SetResourceIds(GetUpdaterResourceIds());
    const std::wstring root =
        FileSystem::Folder(_GetProgramFolder()).GetSubFolder(L"Resources").GetSubFolder(L"CommonDialogs").GetPath();
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CUpdaterApp::_InitializeResources"), [&] {
        AppResources::ResourceManagerHolder::InitializeApplication(root, m_settings.GetProductInformation());
    });
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CUpdaterApp::_InitializeResources"), [&] {
        AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager()->SetLanguageVerify(
            m_settings.GetLanguageName());
    });
}

bool CUpdaterApp::_TakeModeMutex() {
    if (m_settings.IsRunWithProduct()) {
        m_modeMutex.Reset(::CreateMutexW(nullptr, FALSE, m_settings.GetExtrasMutexName().c_str()));
        return true;
    }
    m_modeMutex.Reset(::CreateMutexW(nullptr, FALSE, m_settings.GetUpdateMutexName().c_str()));
    Engine::UpdateController& controller = GetController();
    if (!controller.IsProductRunning())
        return true;
    bool isStopped = false;
    // An exit event that cannot be made raises: the product was not asked, so it is not stopped.
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CUpdaterApp::_TakeModeMutex"), [&] {
        isStopped = controller.StopProduct(Engine::kProductStopTimeoutMs);
    });
    if (isStopped)
        return true;
    AfxShowMessageBox(nullptr,
                      m_settings.ExpandPlaceholders(UpdaterTexts::Get(StringID_ComputerMustBeRestarted)).c_str(),
                      m_settings.ExpandPlaceholders(L"{ProductName} {ComponentName}").c_str(), MB_ICONWARNING);
    return false;
}
