#include "resources/resourcelib/XmlStorage.h"

#include "foundation/filesystem/FileNames.h"
#include "foundation/filesystem/XmlFileCheck.h"
#include "foundation/strings/StringAlgorithms.h"
#include "testing/ResourceFolder.h"
#include "graphics/commongui/SharedBitmaps.h"
#include "testing/PictureFiles.h"

#include <boost/system/system_error.hpp>
#include <gtest/gtest.h>

#include <string>

namespace {

using namespace ResourceLib;
using ResourceTesting::ResourceFolder;

boost::system::error_code ResourceError(ResourceErrorCodes code) {
    return boost::system::error_code(code, GetErrorCategory());
}

testing::AssertionResult SamePath(const std::wstring& expected, const std::wstring& actual) {
    if (STLHelpers::IsEqualNoCase(FileSystem::NormalizePath(expected, L"", FileSystem::kNormalizeAll),
                                  FileSystem::NormalizePath(actual, L"", FileSystem::kNormalizeAll)))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << testing::PrintToString(actual) << " is not "
                                       << testing::PrintToString(expected);
}

// The four layers of the default language en-us and skin Dark, each naming
// itself in "Layer" and defining the names of the layers below it too.
void WriteFourLayers(const ResourceFolder& folder) {
    folder.WriteResources(L"en-us\\Dark", R"(<String name="Layer" value="en-us\Dark"/>)");
    folder.WriteResources(L"Common\\Dark", R"(<String name="Layer" value="Common\Dark"/>
        <String name="SkinOrLanguage" value="Common\Dark"/>)");
    folder.WriteResources(L"en-us", R"(<String name="Layer" value="en-us"/>
        <String name="SkinOrLanguage" value="en-us"/><String name="LanguageOrCommon" value="en-us"/>)");
    folder.WriteResources(L"Common", R"(<String name="Layer" value="Common"/>
        <String name="SkinOrLanguage" value="Common"/><String name="LanguageOrCommon" value="Common"/>
        <String name="CommonOnly" value="Common"/>)");
}

TEST(XmlStorage, LayersInOrder) {
    ResourceFolder folder;
    WriteFourLayers(folder);
    folder.Open();
    IManager& manager = *folder.manager;
    EXPECT_EQ(L"en-us\\Dark", manager.GetStringByName(L"Layer"));
    EXPECT_EQ(L"Common\\Dark", manager.GetStringByName(L"SkinOrLanguage"));
    EXPECT_EQ(L"en-us", manager.GetStringByName(L"LanguageOrCommon"));
    EXPECT_EQ(L"Common", manager.GetStringByName(L"CommonOnly"));

    // Without a skin only the language's layer and Common are read.
    manager.SetSkin(boost::shared_ptr<ISkin>());
    EXPECT_EQ(L"en-us", manager.GetStringByName(L"Layer"));
    EXPECT_EQ(L"en-us", manager.GetStringByName(L"SkinOrLanguage"));

    // Another language has no layer here: Common serves.
    ASSERT_TRUE(manager.SetLanguageByName(L"de-de"));
    EXPECT_EQ(L"Common", manager.GetStringByName(L"Layer"));
    ASSERT_TRUE(manager.SetSkinByName(L"Dark"));
    EXPECT_EQ(L"Common\\Dark", manager.GetStringByName(L"Layer"));
}

TEST(XmlStorage, BrokenLayersAreLeftOut) {
    struct Case {
        const char* what;
        std::string content;
    };
    const Case cases[] = {
        {"not well-formed", "<ResourceLib><Resources><String name=\"Layer\" value=\"broken\"/>"},
        {"no Resources element", "<ResourceLib><String name=\"Layer\" value=\"broken\"/></ResourceLib>"},
        {"another root", "<Skin><Resources><String name=\"Layer\" value=\"broken\"/></Resources></Skin>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResourceFolder folder;
        WriteFourLayers(folder);
        folder.WriteFile(L"en-us\\Dark\\Resources.xml", c.content);
        folder.Open();
        EXPECT_EQ(L"Common\\Dark", folder.manager->GetStringByName(L"Layer"));
        EXPECT_EQ(L"Common", folder.manager->GetStringByName(L"CommonOnly"));
    }
}

// The language's own file, broken each way a copy on disk breaks: the check
// the program runs before it relies on the texts names the fault, and the
// storage leaves the file out while the other layers serve.
TEST(XmlStorage, ABrokenLanguageFileIsNamedWithItsFault) {
    using FileSystem::XmlFileFault;
    const std::string good = "<?xml version=\"1.0\" encoding=\"utf-8\"?><ResourceLib><Resources>"
                             "<String name=\"LanguageOrCommon\" value=\"en-us\"/></Resources></ResourceLib>";
    struct Case {
        const char* what;
        bool write;
        std::string content;
        XmlFileFault fault;
    };
    const Case cases[] = {
        {"missing", false, "", XmlFileFault::Missing},
        {"empty", true, "", XmlFileFault::Empty},
        {"truncated", true, good.substr(0, good.size() / 2), XmlFileFault::NotWellFormed},
        {"not XML", true, "Title=Videos\r\n", XmlFileFault::NotWellFormed},
        {"wrong root", true, "<Strings><Resources><String name=\"LanguageOrCommon\" value=\"x\"/></Resources></Strings>",
         XmlFileFault::WrongRoot},
        {"bytes not in the declared encoding", true,
         "<?xml version=\"1.0\" encoding=\"utf-8\"?><ResourceLib><Resources>"
         "<String name=\"LanguageOrCommon\" value=\"caf\xE9\"/></Resources></ResourceLib>",
         XmlFileFault::WrongEncoding},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResourceFolder folder;
        WriteFourLayers(folder);
        const std::wstring file = XmlStorage::GetLanguageFilePath(folder.Root(), L"en-us");
        EXPECT_TRUE(SamePath(folder.Path(L"en-us\\Resources.xml"), file));
        if (c.write)
            folder.WriteFile(L"en-us\\Resources.xml", c.content);
        else
            ::DeleteFileW(file.c_str());
        folder.Open();
        std::wstring why;
        EXPECT_EQ(c.fault, FileSystem::CheckXmlFile(file, XmlStorage::kResourcesElement, why));
        EXPECT_FALSE(why.empty());
        EXPECT_EQ(L"Common", folder.manager->GetStringByName(L"LanguageOrCommon"));
        EXPECT_EQ(L"Common", folder.manager->GetStringByName(L"CommonOnly"));
    }
    ResourceFolder folder;
    WriteFourLayers(folder);
    std::wstring why;
    EXPECT_EQ(XmlFileFault::None,
              FileSystem::CheckXmlFile(XmlStorage::GetLanguageFilePath(folder.Root(), L"en-us"),
                                       XmlStorage::kResourcesElement, why));
}

TEST(XmlStorage, NoLayerAtAll) {
    ResourceFolder folder;
    folder.Open();
    folder.manager->RegisterResourceName(1, L"Title", ResourceTypes::String);
    boost::system::error_code ec;
    folder.storage->GetStringByName(L"Title", &ec);
    EXPECT_EQ(ResourceError(ResourceNotFound), ec);
    folder.storage->GetStringById(1, &ec);
    EXPECT_EQ(ResourceError(InvalidStorageState), ec);
}

TEST(XmlStorage, TextValues) {
    ResourceFolder folder;
    folder.WriteResources(L"en-us", R"(
        <String name="Attribute" value="from the attribute"/>
        <String name="Text">from the text</String>
        <String name="Both" value="attribute wins">text</String>
        <String name="Neither"/>
        <String name="Spaces" value=" two&#10;lines "/>
        <string name="Lower" value="wrong case"/>
        <Integer name="Count" value="-42"/>
        <Integer name="Empty" value=""/>
        <Integer name="Bad" value="12x"/>
        <Integer name="Later" value=""/>
        <Integer name="AfterBad" value="ten"/>
        <Color name="Short" value="#10"/>
        <Color name="Name" value="@COLOR_WINDOWTEXT"/>
        <Color name="NoValue"/>)");
    folder.WriteResources(L"Common", R"(
        <Integer name="Later" value="7"/>
        <Integer name="AfterBad" value="5"/>
        <Color name="Short" value="#102030"/>
        <Color name="Triple" value="300,0,0"/>
        <String name="Lower" value="Common"/>)");
    folder.Open();
    IManager& manager = *folder.manager;

    const struct {
        const wchar_t* name;
        const wchar_t* expected;
    } strings[] = {
        {L"Attribute", L"from the attribute"}, {L"Text", L"from the text"}, {L"Both", L"attribute wins"},
        {L"Neither", L""},                     {L"Spaces", L" two\nlines "}, {L"Lower", L"Common"},
    };
    for (const auto& c : strings) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        boost::system::error_code ec = ResourceError(InvalidResource);
        EXPECT_EQ(c.expected, folder.storage->GetStringByName(c.name, &ec));
        EXPECT_FALSE(ec);
    }

    EXPECT_EQ(-42, manager.GetIntegerByName(L"Count"));
    EXPECT_EQ(7, manager.GetIntegerByName(L"Later"));
    // A malformed number spoils its layer, never the lookup.
    EXPECT_EQ(5, manager.GetIntegerByName(L"AfterBad"));
    boost::system::error_code ec;
    EXPECT_EQ(0, folder.storage->GetIntegerByName(L"Bad", &ec));
    EXPECT_EQ(ResourceError(ResourceNotFound), ec);
    EXPECT_EQ(0, folder.storage->GetIntegerByName(L"Empty", &ec));
    EXPECT_EQ(ResourceError(ResourceNotFound), ec);

    EXPECT_EQ(RGB(0x10, 0x20, 0x30), manager.GetColorByName(L"Short"));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), manager.GetColorByName(L"Name"));
    EXPECT_EQ(RGB(44, 0, 0), manager.GetColorByName(L"Triple"));
    EXPECT_EQ(0u, folder.storage->GetColorByName(L"NoValue", &ec));
    EXPECT_EQ(ResourceError(ResourceNotFound), ec);
}

