#include "resources/resourcelib/ManagerFactory.h"
#include "resources/tests/FakeProviders.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace ResourceLib;
using ResourceTesting::FakeLanguageProvider;
using ResourceTesting::FakeSkinProvider;

std::wstring NameOf(const boost::shared_ptr<ILanguage>& language) {
    return language ? language->GetName() : L"(none)";
}
std::wstring NameOf(const boost::shared_ptr<ISkin>& skin) {
    return skin ? skin->GetName() : L"(none)";
}

// Records every notification as "language prev>cur" or "skin prev>cur".
class RecordingObserver : public IManager::IObserver {
public:
    void OnLanguageChanged(boost::shared_ptr<IManager> manager, boost::shared_ptr<ILanguage> previous,
                           boost::shared_ptr<ILanguage> current) override {
        Record(manager, L"language " + NameOf(previous) + L">" + NameOf(current));
    }
    void OnSkinChanged(boost::shared_ptr<IManager> manager, boost::shared_ptr<ISkin> previous,
                       boost::shared_ptr<ISkin> current) override {
        Record(manager, L"skin " + NameOf(previous) + L">" + NameOf(current));
    }

    std::vector<std::wstring> events;
    boost::shared_ptr<IManager> lastManager;
    DWORD lastThread = 0;
    std::function<void()> during;

private:
    void Record(const boost::shared_ptr<IManager>& manager, const std::wstring& event) {
        events.push_back(event);
        lastManager = manager;
        lastThread = ::GetCurrentThreadId();
        if (during)
            during();
    }
};

class Switching : public ::testing::Test {
protected:
    void SetUp() override {
        english = languages->Add(L"en-us", true, 0x0409);
        german = languages->Add(L"de-de", false, 0x0407);
        light = skins->Add(L"Light", true);
        dark = skins->Add(L"Dark");
        ASSERT_TRUE(manager->Observers.Add(static_cast<IManager::IObserver*>(&observer)));
    }
    void TearDown() override { manager->Observers.Remove(static_cast<IManager::IObserver*>(&observer)); }

    boost::shared_ptr<IManager> manager = CreateManager();
    boost::shared_ptr<FakeLanguageProvider> languages = boost::make_shared<FakeLanguageProvider>();
    boost::shared_ptr<FakeSkinProvider> skins = boost::make_shared<FakeSkinProvider>();
    boost::shared_ptr<ILanguage> english, german;
    boost::shared_ptr<ISkin> light, dark;
    RecordingObserver observer;
};

typedef std::vector<std::wstring> Events;

TEST_F(Switching, ProvidersSelectTheirDefaults) {
    EXPECT_FALSE(manager->SetLanguageProvider(nullptr));
    EXPECT_FALSE(manager->SetSkinProvider(nullptr));
    EXPECT_EQ(nullptr, manager->GetLanguageProvider());
    EXPECT_TRUE(observer.events.empty());

    EXPECT_TRUE(manager->SetLanguageProvider(languages));
    EXPECT_TRUE(manager->SetSkinProvider(skins));
    EXPECT_EQ(languages, manager->GetLanguageProvider());
    EXPECT_EQ(skins, manager->GetSkinProvider());
    EXPECT_EQ(english, manager->GetCurrentLanguage());
    EXPECT_EQ(light, manager->GetCurrentSkin());
    EXPECT_EQ((Events{L"language (none)>en-us", L"skin (none)>Light"}), observer.events);
    EXPECT_EQ(manager, observer.lastManager);

    // A provider without a default clears the current one.
    const auto noDefault = boost::make_shared<FakeLanguageProvider>();
    noDefault->Add(L"fr-fr");
    EXPECT_TRUE(manager->SetLanguageProvider(noDefault));
    EXPECT_EQ(nullptr, manager->GetCurrentLanguage());
    EXPECT_EQ(L"language en-us>(none)", observer.events.back());
}

