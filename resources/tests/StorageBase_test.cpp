#include "resources/resourcelib/StorageBase.h"

#include "foundation/tests/RecordingSink.h"
#include "resources/resourcelib/ManagerFactory.h"
#include "resources/tests/FakeProviders.h"

#include <boost/make_shared.hpp>
#include <boost/system/system_error.hpp>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

using namespace ResourceLib;
using ResourceTesting::FakeLanguageProvider;
using ResourceTesting::FakeSkinProvider;
// COM has an IStorage of its own.
typedef ResourceLib::IStorage ResourceStorage;

// Serves strings, bitmaps and binaries from tables and counts what the base
// asks of it. Ids go through the manager's registered names, as in the real
// storages.
class CountingStorage : public StorageBase {
public:
    std::map<std::wstring, std::wstring> strings;
    std::map<std::wstring, std::vector<BYTE>> binaries;
    std::vector<std::wstring> bitmaps;
    int loads = 0;
    int stringFetches = 0;
    int bitmapFetches = 0;
    int binaryFetches = 0;
    std::wstring languageAtLoad;

    ResourceType GetSupportedTypes() override {
        return ResourceTypes::String | ResourceTypes::Bitmap | ResourceTypes::Binary;
    }

    // Public for the tests.
    std::wstring Expand(const std::wstring& text, const wchar_t* self) { return _ExpandPlaceholders(text, self); }

protected:
    bool _Load() override {
        ++loads;
        languageAtLoad = _GetLanguage() ? _GetLanguage()->GetName() : L"";
        return true;
    }
    std::wstring _GetStringByName(const wlitestring& name, ErrorCodePtr ec) override {
        ++stringFetches;
        const auto found = strings.find(name.str());
        if (found == strings.end()) {
            _Fail(ResourceNotFound, ec);
            return std::wstring();
        }
        return found->second;
    }
    std::wstring _GetStringById(int id, ErrorCodePtr ec) override {
        return _GetStringByName(_GetManager()->GetResourceName(id, ResourceTypes::String), ec);
    }
    SharedBitmap _GetBitmapByName(const wlitestring& name, bool premultiplied, ErrorCodePtr ec) override {
        ++bitmapFetches;
        for (const std::wstring& known : bitmaps) {
            if (known == name)
                return CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectBitmap>(
                    ::CreateBitmap(1, 1, 1, 32, nullptr));
        }
        _Fail(ResourceNotFound, ec);
        return SharedBitmap();
    }
    void _GetBinaryById(int id, std::vector<BYTE>& bytes, ErrorCodePtr ec) override {
        ++binaryFetches;
        const auto found = binaries.find(_GetManager()->GetResourceName(id, ResourceTypes::Binary));
        if (found == binaries.end()) {
            _Fail(ResourceNotFound, ec);
            return;
        }
        bytes = found->second;
    }
};

class ExtraParams : public IManagerExtraParamsProvider {
public:
    std::map<std::wstring, std::wstring> params;
    std::wstring GetParam(const wlitestring& name) override {
        const auto found = params.find(name.str());
        return found == params.end() ? std::wstring() : found->second;
    }
};

boost::system::error_code ResourceError(ResourceErrorCodes code) {
    return boost::system::error_code(code, GetErrorCategory());
}

// A manager with the languages en-us (default) and de-de and one storage.
struct Fixture {
    boost::shared_ptr<IManager> manager = CreateManager();
    boost::shared_ptr<FakeLanguageProvider> languages = boost::make_shared<FakeLanguageProvider>();
    boost::shared_ptr<CountingStorage> storage = boost::make_shared<CountingStorage>();

    explicit Fixture(bool withLanguage = true) {
        languages->Add(L"en-us", true);
        languages->Add(L"de-de");
        if (withLanguage)
            manager->SetLanguageProvider(languages);
        EXPECT_TRUE(manager->AddStorage(storage));
    }
};

