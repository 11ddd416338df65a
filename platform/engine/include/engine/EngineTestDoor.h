#pragma once
// The capture engine's test door: a second export that the program never
// calls. Tests make items without the network in any state, fire any event,
// set refusals, warnings and hooks, and read the call log.
//
//   auto door = reinterpret_cast<KavennaEngine::TestDoor::Entry>(
//       ::GetProcAddress(module, KavennaEngine::TestDoor::kEntryPointName))();
//   KavennaEngine::TestDoor::ItemSpec spec;
//   spec.stage = 1; spec.received = 10; spec.total = 20;
//   KavennaEngine::DownloadItemHandle item = door->AddItem(spec);
//
// The door acts on the engine made last by CreateEngine. Thread: any.
#include "engine/KavennaEngine.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace KavennaEngine {
namespace TestDoor {

// An item as the engine would hold it; nothing runs for it.
struct ItemSpec {
    std::wstring url;
    int stage = StageDownload;
    int resultCode = ResultComplete;  // the item's own result
    int downloadCode = ResultComplete;
    int conversionCode = ResultComplete;
    int deployCode = ResultComplete;
    // The item's result in words and by registered name (see Result).
    std::wstring resultText;
    std::wstring resultMessageName;
    std::uint32_t received = 0;
    std::uint32_t total = 0;
    std::uint32_t auxiliaryCount = 0;
    std::uint32_t position = 0;
    std::uint32_t duration = 0;
    std::uint32_t transferStartBytes = 0;
    std::uint32_t transferStartTick = 0;
    std::uint32_t transferTick = 0;
    std::wstring displayName;
    std::wstring alternateName;
    std::wstring tempPath;
    std::wstring filePath;
    std::wstring convertedTempPath;
    std::wstring convertedPath;
    std::wstring deployPath;
    std::wstring reviewText;
    int reviewFlag = 0;
    int mediaKind = 0;
    bool complete = false;
    bool import = false;
    bool downloadRunning = false;
    bool conversionRunning = false;
    bool deployRunning = false;
};

// A conversion preset as the engine offers it.
struct PresetSpec {
    std::wstring id;
    std::wstring nameKey;
    std::wstring name;
};

enum EventKind {
    EventStateChanged,
    EventItemStarted,
    EventItemProgress,
    EventItemFinished,
    EventDuplicateFound,  // item names the existing item, second the duplicate
    EventAdvancedRippingNeeded,
};

enum Refusal : unsigned {
    RefuseNothing = 0,
    RefuseInitialize = 1,
    RefuseSetState = 2,
    RefuseAddUrl = 4,
};

enum HookKind { HookStart, HookStop, HookDropItem };
// Called at the start of the operation with the item's number, on the caller's thread.
using Hook = std::function<void(std::uintptr_t item)>;

class ITestDoor {
public:
    virtual ~ITestDoor() = default;
    virtual DownloadItemHandle AddItem(const ItemSpec& spec) = 0;
    // False when the engine no longer holds the item.
    virtual bool ChangeItem(const DownloadItemHandle& item, const ItemSpec& spec) = 0;
    // The engine lets the item go as if deleted inside it; program handles
    // then resolve to nothing once the last program reference goes.
    virtual void LetItemGo(const DownloadItemHandle& item) = 0;
    // On an engine thread (waited for) or on the caller's thread.
    virtual void FireEvent(EventKind kind, const DownloadItemHandle& item, const DownloadItemHandle& second,
                           int state, bool onEngineThread) = 0;
    virtual void SetAuxiliaryFlag(bool flag) = 0;
    // Left in SetState's message string; empty leaves none.
    virtual void SetStateWarning(const std::wstring& text) = 0;
    virtual void SetRefusals(unsigned refusals) = 0;
    virtual void SetHook(HookKind kind, Hook hook) = 0;
    // Taken as caught by the browser when the engine is switched on.
    virtual void SetCaughtAddresses(const std::vector<std::wstring>& urls) = 0;
    // Where the copy stage copies; empty: the videos folder's "Player".
    virtual void SetPlayerFolder(const std::wstring& folder) = 0;
    // The conversion presets offered from now on, in this order; empty: the
    // engine's own.
    virtual void SetConversionPresets(const std::vector<PresetSpec>& presets) = 0;
    // Writes of downloads after their first piece fail with this Win32 error
    // (ERROR_DISK_FULL: a disk that fills up); 0 writes normally again.
    virtual void SetWriteFailure(unsigned long error) = 0;
    // "<call> item=<number> thread=<id>" lines, oldest first.
    virtual std::vector<std::wstring> GetCallLog() = 0;
    virtual void ClearCallLog() = 0;
    // The engine made last; empty before any.
    virtual boost::shared_ptr<IEngine> GetEngine() = 0;
};

// Downloads an engine runs at once, and conversions and copies: more wait
// for their turn.
constexpr long kDownloadsAtOnce = 4;
constexpr long kCopiesAtOnce = 2;

typedef ITestDoor* (*Entry)();
constexpr char kEntryPointName[] = "DllTestDoor_EngineKavenna";
// Names a file to which every call-log line is also appended (UTF-8).
constexpr wchar_t kCallLogVariable[] = L"BRUNLOW_ENGINE_LOG";
// Addresses, separated by '|', caught as the engine is switched on.
constexpr wchar_t kCaughtVariable[] = L"BRUNLOW_ENGINE_CAUGHT";

}  // namespace TestDoor
}  // namespace KavennaEngine
