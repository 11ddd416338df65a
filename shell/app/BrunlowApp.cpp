#include "shell/app/BrunlowApp.h"

#include "appframework/updates/ExitEventWatcher.h"
#include "appframework/updates/ExtrasInstaller.h"
#include "controls/label/TextLabel.h"
#include "downloads/engine/EngineAdapter.h"
#include "downloads/engine/EngineLibrary.h"
#include "downloads/settings/Settings.h"
#include "downloads/settings/VideosFolderCheck.h"
#include "downloads/view/BrunlowDoc.h"
#include "downloads/view/BrunlowView.h"
#include "foundation/debugging/LogLevel.h"
#include "foundation/debugging/WriteLog.h"
#include "foundation/errors/Checks.h"
#include "foundation/errors/ClassifiedExceptionsGuard.h"
#include "foundation/errors/ErrorException.h"
#include "foundation/debugging/Log.h"
#include "foundation/debugging/WriteLog.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/filesystem/XmlFileCheck.h"
#include "resources/appresources/MainResourceIds.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "resources/resourcelib/XmlStorage.h"
#include "shell/frame/MainFrame.h"
#include "shell/product/ModuleProductValues.h"
#include "shell/program/BrunlowResources.h"
#include "shell/tips/TipsFiles.h"
#include "shell/tips/TipsUpdater.h"
#include "shell/tips/ViewTipsAdapter.h"
#include "shell/usage/UsageInfo.h"

#include <boost/make_shared.hpp>

namespace {
CBrunlowApp* g_pApp = nullptr;

std::wstring AppString(int id) {
    return AppResources::ResourceManagerHolder::GetManager()->GetString(id);
}

// The element every colour of the style file lies under.
const wchar_t kStyleRootElement[] = L"skin/application";

HWND MainWindowHandle() {
    CWnd* pMain = AfxGetMainWnd();
    return pMain ? pMain->GetSafeHwnd() : nullptr;
}
}  // namespace

CBrunlowApp::CBrunlowApp(ApplicationFramework::ProductInfo& productInfo)
    : ApplicationBase(productInfo, nullptr), m_templateClasses(GetDefaultTemplateClasses()) {
    g_pApp = this;
    Brunlow::AppAccess::Set(this);
    m_pTipsUpdater.reset(new Tips::TipsUpdater());
}

CBrunlowApp::~CBrunlowApp() {
    delete m_pSettings;
    m_pSettings = nullptr;
    m_pSkinManager.reset();
    m_pTipsUpdater.reset();
    m_pKavennaEngine.reset();
    if (Brunlow::AppAccess::Get() == this)
        Brunlow::AppAccess::Set(nullptr);
    if (g_pApp == this)
        g_pApp = nullptr;
}

CBrunlowApp* CBrunlowApp::GetApp() {
    return g_pApp;
}

Settings* CBrunlowApp::GetSettings() {
    Settings* const m_pSettings = g_pApp ? g_pApp->m_pSettings : nullptr;
    CHECK_ASSERT(m_pSettings);
    return m_pSettings;
}

FileSystem::XmlFile* CBrunlowApp::GetSkinManager() {
    FileSystem::XmlFile* const m_pSkinManager = g_pApp ? g_pApp->m_pSkinManager.get() : nullptr;
    CHECK_ASSERT(m_pSkinManager);
    return m_pSkinManager;
}

boost::shared_ptr<KavennaEngine::IEngine> CBrunlowApp::GetKavennaEngine() {
    if (!m_pKavennaEngine) {
        if (KavennaEngine::Library* pLibrary = KavennaEngine::GetBoundLibrary())
            pLibrary->CreateEngine(m_pKavennaEngine);
    }
    CHECK_ASSERT(m_pKavennaEngine);
    return m_pKavennaEngine;
}

CBrunlowApp::TemplateClasses CBrunlowApp::GetDefaultTemplateClasses() {
    return {RUNTIME_CLASS(CBrunlowDoc), RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CBrunlowView)};
}

bool CBrunlowApp::Initialize() {
    delete m_pSettings;
    m_pSettings = nullptr;
    m_pSettings = new Settings();
    Engine::EngineAdapter::Instance();
    ApplicationFramework::ExitEventWatcher::Install();
    UsageInfo::GetInstance();
    return true;
}

bool CBrunlowApp::StartApplication() {
    _CreateSkinManager();
    // Without the engine library the window's parts could not subscribe:
    // tell the user now rather than fail inside the window's creation.
    if (!m_pKavennaEngine && !KavennaEngine::GetBoundLibrary()) {
        _ReportEngineFailure();
        return false;
    }
    if (!_CreateMainWindow())
        return false;
    if (!_StartEngineOrReport())
        return false;
    _ShowAndStartWorkers();
    _CheckVideosFolder();
    return true;
}

