#include "resources/resourcelib/ManagerImpl.h"

#include "foundation/filesystem/FileNames.h"

#include <stdexcept>

namespace ResourceLib {

namespace {

// While a miss is handed to the fallback, the fallback throws or not as the
// asking manager would; its own setting is back afterwards, also when it threw.
class FallbackThrowFlag {
public:
    FallbackThrowFlag(IManager& fallback, bool asking) : m_fallback(fallback), m_saved(fallback.GetThrowOnFailure()) {
        m_fallback.SetThrowOnFailure(asking);
    }
    ~FallbackThrowFlag() { m_fallback.SetThrowOnFailure(m_saved); }
    FallbackThrowFlag(const FallbackThrowFlag&) = delete;
    FallbackThrowFlag& operator=(const FallbackThrowFlag&) = delete;

private:
    IManager& m_fallback;
    const bool m_saved;
};

}  // namespace

ManagerImpl::ManagerImpl() = default;

template <class Value, class AskStorage, class AskFallback>
Value ManagerImpl::_Lookup(ResourceType type, AskStorage askStorage, AskFallback askFallback) {
    Lock lock(m_lock);
    // By index, holding each storage: a storage may call back into the
    // manager, even one that changes the list.
    for (std::size_t i = 0; i < m_storages.size(); ++i) {
        const boost::shared_ptr<IStorage> storage = m_storages[i];
        if ((storage->GetSupportedTypes() & type) == 0)
            continue;
        boost::system::error_code ec(0, boost::system::system_category());
        Value value = askStorage(*storage, &ec);
        if (ec.value() == 0)
            return value;
    }
    if (const boost::shared_ptr<IManager> fallback = m_fallback) {
        FallbackThrowFlag asking(*fallback, m_throwOnFailure);
        return askFallback(*fallback);
    }
    if (m_throwOnFailure)
        throw std::runtime_error("Failed to retrieve a resource");
    return Value();
}

void ManagerImpl::Reset() {
    Lock lock(m_lock);
    m_storages.clear();
    m_currentLanguage.reset();
    m_languageProvider.reset();
    m_extraParamsProvider.reset();
    m_currentSkin.reset();
    m_skinProvider.reset();
    if (const boost::shared_ptr<IManager> fallback = m_fallback) {
        fallback->Reset();
        m_fallback.reset();
    }
}

bool ManagerImpl::SetFallbackManager(boost::shared_ptr<IManager> manager) {
    Lock lock(m_lock);
    m_fallback = manager;
    if (!manager)
        return true;
    manager->SetThrowOnFailure(true);
    _AlignFallbackSkin(m_currentSkin);
    _AlignFallbackLanguage(m_currentLanguage);
    return true;
}

bool ManagerImpl::RegisterResourceName(int id, const wlitestring& name, ResourceType type) {
    if (const boost::shared_ptr<IManager> fallback = _GetFallback())
        fallback->RegisterResourceName(id, name, type);
    // The tables have no place for a negative id: it would resize them to
    // nothing and write before their start.
    if (type == 0 || id < 0)
        return false;
    Lock lock(m_lock);
    try {
        const unsigned index = GetResourceTypeIndex(type);
        std::vector<std::wstring>& names = m_namesById[index];
        if (names.size() <= static_cast<unsigned>(id))
            names.resize(static_cast<unsigned>(id) + 1);
        names[id] = name.str();
        m_idsByName[index][names[id]] = id;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool ManagerImpl::SetLanguageProvider(boost::shared_ptr<ILanguageProvider> provider) {
    if (!provider)
        return false;
    boost::shared_ptr<ILanguage> defaultLanguage;
    {
        Lock lock(m_lock);
        m_languageProvider = provider;
        defaultLanguage = provider->GetDefaultLanguage();
    }
    return SetLanguage(defaultLanguage);
}

bool ManagerImpl::SetSkinProvider(boost::shared_ptr<ISkinProvider> provider) {
    if (!provider)
        return false;
    boost::shared_ptr<ISkin> defaultSkin;
    {
        Lock lock(m_lock);
        m_skinProvider = provider;
        defaultSkin = provider->GetDefaultSkin();
    }
    return SetSkin(defaultSkin);
}

bool ManagerImpl::AddStorage(boost::shared_ptr<IStorage> storage) {
    if (!storage)
        return false;
    Lock lock(m_lock);
    const boost::shared_ptr<IManager> self = shared_from_this();
    if (!storage->Attach(boost::weak_ptr<IManager>(self)))
        return false;
    m_storages.push_back(storage);
    return true;
}

void ManagerImpl::SetExtraParamsProvider(boost::shared_ptr<IManagerExtraParamsProvider> provider) {
    Lock lock(m_lock);
    m_extraParamsProvider = provider;
}

std::wstring ManagerImpl::GetStringByName(const wlitestring& name) {
    return _Lookup<std::wstring>(
        ResourceTypes::String, [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetStringByName(name, ec); },
        [&](IManager& fallback) { return fallback.GetStringByName(name); });
}

std::wstring ManagerImpl::GetStringById(int id) {
    return _Lookup<std::wstring>(
        ResourceTypes::String, [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetStringById(id, ec); },
        [&](IManager& fallback) { return fallback.GetStringById(id); });
}

SharedBitmap ManagerImpl::GetBitmapByName(const wlitestring& name, PremultiplyAlpha premultiplied) {
    return _Lookup<SharedBitmap>(
        ResourceTypes::Bitmap,
        [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetBitmapByName(name, premultiplied, ec); },
        [&](IManager& fallback) { return fallback.GetBitmapByName(name, premultiplied); });
}

SharedBitmap ManagerImpl::GetBitmapById(int id, PremultiplyAlpha premultiplied) {
    return _Lookup<SharedBitmap>(
        ResourceTypes::Bitmap,
        [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetBitmapById(id, premultiplied, ec); },
        [&](IManager& fallback) { return fallback.GetBitmapById(id, premultiplied); });
}

SharedIcon ManagerImpl::GetIconByName(const wlitestring& name, int width, int height) {
    return _Lookup<SharedIcon>(
        ResourceTypes::Icon,
        [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetIconByName(name, width, height, ec); },
        [&](IManager& fallback) { return fallback.GetIconByName(name, width, height); });
}

SharedIcon ManagerImpl::GetIconById(int id, int width, int height) {
    return _Lookup<SharedIcon>(
        ResourceTypes::Icon,
        [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetIconById(id, width, height, ec); },
        [&](IManager& fallback) { return fallback.GetIconById(id, width, height); });
}

BinaryData ManagerImpl::GetBinaryByName(const wlitestring& name) {
    return _Lookup<BinaryData>(
        ResourceTypes::Binary, [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetBinaryByName(name, ec); },
        [&](IManager& fallback) { return fallback.GetBinaryByName(name); });
}

BinaryData ManagerImpl::GetBinaryById(int id) {
    return _Lookup<BinaryData>(
        ResourceTypes::Binary, [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetBinaryById(id, ec); },
        [&](IManager& fallback) { return fallback.GetBinaryById(id); });
}

COLORREF ManagerImpl::GetColorByName(const wlitestring& name) {
    return _Lookup<COLORREF>(
        ResourceTypes::Color, [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetColorByName(name, ec); },
        [&](IManager& fallback) { return fallback.GetColorByName(name); });
}

COLORREF ManagerImpl::GetColorById(int id) {
    return _Lookup<COLORREF>(
        ResourceTypes::Color, [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetColorById(id, ec); },
        [&](IManager& fallback) { return fallback.GetColorById(id); });
}

SharedFont ManagerImpl::GetFontByName(const wlitestring& name) {
    return _Lookup<SharedFont>(
        ResourceTypes::Font, [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetFontByName(name, ec); },
        [&](IManager& fallback) { return fallback.GetFontByName(name); });
}

SharedFont ManagerImpl::GetFontById(int id) {
    return _Lookup<SharedFont>(
        ResourceTypes::Font, [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetFontById(id, ec); },
        [&](IManager& fallback) { return fallback.GetFontById(id); });
}

int ManagerImpl::GetIntegerByName(const wlitestring& name) {
    return _Lookup<int>(
        ResourceTypes::Integer, [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetIntegerByName(name, ec); },
        [&](IManager& fallback) { return fallback.GetIntegerByName(name); });
}

int ManagerImpl::GetIntegerById(int id) {
    return _Lookup<int>(
        ResourceTypes::Integer, [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetIntegerById(id, ec); },
        [&](IManager& fallback) { return fallback.GetIntegerById(id); });
}

std::wstring ManagerImpl::GetFilePath(int id, ResourceType typeMask) {
    const std::wstring path = _Lookup<std::wstring>(
        typeMask, [&](IStorage& storage, IStorage::ErrorCodePtr ec) { return storage.GetFilePath(id, typeMask, ec); },
        [&](IManager& fallback) { return fallback.GetFilePath(id, typeMask); });
    // A miss stays empty: normalising "" would give "\".
    return path.empty() ? path : FileSystem::NormalizePath(path, wlitestring(), FileSystem::kNormalizeAll);
}

bool ManagerImpl::ResetCaches() {
    Lock lock(m_lock);
    if (const boost::shared_ptr<IManager> fallback = m_fallback)
        fallback->ResetCaches();
    bool allReset = true;
    for (std::size_t i = 0; i < m_storages.size(); ++i) {
        const boost::shared_ptr<IStorage> storage = m_storages[i];
        if (!storage->ResetCaches())
            allReset = false;
    }
    return allReset;
}

bool ManagerImpl::ReleaseCachedResource(int id, ResourceType type) {
    Lock lock(m_lock);
    if (const boost::shared_ptr<IManager> fallback = m_fallback)
        fallback->ReleaseCachedResource(id, type);
    bool released = false;
    for (std::size_t i = 0; i < m_storages.size(); ++i) {
        const boost::shared_ptr<IStorage> storage = m_storages[i];
        if ((storage->GetSupportedTypes() & type) != 0 && storage->ReleaseCachedResource(id, type))
            released = true;
    }
    return released;
}

std::wstring ManagerImpl::GetResourceName(int id, ResourceType type) {
    boost::shared_ptr<IManager> fallback;
    {
        Lock lock(m_lock);
        try {
            const std::vector<std::wstring>& names = m_namesById[GetResourceTypeIndex(type)];
            // A negative id is beyond every table.
            if (static_cast<unsigned>(id) < names.size())
                return names[id];
        } catch (const std::exception&) {
            // An invalid kind is a miss.
        }
        fallback = m_fallback;
    }
    return fallback ? fallback->GetResourceName(id, type) : std::wstring();
}

int ManagerImpl::GetResourceId(const wlitestring& name, ResourceType type) {
    boost::shared_ptr<IManager> fallback;
    {
        Lock lock(m_lock);
        try {
            const std::map<std::wstring, int>& ids = m_idsByName[GetResourceTypeIndex(type)];
            const auto found = ids.find(name.str());
            if (found != ids.end())
                return found->second;
        } catch (const std::exception&) {
            // An invalid kind is a miss.
        }
        fallback = m_fallback;
    }
    return fallback ? fallback->GetResourceId(name, type) : -1;
}

bool ManagerImpl::SetThrowOnFailure(bool throwOnFailure) {
    m_throwOnFailure = throwOnFailure;
    return throwOnFailure;
}

bool ManagerImpl::GetThrowOnFailure() {
    return m_throwOnFailure;
}

boost::shared_ptr<ILanguageProvider> ManagerImpl::GetLanguageProvider() {
    Lock lock(m_lock);
    return m_languageProvider;
}

bool ManagerImpl::SetLanguageByName(const wlitestring& name) {
    Lock lock(m_lock);
    if (!m_languageProvider)
        return false;
    const boost::shared_ptr<ILanguage> found = m_languageProvider->FindLanguage(name);
    if (!found)
        return false;
    return SetLanguage(found);
}

bool ManagerImpl::SetLanguage(boost::shared_ptr<ILanguage> language) {
    boost::shared_ptr<ILanguage> previous;
    {
        Lock lock(m_lock);
        _AlignFallbackLanguage(language);
        if (language == m_currentLanguage)
            return true;
        previous = m_currentLanguage;
        m_currentLanguage = language;
    }
    const boost::shared_ptr<IManager> self = shared_from_this();
    Observers.Notify([&](void* observer) {
        static_cast<IObserver*>(observer)->OnLanguageChanged(self, previous, language);
    });
    return true;
}

boost::shared_ptr<ILanguage> ManagerImpl::GetCurrentLanguage() {
    Lock lock(m_lock);
    return m_currentLanguage;
}

boost::shared_ptr<ISkinProvider> ManagerImpl::GetSkinProvider() {
    Lock lock(m_lock);
    return m_skinProvider;
}

bool ManagerImpl::SetSkinByName(const wlitestring& name) {
    Lock lock(m_lock);
    if (!m_skinProvider)
        return false;
    const boost::shared_ptr<ISkin> found = m_skinProvider->FindSkin(name);
    if (!found)
        return false;
    return SetSkin(found);
}

bool ManagerImpl::SetSkin(boost::shared_ptr<ISkin> skin) {
    boost::shared_ptr<ISkin> previous;
    {
        Lock lock(m_lock);
        _AlignFallbackSkin(skin);
        if (skin == m_currentSkin)
            return true;
        previous = m_currentSkin;
        m_currentSkin = skin;
    }
    const boost::shared_ptr<IManager> self = shared_from_this();
    Observers.Notify([&](void* observer) {
        static_cast<IObserver*>(observer)->OnSkinChanged(self, previous, skin);
    });
    return true;
}

boost::shared_ptr<ISkin> ManagerImpl::GetCurrentSkin() {
    Lock lock(m_lock);
    return m_currentSkin;
}

boost::shared_ptr<IManagerExtraParamsProvider> ManagerImpl::GetExtraParamsProvider() {
    Lock lock(m_lock);
    return m_extraParamsProvider;
}

boost::shared_ptr<IManager> ManagerImpl::_GetFallback() {
    Lock lock(m_lock);
    return m_fallback;
}

// Under the lock: the fallback takes the language of the same name among its
// own, or none.
void ManagerImpl::_AlignFallbackLanguage(const boost::shared_ptr<ILanguage>& language) {
    const boost::shared_ptr<IManager> fallback = m_fallback;
    if (!fallback)
        return;
    boost::shared_ptr<ILanguage> same;
    const boost::shared_ptr<ILanguageProvider> provider = fallback->GetLanguageProvider();
    if (provider && language)
        same = provider->FindLanguage(language->GetName());
    fallback->SetLanguage(same);
}

void ManagerImpl::_AlignFallbackSkin(const boost::shared_ptr<ISkin>& skin) {
    const boost::shared_ptr<IManager> fallback = m_fallback;
    if (!fallback)
        return;
    boost::shared_ptr<ISkin> same;
    const boost::shared_ptr<ISkinProvider> provider = fallback->GetSkinProvider();
    if (provider && skin)
        same = provider->FindSkin(skin->GetName());
    fallback->SetSkin(same);
}

}  // namespace ResourceLib
