#pragma once
// ManagerImpl: the working resource manager. Storages are searched in the
// order they were added, skipping those that do not serve the kind; a miss
// goes to the fallback manager, which then throws or not as this manager
// would.
//
// Threads: any thread. One recursive lock guards every field; it is held
// while storages and the fallback run (they call back into the manager), so
// lookups of different threads are serialised. The fallback's lock is always
// taken after this one. Observers of a switch are called on the switching
// thread (see SetLanguage).
//
// Always owned by a boost::shared_ptr: it hands itself to storages and
// observers.
#include "foundation/sync/CriticalSection.h"
#include "resources/resourcelib/IInternalManager.h"

#include <boost/enable_shared_from_this.hpp>

#include <atomic>
#include <map>
#include <vector>

namespace ResourceLib {

class ManagerImpl : public IInternalManager, public boost::enable_shared_from_this<ManagerImpl> {
public:
    // A failed creation of the lock raises the last error.
    ManagerImpl();

    void Reset() override;
    // Takes the lock too, so a lookup never sees a half-set fallback.
    bool SetFallbackManager(boost::shared_ptr<IManager> manager) override;
    // A negative id or an invalid kind is refused (false), tables unchanged.
    bool RegisterResourceName(int id, const wlitestring& name, ResourceType type) override;
    bool SetLanguageProvider(boost::shared_ptr<ILanguageProvider> provider) override;
    bool SetSkinProvider(boost::shared_ptr<ISkinProvider> provider) override;
    bool AddStorage(boost::shared_ptr<IStorage> storage) override;
    void SetExtraParamsProvider(boost::shared_ptr<IManagerExtraParamsProvider> provider) override;

    std::wstring GetStringByName(const wlitestring& name) override;
    std::wstring GetStringById(int id) override;
    SharedBitmap GetBitmapByName(const wlitestring& name, PremultiplyAlpha premultiplied) override;
    SharedBitmap GetBitmapById(int id, PremultiplyAlpha premultiplied) override;
    SharedIcon GetIconByName(const wlitestring& name, int width, int height) override;
    SharedIcon GetIconById(int id, int width, int height) override;
    BinaryData GetBinaryByName(const wlitestring& name) override;
    BinaryData GetBinaryById(int id) override;
    COLORREF GetColorByName(const wlitestring& name) override;
    COLORREF GetColorById(int id) override;
    SharedFont GetFontByName(const wlitestring& name) override;
    SharedFont GetFontById(int id) override;
    int GetIntegerByName(const wlitestring& name) override;
    int GetIntegerById(int id) override;
    std::wstring GetFilePath(int id, ResourceType typeMask) override;

    bool ResetCaches() override;
    bool ReleaseCachedResource(int id, ResourceType type) override;
    std::wstring GetResourceName(int id, ResourceType type) override;
    int GetResourceId(const wlitestring& name, ResourceType type) override;

    bool SetThrowOnFailure(bool throwOnFailure) override;
    bool GetThrowOnFailure() override;

    boost::shared_ptr<ILanguageProvider> GetLanguageProvider() override;
    // Holds the lock across the switch, so observers run with it held.
    bool SetLanguageByName(const wlitestring& name) override;
    // Always true. Aligns the fallback even when nothing changes; observers
    // are told after the lock is released, on this thread.
    bool SetLanguage(boost::shared_ptr<ILanguage> language) override;
    boost::shared_ptr<ILanguage> GetCurrentLanguage() override;

    boost::shared_ptr<ISkinProvider> GetSkinProvider() override;
    bool SetSkinByName(const wlitestring& name) override;
    bool SetSkin(boost::shared_ptr<ISkin> skin) override;
    boost::shared_ptr<ISkin> GetCurrentSkin() override;

    boost::shared_ptr<IManagerExtraParamsProvider> GetExtraParamsProvider() override;

private:
    typedef Synchronization::CriticalSection::Scope Lock;

    template <class Value, class AskStorage, class AskFallback>
    Value _Lookup(ResourceType type, AskStorage askStorage, AskFallback askFallback);
    boost::shared_ptr<IManager> _GetFallback();
    void _AlignFallbackLanguage(const boost::shared_ptr<ILanguage>& language);
    void _AlignFallbackSkin(const boost::shared_ptr<ISkin>& skin);

    Synchronization::CriticalSection m_lock;
    boost::shared_ptr<IManager> m_fallback;
    boost::shared_ptr<ILanguageProvider> m_languageProvider;
    boost::shared_ptr<ILanguage> m_currentLanguage;
    boost::shared_ptr<ISkinProvider> m_skinProvider;
    boost::shared_ptr<ISkin> m_currentSkin;
    std::vector<boost::shared_ptr<IStorage>> m_storages;
    boost::shared_ptr<IManagerExtraParamsProvider> m_extraParamsProvider;
    // Per kind (index GetResourceTypeIndex): entry i is the name of id i,
    // empty for an unregistered id below the highest registered one.
    std::vector<std::wstring> m_namesById[ResourceTypes::Count];
    std::map<std::wstring, int> m_idsByName[ResourceTypes::Count];
    // A plain flag, read and written without the lock.
    std::atomic<bool> m_throwOnFailure{false};
};

}  // namespace ResourceLib
