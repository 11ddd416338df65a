// The texts the program and the Updater ship, read as the code uses them:
// every string of the English language file against how its window formats
// it (placeholders replaced by number, product placeholders expanded, or
// shown as it stands), the pieces the code joins, the menus' access keys,
// the Updater's built-in texts and the shipped tips of the day.
#include "ProgramTestSupport.h"

#include "appframework/tests/TestApplication.h"
#include "foundation/filesystem/XmlFile.h"
#include "foundation/strings/StringAlgorithms.h"
#include "foundation/strings/StringFormat.h"
#include "resources/appresources/MainResourceIds.h"
#include "resources/appresources/UpdaterResourceIds.h"
#include "shell/tips/TipsFiles.h"
#include "shell/tips/TipsOfTheDay.h"
#include "testing/TempFolder.h"
#include "updater/app/UpdaterResource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// How the code uses a string.
enum class Use {
    AsIs,         // shown as it stands
    Expanded,     // the product placeholders expanded first
    Number0,      // "{0}" replaced by a value
    Numbers01,    // "{0}" and "{1}" replaced by values
    Prefix,       // a suffix is appended to it
    Suffix,       // appended to a prefix
    BeforeValue,  // a value follows it at once
    Between,      // stands between two values
    MenuEntry,    // a menu's entry (or a tooltip made of one): as it stands, with an access key
};

const std::set<std::wstring> kProductPlaceholders = {L"{ProductName}", L"{FullProductName}", L"{ProductVersion}",
                                                     L"{ShortProductVersion}", L"{CompanyName}"};

