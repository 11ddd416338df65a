#include "Engine.h"

#include "CallLog.h"
#include "Catalog.h"
#include "FailureTexts.h"
#include "FileNames.h"
#include "foundation/filesystem/FileNames.h"
#include "PartialFiles.h"

#include <boost/make_shared.hpp>

#include <algorithm>

namespace KavennaEngine {

namespace {

typedef std::vector<TestDoor::PresetSpec> PresetList;

class PresetImpl : public IConversionPreset {
public:
    explicit PresetImpl(TestDoor::PresetSpec spec) : m_spec(std::move(spec)) {}
    std::wstring GetId() override { return m_spec.id; }
    std::wstring GetNameKey() override { return m_spec.nameKey; }
    std::wstring GetName() override { return m_spec.name; }

private:
    const TestDoor::PresetSpec m_spec;
};

class PresetEnumeratorImpl : public IConversionPresetEnumerator {
public:
    explicit PresetEnumeratorImpl(boost::shared_ptr<const PresetList> pPresets) : m_pPresets(std::move(pPresets)) {}
    boost::shared_ptr<IConversionPreset> Next() override {
        if (m_next >= m_pPresets->size())
            return {};
        return boost::make_shared<PresetImpl>((*m_pPresets)[m_next++]);
    }

private:
    boost::shared_ptr<const PresetList> m_pPresets;
    std::size_t m_next = 0;
};

// The presets as they were when the holder was asked for.
class PresetsImpl : public IConversionPresets {
public:
    explicit PresetsImpl(PresetList presets) : m_pPresets(boost::make_shared<const PresetList>(std::move(presets))) {}
    bool FindById(boost::shared_ptr<IConversionPreset>& preset, const std::wstring& id) override {
        preset.reset();
        for (const TestDoor::PresetSpec& spec : *m_pPresets) {
            if (id == spec.id) {
                preset = boost::make_shared<PresetImpl>(spec);
                return true;
            }
        }
        return false;
    }
    void Enumerate(boost::shared_ptr<IConversionPresetEnumerator>& enumerator) override {
        enumerator = boost::make_shared<PresetEnumeratorImpl>(m_pPresets);
    }

private:
    boost::shared_ptr<const PresetList> m_pPresets;
};

struct Section {
    explicit Section(CRITICAL_SECTION& section) : m_section(section) { ::EnterCriticalSection(&m_section); }
    ~Section() { ::LeaveCriticalSection(&m_section); }
    CRITICAL_SECTION& m_section;
};

std::vector<std::wstring> CaughtFromEnvironment() {
    std::vector<std::wstring> urls;
    const DWORD size = ::GetEnvironmentVariableW(TestDoor::kCaughtVariable, nullptr, 0);
    if (size == 0)
        return urls;
    std::wstring text(size, L'\0');
    text.resize(::GetEnvironmentVariableW(TestDoor::kCaughtVariable, &text[0], size));
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(L'|', start), text.size());
        if (end > start)
            urls.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return urls;
}

// Fires one event on a thread of the engine's and waits for it.
struct ThreadedFire {
    boost::shared_ptr<Engine> pEngine;
    const wchar_t* name;
    boost::shared_ptr<Item> pItem;
    std::function<void(IEngineObserver&)> call;
    static DWORD WINAPI Run(void* parameter) {
        auto* self = static_cast<ThreadedFire*>(parameter);
        self->pEngine->Fire(self->name, self->pItem, self->call);
        delete self;
        return 0;
    }
};

}  // namespace

bool AuxiliaryImpl::GetAuxiliaryFlag() {
    CallLog::Instance().Write(L"GetAuxiliaryFlag");
    return flag != 0;
}

RunTurn::RunTurn(HANDLE slots, RunControl& control) : m_slots(slots) {
    if (!slots) {
        m_isTaken = true;
        return;
    }
    const HANDLE waits[] = {slots, control.stopEvent};
    // A turn comes when an earlier run ends; a stop ends the wait at once.
    m_isTaken = ::WaitForMultipleObjects(control.stopEvent ? 2 : 1, waits, FALSE, INFINITE) == WAIT_OBJECT_0;
    if (m_isTaken && control.IsStopped()) {
        ::ReleaseSemaphore(m_slots, 1, nullptr);
        m_isTaken = false;
    }
}

RunTurn::~RunTurn() {
    if (m_isTaken && m_slots)
        ::ReleaseSemaphore(m_slots, 1, nullptr);
}

