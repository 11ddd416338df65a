#include "downloads/settings/Settings.h"

#include "ProfileApplication.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/system/OSVersion.h"
#include "foundation/tests/RecordingSink.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "resources/resourcelib/IManager.h"
#include "resources/tests/FakeProviders.h"
#include "testing/ChildProcess.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

using DownloadsTests::ProfileApplication;

const wchar_t kSection[] = L"Settings";
const wchar_t kDefaultFormat[] = L"OFP_0_IPAD_A_1024X768!iPadMpeg4_1024x768,85";

// The values Save writes, in its order, and those it must never create.
const wchar_t* const kSavedValues[] = {
    L"VideosFolder",  L"DwonloadSWF", L"EnablePassive",          L"AdvancedRippingSoundTimeout",
    L"ConversionOutputFormat", L"CompatibilityLevel", L"CloseAction", L"Language",
    L"SuggestAdvancedRipping", L"AllowStealingVideos", L"AutomaticConvertion", L"ShowDialogs"};
const wchar_t* const kReadOnlyValues[] = {L"DebugMode", L"RepeatDownloads", L"MinimumDownloadSize",
                                          L"MinimumSwfDownloadSize"};

std::wstring CurrentLanguageOrDefault() {
    const auto language =
        AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager()->GetCurrentLanguage();
    return language ? language->GetName() : L"en-us";
}

std::wstring RawText(const ProfileApplication::RawValue& value) {
    return std::wstring(reinterpret_cast<const wchar_t*>(value.bytes.data()), value.bytes.size() / sizeof(wchar_t))
        .c_str();
}

DWORD RawNumber(const ProfileApplication::RawValue& value) {
    DWORD number = 0;
    if (value.bytes.size() == sizeof(number))
        memcpy(&number, value.bytes.data(), sizeof(number));
    return number;
}

TEST(Settings, EmptyProfileGivesEveryDefault) {
    ProfileApplication app;
    const std::wstring videosFolder = ApplicationFramework::GetDefaultVideosFolder();
    Settings settings;
    EXPECT_EQ(settings.GetItemValueThreshold(), 300u);
    EXPECT_EQ(settings.GetItemSizeThreshold(), 20971520u);
    EXPECT_EQ(settings.GetProfileSection().GetName(), kSection);
    EXPECT_EQ(settings.GetVideosFolder(), videosFolder);
    EXPECT_FALSE(videosFolder.empty());
    EXPECT_TRUE(settings.GetDownloadSwf());
    EXPECT_TRUE(settings.GetEnablePassive());
    EXPECT_EQ(settings.GetAdvancedRippingSoundTimeout(), 15000);
    EXPECT_EQ(settings.GetConversionOutputFormat(), kDefaultFormat);
    EXPECT_FALSE(settings.GetDebugMode());
    EXPECT_EQ(settings.GetMinimumDownloadSize(), 102400u);
    EXPECT_EQ(settings.GetMinimumSwfDownloadSize(), 307200u);
    EXPECT_EQ(settings.GetCompatibilityLevel(), 0u);
    EXPECT_EQ(settings.GetCloseAction(), System::IsWindows7OrLater() ? 0u : 1u);
    EXPECT_EQ(settings.GetLanguageName(), CurrentLanguageOrDefault());
    EXPECT_TRUE(settings.GetSuggestAdvancedRipping());
    EXPECT_TRUE(settings.GetAllowStealingVideos());
    EXPECT_TRUE(settings.GetAutomaticConversion());
    EXPECT_FALSE(settings.GetRepeatDownloads());
    EXPECT_EQ(settings.GetShowDialogs(), 0xFFFFFFFFu);
    // Loading alone writes nothing.
    EXPECT_FALSE(app.HasSection(kSection));
}

TEST(Settings, DestructionSavesTheWritableValuesOnly) {
    ProfileApplication app;
    {
        Settings settings;
        settings.SetVideosFolder(L"D:\\Videos");
        settings.SetDownloadSwf(false);
        settings.SetAdvancedRippingSoundTimeout(7000);
        settings.SetCloseAction(2);
        settings.SetAllowStealingVideos(false);
    }
    for (const wchar_t* name : kSavedValues) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        EXPECT_TRUE(app.HasValue(kSection, name));
    }
    for (const wchar_t* name : kReadOnlyValues) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        EXPECT_FALSE(app.HasValue(kSection, name));
    }
    const auto folder = app.ReadRaw(kSection, L"VideosFolder");
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(RawText(*folder), L"D:\\Videos");
    const auto swf = app.ReadRaw(kSection, L"DwonloadSWF");
    ASSERT_TRUE(swf);
    EXPECT_EQ(RawText(*swf), L"false");
    const auto timeout = app.ReadRaw(kSection, L"AdvancedRippingSoundTimeout");
    ASSERT_TRUE(timeout);
    EXPECT_EQ(timeout->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(RawNumber(*timeout), 7000u);

    // A new record reads back what was saved.
    Settings again;
    EXPECT_EQ(again.GetVideosFolder(), L"D:\\Videos");
    EXPECT_FALSE(again.GetDownloadSwf());
    EXPECT_EQ(again.GetAdvancedRippingSoundTimeout(), 7000);
    EXPECT_EQ(again.GetCloseAction(), 2u);
    EXPECT_FALSE(again.GetAllowStealingVideos());
    EXPECT_TRUE(again.GetAutomaticConversion());
}