void CBrunlowApp::_CreateSkinManager() {
    m_pSkinManager.reset();
    std::unique_ptr<FileSystem::XmlFile> pSkin(new FileSystem::XmlFile(false));
    const std::wstring path =
        _GetProgramFolder().GetSubFolder(L"Styles").GetFile(L"Default.skn.xml").GetPath();
    std::wstring why;
    if (FileSystem::CheckXmlFile(path, kStyleRootElement, why) == FileSystem::XmlFileFault::None) {
        try {
            pSkin->Reload(path, false);
        } catch (const std::exception&) {
            why = L"cannot be loaded";
        }
    }
    if (!why.empty()) {
        // Without the style file every colour falls back to the program's own.
        DEBUG_LOG(Debugging::LevelWRN,
                  L"The style file " + path + L" " + why + L"; the program's own colours are used.");
    }
    m_pSkinManager = std::move(pSkin);
}

bool CBrunlowApp::_CreateMainWindow() {
    CSingleDocTemplate* pTemplate = new CSingleDocTemplate(IDR_MAINFRAME, m_templateClasses.pDocClass,
                                                           m_templateClasses.pFrameClass,
                                                           m_templateClasses.pViewClass);
    if (!pTemplate)
        return false;
    AddDocTemplate(pTemplate);
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return false;
    // The list's tips for the whole run, handed over before its first paint.
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (CBrunlowView* pView = pFrame ? dynamic_cast<CBrunlowView*>(pFrame->GetActiveView()) : nullptr)
        pView->SetTips(boost::make_shared<Tips::ViewTipsAdapter>());
    return true;
}

bool CBrunlowApp::_StartEngineOrReport() {
    if (_StartEngine())
        return true;
    _ReportEngineFailure();
    return false;
}

void CBrunlowApp::_ReportEngineFailure() {
    const std::wstring text = AppString(AppResources::StringID_EngineLoadFailure);
    const std::wstring caption = AppString(AppResources::StringID_FatalError);
    AfxShowMessageBox(MainWindowHandle(), text.c_str(), caption.c_str(), MB_ICONERROR);
}

bool CBrunlowApp::_StartEngine() {
    Engine::EngineAdapter& adapter = Engine::EngineAdapter::Instance();
    // No engine library: the accessor's report is the failure shown by the caller.
    if (!m_pKavennaEngine && !KavennaEngine::GetBoundLibrary())
        return false;
    boost::shared_ptr<KavennaEngine::IEngine> engine;
    try {
        engine = GetKavennaEngine();
    } catch (const ErrorHandling::ErrorException&) {
        return false;
    }
    if (!engine || !engine->Initialize(adapter.GetElevation(), adapter.GetEnvironment()))
        return false;
    std::wstring message;
    if (!engine->SetState(KavennaEngine::EngineOn, &message))
        return false;
    if (!message.empty())
        AfxShowMessageBox(MainWindowHandle(), message.c_str(), AppString(AppResources::StringID_Warning).c_str(),
                          MB_ICONINFORMATION);
    return true;
}

void CBrunlowApp::_ShowAndStartWorkers() {
    CWnd* pMain = AfxGetMainWnd();
    if (pMain) {
        pMain->ShowWindow(SW_SHOW);
        pMain->UpdateWindow();
    }
    ApplicationFramework::ExtrasInstaller& watcher = ApplicationFramework::ExtrasInstaller::GetInstance();
    CMainFrame* pFrame = dynamic_cast<CMainFrame*>(pMain);
    watcher.SetListener(pFrame ? static_cast<ApplicationFramework::IUpdateListener*>(pFrame) : nullptr);
    watcher.Start(false, 0);
    if (m_pTipsUpdater)
        m_pTipsUpdater->Start(false, 0);
}

void CBrunlowApp::_CheckVideosFolder() {
    if (!m_pSettings)
        return;
    const VideosFolderCheck check = VideosFolderCheck::Run(m_pSettings->GetVideosFolder());
    if (check.IsUsable())
        return;
    const std::wstring message = check.Describe(AppResources::StringID_VideosFolderAtStart);
    Debugging::WriteLog(Debugging::GetLog(), message, L"CBrunlowApp::_CheckVideosFolder@", Debugging::LevelWRN, 0);
    AfxShowMessageBox(MainWindowHandle(), message.c_str(), AppString(AppResources::StringID_Warning).c_str(),
                      MB_ICONWARNING);
}

void CBrunlowApp::_BeginShutdown() {
    _StopEngine();
}

void CBrunlowApp::_StopEngine() {
    if (m_pKavennaEngine)
        ErrorHandling::ClassifiedExceptionsGuard([&]() { m_pKavennaEngine->Uninitialize(); });
}

void CBrunlowApp::ShutdownApplication() {
    ErrorHandling::ClassifiedExceptionsGuard(
        [&]() { ApplicationFramework::ExtrasInstaller::GetInstance().Stop(INFINITE); });
    if (m_pKavennaEngine)
        ErrorHandling::ClassifiedExceptionsGuard([&]() { m_pKavennaEngine->Uninitialize(); });
    if (m_pTipsUpdater) {
        m_pTipsUpdater->Stop(INFINITE);
        m_pTipsUpdater.reset();
    }
    ErrorHandling::ClassifiedExceptionsGuard([&]() { Tips::FinalizeTipOfTheDayUpdate(); });
    ErrorHandling::ClassifiedExceptionsGuard([&]() {
        if (KavennaEngine::Library* pLibrary = KavennaEngine::GetBoundLibrary())
            pLibrary->OnApplicationExit();
    });
    ErrorHandling::ClassifiedExceptionsGuard([&]() { m_pSkinManager.reset(); });
    ErrorHandling::ClassifiedExceptionsGuard([&]() {
        Settings* pSettings = m_pSettings;
        m_pSettings = nullptr;
        delete pSettings;
    });
}

