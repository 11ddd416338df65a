#include "resources/resourcelib/DummyManagerImpl.h"
#include "resources/resourcelib/ManagerFactory.h"
#include "resources/resourcelib/ManagerImpl.h"
#include "resources/tests/FakeStorage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <functional>
#include <future>
#include <stdexcept>
#include <thread>

namespace {

using namespace ResourceLib;
using ResourceTesting::FakeStorage;

boost::shared_ptr<FakeStorage> AddFake(IManager& manager, ResourceType supported, const wchar_t* tag) {
    const auto storage = boost::make_shared<FakeStorage>(supported, tag);
    EXPECT_TRUE(manager.AddStorage(storage));
    return storage;
}

// Every getter once, by name or by id, reporting whether it got a value.
struct Getter {
    const char* name;
    ResourceType type;
    std::function<bool(IManager&, const wchar_t*)> byName;
    std::function<bool(IManager&, int)> byId;
};

const std::vector<Getter>& AllGetters() {
    static const std::vector<Getter> getters = {
        {"String", ResourceTypes::String, [](IManager& m, const wchar_t* n) { return !m.GetStringByName(n).empty(); },
         [](IManager& m, int id) { return !m.GetStringById(id).empty(); }},
        {"Bitmap", ResourceTypes::Bitmap, [](IManager& m, const wchar_t* n) { return !!m.GetBitmapByName(n, false); },
         [](IManager& m, int id) { return !!m.GetBitmapById(id, false); }},
        {"Icon", ResourceTypes::Icon, [](IManager& m, const wchar_t* n) { return !!m.GetIconByName(n, 16, 16); },
         [](IManager& m, int id) { return !!m.GetIconById(id, 16, 16); }},
        {"Binary", ResourceTypes::Binary, [](IManager& m, const wchar_t* n) { return !m.GetBinaryByName(n).empty(); },
         [](IManager& m, int id) { return !m.GetBinaryById(id).empty(); }},
        {"Color", ResourceTypes::Color, [](IManager& m, const wchar_t* n) { return m.GetColorByName(n) != 0; },
         [](IManager& m, int id) { return m.GetColorById(id) != 0; }},
        {"Font", ResourceTypes::Font, [](IManager& m, const wchar_t* n) { return !!m.GetFontByName(n); },
         [](IManager& m, int id) { return !!m.GetFontById(id); }},
        {"Integer", ResourceTypes::Integer, [](IManager& m, const wchar_t* n) { return m.GetIntegerByName(n) != 0; },
         [](IManager& m, int id) { return m.GetIntegerById(id) != 0; }},
        {"FilePath", ResourceTypes::FilePath, nullptr,
         [](IManager& m, int id) { return !m.GetFilePath(id, ResourceTypes::FilePath).empty(); }},
    };
    return getters;
}

void ExpectFailedToRetrieve(const std::function<void()>& lookup) {
    try {
        lookup();
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("Failed to retrieve a resource", e.what());
    }
}

TEST(ManagerImpl, AMissIsEmptyOrThrowsByTheFlag) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    EXPECT_FALSE(manager->GetThrowOnFailure());
    EXPECT_EQ(L"", manager->GetStringById(7));
    for (const Getter& getter : AllGetters()) {
        SCOPED_TRACE(getter.name);
        if (getter.byName) {
            EXPECT_FALSE(getter.byName(*manager, L"x"));
        }
        EXPECT_FALSE(getter.byId(*manager, 7));
    }
    EXPECT_EQ(0u, manager->GetColorByName(L"x"));
    EXPECT_EQ(nullptr, manager->GetBinaryById(1).pData);

    EXPECT_TRUE(manager->SetThrowOnFailure(true));
    EXPECT_TRUE(manager->GetThrowOnFailure());
    for (const Getter& getter : AllGetters()) {
        SCOPED_TRACE(getter.name);
        if (getter.byName)
            ExpectFailedToRetrieve([&] { getter.byName(*manager, L"x"); });
        ExpectFailedToRetrieve([&] { getter.byId(*manager, 7); });
    }
}

