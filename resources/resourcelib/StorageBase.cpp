#include "resources/resourcelib/StorageBase.h"

#include "foundation/errors/Checks.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/strings/NumberStrings.h"
#include "graphics/commongui/SharedBitmaps.h"

#include <boost/system/system_error.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <typeinfo>

namespace ResourceLib {

namespace {

// Thrown by Attach for a manager that storages must not attach to.
class InternalInterfaceCastError : public std::bad_cast {
public:
    const char* what() const noexcept override { return "Failed to cast to an internal interface"; }
};

// Strings that name each other in braces would expand without end: a name
// whose expansion is under way on this thread is not looked up again, and a
// chain of names stops growing at this depth. The names being expanded live
// in frames on the expanding thread's own stack, linked through one plain
// pointer declared thread_local. With this toolchain a thread's block of
// such variables is freed before their destructors run, so none of them may
// have a destructor here (a per-thread vector of names freed garbage when its
// thread ended).
constexpr std::size_t kMaxExpansionDepth = 32;

class ExpansionFrame;
thread_local const ExpansionFrame* t_pInnermostExpansion = nullptr;

class ExpansionFrame {
public:
    explicit ExpansionFrame(const wlitestring& name)
        : m_name(name), m_pOuter(t_pInnermostExpansion), m_depth(m_pOuter ? m_pOuter->m_depth : 0) {
        if (!m_name.empty()) {
            ++m_depth;
            t_pInnermostExpansion = this;
        }
    }
    ~ExpansionFrame() {
        if (!m_name.empty())
            t_pInnermostExpansion = m_pOuter;
    }
    ExpansionFrame(const ExpansionFrame&) = delete;
    ExpansionFrame& operator=(const ExpansionFrame&) = delete;

