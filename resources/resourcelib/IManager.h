#pragma once
// IManager: the one lookup through which every window gets its texts, file
// paths, pictures, icons, bytes, colours, fonts and numbers, by name or by
// registered id, from an ordered list of storages layered by the current
// language and skin.
//
//   manager->RegisterResourceName(5, L"AppTitle", ResourceLib::ResourceTypes::String);
//   std::wstring title = manager->GetStringById(5);   // empty on a miss
//
// A miss returns the kind's empty value, or throws std::runtime_error
// "Failed to retrieve a resource" when the throw flag is set.
//
// Observers of language and skin switches register themselves in Observers
// and are called on the switching thread. The list holds untyped pointers:
// add and remove the IObserver pointer itself,
//   manager->Observers.Add(static_cast<ResourceLib::IManager::IObserver*>(this));
// and remove it before the observer is destroyed.
#include "foundation/strings/LiteString.h"
#include "foundation/sync/GuardedPtrList.h"
#include "resources/resourcelib/ILanguage.h"
#include "resources/resourcelib/ILanguageProvider.h"
#include "resources/resourcelib/IManagerExtraParamsProvider.h"
#include "resources/resourcelib/ISkin.h"
#include "resources/resourcelib/ISkinProvider.h"
#include "resources/resourcelib/IStorage.h"
#include "foundation/core/InterfaceCore.h"
#include "resources/resourcelib/ResourceType.h"

#include <boost/shared_ptr.hpp>

#include <string>

namespace ResourceLib {

class IManager : public InterfaceCore::IInterfaceCore<IManager> {
public:
    class IObserver : public InterfaceCore::IInterfaceCore<IObserver> {
    public:
        // Either value may be empty.
        virtual void OnLanguageChanged(boost::shared_ptr<IManager> manager, boost::shared_ptr<ILanguage> previous,
                                       boost::shared_ptr<ILanguage> current) {}
        virtual void OnSkinChanged(boost::shared_ptr<IManager> manager, boost::shared_ptr<ISkin> previous,
                                   boost::shared_ptr<ISkin> current) {}
    };

    // Forgets storages, providers, language, skin and fallback (which is
    // reset first). Names, throw flag and observers stay.
    virtual void Reset() = 0;
    // The manager asked on every miss; empty clears it. The fallback is set
    // to throw, and aligned to this manager's skin and language.
    virtual bool SetFallbackManager(boost::shared_ptr<IManager> manager) = 0;
    // Ids are 0 upwards and per kind; `type` is one kind.
    virtual bool RegisterResourceName(int id, const wlitestring& name, ResourceType type) = 0;
    // Selects the provider's default language.
    virtual bool SetLanguageProvider(boost::shared_ptr<ILanguageProvider> provider) = 0;
    // Selects the provider's default skin.
    virtual bool SetSkinProvider(boost::shared_ptr<ISkinProvider> provider) = 0;
    // Appended to the search order; false when empty or when it refuses to attach.
    virtual bool AddStorage(boost::shared_ptr<IStorage> storage) = 0;
    virtual void SetExtraParamsProvider(boost::shared_ptr<IManagerExtraParamsProvider> provider) = 0;

    virtual std::wstring GetStringByName(const wlitestring& name) = 0;
    virtual std::wstring GetStringById(int id) = 0;
    virtual SharedBitmap GetBitmapByName(const wlitestring& name, PremultiplyAlpha premultiplied) = 0;
    virtual SharedBitmap GetBitmapById(int id, PremultiplyAlpha premultiplied) = 0;
    virtual SharedIcon GetIconByName(const wlitestring& name, int width, int height) = 0;
    virtual SharedIcon GetIconById(int id, int width, int height) = 0;
    virtual BinaryData GetBinaryByName(const wlitestring& name) = 0;
    virtual BinaryData GetBinaryById(int id) = 0;
    virtual COLORREF GetColorByName(const wlitestring& name) = 0;
    virtual COLORREF GetColorById(int id) = 0;
    virtual SharedFont GetFontByName(const wlitestring& name) = 0;
    virtual SharedFont GetFontById(int id) = 0;
    virtual int GetIntegerByName(const wlitestring& name) = 0;
    virtual int GetIntegerById(int id) = 0;
    // Asks the storages that serve any kind of `typeMask`; the path comes
    // back normalised (backslashes, ".." collapsed, no trailing separator).
    virtual std::wstring GetFilePath(int id, ResourceType typeMask) = 0;

    // True when every storage emptied its caches.
    virtual bool ResetCaches() = 0;
    // True when some storage had a cached value of that id and kind.
    virtual bool ReleaseCachedResource(int id, ResourceType type) = 0;
    // The name registered for the id; empty for a gap.
    virtual std::wstring GetResourceName(int id, ResourceType type) = 0;
    // -1 when the name is not registered.
    virtual int GetResourceId(const wlitestring& name, ResourceType type) = 0;

    // Returns the value set.
    virtual bool SetThrowOnFailure(bool throwOnFailure) = 0;
    virtual bool GetThrowOnFailure() = 0;

    virtual boost::shared_ptr<ILanguageProvider> GetLanguageProvider() = 0;
    // False when no provider offers the name.
    virtual bool SetLanguageByName(const wlitestring& name) = 0;
    // Observers are told when the object differs from the current one.
    virtual bool SetLanguage(boost::shared_ptr<ILanguage> language) = 0;
    virtual boost::shared_ptr<ILanguage> GetCurrentLanguage() = 0;
    // Restores the most recently used language at start-up; false when a
    // different language ended up current. Failures go to the log only.
    virtual bool SetLanguageVerify(const wlitestring& name);
    // The current language's name, else the system's language name.
    virtual std::wstring GetCurrentLanguageName();

    virtual boost::shared_ptr<ISkinProvider> GetSkinProvider() = 0;
    virtual bool SetSkinByName(const wlitestring& name) = 0;
    virtual bool SetSkin(boost::shared_ptr<ISkin> skin) = 0;
    virtual boost::shared_ptr<ISkin> GetCurrentSkin() = 0;
    // Empty when no skin is current.
    virtual std::wstring GetCurrentSkinName();

    virtual boost::shared_ptr<IManagerExtraParamsProvider> GetExtraParamsProvider() = 0;

    // IManager::IObserver pointers (see above).
    Synchronization::GuardedPtrList Observers;
};

// The locale name of the user's interface language ("en-us", "de-de", ...).
std::wstring GetSystemLanguageName();

}  // namespace ResourceLib
