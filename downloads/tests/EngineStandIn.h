#pragma once
// The capture engine's stand-in for the tests: its library object and an
// engine made from it, the test door, an environment over a temporary
// folder, and an observer that records every event with its thread.
#include "engine/EngineTestDoor.h"
#include "engine/KavennaEngine.h"
#include "testing/TempFolder.h"

#include <windows.h>

#include <boost/shared_ptr.hpp>

#include <functional>
#include <string>
#include <vector>

namespace DownloadsTests {

KavennaEngine::TestDoor::ITestDoor* TestDoor();

// A body of `size` bytes that differs for every `seed` and tells a shifted
// or cut copy from the original.
std::string BodyPattern(std::size_t size, unsigned seed = 0);

// A fresh engine of the stand-in library; its call log cleared.
struct EngineStandIn {
    EngineStandIn();
    boost::shared_ptr<KavennaEngine::Library> pLibrary;
    boost::shared_ptr<KavennaEngine::IEngine> pEngine;
    KavennaEngine::TestDoor::ITestDoor* door;

    // Call-log lines that begin with `call`.
    std::vector<std::wstring> Calls(const std::wstring& call) const;
};

// Folders under a temporary folder; file work done plainly and counted.
class FolderEnvironment : public KavennaEngine::IEnvironment, public KavennaEngine::IElevation {
public:
    FolderEnvironment();
    std::wstring GetVideosFolder() override { return m_folder / L"Videos"; }
    std::wstring GetConvertedFolder() override { return m_folder / L"Videos\\Converted"; }
    std::wstring GetConversionPresetsPath() override { return {}; }
    std::wstring GetPresetsPath() override { return {}; }
    std::wstring GetUserPresetsPath() override { return {}; }
    std::wstring GetRulesPath() override { return {}; }
    std::wstring GetConverterAppName() override { return L"ConverterApp.exe"; }
    std::wstring GetConverterName() override { return L"Dorrank2.exe"; }
    const std::wstring& GetConversionOutputFormat() override { return outputFormat; }
    bool GetRepeatDownloads() override { return false; }
    bool GetDownloadSwf() override { return false; }
    bool GetEnablePassive() override { return false; }
    std::uint32_t GetAdvancedRippingSoundTimeout() override { return 0; }
    bool GetAllowStealingVideos() override { return false; }
    std::uint32_t GetMinimumDownloadSize() override { return 0; }
    std::uint32_t GetMinimumSwfDownloadSize() override { return 0; }
    std::uint32_t GetCompatibilityLevel() override { return 0; }
    bool IsItemAboveThresholds(KavennaEngine::IDownloadItem*) override { return false; }

    KavennaEngine::IElevatedApp* CreateElevatedApp(const wlitestring&) override { return nullptr; }
    bool CreateFolder(const wchar_t* path) override;
    bool PathOperation(const wchar_t*) override { return false; }
    bool MoveFile(const wchar_t* from, const wchar_t* to) override;
    bool DeleteFile(const wchar_t* path) override;
    bool PathExists(const wchar_t* path) override;

    const Testing::TempFolder& Folder() const { return m_folder; }
    std::wstring outputFormat = L"OFP_0_IPAD_A_1024X768!iPadMpeg4_1024x768,85";
    volatile LONG fileOperations = 0;

private:
    Testing::TempFolder m_folder;
};

// The engine initialised over `environment` with `observer` subscribed,
// until destruction (unsubscribed, then uninitialised).
class EngineSession {
public:
    EngineSession(const boost::shared_ptr<KavennaEngine::IEngine>& pEngine, FolderEnvironment& environment,
                  KavennaEngine::IEngineObserver& observer);
    ~EngineSession();
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;
    bool IsStarted() const { return m_isStarted; }

private:
    boost::shared_ptr<KavennaEngine::IEngine> m_pEngine;
    KavennaEngine::IEngineObserver& m_observer;
    bool m_isStarted = false;
};

struct RecordedEvent {
    std::wstring name;
    std::uintptr_t item;
    DWORD thread;
    int code;                 // the item's result code at the event
    std::uint32_t received;   // the item's counts at the event
    std::uint32_t total;
};

// Records every event; when `lockInside`, locks the item and asks the
// engine's state inside each, as a list would.
class RecordingObserver : public KavennaEngine::IEngineObserver {
public:
    explicit RecordingObserver(boost::shared_ptr<KavennaEngine::IEngine> pEngine = {}) : m_pEngine(pEngine) {}
    ~RecordingObserver() override;

    void OnEngineStateChanged(int state) override;
    void OnItemStarted(KavennaEngine::DownloadItemHandle item) override { Record(L"Started", item); }
    void OnItemProgress(KavennaEngine::DownloadItemHandle item) override { Record(L"Progress", item); }
    void OnItemFinished(KavennaEngine::DownloadItemHandle item) override;
    void OnDuplicateFound(KavennaEngine::DownloadItemHandle existingItem,
                          KavennaEngine::DownloadItemHandle duplicateItem) override;

    std::vector<RecordedEvent> Events() const;
    // True once `count` Finished events arrived, false after timeoutMs.
    bool WaitFinished(std::size_t count, DWORD timeoutMs = 30000) const;
    std::vector<KavennaEngine::DownloadItemHandle> duplicates;

private:
    void Record(const wchar_t* name, const KavennaEngine::DownloadItemHandle& item);

    boost::shared_ptr<KavennaEngine::IEngine> m_pEngine;
    mutable CRITICAL_SECTION* m_pSection = MakeSection();
    std::vector<RecordedEvent> m_events;
    HANDLE m_finished = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);

    static CRITICAL_SECTION* MakeSection();
};

}  // namespace DownloadsTests
