#pragma once
// ApplicationBase: the application base with the resource manager, the
// language and skin, and the common-dialog library. It watches the resource
// manager's language and skin switches and hands them on to the
// common-dialog library once that library's initialisation was attempted.
//
// Thread: the GUI thread.
#include "appframework/application/ApplicationBaseLite.h"
#include "appframework/commondialogs/CommonDialogHost.h"
#include "resources/resourcelib/IManager.h"

#include <string>

namespace ApplicationFramework {

class ApplicationBase : public ApplicationBaseLite, public ResourceLib::IManager::IObserver {
public:
    ApplicationBase(ProductInfo& productInfo, CAtlExeModule* pAtlModule);

    // When the common-dialog library was initialised it is uninitialised;
    // when a resource folder was configured the observer is unregistered and
    // the resources shut down, each step guarded.
    void _UninitializeCommonDialogs() override;

    virtual void _OnReserved(WPARAM, LPARAM) {}
    virtual void GetResourcesFolder(std::wstring& folder) = 0;
    virtual void GetConfiguredLanguageName(std::wstring& name) = 0;
    // The empty text.
    virtual void GetConfiguredSkinName(std::wstring& name) { name.clear(); }
    // The two texts handed to the common-dialog library's initialisation.
    virtual void GetCommonDialogsTextA(std::wstring& text) = 0;
    virtual void GetCommonDialogsTextB(std::wstring& text) = 0;
    virtual bool InitializeResources(const std::wstring& folder) = 0;
    virtual void ShutdownResources() = 0;
    virtual void RegisterResourceObserver() = 0;
    virtual void UnregisterResourceObserver() = 0;
    virtual bool SetResourcesLanguage(const std::wstring& name) = 0;
    virtual bool SetResourcesSkin(const std::wstring& name) = 0;
    virtual bool InitializeCommonDialogs() = 0;

    // Hands the new language's or skin's name to the common-dialog library
    // (a refusal is a warning); nothing before its initialisation was tried.
    void OnLanguageChanged(boost::shared_ptr<ResourceLib::IManager> manager,
                           boost::shared_ptr<ResourceLib::ILanguage> pOldLanguage,
                           boost::shared_ptr<ResourceLib::ILanguage> pNewLanguage) override;
    void OnSkinChanged(boost::shared_ptr<ResourceLib::IManager> manager, boost::shared_ptr<ResourceLib::ISkin> pOldSkin,
                       boost::shared_ptr<ResourceLib::ISkin> pNewSkin) override;

    // Initialises the common-dialog library once; later calls return the
    // first result without calling it. An empty path takes
    // _GetCommonDialogsResourcePath.
    bool _InitializeCommonDialogs(const std::wstring& path, const ProductDescription& description,
                                  const std::wstring& firstText, const std::wstring& secondText);
    // "Resources/CommonDialogs" of the program folder.
    void _GetCommonDialogsResourcePath(std::wstring& path) const;
    void _GetProductDescription(ProductDescription& description) const;

    CommonDialogHost& GetCommonDialogHost() { return m_commonDialogHost; }
    bool IsCommonDialogsInitialized() const { return m_isCommonDialogsInitialized; }

protected:
    bool m_isResourceFolderConfigured = false;
    bool m_isCommonDialogsInitialized = false;
    bool m_commonDialogsResult = false;
    CommonDialogHost m_commonDialogHost;
};

}  // namespace ApplicationFramework
