#pragma once
// A capture engine and its items reduced to what the settings record and
// the engine adapter read of them, and the application layer that hands
// them out for one test.
#include "downloads/app/AppAccess.h"
#include "downloads/settings/Settings.h"
#include "engine/KavennaEngine.h"

#include <boost/make_shared.hpp>

#include <string>
#include <vector>

namespace DownloadsTests {

class FakeAuxiliary : public KavennaEngine::IAuxiliary {
public:
    bool GetAuxiliaryFlag() override { return flag; }
    bool flag = false;
};

class FakePreset : public KavennaEngine::IConversionPreset {
public:
    explicit FakePreset(std::wstring presetId) : id(std::move(presetId)) {}
    std::wstring GetId() override { return id; }
    std::wstring GetNameKey() override { return std::wstring(); }
    std::wstring GetName() override { return id; }
    std::wstring id;
};

class FakePresets : public KavennaEngine::IConversionPresets {
public:
    class Enumerator : public KavennaEngine::IConversionPresetEnumerator {
    public:
        explicit Enumerator(std::vector<boost::shared_ptr<KavennaEngine::IConversionPreset>> presets)
            : m_presets(std::move(presets)) {}
        boost::shared_ptr<KavennaEngine::IConversionPreset> Next() override {
            return m_next < m_presets.size() ? m_presets[m_next++] : nullptr;
        }

    private:
        std::vector<boost::shared_ptr<KavennaEngine::IConversionPreset>> m_presets;
        size_t m_next = 0;
    };

    bool FindById(boost::shared_ptr<KavennaEngine::IConversionPreset>& preset, const std::wstring& id) override {
        preset.reset();
        return false;
    }
    void Enumerate(boost::shared_ptr<KavennaEngine::IConversionPresetEnumerator>& enumerator) override {
        enumerator = boost::make_shared<Enumerator>(presets);
    }
    std::vector<boost::shared_ptr<KavennaEngine::IConversionPreset>> presets;
};

class FakeEngine : public KavennaEngine::IEngine {
public:
    std::wstring GetVersionText() override { return L"fake"; }
    void DropItem(const KavennaEngine::DownloadItemHandle&) override {}
    bool IsBusy(bool) override { return false; }
    bool CanProcessItemFurther(KavennaEngine::IDownloadItem*) override { return false; }
    KavennaEngine::IAuxiliary* GetAuxiliaryObject() override { return &auxiliary; }
    boost::shared_ptr<KavennaEngine::IConversionPresets>& GetConversionPresets(
        boost::shared_ptr<KavennaEngine::IConversionPresets>& result) override {
        result = presets;
        return result;
    }
    bool Initialize(KavennaEngine::IElevation*, KavennaEngine::IEnvironment*) override { return true; }
    bool Uninitialize() override { return true; }
    void Subscribe(KavennaEngine::IEngineObserver*) override {}
    void Unsubscribe(KavennaEngine::IEngineObserver*) override {}
    int GetState() override { return KavennaEngine::EngineOff; }
    bool SetState(int, std::wstring*) override { return false; }
    void SetAllowStealing(bool) override {}
    void AddFile(const std::wstring&) override {}
    bool AddUrl(const std::wstring&) override { return false; }
    std::uint32_t GetItemCount() override { return 0; }

    FakeAuxiliary auxiliary;
    boost::shared_ptr<FakePresets> presets = boost::make_shared<FakePresets>();
};

// Counts only; everything else is empty.
class FakeItem : public KavennaEngine::IDownloadItem {
public:
    FakeItem(std::uint32_t totalBytes, std::uint32_t receivedBytes, std::uint32_t auxiliaryCount)
        : total(totalBytes), received(receivedBytes), count(auxiliaryCount) {}
    const KavennaEngine::Result* GetResult() override { return nullptr; }
    CRITICAL_SECTION* GetLock() override { return nullptr; }
    int GetStage() override { return KavennaEngine::StageDownload; }
    void AdvanceStage() override {}
    KavennaEngine::IDownloadStage* GetDownloadStage() override { return nullptr; }
    KavennaEngine::IConversionStage* GetConversionStage() override { return nullptr; }
    KavennaEngine::IDeployStage* GetDeployStage() override { return nullptr; }
    void Start() override {}
    void Stop() override {}
    std::uint32_t GetReceivedBytes() override { return received; }
    std::uint32_t GetTotalBytes() override { return total; }
    std::uint32_t GetAuxiliaryCount() override { return count; }
    std::uint32_t GetPosition() override { return 0; }
    std::uint32_t GetDuration() override { return 0; }
    bool IsRunning() override { return false; }

    std::uint32_t total;
    std::uint32_t received;
    std::uint32_t count;
};

// The application's layer for one test: its settings record and engine.
class ScopedAppAccess : public Brunlow::IAppAccess {
public:
    ScopedAppAccess(Settings* pSettings, boost::shared_ptr<KavennaEngine::IEngine> pEngine)
        : m_pSettings(pSettings), m_pEngine(std::move(pEngine)) {
        Brunlow::AppAccess::Set(this);
    }
    ~ScopedAppAccess() override { Brunlow::AppAccess::Set(nullptr); }
    ScopedAppAccess(const ScopedAppAccess&) = delete;
    ScopedAppAccess& operator=(const ScopedAppAccess&) = delete;

    Settings* AccessSettings() override { return m_pSettings; }
    FileSystem::XmlFile* AccessSkinManager() override { return nullptr; }
    boost::shared_ptr<KavennaEngine::IEngine> AccessKavennaEngine() override { return m_pEngine; }

private:
    Settings* m_pSettings;
    boost::shared_ptr<KavennaEngine::IEngine> m_pEngine;
};

}  // namespace DownloadsTests
