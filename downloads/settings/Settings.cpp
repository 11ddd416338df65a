#include "downloads/settings/Settings.h"

#include "appframework/application/ApplicationBaseLite.h"
#include "appframework/product/ProductInfo.h"
#include "foundation/debugging/LogLevel.h"
#include "foundation/debugging/WriteLog.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/system/OSVersion.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "resources/resourcelib/ILanguageProvider.h"
#include "resources/resourcelib/IManager.h"

#include <shlobj.h>

#include <vector>

namespace {

const std::uint32_t kItemValueThreshold = 300;
const std::uint32_t kItemSizeThreshold = 20971520;  // 20 MiB

boost::shared_ptr<ResourceLib::IManager> GetResourceLibManager() {
    return AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager();
}

std::wstring CurrentLanguageName() {
    const boost::shared_ptr<ResourceLib::ILanguage> current = GetResourceLibManager()->GetCurrentLanguage();
    return current ? current->GetName() : std::wstring(L"en-us");
}

std::wstring ApplicationFile(const wchar_t* name) {
    return FileSystem::GetApplicationFolder().GetFile(name).GetPath();
}

// A stored number the program offers no choice for (a hand edit, another
// version) gives the default: a close action of 7 would leave the close
// button doing nothing. Logged; the next save writes the default back.
int InRangeOr(const wchar_t* name, int value, int low, int high, int defaultValue) {
    if (value >= low && value <= high)
        return value;
    Debugging::WriteLog(Debugging::GetLog(),
                        std::wstring(name) + L" " + std::to_wstring(value) + L" is out of range (" +
                            std::to_wstring(low) + L".." + std::to_wstring(high) + L"); " +
                            std::to_wstring(defaultValue) + L" is used",
                        L"Settings::Load@", Debugging::LevelWRN, 0);
    return defaultValue;
}

// The sliders' and lists' ranges of the settings dialog.
const int kMaxCompatibilityLevel = 4;
const int kMaxCloseAction = 2;
const int kMaxSoundTimeoutMs = 600 * 1000;

}  // namespace

Settings::Settings()
    : m_itemValueThreshold(kItemValueThreshold), m_itemSizeThreshold(kItemSizeThreshold), m_section(L"Settings") {
    Load();
}

Settings::~Settings() {
    Save();
}

void Settings::Load() {
    // One read per value, in the order the profile has always been read.
    const std::wstring defaultFolder = ApplicationFramework::GetDefaultVideosFolder();
    std::wstring videosFolder = m_section.GetString(L"VideosFolder", defaultFolder);
    // An empty folder would put the videos wherever the process happens to be.
    if (videosFolder.find_first_not_of(L" \t") == std::wstring::npos)
        videosFolder = defaultFolder;
    SetVideosFolder(videosFolder);
    m_downloadSwf = m_section.GetBool(L"DwonloadSWF", true);
    m_enablePassive = m_section.GetBool(L"EnablePassive", true);
    m_advancedRippingSoundTimeout = InRangeOr(L"AdvancedRippingSoundTimeout",
                                              m_section.GetInt(L"AdvancedRippingSoundTimeout", 15000), 0,
                                              kMaxSoundTimeoutMs, 15000);
    std::wstring format = m_section.GetString(L"ConversionOutputFormat", GetDefaultConversionOutputFormat());
    // A format without its "!" is damaged; the default replaces it and the
    // next save writes the default back.
    if (format.find(L'!') == std::wstring::npos)
        format = GetDefaultConversionOutputFormat();
    SetConversionOutputFormat(format);
    m_debugMode = m_section.GetBool(L"DebugMode", false);
    m_minimumDownloadSize = static_cast<std::uint32_t>(m_section.GetInt(L"MinimumDownloadSize", 102400));
    m_minimumSwfDownloadSize = static_cast<std::uint32_t>(m_section.GetInt(L"MinimumSwfDownloadSize", 307200));
    m_compatibilityLevel = static_cast<std::uint32_t>(
        InRangeOr(L"CompatibilityLevel", m_section.GetInt(L"CompatibilityLevel", 0), 0, kMaxCompatibilityLevel, 0));
    const int closeAction = System::IsWindows7OrLater() ? 0 : 1;
    m_closeAction = static_cast<std::uint32_t>(
        InRangeOr(L"CloseAction", m_section.GetInt(L"CloseAction", closeAction), 0, kMaxCloseAction, closeAction));
    const std::wstring language = m_section.GetString(L"Language", CurrentLanguageName());
    {
        Synchronization::CriticalSection::Scope scope(m_lock);
        m_language = language;
    }
    m_suggestAdvancedRipping = m_section.GetBool(L"SuggestAdvancedRipping", true);
    m_allowStealingVideos = m_section.GetBool(L"AllowStealingVideos", true);
    m_automaticConversion = m_section.GetBool(L"AutomaticConvertion", true);
    m_repeatDownloads = m_section.GetBool(L"RepeatDownloads", false);
    m_showDialogs = static_cast<std::uint32_t>(m_section.GetInt(L"ShowDialogs", -1));
}