    // False when `name` is being expanded on this thread or the chain is full.
    static bool MayExpand(const std::wstring& name) {
        const ExpansionFrame* pFrame = t_pInnermostExpansion;
        if (pFrame && pFrame->m_depth >= kMaxExpansionDepth)
            return false;
        for (; pFrame; pFrame = pFrame->m_pOuter) {
            if (!pFrame->m_name.empty() && pFrame->m_name == name)
                return false;
        }
        return true;
    }

private:
    const wlitestring m_name;  // the caller's text outlives the frame
    const ExpansionFrame* const m_pOuter;
    std::size_t m_depth;
};

// "{0}" to "{99}" are left for the formatting that follows.
bool IsNumberedPlaceholder(const std::wstring& name) {
    std::uint32_t ignored = 0;
    return name.size() <= 2 && STLHelpers::IsUnsignedNumber(name, ignored);
}

bool HasManager(const boost::shared_ptr<IInternalManager>& pManager) {
    CHECK_ERROR(pManager);
    return true;
}

// Runs one protected fetch. With an error code the code is cleared first and
// tells the outcome; without one a failure has been raised already.
template <class Fetch>
auto RunFetch(IStorage::ErrorCodePtr ec, Fetch fetch, bool& succeeded) -> decltype(fetch(ec)) {
    if (ec)
        ec->clear();
    auto value = fetch(ec);
    succeeded = !ec || !*ec;
    return value;
}

template <class Cache>
void GrowTo(Cache& cache, int id) {
    if (cache.size() <= static_cast<std::size_t>(id))
        cache.resize(static_cast<std::size_t>(id) + 1);
}

template <class Cache>
bool ReleaseValid(Cache& cache, int id) {
    if (static_cast<std::size_t>(id) >= cache.size() || !cache[id].valid)
        return false;
    cache[id] = typename Cache::value_type();
    return true;
}

template <class Cache>
bool ReleaseVariants(Cache& cache, int id) {
    if (static_cast<std::size_t>(id) >= cache.size() || cache[id].empty())
        return false;
    cache[id].clear();
    return true;
}

BinaryData MakeBinaryData(const std::vector<BYTE>& bytes) {
    BinaryData data;
    if (!bytes.empty()) {
        data.pData = bytes.data();
        data.size = static_cast<std::uint32_t>(bytes.size());
    }
    return data;
}

}  // namespace

void PremultiplyBitmap(const SharedBitmap& bitmap) {
    if (!CommonGuiLib::IsNullGDIObject(bitmap))
        CommonGuiLib::PremultiplyBitmapAlpha(bitmap->GetHandle(), false);
}

StorageBase::StorageBase() : m_escapes{{L"nl", L"\n"}, {L"tab", L"\t"}} {}

bool StorageBase::Attach(const boost::weak_ptr<IManager>& manager) {
    const boost::shared_ptr<IManager> locked = manager.lock();
    if (!locked)
        return false;
    const boost::shared_ptr<IInternalManager> internal = boost::dynamic_pointer_cast<IInternalManager>(locked);
    if (!internal)
        throw InternalInterfaceCastError();
    m_manager = internal;
    return true;
}

void StorageBase::_Fail(ResourceErrorCodes code, ErrorCodePtr ec) {
    const boost::system::error_code error(code, GetErrorCategory());
    if (!ec)
        throw boost::system::system_error(error);
    *ec = error;
}

void StorageBase::_Succeed(ErrorCodePtr ec) {
    if (ec)
        ec->clear();
}

bool StorageBase::_StartLookup(bool isValidKey, ResourceErrorCodes invalidCode, ErrorCodePtr ec) {
    if (!isValidKey) {
        _Fail(invalidCode, ec);
        return false;
    }
    return _EnsureCurrent(ec);
}

bool StorageBase::_EnsureCurrent(ErrorCodePtr ec) {
    const boost::shared_ptr<IInternalManager> manager = _GetManager();
    if (!manager) {
        _Fail(InvalidStorageState, ec);
        return false;
    }
    boost::shared_ptr<ILanguage> language = manager->GetCurrentLanguage();
    boost::shared_ptr<ISkin> skin = manager->GetCurrentSkin();
    if (language == m_language && skin == m_skin)
        return true;
    _ClearCaches();
    m_language = std::move(language);
    m_skin = std::move(skin);
    _Load();
    return true;
}

void StorageBase::_ClearCaches() {
    m_stringsById.clear();
    m_bitmapsById.clear();
    m_iconsById.clear();
    m_binariesById.clear();
    m_colorsById.clear();
    m_fontsById.clear();
    m_integersById.clear();
    m_stringsByName.clear();
    m_bitmapsByName.clear();
    m_iconsByName.clear();
    m_colorsByName.clear();
    m_fontsByName.clear();
    m_integersByName.clear();
}

bool StorageBase::ResetCaches() {
    _ClearCaches();
    return true;
}

bool StorageBase::ReleaseCachedResource(int id, ResourceType type) {
    if (id < 0)
        return false;
    switch (type) {
    case ResourceTypes::String:
        return ReleaseValid(m_stringsById, id);
    case ResourceTypes::Bitmap:
        return ReleaseVariants(m_bitmapsById, id);
    case ResourceTypes::Icon:
        return ReleaseVariants(m_iconsById, id);
    case ResourceTypes::Binary:
        return ReleaseValid(m_binariesById, id);
    case ResourceTypes::Color:
        return ReleaseValid(m_colorsById, id);
    case ResourceTypes::Font:
        return ReleaseValid(m_fontsById, id);
    case ResourceTypes::Integer:
        return ReleaseValid(m_integersById, id);
    default:
        return false;
    }
}

namespace {

template <class Entry>
const Entry* FindVariant(const std::list<Entry>& variants, const Entry& key) {
    for (const Entry& entry : variants) {
        if (entry.SameVariant(key) && !CommonGuiLib::IsNullGDIObject(entry.value))
            return &entry;
    }
    return nullptr;
}

template <class Entry>
void StoreVariant(std::list<Entry>& variants, const Entry& entry) {
    for (Entry& stored : variants) {
        if (stored.SameVariant(entry)) {
            stored = entry;
            return;
        }
    }
    variants.push_back(entry);
}

}  // namespace

template <class Value, class SlotOf, class Fetch>
Value StorageBase::_LookupCached(SlotOf slotOf, ErrorCodePtr ec, Fetch fetch) {
    if (slotOf().valid) {
        _Succeed(ec);
        return slotOf().value;
    }
    bool succeeded = false;
    Value value = RunFetch(ec, fetch, succeeded);
    if (!succeeded)
        return Value();
    CacheEntry<Value>& entry = slotOf();
    entry.value = value;
    entry.valid = true;
    return value;
}

template <class Entry, class SlotOf, class Fetch>
decltype(Entry::value) StorageBase::_LookupCachedVariant(SlotOf slotOf, const Entry& key, ErrorCodePtr ec,
                                                         Fetch fetch) {
    if (const Entry* found = FindVariant(slotOf(), key)) {
        _Succeed(ec);
        return found->value;
    }
    bool succeeded = false;
    Entry entry = key;
    entry.value = RunFetch(ec, fetch, succeeded);
    if (!succeeded)
        return decltype(Entry::value)();
    StoreVariant(slotOf(), entry);
    return entry.value;
}

template <class Value, class Fetch>
Value StorageBase::_LookupByName(ByName<Value>& cache, const wlitestring& name, ErrorCodePtr ec, Fetch fetch) {
    if (!_StartLookup(!name.empty(), InvalidResourceName, ec))
        return Value();
    const std::wstring key = name.str();
    return _LookupCached<Value>([&]() -> CacheEntry<Value>& { return cache[key]; }, ec, fetch);
}

template <class Value, class Fetch>
Value StorageBase::_LookupById(ById<Value>& cache, int id, ErrorCodePtr ec, Fetch fetch) {
    if (!_StartLookup(id >= 0, InvalidResourceID, ec))
        return Value();
    return _LookupCached<Value>(
        [&]() -> CacheEntry<Value>& {
            GrowTo(cache, id);
            return cache[id];
        },
        ec, fetch);
}

template <class Entry, class Fetch>
decltype(Entry::value) StorageBase::_LookupVariantByName(std::map<std::wstring, Variants<Entry>>& cache,
                                                         const wlitestring& name, const Entry& key, ErrorCodePtr ec,
                                                         Fetch fetch) {
    if (!_StartLookup(!name.empty(), InvalidResourceName, ec))
        return decltype(Entry::value)();
    const std::wstring mapKey = name.str();
    return _LookupCachedVariant([&]() -> Variants<Entry>& { return cache[mapKey]; }, key, ec, fetch);
}

template <class Entry, class Fetch>
decltype(Entry::value) StorageBase::_LookupVariantById(std::vector<Variants<Entry>>& cache, int id, const Entry& key,
                                                       ErrorCodePtr ec, Fetch fetch) {
    if (!_StartLookup(id >= 0, InvalidResourceID, ec))
        return decltype(Entry::value)();
    return _LookupCachedVariant(
        [&]() -> Variants<Entry>& {
            GrowTo(cache, id);
            return cache[id];
        },
        key, ec, fetch);
}

std::wstring StorageBase::GetStringByName(const wlitestring& name, ErrorCodePtr ec) {
    return _LookupByName(m_stringsByName, name, ec, [&](ErrorCodePtr fetchEc) {
        std::wstring text = _GetStringByName(name, fetchEc);
        if (fetchEc && *fetchEc)
            return text;
        return _ExpandPlaceholders(text, name);
    });
}

std::wstring StorageBase::GetStringById(int id, ErrorCodePtr ec) {
    return _LookupById(m_stringsById, id, ec, [&](ErrorCodePtr fetchEc) {
        std::wstring text = _GetStringById(id, fetchEc);
        if (fetchEc && *fetchEc)
            return text;
        return _ExpandPlaceholders(text, wlitestring());
    });
}

SharedBitmap StorageBase::GetBitmapByName(const wlitestring& name, bool premultiplied, ErrorCodePtr ec) {
    return _LookupVariantByName(m_bitmapsByName, name, BitmapEntry{SharedBitmap(), premultiplied}, ec,
                                [&](ErrorCodePtr fetchEc) { return _GetBitmapByName(name, premultiplied, fetchEc); });
}

SharedBitmap StorageBase::GetBitmapById(int id, bool premultiplied, ErrorCodePtr ec) {
    return _LookupVariantById(m_bitmapsById, id, BitmapEntry{SharedBitmap(), premultiplied}, ec,
                              [&](ErrorCodePtr fetchEc) { return _GetBitmapById(id, premultiplied, fetchEc); });
}

SharedIcon StorageBase::GetIconByName(const wlitestring& name, int width, int height, ErrorCodePtr ec) {
    return _LookupVariantByName(m_iconsByName, name, IconEntry{SharedIcon(), width, height}, ec,
                                [&](ErrorCodePtr fetchEc) { return _GetIconByName(name, width, height, fetchEc); });
}

SharedIcon StorageBase::GetIconById(int id, int width, int height, ErrorCodePtr ec) {
    return _LookupVariantById(m_iconsById, id, IconEntry{SharedIcon(), width, height}, ec,
                              [&](ErrorCodePtr fetchEc) { return _GetIconById(id, width, height, fetchEc); });
}

BinaryData StorageBase::GetBinaryByName(const wlitestring& name, ErrorCodePtr ec) {
    _Fail(name.empty() ? InvalidResourceName : NotSupported, ec);
    return BinaryData();
}

BinaryData StorageBase::GetBinaryById(int id, ErrorCodePtr ec) {
    if (!_StartLookup(id >= 0, InvalidResourceID, ec))
        return BinaryData();
    GrowTo(m_binariesById, id);
    if (m_binariesById[id].valid) {
        _Succeed(ec);
        return MakeBinaryData(m_binariesById[id].value);
    }
    // Filled in a vector of its own: a nested lookup may grow the cache and
    // move its entries while the fetch runs.
    std::vector<BYTE> bytes;
    bool succeeded = false;
    RunFetch(
        ec,
        [&](ErrorCodePtr fetchEc) {
            _GetBinaryById(id, bytes, fetchEc);
            return 0;
        },
        succeeded);
    if (!succeeded)
        return BinaryData();
    GrowTo(m_binariesById, id);
    CacheEntry<std::vector<BYTE>>& entry = m_binariesById[id];
    entry.value.swap(bytes);
    entry.valid = true;
    return MakeBinaryData(entry.value);
}

COLORREF StorageBase::GetColorByName(const wlitestring& name, ErrorCodePtr ec) {
    return _LookupByName(m_colorsByName, name, ec, [&](ErrorCodePtr fetchEc) { return _GetColorByName(name, fetchEc); });
}

COLORREF StorageBase::GetColorById(int id, ErrorCodePtr ec) {
    return _LookupById(m_colorsById, id, ec, [&](ErrorCodePtr fetchEc) { return _GetColorById(id, fetchEc); });
}

SharedFont StorageBase::GetFontByName(const wlitestring& name, ErrorCodePtr ec) {
    return _LookupByName(m_fontsByName, name, ec, [&](ErrorCodePtr fetchEc) { return _GetFontByName(name, fetchEc); });
}

SharedFont StorageBase::GetFontById(int id, ErrorCodePtr ec) {
    return _LookupById(m_fontsById, id, ec, [&](ErrorCodePtr fetchEc) { return _GetFontById(id, fetchEc); });
}

int StorageBase::GetIntegerByName(const wlitestring& name, ErrorCodePtr ec) {
    return _LookupByName(m_integersByName, name, ec,
                         [&](ErrorCodePtr fetchEc) { return _GetIntegerByName(name, fetchEc); });
}

int StorageBase::GetIntegerById(int id, ErrorCodePtr ec) {
    return _LookupById(m_integersById, id, ec, [&](ErrorCodePtr fetchEc) { return _GetIntegerById(id, fetchEc); });
}

std::wstring StorageBase::GetFilePath(int id, ResourceType typeMask, ErrorCodePtr ec) {
    if (!_EnsureCurrent(ec))
        return std::wstring();
    return _GetFilePath(id, typeMask, ec);
}

std::wstring StorageBase::_ExpandPlaceholders(const std::wstring& source, const wlitestring& selfName) {
    const ExpansionFrame frame(selfName);
    std::wstring text = source;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t open = text.find(L'{', position);
        if (open == std::wstring::npos)
            break;
        const std::size_t close = text.find(L'}', open + 1);
        if (close == std::wstring::npos)
            break;
        const std::wstring name = text.substr(open + 1, close - open - 1);
        std::wstring replacement;
        if (!name.empty() && name != selfName && !IsNumberedPlaceholder(name)) {
            if (!_Replace(name, replacement))
                return text;
        }
        if (replacement.empty()) {
            position = close + 1;
        } else {
            text.replace(open, close - open + 1, replacement);
            position = open + replacement.size();
        }
    }
    return text;
}

