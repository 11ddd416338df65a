#include "updater/settings/UpdaterSettings.h"

#include "foundation/system/Locale.h"
#include "updater/tests/UpdaterTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using UpdaterTests::ScopedKey;
using UpdaterTests::UniqueName;

// The string table of UpdaterStrings.rc, linked into the tests.
const wchar_t kTableProductName[] = L"Brunlow";
const wchar_t kTableDownloadURL[] = L"http://www.brunlow.com/_dwnld/brunlow/Brunlow.exe";

TEST(UpdaterSettings, ReadsSwitchesOfTheCommandLine) {
    struct Case {
        const wchar_t* commandLine;
        std::wstring productName;
        std::wstring componentName;
        bool isSilent;
        bool isRunWithProduct;
    };
    const Case cases[] = {
        {L"", kTableProductName, L"Automatic Update", true, false},
        {L"Updater.exe", kTableProductName, L"Automatic Update", true, false},
        {L"Updater.exe /isSilent 0", kTableProductName, L"Automatic Update", false, false},
        {L"Updater.exe /ISSILENT 0", kTableProductName, L"Automatic Update", false, false},
        {L"Updater.exe /isSilent 1", kTableProductName, L"Automatic Update", true, false},
        {L"Updater.exe /isSilent false", kTableProductName, L"Automatic Update", true, false},
        {L"Updater.exe /isSilent 00", kTableProductName, L"Automatic Update", true, false},
        {L"Updater.exe /isSilent", kTableProductName, L"Automatic Update", true, false},
        {L"Updater.exe /productName", kTableProductName, L"Automatic Update", true, false},
        {L"Updater.exe /PRODUCTNAME x", L"x", L"Automatic Update", true, false},
        {L"Updater.exe /productName=x", kTableProductName, L"Automatic Update", true, false},
        {L"Updater.exe -productName x", kTableProductName, L"Automatic Update", true, false},
        {L"Updater.exe /productName a /productName b", L"a", L"Automatic Update", true, false},
        // The follower is taken whatever it is; the last element has none.
        {L"Updater.exe /productName /componentName", L"/componentName", L"Automatic Update", true, false},
        // Element 0, the program path, is never a switch.
        {L"/productName x", kTableProductName, L"Automatic Update", true, false},
        {L"Updater.exe /productName \"Video Keeper\" /componentName \" \" /isSilent 0", L"Video Keeper", L" ",
         false, false},
        {L"Updater.exe /runWithProduct /componentName Extras /downloadURL http://h/x.exe", kTableProductName,
         L"Extras", true, true},
        {L"Updater.exe /RUNWITHPRODUCT", kTableProductName, L"Automatic Update", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "command line: " << std::string(c.commandLine, c.commandLine + wcslen(c.commandLine)));
        UpdaterSettings settings(c.commandLine);
        EXPECT_EQ(c.productName, settings.GetProductName());
        EXPECT_EQ(c.componentName, settings.GetComponentName());
        EXPECT_EQ(c.isSilent, settings.IsSilent());
        EXPECT_EQ(c.isRunWithProduct, settings.IsRunWithProduct());
    }
}

TEST(UpdaterSettings, NullCommandLineHasNoArguments) {
    UpdaterSettings settings(nullptr);
    EXPECT_FALSE(settings.HasSwitch(L"/isSilent"));
    EXPECT_EQ(L"", settings._FindSwitchValue(L"/productName"));
    EXPECT_EQ(kTableProductName, settings.GetProductName());
}

TEST(UpdaterSettings, KeyedSettingsFallBackToTheStringTable) {
    UpdaterSettings defaults(L"Updater.exe");
    EXPECT_EQ(L"Company Name", defaults.GetProductCompanyName());
    EXPECT_EQ(L"Brunlow.exe", defaults.GetProductExecutable());
    EXPECT_EQ(L"www.brunlow.com", defaults.GetProductURL());
    EXPECT_EQ(L"Brunlow Suite", defaults.GetBundleName());

    UpdaterSettings given(
        L"Updater.exe /productCompanyName Maker /productExecutable App.exe /productURL www.example.org "
        L"/bundleName Family");
    EXPECT_EQ(L"Maker", given.GetProductCompanyName());
    EXPECT_EQ(L"App.exe", given.GetProductExecutable());
    EXPECT_EQ(L"www.example.org", given.GetProductURL());
    EXPECT_EQ(L"Family", given.GetBundleName());
}

