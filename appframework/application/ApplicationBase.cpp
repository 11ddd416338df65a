#include "appframework/application/ApplicationBase.h"

#include "appframework/commondialogs/CommonDialogsLib.h"
#include "foundation/debugging/LogLevel.h"
#include "foundation/debugging/WriteLog.h"
#include "foundation/errors/ReportingObject.h"
#include "foundation/strings/StringFormat.h"
#include "foundation/errors/ClassifiedExceptionsGuard.h"
#include "foundation/filesystem/ShellFolders.h"

namespace ApplicationFramework {

namespace {

template <class Named>
std::wstring NameOf(const boost::shared_ptr<Named>& pNamed) {
    return pNamed ? pNamed->GetName() : std::wstring();
}

// A language or skin the library refused; the name may be empty when the
// manager switched to none.
void WarnRefused(const char* checkText) {
    const ErrorHandling::ErrorCode code(E_FAIL);
    Reporting::GetModuleReportingObject().ReportWarning(checkText, &code);
}

// The profile's "Settings" value "Language"; empty without an application.
std::wstring ReadProfileLanguage() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        WarnRefused("((pApp))");
        return std::wstring();
    }
    return pApp->GetProfileString(L"Settings", L"Language", L"").GetString();
}

}  // namespace

ApplicationBase::ApplicationBase(ProductInfo& productInfo, CAtlExeModule* pAtlModule)
    : ApplicationBaseLite(productInfo, pAtlModule), m_commonDialogHost(productInfo) {}

bool ApplicationBase::_Guarded_InitializeResources(const std::wstring& folder) {
    bool initialized = false;
    if (ErrorHandling::ClassifiedExceptionsGuard([&]() { initialized = InitializeResources(folder); }))
        return false;
    return initialized;
}

bool ApplicationBase::_PreInitialize() {
    std::wstring folder;
    GetResourcesFolder(folder);
    m_isResourceFolderConfigured = !folder.empty();
    if (folder.empty())
        return true;
    if (_Guarded_InitializeResources(folder)) {
        RegisterResourceObserver();
        return true;
    }
    const std::wstring message = STLHelpers::FormatString1(L"Failed to initialize the resource manager at: {0}", folder);
    Debugging::WriteLog(Debugging::GetLog(), message,
                        L"ApplicationFramework:ApplicationBase:_PreInitialize@" + std::to_wstring(__LINE__),
                        Debugging::LevelCRT, 0);
    _ReportDamagedInstallation(ResourcesDamaged, std::wstring());
    return false;
}

bool ApplicationBase::_PostInitialize() {
    if (m_isResourceFolderConfigured) {
        std::wstring langName;
        GetConfiguredLanguageName(langName);
        if (langName.empty())
            langName = ReadProfileLanguage();
        if (langName.empty())
            langName = ResourceLib::GetSystemLanguageName();
        if (!SetResourcesLanguage(langName))
            WarnRefused("((SetResourcesLanguage(langName)))");
        std::wstring skinName;
        GetConfiguredSkinName(skinName);
        if (!SetResourcesSkin(skinName))
            WarnRefused("((SetResourcesSkin(GetConfiguredSkinName())))");
    }
    if (!InitializeCommonDialogs())
        WarnRefused("((InitializeCommonDialogs()))");
    return true;
}

void ApplicationBase::_UninitializeCommonDialogs() {
    if (m_isCommonDialogsInitialized)
        CommonDialogs::Lib.Uninitialize();
    if (m_isResourceFolderConfigured) {
        ErrorHandling::ClassifiedExceptionsGuard([&]() { UnregisterResourceObserver(); });
        ErrorHandling::ClassifiedExceptionsGuard([&]() { ShutdownResources(); });
    }
}

void ApplicationBase::OnLanguageChanged(boost::shared_ptr<ResourceLib::IManager>,
                                        boost::shared_ptr<ResourceLib::ILanguage> pOldLanguage,
                                        boost::shared_ptr<ResourceLib::ILanguage> pNewLanguage) {
    if (m_isCommonDialogsInitialized && !CommonDialogs::Lib.SetResourcesLanguage(NameOf(pNewLanguage)))
        WarnRefused("((CommonDialogs::Lib.SetResourcesLanguage(pNewLanguage->GetName())))");
}

void ApplicationBase::OnSkinChanged(boost::shared_ptr<ResourceLib::IManager>,
                                    boost::shared_ptr<ResourceLib::ISkin> pOldSkin,
                                    boost::shared_ptr<ResourceLib::ISkin> pNewSkin) {
    if (m_isCommonDialogsInitialized && !CommonDialogs::Lib.SetResourcesSkin(NameOf(pNewSkin)))
        WarnRefused("((CommonDialogs::Lib.SetResourcesSkin(pNewSkin->GetName())))");
}

bool ApplicationBase::_InitializeCommonDialogs(const std::wstring& path, const ProductDescription& description,
                                               const std::wstring& firstText, const std::wstring& secondText) {
    if (m_isCommonDialogsInitialized)
        return m_commonDialogsResult;
    // Set before the call: a failed initialisation still counts as made.
    m_isCommonDialogsInitialized = true;
    std::wstring folder = path;
    if (folder.empty())
        _GetCommonDialogsResourcePath(folder);
    m_commonDialogsResult =
        CommonDialogs::Lib.Initialize(&m_commonDialogHost, folder, description, firstText, secondText);
    return m_commonDialogsResult;
}

void ApplicationBase::_GetCommonDialogsResourcePath(std::wstring& path) const {
    path = FileSystem::GetApplicationFolder().GetSubFolder(L"Resources/CommonDialogs").GetPath();
}

void ApplicationBase::_GetProductDescription(ProductDescription& description) const {
    m_productInfo.GetDescription(description);
}

}  // namespace ApplicationFramework
