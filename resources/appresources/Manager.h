#pragma once
// Manager: the application's resource manager as the holder hands it out. It
// wraps a ResourceLib::IManager and answers the program's two everyday
// requests, a text by registered string id and a file path by registered
// file-path id:
//
//   auto manager = AppResources::ResourceManagerHolder::GetManager();
//   std::wstring title = manager->GetString(AppResources::StringID_AlreadyRunningTitle);
//
// Everything else (names, pictures, languages, skins) goes through
// GetResourceLibManager().
//
// Threads: any thread. Fields do not change after the set-up, which runs
// before the manager is handed out; the wrapped manager locks itself.
// Always owned by a boost::shared_ptr.
#include "resources/appresources/IManagerHelpersUser.h"
#include "resources/appresources/MainResourceIds.h"
#include "resources/appresources/ResourceIdTables.h"
#include "resources/resourcelib/ILanguage.h"

#include <boost/shared_ptr.hpp>

#include <sstream>
#include <string>
#include <vector>

namespace AppResources {

class Manager : public IManagerHelpersUser {
public:
    // `ids` are the numbered names the set-up registers (the program's own tables).
    explicit Manager(boost::shared_ptr<ResourceLib::IManager> manager,
                     const ResourceIdTables& ids = GetMainProgramResourceIds());
    // Resets the wrapped manager: whoever still holds it finds no storage.
    ~Manager() override;
    Manager(const Manager&) = delete;
    Manager& operator=(const Manager&) = delete;

    // The set-up, once: languages and skins of the root's Metadata.xml, the
    // storages (Resources.xml, loose files, module resources from
    // `stringIdBase`, system values), the base manager of Metadata.xml as
    // fallback and the registered names. A root that does not exist gives
    // "Resources" beside the executable. With `verify`, or when HKCU
    // "Software\ResourceLib" "DisplayErrors" is not 0, the result is whether
    // every language has every registered string. False also when set up
    // already. Raises what reading Metadata.xml raises.
    bool Initialize(const wlitestring& rootFolder,
                    boost::shared_ptr<ResourceLib::IManagerExtraParamsProvider> extraParamsProvider,
                    int stringIdBase, bool verify);

    // The wrapped manager's answers; a miss is empty (or raises when the
    // wrapped manager is set to throw).
    std::wstring GetString(int stringId);
    std::wstring GetFilePath(int filePathId);

    // True when the report of missing strings is empty.
    bool VerifyResources();

    boost::shared_ptr<ResourceLib::IManager> GetResourceLibManager() override { return m_pResourceManager; }
    // Empty whatever is asked.
    std::wstring GetHelperText(int kind, int id, const wlitestring& text) override { return std::wstring(); }

    // The resource root in use; empty before the set-up.
    const std::wstring& GetRootFolder() const noexcept { return m_rootFolder; }

    // Every language in turn: a header "-->Title (name):" before its first
    // missing string, then "StringID_<name> (<id>)" per missing string, each
    // line ended by "\n". "--> Failed to initialize languages!" without a
    // language provider. Ends on the provider's default language with the
    // throw flag as it was, also when a lookup raises something else.
    std::wstring _BuildResourceReport();

private:
    void _RegisterResourceNames();
    void _CheckFilePath(int filePathId);
    void _CheckString(int stringId, const wlitestring& name,
                      const std::vector<boost::shared_ptr<ResourceLib::ILanguage>>& languages, int& headerLanguage,
                      int currentLanguage, std::wostringstream& report);

    std::wstring m_rootFolder;
    int m_stringIdBase;
    boost::shared_ptr<ResourceLib::IManager> m_pResourceManager;
    boost::shared_ptr<ResourceLib::IManagerExtraParamsProvider> m_pExtraParamsProvider;
    const ResourceIdTables m_ids;
};

}  // namespace AppResources