Engine::Engine()
    : m_downloadSlots(
          ::CreateSemaphoreW(nullptr, TestDoor::kDownloadsAtOnce, TestDoor::kDownloadsAtOnce, nullptr)),
      m_copySlots(::CreateSemaphoreW(nullptr, TestDoor::kCopiesAtOnce, TestDoor::kCopiesAtOnce, nullptr)) {
    ::InitializeCriticalSection(&m_lock);
    ::InitializeCriticalSection(&m_folderLock);
    ::InitializeCriticalSection(&m_nameLock);
    m_caught = CaughtFromEnvironment();
}

Engine::~Engine() {
    for (const boost::shared_ptr<Item>& pItem : m_items)
        pItem->StopRun();
    for (HANDLE slots : {m_downloadSlots, m_copySlots}) {
        if (slots)
            ::CloseHandle(slots);
    }
    ::DeleteCriticalSection(&m_nameLock);
    ::DeleteCriticalSection(&m_folderLock);
    ::DeleteCriticalSection(&m_lock);
}

std::wstring Engine::GetVersionText() {
    CallLog::Instance().Write(L"GetVersionText");
    return L"EngineKavenna stand-in 1.0";
}

void Engine::ChangeSettings(const std::function<void()>& change) {
    Section lock(m_lock);
    change();
}

bool Engine::IsRefused(unsigned refusal) {
    Section lock(m_lock);
    return (m_refusals & refusal) != 0;
}

void Engine::RunHook(TestDoor::HookKind kind, std::uintptr_t item) {
    TestDoor::Hook hook;
    {
        Section lock(m_lock);
        hook = m_hooks[kind];
    }
    if (hook)
        hook(item);
}

boost::shared_ptr<Item> Engine::FindItem(std::uintptr_t number) {
    Section lock(m_lock);
    for (const boost::shared_ptr<Item>& pItem : m_items) {
        if (pItem->Number() == number)
            return pItem;
    }
    return {};
}

boost::shared_ptr<Item> Engine::NewItem() {
    std::uintptr_t number;
    {
        Section lock(m_lock);
        number = ++m_lastNumber;
    }
    auto pItem = boost::make_shared<Item>(shared_from_this(), number);
    Section lock(m_lock);
    m_items.push_back(pItem);
    return pItem;
}

void Engine::DropItem(const DownloadItemHandle& handle) {
    CallLog::Instance().Write(L"DropItem", handle.m_pRaw);
    RunHook(TestDoor::HookDropItem, handle.m_pRaw);
    boost::shared_ptr<Item> pItem = FindItem(handle.m_pRaw);
    if (!pItem)
        return;
    {
        Section lock(m_lock);
        pItem->MarkDropped();
        m_items.erase(std::remove(m_items.begin(), m_items.end(), pItem), m_items.end());
    }
    pItem->StopRun();
    const DWORD self = ::GetCurrentThreadId();
    const std::uintptr_t number = pItem->Number();
    WaitForCalls([&](const ActiveCall& call) { return call.item == number && call.thread != self; });
}

bool Engine::IsBusy(bool) {
    CallLog::Instance().Write(L"IsBusy");
    std::vector<boost::shared_ptr<Item>> items;
    {
        Section lock(m_lock);
        items = m_items;
    }
    for (const boost::shared_ptr<Item>& pItem : items) {
        if (pItem->IsRunning())
            return true;
    }
    return false;
}

bool Engine::CanProcessItemFurther(IDownloadItem* pInterface) {
    auto* pItem = dynamic_cast<Item*>(pInterface);
    CallLog::Instance().Write(L"CanProcessItemFurther", pItem ? pItem->Number() : 0);
    if (!pItem)
        return false;
    std::wstring converted;
    {
        Item::Guard guard(*pItem);
        switch (pItem->stage) {
        case StageDownload:
            return pItem->complete && pItem->downloadResult.code == ResultComplete && !pItem->downloadRunning;
        case StageConversion:
            return !pItem->conversionRunning;
        default:
            converted = pItem->convertedPath;
        }
    }
    return !converted.empty() && PathExists(converted);
}

IAuxiliary* Engine::GetAuxiliaryObject() {
    CallLog::Instance().Write(L"GetAuxiliaryObject");
    return &m_auxiliary;
}

boost::shared_ptr<IConversionPresets>& Engine::GetConversionPresets(boost::shared_ptr<IConversionPresets>& presets) {
    CallLog::Instance().Write(L"GetConversionPresets");
    PresetList list;
    {
        Section lock(m_lock);
        list = m_presets;
    }
    if (list.empty()) {
        for (const PresetInfo& info : Presets())
            list.push_back({info.id, info.nameKey, info.name});
    }
    presets = boost::make_shared<PresetsImpl>(std::move(list));
    return presets;
}

