#include "resources/resourcelib/ManagerFactory.h"
#include "resources/resourcelib/Skin.h"
#include "resources/tests/FakeProviders.h"
#include "resources/tests/FakeStorage.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace ResourceLib;
using ResourceTesting::FakeLanguageProvider;
using ResourceTesting::FakeStorage;

TEST(Skin, TitleIsTheCurrentLanguagesText) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    const auto languages = boost::make_shared<FakeLanguageProvider>();
    languages->Add(L"en-us", true);
    languages->Add(L"de-de");
    manager->SetLanguageProvider(languages);
    const auto storage = boost::make_shared<FakeStorage>(ResourceTypes::String, L"texts");
    IManager* const texts = manager.get();
    storage->m_textOf = [texts](const std::wstring& name) { return texts->GetCurrentLanguageName() + L" " + name; };
    storage->Add(L"SkinDarkTitle");
    manager->AddStorage(storage);

    Skin dark(L"Dark", L"SkinDarkTitle", manager);
    EXPECT_EQ(L"Dark", dark.GetName());
    EXPECT_EQ(L"en-us SkinDarkTitle", dark.GetTitle());
    ASSERT_TRUE(manager->SetLanguageByName(L"de-de"));
    EXPECT_EQ(L"de-de SkinDarkTitle", dark.GetTitle()) << "not cached";

    Skin unnamed(L"Light", L"SkinLightTitle", manager);
    EXPECT_EQ(L"SkinLightTitle", unnamed.GetTitle()) << "a missing text gives the title id";
    manager->SetThrowOnFailure(true);
    EXPECT_THROW(unnamed.GetTitle(), std::runtime_error) << "the manager's setting decides";
}

TEST(Skin, OutlivesItsManager) {
    boost::shared_ptr<IManager> manager = CreateManager();
    const auto storage = boost::make_shared<FakeStorage>(ResourceTypes::String, L"texts");
    storage->Add(L"SkinDarkTitle");
    manager->AddStorage(storage);
    Skin dark(L"Dark", L"SkinDarkTitle", manager);
    EXPECT_EQ(L"texts:SkinDarkTitle", dark.GetTitle());
    manager.reset();
    EXPECT_EQ(L"SkinDarkTitle", dark.GetTitle());
    EXPECT_EQ(L"Dark", dark.GetName());

    Skin orphan(L"Blue", L"", boost::weak_ptr<IManager>());
    EXPECT_EQ(L"", orphan.GetTitle());
}

}  // namespace
