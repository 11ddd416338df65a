#pragma once
// Settings: the program's one record of user settings, kept in the
// application's profile section "Settings". Built (and loaded) by the
// application's initialisation, saved by the settings dialog and again when
// destroyed; it also answers the fixed file names and folders the capture
// engine asks for, and holds the two fixed thresholds of the item rule.
//
// Threads: built, changed and saved on the GUI thread; the capture engine
// reads it from its own threads. m_lock guards the string values, which are
// handed out as copies; the other values are single atomic words.
#include "foundation/strings/LiteString.h"
#include "foundation/sync/CriticalSection.h"

#include <boost/shared_ptr.hpp>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace KavennaEngine {
class IConversionPreset;
class IDownloadItem;
}
namespace ResourceLib {
class ILanguage;
}

class Settings {
public:
    // One named section of the application's profile. Without an application
    // object reads give the default and writes do nothing.
    class ProfileSection {
    public:
        explicit ProfileSection(const wlitestring& name) : m_name(name.str()) {}

        const std::wstring& GetName() const { return m_name; }
        std::wstring GetString(const wlitestring& name, const wlitestring& defaultValue) const;
        void WriteString(const wlitestring& name, const wlitestring& value) const;
        int GetInt(const wlitestring& name, int defaultValue) const;
        void WriteInt(const wlitestring& name, int value) const;
        // Stored as "true" / "false"; only exactly "true" reads as true.
        bool GetBool(const wlitestring& name, bool defaultValue) const;
        void WriteBool(const wlitestring& name, bool value) const;

    private:
        std::wstring m_name;
    };

    // ShowDialogs bit of the stolen-video dialog.
    static const std::uint32_t kStolenVideoDialog = 1;

    Settings();
    // Saves.
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    void Load();
    // Writes every value the user can change; the read-only ones
    // ("DebugMode", "RepeatDownloads", "MinimumDownloadSize",
    // "MinimumSwfDownloadSize") are never written.
    void Save();

    std::uint32_t GetItemValueThreshold() const { return m_itemValueThreshold; }
    std::uint32_t GetItemSizeThreshold() const { return m_itemSizeThreshold; }
    const ProfileSection& GetProfileSection() const { return m_section; }

    std::wstring GetVideosFolder() const;
    void SetVideosFolder(const wlitestring& folder);
    std::wstring GetConversionOutputFormat() const;
    void SetConversionOutputFormat(const wlitestring& format);
    // The stored language name (see GetLanguage for the language itself).
    std::wstring GetLanguageName() const;

    bool GetDownloadSwf() const { return m_downloadSwf; }
    void SetDownloadSwf(bool on) { m_downloadSwf = on; }
    bool GetEnablePassive() const { return m_enablePassive; }
    void SetEnablePassive(bool on) { m_enablePassive = on; }
    // Milliseconds.
    int GetAdvancedRippingSoundTimeout() const { return m_advancedRippingSoundTimeout; }
    void SetAdvancedRippingSoundTimeout(int ms) { m_advancedRippingSoundTimeout = ms; }
    bool GetRepeatDownloads() const { return m_repeatDownloads; }
    std::uint32_t GetMinimumDownloadSize() const { return m_minimumDownloadSize; }
    std::uint32_t GetMinimumSwfDownloadSize() const { return m_minimumSwfDownloadSize; }
    std::uint32_t GetCompatibilityLevel() const { return m_compatibilityLevel; }
    void SetCompatibilityLevel(std::uint32_t level) { m_compatibilityLevel = level; }
    // 0 minimise, 1 close to the tray, 2 end the program.
    std::uint32_t GetCloseAction() const { return m_closeAction; }
    void SetCloseAction(std::uint32_t action) { m_closeAction = action; }
    bool GetSuggestAdvancedRipping() const { return m_suggestAdvancedRipping; }
    void SetSuggestAdvancedRipping(bool on) { m_suggestAdvancedRipping = on; }
    bool GetAllowStealingVideos() const { return m_allowStealingVideos; }
    void SetAllowStealingVideos(bool on) { m_allowStealingVideos = on; }
    bool GetAutomaticConversion() const { return m_automaticConversion; }
    void SetAutomaticConversion(bool on) { m_automaticConversion = on; }
    std::uint32_t GetShowDialogs() const { return m_showDialogs; }
    bool GetDebugMode() const { return m_debugMode; }

    // Sets (on) or clears the mask's bits of ShowDialogs.
    void SetShowDialog(std::uint32_t mask, bool on);
    // True when any bit of the mask is set.
    bool IsShowDialogEnabled(std::uint32_t mask) const { return (m_showDialogs & mask) != 0; }

    // A null language changes nothing.
    void SetLanguage(const boost::shared_ptr<ResourceLib::ILanguage>& language);
    // The offered language named like the stored one; else (logged) the
    // resource manager's current language, which may be null.
    boost::shared_ptr<ResourceLib::ILanguage> GetLanguage() const;

    static std::wstring GetDefaultConversionOutputFormat();
    // The capture engine's conversion output formats, in its order.
    typedef std::vector<boost::shared_ptr<KavennaEngine::IConversionPreset>> ConversionPresets;
    ConversionPresets& GetConversionPresets(ConversionPresets& presets) const;

    // Whether the engine's item counts: never while the engine's auxiliary
    // flag is set; an item above the size threshold once half of it has
    // arrived; else when its auxiliary count exceeds the value threshold.
    bool IsItemAboveThresholds(KavennaEngine::IDownloadItem* item) const;

    // Fixed names and paths the capture engine asks for.
    static std::wstring GetConversionPresetsPath();
    static std::wstring GetPresetsPath();
    static std::wstring GetRulesPath();
    // Makes the product's folder when missing; a failure is left to the reader.
    static std::wstring GetUserPresetsPath();
    std::wstring GetConvertedFolder() const;
    static std::wstring GetConverterAppName() { return L"ConverterApp.exe"; }
    static std::wstring GetConverterName() { return L"Dorrank2.exe"; }

private:

    const std::uint32_t m_itemValueThreshold;
    const std::uint32_t m_itemSizeThreshold;
    const ProfileSection m_section;

    mutable Synchronization::CriticalSection m_lock;
    std::wstring m_videosFolder;            // m_lock
    std::wstring m_conversionOutputFormat;  // m_lock
    std::wstring m_language;                // m_lock

    std::atomic<bool> m_downloadSwf{true};
    std::atomic<bool> m_enablePassive{true};
    std::atomic<int> m_advancedRippingSoundTimeout{15000};
    std::atomic<bool> m_repeatDownloads{false};
    std::atomic<std::uint32_t> m_minimumDownloadSize{102400};
    std::atomic<std::uint32_t> m_minimumSwfDownloadSize{307200};
    std::atomic<std::uint32_t> m_compatibilityLevel{0};
    std::atomic<std::uint32_t> m_closeAction{0};
    std::atomic<bool> m_suggestAdvancedRipping{true};
    std::atomic<bool> m_allowStealingVideos{true};
    std::atomic<bool> m_automaticConversion{true};
    std::atomic<std::uint32_t> m_showDialogs{0xFFFFFFFF};
    std::atomic<bool> m_debugMode{false};
};