bool Engine::Initialize(IElevation* elevation, IEnvironment* environment) {
    CallLog::Instance().Write(L"Initialize");
    if (!environment || IsRefused(TestDoor::RefuseInitialize))
        return false;
    {
        Section lock(m_lock);
        m_pElevation = elevation;
        m_pEnvironment = environment;
        m_isInitialized = true;
    }
    // No item of an earlier run is left to go on with the partial files its
    // program left behind.
    PartialFiles::RemoveOrphans([this](const std::wstring& path) { return DeleteFile(path) || !PathExists(path); });
    return true;
}

bool Engine::Uninitialize() {
    CallLog::Instance().Write(L"Uninitialize");
    std::vector<boost::shared_ptr<Item>> items;
    {
        Section lock(m_lock);
        items = m_items;
        m_isInitialized = false;
    }
    for (const boost::shared_ptr<Item>& pItem : items)
        pItem->StopRun();
    ::InterlockedExchange(&m_state, EngineOff);
    return true;
}

void Engine::Subscribe(IEngineObserver* observer) {
    CallLog::Instance().Write(L"Subscribe");
    if (!observer)
        return;
    Section lock(m_lock);
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void Engine::Unsubscribe(IEngineObserver* observer) {
    CallLog::Instance().Write(L"Unsubscribe");
    {
        Section lock(m_lock);
        m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
    }
    const DWORD self = ::GetCurrentThreadId();
    WaitForCalls([&](const ActiveCall& call) { return call.pObserver == observer && call.thread != self; });
}

int Engine::GetState() {
    CallLog::Instance().Write(L"GetState");
    return static_cast<int>(m_state);
}

bool Engine::SetState(int state, std::wstring* message) {
    CallLog::Instance().Write(L"SetState " + std::to_wstring(state));
    std::vector<std::wstring> caught;
    {
        Section lock(m_lock);
        if (!m_isInitialized || (m_refusals & TestDoor::RefuseSetState) ||
            (state != EngineOn && state != EngineOff))
            return false;
        if (message && !m_stateWarning.empty())
            *message = m_stateWarning;
        if (state == EngineOn)
            caught.swap(m_caught);
    }
    ::InterlockedExchange(&m_state, state);
    Fire(L"OnEngineStateChanged", nullptr, [state](IEngineObserver& observer) { observer.OnEngineStateChanged(state); });
    for (const std::wstring& url : caught)
        AddUrl(url);
    return true;
}

void Engine::SetAllowStealing(bool allow) {
    CallLog::Instance().Write(allow ? L"SetAllowStealing 1" : L"SetAllowStealing 0");
    Section lock(m_lock);
    m_allowStealing = allow;
}

void Engine::AddFile(const std::wstring& path) {
    CallLog::Instance().Write(L"AddFile " + path);
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    boost::shared_ptr<Item> pItem = NewItem();
    {
        Item::Guard guard(*pItem);
        pItem->import = true;
        pItem->displayName = name;
        pItem->filePath = path;
        pItem->mediaKind = MediaKindOfName(name);
    }
    pItem->RunStage(StageDownload);
}

bool Engine::AddUrl(const std::wstring& url) {
    CallLog::Instance().Write(L"AddUrl " + url);
    std::wstring host, fileName;
    if (IsRefused(TestDoor::RefuseAddUrl) || !SplitAddress(url, host, fileName))
        return false;
    std::vector<boost::shared_ptr<Item>> items;
    {
        Section lock(m_lock);
        if (!m_isInitialized)
            return false;
        items = m_items;
    }
    // Item sections are taken with the engine lock free (see Engine.h).
    boost::shared_ptr<Item> pExisting;
    for (const boost::shared_ptr<Item>& pItem : items) {
        Item::Guard guard(*pItem);
        if (pItem->url == url) {
            pExisting = pItem;
            break;
        }
    }
    if (pExisting) {
        // The duplicate is not kept: it lives for the report only.
        std::uintptr_t number;
        {
            Section lock(m_lock);
            number = ++m_lastNumber;
        }
        auto pDuplicate = boost::make_shared<Item>(shared_from_this(), number);
        {
            Item::Guard guard(*pDuplicate);
            pDuplicate->url = url;
            pDuplicate->displayName = fileName;
            pDuplicate->alternateName = host;
        }
        const DownloadItemHandle existing = pExisting->Handle();
        const DownloadItemHandle duplicate = pDuplicate->Handle();
        FireOnEngineThread(L"OnDuplicateFound", pExisting, [existing, duplicate, pDuplicate](IEngineObserver& observer) {
            observer.OnDuplicateFound(existing, duplicate);
        });
        return false;
    }
    boost::shared_ptr<Item> pItem = NewItem();
    {
        Item::Guard guard(*pItem);
        pItem->url = url;
        pItem->displayName = fileName;
        pItem->alternateName = host;
        pItem->mediaKind = MediaKindOfName(fileName);
    }
    pItem->RunStage(StageDownload);
    return true;
}

std::uint32_t Engine::GetItemCount() {
    Section lock(m_lock);
    return static_cast<std::uint32_t>(m_items.size());
}

void Engine::Fire(const wchar_t* name, const boost::shared_ptr<Item>& pItem,
                  const std::function<void(IEngineObserver&)>& call) {
    const std::uintptr_t number = pItem ? pItem->Number() : 0;
    if (pItem && pItem->IsDropped())
        return;
    CallLog::Instance().Write(name, number);
    std::vector<IEngineObserver*> observers;
    {
        Section lock(m_lock);
        observers = m_observers;
    }
    const DWORD self = ::GetCurrentThreadId();
    for (IEngineObserver* pObserver : observers) {
        {
            Section lock(m_lock);
            if (std::find(m_observers.begin(), m_observers.end(), pObserver) == m_observers.end() ||
                (pItem && pItem->IsDropped()))
                continue;
            m_calls.push_back({pObserver, number, self});
        }
        try {
            call(*pObserver);
        } catch (...) {
            CallLog::Instance().Write(std::wstring(name) + L" raised", number);
        }
        Section lock(m_lock);
        for (auto it = m_calls.begin(); it != m_calls.end(); ++it) {
            if (it->pObserver == pObserver && it->thread == self && it->item == number) {
                m_calls.erase(it);
                break;
            }
        }
    }
}

void Engine::FireOnEngineThread(const wchar_t* name, const boost::shared_ptr<Item>& pItem,
                                const std::function<void(IEngineObserver&)>& call) {
    auto* pFire = new ThreadedFire{shared_from_this(), name, pItem, call};
    const HANDLE thread = ::CreateThread(nullptr, 0, &ThreadedFire::Run, pFire, 0, nullptr);
    if (!thread) {
        delete pFire;
        return;
    }
    ::CloseHandle(thread);
}

void Engine::WaitForCalls(const std::function<bool(const ActiveCall&)>& matches) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        {
            Section lock(m_lock);
            if (std::none_of(m_calls.begin(), m_calls.end(), matches))
                return;
        }
        if (::GetTickCount() - start > 10000) {
            CallLog::Instance().Write(L"WaitForCalls timed out");
            return;
        }
        // A callback may be blocked in SendMessage to this thread.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool Engine::EnsureFolder(const std::wstring& folder, std::wstring& failure) {
    Section lock(m_folderLock);
    for (const std::wstring& level : FileSystem::FolderLevels(folder)) {
        if (PathExists(level))
            continue;
        // Plainly first: the elevation face is for folders the user may not write.
        if (::CreateDirectoryW(level.c_str(), nullptr))
            continue;
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && !CreateFolder(level) && !PathExists(level)) {
            failure = FolderFailureText(error, folder);
            return false;
        }
    }
    return true;
}

