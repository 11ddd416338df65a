#include "resources/resourcelib/SystemStorage.h"

#include "foundation/filesystem/ShellFolders.h"
#include "graphics/commongui/SharedBitmaps.h"
#include "resources/resourcelib/ManagerFactory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The module beside the tests that holds four icons.
std::wstring TestIconFile() {
    return FileSystem::GetModuleFolder(nullptr).GetFile(L"resources_test_icons.dll").GetPath();
}

class SystemValues {
public:
    SystemValues() { m_manager->AddStorage(m_storage); }

    const boost::shared_ptr<ResourceLib::IManager>& Manager() const { return m_manager; }
    const boost::shared_ptr<ResourceLib::IStorage>& Storage() const { return m_storage; }

private:
    boost::shared_ptr<ResourceLib::IManager> m_manager = ResourceLib::CreateManager();
    boost::shared_ptr<ResourceLib::IStorage> m_storage = ResourceLib::CreateSystemStorage();
};

TEST(SystemStorage, ColorsByNameAndIndex) {
    SystemValues system;
    const boost::shared_ptr<ResourceLib::IManager>& manager = system.Manager();
    EXPECT_EQ(::GetSysColor(COLOR_3DFACE), manager->GetColorByName(L"COLOR_BTNFACE"));
    EXPECT_EQ(manager->GetColorByName(L"COLOR_3DFACE"), manager->GetColorByName(L"COLOR_BTNFACE"));
    EXPECT_EQ(::GetSysColor(0), manager->GetColorById(0));
    EXPECT_EQ(::GetSysColor(30), manager->GetColorById(30));

    const struct {
        const char* label;
        const wchar_t* name;
        int id;
    } misses[] = {
        {"lower case", L"color_btnface", 0},
        {"unknown name", L"COLOR_NONE", 0},
        {"index 31", nullptr, 31},
        {"large index", nullptr, 1000},
    };
    for (const auto& m : misses) {
        SCOPED_TRACE(m.label);
        boost::system::error_code ec;
        const COLORREF color =
            m.name ? system.Storage()->GetColorByName(m.name, &ec) : system.Storage()->GetColorById(m.id, &ec);
        EXPECT_EQ(0u, color);
        EXPECT_EQ(ResourceLib::ResourceNotFound, ec.value());
    }
}

TEST(SystemStorage, IconsOfSystemFilesByLocation) {
    SystemValues system;
    const ResourceLib::SharedIcon icon = system.Manager()->GetIconByName(TestIconFile() + L",3", 16, 16);
    ASSERT_FALSE(CommonGuiLib::IsNullGDIObject(icon));
    EXPECT_EQ(16, CommonGuiLib::GetIconSize(icon).cx);
    EXPECT_EQ(16, CommonGuiLib::GetIconSize(icon).cy);

    const struct {
        const char* label;
        std::wstring name;
        int size;
    } misses[] = {
        {"24 x 24", TestIconFile() + L",3", 24},
        {"index past the last icon", TestIconFile() + L",4", 16},
        {"minus sign", TestIconFile() + L",-3", 16},
        {"no index", TestIconFile() + L",", 16},
        {"no file", L",3", 16},
    };
    for (const auto& m : misses) {
        SCOPED_TRACE(m.label);
        boost::system::error_code ec;
        EXPECT_FALSE(system.Storage()->GetIconByName(m.name, m.size, m.size, &ec));
        EXPECT_EQ(ResourceLib::ResourceNotFound, ec.value());
    }
    boost::system::error_code ec;
    EXPECT_FALSE(system.Storage()->GetIconById(3, 16, 16, &ec));
    EXPECT_EQ(ResourceLib::ResourceNotFound, ec.value());
}

TEST(SystemStorage, ServesIconsAndColorsOnly) {
    SystemValues system;
    EXPECT_EQ(ResourceLib::ResourceTypes::Icon | ResourceLib::ResourceTypes::Color, system.Storage()->GetSupportedTypes());
    boost::system::error_code ec;
    system.Storage()->GetStringByName(L"COLOR_3DFACE", &ec);
    EXPECT_EQ(ResourceLib::NotSupported, ec.value());
}

}  // namespace
