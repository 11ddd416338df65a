#pragma once
// ResourceManagerHolder: the process's one resource manager, set up over the
// application's resource folder and handed out to any thread.
//
//   At start-up:  ResourceManagerHolder::InitializeApplication(resourcesFolder, productParams);
//   Anywhere:     ResourceManagerHolder::GetManager()->GetString(StringID_OK);
//   At exit:      ResourceManagerHolder::Disable();
//
// A GetManager before the application's step sets the holder up by itself
// over "Resources\<program title>" beside the executable (or "Resources"
// when that folder is missing); the application's step then gives false and
// changes nothing. After Disable every GetManager hands out a fresh manager
// that answers every lookup empty.
//
// Threads: any thread. GetManager's fast path takes no lock: two interlocked
// reads and an atomic load of the published pointer. The lock is taken
// exclusively around every initialisation that may publish a manager, so at
// most one is ever published; a manager is published only once it is
// completely set up.
#include "foundation/strings/LiteString.h"
#include "foundation/sync/RWLock.h"
#include "resources/appresources/Manager.h"
#include "resources/appresources/ResourceIdTables.h"

#include <windows.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <utility>
#include <vector>

namespace AppResources {

class ResourceManagerHolder {
public:
    class ResManagerExtraParamsProvider;

    // What the application puts into the extra parameters at start-up.
    struct ProductParameters {
        std::wstring shortProductVersion;
        std::wstring fullProductName;
        std::wstring productVersion;
        std::wstring productName;
        std::wstring companyName;
        // Every further name and value of the product information, in order.
        std::vector<std::pair<std::wstring, std::wstring>> further;
    };

    // Never empty.
    static boost::shared_ptr<Manager> GetManager();

    // The application's start-up step: fills the extra parameters (creating
    // the provider when there is none), then sets the holder up over
    // `rootFolder`. False when the holder is disabled or initialised already
    // (by an earlier GetManager); true once a manager is published, also when
    // its verification failed (recorded, see IsFailed). Raises what the
    // set-up raises; nothing is published then.
    static bool InitializeApplication(const wlitestring& rootFolder, const ProductParameters& parameters);

    // The extra parameters handed to every set-up; made on first need.
    static boost::shared_ptr<ResManagerExtraParamsProvider> GetExtraParamsProvider();

    // The numbered names registered with the manager; the main program's by
    // default. A program with tables of its own (the Updater) sets them
    // before anything asks for a resource; the tables must live to the end
    // of the process.
    static void SetResourceIds(const ResourceIdTables& ids);

    // The exit step. Managers already handed out live on with their holders.
    static void Disable();

    // Whether the set-up of the published manager reported a failure.
    static bool IsFailed();

    ~ResourceManagerHolder();

private:
    ResourceManagerHolder();
    ResourceManagerHolder(const ResourceManagerHolder&) = delete;
    ResourceManagerHolder& operator=(const ResourceManagerHolder&) = delete;

    static ResourceManagerHolder& _Instance();

    // The set-up run by the first GetManager, over the automatic root.
    bool _AutoInitialize();
    // Creates, sets up and publishes a manager; the caller holds m_lock
    // exclusively and has seen m_initializeCount at 0.
    bool Initialize(const wlitestring& rootFolder);

    volatile LONG m_initializeCount;
    volatile LONG m_isDisabled;
    volatile LONG m_isFailed;
    Synchronization::RWLock m_lock;
    boost::shared_ptr<Manager> m_pManager;  // atomic loads and stores only
    boost::shared_ptr<ResManagerExtraParamsProvider> m_pExtraParamsProvider;  // atomic loads and stores only
    const ResourceIdTables* volatile m_pResourceIds;
};

}  // namespace AppResources
