#include "resources/resourcelib/XmlMetadataProvider.h"

#include "resources/resourcelib/ManagerFactory.h"
#include "testing/TempFolder.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using ResourceLib::ILanguage;
using ResourceLib::ISkin;
using ResourceLib::XmlMetadataProvider;

std::string Metadata(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ResourceLib>" + body + "</ResourceLib>\n";
}

const std::string kLanguages = R"(
  <Base root="..\Main"/>
  <Languages>
    <!-- a comment is no language -->
    <Language name="en-us" title="English" locale="1033" default="1"/>
    <Language name="de-de" title="Deutsch" locale="0x409" default="1"/>
    <language name="lower" default="1"/>
    <Language title="Nameless" default="true"/>
    <Language name="fr-fr" title="Francais" locale="1036" default="yes"/>
    <Language name="de-de" title="Second de-de"/>
  </Languages>)";

std::vector<std::wstring> Names(XmlMetadataProvider& provider) {
    std::vector<boost::shared_ptr<ILanguage>> languages;
    EXPECT_TRUE(provider.GetLanguages(languages));
    std::vector<std::wstring> names;
    for (const auto& language : languages)
        names.push_back(language->GetName());
    return names;
}

std::wstring NameOf(const boost::shared_ptr<ILanguage>& language) {
    return language ? language->GetName() : L"(none)";
}

std::wstring NameOf(const boost::shared_ptr<ISkin>& skin) {
    return skin ? skin->GetName() : L"(none)";
}

