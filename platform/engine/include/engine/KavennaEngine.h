#pragma once
// The capture engine: the library object its one export hands out, the
// engine, its download items with their three stages, the conversion
// presets, the observer the engine reports to, and the two interfaces the
// engine asks of the program (IEnvironment, IElevation).
//
//   auto entry = reinterpret_cast<KavennaEngine::EntryPoint>(
//       ::GetProcAddress(module, KavennaEngine::kEntryPointName));
//   boost::shared_ptr<KavennaEngine::Library> pLibrary(entry());
//   boost::shared_ptr<KavennaEngine::IEngine> pEngine;
//   pLibrary->CreateEngine(pEngine);
//
// Threads: the engine calls observers and the program's interfaces on
// threads of its own. An item is read only while its lock is held (see
// DownloadItemHandle::Lock); the engine changes an item only under it.
#include "foundation/core/InterfaceCore.h"
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include <cstdint>
#include <string>

namespace KavennaEngine {

class IDownloadItem;
class ItemLocker;

// The first field is the outcome: 0 and 1 finished, 2 stopped, 3 a failed
// transfer, 4 deleted in the engine, 5 not repeatable (the address is gone).
struct Result {
    int code = 0;
    std::uint32_t detail = 0;  // the HTTP status or Win32 error behind a failure
    std::wstring text;         // the outcome in words, when the engine has some
    std::wstring messageName;  // a registered string naming the outcome; wins over the text
};

enum ResultCode {
    ResultComplete = 0,
    ResultFinished = 1,
    ResultStopped = 2,
    ResultTransferFailed = 3,
    ResultDeleted = 4,
    ResultNotRepeatable = 5,
};

enum Stage { StageDownload = 0, StageConversion = 1, StageDeploy = 2 };
enum EngineState { EngineOn = 0, EngineOff = 1 };

// Whether a download wants the user's review before it is kept.
struct ReviewRecord {
    int reviewFlag = 0;
};

// The program's handle on one item, copied by value. Two handles name the
// same item when the strong pointers they resolve to are equal; m_pRaw is
// the item's identity for the per-thread lock record, never dereferenced.
class DownloadItemHandle {
public:
    DownloadItemHandle() = default;
    DownloadItemHandle(const boost::shared_ptr<IDownloadItem>& pItem, std::uintptr_t raw) : m_pItem(pItem), m_pRaw(raw) {}

    // The item under its lock, or empty when the item is gone or another
    // item is locked on this thread (that raises an assertion first). The
    // lock lives as long as `locker`. Defined by the program.
    boost::shared_ptr<IDownloadItem> Lock(ItemLocker& locker) const;

    // The item without its lock: for identity comparisons only.
    boost::shared_ptr<IDownloadItem> Peek() const { return m_pItem.lock(); }
    bool IsSameItem(const DownloadItemHandle& other) const {
        // Every handle of an item carries its identity: two identities are
        // two items, the same only when both are gone. Lists look items up
        // by this, and the identities answer without touching the counts.
        if (m_pRaw != 0 && other.m_pRaw != 0 && m_pRaw != other.m_pRaw)
            return m_pItem.expired() && other.m_pItem.expired();
        return Peek() == other.Peek();
    }

