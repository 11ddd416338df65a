// The library's two exports: the entry the program binds, and the test door.
#include "CallLog.h"
#include "Engine.h"

#include <boost/make_shared.hpp>

namespace KavennaEngine {

namespace {

CRITICAL_SECTION& DoorLock() {
    static CRITICAL_SECTION section = [] {
        CRITICAL_SECTION value;
        ::InitializeCriticalSection(&value);
        return value;
    }();
    return section;
}

// The engine made last, for the test door; not kept alive by it.
boost::weak_ptr<Engine>& LastEngine() {
    static boost::weak_ptr<Engine> pEngine;
    return pEngine;
}

class LibraryImpl : public Library {
public:
    ~LibraryImpl() override { CallLog::Instance().Write(L"~Library"); }
    boost::shared_ptr<IEngine>& CreateEngine(boost::shared_ptr<IEngine>& engine) override {
        CallLog::Instance().Write(L"CreateEngine");
        auto pEngine = boost::make_shared<Engine>();
        ::EnterCriticalSection(&DoorLock());
        LastEngine() = pEngine;
        ::LeaveCriticalSection(&DoorLock());
        engine = pEngine;
        return engine;
    }
    void OnApplicationExit() override { CallLog::Instance().Write(L"OnApplicationExit"); }
};

class TestDoorImpl : public TestDoor::ITestDoor {
public:
    DownloadItemHandle AddItem(const TestDoor::ItemSpec& spec) override {
        const boost::shared_ptr<Engine> pEngine = Current();
        if (!pEngine)
            return {};
        boost::shared_ptr<Item> pItem = pEngine->NewItem();
        pItem->Apply(spec);
        CallLog::Instance().Write(L"TestDoor::AddItem", pItem->Number());
        return pItem->Handle();
    }
    bool ChangeItem(const DownloadItemHandle& item, const TestDoor::ItemSpec& spec) override {
        const boost::shared_ptr<Item> pItem = Resolve(item);
        if (!pItem || pItem->IsDropped())
            return false;
        pItem->Apply(spec);
        return true;
    }
    void LetItemGo(const DownloadItemHandle& item) override {
        CallLog::Instance().Write(L"TestDoor::LetItemGo", item.m_pRaw);
        if (const boost::shared_ptr<Engine> pEngine = Current())
            pEngine->DropItem(item);
    }
    void FireEvent(TestDoor::EventKind kind, const DownloadItemHandle& item, const DownloadItemHandle& second, int state,
                   bool onEngineThread) override {
        const boost::shared_ptr<Engine> pEngine = Current();
        if (!pEngine)
            return;
        const boost::shared_ptr<Item> pItem = Resolve(item);
        const wchar_t* name = L"";
        std::function<void(IEngineObserver&)> call;
        switch (kind) {
        case TestDoor::EventStateChanged:
            name = L"OnEngineStateChanged";
            call = [state](IEngineObserver& o) { o.OnEngineStateChanged(state); };
            break;
        case TestDoor::EventItemStarted:
            name = L"OnItemStarted";
            call = [item](IEngineObserver& o) { o.OnItemStarted(item); };
            break;
        case TestDoor::EventItemProgress:
            name = L"OnItemProgress";
            call = [item](IEngineObserver& o) { o.OnItemProgress(item); };
            break;
        case TestDoor::EventItemFinished:
            name = L"OnItemFinished";
            call = [item](IEngineObserver& o) { o.OnItemFinished(item); };
            break;
        case TestDoor::EventDuplicateFound:
            name = L"OnDuplicateFound";
            call = [item, second](IEngineObserver& o) { o.OnDuplicateFound(item, second); };
            break;
        case TestDoor::EventAdvancedRippingNeeded:
            name = L"OnAdvancedRippingNeeded";
            call = [](IEngineObserver& o) { o.OnAdvancedRippingNeeded(); };
            break;
        }
        if (!onEngineThread) {
            pEngine->Fire(name, pItem, call);
            return;
        }
        FireContext context{pEngine, name, pItem, call};
        const HANDLE thread = ::CreateThread(nullptr, 0, &TestDoorImpl::FireThread, &context, 0, nullptr);
        if (thread) {
            // Sent messages are served meanwhile: an observer may send to this thread.
            while (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
                MSG message;
                ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            }
            ::CloseHandle(thread);
        }
    }
    void SetAuxiliaryFlag(bool flag) override {
        if (const boost::shared_ptr<Engine> pEngine = Current())
            ::InterlockedExchange(&pEngine->m_auxiliary.flag, flag ? 1 : 0);
    }
    void SetStateWarning(const std::wstring& text) override {
        WithEngine([&](Engine& engine) { engine.m_stateWarning = text; });
    }
    void SetRefusals(unsigned refusals) override {
        WithEngine([&](Engine& engine) { engine.m_refusals = refusals; });
    }
    void SetHook(TestDoor::HookKind kind, TestDoor::Hook hook) override {
        WithEngine([&](Engine& engine) { engine.m_hooks[kind] = hook; });
    }
    void SetCaughtAddresses(const std::vector<std::wstring>& urls) override {
        WithEngine([&](Engine& engine) { engine.m_caught = urls; });
    }
    void SetPlayerFolder(const std::wstring& folder) override {
        WithEngine([&](Engine& engine) { engine.m_playerFolder = folder; });
    }
    void SetConversionPresets(const std::vector<TestDoor::PresetSpec>& presets) override {
        WithEngine([&](Engine& engine) { engine.m_presets = presets; });
    }
    void SetWriteFailure(unsigned long error) override {
        WithEngine([&](Engine& engine) { engine.m_writeFailure = error; });
    }
    std::vector<std::wstring> GetCallLog() override { return CallLog::Instance().Lines(); }
    void ClearCallLog() override { CallLog::Instance().Clear(); }
    boost::shared_ptr<IEngine> GetEngine() override { return Current(); }

private:
    struct FireContext {
        boost::shared_ptr<Engine> pEngine;
        const wchar_t* name;
        boost::shared_ptr<Item> pItem;
        std::function<void(IEngineObserver&)> call;
    };
    static DWORD WINAPI FireThread(void* parameter) {
        auto& context = *static_cast<FireContext*>(parameter);
        context.pEngine->Fire(context.name, context.pItem, context.call);
        return 0;
    }

    static boost::shared_ptr<Engine> Current() {
        ::EnterCriticalSection(&DoorLock());
        boost::shared_ptr<Engine> pEngine = LastEngine().lock();
        ::LeaveCriticalSection(&DoorLock());
        return pEngine;
    }
    static boost::shared_ptr<Item> Resolve(const DownloadItemHandle& item) {
        return boost::dynamic_pointer_cast<Item>(item.m_pItem.lock());
    }
    // The engine's test-door settings change under its own lock.
    template <class Change>
    static void WithEngine(Change&& change) {
        if (const boost::shared_ptr<Engine> pEngine = Current())
            pEngine->ChangeSettings([&] { change(*pEngine); });
    }
};

}  // namespace

}  // namespace KavennaEngine

extern "C" __declspec(dllexport) KavennaEngine::Library* DllEntryPoint_EngineKavenna() {
    KavennaEngine::CallLog::Instance().Write(L"DllEntryPoint_EngineKavenna");
    return new KavennaEngine::LibraryImpl();
}

extern "C" __declspec(dllexport) KavennaEngine::TestDoor::ITestDoor* DllTestDoor_EngineKavenna() {
    static KavennaEngine::TestDoorImpl door;
    return &door;
}