TEST(StorageBase, SecondLookupComesFromTheCache) {
    Fixture f;
    f.storage->strings[L"Title"] = L"Videos";
    f.manager->RegisterResourceName(3, L"Title", ResourceTypes::String);

    EXPECT_EQ(L"Videos", f.manager->GetStringByName(L"Title"));
    EXPECT_EQ(L"Videos", f.manager->GetStringByName(L"Title"));
    EXPECT_EQ(1, f.storage->stringFetches);
    // By id is a cache of its own.
    EXPECT_EQ(L"Videos", f.manager->GetStringById(3));
    EXPECT_EQ(L"Videos", f.manager->GetStringById(3));
    EXPECT_EQ(2, f.storage->stringFetches);
    EXPECT_EQ(1, f.storage->loads);
}

TEST(StorageBase, LanguageSwitchReloadsAndFetchesAgain) {
    Fixture f;
    f.storage->strings[L"Title"] = L"Videos";
    EXPECT_EQ(L"Videos", f.manager->GetStringByName(L"Title"));
    EXPECT_EQ(1, f.storage->loads);
    EXPECT_EQ(L"en-us", f.storage->languageAtLoad);

    ASSERT_TRUE(f.manager->SetLanguageByName(L"de-de"));
    f.storage->strings[L"Title"] = L"Filme";
    EXPECT_EQ(L"Filme", f.manager->GetStringByName(L"Title"));
    EXPECT_EQ(2, f.storage->loads);
    EXPECT_EQ(L"de-de", f.storage->languageAtLoad);
    EXPECT_EQ(2, f.storage->stringFetches);

    // A skin switch reloads too.
    const auto skins = boost::make_shared<FakeSkinProvider>();
    skins->Add(L"Dark", true);
    f.manager->SetSkinProvider(skins);
    f.manager->GetStringByName(L"Title");
    EXPECT_EQ(3, f.storage->loads);
}

TEST(StorageBase, WithoutLanguageAndSkinNothingIsLoaded) {
    Fixture f(false);
    f.storage->strings[L"Title"] = L"Videos";
    EXPECT_EQ(L"Videos", f.manager->GetStringByName(L"Title"));
    EXPECT_EQ(0, f.storage->loads);
}

TEST(StorageBase, ResetAndReleaseDropCachedValues) {
    Fixture f;
    f.storage->strings[L"Title"] = L"Videos";
    f.storage->binaries[L"Data"] = {1, 2, 3};
    f.manager->RegisterResourceName(2, L"Title", ResourceTypes::String);
    f.manager->RegisterResourceName(4, L"Data", ResourceTypes::Binary);
    f.manager->GetStringById(2);
    f.manager->GetBinaryById(4);

    EXPECT_FALSE(f.storage->ReleaseCachedResource(2, ResourceTypes::FilePath));
    EXPECT_FALSE(f.storage->ReleaseCachedResource(50, ResourceTypes::String));
    EXPECT_FALSE(f.storage->ReleaseCachedResource(-1, ResourceTypes::String));
    EXPECT_FALSE(f.storage->ReleaseCachedResource(2, 3));
    EXPECT_TRUE(f.storage->ReleaseCachedResource(2, ResourceTypes::String));
    EXPECT_FALSE(f.storage->ReleaseCachedResource(2, ResourceTypes::String));
    EXPECT_TRUE(f.storage->ReleaseCachedResource(4, ResourceTypes::Binary));

    f.manager->GetStringById(2);
    f.manager->GetBinaryById(4);
    EXPECT_EQ(2, f.storage->stringFetches);
    EXPECT_EQ(2, f.storage->binaryFetches);

    f.manager->GetStringByName(L"Title");
    EXPECT_TRUE(f.storage->ResetCaches());
    f.manager->GetStringByName(L"Title");
    EXPECT_EQ(4, f.storage->stringFetches);
    EXPECT_EQ(1, f.storage->loads);  // the language stays loaded
}