TEST(XmlStorage, UnlocalizedStringsOnlyWithAnErrorCode) {
    ResourceFolder folder;
    folder.WriteResources(L"en-us", R"(<UnlocalizedString name="Brand" value="Brunlow"/>)");
    folder.WriteResources(L"Common", R"(<String name="Both" value="localized"/>
        <UnlocalizedString name="Both" value="unlocalized"/>)");
    folder.Open();

    boost::system::error_code ec;
    EXPECT_EQ(L"Brunlow", folder.storage->GetStringByName(L"Brand", &ec));
    EXPECT_FALSE(ec);
    EXPECT_EQ(L"localized", folder.storage->GetStringByName(L"Both", &ec));
    // The manager always passes an error code.
    EXPECT_EQ(L"Brunlow", folder.manager->GetStringByName(L"Brand"));

    folder.storage->ResetCaches();
    try {
        folder.storage->GetStringByName(L"Brand");
        ADD_FAILURE() << "a String miss without an error code did not raise";
    } catch (const boost::system::system_error& e) {
        EXPECT_EQ(ResourceError(ResourceNotFound), e.code());
    }
}

TEST(XmlStorage, ById) {
    ResourceFolder folder;
    folder.WriteResources(L"Common", R"(<String name="Title" value="Videos"/><Integer name="Margin" value="4"/>
        <Color name="Back" value="#0000FF"/>)");
    folder.Open();
    IManager& manager = *folder.manager;
    manager.RegisterResourceName(0, L"Title", ResourceTypes::String);
    manager.RegisterResourceName(5, L"Margin", ResourceTypes::Integer);
    manager.RegisterResourceName(5, L"Back", ResourceTypes::Color);
    EXPECT_EQ(L"Videos", manager.GetStringById(0));
    EXPECT_EQ(4, manager.GetIntegerById(5));
    EXPECT_EQ(RGB(0, 0, 255), manager.GetColorById(5));

    boost::system::error_code ec;
    folder.storage->GetStringById(-3, &ec);
    EXPECT_EQ(ResourceError(InvalidResourceID), ec);
    folder.storage->GetStringById(1, &ec);
    EXPECT_EQ(ResourceError(InvalidResourceName), ec);
    folder.storage->GetFilePath(-1, ResourceTypes::FilePath, &ec);
    EXPECT_EQ(ResourceError(InvalidResourceID), ec);
}

