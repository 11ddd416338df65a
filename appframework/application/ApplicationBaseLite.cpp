#include "appframework/application/ApplicationBaseLite.h"

#include "foundation/debugging/Log.h"
#include "foundation/errors/Checks.h"
#include "foundation/errors/ClassifiedExceptionsGuard.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/filesystem/ShellFolders.h"
#include "graphics/gdiplus/GdiplusStartupHolder.h"
#include "toolkit/SkinManager.h"

#include <atomic>

namespace ApplicationFramework {

namespace {

std::atomic<ApplicationBaseLite*> g_pApplication{nullptr};

const wchar_t kResourcesDamagedText[] = L"{0} resources are damaged!\nPlease reinstall {0}.";
const wchar_t kInstallationDamagedText[] = L"{0} Installation damaged!\nPlease reinstall {0}.";
const int kResourcesDamagedStringId = 8;
const int kInstallationDamagedStringId = 9;

}  // namespace

ApplicationBaseLite::ApplicationBaseLite(ProductInfo& productInfo, CAtlExeModule* pAtlModule)
    : m_productInfo(productInfo), m_updateAgent(productInfo), m_pAtlModule(pAtlModule) {
    g_pApplication = this;
}

ApplicationBaseLite::~ApplicationBaseLite() {
    // The toolkit frees its name and deletes its document manager itself.
    _RestoreToolkitState();
    if (m_systemImageListTimer)
        ::KillTimer(nullptr, m_systemImageListTimer);
    m_systemImageList.Detach();
    ApplicationBaseLite* self = this;
    g_pApplication.compare_exchange_strong(self, nullptr);
}

ApplicationBaseLite* ApplicationBaseLite::GetApplication() { return g_pApplication; }

void ApplicationBaseLite::AddDocTemplate(CDocTemplate* pTemplate) {
    CWinApp::AddDocTemplate(pTemplate);
    if (m_pDocManagerProxy)
        return;
    m_pToolkitDocManager = m_pDocManager;
    m_pDocManagerProxy.reset(new DocManagerProxy(m_pToolkitDocManager, *this));
    m_pDocManager = m_pDocManagerProxy.get();
}

std::wstring ApplicationBaseLite::GetResourceString(int strId, const std::wstring& defaultText) {
    std::wstring text;
    if (ErrorHandling::ClassifiedExceptionsGuard([&]() { GetApplicationString(text, strId); })) {
        const ErrorHandling::ErrorCode code(E_FAIL);
        Reporting::GetModuleReportingObject().ReportWarning(
            "((!ErrorHandling::ClassifiedExceptionsGuard([&]() { GetResourceString(strId); } )))", &code);
        return defaultText;
    }
    return text.empty() ? defaultText : text;
}

bool ApplicationBaseLite::IsSingleInstance() { return true; }

bool ApplicationBaseLite::_ApplyDefaultSkin() {
    const FileSystem::Folder styles = FileSystem::GetModuleFolder(nullptr).GetSubFolder(L"Styles");
    return _ApplySkinImpl(styles.GetFile(L"Default.skn").GetPath());
}

bool ApplicationBaseLite::_ApplySkinImpl(const std::wstring& skinFile) {
    bool applied = false;
    ErrorHandling::RunGuiHandler(
        GUI_HANDLER_TRACE_FORMAT("ApplicationFramework::ApplicationBaseLite::_ApplySkinImpl"),
        [&] { applied = Toolkit::GetSkinManager().LoadSkin(skinFile, L"Default.INI"); });
    if (!applied)
        DEBUG_LOG(Debugging::LevelWRN, L"The skin file " + skinFile +
                                           L" or its Default.INI is missing, empty or cannot be read; the toolkit's "
                                           L"own look is used.");
    return applied;
}

void ApplicationBaseLite::SetSplashScreen(std::unique_ptr<SplashScreen> pSplashScreen) {
    m_pSplashScreen = std::move(pSplashScreen);
}

void ApplicationBaseLite::_ShowSplashStep(int stepId) {
    std::wstring text;
    GetApplicationString(text, stepId);
    if (!text.empty())
        _SetSplashText(text);
}

void ApplicationBaseLite::_SetSplashText(const std::wstring& text) {
    if (!m_pSplashScreen) {
        const ErrorHandling::ErrorCode code(E_FAIL);
        Reporting::GetModuleReportingObject().ReportError("((m_pSplashScreen))", &code);
        return;
    }
    m_pSplashScreen->SetText(text);
}

void ApplicationBaseLite::_ReportDamagedInstallation(DamageKind kind, const std::wstring& text) {
    std::wstring message = text;
    if (message.empty()) {
        message = kind == InstallationDamaged
                      ? GetResourceString(kInstallationDamagedStringId, kInstallationDamagedText)
                      : GetResourceString(kResourcesDamagedStringId, kResourcesDamagedText);
    }
    _ShowDamageMessage(message);
    if (kind == InstallationDamaged)
        ::TerminateProcess(::GetCurrentProcess(), 255);
}

void ApplicationBaseLite::_ShowDamageMessage(const std::wstring& text) {
    const std::wstring& name = m_productInfo.GetProductName();
    const std::wstring message = STLHelpers::ReplaceAllCopy(text, L"{0}", name);
    CWnd* main = GetMainWnd();
    AfxShowMessageBox(main ? main->GetSafeHwnd() : nullptr, message.c_str(), name.c_str(), MB_ICONERROR);
}

}  // namespace ApplicationFramework