bool StorageBase::_Replace(const std::wstring& name, std::wstring& replacement) {
    for (const auto& escape : m_escapes) {
        if (escape.first == name) {
            replacement = escape.second;
            return true;
        }
    }
    const boost::shared_ptr<IInternalManager> pManager = _GetManager();
    if (pManager) {
        if (const boost::shared_ptr<IManagerExtraParamsProvider> provider = pManager->GetExtraParamsProvider()) {
            replacement = provider->GetParam(name);
            if (!replacement.empty())
                return true;
        }
    }
    if (!ExpansionFrame::MayExpand(name))
        return true;
    if (!HasManager(pManager))
        return false;
    replacement = pManager->GetStringByName(name);
    return true;
}

// The defaults: this storage does not serve the kind.

bool StorageBase::_Load() {
    return true;
}

std::wstring StorageBase::_GetStringByName(const wlitestring&, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return std::wstring();
}

std::wstring StorageBase::_GetStringById(int, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return std::wstring();
}

SharedBitmap StorageBase::_GetBitmapByName(const wlitestring&, bool, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return SharedBitmap();
}

SharedBitmap StorageBase::_GetBitmapById(int, bool, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return SharedBitmap();
}

SharedIcon StorageBase::_GetIconByName(const wlitestring&, int, int, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return SharedIcon();
}

