#include "appframework/application/ApplicationBase.h"

#include "appframework/commondialogs/CommonDialogsLib.h"
#include "foundation/errors/ReportingObject.h"
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

}  // namespace

ApplicationBase::ApplicationBase(ProductInfo& productInfo, CAtlExeModule* pAtlModule)
    : ApplicationBaseLite(productInfo, pAtlModule), m_commonDialogHost(productInfo) {}

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