namespace {
std::wstring NameKey(std::wstring path) {
    if (!path.empty())
        ::CharLowerBuffW(&path[0], static_cast<DWORD>(path.size()));
    return path;
}
}  // namespace

bool Engine::IsNameTaken(const std::wstring& path) {
    return m_takenNames.count(NameKey(path)) != 0;
}

void Engine::TakeName(const std::wstring& path) {
    m_takenNames.insert(NameKey(path));
}

void Engine::ReleaseName(const std::wstring& path) {
    Section lock(m_nameLock);
    m_takenNames.erase(NameKey(path));
}

DWORD Engine::InjectedWriteFailure() {
    Section lock(m_lock);
    return m_writeFailure;
}

bool Engine::CreateFolder(const std::wstring& path) {
    if (m_pElevation)
        return m_pElevation->CreateFolder(path.c_str());
    return ::CreateDirectoryW(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool Engine::MoveFile(const std::wstring& from, const std::wstring& to) {
    if (m_pElevation)
        return m_pElevation->MoveFile(from.c_str(), to.c_str());
    return ::MoveFileW(from.c_str(), to.c_str()) != FALSE;
}

bool Engine::DeleteFile(const std::wstring& path) {
    if (m_pElevation)
        return m_pElevation->DeleteFile(path.c_str());
    return ::DeleteFileW(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool Engine::PathExists(const std::wstring& path) {
    if (m_pElevation)
        return m_pElevation->PathExists(path.c_str());
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Engine::PlayerFolder() {
    {
        Section lock(m_lock);
        if (!m_playerFolder.empty())
            return m_playerFolder;
    }
    std::wstring videos = m_pEnvironment ? m_pEnvironment->GetVideosFolder() : std::wstring();
    if (!videos.empty() && videos.back() != L'\\')
        videos += L'\\';
    return videos + L"Player";
}

}  // namespace KavennaEngine