FileSystem::Folder CBrunlowApp::_GetProgramFolder() const {
    return FileSystem::GetModuleFolder(nullptr);
}

void CBrunlowApp::GetResourcesFolder(std::wstring& folder) {
    folder = _GetProgramFolder().GetSubFolder(L"Resources\\Main").GetPath();
}

void CBrunlowApp::GetConfiguredLanguageName(std::wstring& name) {
    name.clear();
    Settings* pSettings = m_pSettings;
    if (!pSettings) {
        CHECK_ASSERT(m_pSettings);
        return;
    }
    if (const boost::shared_ptr<ResourceLib::ILanguage> language = pSettings->GetLanguage())
        name = language->GetName();
}

void CBrunlowApp::GetConfiguredSkinName(std::wstring& name) {
    name = LoadModuleString(::GetModuleHandleW(nullptr), IDS_SKIN_NAME);
}

void CBrunlowApp::GetCurrentLanguageName(std::wstring& name) {
    name = m_areResourcesReady
               ? AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager()->GetCurrentLanguageName()
               : std::wstring();
}

void CBrunlowApp::GetCurrentSkinName(std::wstring& name) {
    name = m_areResourcesReady
               ? AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager()->GetCurrentSkinName()
               : std::wstring();
}

bool CBrunlowApp::InitializeResources(const std::wstring& folder) {
    ApplicationFramework::ProductDescription description;
    _GetProductDescription(description);
    AppResources::ResourceManagerHolder::ProductParameters parameters;
    parameters.shortProductVersion = description.shortProductVersion;
    parameters.fullProductName = description.fullProductName;
    parameters.productVersion = description.productVersion;
    parameters.productName = description.productName;
    parameters.companyName = description.companyName;
    parameters.further = description.values;
    m_areResourcesReady = AppResources::ResourceManagerHolder::InitializeApplication(folder, parameters);
    return m_areResourcesReady;
}

void CBrunlowApp::ShutdownResources() {
    m_areResourcesReady = false;
    AppResources::ResourceManagerHolder::Disable();
}

void CBrunlowApp::RegisterResourceObserver() {
    AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager()->Observers.Add(
        static_cast<ResourceLib::IManager::IObserver*>(this));
}

void CBrunlowApp::UnregisterResourceObserver() {
    AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager()->Observers.Remove(
        static_cast<ResourceLib::IManager::IObserver*>(this));
}

bool CBrunlowApp::SetResourcesLanguage(const std::wstring& name) {
    return AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager()->SetLanguageVerify(name);
}

bool CBrunlowApp::SetResourcesSkin(const std::wstring& name) {
    return AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager()->SetSkinByName(name);
}

bool CBrunlowApp::_PostInitialize() {
    if (!ApplicationBase::_PostInitialize())
        return false;
    return _CheckLanguageFile();
}

bool CBrunlowApp::_CheckLanguageFile() {
    if (!m_areResourcesReady)
        return true;
    std::wstring folder;
    GetResourcesFolder(folder);
    std::wstring language;
    GetCurrentLanguageName(language);
    std::wstring line;
    if (language.empty()) {
        line = L"No language is set up in " + FileSystem::Folder(folder).GetFile(L"Metadata.xml").GetPath() + L".";
    } else {
        const std::wstring file = ResourceLib::XmlStorage::GetLanguageFilePath(folder, language);
        std::wstring why;
        if (FileSystem::CheckXmlFile(file, ResourceLib::XmlStorage::kResourcesElement, why) ==
            FileSystem::XmlFileFault::None)
            return true;
        line = L"The language file " + file + L" " + why + L".";
    }
    Debugging::WriteLog(Debugging::GetLog(), line,
                        L"CBrunlowApp::_CheckLanguageFile@" + std::to_wstring(__LINE__), Debugging::LevelCRT, 0);
    // English and built in: the texts that would say it are the ones missing.
    _ReportDamagedInstallation(ApplicationFramework::ResourcesDamaged,
                               L"{0} resources are damaged!\n" + line + L"\nPlease reinstall {0}.");
    return false;
}

bool CBrunlowApp::InitializeCommonDialogs() {
    std::wstring path;
    _GetCommonDialogsResourcePath(path);
    ApplicationFramework::ProductDescription description;
    _GetProductDescription(description);
    std::wstring language;
    std::wstring skin;
    GetCurrentLanguageName(language);
    GetCurrentSkinName(skin);
    return _InitializeCommonDialogs(path, description, language, skin);
}

bool SetDlgLabelText(CWnd* pDlg, UINT id, const wlitestring& text) {
    CHECK_ERROR(pDlg);
    CWnd* const pItem = pDlg->GetDlgItem(id);
    CHECK_ERROR(pItem);
    return SetLabelItemText(pItem, text);
}