TEST(ManagerImpl, StoragesAnswerInOrderAndOnlyForTheirKinds) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    const auto first = AddFake(*manager, ResourceTypes::String | ResourceTypes::Color | ResourceTypes::FilePath, L"first");
    const auto second = AddFake(*manager, ResourceTypes::All, L"second");
    const auto bitmapsOnly = AddFake(*manager, ResourceTypes::Bitmap, L"bitmaps");
    first->Add(L"shared");
    second->Add(L"shared");
    second->Add(L"late");
    bitmapsOnly->Add(L"shared");
    for (const Getter& getter : AllGetters())
        EXPECT_TRUE(manager->RegisterResourceName(3, L"shared", getter.type));

    struct Case {
        const char* name;
        std::function<bool()> fromExpected;
        FakeStorage* expected;
    } cases[] = {
        {"String by name", [&] { return manager->GetStringByName(L"shared") == L"first:shared"; }, first.get()},
        {"String by id", [&] { return manager->GetStringById(3) == L"first:shared"; }, first.get()},
        {"String later", [&] { return manager->GetStringByName(L"late") == L"second:late"; }, second.get()},
        {"Color by name", [&] { return manager->GetColorByName(L"shared") == first->ColorValue(); }, first.get()},
        {"Color by id", [&] { return manager->GetColorById(3) == first->ColorValue(); }, first.get()},
        {"Bitmap by name", [&] { return manager->GetBitmapByName(L"shared", false) == second->m_bitmap; }, second.get()},
        {"Bitmap by id", [&] { return manager->GetBitmapById(3, false) == second->m_bitmap; }, second.get()},
        {"Icon by name", [&] { return manager->GetIconByName(L"shared", 16, 16) == second->m_icon; }, second.get()},
        {"Icon by id", [&] { return manager->GetIconById(3, 16, 16) == second->m_icon; }, second.get()},
        {"Binary by name", [&] { return manager->GetBinaryByName(L"shared").pData == second->m_bytes.data(); }, second.get()},
        {"Binary by id", [&] { return manager->GetBinaryById(3).size == 3; }, second.get()},
        {"Font by name", [&] { return manager->GetFontByName(L"shared") == second->m_font; }, second.get()},
        {"Font by id", [&] { return manager->GetFontById(3) == second->m_font; }, second.get()},
        {"Integer by name", [&] { return manager->GetIntegerByName(L"shared") == second->IntegerValue(); }, second.get()},
        {"Integer by id", [&] { return manager->GetIntegerById(3) == second->IntegerValue(); }, second.get()},
        {"FilePath", [&] { return !manager->GetFilePath(3, ResourceTypes::FilePath).empty(); }, first.get()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int before[] = {first->Calls(), second->Calls(), bitmapsOnly->Calls()};
        EXPECT_TRUE(c.fromExpected());
        EXPECT_EQ(1, c.expected->Calls() - before[c.expected == first.get() ? 0 : 1]);
        if (c.expected == first.get()) {
            EXPECT_EQ(before[1], second->Calls()) << "a later storage was asked";
        }
        // The bitmap storage comes last and is never reached, nor asked for other kinds.
        EXPECT_EQ(before[2], bitmapsOnly->Calls());
    }
}

TEST(ManagerImpl, ArgumentsReachTheStorageUnchanged) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    const auto storage = AddFake(*manager, ResourceTypes::All, L"s");
    storage->Add(L"p");
    manager->RegisterResourceName(4, L"p", ResourceTypes::FilePath);

    manager->GetBitmapByName(L"p", true);
    EXPECT_TRUE(storage->m_lastPremultiplied);
    manager->GetBitmapByName(L"p", false);
    EXPECT_FALSE(storage->m_lastPremultiplied);
    manager->GetIconByName(L"p", 24, 48);
    EXPECT_EQ(std::make_pair(24, 48), storage->m_lastIconSize);

    // Any shared bit lets a storage serve a file path; the text comes back normalised.
    EXPECT_EQ(L"C:\\Skins\\Common\\Logo.png", manager->GetFilePath(4, ResourceTypes::FilePath | ResourceTypes::Bitmap));
    EXPECT_EQ(ResourceTypes::FilePath | ResourceTypes::Bitmap, storage->m_lastFilePathMask);
    const auto bitmapsOnly = CreateManager();
    const auto pictures = AddFake(*bitmapsOnly, ResourceTypes::Bitmap, L"pictures");
    pictures->Add(L"p");
    bitmapsOnly->RegisterResourceName(4, L"p", ResourceTypes::FilePath);
    EXPECT_EQ(L"C:\\Skins\\Common\\Logo.png", bitmapsOnly->GetFilePath(4, ResourceTypes::Bitmap));
    EXPECT_EQ(L"", bitmapsOnly->GetFilePath(4, ResourceTypes::Icon));
    EXPECT_EQ(L"", bitmapsOnly->GetFilePath(5, ResourceTypes::Bitmap)) << "a miss stays empty";
}