void Settings::Save() {
    m_section.WriteString(L"VideosFolder", GetVideosFolder());
    m_section.WriteBool(L"DwonloadSWF", m_downloadSwf);
    m_section.WriteBool(L"EnablePassive", m_enablePassive);
    m_section.WriteInt(L"AdvancedRippingSoundTimeout", m_advancedRippingSoundTimeout);
    m_section.WriteString(L"ConversionOutputFormat", GetConversionOutputFormat());
    m_section.WriteInt(L"CompatibilityLevel", static_cast<int>(m_compatibilityLevel.load()));
    m_section.WriteInt(L"CloseAction", static_cast<int>(m_closeAction.load()));
    m_section.WriteString(L"Language", GetLanguageName());
    m_section.WriteBool(L"SuggestAdvancedRipping", m_suggestAdvancedRipping);
    m_section.WriteBool(L"AllowStealingVideos", m_allowStealingVideos);
    m_section.WriteBool(L"AutomaticConvertion", m_automaticConversion);
    m_section.WriteInt(L"ShowDialogs", static_cast<int>(m_showDialogs.load()));
}

std::wstring Settings::GetVideosFolder() const {
    Synchronization::CriticalSection::Scope scope(m_lock);
    return m_videosFolder;
}

void Settings::SetVideosFolder(const wlitestring& folder) {
    std::wstring value = folder.str();
    Synchronization::CriticalSection::Scope scope(m_lock);
    m_videosFolder.swap(value);
}

std::wstring Settings::GetConversionOutputFormat() const {
    Synchronization::CriticalSection::Scope scope(m_lock);
    return m_conversionOutputFormat;
}

void Settings::SetConversionOutputFormat(const wlitestring& format) {
    std::wstring value = format.str();
    Synchronization::CriticalSection::Scope scope(m_lock);
    m_conversionOutputFormat.swap(value);
}

std::wstring Settings::GetLanguageName() const {
    Synchronization::CriticalSection::Scope scope(m_lock);
    return m_language;
}

void Settings::SetShowDialog(std::uint32_t mask, bool on) {
    if (on)
        m_showDialogs |= mask;
    else
        m_showDialogs &= ~mask;
}

void Settings::SetLanguage(const boost::shared_ptr<ResourceLib::ILanguage>& language) {
    if (!language)
        return;
    std::wstring name = language->GetName();
    Synchronization::CriticalSection::Scope scope(m_lock);
    m_language.swap(name);
}

boost::shared_ptr<ResourceLib::ILanguage> Settings::GetLanguage() const {
    const boost::shared_ptr<ResourceLib::IManager> manager = GetResourceLibManager();
    const std::wstring wanted = GetLanguageName();
    if (const boost::shared_ptr<ResourceLib::ILanguageProvider> provider = manager->GetLanguageProvider()) {
        std::vector<boost::shared_ptr<ResourceLib::ILanguage>> languages;
        provider->GetLanguages(languages);
        for (const boost::shared_ptr<ResourceLib::ILanguage>& language : languages) {
            if (language && language->GetName() == wanted)
                return language;
        }
    }
    Debugging::WriteLog(Debugging::GetLog(), L"Failed to find the most recently used language",
                        L"Settings::GetLanguage@", Debugging::LevelWRN, 0);
    return manager->GetCurrentLanguage();
}

std::wstring Settings::GetDefaultConversionOutputFormat() {
    return L"OFP_0_IPAD_A_1024X768!iPadMpeg4_1024x768,85";
}

std::wstring Settings::GetConversionPresetsPath() {
    return ApplicationFile(L"ConversionPresets.xml");
}

std::wstring Settings::GetPresetsPath() {
    return ApplicationFile(L"presets.xml");
}

std::wstring Settings::GetRulesPath() {
    return ApplicationFile(L"rules.xml");
}

std::wstring Settings::GetUserPresetsPath() {
    FileSystem::Folder folder = FileSystem::GetSpecialFolder(CSIDL_LOCAL_APPDATA);
    if (const ApplicationFramework::ProductInfo* pInfo = ApplicationFramework::ProductInfo::GetCurrent())
        folder = folder.GetSubFolder(pInfo->GetProductName());
    // The engine reports a file it cannot write itself.
    folder.Create();
    return folder.GetFile(L"userPresets.xml").GetPath();
}

std::wstring Settings::GetConvertedFolder() const {
    return FileSystem::Folder(GetVideosFolder()).GetSubFolder(L"Converted").GetPath();
}
