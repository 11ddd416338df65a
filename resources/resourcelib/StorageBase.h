#pragma once
// StorageBase: what every storage shares. It checks the request, reloads the
// storage when the manager's language or skin changed since the last lookup,
// caches every value found (by name and by id apart; bitmaps per
// premultiplication flag, icons per size), expands the placeholders of
// strings and reports failures in ResourceLib's error category.
//
// A storage overrides GetSupportedTypes, _Load and the protected fetches of
// the kinds it serves; every other fetch answers NotSupported.
//
// Threads: no lock of its own. The manager calls its storages under its one
// lock, so a storage is used by one thread at a time.
#include "resources/resourcelib/IInternalManager.h"
#include "resources/resourcelib/ResourceError.h"

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include <list>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ResourceLib {

// Premultiplies a bitmap with an alpha channel by that channel, in place.
// Nothing happens for an empty bitmap, on a screen that is not 32 bits per
// pixel, or for a bitmap of fewer than 32 bits per pixel.
void PremultiplyBitmap(const SharedBitmap& bitmap);

class StorageBase : public IStorage, public boost::enable_shared_from_this<StorageBase> {
public:
    // Raises std::bad_cast "Failed to cast to an internal interface" for a
    // manager that is no IInternalManager.
    bool Attach(const boost::weak_ptr<IManager>& manager) override;

    std::wstring GetStringByName(const wlitestring& name, ErrorCodePtr ec = nullptr) override;
    std::wstring GetStringById(int id, ErrorCodePtr ec = nullptr) override;
    SharedBitmap GetBitmapByName(const wlitestring& name, bool premultiplied, ErrorCodePtr ec = nullptr) override;
    SharedBitmap GetBitmapById(int id, bool premultiplied, ErrorCodePtr ec = nullptr) override;
    SharedIcon GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec = nullptr) override;
    SharedIcon GetIconById(int id, int width, int height, ErrorCodePtr ec = nullptr) override;
    // Always fails: InvalidResourceName for an empty name, else NotSupported.
    BinaryData GetBinaryByName(const wlitestring& name, ErrorCodePtr ec = nullptr) override;
    // The bytes stay in this storage's cache (see BinaryData).
    BinaryData GetBinaryById(int id, ErrorCodePtr ec = nullptr) override;
    COLORREF GetColorByName(const wlitestring& name, ErrorCodePtr ec = nullptr) override;
    COLORREF GetColorById(int id, ErrorCodePtr ec = nullptr) override;
    SharedFont GetFontByName(const wlitestring& name, ErrorCodePtr ec = nullptr) override;
    SharedFont GetFontById(int id, ErrorCodePtr ec = nullptr) override;
    int GetIntegerByName(const wlitestring& name, ErrorCodePtr ec = nullptr) override;
    int GetIntegerById(int id, ErrorCodePtr ec = nullptr) override;
    // Not cached.
    std::wstring GetFilePath(int id, ResourceType typeMask, ErrorCodePtr ec = nullptr) override;

    bool IsValid() override { return true; }
    // Drops every cached value; the language and skin loaded for stay.
    bool ResetCaches() override;
    // Drops one by-id value; by-name values stay.
    bool ReleaseCachedResource(int id, ResourceType type) override;

protected:
    StorageBase();

    // Runs on the first lookup after the manager's language or skin changed,
    // with the caches already emptied. The result is not examined.
    virtual bool _Load();

    // Each fetch follows the error convention of IStorage. Strings come back
    // unexpanded; the base expands them.
    virtual std::wstring _GetStringByName(const wlitestring& name, ErrorCodePtr ec);
    virtual std::wstring _GetStringById(int id, ErrorCodePtr ec);
    virtual SharedBitmap _GetBitmapByName(const wlitestring& name, bool premultiplied, ErrorCodePtr ec);
    virtual SharedBitmap _GetBitmapById(int id, bool premultiplied, ErrorCodePtr ec);
    virtual SharedIcon _GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec);
    virtual SharedIcon _GetIconById(int id, int width, int height, ErrorCodePtr ec);
    // Fill `bytes` (it may hold a failed attempt's bytes on entry).
    virtual void _GetBinaryByName(const wlitestring& name, std::vector<BYTE>& bytes, ErrorCodePtr ec);
    virtual void _GetBinaryById(int id, std::vector<BYTE>& bytes, ErrorCodePtr ec);
    virtual COLORREF _GetColorByName(const wlitestring& name, ErrorCodePtr ec);
    virtual COLORREF _GetColorById(int id, ErrorCodePtr ec);
    virtual SharedFont _GetFontByName(const wlitestring& name, ErrorCodePtr ec);
    virtual SharedFont _GetFontById(int id, ErrorCodePtr ec);
    virtual int _GetIntegerByName(const wlitestring& name, ErrorCodePtr ec);
    virtual int _GetIntegerById(int id, ErrorCodePtr ec);
    virtual std::wstring _GetFilePath(int id, ResourceType typeMask, ErrorCodePtr ec);

    // Empty once the manager is gone.
    boost::shared_ptr<IInternalManager> _GetManager() const { return m_manager.lock(); }
    // The language and skin the caches are filled for; either may be empty.
    boost::shared_ptr<ILanguage> _GetLanguage() const { return m_language; }
    boost::shared_ptr<ISkin> _GetSkin() const { return m_skin; }
    // The layer folders under a resource root, most specific first:
    // <language>\<skin>, Common\<skin>, <language>, Common (those whose
    // language or skin is not set are left out; none is checked on disk).
    std::vector<std::wstring> _GetLayerFolders(const std::wstring& rootPath) const;

    // Stores the code in *ec, or raises boost::system::system_error without one.
    static void _Fail(ResourceErrorCodes code, ErrorCodePtr ec);
    // Clears *ec, if given.
    static void _Succeed(ErrorCodePtr ec);

    // "{name}" placeholders replaced by the escapes ("{nl}", "{tab}"), the
    // manager's extra parameters or other strings of the manager. A name
    // equal to `selfName`, "{0}" to "{99}" and names that give nothing stay
    // as written; so does a name whose expansion is under way on this thread
    // (a cycle of strings naming each other).
    std::wstring _ExpandPlaceholders(const std::wstring& text, const wlitestring& selfName);

