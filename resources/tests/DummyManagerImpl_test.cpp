#include "resources/resourcelib/DummyManagerImpl.h"
#include "resources/resourcelib/ManagerFactory.h"
#include "resources/tests/FakeProviders.h"
#include "resources/tests/FakeStorage.h"

#include <gtest/gtest.h>

namespace {

using namespace ResourceLib;

TEST(DummyManagerImpl, AnswersEmptyAndTakesNothing) {
    const boost::shared_ptr<IManager> dummy = CreateDummyManager();
    ASSERT_NE(nullptr, dynamic_cast<DummyManagerImpl*>(dummy.get()));
    EXPECT_EQ(nullptr, dynamic_cast<IInternalManager*>(dummy.get())) << "storages must not attach to it";

    const auto storage = boost::make_shared<ResourceTesting::FakeStorage>(ResourceTypes::All, L"s");
    storage->Add(L"x");
    EXPECT_FALSE(dummy->AddStorage(storage));
    EXPECT_EQ(0, storage->AttachCalls());
    EXPECT_EQ(1, storage.use_count()) << "the argument is released";

    const auto languages = boost::make_shared<ResourceTesting::FakeLanguageProvider>();
    const auto english = languages->Add(L"en-us", true);
    const auto skins = boost::make_shared<ResourceTesting::FakeSkinProvider>();
    const auto dark = skins->Add(L"Dark", true);
    EXPECT_FALSE(dummy->SetLanguageProvider(languages));
    EXPECT_FALSE(dummy->SetSkinProvider(skins));
    EXPECT_FALSE(dummy->SetLanguage(english));
    EXPECT_FALSE(dummy->SetSkin(dark));
    EXPECT_FALSE(dummy->SetFallbackManager(CreateManager()));
    EXPECT_FALSE(dummy->SetLanguageByName(L"en-us"));
    EXPECT_FALSE(dummy->SetSkinByName(L"Dark"));
    EXPECT_EQ(1, languages.use_count());
    dummy->SetExtraParamsProvider(nullptr);
    dummy->Reset();

    EXPECT_FALSE(dummy->RegisterResourceName(1, L"x", ResourceTypes::String));
    EXPECT_EQ(L"", dummy->GetResourceName(1, ResourceTypes::String));
    EXPECT_EQ(0, dummy->GetResourceId(L"x", ResourceTypes::String)) << "0, not -1";
    EXPECT_FALSE(dummy->ResetCaches());
    EXPECT_FALSE(dummy->ReleaseCachedResource(1, ResourceTypes::String));
    dummy->SetThrowOnFailure(true);
    EXPECT_FALSE(dummy->GetThrowOnFailure());

    EXPECT_EQ(L"", dummy->GetStringByName(L"x"));
    EXPECT_EQ(L"", dummy->GetStringById(1));
    EXPECT_EQ(nullptr, dummy->GetBitmapByName(L"x", true));
    EXPECT_EQ(nullptr, dummy->GetBitmapById(1, false));
    EXPECT_EQ(nullptr, dummy->GetIconByName(L"x", 16, 16));
    EXPECT_EQ(nullptr, dummy->GetIconById(1, 32, 32));
    EXPECT_TRUE(dummy->GetBinaryByName(L"x").empty());
    EXPECT_EQ(0u, dummy->GetBinaryById(1).size);
    EXPECT_EQ(0u, dummy->GetColorByName(L"x"));
    EXPECT_EQ(0u, dummy->GetColorById(1));
    EXPECT_EQ(nullptr, dummy->GetFontByName(L"x"));
    EXPECT_EQ(nullptr, dummy->GetFontById(1));
    EXPECT_EQ(0, dummy->GetIntegerByName(L"x"));
    EXPECT_EQ(0, dummy->GetIntegerById(1));
    EXPECT_EQ(L"", dummy->GetFilePath(1, ResourceTypes::FilePath));

    EXPECT_EQ(nullptr, dummy->GetLanguageProvider());
    EXPECT_EQ(nullptr, dummy->GetCurrentLanguage());
    EXPECT_EQ(nullptr, dummy->GetSkinProvider());
    EXPECT_EQ(nullptr, dummy->GetCurrentSkin());
    EXPECT_EQ(nullptr, dummy->GetExtraParamsProvider());
}

}  // namespace
