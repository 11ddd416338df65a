#include "downloads/engine/EngineAdapter.h"

#include "appframework/serviceclient/Library.h"
#include "downloads/app/AppAccess.h"
#include "downloads/engine/ElevatedAppAdapter.h"
#include "downloads/settings/Settings.h"
#include "foundation/filesystem/File.h"

#include <new>
#include <stdexcept>

namespace Engine {

namespace {

Settings& GetSettings() {
    // The accessor raises when the application has no record (the engine
    // runs only between its creation and deletion); a sink that lets the
    // report pass must not lead to a null record.
    Settings* pSettings = Brunlow::AppAccess::GetSettings();
    if (!pSettings)
        throw std::logic_error("no settings record");
    return *pSettings;
}

GenericServiceClient::Library* GetServiceClient() {
    return GenericServiceClient::GetLibrary();  // null once the process exits
}

// The engine takes the output format by reference. Each engine thread gets
// its own copy, refreshed on every call, so the settings dialog can replace
// the record's value meanwhile; the copy goes with its thread.
class PerThreadText {
public:
    PerThreadText() : m_index(::FlsAlloc(&Free)) {}
    ~PerThreadText() {
        if (m_index != FLS_OUT_OF_INDEXES)
            ::FlsFree(m_index);
    }

    const std::wstring& Assign(std::wstring text) {
        std::wstring* pText = static_cast<std::wstring*>(::FlsGetValue(m_index));
        if (!pText) {
            pText = new std::wstring;
            if (!::FlsSetValue(m_index, pText)) {
                delete pText;
                throw std::bad_alloc();
            }
        }
        pText->swap(text);
        return *pText;
    }

private:
    static void WINAPI Free(void* pText) { delete static_cast<std::wstring*>(pText); }

    const DWORD m_index;
};

}  // namespace

EngineAdapter& EngineAdapter::Instance() {
    static EngineAdapter adapter;
    return adapter;
}

std::wstring EngineAdapter::GetVideosFolder() {
    return GetSettings().GetVideosFolder();
}

std::wstring EngineAdapter::GetConvertedFolder() {
    return GetSettings().GetConvertedFolder();
}

std::wstring EngineAdapter::GetConversionPresetsPath() {
    return Settings::GetConversionPresetsPath();
}

std::wstring EngineAdapter::GetPresetsPath() {
    return Settings::GetPresetsPath();
}

std::wstring EngineAdapter::GetUserPresetsPath() {
    return Settings::GetUserPresetsPath();
}

std::wstring EngineAdapter::GetRulesPath() {
    return Settings::GetRulesPath();
}

std::wstring EngineAdapter::GetConverterAppName() {
    return Settings::GetConverterAppName();
}

std::wstring EngineAdapter::GetConverterName() {
    return Settings::GetConverterName();
}

const std::wstring& EngineAdapter::GetConversionOutputFormat() {
    static PerThreadText s_format;
    return s_format.Assign(GetSettings().GetConversionOutputFormat());
}

bool EngineAdapter::GetRepeatDownloads() {
    return GetSettings().GetRepeatDownloads();
}

bool EngineAdapter::GetDownloadSwf() {
    return GetSettings().GetDownloadSwf();
}

bool EngineAdapter::GetEnablePassive() {
    return GetSettings().GetEnablePassive();
}

std::uint32_t EngineAdapter::GetAdvancedRippingSoundTimeout() {
    return static_cast<std::uint32_t>(GetSettings().GetAdvancedRippingSoundTimeout());
}

bool EngineAdapter::GetAllowStealingVideos() {
    return GetSettings().GetAllowStealingVideos();
}

std::uint32_t EngineAdapter::GetMinimumDownloadSize() {
    return GetSettings().GetMinimumDownloadSize();
}

std::uint32_t EngineAdapter::GetMinimumSwfDownloadSize() {
    return GetSettings().GetMinimumSwfDownloadSize();
}

std::uint32_t EngineAdapter::GetCompatibilityLevel() {
    return GetSettings().GetCompatibilityLevel();
}

bool EngineAdapter::IsItemAboveThresholds(KavennaEngine::IDownloadItem* item) {
    return GetSettings().IsItemAboveThresholds(item);
}

KavennaEngine::IElevatedApp* EngineAdapter::CreateElevatedApp(const wlitestring& path) {
    return new ElevatedAppAdapter(path);
}

bool EngineAdapter::CreateFolder(const wchar_t* path) {
    GenericServiceClient::Library* pClient = GetServiceClient();
    return pClient && pClient->CreateFolder(path);
}

bool EngineAdapter::PathOperation(const wchar_t* path) {
    GenericServiceClient::Library* pClient = GetServiceClient();
    return pClient && pClient->PathOperation11(path);
}

bool EngineAdapter::MoveFile(const wchar_t* from, const wchar_t* to) {
    if (::MoveFileW(from, to))
        return true;
    GenericServiceClient::Library* pClient = GetServiceClient();
    return pClient && pClient->MoveFile(from, to);
}

bool EngineAdapter::DeleteFile(const wchar_t* path) {
    if (::DeleteFileW(path) || ::GetLastError() == ERROR_FILE_NOT_FOUND)
        return true;
    GenericServiceClient::Library* pClient = GetServiceClient();
    return pClient && pClient->DeleteFile(path);
}

bool EngineAdapter::PathExists(const wchar_t* path) {
    if (FileSystem::File(path).Exists())
        return true;
    GenericServiceClient::Library* pClient = GetServiceClient();
    return pClient && pClient->PathExists(path);
}

}  // namespace Engine
