#include "resources/appresources/ResourceManagerHolder.h"

#include "foundation/errors/ErrorCode.h"
#include "foundation/errors/ReportingObject.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/system/Library.h"
#include "resources/appresources/ResManagerExtraParamsProvider.h"
#include "resources/resourcelib/ManagerFactory.h"

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

namespace AppResources {

namespace {

// Module resource N is string-table entry 10000 + N.
const int kStringIdBase = 10000;

LONG Read(volatile LONG& value) {
    return ::InterlockedCompareExchange(&value, 0, 0);
}

// Built before the program's entry, so that no thread races its construction.
const bool s_builtBeforeEntry = (ResourceManagerHolder::IsFailed(), true);

}  // namespace

ResourceManagerHolder::ResourceManagerHolder()
    : m_initializeCount(0), m_isDisabled(0), m_isFailed(0), m_pResourceIds(&GetMainProgramResourceIds()) {}

ResourceManagerHolder::~ResourceManagerHolder() {
    boost::atomic_store(&m_pExtraParamsProvider, boost::shared_ptr<ResManagerExtraParamsProvider>());
    // A manager still published here (the program ended without its exit
    // step) is left to the end of the process: this runs among the static
    // destructors, after those of the XML layer's shared values and COM
    // state, and tearing the storages down now would write to freed memory.
    const boost::shared_ptr<Manager> published = boost::atomic_exchange(&m_pManager, boost::shared_ptr<Manager>());
    if (published)
        new boost::shared_ptr<Manager>(published);
}

ResourceManagerHolder& ResourceManagerHolder::_Instance() {
    static ResourceManagerHolder s_holder;
    return s_holder;
}

boost::shared_ptr<Manager> ResourceManagerHolder::GetManager() {
    ResourceManagerHolder& holder = _Instance();
    if (Read(holder.m_initializeCount) == 0 && Read(holder.m_isDisabled) == 0) {
        // False only when the holder was disabled meanwhile: the disabled
        // holder's empty manager below is the answer then, not a failure.
        if (!holder._AutoInitialize() && Read(holder.m_isDisabled) == 0) {
            const ErrorHandling::ErrorCode code(E_FAIL);
            Reporting::GetModuleReportingObject().ReportAssertion("((_AutoInitialize()))", &code);
        }
    }
    boost::shared_ptr<Manager> manager = boost::atomic_load(&holder.m_pManager);
    if (manager)
        return manager;
    return boost::make_shared<Manager>(ResourceLib::CreateDummyManager());
}

bool ResourceManagerHolder::InitializeApplication(const wlitestring& rootFolder,
                                                  const ProductParameters& parameters) {
    GetExtraParamsProvider()->SetProductParameters(parameters);
    ResourceManagerHolder& holder = _Instance();
    if (Read(holder.m_isDisabled) != 0)
        return false;
    Synchronization::RWLock::ExclusiveScope exclusive(holder.m_lock);
    if (Read(holder.m_initializeCount) != 0)
        return false;
    return holder.Initialize(rootFolder);
}

boost::shared_ptr<ResourceManagerHolder::ResManagerExtraParamsProvider>
ResourceManagerHolder::GetExtraParamsProvider() {
    ResourceManagerHolder& holder = _Instance();
    boost::shared_ptr<ResManagerExtraParamsProvider> provider = boost::atomic_load(&holder.m_pExtraParamsProvider);
    if (provider)
        return provider;
    Synchronization::RWLock::ExclusiveScope exclusive(holder.m_lock);
    provider = boost::atomic_load(&holder.m_pExtraParamsProvider);
    if (!provider) {
        provider = boost::make_shared<ResManagerExtraParamsProvider>();
        boost::atomic_store(&holder.m_pExtraParamsProvider, provider);
    }
    return provider;
}

void ResourceManagerHolder::SetResourceIds(const ResourceIdTables& ids) {
    ResourceManagerHolder& holder = _Instance();
    Synchronization::RWLock::ExclusiveScope exclusive(holder.m_lock);
    holder.m_pResourceIds = &ids;
}

void ResourceManagerHolder::Disable() {
    ResourceManagerHolder& holder = _Instance();
    ::InterlockedExchange(&holder.m_isDisabled, 1);
    boost::atomic_store(&holder.m_pManager, boost::shared_ptr<Manager>());
}

bool ResourceManagerHolder::IsFailed() {
    return Read(_Instance().m_isFailed) != 0;
}

bool ResourceManagerHolder::_AutoInitialize() {
    const FileSystem::File module = FileSystem::GetModuleFilePath(System::GetCurrentModule());
    const std::wstring root =
        module.GetFolder().GetSubFolder(L"Resources").GetSubFolder(module.GetTitle()).GetPath();
    Synchronization::RWLock::ExclusiveScope exclusive(m_lock);
    if (Read(m_initializeCount) != 0)
        return true;
    return Initialize(root);
}

bool ResourceManagerHolder::Initialize(const wlitestring& rootFolder) {
    // Disabled for good: nothing is created, nothing is reported.
    if (Read(m_isDisabled) != 0)
        return false;
    const boost::shared_ptr<Manager> manager =
        boost::make_shared<Manager>(ResourceLib::CreateManager(), *m_pResourceIds);
    if (!manager->Initialize(rootFolder, boost::atomic_load(&m_pExtraParamsProvider), kStringIdBase, false))
        ::InterlockedExchange(&m_isFailed, 1);
    boost::atomic_store(&m_pManager, manager);
    ::InterlockedExchangeAdd(&m_initializeCount, 1);
    return true;
}

}  // namespace AppResources