TEST(ManagerImpl, AMissAsksTheFallbackWithTheAskersThrowFlag) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    const boost::shared_ptr<IManager> fallback = CreateManager();
    const auto own = AddFake(*manager, ResourceTypes::All, L"own");
    const auto base = AddFake(*fallback, ResourceTypes::All, L"base");
    base->Add(L"x");
    base->AddThrowing(L"broken");
    EXPECT_TRUE(manager->SetFallbackManager(fallback));
    EXPECT_TRUE(fallback->GetThrowOnFailure()) << "a fallback throws when asked on its own";
    EXPECT_TRUE(manager->RegisterResourceName(3, L"x", ResourceTypes::String));

    EXPECT_EQ(L"base:x", manager->GetStringByName(L"x"));
    EXPECT_EQ(L"base:x", manager->GetStringById(3)) << "by id through the fallback's own registration";
    EXPECT_EQ(2, own->Calls()) << "the own storage is asked first";
    EXPECT_EQ(L"", manager->GetStringByName(L"missing"));
    EXPECT_EQ(nullptr, manager->GetBitmapById(9, false));
    EXPECT_TRUE(fallback->GetThrowOnFailure());

    manager->SetThrowOnFailure(true);
    ExpectFailedToRetrieve([&] { manager->GetStringByName(L"missing"); });
    EXPECT_TRUE(fallback->GetThrowOnFailure());

    fallback->SetThrowOnFailure(false);
    ExpectFailedToRetrieve([&] { manager->GetColorByName(L"missing"); });
    EXPECT_FALSE(fallback->GetThrowOnFailure()) << "restored after the fallback threw";

    manager->SetThrowOnFailure(false);
    fallback->SetThrowOnFailure(true);
    EXPECT_THROW(manager->GetStringByName(L"broken"), std::runtime_error);
    EXPECT_TRUE(fallback->GetThrowOnFailure()) << "restored after a storage of the fallback threw";

    // Both locks were released on the way out: another thread gets through.
    auto other = std::async(std::launch::async, [&] { return manager->GetStringByName(L"x"); });
    ASSERT_EQ(std::future_status::ready, other.wait_for(std::chrono::seconds(10)));
    EXPECT_EQ(L"base:x", other.get());
}

// Counts what a manager forwards to its fallback.
class RecordingFallback : public DummyManagerImpl {
public:
    bool RegisterResourceName(int id, const wlitestring& name, ResourceType type) override {
        registered.push_back({id, type});
        return true;
    }
    std::wstring GetResourceName(int id, ResourceType type) override { return L"fallback" + std::to_wstring(id); }
    int GetResourceId(const wlitestring& name, ResourceType type) override { return 77; }
    bool ResetCaches() override {
        ++resets;
        return false;
    }
    bool ReleaseCachedResource(int id, ResourceType type) override {
        ++releases;
        return true;
    }
    std::vector<std::pair<int, ResourceType>> registered;
    int resets = 0;
    int releases = 0;
};

TEST(ManagerImpl, RegisteredNamesAndIds) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    EXPECT_TRUE(manager->RegisterResourceName(5, L"five", ResourceTypes::String));
    struct Case {
        int id;
        const wchar_t* name;
    } names[] = {{0, L""}, {3, L""}, {4, L""}, {5, L"five"}, {6, L""}, {-1, L""}};
    for (const Case& c : names) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.name, manager->GetResourceName(c.id, ResourceTypes::String));
    }
    EXPECT_EQ(5, manager->GetResourceId(L"five", ResourceTypes::String));
    EXPECT_EQ(-1, manager->GetResourceId(L"five", ResourceTypes::Bitmap)) << "ids are per kind";
    EXPECT_EQ(-1, manager->GetResourceId(L"unknown", ResourceTypes::String));
    EXPECT_EQ(L"", manager->GetResourceName(5, ResourceTypes::Bitmap));

    // A second registration of an id replaces its name; the old name still maps to it.
    EXPECT_TRUE(manager->RegisterResourceName(5, L"FIVE", ResourceTypes::String));
    EXPECT_EQ(L"FIVE", manager->GetResourceName(5, ResourceTypes::String));
    EXPECT_EQ(5, manager->GetResourceId(L"five", ResourceTypes::String));
    // A name registered twice maps to the last id; both ids keep it.
    EXPECT_TRUE(manager->RegisterResourceName(1, L"FIVE", ResourceTypes::String));
    EXPECT_EQ(1, manager->GetResourceId(L"FIVE", ResourceTypes::String));
    EXPECT_EQ(L"FIVE", manager->GetResourceName(5, ResourceTypes::String));

    // Names are compared exactly.
    EXPECT_EQ(-1, manager->GetResourceId(L"five ", ResourceTypes::String));
    EXPECT_EQ(-1, manager->GetResourceId(L"Five", ResourceTypes::String));
}