    boost::weak_ptr<IDownloadItem> m_pItem;
    std::uintptr_t m_pRaw = 0;
};

// The stage that fetches the file.
class IDownloadStage : public InterfaceCore::IInterfaceCore<IDownloadStage> {
public:
    virtual bool IsRunning() = 0;
    virtual const Result* GetResult() = 0;
    virtual std::wstring GetAlternateName() = 0;
    virtual std::wstring GetDisplayName() = 0;
    virtual std::wstring GetTempPath() = 0;
    virtual std::wstring GetReviewText() = 0;
    virtual std::wstring GetFilePath() = 0;
    // The download ended with the whole file.
    virtual bool IsComplete() = 0;
    // The item came from a local file rather than the web.
    virtual bool IsImport() = 0;
    virtual const ReviewRecord* GetReviewRecord() = 0;
    // Fetches again from the start; the item returns to stage 0.
    virtual void Start() = 0;
    // Returns once the worker stopped writing.
    virtual void Stop() = 0;
    virtual std::uint32_t GetReceivedBytes() = 0;
    virtual std::uint32_t GetTransferStartBytes() = 0;
    virtual std::uint32_t GetTransferTick() = 0;
    virtual std::uint32_t GetTransferStartTick() = 0;
    virtual std::uint32_t GetPosition() = 0;
    // The media kind number (1..15), 0 when unknown.
    virtual int GetMediaKind() = 0;
    // The item's new file name; the two numbers are passed as the program got them.
    virtual void Rename(const std::wstring& newName, int how, int flags) = 0;
};

// The stage that converts the downloaded file into the output format.
class IConversionStage : public InterfaceCore::IInterfaceCore<IConversionStage> {
public:
    // Puts the item in stage 1 and converts.
    virtual void Start() = 0;
    virtual const Result* GetResult() = 0;
    virtual std::wstring GetTempPath() = 0;
    virtual std::wstring GetFilePath() = 0;
    virtual bool IsRunning() = 0;
    virtual void SetOutputFormat(const std::wstring& format) = 0;
};

// The stage that copies the converted file to the portable player.
class IDeployStage : public InterfaceCore::IInterfaceCore<IDeployStage> {
public:
    virtual void Start() = 0;
    virtual const Result* GetResult() = 0;
    virtual std::wstring GetFilePath() = 0;
    virtual bool IsRunning() = 0;
};

// One download; reached only through a locked handle. The stage objects
// belong to the item and live as long as it does.
class IDownloadItem : public InterfaceCore::IInterfaceCore<IDownloadItem> {
public:
    virtual const Result* GetResult() = 0;
    // The item's own lock, owned by the engine.
    virtual CRITICAL_SECTION* GetLock() = 0;
    virtual int GetStage() = 0;
    // 0 -> 1 -> 2; stage 2 stays.
    virtual void AdvanceStage() = 0;
    virtual IDownloadStage* GetDownloadStage() = 0;
    virtual IConversionStage* GetConversionStage() = 0;
    virtual IDeployStage* GetDeployStage() = 0;
    // Runs the current stage again / stops it.
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual std::uint32_t GetReceivedBytes() = 0;
    // 0: not known.
    virtual std::uint32_t GetTotalBytes() = 0;
    virtual std::uint32_t GetAuxiliaryCount() = 0;
    virtual std::uint32_t GetPosition() = 0;
    virtual std::uint32_t GetDuration() = 0;
    virtual bool IsRunning() = 0;
};

class IConversionPreset : public InterfaceCore::IInterfaceCore<IConversionPreset> {
public:
    // The format id the settings store ("OFP_0_IPAD_A_1024X768!iPadMpeg4_1024x768,85").
    virtual std::wstring GetId() = 0;
    // The name of a language string; may be empty.
    virtual std::wstring GetNameKey() = 0;
    virtual std::wstring GetName() = 0;
};

class IConversionPresetEnumerator : public InterfaceCore::IInterfaceCore<IConversionPresetEnumerator> {
public:
    // The next preset; empty at the end.
    virtual boost::shared_ptr<IConversionPreset> Next() = 0;
};

class IConversionPresets : public InterfaceCore::IInterfaceCore<IConversionPresets> {
public:
    // False, with `preset` emptied, when no preset has that id.
    virtual bool FindById(boost::shared_ptr<IConversionPreset>& preset, const std::wstring& id) = 0;
    virtual void Enumerate(boost::shared_ptr<IConversionPresetEnumerator>& enumerator) = 0;
};

class IAuxiliary : public InterfaceCore::IInterfaceCore<IAuxiliary> {
public:
    virtual bool GetAuxiliaryFlag() = 0;
};

// What the engine reports. Every operation has an empty body, so an
// observer overrides only what it needs. Called on engine threads, never
// with an engine or item lock held.
class IEngineObserver : public InterfaceCore::IInterfaceCore<IEngineObserver> {
public:
    virtual void OnEngineStateChanged(int state) {}
    virtual void OnItemStarted(DownloadItemHandle item) {}
    virtual void OnItemProgress(DownloadItemHandle item) {}
    virtual void OnItemFinished(DownloadItemHandle item) {}
    // `existingItem` was there first.
    virtual void OnDuplicateFound(DownloadItemHandle existingItem, DownloadItemHandle duplicateItem) {}
    virtual void OnAdvancedRippingNeeded() {}
};

// A console application that the elevation service runs for the engine.
class IElevatedApp : public InterfaceCore::IInterfaceCore<IElevatedApp> {
public:
    virtual std::wstring GetPath() = 0;
    virtual void SetPath(const wlitestring& path) = 0;
    virtual std::wstring GetParameters() = 0;
    virtual void SetParameters(const wlitestring& parameters) = 0;
    virtual bool Start() = 0;
    virtual bool SendValue14(std::int32_t value) = 0;
    virtual bool SendValue15(std::int32_t value) = 0;
    virtual void Signal16() = 0;
    virtual std::int32_t GetNumber() = 0;
    virtual bool GetFlag() = 0;
};

// What the engine asks of the program: folders, file names and download
// settings. Asked each time, from engine threads.
class IEnvironment : public InterfaceCore::IInterfaceCore<IEnvironment> {
public:
    virtual std::wstring GetVideosFolder() = 0;
    virtual std::wstring GetConvertedFolder() = 0;
    virtual std::wstring GetConversionPresetsPath() = 0;
    virtual std::wstring GetPresetsPath() = 0;
    virtual std::wstring GetUserPresetsPath() = 0;
    virtual std::wstring GetRulesPath() = 0;
    virtual std::wstring GetConverterAppName() = 0;
    virtual std::wstring GetConverterName() = 0;
    virtual const std::wstring& GetConversionOutputFormat() = 0;
    virtual bool GetRepeatDownloads() = 0;
    virtual bool GetDownloadSwf() = 0;
    virtual bool GetEnablePassive() = 0;
    virtual std::uint32_t GetAdvancedRippingSoundTimeout() = 0;
    virtual bool GetAllowStealingVideos() = 0;
    virtual std::uint32_t GetMinimumDownloadSize() = 0;
    virtual std::uint32_t GetMinimumSwfDownloadSize() = 0;
    virtual std::uint32_t GetCompatibilityLevel() = 0;
    virtual bool IsItemAboveThresholds(IDownloadItem* item) = 0;
};

// File operations the engine asks of the program, which may need raised rights.
class IElevation : public InterfaceCore::IInterfaceCore<IElevation> {
public:
    // A new object the engine owns; null when none could be made.
    virtual IElevatedApp* CreateElevatedApp(const wlitestring& path) = 0;
    virtual bool CreateFolder(const wchar_t* path) = 0;
    virtual bool PathOperation(const wchar_t* path) = 0;
    virtual bool MoveFile(const wchar_t* from, const wchar_t* to) = 0;
    virtual bool DeleteFile(const wchar_t* path) = 0;
    virtual bool PathExists(const wchar_t* path) = 0;
};

// The engine object.
class IEngine : public InterfaceCore::IInterfaceCore<IEngine> {
public:
    // The engine's build name.
    virtual std::wstring GetVersionText() = 0;
    // The engine lets the item go; no event names it once this returns.
    virtual void DropItem(const DownloadItemHandle& item) = 0;
    // True while an item runs.
    virtual bool IsBusy(bool reserved) = 0;
    // Stage 0: the download completed; stage 1: not converting; stage 2:
    // the converted file exists. `item` is locked by the caller.
    virtual bool CanProcessItemFurther(IDownloadItem* item) = 0;
    virtual IAuxiliary* GetAuxiliaryObject() = 0;
    virtual boost::shared_ptr<IConversionPresets>& GetConversionPresets(boost::shared_ptr<IConversionPresets>& presets) = 0;
    // False without an environment. Neither pointer is owned.
    virtual bool Initialize(IElevation* elevation, IEnvironment* environment) = 0;
    virtual bool Uninitialize() = 0;
    virtual void Subscribe(IEngineObserver* observer) = 0;
    // Returns once no call to that observer runs (bounded).
    virtual void Unsubscribe(IEngineObserver* observer) = 0;
    // EngineOn (0) or EngineOff (1).
    virtual int GetState() = 0;
    // False when refused (before Initialize, say). A warning the engine
    // leaves in `message` is for the user. Observers have been told on the
    // calling thread when this returns.
    virtual bool SetState(int state, std::wstring* message) = 0;
    virtual void SetAllowStealing(bool allow) = 0;
    // A local video file becomes a new item.
    virtual void AddFile(const std::wstring& path) = 0;
    // True when the address became a new item.
    virtual bool AddUrl(const std::wstring& url) = 0;
    // The number of items the engine holds.
    virtual std::uint32_t GetItemCount() = 0;
};

// The library object: one per process, deleted when the program ends.
class Library : public InterfaceCore::IInterfaceCore<Library> {
public:
    virtual boost::shared_ptr<IEngine>& CreateEngine(boost::shared_ptr<IEngine>& engine) = 0;
    // Told once at shutdown that the program ends.
    virtual void OnApplicationExit() = 0;
};

typedef Library* (*EntryPoint)();
constexpr char kEntryPointName[] = "DllEntryPoint_EngineKavenna";
constexpr wchar_t kLibraryFileName[] = L"EngineKavenna.dll";

}  // namespace KavennaEngine
