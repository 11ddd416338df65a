#pragma once
// The stand-in engine and its items.
//
// Threads: program threads call the engine and the items; every stage run
// works on a thread of its own, which also fires that run's events. Lock
// order: an item's section may be held when the engine lock is taken (the
// program calls the engine with an item locked), never the other way round;
// observers are called with neither held.
#include "engine/EngineTestDoor.h"
#include "engine/KavennaEngine.h"

#include <windows.h>

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace KavennaEngine {

class Engine;
class Item;

// One run of a stage: its stop flag and the gate around each write, so
// that Stop returns once nothing more is written; the event wakes a run that
// waits for its turn.
struct RunControl {
    RunControl() : stopEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) { ::InitializeCriticalSection(&gate); }
    ~RunControl() {
        if (stopEvent)
            ::CloseHandle(stopEvent);
        ::DeleteCriticalSection(&gate);
    }
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;
    CRITICAL_SECTION gate;
    bool stopped = false;  // under gate
    const HANDLE stopEvent;
    bool IsStopped() {
        ::EnterCriticalSection(&gate);
        const bool value = stopped;
        ::LeaveCriticalSection(&gate);
        return value;
    }
    void MarkStopped() {
        ::EnterCriticalSection(&gate);
        stopped = true;
        ::LeaveCriticalSection(&gate);
        if (stopEvent)
            ::SetEvent(stopEvent);
    }
};

// Runs at once of each kind (TestDoor::kDownloadsAtOnce, kCopiesAtOnce):
// more wait for a turn, in the order the scheduler wakes them. Few enough
// that a server is not flooded and the platform's own connection limits never
// make a request wait inside it, where a time-out would fail it.

// A turn of a run: taken from a slot semaphore, or not at all when the run is
// stopped while it waits.
class RunTurn {
public:
    RunTurn(HANDLE slots, RunControl& control);
    ~RunTurn();
    RunTurn(const RunTurn&) = delete;
    RunTurn& operator=(const RunTurn&) = delete;
    bool IsTaken() const { return m_isTaken; }

private:
    HANDLE m_slots;
    bool m_isTaken = false;
};

class DownloadStageImpl : public IDownloadStage {
public:
    explicit DownloadStageImpl(Item& item) : m_item(item) {}
    bool IsRunning() override;
    const Result* GetResult() override;
    std::wstring GetAlternateName() override;
    std::wstring GetDisplayName() override;
    std::wstring GetTempPath() override;
    std::wstring GetReviewText() override;
    std::wstring GetFilePath() override;
    bool IsComplete() override;
    bool IsImport() override;
    const ReviewRecord* GetReviewRecord() override;
    void Start() override;
    void Stop() override;
    std::uint32_t GetReceivedBytes() override;
    std::uint32_t GetTransferStartBytes() override;
    std::uint32_t GetTransferTick() override;
    std::uint32_t GetTransferStartTick() override;
    std::uint32_t GetPosition() override;
    int GetMediaKind() override;
    void Rename(const std::wstring& newName, int how, int flags) override;

private:
    Item& m_item;
};

class ConversionStageImpl : public IConversionStage {
public:
    explicit ConversionStageImpl(Item& item) : m_item(item) {}
    void Start() override;
    const Result* GetResult() override;
    std::wstring GetTempPath() override;
    std::wstring GetFilePath() override;
    bool IsRunning() override;
    void SetOutputFormat(const std::wstring& format) override;

private:
    Item& m_item;
};

class DeployStageImpl : public IDeployStage {
public:
    explicit DeployStageImpl(Item& item) : m_item(item) {}
    void Start() override;
    const Result* GetResult() override;
    std::wstring GetFilePath() override;
    bool IsRunning() override;

private:
    Item& m_item;
};

// Fields are guarded by m_section, the lock the program takes through the
// item's handle; the worker fields by m_workerLock.
class Item : public IDownloadItem, public boost::enable_shared_from_this<Item> {
public:
    Item(const boost::shared_ptr<Engine>& pEngine, std::uintptr_t number);
    ~Item() override;