TEST(ManagerImpl, InvalidRegistrationsChangeNothing) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    const auto fallback = boost::make_shared<RecordingFallback>();
    manager->SetFallbackManager(fallback);
    ASSERT_TRUE(manager->RegisterResourceName(2, L"two", ResourceTypes::String));

    struct Case {
        const char* name;
        int id;
        ResourceType type;
    } cases[] = {
        {"type 0", 3, 0},
        {"String|FilePath", 3, ResourceTypes::String | ResourceTypes::FilePath},
        {"type 256", 3, 256},
        {"id -1", -1, ResourceTypes::String},
        {"most negative id", INT_MIN, ResourceTypes::String},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fallback->registered.clear();
        EXPECT_FALSE(manager->RegisterResourceName(c.id, L"bad", c.type));
        ASSERT_EQ(1u, fallback->registered.size()) << "forwarded first";
        EXPECT_EQ(c.id, fallback->registered[0].first);
        // The table is whole: nothing erased, nothing written.
        EXPECT_EQ(L"two", manager->GetResourceName(2, ResourceTypes::String));
        EXPECT_EQ(2, manager->GetResourceId(L"two", ResourceTypes::String));
        EXPECT_EQ(L"fallback3", manager->GetResourceName(3, ResourceTypes::String));
    }
    // A huge id fails to grow the table and is refused too.
    EXPECT_FALSE(manager->RegisterResourceName(INT_MAX, L"huge", ResourceTypes::String));
    EXPECT_EQ(L"two", manager->GetResourceName(2, ResourceTypes::String));
}

TEST(ManagerImpl, NameLookupsBeyondTheTablesAskTheFallback) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    const auto fallback = boost::make_shared<RecordingFallback>();
    manager->SetFallbackManager(fallback);
    manager->RegisterResourceName(5, L"five", ResourceTypes::String);

    EXPECT_EQ(L"", manager->GetResourceName(3, ResourceTypes::String)) << "a gap is empty, the fallback not asked";
    EXPECT_EQ(L"fallback6", manager->GetResourceName(6, ResourceTypes::String));
    EXPECT_EQ(L"fallback-1", manager->GetResourceName(-1, ResourceTypes::String));
    EXPECT_EQ(L"fallback5", manager->GetResourceName(5, ResourceTypes::Icon));
    EXPECT_EQ(L"fallback5", manager->GetResourceName(5, 3)) << "an invalid kind is a miss";
    EXPECT_EQ(5, manager->GetResourceId(L"five", ResourceTypes::String));
    EXPECT_EQ(77, manager->GetResourceId(L"unknown", ResourceTypes::String));
    EXPECT_EQ(77, manager->GetResourceId(L"five", 0));

    const boost::shared_ptr<IManager> alone = CreateManager();
    EXPECT_EQ(-1, alone->GetResourceId(L"five", 0));
    EXPECT_EQ(L"", alone->GetResourceName(0, 3));
}

TEST(ManagerImpl, AddStorage) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    EXPECT_FALSE(manager->AddStorage(nullptr));

    const auto refusing = boost::make_shared<FakeStorage>(ResourceTypes::All, L"refusing");
    refusing->SetAttachResult(false);
    refusing->Add(L"x");
    EXPECT_FALSE(manager->AddStorage(refusing));
    EXPECT_EQ(1, refusing->AttachCalls());
    EXPECT_EQ(L"", manager->GetStringByName(L"x"));
    EXPECT_EQ(0, refusing->Calls());

    const auto accepted = AddFake(*manager, ResourceTypes::String, L"accepted");
    EXPECT_EQ(manager, accepted->Manager()) << "attached to the manager itself";
}

TEST(ManagerImpl, CacheResetsReachFallbackAndEveryStorage) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    EXPECT_TRUE(manager->ResetCaches());
    EXPECT_FALSE(manager->ReleaseCachedResource(1, ResourceTypes::String));

    const auto fallback = boost::make_shared<RecordingFallback>();
    manager->SetFallbackManager(fallback);
    const auto a = AddFake(*manager, ResourceTypes::String, L"a");
    const auto b = AddFake(*manager, ResourceTypes::Bitmap, L"b");
    const auto c = AddFake(*manager, ResourceTypes::String | ResourceTypes::Bitmap, L"c");
    EXPECT_TRUE(manager->ResetCaches());
    b->SetResetResult(false);
    EXPECT_FALSE(manager->ResetCaches());
    EXPECT_EQ(2, a->ResetCalls());
    EXPECT_EQ(2, c->ResetCalls()) << "storages after a failure are reset too";
    EXPECT_EQ(2, fallback->resets);

    // Only storages of the kind are asked; true when one of them had the entry.
    EXPECT_FALSE(manager->ReleaseCachedResource(1, ResourceTypes::String)) << "the fallback's answer does not count";
    EXPECT_EQ(1, fallback->releases);
    EXPECT_EQ(1, a->ReleaseCalls());
    EXPECT_EQ(0, b->ReleaseCalls());
    EXPECT_EQ(1, c->ReleaseCalls());
    c->SetReleaseResult(true);
    EXPECT_TRUE(manager->ReleaseCachedResource(1, ResourceTypes::String));
}