TEST(Settings, OnlyTheExactTextTrueIsTrue) {
    struct Case {
        const wchar_t* stored;
        bool expected;
    } cases[] = {{L"true", true}, {L"True", false}, {L"TRUE", false}, {L"1", false}, {L"", false}, {L"false", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.stored)));
        ProfileApplication app;
        // Each boolean is read from its own name, the misspelt ones included.
        for (const wchar_t* name : {L"DwonloadSWF", L"EnablePassive", L"DebugMode", L"SuggestAdvancedRipping",
                                    L"AllowStealingVideos", L"AutomaticConvertion", L"RepeatDownloads"})
            app.WriteProfileString(kSection, name, c.stored);
        Settings settings;
        EXPECT_EQ(settings.GetDownloadSwf(), c.expected);
        EXPECT_EQ(settings.GetEnablePassive(), c.expected);
        EXPECT_EQ(settings.GetDebugMode(), c.expected);
        EXPECT_EQ(settings.GetSuggestAdvancedRipping(), c.expected);
        EXPECT_EQ(settings.GetAllowStealingVideos(), c.expected);
        EXPECT_EQ(settings.GetAutomaticConversion(), c.expected);
        EXPECT_EQ(settings.GetRepeatDownloads(), c.expected);
    }
}

TEST(Settings, ReadOnlyAndIntegerValuesComeFromTheProfile) {
    ProfileApplication app;
    app.WriteProfileInt(kSection, L"MinimumDownloadSize", 5);
    app.WriteProfileInt(kSection, L"MinimumSwfDownloadSize", 6);
    app.WriteProfileInt(kSection, L"CompatibilityLevel", 3);
    app.WriteProfileInt(kSection, L"ShowDialogs", 4);
    // An integer stored as text follows the profile's rule: the default.
    app.WriteProfileString(kSection, L"AdvancedRippingSoundTimeout", L"9000");
    Settings settings;
    EXPECT_EQ(settings.GetMinimumDownloadSize(), 5u);
    EXPECT_EQ(settings.GetMinimumSwfDownloadSize(), 6u);
    EXPECT_EQ(settings.GetCompatibilityLevel(), 3u);
    EXPECT_EQ(settings.GetShowDialogs(), 4u);
    EXPECT_EQ(settings.GetAdvancedRippingSoundTimeout(), 15000);
}

// Values a hand edit or another version left outside what the program
// offers: each reads as its default, which the next save writes back.
TEST(Settings, OutOfRangeValuesReadAsTheirDefaults) {
    const DWORD closeDefault = System::IsWindows7OrLater() ? 0 : 1;
    struct Case {
        const wchar_t* name;
        DWORD stored;
        DWORD expected;
    } cases[] = {
        {L"CloseAction", 7, closeDefault},
        {L"CloseAction", 3, closeDefault},
        {L"CloseAction", 0xFFFFFFFF, closeDefault},
        {L"CloseAction", 2, 2},
        {L"CloseAction", 1, 1},
        {L"CompatibilityLevel", 99, 0},
        {L"CompatibilityLevel", 5, 0},
        {L"CompatibilityLevel", 0xFFFFFFFF, 0},
        {L"CompatibilityLevel", 4, 4},
        {L"AdvancedRippingSoundTimeout", 600001, 15000},
        {L"AdvancedRippingSoundTimeout", 0xFFFFFFFF, 15000},
        {L"AdvancedRippingSoundTimeout", 0x80000000, 15000},
        {L"AdvancedRippingSoundTimeout", 600000, 600000},
        {L"AdvancedRippingSoundTimeout", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.name)) << " stored " << c.stored);
        ProfileApplication app;
        app.WriteProfileInt(kSection, c.name, static_cast<int>(c.stored));
        {
            Settings settings;
            DWORD loaded = 0;
            if (std::wstring(c.name) == L"CloseAction")
                loaded = settings.GetCloseAction();
            else if (std::wstring(c.name) == L"CompatibilityLevel")
                loaded = settings.GetCompatibilityLevel();
            else
                loaded = static_cast<DWORD>(settings.GetAdvancedRippingSoundTimeout());
            EXPECT_EQ(c.expected, loaded);
        }
        const auto saved = app.ReadRaw(kSection, c.name);
        ASSERT_TRUE(saved);
        EXPECT_EQ(c.expected, RawNumber(*saved)) << "written back";
    }
}

