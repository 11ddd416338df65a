#include "resources/appresources/Manager.h"

#include "foundation/filesystem/File.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/registry/Key.h"
#include "foundation/registry/RootKeys.h"
#include "resources/resourcelib/DefaultManager.h"
#include "resources/resourcelib/FileStorage.h"
#include "resources/resourcelib/SystemStorage.h"
#include "resources/resourcelib/WinResStorage.h"
#include "resources/resourcelib/XmlMetadataProvider.h"
#include "resources/resourcelib/XmlStorage.h"

#include <exception>

namespace AppResources {

namespace {

const wchar_t kSettingsKey[] = L"Software\\ResourceLib";
const wchar_t kDisplayErrorsValue[] = L"DisplayErrors";
const wchar_t kStringEnumeratorPrefix[] = L"StringID_";

bool IsDisplayErrorsSet() {
    Registry::Key key(Registry::ToRootKey(HKEY_CURRENT_USER), kSettingsKey);
    return key.GetDWORD(kDisplayErrorsValue, 0, true) != 0;
}

// Puts the manager back on the provider's default language with its throw
// flag as it was, when the report is done or left by an exception.
class ReportScope {
public:
    ReportScope(const boost::shared_ptr<ResourceLib::IManager>& manager,
                const boost::shared_ptr<ResourceLib::ILanguageProvider>& provider)
        : m_manager(manager), m_provider(provider), m_throwOnFailure(manager->GetThrowOnFailure()) {
        m_manager->SetThrowOnFailure(true);
    }
    ~ReportScope() {
        if (m_finished)
            return;
        try {
            m_manager->SetLanguage(m_provider->GetDefaultLanguage());
        } catch (...) {
            // Already unwinding with the error that ended the report.
        }
        m_manager->SetThrowOnFailure(m_throwOnFailure);
    }
    ReportScope(const ReportScope&) = delete;
    ReportScope& operator=(const ReportScope&) = delete;

