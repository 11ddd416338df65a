#include "toolkit/SkinManager.h"

#include "atlexcept.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

namespace {

struct SkinCase {
    const char* name;
    const char* skinBytes;     // null: no skin file
    const char* settingsBytes; // null: no settings file
    bool loads;
};

class SkinManagerTest : public ::testing::Test {
protected:
    void TearDown() override { Toolkit::GetSkinManager().Reset(); }
    Testing::TempFolder m_folder;
};

TEST_F(SkinManagerTest, LoadsOnlyWhenBothFilesAreThere) {
    const SkinCase cases[] = {
        {"both files", "skin", "[Settings]\r\n", true},
        {"empty settings file", "skin", "", true},
        {"no settings file", "skin", nullptr, false},
        {"no skin file", nullptr, "[Settings]\r\n", false},
    };
    for (const SkinCase& c : cases) {
        SCOPED_TRACE(c.name);
        Testing::TempFolder styles;
        if (c.skinBytes)
            styles.WriteFile(L"Default.skn", c.skinBytes);
        if (c.settingsBytes)
            styles.WriteFile(L"Default.INI", c.settingsBytes);
        Toolkit::SkinManager manager;
        EXPECT_EQ(c.loads, manager.LoadSkin(styles / L"Default.skn", L"Default.INI"));
        EXPECT_EQ(c.loads, manager.HasSkin());
        if (c.loads) {
            EXPECT_EQ(styles / L"Default.INI", manager.GetSettingsFile());
            EXPECT_EQ(std::string(c.skinBytes),
                      std::string(manager.GetSkinData().begin(), manager.GetSkinData().end()));
        }
    }
}

TEST_F(SkinManagerTest, EmptySkinFileRaisesAndKeepsTheCurrentSkin) {
    m_folder.WriteFile(L"Good.skn", "skin");
    m_folder.WriteFile(L"Default.INI", "");
    m_folder.WriteFile(L"Empty.skn", "");
    Toolkit::SkinManager& manager = Toolkit::GetSkinManager();
    ASSERT_TRUE(manager.LoadSkin(m_folder / L"Good.skn", L"Default.INI"));
    EXPECT_THROW(manager.LoadSkin(m_folder / L"Empty.skn", L"Default.INI"), ATL::CAtlException);
    EXPECT_EQ(m_folder / L"Good.skn", manager.GetSkinFile());
}

TEST_F(SkinManagerTest, OneManagerPerProcess) {
    EXPECT_EQ(&Toolkit::GetSkinManager(), &Toolkit::GetSkinManager());
}

}  // namespace