SharedIcon StorageBase::_GetIconById(int, int, int, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return SharedIcon();
}

void StorageBase::_GetBinaryByName(const wlitestring&, std::vector<BYTE>&, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
}

void StorageBase::_GetBinaryById(int, std::vector<BYTE>&, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
}

COLORREF StorageBase::_GetColorByName(const wlitestring&, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return 0;
}

COLORREF StorageBase::_GetColorById(int, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return 0;
}

SharedFont StorageBase::_GetFontByName(const wlitestring&, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return SharedFont();
}

SharedFont StorageBase::_GetFontById(int, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return SharedFont();
}

int StorageBase::_GetIntegerByName(const wlitestring&, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return 0;
}

int StorageBase::_GetIntegerById(int, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return 0;
}

std::wstring StorageBase::_GetFilePath(int, ResourceType, ErrorCodePtr ec) {
    _Fail(NotSupported, ec);
    return std::wstring();
}

std::vector<std::wstring> StorageBase::_GetLayerFolders(const std::wstring& rootPath) const {
    const FileSystem::Folder root(rootPath);
    const FileSystem::Folder common = root.GetSubFolder(L"Common");
    std::vector<std::wstring> folders;
    if (m_language && m_skin)
        folders.push_back(root.GetSubFolder(m_language->GetName()).GetSubFolder(m_skin->GetName()).GetPath());
    if (m_skin)
        folders.push_back(common.GetSubFolder(m_skin->GetName()).GetPath());
    if (m_language)
        folders.push_back(root.GetSubFolder(m_language->GetName()).GetPath());
    folders.push_back(common.GetPath());
    return folders;
}

}  // namespace ResourceLib
