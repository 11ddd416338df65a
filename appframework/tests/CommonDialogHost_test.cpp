#include "appframework/commondialogs/CommonDialogHost.h"
#include "appframework/commondialogs/CommonDialogsLib.h"

#include "TestApplication.h"
#include "foundation/strings/TextHelpers.h"
#include "resources/resourcelib/Language.h"
#include "resources/resourcelib/Skin.h"
#include "testing/CopiedProgram.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <sstream>
#include <functional>

namespace {

using ApplicationFramework::ProductValue;
using AppFrameworkTests::TestApplication;

// The stand-in library's call log, read line by line.
std::vector<std::string> ReadCallLog(const std::wstring& path) {
    std::vector<std::string> lines;
    std::istringstream stream(Testing::ReadFileBytes(path));
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

boost::shared_ptr<ResourceLib::ILanguage> MakeLanguage(const wchar_t* name) {
    return boost::make_shared<ResourceLib::Language>(name, L"title", 0);
}

boost::shared_ptr<ResourceLib::ISkin> MakeSkin(const wchar_t* name) {
    return boost::make_shared<ResourceLib::Skin>(name, L"title", boost::weak_ptr<ResourceLib::IManager>());
}

class ProductWithPairs : public ApplicationFramework::ProductInfo {
public:
    using ProductInfo::ProductInfo;

protected:
    void _CompleteDescription(ApplicationFramework::ProductDescription& description) const override {
        description.values.push_back({L"Edition", L"Home"});
        description.values.push_back({L"Channel", L""});
    }
};

class CommonDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CommonDialogs::Lib.IsBound()) << "CommonDialogs.dll beside the test program";
        m_logPath = m_folder / L"calls.log";
        ::SetEnvironmentVariableW(CommonDialogs::kCallLogVariable, m_logPath.c_str());
        m_values.values = {
            {ProductValue::ProductName, L"Brunlow"},      {ProductValue::FullProductName, L"Brunlow Deluxe"},
            {ProductValue::CompanyName, L"Acme"},         {ProductValue::UpdateAddress, L"upd.example.com"},
            {ProductValue::HostTextA, L"text A"},         {ProductValue::HostTextB, L"text B {ProductName}"},
        };
        m_info.Initialize();
    }
    void TearDown() override { ::SetEnvironmentVariableW(CommonDialogs::kCallLogVariable, nullptr); }

    bool Initialize(TestApplication& app, const std::wstring& folder) {
        ApplicationFramework::ProductDescription description;
        app._GetProductDescription(description);
        return app._InitializeCommonDialogs(folder, description, L"de-de", L"orangeblack");
    }

    std::vector<std::string> Log() const { return ReadCallLog(m_logPath); }

    Testing::TempFolder m_folder;
    std::wstring m_logPath;
    AppFrameworkTests::FakeProductValues m_values;
    ProductWithPairs m_info{&m_values};
};

TEST_F(CommonDialogsTest, InitialisationHandsOverProductAndHost) {
    TestApplication app(m_info);
    const std::wstring resources = m_folder.MakeFolder(L"Resources\\CommonDialogs");
    EXPECT_TRUE(Initialize(app, resources));
    const std::string folder = STLHelpers::WStringToUtf8(resources.c_str());
    const std::vector<std::string> expected = {
        "SetHost\ttrue",
        "Initialize\t" + folder + "\tde-de\torangeblack",
        "Product\tBrunlow\tBrunlow Deluxe\t2.5.1.30\t2.5.1\tAcme",
        "ProductValue\tEdition\tHome",
        "ProductValue\tChannel\t",
        "Host\t31\t6\tBrunlow Deluxe\ttext A\thttp://upd.example.com/\ttext B {ProductName}",
        "Result\tInitialize\ttrue",
    };
    EXPECT_EQ(expected, Log());
    EXPECT_TRUE(app.IsCommonDialogsInitialized());
}

TEST_F(CommonDialogsTest, SecondInitialisationReturnsTheFirstResultWithoutACall) {
    TestApplication app(m_info);
    EXPECT_FALSE(Initialize(app, m_folder / L"missing"));
    const size_t calls = Log().size();
    EXPECT_FALSE(Initialize(app, m_folder.Path()));  // would succeed if it were called
    EXPECT_EQ(calls, Log().size());
}

TEST_F(CommonDialogsTest, EmptyPathTakesTheProgramsResourceFolder) {
    TestApplication app(m_info);
    Initialize(app, L"");
    std::wstring expected;
    app._GetCommonDialogsResourcePath(expected);
    EXPECT_NE(std::wstring::npos, expected.find(L"Resources/CommonDialogs"));
    ASSERT_GE(Log().size(), 2u);
    EXPECT_EQ("Initialize\t" + STLHelpers::WStringToUtf8(expected.c_str()) + "\tde-de\torangeblack", Log()[1]);
}