TEST(XmlStorage, FilePathsAcrossLayers) {
    ResourceFolder folder;
    folder.WriteResources(L"en-us", "");
    folder.WriteResources(L"Common", R"(<FilePath name="Layout" value="Layouts/main.xml"/>
        <FilePath name="Shared" value="Layouts\shared.xml"/>
        <FilePath name="Nowhere" value="Layouts\missing.xml"/>)");
    const std::wstring inLanguage = folder.WriteFile(L"en-us\\Layouts\\main.xml", "<Layout/>");
    folder.WriteFile(L"Common\\Layouts\\main.xml", "<Layout/>");
    const std::wstring inCommon = folder.WriteFile(L"Common\\Layouts\\shared.xml", "<Layout/>");
    folder.Open();
    IManager& manager = *folder.manager;
    manager.SetSkin(boost::shared_ptr<ISkin>());
    manager.RegisterResourceName(1, L"Layout", ResourceTypes::FilePath);
    manager.RegisterResourceName(2, L"Shared", ResourceTypes::FilePath);
    manager.RegisterResourceName(3, L"Nowhere", ResourceTypes::FilePath);

    // The language's layer is tried first, though Common defines the name.
    EXPECT_TRUE(SamePath(inLanguage, manager.GetFilePath(1, ResourceTypes::FilePath)));
    EXPECT_TRUE(SamePath(inCommon, manager.GetFilePath(2, ResourceTypes::FilePath)));
    boost::system::error_code ec;
    EXPECT_EQ(L"", folder.storage->GetFilePath(3, ResourceTypes::FilePath, &ec));
    EXPECT_EQ(ResourceError(ResourceNotFound), ec);
}