TEST_F(Switching, ByName) {
    EXPECT_FALSE(manager->SetLanguageByName(L"de-de")) << "no provider";
    EXPECT_FALSE(manager->SetSkinByName(L"Dark"));
    manager->SetLanguageProvider(languages);
    manager->SetSkinProvider(skins);
    observer.events.clear();

    EXPECT_TRUE(manager->SetLanguageByName(L"de-de"));
    EXPECT_TRUE(manager->SetSkinByName(L"Dark"));
    EXPECT_EQ(german, manager->GetCurrentLanguage());
    EXPECT_EQ(L"de-de", manager->GetCurrentLanguageName());
    EXPECT_EQ(L"Dark", manager->GetCurrentSkinName());
    EXPECT_EQ((Events{L"language en-us>de-de", L"skin Light>Dark"}), observer.events);

    const wchar_t* unknown[] = {L"fr-fr", L"DE-DE", L"", L"de-de "};
    for (const wchar_t* name : unknown) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        EXPECT_FALSE(manager->SetLanguageByName(name));
        EXPECT_FALSE(manager->SetSkinByName(name));
    }
    EXPECT_EQ(german, manager->GetCurrentLanguage());
    EXPECT_EQ(dark, manager->GetCurrentSkin());
    EXPECT_EQ(2u, observer.events.size());
}

TEST_F(Switching, TheSameObjectNotifiesNobodyButRealignsTheFallback) {
    const boost::shared_ptr<IManager> fallback = CreateManager();
    const auto baseLanguages = boost::make_shared<FakeLanguageProvider>();
    const auto baseGerman = baseLanguages->Add(L"de-de");
    const auto baseEnglish = baseLanguages->Add(L"en-us", true);
    fallback->SetLanguageProvider(baseLanguages);
    manager->SetLanguageProvider(languages);
    manager->SetFallbackManager(fallback);
    EXPECT_EQ(baseEnglish, fallback->GetCurrentLanguage()) << "aligned by name when set";
    observer.events.clear();

    fallback->SetLanguage(baseGerman);
    EXPECT_TRUE(manager->SetLanguage(english));
    EXPECT_TRUE(observer.events.empty());
    EXPECT_EQ(baseEnglish, fallback->GetCurrentLanguage());

    // A language the fallback does not have leaves it without one.
    const auto french = languages->Add(L"fr-fr");
    EXPECT_TRUE(manager->SetLanguage(french));
    EXPECT_EQ(nullptr, fallback->GetCurrentLanguage());
    EXPECT_TRUE(manager->SetLanguageByName(L"de-de"));
    EXPECT_EQ(baseGerman, fallback->GetCurrentLanguage());
}

TEST_F(Switching, NoLanguageMeansTheSystemLanguageName) {
    manager->SetLanguageProvider(languages);
    observer.events.clear();
    EXPECT_TRUE(manager->SetLanguage(nullptr));
    EXPECT_EQ((Events{L"language en-us>(none)"}), observer.events);
    EXPECT_EQ(GetSystemLanguageName(), manager->GetCurrentLanguageName());
    EXPECT_FALSE(manager->GetCurrentLanguageName().empty());
    EXPECT_TRUE(manager->SetSkin(nullptr));
    EXPECT_EQ(L"", manager->GetCurrentSkinName());
    EXPECT_EQ(1u, observer.events.size()) << "no skin before either";
}

TEST_F(Switching, FallbacksFollowSkinThenLanguageAllTheWayDown) {
    const boost::shared_ptr<IManager> base = CreateManager();
    const boost::shared_ptr<IManager> deepest = CreateManager();
    const auto baseLanguages = boost::make_shared<FakeLanguageProvider>();
    const auto baseSkins = boost::make_shared<FakeSkinProvider>();
    const auto deepLanguages = boost::make_shared<FakeLanguageProvider>();
    baseLanguages->Add(L"en-us", true);
    const auto baseGerman = baseLanguages->Add(L"de-de");
    const auto baseDark = baseSkins->Add(L"Dark");
    const auto deepGerman = deepLanguages->Add(L"de-de");
    base->SetLanguageProvider(baseLanguages);
    base->SetSkinProvider(baseSkins);
    deepest->SetLanguageProvider(deepLanguages);
    base->SetFallbackManager(deepest);
    manager->SetLanguageProvider(languages);
    manager->SetSkinProvider(skins);
    manager->SetLanguageByName(L"de-de");
    manager->SetSkinByName(L"Dark");

    RecordingObserver baseObserver;
    base->Observers.Add(static_cast<IManager::IObserver*>(&baseObserver));
    base->SetThrowOnFailure(false);
    EXPECT_TRUE(manager->SetFallbackManager(base));
    EXPECT_TRUE(base->GetThrowOnFailure());
    EXPECT_EQ((Events{L"skin (none)>Dark", L"language en-us>de-de"}), baseObserver.events);
    EXPECT_EQ(baseGerman, base->GetCurrentLanguage());
    EXPECT_EQ(baseDark, base->GetCurrentSkin());
    EXPECT_EQ(deepGerman, deepest->GetCurrentLanguage());
    EXPECT_EQ(nullptr, deepest->GetCurrentSkin()) << "it has no skins";

    EXPECT_TRUE(manager->SetSkinByName(L"Light"));
    EXPECT_EQ(nullptr, base->GetCurrentSkin());
    base->Observers.Remove(static_cast<IManager::IObserver*>(&baseObserver));
}