TEST(UpdaterSettings, ValueLookedUpOnceStays) {
    UpdaterSettings settings(L"Updater.exe /productName First");
    EXPECT_EQ(L"First", settings.GetValue(L"productName", 129));
    EXPECT_EQ(L"Brunlow", settings.GetValue(L"otherKey", 129));
    // Remembered by key: another string id no longer counts.
    EXPECT_EQ(L"Brunlow", settings.GetValue(L"otherKey", 130));
    // An empty result is remembered too.
    EXPECT_EQ(L"", settings.GetValue(L"missing", 9999));
    EXPECT_EQ(L"", settings.GetValue(L"missing", 129));
}

TEST(UpdaterSettings, DownloadURLFromSwitchThenRegistryThenStringTable) {
    const std::wstring product = UniqueName(L"UpdaterTestProduct");
    const std::wstring bundle = UniqueName(L"UpdaterTestBundle");
    const std::wstring names = L" /productName " + product + L" /bundleName " + bundle;

    UpdaterSettings noValue((L"Updater.exe" + names).c_str());
    EXPECT_EQ(kTableDownloadURL, noValue.GetDownloadURL());

    ScopedKey key(HKEY_CURRENT_USER, L"Software\\" + bundle + L"\\" + product);
    ASSERT_TRUE(key.SetString(L"DownloadURL", L"http://registry.example/setup.exe"));
    UpdaterSettings fromRegistry((L"Updater.exe" + names).c_str());
    EXPECT_EQ(L"http://registry.example/setup.exe", fromRegistry.GetDownloadURL());

    UpdaterSettings fromSwitch((L"Updater.exe /downloadURL http://switch.example/s.exe" + names).c_str());
    EXPECT_EQ(L"http://switch.example/s.exe", fromSwitch.GetDownloadURL());

    ASSERT_TRUE(key.SetString(L"DownloadURL", L""));
    UpdaterSettings emptyValue((L"Updater.exe" + names).c_str());
    EXPECT_EQ(kTableDownloadURL, emptyValue.GetDownloadURL());
}