// Every string of the English file: the registered ones by their names, and
// the few the windows ask for by name.
const std::map<std::wstring, Use>& Uses() {
    static const std::map<std::wstring, Use> uses = {
        {L"FatalError", Use::AsIs},
        {L"EngineLoadFailure", Use::AsIs},
        {L"ButtonOnOff", Use::AsIs},
        {L"ButtonOnOffTooltip", Use::AsIs},
        {L"ButtonAddURL", Use::AsIs},
        {L"ButtonAddURLTooltip", Use::AsIs},
        {L"ButtonConvert", Use::AsIs},
        {L"ButtonConvertTooltip", Use::AsIs},
        {L"ButtonRemove", Use::AsIs},
        {L"ButtonRemoveTooltip", Use::AsIs},
        {L"ButtonBrowse", Use::AsIs},
        {L"ButtonBrowseTooltip", Use::AsIs},
        {L"ButtonSettings", Use::AsIs},
        {L"ButtonSettingsTooltip", Use::AsIs},
        {L"ButtonHelpSupport", Use::AsIs},
        {L"ButtonHelpSupportTooltip", Use::AsIs},
        {L"CompatNever", Use::AsIs},
        {L"Compat60Min", Use::AsIs},
        {L"Compat45Min", Use::AsIs},
        {L"Compat30Min", Use::AsIs},
        {L"CompatAlways", Use::AsIs},
        {L"QualityLow", Use::AsIs},
        {L"QualityMedium", Use::AsIs},
        {L"QualityHigh", Use::AsIs},
        {L"SelectVideoDownloadFolder", Use::AsIs},
        {L"CloseWarningTitle", Use::Expanded},
        {L"CloseWarningText", Use::Expanded},
        {L"MinToTrayTitle", Use::Expanded},
        {L"MinToTrayText", Use::Expanded},
        {L"AOfB", Use::Numbers01},
        {L"Of", Use::Between},
        {L"Bytes", Use::AsIs},
        {L"Kilobytes", Use::AsIs},
        {L"Megabytes", Use::AsIs},
        {L"KilobytesPerSecond", Use::AsIs},
        {L"Broadcast", Use::AsIs},
        {L"AutoDownloadOnHeading", Use::AsIs},
        {L"AutoDownloadOffHeading", Use::AsIs},
        {L"AutoDownloadOnComment", Use::Expanded},
        {L"AutoDownloadOffComment", Use::Expanded},
        {L"TipOfTheDay", Use::AsIs},
        {L"PreviousTipButton", Use::AsIs},
        {L"NextTipButton", Use::AsIs},
        {L"ReminderText", Use::BeforeValue},
        {L"OfText", Use::Between},
        {L"UpgradeNowText", Use::AsIs},
        {L"NoConverterTitle", Use::AsIs},
        {L"NoConverterText", Use::AsIs},
        {L"VideoFileColumn", Use::AsIs},
        {L"ProgressColumn", Use::AsIs},
        {L"DownloadInfoColumn", Use::AsIs},
        {L"AdditionalInfoColumn", Use::AsIs},
        {L"CopyingToIPod", Use::AsIs},
        {L"Download_", Use::Prefix},
        {L"Import_", Use::Prefix},
        {L"Conversion_", Use::Prefix},
        {L"_Finished", Use::Suffix},
        {L"_Interrupted", Use::Suffix},
        {L"_Error", Use::Suffix},
        {L"SizeDetails", Use::Number0},
        {L"ExtrasInstallingOpenTitle", Use::AsIs},
        {L"ExtrasInstallingOpenText", Use::AsIs},
        {L"ExtrasCancel", Use::Expanded},
        {L"ExtrasOk", Use::Expanded},
        {L"FileNameInvalidTitle", Use::AsIs},
        {L"FileNameInvalidText", Use::AsIs},
        {L"FileInUseText", Use::AsIs},
        {L"FileDeleteTitle", Use::AsIs},
        {L"FileDeleteText", Use::AsIs},
        {L"AlreadyRunningTitle", Use::AsIs},
        {L"AlreadyRunningText", Use::AsIs},
        {L"MisconfiguredTitle", Use::AsIs},
        {L"MisconfiguredText", Use::AsIs},
        {L"Warning", Use::AsIs},
        {L"FileExistsTitle", Use::AsIs},
        {L"FileExistsText", Use::AsIs},
        {L"URL", Use::AsIs},
        {L"AddURLTitle", Use::AsIs},
        {L"AddURLComment", Use::AsIs},
        {L"OK", Use::AsIs},
        {L"Cancel", Use::AsIs},
        {L"ExtrasRequestTitle", Use::Expanded},
        {L"ExtrasRequestHeading", Use::Expanded},
        {L"ExtrasRequestWarning", Use::Expanded},
        {L"ExtrasRequestQuestion", Use::Expanded},
        {L"Yes", Use::AsIs},
        {L"No", Use::AsIs},
        {L"NoPellmarTitle", Use::AsIs},
        {L"NoPellmarComment1", Use::AsIs},
        {L"NoPellmarComment2", Use::AsIs},
        {L"NoPellmarOK", Use::AsIs},
        {L"SettingsTitle", Use::AsIs},
        {L"SettingsCopyright", Use::Expanded},
        {L"SettingsDownloadFolder", Use::AsIs},
        {L"SettingsDownloadFilter", Use::AsIs},
        {L"SettingsSWF", Use::AsIs},
        {L"SettingsEnablePassive", Use::AsIs},
        {L"SettingsSuggestPassive", Use::AsIs},
        {L"SettingsAllowStealingVideoStreams", Use::AsIs},
        {L"SettingsAutomaticConvertion", Use::AsIs},
        {L"SettingsFormat", Use::AsIs},
        {L"SettingsCompatibility", Use::AsIs},
        {L"SettingsCloseAction", Use::AsIs},
        {L"SettingsNoSoundTimeout", Use::Expanded},
        {L"SettingsSeconds", Use::Expanded},
        {L"SettingsWarning", Use::Expanded},
        {L"SettingsOnXMinimize", Use::AsIs},
        {L"SettingsOnXHideInTray", Use::AsIs},
        {L"SettingsOnXClose", Use::AsIs},
        {L"SettingsLanguage", Use::AsIs},
        {L"UpdateRequestTitle", Use::Expanded},
        {L"UpdateRequestHeading", Use::Expanded},
        {L"UpdateRequestNote", Use::Expanded},
        {L"UpdateRequestQuestion", Use::Expanded},
        {L"TrayShowHide", Use::MenuEntry},
        {L"TrayOnOff", Use::MenuEntry},
        {L"TrayAddURL", Use::MenuEntry},
        {L"TraySettings", Use::MenuEntry},
        {L"TrayBrowse", Use::MenuEntry},
        {L"TrayHelpSupport", Use::MenuEntry},
        {L"TrayExit", Use::MenuEntry},
        {L"PopupReDownload", Use::MenuEntry},
        {L"PopupWatchDownloaded", Use::MenuEntry},
        {L"PopupLocateDownloaded", Use::MenuEntry},
        {L"PopupWatchConverted", Use::MenuEntry},
        {L"PopupLocateConverted", Use::MenuEntry},
        {L"PopupStop", Use::MenuEntry},
        {L"PopupConvert", Use::MenuEntry},
        {L"PopupCopyToIPod", Use::MenuEntry},
        {L"PopupDblClkToPlay", Use::AsIs},
        {L"PopupDblClkToConvert", Use::AsIs},
        {L"PopupDblClkReDownload", Use::AsIs},
        {L"PopupDownloadingTo", Use::BeforeValue},
        {L"PopupConvertingTo", Use::BeforeValue},
        {L"PopupRename", Use::MenuEntry},
        {L"PopupRemove", Use::MenuEntry},
        {L"PopupDelete", Use::MenuEntry},
        {L"InvalidStreamTrayTitle", Use::Expanded},
        {L"InvalidStreamTrayText", Use::Expanded},
        {L"StolenVideoTrayTitle", Use::Expanded},
        {L"StolenVideoTrayText", Use::Expanded},
        {L"StolenVideoHeading", Use::Expanded},
        {L"StolenVideoMessage", Use::Expanded},
        {L"StolenVideoWatch", Use::Expanded},
        {L"StolenVideoCaptureOff", Use::Expanded},
        {L"StolenVideoDoNotAsk", Use::Expanded},
        {L"BundleIsNotInstalled", Use::Number0},
        {L"VideosFolderTooLong", Use::Numbers01},
        {L"VideosFolderInvalidCharacters", Use::Numbers01},
        {L"VideosFolderNoDrive", Use::Number0},
        {L"VideosFolderNotCreated", Use::Numbers01},
        {L"VideosFolderNotWritable", Use::Numbers01},
        {L"VideosFolderAtStart", Use::AsIs},
        {L"VideosFolderInSettings", Use::AsIs},
        {L"CaptionOfferTooltip", Use::Number0},
        {L"SkinOrangeBlackTitle", Use::AsIs},
    };
    return uses;
}

