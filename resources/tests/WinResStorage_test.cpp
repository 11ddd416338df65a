#include "resources/resourcelib/WinResStorage.h"

#include "FakeProviders.h"
#include "graphics/commongui/SharedBitmaps.h"
#include "resources/resourcelib/ManagerFactory.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace ResourceTypes = ResourceLib::ResourceTypes;

// The executable's resources of WinResStorage_test.rc, served with id base
// 10000, over a manager that offers English (0x0409, the default), German
// (0x0407) and a language without locale.
class ModuleResources {
public:
    ModuleResources() {
        m_languages->Add(L"en-us", true, 0x0409);
        m_languages->Add(L"de-de", false, 0x0407);
        m_languages->Add(L"none", false, 0);
        m_manager->AddStorage(m_storage);
        m_manager->SetLanguageProvider(m_languages);
    }

    const boost::shared_ptr<ResourceLib::IManager>& Manager() const { return m_manager; }
    const boost::shared_ptr<ResourceLib::IStorage>& Storage() const { return m_storage; }

private:
    boost::shared_ptr<ResourceTesting::FakeLanguageProvider> m_languages =
        boost::make_shared<ResourceTesting::FakeLanguageProvider>();
    boost::shared_ptr<ResourceLib::IManager> m_manager = ResourceLib::CreateManager();
    boost::shared_ptr<ResourceLib::IStorage> m_storage = ResourceLib::CreateWinResStorage(10000);
};

// Loading changes the thread's locale: every case runs on a thread of its own.
void OnFreshThread(const std::function<void()>& body) {
    std::thread worker(body);
    worker.join();
}

TEST(WinResStorage, StringsByIdInTheLanguageOfTheThreadLocale) {
    ModuleResources resources;
    const struct {
        const wchar_t* language;
        LCID locale;
        const wchar_t* text;
    } cases[] = {
        {L"en-us", 0x0409, L"Five"},
        {L"de-de", 0x0407, L"F\u00fcnf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.language);
        OnFreshThread([&] {
            ASSERT_TRUE(resources.Manager()->SetLanguageByName(c.language));
            EXPECT_EQ(std::wstring(c.text), resources.Manager()->GetStringById(5));
            // The lookup loaded the storage, which set this thread's locale.
            EXPECT_EQ(c.locale, ::GetThreadLocale());
        });
    }
}

TEST(WinResStorage, LocaleZeroLeavesTheThreadLocale) {
    ModuleResources resources;
    OnFreshThread([&] {
        ::SetThreadLocale(0x040C);
        ASSERT_TRUE(resources.Manager()->SetLanguageByName(L"none"));
        boost::system::error_code ec;
        resources.Storage()->GetStringById(5, &ec);
        EXPECT_EQ(0x040Cu, ::GetThreadLocale());
    });
}

TEST(WinResStorage, StringsByRegisteredName) {
    ModuleResources resources;
    resources.Manager()->RegisterResourceName(5, L"FifthString", ResourceTypes::String);
    resources.Manager()->RegisterResourceName(6, L"EmptyString", ResourceTypes::String);
    OnFreshThread([&] {
        EXPECT_EQ(L"Five", resources.Manager()->GetStringByName(L"FifthString"));
        const struct {
            const char* label;
            const wchar_t* name;
            int id;
        } misses[] = {
            {"unknown name", L"Unknown", 0},
            {"empty entry by name", L"EmptyString", 0},
            {"empty entry", nullptr, 6},
            {"no entry", nullptr, 7},
            // 10000 + 55541 is beyond the 16-bit ids; it must not wrap to 10005.
            {"beyond 16 bits", nullptr, 65541},
        };
        for (const auto& m : misses) {
            SCOPED_TRACE(m.label);
            boost::system::error_code ec;
            const std::wstring text =
                m.name ? resources.Storage()->GetStringByName(m.name, &ec) : resources.Storage()->GetStringById(m.id, &ec);
            EXPECT_EQ(L"", text);
            EXPECT_EQ(ResourceLib::ResourceNotFound, ec.value());
        }
    });
}

TEST(WinResStorage, BitmapsAndIconsByIdAndName) {
    ModuleResources resources;
    const boost::shared_ptr<ResourceLib::IManager>& manager = resources.Manager();
    const SIZE byId = CommonGuiLib::GetBitmapSize(manager->GetBitmapById(3, true));
    EXPECT_EQ(4, byId.cx);
    EXPECT_EQ(2, byId.cy);
    EXPECT_EQ(4, CommonGuiLib::GetBitmapSize(manager->GetBitmapByName(L"WINRESBITMAP", false)).cx);
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(size, CommonGuiLib::GetIconSize(manager->GetIconById(4, size, size)).cx);
        EXPECT_EQ(size, CommonGuiLib::GetIconSize(manager->GetIconByName(L"WINRESICON", size, size)).cx);
    }
    boost::system::error_code ec;
    EXPECT_FALSE(resources.Storage()->GetBitmapById(4, false, &ec));
    EXPECT_EQ(ResourceLib::ResourceNotFound, ec.value());
    ec.clear();
    EXPECT_FALSE(resources.Storage()->GetIconByName(L"NOSUCHICON", 16, 16, &ec));
    EXPECT_EQ(ResourceLib::ResourceNotFound, ec.value());
}

TEST(WinResStorage, BinariesByIdOfTypeBinary) {
    ModuleResources resources;
    const ResourceLib::BinaryData data = resources.Manager()->GetBinaryById(7);
    ASSERT_NE(nullptr, data.pData);
    EXPECT_EQ(std::string("bytes\x01\x02", 7), std::string(reinterpret_cast<const char*>(data.pData), data.size));

    const struct {
        const char* label;
        int id;
    } misses[] = {
        {"no such resource", 8},
        // 10000 + 65543 would wrap to 10007 as a 16-bit id.
        {"beyond 16 bits", 65543},
    };
    for (const auto& m : misses) {
        SCOPED_TRACE(m.label);
        boost::system::error_code ec;
        EXPECT_EQ(nullptr, resources.Storage()->GetBinaryById(m.id, &ec).pData);
        EXPECT_EQ(ResourceLib::ResourceNotFound, ec.value());
    }
}

}  // namespace