TEST(UpdaterSettings, BrandSuffixReplacesItsTokenInTheAddresses) {
    struct Case {
        const wchar_t* name;
        const wchar_t* suffixValue;  // null: no value
        std::wstring suffix;
    };
    const Case cases[] = {
        {L"no value", nullptr, L"_"},
        {L"empty value", L"", L"_"},
        {L"48ROV", L"48ROV", L"_48"},
        {L"48rov, another case", L"48rov", L"_48rov"},
        {L"ab", L"ab", L"_ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        const std::wstring product = UniqueName(L"UpdaterTestProduct");
        ScopedKey key(HKEY_CURRENT_USER, L"Software\\" + product);
        if (c.suffixValue) {
            ASSERT_TRUE(key.SetString(L"SetupNameSuffix", c.suffixValue));
        }
        UpdaterSettings settings((L"Updater.exe /productName " + product +
                                  L" /downloadURL http://h/Setup/URLBrandSuffix/.exe"
                                  L" /productURL www.h.com/URLBrandSuffix//URLBrandSuffix/")
                                     .c_str());
        EXPECT_EQ(c.suffix, settings._GetBrandSuffix());
        EXPECT_EQ(L"http://h/Setup" + c.suffix + L".exe", settings.GetDownloadURL());
        EXPECT_EQ(L"www.h.com" + c.suffix + c.suffix, settings.GetProductURL());
    }
}

TEST(UpdaterSettings, ProductVersionComesFromTheExecutableBesideTheUpdater) {
    // The product stand-in lies beside the test executable, with version 1.4.1.7.
    UpdaterSettings settings(L"Updater.exe /productName X /productExecutable UpdaterProductStandIn.exe");
    EXPECT_EQ(L"1.4.1.7", settings.GetProductVersion());
    EXPECT_EQ(L"1.4", settings.GetShortProductVersion());

    UpdaterSettings missing(L"Updater.exe /productExecutable NoSuchProduct.exe");
    EXPECT_EQ(L"", missing.GetProductVersion());
    EXPECT_EQ(L"", missing.GetShortProductVersion());
}

TEST(UpdaterSettings, ExpandsTheFivePlaceholders) {
    UpdaterSettings plain(L"Updater.exe /productName X");
    EXPECT_EQ(L"X Automatic Update", plain.ExpandPlaceholders(L"{ProductName} {ComponentName}"));

    UpdaterSettings settings(
        L"Updater.exe /productName \"Video Keeper\" /productExecutable UpdaterProductStandIn.exe "
        L"/productURL www.h.com /componentName Extras");
    EXPECT_EQ(L"Video Keeper 1.4.1.7 (1.4) www.h.com Extras; {productname} {Other} {ProductName",
              settings.ExpandPlaceholders(L"{ProductName} {ProductVersion} ({ShortProductVersion}) {ProductURL} "
                                          L"{ComponentName}; {productname} {Other} {ProductName"));
    EXPECT_EQ(L"Video Keeper Video Keeper", settings.ExpandPlaceholders(L"{ProductName} {ProductName}"));

    // A companion product's update names a blank component: its texts read
    // as if they named none, with no run of blanks where it stood.
    UpdaterSettings blank(L"Updater.exe /productName Pellmar /componentName \" \" /isSilent 1");
    EXPECT_EQ(L" ", blank.GetComponentName());
    EXPECT_EQ(L"Pellmar Installation", blank.ExpandPlaceholders(L"{ProductName} {ComponentName} Installation"));
    EXPECT_EQ(L"The installation of Pellmar failed. Please try again later.",
              blank.ExpandPlaceholders(L"The installation of {ProductName} {ComponentName} failed. Please try again "
                                       L"later."));
}

TEST(UpdaterSettings, ProductInformationForTheResourceManager) {
    UpdaterSettings settings(
        L"Updater.exe /productName \"Video  Keeper\" /productExecutable UpdaterProductStandIn.exe "
        L"/productCompanyName Maker");
    EXPECT_EQ(L"VideoKeeper", settings.GetProductNameWithoutBlanks());
    const auto information = settings.GetProductInformation();
    EXPECT_EQ(L"VideoKeeper", information.productName);
    EXPECT_EQ(L"Video  Keeper", information.fullProductName);
    EXPECT_EQ(L"1.4.1.7", information.productVersion);
    EXPECT_EQ(L"1.4", information.shortProductVersion);
    EXPECT_EQ(L"Maker", information.companyName);
    EXPECT_TRUE(information.further.empty());
}

TEST(UpdaterSettings, ObjectNamesAndLanguage) {
    UpdaterSettings settings(L"Updater.exe /productName Video /languageName de-de");
    EXPECT_EQ(L"Video_UpdateMutex", settings.GetUpdateMutexName());
    EXPECT_EQ(L"Video_ExtrasMutex", settings.GetExtrasMutexName());
    EXPECT_EQ(L"Video_ExitEvent", settings.GetExitEventName());
    EXPECT_EQ(L"de-de", settings.GetLanguageName());

    UpdaterSettings system(L"Updater.exe");
    EXPECT_EQ(System::GetUILanguageName(), system.GetLanguageName());
}

TEST(UpdaterSettings, InstanceIsTheApplicationsRecordWhileItLives) {
    {
        UpdaterSettings application;
        EXPECT_EQ(&application, &UpdaterSettings::Instance());
        UpdaterSettings second;  // only the first one counts
        EXPECT_EQ(&application, &UpdaterSettings::Instance());
    }
    UpdaterSettings& fallback = UpdaterSettings::Instance();
    EXPECT_EQ(&fallback, &UpdaterSettings::Instance());
    EXPECT_EQ(kTableProductName, UpdaterSettings(L"Updater.exe").GetProductName());
}

}  // namespace