private:
    template <class Value>
    struct CacheEntry {
        Value value{};
        bool valid = false;
    };
    struct BitmapEntry {
        SharedBitmap value;
        bool premultiplied;
        bool SameVariant(const BitmapEntry& other) const { return premultiplied == other.premultiplied; }
    };
    struct IconEntry {
        SharedIcon value;
        int width;
        int height;
        bool SameVariant(const IconEntry& other) const { return width == other.width && height == other.height; }
    };
    template <class Value>
    using ByName = std::map<std::wstring, CacheEntry<Value>>;
    template <class Value>
    using ById = std::vector<CacheEntry<Value>>;
    template <class Entry>
    using Variants = std::list<Entry>;

    // False (code stored or raised) when the manager is gone. Reloads after a
    // change of language or skin.
    bool _EnsureCurrent(ErrorCodePtr ec);
    // The start of every lookup: an invalid key fails with `invalidCode`,
    // then the caches are made current. False when the lookup cannot go on.
    bool _StartLookup(bool isValidKey, ResourceErrorCodes invalidCode, ErrorCodePtr ec);
    void _ClearCaches();
    // False when the manager is gone (reported as a failed check).
    bool _Replace(const std::wstring& name, std::wstring& replacement);

    // A cached value of the slot that `slotOf()` gives (made when missing),
    // or the fetched one, cached on success. The slot is asked for again
    // after the fetch: a nested lookup may have reloaded and emptied the cache.
    template <class Value, class SlotOf, class Fetch>
    Value _LookupCached(SlotOf slotOf, ErrorCodePtr ec, Fetch fetch);
    template <class Entry, class SlotOf, class Fetch>
    decltype(Entry::value) _LookupCachedVariant(SlotOf slotOf, const Entry& key, ErrorCodePtr ec, Fetch fetch);
    template <class Value, class Fetch>
    Value _LookupByName(ByName<Value>& cache, const wlitestring& name, ErrorCodePtr ec, Fetch fetch);
    template <class Value, class Fetch>
    Value _LookupById(ById<Value>& cache, int id, ErrorCodePtr ec, Fetch fetch);
    template <class Entry, class Fetch>
    decltype(Entry::value) _LookupVariantByName(std::map<std::wstring, Variants<Entry>>& cache,
                                                const wlitestring& name, const Entry& key, ErrorCodePtr ec,
                                                Fetch fetch);
    template <class Entry, class Fetch>
    decltype(Entry::value) _LookupVariantById(std::vector<Variants<Entry>>& cache, int id, const Entry& key,
                                              ErrorCodePtr ec, Fetch fetch);

    ById<std::wstring> m_stringsById;
    std::vector<Variants<BitmapEntry>> m_bitmapsById;
    std::vector<Variants<IconEntry>> m_iconsById;
    ById<std::vector<BYTE>> m_binariesById;
    ById<COLORREF> m_colorsById;
    ById<SharedFont> m_fontsById;
    ById<int> m_integersById;
    ByName<std::wstring> m_stringsByName;
    std::map<std::wstring, Variants<BitmapEntry>> m_bitmapsByName;
    std::map<std::wstring, Variants<IconEntry>> m_iconsByName;
    ByName<COLORREF> m_colorsByName;
    ByName<SharedFont> m_fontsByName;
    ByName<int> m_integersByName;
    boost::shared_ptr<ILanguage> m_language;
    boost::shared_ptr<ISkin> m_skin;
    boost::weak_ptr<IInternalManager> m_manager;
    const std::vector<std::pair<std::wstring, std::wstring>> m_escapes;
};

}  // namespace ResourceLib