    const Result* GetResult() override;
    CRITICAL_SECTION* GetLock() override { return &m_section; }
    int GetStage() override;
    void AdvanceStage() override;
    IDownloadStage* GetDownloadStage() override { return &m_download; }
    IConversionStage* GetConversionStage() override { return &m_conversion; }
    IDeployStage* GetDeployStage() override { return &m_deploy; }
    void Start() override;
    void Stop() override;
    std::uint32_t GetReceivedBytes() override;
    std::uint32_t GetTotalBytes() override;
    std::uint32_t GetAuxiliaryCount() override;
    std::uint32_t GetPosition() override;
    std::uint32_t GetDuration() override;
    bool IsRunning() override;

    std::uintptr_t Number() const { return m_number; }
    DownloadItemHandle Handle() { return DownloadItemHandle(shared_from_this(), m_number); }
    boost::shared_ptr<Engine> GetEngine() { return m_pEngine.lock(); }

    // Starts a run of `stage` on a new thread; a run in progress is stopped
    // first and the new one waits for its end before it begins.
    void RunStage(int stage);
    // Stops the run in progress; returns once it writes no more.
    void StopRun();
    bool IsDropped() const { return m_dropped != 0; }
    void MarkDropped() { ::InterlockedExchange(&m_dropped, 1); }

    void Apply(const TestDoor::ItemSpec& spec);

    // Guarded by m_section.
    std::wstring url, displayName, alternateName, tempPath, filePath, reviewText;
    std::wstring convertedTempPath, convertedPath, deployPath, outputFormat;
    int stage = StageDownload;
    Result result, downloadResult, conversionResult, deployResult;
    ReviewRecord review;
    int mediaKind = 0;
    std::uint32_t received = 0, total = 0, auxiliaryCount = 0, position = 0, duration = 0;
    std::uint32_t downloadReceived = 0, transferStartBytes = 0, transferStartTick = 0, transferTick = 0;
    bool complete = false, import = false;
    bool downloadRunning = false, conversionRunning = false, deployRunning = false;

    // The section taken around reads and writes of the fields above.
    struct Guard {
        explicit Guard(Item& item) : m_item(item) { ::EnterCriticalSection(&m_item.m_section); }
        ~Guard() { ::LeaveCriticalSection(&m_item.m_section); }
        Item& m_item;
    };

private:
    struct RunContext;
    static DWORD WINAPI RunThread(void* parameter);
    void Run(RunContext& context);
    // The run's outcome code; a failure's words in `failure`.
    int RunDownload(Engine& engine, RunControl& control, std::wstring& failure);
    int RunCopy(Engine& engine, RunControl& control, int runStage, std::wstring& failure);
    bool& RunningFlag(int runStage);
    Result& StageResult(int runStage);

    CRITICAL_SECTION m_section;
    CRITICAL_SECTION m_workerLock;
    boost::shared_ptr<RunControl> m_pRun;  // under m_workerLock
    HANDLE m_worker = nullptr;             // under m_workerLock
    unsigned m_generation = 0;             // under m_section
    volatile LONG m_dropped = 0;
    boost::weak_ptr<Engine> m_pEngine;
    const std::uintptr_t m_number;
    DownloadStageImpl m_download{*this};
    ConversionStageImpl m_conversion{*this};
    DeployStageImpl m_deploy{*this};
};

class AuxiliaryImpl : public IAuxiliary {
public:
    bool GetAuxiliaryFlag() override;
    volatile LONG flag = 0;
};

class Engine : public IEngine, public boost::enable_shared_from_this<Engine> {
public:
    Engine();
    ~Engine() override;

    std::wstring GetVersionText() override;
    void DropItem(const DownloadItemHandle& item) override;
    bool IsBusy(bool reserved) override;
    bool CanProcessItemFurther(IDownloadItem* item) override;
    IAuxiliary* GetAuxiliaryObject() override;
    boost::shared_ptr<IConversionPresets>& GetConversionPresets(boost::shared_ptr<IConversionPresets>& presets) override;
    bool Initialize(IElevation* elevation, IEnvironment* environment) override;
    bool Uninitialize() override;
    void Subscribe(IEngineObserver* observer) override;
    void Unsubscribe(IEngineObserver* observer) override;
    int GetState() override;
    bool SetState(int state, std::wstring* message) override;
    void SetAllowStealing(bool allow) override;
    void AddFile(const std::wstring& path) override;
    bool AddUrl(const std::wstring& url) override;
    std::uint32_t GetItemCount() override;

