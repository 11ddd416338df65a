#include "resources/resourcelib/ManagerFactory.h"
#include "resources/resourcelib/VerifyLog.h"
#include "resources/tests/FakeProviders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace ResourceLib;
using ResourceTesting::FakeLanguageProvider;

struct LogRecord {
    std::wstring source;
    int level;
    std::wstring message;
    bool operator==(const LogRecord& other) const {
        return source == other.source && level == other.level && message == other.message;
    }
};

void PrintTo(const LogRecord& record, std::ostream* out) {
    *out << testing::PrintToString(record.source) << " " << record.level << " " << testing::PrintToString(record.message);
}

std::vector<LogRecord> s_records;

void RecordingSink(const std::wstring& source, int level, const std::wstring& message) {
    s_records.push_back({source, level, message});
}

const LogRecord kUndefined{L"ResourceLib:IManager:SetLanguageVerify@10", 2,
                           L"Most recently used language is undefined - using default one"};
const LogRecord kFailedToLoad{L"ResourceLib:IManager:SetLanguageVerify@15", 3,
                              L"Failed to load the most recently used language"};
const LogRecord kWrongLanguage{L"ResourceLib:IManager:SetLanguageVerify@19", 3, L"Loaded the wrong language"};

class SetLanguageVerify : public ::testing::Test {
protected:
    void SetUp() override {
        s_records.clear();
        m_previousSink = detail::SetVerifyLogSink(&RecordingSink);
    }
    void TearDown() override { detail::SetVerifyLogSink(m_previousSink); }

private:
    detail::VerifyLogSink m_previousSink = nullptr;
};

TEST_F(SetLanguageVerify, LogsWhatWentWrong) {
    struct Case {
        const char* name;
        const wchar_t* text;
        int length;
        bool result;
        const wchar_t* languageAfter;
        std::vector<LogRecord> records;
    } cases[] = {
        {"null", nullptr, -1, true, L"en-us", {kUndefined}},
        {"empty", L"", -1, true, L"en-us", {kUndefined}},
        {"empty part of a text", L"de-de", 0, true, L"en-us", {kUndefined}},
        {"offered", L"de-de", -1, true, L"de-de", {}},
        {"the current one", L"en-us", -1, true, L"en-us", {}},
        {"part of a text", L"de-de;fr-fr", 5, true, L"de-de", {}},
        {"not offered", L"fr-fr", -1, false, L"en-us", {kFailedToLoad, kWrongLanguage}},
        {"other case", L"EN-US", -1, false, L"en-us", {kFailedToLoad, kWrongLanguage}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const boost::shared_ptr<IManager> manager = CreateManager();
        const auto languages = boost::make_shared<FakeLanguageProvider>();
        languages->Add(L"en-us", true);
        languages->Add(L"de-de");
        manager->SetLanguageProvider(languages);
        s_records.clear();
        EXPECT_EQ(c.result, manager->SetLanguageVerify(wlitestring(c.text, c.length)));
        EXPECT_EQ(c.languageAfter, manager->GetCurrentLanguageName());
        EXPECT_EQ(c.records, s_records);
    }
}

TEST_F(SetLanguageVerify, WithoutProviderOnlyTheSystemLanguageVerifies) {
    const std::wstring system = GetSystemLanguageName();
    const std::wstring other = system == L"de-de" ? L"fr-fr" : L"de-de";
    const boost::shared_ptr<IManager> managers[] = {CreateManager(), CreateDummyManager()};
    for (const auto& manager : managers) {
        s_records.clear();
        EXPECT_TRUE(manager->SetLanguageVerify(system));
        EXPECT_EQ(std::vector<LogRecord>{kFailedToLoad}, s_records);
        s_records.clear();
        EXPECT_FALSE(manager->SetLanguageVerify(other));
        EXPECT_EQ((std::vector<LogRecord>{kFailedToLoad, kWrongLanguage}), s_records);
    }
}

TEST(IManager, NameGettersWithoutLanguageOrSkin) {
    const boost::shared_ptr<IManager> managers[] = {CreateManager(), CreateDummyManager()};
    for (const auto& manager : managers) {
        EXPECT_EQ(GetSystemLanguageName(), manager->GetCurrentLanguageName());
        EXPECT_EQ(L"", manager->GetCurrentSkinName());
    }
    const std::wstring known[] = {L"da-dk", L"de-de", L"fr-fr", L"ja-jp", L"en-us"};
    EXPECT_NE(std::end(known), std::find(std::begin(known), std::end(known), GetSystemLanguageName()));
}

}  // namespace