// Every "{...}" of a text, in order.
std::vector<std::wstring> Placeholders(const std::wstring& text) {
    std::vector<std::wstring> found;
    for (std::size_t open = text.find(L'{'); open != std::wstring::npos; open = text.find(L'{', open + 1)) {
        const std::size_t close = text.find(L'}', open);
        found.push_back(text.substr(open, close == std::wstring::npos ? std::wstring::npos : close - open + 1));
    }
    return found;
}

// Two blanks in a row, or a blank at a line's end or start.
bool HasStraySpace(const std::wstring& text) {
    return text.find(L"  ") != std::wstring::npos || text.find(L" \n") != std::wstring::npos ||
           text.find(L"\n ") != std::wstring::npos;
}

// The access keys a menu text marks ("&&" is a plain "&").
std::vector<wchar_t> AccessKeys(const std::wstring& text) {
    std::vector<wchar_t> keys;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] != L'&')
            keys.push_back(static_cast<wchar_t>(std::towlower(text[i + 1])));
        ++i;
    }
    return keys;
}

std::map<std::wstring, std::wstring> ReadStrings(const std::wstring& path) {
    std::map<std::wstring, std::wstring> strings;
    FileSystem::XmlFile file(path, false);
    FileSystem::XmlNodeList nodes;
    file.SelectNodes(L"ResourceLib/Resources/String", nodes);
    for (const FileSystem::XmlNodePtr& node : nodes) {
        const std::wstring name = FileSystem::XmlFile::GetAttributeOr(node, L"name", L"");
        EXPECT_EQ(0u, strings.count(name)) << "a second string named " << name;
        strings[name] = FileSystem::XmlFile::GetAttributeOr(node, L"value", L"");
    }
    return strings;
}