TEST(XmlStorage, BinariesPreferTheSkinFolder) {
    ResourceFolder folder;
    folder.WriteResources(L"en-us", R"(<Binary name="Data" path="data.bin"/><Binary name="Missing" path="none.bin"/>
        <Binary name="NoPath"/>)");
    folder.WriteResources(L"Common", R"(<Binary name="Missing" path="there.bin"/>
        <Binary name="NoPath" path="there.bin"/>)");
    folder.WriteFile(L"en-us\\data.bin", "plain");
    folder.WriteFile(L"en-us\\Dark\\data.bin", "skin");
    folder.WriteFile(L"Common\\there.bin", "common");
    folder.Open();
    IManager& manager = *folder.manager;
    manager.RegisterResourceName(1, L"Data", ResourceTypes::Binary);
    manager.RegisterResourceName(2, L"Missing", ResourceTypes::Binary);
    manager.RegisterResourceName(3, L"NoPath", ResourceTypes::Binary);
    const auto text = [](const BinaryData& data) {
        return data.pData ? std::string(reinterpret_cast<const char*>(data.pData), data.size) : std::string("(none)");
    };

    EXPECT_EQ("skin", text(manager.GetBinaryById(1)));
    EXPECT_EQ("common", text(manager.GetBinaryById(2)));
    EXPECT_EQ("common", text(manager.GetBinaryById(3)));

    ASSERT_TRUE(manager.SetSkinByName(L"Light"));
    EXPECT_EQ("plain", text(manager.GetBinaryById(1)));
}

TEST(XmlStorage, Icons) {
    ResourceFolder folder;
    folder.WriteResources(L"Common", R"(<Icon name="App" path="app.ico"/><Icon name="Broken" path="broken.ico"/>)");
    folder.WriteFile(L"Common\\app.ico", Testing::MakeIco({{16, {0, 0, 255, 255}}, {32, {255, 0, 0, 255}}}));
    folder.WriteFile(L"Common\\broken.ico", "not an icon");
    folder.Open();

    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        const SharedIcon icon = folder.manager->GetIconByName(L"App", size, size);
        ASSERT_FALSE(CommonGuiLib::IsNullGDIObject(icon));
        const SIZE actual = CommonGuiLib::GetIconSize(icon);
        EXPECT_EQ(size, actual.cx);
        EXPECT_EQ(size, actual.cy);
    }
    boost::system::error_code ec;
    EXPECT_FALSE(folder.storage->GetIconByName(L"Broken", 16, 16, &ec));
    EXPECT_EQ(ResourceError(ResourceNotFound), ec);
}

TEST(XmlStorage, FontsAcrossLayers) {
    ResourceFolder folder;
    folder.WriteResources(L"en-us", R"(<Font name="Text" value="Nope Face,12|Tahoma,-13,1"/>
        <Font name="NoComma" value="Tahoma"/><Font name="BadField">Tahoma,-13,bold</Font>)");
    folder.WriteResources(L"Common", R"(<Font name="NoComma" value="Tahoma,-11"/>
        <Font name="BadField" value="Tahoma,-12"/><Font name="Menu" value="@MenuFont,"/>)");
    folder.Open();
    const auto describe = [&](const wchar_t* name) {
        LOGFONTW font = {};
        const SharedFont shared = folder.manager->GetFontByName(name);
        EXPECT_TRUE(shared && ::GetObjectW(shared->GetHandle(), sizeof(font), &font)) << "no font";
        return font;
    };

    const LOGFONTW text = describe(L"Text");
    EXPECT_EQ(std::wstring(L"Tahoma"), text.lfFaceName);
    EXPECT_EQ(-13, text.lfHeight);
    EXPECT_EQ(800, text.lfWeight);
    EXPECT_EQ(-11, describe(L"NoComma").lfHeight);
    EXPECT_EQ(-12, describe(L"BadField").lfHeight);

    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = 500;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &metrics, 0));
    const LOGFONTW menu = describe(L"Menu");
    EXPECT_EQ(std::wstring(metrics.lfMenuFont.lfFaceName), menu.lfFaceName);
    EXPECT_EQ(metrics.lfMenuFont.lfHeight, menu.lfHeight);

    // The same font object comes from the cache.
    EXPECT_EQ(folder.manager->GetFontByName(L"Text"), folder.manager->GetFontByName(L"Text"));
}

}  // namespace