TEST_F(CommonDialogsTest, FailedInitialisationStillForwardsAndUninitialises) {
    TestApplication app(m_info);
    EXPECT_FALSE(Initialize(app, m_folder / L"missing"));
    const size_t calls = Log().size();
    app.OnLanguageChanged(nullptr, MakeLanguage(L"en-us"), MakeLanguage(L"fr-fr"));
    app.OnSkinChanged(nullptr, nullptr, MakeSkin(L"blue"));
    app._UninitializeCommonDialogs();
    const std::vector<std::string> log = Log();
    const std::vector<std::string> expected = {"SetResourcesLanguage\tfr-fr\ttrue", "SetResourcesSkin\tblue\ttrue",
                                               "Uninitialize"};
    EXPECT_EQ(expected, std::vector<std::string>(log.begin() + calls, log.end()));
}

TEST_F(CommonDialogsTest, NothingIsForwardedBeforeInitialisation) {
    TestApplication app(m_info);
    app.OnLanguageChanged(nullptr, nullptr, MakeLanguage(L"fr-fr"));
    app.OnSkinChanged(nullptr, nullptr, MakeSkin(L"blue"));
    app._UninitializeCommonDialogs();
    EXPECT_TRUE(Log().empty());
    EXPECT_FALSE(app.IsCommonDialogsInitialized());
}

TEST_F(CommonDialogsTest, RefusedLanguageOrSkinIsAWarning) {
    TestApplication app(m_info);
    Initialize(app, m_folder.Path());
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    app.OnSkinChanged(nullptr, MakeSkin(L"blue"), nullptr);  // no skin: an empty name
    app.OnLanguageChanged(nullptr, nullptr, MakeLanguage(L""));
    ASSERT_EQ(2u, sink.reports.size());
    EXPECT_TRUE(AppFrameworkTests::HasReport(sink, L"((CommonDialogs::Lib.SetResourcesSkin(pNewSkin->GetName())))"));
    EXPECT_TRUE(
        AppFrameworkTests::HasReport(sink, L"((CommonDialogs::Lib.SetResourcesLanguage(pNewLanguage->GetName())))"));
    EXPECT_EQ(Reporting::Warning, sink.reports[0].severity);
}

TEST_F(CommonDialogsTest, UninitialisingEndsTheResourcesWhenAFolderWasConfigured) {
    TestApplication app(m_info);
    app.SetResourceFolderConfigured(true);
    app._UninitializeCommonDialogs();
    const std::vector<std::wstring> expected = {L"UnregisterResourceObserver", L"ShutdownResources"};
    EXPECT_EQ(expected, app.calls);
}

TESTING_CHILD_SCENARIO(CommonDialogsWithoutLibrary) {
    AppFrameworkTests::TestProduct product(L"Brunlow");
    TestApplication app(product.info);
    if (CommonDialogs::Lib.IsBound())
        return 1;
    ApplicationFramework::ProductDescription description;
    if (app._InitializeCommonDialogs(Testing::ScenarioArgument(), description, L"", L""))
        return 2;
    app.OnLanguageChanged(nullptr, nullptr, MakeLanguage(L"fr-fr"));
    app._UninitializeCommonDialogs();
    return 0;
}

TEST_F(CommonDialogsTest, WithoutTheLibraryInitialisationFails) {
    Testing::CopiedProgram program;  // without CommonDialogs.dll
    EXPECT_EQ(0u, program.Run("CommonDialogsWithoutLibrary", program.BinFolder()).exitCode);
}

// Observers of the host that count their calls; one may remove another.
class CountingObserver : public CommonDialogs::IHost::IObserver {
public:
    void OnHostNotification() override {
        ++calls;
        if (onCall)
            onCall();
    }
    int calls = 0;
    std::function<void()> onCall;
};

TEST_F(CommonDialogsTest, HostAnswersFromTheProductInformation) {
    ApplicationFramework::CommonDialogHost host(m_info);
    EXPECT_EQ(31, host.GetHostCode());
    EXPECT_EQ(6, host.GetHostSubCode());
    EXPECT_EQ(L"Brunlow Deluxe", host.GetFullProductName());
    EXPECT_EQ(L"text A", host.GetHostTextA());
    EXPECT_EQ(L"text B {ProductName}", host.GetHostTextB());
    EXPECT_EQ(L"http://upd.example.com/", host.GetUpdateAddress());
}

TEST_F(CommonDialogsTest, ObserverRemovedDuringANotificationIsNotCalled) {
    ApplicationFramework::CommonDialogHost host(m_info);
    CountingObserver first, second, third;
    first.onCall = [&] { host.RemoveObserver(&second); };
    ASSERT_TRUE(host.AddObserver(&first));
    ASSERT_TRUE(host.AddObserver(&second));
    ASSERT_TRUE(host.AddObserver(&third));
    EXPECT_FALSE(host.AddObserver(&third));
    host.NotifyObservers();
    EXPECT_EQ(1, first.calls);
    EXPECT_EQ(0, second.calls);
    EXPECT_EQ(1, third.calls);
}

}  // namespace