class ShippedTexts : public testing::Test {
protected:
    void SetUp() override { m_com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override {
        if (SUCCEEDED(m_com))
            ::CoUninitialize();
    }
    static std::wstring EnglishFile() { return ProgramTests::ProgramResourcesFolder() + L"\\en-us\\Resources.xml"; }

private:
    HRESULT m_com = E_FAIL;
};

TEST_F(ShippedTexts, EveryStringHasThePlaceholdersItsWindowFillsAndNoStraySpace) {
    const std::map<std::wstring, std::wstring> strings = ReadStrings(EnglishFile());
    ASSERT_FALSE(strings.empty()) << EnglishFile();

    // Every registered string is shipped and its use is known here.
    const AppResources::ResourceIdTables& ids = AppResources::GetMainProgramResourceIds();
    for (std::size_t i = 0; i < ids.stringCount; ++i) {
        SCOPED_TRACE(testing::Message() << "string " << ids.strings[i].id << " " << ids.strings[i].name);
        EXPECT_EQ(1u, strings.count(ids.strings[i].name)) << "not shipped";
        EXPECT_EQ(1u, Uses().count(ids.strings[i].name)) << "its use is not in the table";
    }

    for (const auto& entry : strings) {
        const std::wstring& name = entry.first;
        const std::wstring& text = entry.second;
        SCOPED_TRACE(testing::Message() << name << " = \"" << text << "\"");
        const auto use = Uses().find(name);
        ASSERT_NE(Uses().end(), use) << "no window reads this string";
        EXPECT_FALSE(text.empty());
        EXPECT_FALSE(HasStraySpace(text));

        const std::vector<std::wstring> found = Placeholders(text);
        switch (use->second) {
        case Use::Expanded:
            for (const std::wstring& placeholder : found)
                EXPECT_EQ(1u, kProductPlaceholders.count(placeholder)) << placeholder << " is not expanded";
            break;
        case Use::Number0:
            EXPECT_EQ(std::vector<std::wstring>{L"{0}"}, found);
            break;
        case Use::Numbers01: {
            std::vector<std::wstring> sorted = found;
            std::sort(sorted.begin(), sorted.end());
            EXPECT_EQ((std::vector<std::wstring>{L"{0}", L"{1}"}), sorted);
            break;
        }
        default:
            EXPECT_TRUE(found.empty()) << "shown as it stands, yet it has a placeholder";
            break;
        }

        const bool leading = text.front() == L' ', trailing = text.back() == L' ';
        switch (use->second) {
        case Use::Suffix:
            EXPECT_TRUE(leading && !trailing) << "a suffix begins with its one blank";
            break;
        case Use::BeforeValue:
            EXPECT_TRUE(!leading && trailing) << "the value follows after one blank";
            break;
        case Use::Between:
            EXPECT_TRUE(leading && trailing) << "one blank on either side of the values";
            break;
        default:
            EXPECT_TRUE(!leading && !trailing);
            break;
        }
        if (use->second == Use::MenuEntry)
            EXPECT_EQ(1u, AccessKeys(text).size()) << "a menu entry has one access key";
        else
            EXPECT_EQ(std::wstring::npos, text.find(L'&')) << "only menu entries mark access keys";
    }
}

TEST_F(ShippedTexts, PiecesTheCodeJoinsReadWithOneBlankBetween) {
    const std::map<std::wstring, std::wstring> s = ReadStrings(EnglishFile());
    const struct {
        const char* name;
        std::wstring joined;
    } cases[] = {
        {"status, download finished", s.at(L"Download_") + s.at(L"_Finished")},
        {"status, import interrupted", s.at(L"Import_") + s.at(L"_Interrupted")},
        {"status, conversion failed", s.at(L"Conversion_") + s.at(L"_Error")},
        {"sizes while downloading", L" 0.3" + s.at(L"Of") + L"2.9 " + s.at(L"Megabytes")},
        {"times while downloading", L" " + STLHelpers::FormatString2(s.at(L"AOfB"), L"00:01:05", L"00:03:00")},
        {"finished size", STLHelpers::FormatString1(s.at(L"SizeDetails"), L"2.9 " + s.at(L"Megabytes"))},
        {"live stream", L" " + s.at(L"Broadcast") + L" 00:01:05"},
        {"tooltip, downloading", s.at(L"PopupDownloadingTo") + L"mp4\n" + s.at(L"PopupDblClkToPlay")},
        {"tooltip, converting", s.at(L"PopupConvertingTo") + L"avi"},
        {"tip reminder", s.at(L"ReminderText") + L"1" + s.at(L"OfText") + L"5."},
        {"companion missing", STLHelpers::FormatString1(s.at(L"BundleIsNotInstalled"), L"Pellmar")},
        {"caption element's tip", STLHelpers::FormatString1(s.at(L"CaptionOfferTooltip"), L"Pellmar")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << ": \"" << c.joined << "\"");
        EXPECT_FALSE(HasStraySpace(c.joined));
        EXPECT_EQ(std::wstring::npos, c.joined.find(L'{'));
    }
    // Each prefix with each suffix.
    for (const wchar_t* prefix : {L"Download_", L"Import_", L"Conversion_"}) {
        for (const wchar_t* suffix : {L"_Finished", L"_Interrupted", L"_Error"}) {
            const std::wstring joined = s.at(prefix) + s.at(suffix);
            SCOPED_TRACE(testing::Message() << "\"" << joined << "\"");
            EXPECT_FALSE(HasStraySpace(joined));
            EXPECT_NE(std::wstring::npos, joined.find(L' ', s.at(prefix).size() - 1)) << "a blank at the seam";
        }
    }
}

// The entries of one menu can all show at once (a finished, converted row
// offers both Watch and both Locate entries): each key opens one entry.
TEST_F(ShippedTexts, EachMenuGivesEveryEntryAKeyOfItsOwn) {
    const std::map<std::wstring, std::wstring> s = ReadStrings(EnglishFile());
    for (const wchar_t* menu : {L"Tray", L"Popup"}) {
        std::map<wchar_t, std::wstring> owners;
        for (const auto& use : Uses()) {
            if (use.second != Use::MenuEntry || use.first.compare(0, wcslen(menu), menu) != 0)
                continue;
            for (wchar_t key : AccessKeys(s.at(use.first))) {
                const auto owner = owners.emplace(key, use.first);
                EXPECT_TRUE(owner.second) << "\"" << s.at(use.first) << "\" and \"" << s.at(owner.first->second)
                                          << "\" share the key " << static_cast<char>(key);
            }
        }
    }
}

TEST_F(ShippedTexts, TheUpdatersBuiltInTextsReadRightOnceExpanded) {
    const std::wstring updater = ProgramTests::ProgramFolder().GetFile(L"Updater.exe").GetPath();
    const HMODULE module = ::LoadLibraryExW(updater.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module) << updater << " is installed beside the program";
    using namespace AppResources::Updater;
    const std::set<int> expanded = {StringID_InstallationFailed, StringID_ComputerMustBeRestarted,
                                    StringID_ProductInstallation, StringID_LaunchProduct, StringID_CancelInstallation};
    const std::set<std::wstring> placeholders = {L"{ProductName}", L"{ProductVersion}", L"{ShortProductVersion}",
                                                 L"{ProductURL}", L"{ComponentName}"};
    for (int id = StringID_PreparingForDownload; id <= StringID_Close; ++id) {
        const wchar_t* pText = nullptr;
        const int length = ::LoadStringW(module, IDS_UPDATER_TEXT_BASE + id, reinterpret_cast<LPWSTR>(&pText), 0);
        const std::wstring text = length > 0 ? std::wstring(pText, length) : std::wstring();
        SCOPED_TRACE(testing::Message() << "Updater text " << id << " = \"" << text << "\"");
        EXPECT_FALSE(text.empty());
        EXPECT_FALSE(HasStraySpace(text));
        for (const std::wstring& placeholder : Placeholders(text)) {
            EXPECT_TRUE(expanded.count(id)) << "shown as it stands, yet it has " << placeholder;
            EXPECT_EQ(1u, placeholders.count(placeholder)) << placeholder << " is not expanded";
        }
        // Both roads' component names.
        for (const wchar_t* component : {L"Automatic Update", L"Extras"}) {
            const std::wstring shown =
                STLHelpers::ReplaceAll(STLHelpers::ReplaceAll(text, L"{ComponentName}", component), L"{ProductName}",
                                       L"Brunlow");
            EXPECT_FALSE(HasStraySpace(shown)) << shown;
        }
    }
    ::FreeLibrary(module);
}

// The tips file the program ships, read as the list reads it.
std::wstring& TipsDataRoot() {
    static std::wstring root;
    return root;
}

TEST_F(ShippedTexts, TheTipsFileShipsAHandfulOfTipsInEnglish) {
    AppFrameworkTests::TestProduct product(L"Brunlow");
    Testing::TempFolder data;
    TipsDataRoot() = data.Path();
    Tips::PathSource source;
    source.localAppData = [] { return TipsDataRoot(); };
    const Tips::PathSource previous = Tips::SetPathSource(source);
    const std::wstring path = ProgramTests::ProgramResourcesFolder() + L"\\Common\\TipOfTheDay.xml";
    {
        Tips::TipsOfTheDay tips(path, false);
        EXPECT_GE(tips.GetFileVersion(), 1) << "the version attribute is read";
        EXPECT_GE(tips.GetTipsCount(), 5u);
        std::set<std::wstring> guids;
        for (unsigned i = 0; i < tips.GetTipsCount(); ++i) {
            const Tips::Tip tip = tips.GetNextTip(0);
            const std::wstring text = tip.GetText(L"en-us");
            SCOPED_TRACE(testing::Message() << "tip " << tip.GetGuid() << ": \"" << text << "\"");
            EXPECT_TRUE(guids.insert(tip.GetGuid()).second) << "each tip has its own identity";
            EXPECT_GE(text.size(), 40u);
            EXPECT_LE(text.size(), 200u) << "fits the panel's three lines";
            EXPECT_EQ(std::wstring::npos, text.find(L'{'));
            EXPECT_FALSE(HasStraySpace(text));
            EXPECT_EQ(std::wstring::npos, text.find(L'\n'));
        }
    }
    Tips::SetPathSource(previous);
}

}  // namespace