TEST(StorageBase, BinaryBytesAreCachedAndFailuresAreNot) {
    Fixture f;
    f.storage->binaries[L"Data"] = {1, 2, 3};
    f.storage->binaries[L"Empty"] = {};
    f.manager->RegisterResourceName(1, L"Data", ResourceTypes::Binary);
    f.manager->RegisterResourceName(2, L"Missing", ResourceTypes::Binary);
    f.manager->RegisterResourceName(3, L"Empty", ResourceTypes::Binary);

    const BinaryData first = f.manager->GetBinaryById(1);
    const BinaryData second = f.manager->GetBinaryById(1);
    ASSERT_EQ(3u, first.size);
    EXPECT_EQ(first.pData, second.pData);
    EXPECT_EQ(3, first.pData[2]);
    EXPECT_EQ(1, f.storage->binaryFetches);

    // A later id grows the cache; the bytes handed out stay where they were.
    f.manager->GetBinaryById(3);
    EXPECT_EQ(first.pData, f.manager->GetBinaryById(1).pData);

    const BinaryData empty = f.manager->GetBinaryById(3);
    EXPECT_EQ(nullptr, empty.pData);
    EXPECT_EQ(0u, empty.size);

    boost::system::error_code ec;
    EXPECT_TRUE(f.storage->GetBinaryById(2, &ec).empty());
    EXPECT_EQ(ResourceError(ResourceNotFound), ec);
    f.storage->GetBinaryById(2, &ec);
    EXPECT_EQ(ResourceError(ResourceNotFound), ec);
    EXPECT_EQ(4, f.storage->binaryFetches);
}

TEST(StorageBase, BitmapsAreCachedPerPremultiplication) {
    Fixture f;
    f.storage->bitmaps = {L"Logo"};
    const SharedBitmap plain = f.manager->GetBitmapByName(L"Logo", false);
    const SharedBitmap premultiplied = f.manager->GetBitmapByName(L"Logo", true);
    ASSERT_TRUE(plain && premultiplied);
    EXPECT_NE(plain, premultiplied);
    EXPECT_EQ(plain, f.manager->GetBitmapByName(L"Logo", false));
    EXPECT_EQ(premultiplied, f.manager->GetBitmapByName(L"Logo", true));
    EXPECT_EQ(2, f.storage->bitmapFetches);
}

TEST(StorageBase, FailuresAreStoredOrRaised) {
    Fixture f;
    struct Case {
        const char* what;
        std::function<void(ResourceStorage&, ResourceStorage::ErrorCodePtr)> lookup;
        ResourceErrorCodes expected;
    };
    const Case cases[] = {
        {"missing name", [](ResourceStorage& s, ResourceStorage::ErrorCodePtr ec) { s.GetStringByName(L"Nope", ec); },
         ResourceNotFound},
        {"empty name", [](ResourceStorage& s, ResourceStorage::ErrorCodePtr ec) { s.GetStringByName(L"", ec); },
         InvalidResourceName},
        {"negative id", [](ResourceStorage& s, ResourceStorage::ErrorCodePtr ec) { s.GetStringById(-1, ec); }, InvalidResourceID},
        {"kind not served", [](ResourceStorage& s, ResourceStorage::ErrorCodePtr ec) { s.GetColorByName(L"Back", ec); },
         NotSupported},
        {"file path not served", [](ResourceStorage& s, ResourceStorage::ErrorCodePtr ec) { s.GetFilePath(1, 2, ec); },
         NotSupported},
        {"binary by name", [](ResourceStorage& s, ResourceStorage::ErrorCodePtr ec) { s.GetBinaryByName(L"Data", ec); },
         NotSupported},
        {"binary by empty name", [](ResourceStorage& s, ResourceStorage::ErrorCodePtr ec) { s.GetBinaryByName(L"", ec); },
         InvalidResourceName},
    };
    f.storage->binaries[L"Data"] = {1};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boost::system::error_code ec;
        c.lookup(*f.storage, &ec);
        EXPECT_EQ(ResourceError(c.expected), ec);
        try {
            c.lookup(*f.storage, nullptr);
            ADD_FAILURE() << "nothing raised";
        } catch (const boost::system::system_error& e) {
            EXPECT_EQ(ResourceError(c.expected), e.code());
        }
    }
    // A success clears a code left by an earlier failure.
    f.storage->strings[L"Title"] = L"Videos";
    boost::system::error_code ec = ResourceError(ResourceNotFound);
    EXPECT_EQ(L"Videos", f.storage->GetStringByName(L"Title", &ec));
    EXPECT_FALSE(ec);
    ec = ResourceError(ResourceNotFound);
    EXPECT_EQ(L"Videos", f.storage->GetStringByName(L"Title", &ec));
    EXPECT_FALSE(ec);
}