TEST_F(Switching, ObserversMayUnregisterDuringAPass) {
    manager->SetLanguageProvider(languages);
    RecordingObserver second, third;
    manager->Observers.Add(static_cast<IManager::IObserver*>(&second));
    manager->Observers.Add(static_cast<IManager::IObserver*>(&third));
    // The first observer leaves and takes the third with it.
    observer.during = [&] {
        EXPECT_TRUE(manager->Observers.Remove(static_cast<IManager::IObserver*>(&observer)));
        EXPECT_TRUE(manager->Observers.Remove(static_cast<IManager::IObserver*>(&third)));
    };
    observer.events.clear();
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(manager->SetLanguage(german));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4)) << "a removal waited for its own pass";
    EXPECT_EQ(1u, observer.events.size());
    EXPECT_EQ((Events{L"language en-us>de-de"}), second.events);
    EXPECT_TRUE(third.events.empty());

    EXPECT_TRUE(manager->SetLanguage(english));
    EXPECT_EQ(1u, observer.events.size());
    EXPECT_EQ(2u, second.events.size());
    manager->Observers.Remove(static_cast<IManager::IObserver*>(&second));
}

TEST_F(Switching, AThrowingObserverEndsThePass) {
    manager->SetLanguageProvider(languages);
    RecordingObserver after;
    manager->Observers.Add(static_cast<IManager::IObserver*>(&after));
    observer.during = [] { throw std::runtime_error("observer failed"); };

    EXPECT_THROW(manager->SetLanguage(german), std::runtime_error);
    EXPECT_EQ(german, manager->GetCurrentLanguage());
    EXPECT_TRUE(after.events.empty()) << "observers after the throwing one are skipped";

    // The pass is over: a removal on another thread does not wait for it, and
    // the manager's lock is free.
    auto removal = std::async(std::launch::async, [&] {
        const auto started = std::chrono::steady_clock::now();
        manager->Observers.Remove(static_cast<IManager::IObserver*>(&after));
        manager->GetCurrentLanguage();
        return std::chrono::steady_clock::now() - started;
    });
    ASSERT_EQ(std::future_status::ready, removal.wait_for(std::chrono::seconds(10)));
    EXPECT_LT(removal.get(), std::chrono::seconds(2));

    observer.during = nullptr;
    EXPECT_TRUE(manager->SetLanguage(english));
    EXPECT_EQ(L"language de-de>en-us", observer.events.back());
}

TEST_F(Switching, ObserversRunOnTheSwitchingThread) {
    manager->SetSkinProvider(skins);
    DWORD switching = 0;
    std::thread other([&] {
        switching = ::GetCurrentThreadId();
        manager->SetSkin(dark);
    });
    other.join();
    EXPECT_NE(0u, switching);
    EXPECT_EQ(switching, observer.lastThread);
    EXPECT_EQ(L"skin Light>Dark", observer.events.back());
}

TEST_F(Switching, OnlyTheByNameSwitchNotifiesUnderTheLock) {
    manager->SetLanguageProvider(languages);
    // While the observer runs, can another thread get into the manager?
    std::future<boost::shared_ptr<ILanguage>> reader;
    bool readerGotThrough = false;
    observer.during = [&] {
        reader = std::async(std::launch::async, [&] { return manager->GetCurrentLanguage(); });
        readerGotThrough = reader.wait_for(std::chrono::milliseconds(300)) == std::future_status::ready;
    };

    manager->SetLanguage(german);
    EXPECT_TRUE(readerGotThrough) << "a direct switch notifies after releasing the lock";
    EXPECT_EQ(german, reader.get());

    manager->SetLanguageByName(L"en-us");
    EXPECT_FALSE(readerGotThrough) << "a switch by name keeps the lock across its notification";
    ASSERT_EQ(std::future_status::ready, reader.wait_for(std::chrono::seconds(10)));
    EXPECT_EQ(english, reader.get());
}

}  // namespace
