#include "resources/resourcelib/FileStorage.h"

#include "FakeProviders.h"
#include "graphics/commongui/SharedBitmaps.h"
#include "resources/resourcelib/ManagerFactory.h"
#include "testing/PictureFiles.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <string>
#include <vector>

namespace {

using ResourceLib::FileStorage;
namespace ResourceTypes = ResourceLib::ResourceTypes;

std::string Bitmap(int width) {
    return Testing::MakeBmp24(width, 1, std::vector<Testing::Bgra>(width, Testing::Bgra{10, 20, 30, 255}));
}

std::wstring WithoutTrailingBackslash(std::wstring path) {
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

// A manager over one loose-file storage of a temporary root, with an
// optional current language ("en-us") and skin ("Dark").
class LooseFiles {
public:
    LooseFiles(bool withLanguage, bool withSkin) {
        m_storage = ResourceLib::CreateFileStorage(m_root.Path());
        m_manager->AddStorage(m_storage);
        if (withLanguage) {
            auto languages = boost::make_shared<ResourceTesting::FakeLanguageProvider>();
            languages->Add(L"en-us", true);
            m_manager->SetLanguageProvider(languages);
        }
        if (withSkin) {
            auto skins = boost::make_shared<ResourceTesting::FakeSkinProvider>();
            skins->Add(L"Dark", true);
            m_manager->SetSkinProvider(skins);
        }
    }

    const Testing::TempFolder& Root() const { return m_root; }
    const boost::shared_ptr<ResourceLib::IManager>& Manager() const { return m_manager; }
    const boost::shared_ptr<ResourceLib::IStorage>& Storage() const { return m_storage; }

    // The layers after the load that the first lookup runs.
    std::vector<std::wstring> LoadedLayers() const {
        boost::system::error_code ec;
        m_storage->GetBitmapByName(L"AnyName", false, &ec);
        std::vector<std::wstring> layers;
        for (const std::wstring& layer : boost::dynamic_pointer_cast<FileStorage>(m_storage)->GetLayers())
            layers.push_back(WithoutTrailingBackslash(layer));
        return layers;
    }

    int BitmapWidth(const wchar_t* name) const {
        return CommonGuiLib::GetBitmapSize(m_manager->GetBitmapByName(name, false)).cx;
    }

private:
    Testing::TempFolder m_root;
    boost::shared_ptr<ResourceLib::IManager> m_manager = ResourceLib::CreateManager();
    boost::shared_ptr<ResourceLib::IStorage> m_storage;
};

TEST(FileStorage, LayersInOrderWhenTheirFoldersExist) {
    const struct {
        const char* label;
        bool language, skin;
        std::vector<std::wstring> folders;
        std::vector<std::wstring> expected;
    } cases[] = {
        {"all four", true, true, {L"en-us\\Dark", L"Common\\Dark", L"en-us", L"Common"},
         {L"en-us\\Dark", L"Common\\Dark", L"en-us", L"Common"}},
        {"skin only under Common", true, true, {L"Common\\Dark", L"en-us", L"Common"},
         {L"Common\\Dark", L"en-us", L"Common"}},
        {"no Common", true, true, {L"en-us\\Dark"}, {L"en-us\\Dark", L"en-us"}},
        {"language, no skin", true, false, {L"en-us\\Dark", L"Common\\Dark", L"en-us", L"Common"},
         {L"en-us", L"Common"}},
        {"skin, no language", false, true, {L"en-us\\Dark", L"Common\\Dark", L"en-us", L"Common"},
         {L"Common\\Dark", L"Common"}},
        {"neither: never loaded", false, false, {L"Common"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        LooseFiles files(c.language, c.skin);
        for (const std::wstring& folder : c.folders)
            files.Root().MakeFolder(folder);
        std::vector<std::wstring> expected;
        for (const std::wstring& folder : c.expected)
            expected.push_back(files.Root() / folder);
        EXPECT_EQ(expected, files.LoadedLayers());
    }
}

TEST(FileStorage, TheMostSpecificLayerWithTheFileWins) {
    LooseFiles files(true, true);
    // The width tells the layer: 1 en-us\Dark, 2 Common\Dark, 3 en-us, 4 Common.
    const wchar_t* const layers[] = {L"en-us\\Dark", L"Common\\Dark", L"en-us", L"Common"};
    const wchar_t* const names[] = {L"A", L"B", L"C", L"D"};
    for (int layer = 0; layer < 4; ++layer) {
        for (int name = 0; name <= layer; ++name)
            files.Root().WriteFile(std::wstring(layers[layer]) + L"\\" + names[name] + L".bmp", Bitmap(layer + 1));
    }
    for (int name = 0; name < 4; ++name) {
        SCOPED_TRACE(testing::Message() << names[name]);
        EXPECT_EQ(name + 1, files.BitmapWidth(names[name]));
    }
    // A file that does not decode counts as absent in its layer.
    files.Root().WriteFile(L"en-us\\Dark\\Broken.bmp", "not a picture");
    files.Root().WriteFile(L"en-us\\Broken.bmp", Bitmap(3));
    EXPECT_EQ(3, files.BitmapWidth(L"Broken"));
}

TEST(FileStorage, NamesAddressSubfolders) {
    const struct {
        const wchar_t* name;
        ResourceLib::ResourceType type;
        const wchar_t* file;
    } cases[] = {
        {L"Toolbar__Play", ResourceTypes::Bitmap, L"Toolbar\\Play.bmp"},
        {L"Toolbar/Play", ResourceTypes::Bitmap, L"Toolbar\\Play.bmp"},
        {L"a/b__c", ResourceTypes::Icon, L"a\\b\\c.ico"},
        {L"Data", ResourceTypes::Binary, L"Data.bin"},
        {L"Text", ResourceTypes::String, L"Text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        EXPECT_EQ(std::wstring(c.file), ResourceLib::GetLooseFileName(c.name, c.type));
    }

    LooseFiles files(true, false);
    files.Root().WriteFile(L"Common\\Toolbar\\Play.bmp", Bitmap(5));
    EXPECT_EQ(5, files.BitmapWidth(L"Toolbar__Play"));
    EXPECT_EQ(5, files.BitmapWidth(L"Toolbar/Play"));
}

TEST(FileStorage, IconsAtEachSizeAsked) {
    LooseFiles files(true, true);
    files.Root().WriteFile(L"Common\\Dark\\App.ico",
                           Testing::MakeIco({{16, {0, 0, 255, 255}}, {32, {255, 0, 0, 255}}}));
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        const ResourceLib::SharedIcon icon = files.Manager()->GetIconByName(L"App", size, size);
        ASSERT_FALSE(CommonGuiLib::IsNullGDIObject(icon));
        EXPECT_EQ(size, CommonGuiLib::GetIconSize(icon).cx);
    }
    boost::system::error_code ec;
    EXPECT_FALSE(files.Storage()->GetIconByName(L"Missing", 16, 16, &ec));
    EXPECT_EQ(ResourceLib::ResourceNotFound, ec.value());
}

TEST(FileStorage, BinariesByRegisteredIdOnly) {
    LooseFiles files(true, false);
    files.Root().WriteFile(L"en-us\\Data.bin", std::string("\x01\x02\x00\x03", 4));
    files.Manager()->RegisterResourceName(3, L"Data", ResourceTypes::Binary);
    files.Manager()->RegisterResourceName(5, L"Missing", ResourceTypes::Binary);

    const ResourceLib::BinaryData data = files.Manager()->GetBinaryById(3);
    ASSERT_EQ(4u, data.size);
    EXPECT_EQ(std::vector<BYTE>({1, 2, 0, 3}), std::vector<BYTE>(data.pData, data.pData + data.size));

    const struct {
        const char* label;
        int id;
        const wchar_t* name;
        int code;
    } failures[] = {
        {"by name", -1, L"Data", ResourceLib::NotSupported},
        {"registered, no file", 5, nullptr, ResourceLib::ResourceNotFound},
        {"no registered name", 4, nullptr, ResourceLib::InvalidResourceName},
        {"negative id", -2, nullptr, ResourceLib::InvalidResourceID},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.label);
        boost::system::error_code ec;
        const ResourceLib::BinaryData none =
            f.name ? files.Storage()->GetBinaryByName(f.name, &ec) : files.Storage()->GetBinaryById(f.id, &ec);
        EXPECT_EQ(nullptr, none.pData);
        EXPECT_EQ(f.code, ec.value());
        EXPECT_EQ(&ResourceLib::GetErrorCategory(), &ec.category());
    }
}

TEST(FileStorage, BitmapByIdUsesTheRegisteredName) {
    LooseFiles files(false, true);
    files.Root().WriteFile(L"Common\\Dark\\Logo.bmp", Bitmap(7));
    files.Manager()->RegisterResourceName(2, L"Logo", ResourceTypes::Bitmap);
    EXPECT_EQ(7, CommonGuiLib::GetBitmapSize(files.Manager()->GetBitmapById(2, false)).cx);
    boost::system::error_code ec;
    EXPECT_FALSE(files.Storage()->GetBitmapById(9, false, &ec));
    EXPECT_EQ(ResourceLib::InvalidResourceName, ec.value());
}

}  // namespace