TEST(StorageBase, ManagerGoneOrNotInternal) {
    const auto storage = boost::make_shared<CountingStorage>();
    storage->strings[L"Title"] = L"Videos";
    {
        const boost::shared_ptr<IManager> manager = CreateManager();
        ASSERT_TRUE(manager->AddStorage(storage));
    }
    boost::system::error_code ec;
    EXPECT_EQ(L"", storage->GetStringByName(L"Title", &ec));
    EXPECT_EQ(ResourceError(InvalidStorageState), ec);
    EXPECT_TRUE(storage->GetFilePath(1, ResourceTypes::FilePath, &ec).empty());
    EXPECT_EQ(ResourceError(InvalidStorageState), ec);

    EXPECT_FALSE(storage->Attach(boost::weak_ptr<IManager>()));
    const boost::shared_ptr<IManager> dummy = CreateDummyManager();
    try {
        storage->Attach(dummy);
        ADD_FAILURE() << "a manager that is not internal was taken";
    } catch (const std::bad_cast& e) {
        EXPECT_STREQ("Failed to cast to an internal interface", e.what());
    }
}

TEST(StorageBase, PlaceholderExpansion) {
    Fixture f;
    const auto params = boost::make_shared<ExtraParams>();
    params->params[L"ProductName"] = L"Brunlow";
    params->params[L"Raw"] = L"{tab}";
    f.manager->SetExtraParamsProvider(params);
    f.storage->strings[L"Other"] = L"other";
    f.storage->strings[L"Empty"] = L"";

    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"a{nl}b", L"a\nb"},
        {L"{tab}x{tab}", L"\tx\t"},
        {L"{0} of {12}", L"{0} of {12}"},
        {L"{123}", L"{123}"},
        {L"{Self}", L"{Self}"},
        {L"{ProductName} {Other}", L"Brunlow other"},
        {L"{Raw}", L"{tab}"},  // inserted text is not searched again
        {L"{Unknown}{Empty}", L"{Unknown}{Empty}"},
        {L"{}{nl", L"{}{nl"},
        {L"{a{nl}", L"{a{nl}"},
        {L"{NL}", L"{NL}"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(c.expected, f.storage->Expand(c.text, L"Self"));
    }

    // Through a lookup: the string's own name stays, by name only.
    f.storage->strings[L"Self"] = L"I am {Self}{nl}";
    f.manager->RegisterResourceName(9, L"Self", ResourceTypes::String);
    EXPECT_EQ(L"I am {Self}\n", f.manager->GetStringByName(L"Self"));
    EXPECT_EQ(L"I am I am {Self}\n\n", f.manager->GetStringById(9));
}

TEST(StorageBase, PlaceholderCyclesEnd) {
    Fixture f;
    f.storage->strings[L"A"] = L"a{B}";
    f.storage->strings[L"B"] = L"b{A}";
    f.storage->strings[L"C"] = L"c{D}";
    f.storage->strings[L"D"] = L"d{E}";
    f.storage->strings[L"E"] = L"e{C}";
    // The placeholder that would close the circle stays as written.
    EXPECT_EQ(L"ab{A}", f.manager->GetStringByName(L"A"));
    EXPECT_EQ(L"cde{C}", f.manager->GetStringByName(L"C"));

    // A long chain stops growing instead of exhausting the stack.
    for (int i = 0; i < 200; ++i)
        f.storage->strings[L"N" + std::to_wstring(i)] = L"{N" + std::to_wstring(i + 1) + L"}";
    f.storage->strings[L"N200"] = L"end";
    const std::wstring chained = f.manager->GetStringByName(L"N0");
    EXPECT_EQ(L'{', chained.front()) << testing::PrintToString(chained);
}

TEST(StorageBase, PlaceholderAfterTheManagerIsGone) {
    const auto storage = boost::make_shared<CountingStorage>();
    {
        const boost::shared_ptr<IManager> manager = CreateManager();
        ASSERT_TRUE(manager->AddStorage(storage));
    }
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    EXPECT_EQ(L"x\n{Other} {tab}", storage->Expand(L"x{nl}{Other} {tab}", L""));
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((pManager))")) << testing::PrintToString(sink.reports[0].text);
    EXPECT_EQ(Reporting::Error, sink.reports[0].severity);
}

}  // namespace