TEST(Settings, AnEmptyVideosFolderReadsAsTheDefault) {
    for (const wchar_t* stored : {L"", L"   "}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(stored)));
        ProfileApplication app;
        const std::wstring defaultFolder = ApplicationFramework::GetDefaultVideosFolder();
        app.WriteProfileString(kSection, L"VideosFolder", stored);
        Settings settings;
        EXPECT_EQ(defaultFolder, settings.GetVideosFolder());
    }
}

TEST(Settings, FormatWithoutExclamationMarkIsReplacedAndWrittenBack) {
    struct Case {
        const wchar_t* stored;
        const wchar_t* expected;
    } cases[] = {{L"x", kDefaultFormat}, {L"", kDefaultFormat}, {L"a!b", L"a!b"}, {L"!", L"!"}, {L"abc!", L"abc!"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.stored)));
        ProfileApplication app;
        app.WriteProfileString(kSection, L"ConversionOutputFormat", c.stored);
        {
            Settings settings;
            EXPECT_EQ(settings.GetConversionOutputFormat(), c.expected);
        }
        EXPECT_EQ(std::wstring(app.GetProfileString(kSection, L"ConversionOutputFormat", L"").GetString()),
                  c.expected);
    }
}

TEST(Settings, ClearingTheStolenVideoBitKeepsTheOthers) {
    ProfileApplication app;
    {
        Settings settings;
        ASSERT_TRUE(settings.IsShowDialogEnabled(Settings::kStolenVideoDialog));
        settings.SetShowDialog(Settings::kStolenVideoDialog, false);
        EXPECT_EQ(settings.GetShowDialogs(), 0xFFFFFFFEu);
        EXPECT_FALSE(settings.IsShowDialogEnabled(1));
        EXPECT_TRUE(settings.IsShowDialogEnabled(2));
        EXPECT_TRUE(settings.IsShowDialogEnabled(3));  // any bit of the mask
    }
    const auto stored = app.ReadRaw(kSection, L"ShowDialogs");
    ASSERT_TRUE(stored);
    EXPECT_EQ(RawNumber(*stored), 0xFFFFFFFEu);
    Settings again;
    EXPECT_EQ(again.GetShowDialogs(), 0xFFFFFFFEu);
    again.SetShowDialog(1, true);
    EXPECT_EQ(again.GetShowDialogs(), 0xFFFFFFFFu);
}

TEST(Settings, ConvertedFolderFollowsTheVideosFolderAtOnce) {
    ProfileApplication app;
    Settings settings;
    settings.SetVideosFolder(L"C:\\Caught");
    EXPECT_EQ(settings.GetConvertedFolder(), L"C:\\Caught\\Converted");
    settings.SetVideosFolder(L"E:\\Other\\");
    EXPECT_EQ(settings.GetConvertedFolder(), L"E:\\Other\\Converted");
}

TEST(Settings, FixedNamesAndPaths) {
    ProfileApplication app;
    const std::wstring folder = FileSystem::GetApplicationFolder().GetPath();
    const std::wstring separator = folder.back() == L'\\' ? L"" : L"\\";
    EXPECT_EQ(Settings::GetConversionPresetsPath(), folder + separator + L"ConversionPresets.xml");
    EXPECT_EQ(Settings::GetPresetsPath(), folder + separator + L"presets.xml");
    EXPECT_EQ(Settings::GetRulesPath(), folder + separator + L"rules.xml");
    EXPECT_EQ(Settings::GetConverterAppName(), L"ConverterApp.exe");
    EXPECT_EQ(Settings::GetConverterName(), L"Dorrank2.exe");

    // The user presets lie in the product's folder of local application
    // data, which is made when missing.
    const std::wstring productFolder =
        FileSystem::GetSpecialFolder(CSIDL_LOCAL_APPDATA).GetSubFolder(L"Brunlow Downloads Tests").GetPath();
    Testing::RemoveTree(productFolder);
    EXPECT_EQ(Settings::GetUserPresetsPath(), productFolder + L"\\userPresets.xml");
    EXPECT_TRUE(Testing::PathExists(productFolder));
    Testing::RemoveTree(productFolder);
}