    // The normal end: a failure to switch back passes to the caller.
    void Finish() {
        m_finished = true;
        struct RestoreFlag {
            ReportScope& scope;
            ~RestoreFlag() { scope.m_manager->SetThrowOnFailure(scope.m_throwOnFailure); }
        } restoreFlag{*this};
        m_manager->SetLanguage(m_provider->GetDefaultLanguage());
    }

private:
    const boost::shared_ptr<ResourceLib::IManager> m_manager;
    const boost::shared_ptr<ResourceLib::ILanguageProvider> m_provider;
    const bool m_throwOnFailure;
    bool m_finished = false;
};

}  // namespace

Manager::Manager(boost::shared_ptr<ResourceLib::IManager> manager, const ResourceIdTables& ids)
    : m_stringIdBase(-1), m_pResourceManager(std::move(manager)), m_ids(ids) {}

Manager::~Manager() {
    if (m_pResourceManager)
        m_pResourceManager->Reset();
}

bool Manager::Initialize(const wlitestring& rootFolder,
                         boost::shared_ptr<ResourceLib::IManagerExtraParamsProvider> extraParamsProvider,
                         int stringIdBase, bool verify) {
    m_pExtraParamsProvider = extraParamsProvider;
    if (IsDisplayErrorsSet())
        verify = true;
    if (!m_rootFolder.empty() || m_stringIdBase != -1)
        return false;
    m_rootFolder = rootFolder.str();
    m_stringIdBase = stringIdBase;
    if (m_rootFolder.empty() || !FileSystem::File(m_rootFolder).Exists())
        m_rootFolder = FileSystem::GetModuleFolder(nullptr).GetFile(L"Resources").GetPath();

    const boost::shared_ptr<ResourceLib::XmlMetadataProvider> metadata =
        boost::make_shared<ResourceLib::XmlMetadataProvider>(
            m_rootFolder, boost::weak_ptr<ResourceLib::IManager>(m_pResourceManager));
    m_pResourceManager->SetLanguageProvider(metadata);
    m_pResourceManager->SetSkinProvider(metadata);
    if (m_pExtraParamsProvider)
        m_pResourceManager->SetExtraParamsProvider(m_pExtraParamsProvider);

    m_pResourceManager->AddStorage(boost::shared_ptr<ResourceLib::IStorage>(new ResourceLib::XmlStorage(m_rootFolder)));
    m_pResourceManager->AddStorage(ResourceLib::CreateFileStorage(m_rootFolder));
    m_pResourceManager->AddStorage(ResourceLib::CreateWinResStorage(m_stringIdBase));
    m_pResourceManager->AddStorage(ResourceLib::CreateSystemStorage());

    const std::wstring baseRoot = metadata->GetRootPath();
    if (!baseRoot.empty()) {
        const std::wstring basePath = FileSystem::Folder(m_rootFolder).GetFile(baseRoot).GetPath();
        m_pResourceManager->SetFallbackManager(ResourceLib::CreateDefaultManager(basePath, -1));
    }

    _RegisterResourceNames();
    return verify ? VerifyResources() : true;
}

std::wstring Manager::GetString(int stringId) {
    return m_pResourceManager->GetStringById(stringId);
}

std::wstring Manager::GetFilePath(int filePathId) {
    return m_pResourceManager->GetFilePath(filePathId, ResourceLib::ResourceTypes::FilePath);
}

bool Manager::VerifyResources() {
    return _BuildResourceReport().empty();
}

void Manager::_RegisterResourceNames() {
    for (std::size_t i = 0; i < m_ids.filePathCount; ++i)
        m_pResourceManager->RegisterResourceName(m_ids.filePaths[i].id, m_ids.filePaths[i].name,
                                                 ResourceLib::ResourceTypes::FilePath);
    for (std::size_t i = 0; i < m_ids.stringCount; ++i)
        m_pResourceManager->RegisterResourceName(m_ids.strings[i].id, m_ids.strings[i].name,
                                                 ResourceLib::ResourceTypes::String);
}

std::wstring Manager::_BuildResourceReport() {
    const boost::shared_ptr<ResourceLib::ILanguageProvider> provider = m_pResourceManager->GetLanguageProvider();
    if (!provider)
        return L"--> Failed to initialize languages!";
    ReportScope scope(m_pResourceManager, provider);

    std::wostringstream report;
    std::vector<boost::shared_ptr<ResourceLib::ILanguage>> languages;
    provider->GetLanguages(languages);
    int headerLanguage = -1;
    for (int current = 0; current < static_cast<int>(languages.size()); ++current) {
        m_pResourceManager->SetLanguage(languages[current]);
        for (std::size_t i = 0; i < m_ids.filePathCount; ++i)
            _CheckFilePath(m_ids.filePaths[i].id);
        for (std::size_t i = 0; i < m_ids.stringCount; ++i)
            _CheckString(m_ids.strings[i].id, m_ids.strings[i].name, languages, headerLanguage, current, report);
    }
    scope.Finish();
    return report.str();
}

void Manager::_CheckFilePath(int filePathId) {
    try {
        GetFilePath(filePathId);
    } catch (const std::exception&) {
        // Missing file paths are not reported.
    }
}

void Manager::_CheckString(int stringId, const wlitestring& name,
                           const std::vector<boost::shared_ptr<ResourceLib::ILanguage>>& languages,
                           int& headerLanguage, int currentLanguage, std::wostringstream& report) {
    try {
        GetString(stringId);
    } catch (const std::exception&) {
        if (headerLanguage != currentLanguage) {
            headerLanguage = currentLanguage;
            const boost::shared_ptr<ResourceLib::ILanguage>& language = languages[currentLanguage];
            report << L"-->" << (language ? language->GetTitle() : std::wstring()) << L" ("
                   << (language ? language->GetName() : std::wstring()) << L"):\n";
        }
        report << kStringEnumeratorPrefix << name.str() << L" (" << stringId << L")\n";
    }
}

}  // namespace AppResources
