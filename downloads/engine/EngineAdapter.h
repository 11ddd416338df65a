#pragma once
// EngineAdapter: what the capture engine asks of the program. Its
// IEnvironment face answers from the settings record, its IElevation face
// performs file operations, plainly where that works and else through the
// elevation service. It holds no state: every answer is read when asked.
//
//   engine->Initialize(Engine::EngineAdapter::Instance().GetElevation(),
//                      Engine::EngineAdapter::Instance().GetEnvironment());
//
// Threads: built on the GUI thread at start-up; called on the engine's
// threads afterwards. It takes no lock of its own (the settings record
// guards its strings).
#include "engine/KavennaEngine.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace Engine {

class EngineAdapter : public KavennaEngine::IEnvironment, public KavennaEngine::IElevation {
public:
    // The one adapter, built on the first call.
    static EngineAdapter& Instance();

    KavennaEngine::IEnvironment* GetEnvironment() { return this; }
    KavennaEngine::IElevation* GetElevation() { return this; }

    // IEnvironment
    std::wstring GetVideosFolder() override;
    std::wstring GetConvertedFolder() override;
    std::wstring GetConversionPresetsPath() override;
    std::wstring GetPresetsPath() override;
    std::wstring GetUserPresetsPath() override;
    std::wstring GetRulesPath() override;
    std::wstring GetConverterAppName() override;
    std::wstring GetConverterName() override;
    // A copy of the current format, kept for the calling thread until its
    // next call: the settings dialog may change the record meanwhile.
    const std::wstring& GetConversionOutputFormat() override;
    bool GetRepeatDownloads() override;
    bool GetDownloadSwf() override;
    bool GetEnablePassive() override;
    std::uint32_t GetAdvancedRippingSoundTimeout() override;
    bool GetAllowStealingVideos() override;
    std::uint32_t GetMinimumDownloadSize() override;
    std::uint32_t GetMinimumSwfDownloadSize() override;
    std::uint32_t GetCompatibilityLevel() override;
    bool IsItemAboveThresholds(KavennaEngine::IDownloadItem* item) override;

    // IElevation
    KavennaEngine::IElevatedApp* CreateElevatedApp(const wlitestring& path) override;
    // Straight to the service.
    bool CreateFolder(const wchar_t* path) override;
    bool PathOperation(const wchar_t* path) override;
    // Plainly first; the service when that fails.
    bool MoveFile(const wchar_t* from, const wchar_t* to) override;
    // A file that is not there counts as deleted.
    bool DeleteFile(const wchar_t* path) override;
    bool PathExists(const wchar_t* path) override;

private:
    EngineAdapter() = default;
    EngineAdapter(const EngineAdapter&) = delete;
    EngineAdapter& operator=(const EngineAdapter&) = delete;
};

}  // namespace Engine