TEST(Settings, WithoutApplicationReadsGiveDefaultsAndNothingIsWritten) {
    DownloadsTests::UseTestResources();
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    ASSERT_EQ(ApplicationFramework::ApplicationBaseLite::GetApplication(), nullptr);
    const Settings::ProfileSection section(L"Settings");
    EXPECT_EQ(section.GetString(L"VideosFolder", L"fallback"), L"fallback");
    EXPECT_EQ(section.GetInt(L"ShowDialogs", 12), 12);
    {
        Settings settings;
        EXPECT_EQ(settings.GetConversionOutputFormat(), kDefaultFormat);
        EXPECT_EQ(settings.GetShowDialogs(), 0xFFFFFFFFu);
        settings.SetCloseAction(2);
    }  // saves into no profile
    // The missing application is noted without any visible effect.
    EXPECT_TRUE(sink.reports.empty());

    ProfileApplication app;
    EXPECT_FALSE(app.HasSection(kSection));
}

// The engine's threads read the strings while the GUI thread rewrites them:
// every read is one whole value that was written.
TEST(Settings, StringsReadOnOtherThreadsAreWholeValues) {
    ProfileApplication app;
    Settings settings;
    const std::wstring folders[] = {L"C:\\A short folder", std::wstring(300, L'x')};
    const std::wstring formats[] = {L"a!b", std::wstring(200, L'y') + L"!z"};
    settings.SetVideosFolder(folders[0]);
    settings.SetConversionOutputFormat(formats[0]);
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i) {
        readers.emplace_back([&] {
            while (!done) {
                const std::wstring folder = settings.GetVideosFolder();
                const std::wstring format = settings.GetConversionOutputFormat();
                if (folder != folders[0] && folder != folders[1])
                    ++torn;
                if (format != formats[0] && format != formats[1])
                    ++torn;
            }
        });
    }
    for (int i = 0; i < 100000; ++i) {
        settings.SetVideosFolder(folders[i % 2]);
        settings.SetConversionOutputFormat(formats[i % 2]);
    }
    done = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(torn, 0);
}

// GetLanguage writes to the process's log, configured in a child of its own.
const wchar_t kLogVariable[] = L"Debugging_Log_Path";

TESTING_CHILD_SCENARIO(SettingsLanguageLookup) {
    ProfileApplication app;
    const auto manager = AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager();
    const auto languages = boost::make_shared<ResourceTesting::FakeLanguageProvider>();
    const auto english = languages->Add(L"en-us", true);
    const auto german = languages->Add(L"de-de");
    manager->SetLanguageProvider(languages);
    manager->SetLanguage(english);
    int failures = 0;

    // A stored name that is offered gives that language.
    app.WriteProfileString(kSection, L"Language", L"de-de");
    {
        Settings settings;
        failures += settings.GetLanguage() != german;
        // A null language changes nothing; another one is stored at save.
        settings.SetLanguage(nullptr);
        failures += settings.GetLanguageName() != L"de-de";
        settings.SetLanguage(english);
        failures += settings.GetLanguageName() != L"en-us";
    }
    failures += std::wstring(app.GetProfileString(kSection, L"Language", L"").GetString()) != L"en-us";
    // Case matters; a name nobody offers gives the current language.
    app.WriteProfileString(kSection, L"Language", L"DE-DE");
    Settings unknown;
    manager->SetLanguage(german);
    failures += unknown.GetLanguage() != german;
    return failures;
}

TEST(Settings, UnknownLanguageIsLoggedAndGivesTheCurrentOne) {
    Testing::TempFolder folder;
    const std::wstring log = folder / L"settings.log";
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario(
        "SettingsLanguageLookup", {{kLogVariable, log}, {L"Debugging_Log_Level", L"0"}})));
    const std::string text = Testing::ReadFileBytes(log);
    const std::string message = "Failed to find the most recently used language";
    ASSERT_NE(text.find(message), std::string::npos) << text;
    // Once: the offered name did not log.
    EXPECT_EQ(text.find(message, text.find(message) + 1), std::string::npos) << text;
    const size_t lineStart = text.rfind('\n', text.find(message)) + 1;
    const std::string line = text.substr(lineStart, text.find('\n', lineStart) - lineStart);
    EXPECT_NE(line.find("Settings::GetLanguage@"), std::string::npos) << line;
    EXPECT_NE(line.find("WRN"), std::string::npos) << line;
}

}  // namespace