TEST(XmlMetadataProvider, ReadsLanguagesSkinsAndBase) {
    Testing::TempFolder root;
    root.WriteFile(L"Metadata.xml", Metadata(kLanguages + R"(
  <Skins>
    <Skin name="Dark" titleID="DarkTitle" default="01"/>
    <Skin name="Light" titleID="LightTitle"/>
    <Skin name="Third"/>
  </Skins>)"));
    XmlMetadataProvider provider(root.Path(), boost::weak_ptr<ResourceLib::IManager>());

    EXPECT_EQ((std::vector<std::wstring>{L"en-us", L"de-de", L"", L"fr-fr", L"de-de"}), Names(provider));
    EXPECT_EQ(L"..\\Main", provider.GetRootPath());

    // The second default wins; "true" and "yes" mark nothing.
    EXPECT_EQ(L"de-de", NameOf(provider.GetDefaultLanguage()));
    const boost::shared_ptr<ILanguage> german = provider.FindLanguage(L"de-de");
    ASSERT_TRUE(german);
    EXPECT_EQ(L"Deutsch", german->GetTitle());  // the first of two with that name
    EXPECT_EQ(0u, german->GetLocale());         // "0x409" is no decimal number
    EXPECT_EQ(1033u, provider.FindLanguage(L"en-us")->GetLocale());
    EXPECT_EQ(L"Nameless", provider.FindLanguage(L"")->GetTitle());
    EXPECT_FALSE(provider.FindLanguage(L"EN-US"));
    EXPECT_FALSE(provider.FindLanguage(L"lower"));

    std::vector<boost::shared_ptr<ISkin>> skins;
    EXPECT_TRUE(provider.GetSkins(skins));
    ASSERT_EQ(3u, skins.size());
    EXPECT_EQ(L"Dark", NameOf(provider.GetDefaultSkin()));  // "01" is 1
    EXPECT_EQ(L"LightTitle", provider.FindSkin(L"Light")->GetTitle());
    EXPECT_EQ(L"", provider.FindSkin(L"Third")->GetTitle());
    EXPECT_FALSE(provider.FindSkin(L"dark"));
}

TEST(XmlMetadataProvider, NoDefaultsAndNoSkins) {
    Testing::TempFolder root;
    root.WriteFile(L"Metadata.xml", Metadata(R"(<Languages><Language name="en-us"/></Languages>)"));
    // Without a Skins element this file is never read.
    root.WriteFile(L"DefaultSkinOverride", "Dark");
    XmlMetadataProvider provider(root.Path(), boost::weak_ptr<ResourceLib::IManager>());

    EXPECT_FALSE(provider.GetDefaultLanguage());
    EXPECT_EQ(L"", provider.GetRootPath());
    std::vector<boost::shared_ptr<ISkin>> skins(1);
    EXPECT_TRUE(provider.GetSkins(skins));
    EXPECT_TRUE(skins.empty());
    EXPECT_FALSE(provider.GetDefaultSkin());
}

TEST(XmlMetadataProvider, InvalidFiles) {
    struct Case {
        const char* what;
        std::string content;  // empty: no Metadata.xml at all
        const char* message;
    };
    const Case cases[] = {
        {"no Languages element", Metadata(R"(<Skins><Skin name="Dark" default="1"/></Skins>)"),
         "Invalid 'Metadata.xml' content"},
        {"Languages in the wrong place", "<Other><Languages/></Other>", "Invalid 'Metadata.xml' content"},
        {"not well-formed", "<ResourceLib><Languages>", "Failed to open or parse the designated XML file"},
        {"missing", "", "Failed to open or parse the designated XML file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Testing::TempFolder root;
        if (!c.content.empty())
            root.WriteFile(L"Metadata.xml", c.content);
        try {
            XmlMetadataProvider provider(root.Path(), boost::weak_ptr<ResourceLib::IManager>());
            ADD_FAILURE() << "the provider was built";
        } catch (const std::exception& e) {
            EXPECT_STREQ(c.message, e.what());
        }
    }
}

TEST(XmlMetadataProvider, OverrideFiles) {
    const std::string longName(127, 'a');
    const std::string longerName(130, 'b');
    const std::string metadata = Metadata(R"(
  <Languages>
    <Language name="en-us" default="1"/>
    <Language name="de-de"/>
    <Language name="de-de" title="second"/>
    <Language name=")" + longName + R"("/>
    <Language name=")" + longerName + R"("/>
  </Languages>
  <Skins>
    <Skin name="Dark" default="1"/>
    <Skin name="de-de"/>
    <Skin name=")" + longName + R"("/>
  </Skins>)");

    struct Case {
        const char* what;
        const wchar_t* fileName;  // null: no override file
        std::string content;
        std::wstring language;
        std::wstring skin;
    };
    const std::wstring longWide(longName.begin(), longName.end());
    const Case cases[] = {
        {"no file", nullptr, "", L"en-us", L"Dark"},
        {"language", L"DefaultLanguageOverride", "de-de", L"de-de", L"Dark"},
        {"skin", L"DefaultSkinOverride", "de-de", L"en-us", L"de-de"},
        {"upper case", L"DefaultLanguageOverride", "DE-DE", L"en-us", L"Dark"},
        {"line feed", L"DefaultLanguageOverride", "de-de\n", L"en-us", L"Dark"},
        {"line break", L"DefaultSkinOverride", "de-de\r\n", L"en-us", L"Dark"},
        {"blank", L"DefaultLanguageOverride", " de-de", L"en-us", L"Dark"},
        {"empty", L"DefaultLanguageOverride", "", L"en-us", L"Dark"},
        {"unknown", L"DefaultLanguageOverride", "xx-xx", L"en-us", L"Dark"},
        {"ends at a zero byte", L"DefaultLanguageOverride", std::string("de-de\0tail", 10), L"de-de", L"Dark"},
        {"first 127 bytes count", L"DefaultLanguageOverride", longName + "ccc", longWide, L"Dark"},
        {"first 127 bytes of a skin", L"DefaultSkinOverride", longName + "\n", L"en-us", longWide},
        {"longer names never match", L"DefaultLanguageOverride", longerName, L"en-us", L"Dark"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Testing::TempFolder root;
        root.WriteFile(L"Metadata.xml", metadata);
        if (c.fileName)
            root.WriteFile(c.fileName, c.content);
        XmlMetadataProvider provider(root.Path(), boost::weak_ptr<ResourceLib::IManager>());
        const boost::shared_ptr<ILanguage> language = provider.GetDefaultLanguage();
        EXPECT_EQ(c.language, NameOf(language));
        if (c.language == L"de-de") {
            EXPECT_EQ(L"", language->GetTitle());  // the first of the two
        }
        EXPECT_EQ(c.skin, NameOf(provider.GetDefaultSkin()));
    }
}

TEST(XmlMetadataProvider, SkinTitlesComeThroughTheManager) {
    Testing::TempFolder root;
    root.WriteFile(L"Metadata.xml",
                   Metadata(R"(<Languages/><Skins><Skin name="Dark" titleID="DarkTitle"/></Skins>)"));
    const boost::shared_ptr<ResourceLib::IManager> manager = ResourceLib::CreateManager();
    const auto provider = boost::make_shared<XmlMetadataProvider>(root.Path(), manager);
    const boost::shared_ptr<ISkin> dark = provider->FindSkin(L"Dark");
    ASSERT_TRUE(dark);
    // No storage has the text: the title id stands in.
    EXPECT_EQ(L"DarkTitle", dark->GetTitle());
}

}  // namespace