    // Calls every listed observer, with no lock held, skipping those
    // unsubscribed meanwhile and everything once `pItem` was dropped.
    void Fire(const wchar_t* name, const boost::shared_ptr<Item>& pItem,
              const std::function<void(IEngineObserver&)>& call);
    void FireOnEngineThread(const wchar_t* name, const boost::shared_ptr<Item>& pItem,
                            const std::function<void(IEngineObserver&)>& call);

    // File work through the program's elevation face (plain calls without one).
    bool CreateFolder(const std::wstring& path);
    // Creates `folder` with every missing level, one at a time and one run
    // at a time, so that runs racing for one folder all find it made.
    bool EnsureFolder(const std::wstring& folder, std::wstring& failure);
    bool MoveFile(const std::wstring& from, const std::wstring& to);
    bool DeleteFile(const std::wstring& path);
    bool PathExists(const std::wstring& path);
    IEnvironment* Environment() { return m_pEnvironment; }
    std::wstring PlayerFolder();

    // The lock under which a run picks a file name, and the names that runs
    // are writing (each taken until its run ends), compared without case.
    CRITICAL_SECTION& NameLock() { return m_nameLock; }
    bool IsNameTaken(const std::wstring& path);  // under NameLock
    void TakeName(const std::wstring& path);     // under NameLock
    void ReleaseName(const std::wstring& path);

    HANDLE DownloadSlots() const { return m_downloadSlots; }
    HANDLE CopySlots() const { return m_copySlots; }
    // The test door's write failure: writes after a download's first fail with it; 0 for none.
    DWORD InjectedWriteFailure();

    void RunHook(TestDoor::HookKind kind, std::uintptr_t item);
    boost::shared_ptr<Item> NewItem();

    // Runs `change` of the test door's settings below under the engine lock.
    void ChangeSettings(const std::function<void()>& change);

    // The test door's settings.
    AuxiliaryImpl m_auxiliary;
    std::wstring m_stateWarning;     // under m_lock
    unsigned m_refusals = 0;         // under m_lock
    std::vector<std::wstring> m_caught;  // under m_lock
    std::wstring m_playerFolder;         // under m_lock
    TestDoor::Hook m_hooks[3];           // under m_lock
    std::vector<TestDoor::PresetSpec> m_presets;  // under m_lock; empty: the catalog's
    DWORD m_writeFailure = 0;                     // under m_lock

private:
    struct ActiveCall {
        IEngineObserver* pObserver;
        std::uintptr_t item;
        DWORD thread;
    };
    // Waits (pumping sent messages, at most 10 s) until no call that matches
    // runs on another thread.
    void WaitForCalls(const std::function<bool(const ActiveCall&)>& matches);
    boost::shared_ptr<Item> FindItem(std::uintptr_t number);
    bool IsRefused(unsigned refusal);

    CRITICAL_SECTION m_lock;
    CRITICAL_SECTION m_folderLock;  // one folder creation at a time
    CRITICAL_SECTION m_nameLock;
    std::set<std::wstring> m_takenNames;  // lower case, under m_nameLock
    HANDLE m_downloadSlots;
    HANDLE m_copySlots;
    std::vector<IEngineObserver*> m_observers;
    std::vector<ActiveCall> m_calls;
    std::vector<boost::shared_ptr<Item>> m_items;
    IElevation* m_pElevation = nullptr;
    IEnvironment* m_pEnvironment = nullptr;
    bool m_isInitialized = false;
    volatile LONG m_state = EngineOff;
    bool m_allowStealing = false;
    std::uintptr_t m_lastNumber = 0;
};

// Splits an address into its host and its file-name part; false for an
// address that is not http or https.
bool SplitAddress(const std::wstring& url, std::wstring& host, std::wstring& fileName);

// Redirects a download follows before it fails.
const int kMaxRedirects = 10;

// Fetches `url`, following at most kMaxRedirects redirects, calling `write`
// with each piece and `onChunk` after it. The result code; the HTTP status or
// Win32 error in `outcome.detail` and a failure's words in `outcome.text`
// (left empty when `write` said stop: the writer knows why).
struct TransferProgress {
    std::function<void(std::uint32_t total)> onLength;
    std::function<bool(const char* data, DWORD size)> write;  // false: stop
    std::function<void()> onChunk;
};
int FetchUrl(const std::wstring& url, const TransferProgress& progress, RunControl& control, Result& outcome);

}  // namespace KavennaEngine