TEST(ManagerImpl, ResetKeepsNamesFlagAndObservers) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    const boost::shared_ptr<IManager> fallback = CreateManager();
    const auto base = AddFake(*fallback, ResourceTypes::All, L"base");
    base->Add(L"x");
    manager->SetFallbackManager(fallback);
    const auto own = AddFake(*manager, ResourceTypes::All, L"own");
    own->Add(L"y");
    manager->RegisterResourceName(1, L"y", ResourceTypes::String);
    manager->SetThrowOnFailure(true);
    IManager::IObserver observer;
    ASSERT_TRUE(manager->Observers.Add(&observer));

    manager->Reset();
    EXPECT_EQ(nullptr, manager->GetLanguageProvider());
    EXPECT_EQ(nullptr, manager->GetSkinProvider());
    EXPECT_EQ(nullptr, manager->GetCurrentLanguage());
    EXPECT_EQ(nullptr, manager->GetCurrentSkin());
    EXPECT_EQ(nullptr, manager->GetExtraParamsProvider());
    EXPECT_EQ(L"y", manager->GetResourceName(1, ResourceTypes::String));
    EXPECT_TRUE(manager->GetThrowOnFailure());
    ExpectFailedToRetrieve([&] { manager->GetStringByName(L"y"); });
    ExpectFailedToRetrieve([&] { manager->GetStringByName(L"x"); }); // the fallback is gone
    ExpectFailedToRetrieve([&] { fallback->GetStringByName(L"x"); }); // and was reset first
    EXPECT_FALSE(manager->Observers.Add(&observer)) << "still registered";
    EXPECT_TRUE(manager->Observers.Remove(&observer));
}

class NamedParams : public IManagerExtraParamsProvider {
public:
    std::wstring GetParam(const wlitestring& name) override { return name.str() == L"ProductName" ? L"Brunlow" : L""; }
};

TEST(ManagerImpl, KeepsTheExtraParamsProviderForTheStorages) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    EXPECT_EQ(nullptr, manager->GetExtraParamsProvider());
    const auto params = boost::make_shared<NamedParams>();
    manager->SetExtraParamsProvider(params);
    EXPECT_EQ(params, manager->GetExtraParamsProvider());
    manager->SetExtraParamsProvider(nullptr);
    EXPECT_EQ(nullptr, manager->GetExtraParamsProvider());
}

TEST(ManagerImpl, LookupsFromSeveralThreadsAtOnce) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    const boost::shared_ptr<IManager> fallback = CreateManager();
    const auto own = AddFake(*manager, ResourceTypes::String | ResourceTypes::Integer, L"own");
    const auto base = AddFake(*fallback, ResourceTypes::All, L"base");
    manager->SetFallbackManager(fallback);
    const int kIds = 20;
    for (int id = 0; id < kIds; ++id) {
        const std::wstring name = L"name" + std::to_wstring(id);
        manager->RegisterResourceName(id, name, ResourceTypes::String);
        (id % 2 ? own : base)->Add(name);
    }

    const int kThreads = 4;
    const int kRounds = 300;
    std::vector<std::future<int>> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.push_back(std::async(std::launch::async, [&, t] {
            int wrong = 0;
            for (int round = 0; round < kRounds; ++round) {
                const int id = (round + t) % kIds;
                const std::wstring expected = (id % 2 ? L"own:name" : L"base:name") + std::to_wstring(id);
                if (manager->GetStringById(id) != expected)
                    ++wrong;
                if (manager->GetResourceId(L"name" + std::to_wstring(id), ResourceTypes::String) != id)
                    ++wrong;
            }
            return wrong;
        }));
    }
    for (auto& worker : workers) {
        ASSERT_EQ(std::future_status::ready, worker.wait_for(std::chrono::seconds(60)));
        EXPECT_EQ(0, worker.get());
    }
    EXPECT_EQ(kThreads * kRounds, own->Calls());
    EXPECT_TRUE(fallback->GetThrowOnFailure());
}

}  // namespace
