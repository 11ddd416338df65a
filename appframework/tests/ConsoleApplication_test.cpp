// Console applications on a recording ConsoleApp in the service COM
// thread's apartment: what reaches the service, in which order, on which
// thread, and how the object is released.
#include "appframework/serviceclient/ConsoleApplicationImpl.h"
#include "appframework/serviceclient/Library.h"
#include "appframework/serviceclient/ServiceComProxy.h"

#include "RecordingConsoleApp.h"
#include "ServiceClientFixtures.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace GenericServiceClient;
using namespace ServiceClientTests;

class ConsoleApplicationTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(S_OK, m_service.Registration()); }
    void TearDown() override {
        ServiceComProxy::SetTimeLimitsForTesting(0, 0);
        // Whatever a test left running on the thread ends before the
        // recording object goes.
        auto drain = ServiceComProxy::MakeTask(false, [] { return true; });
        ServiceComProxy::Instance()._ExecuteOnWorkerThread(drain);
    }

    std::vector<std::wstring> Checks() const { return m_sink.CheckTexts(); }

    RecordingConsoleApp m_service;
    ServiceSink m_sink;
    FoundationTests::ScopedSink m_scopedSink{&m_sink};
    Library m_library;
};

TEST_F(ConsoleApplicationTest, CreationGivesThePathAndStartSendsTheParametersSetBefore) {
    auto pApp = m_library.CreateConsoleApplication(L"C:\\tools\\first.exe");
    ASSERT_TRUE(pApp);
    EXPECT_EQ((std::vector<int>{8}), m_service.Positions());

    pApp->SetParameters(L"-a -b");
    pApp->SetPath(L"C:\\tools\\second.exe");
    EXPECT_EQ(L"C:\\tools\\second.exe", pApp->GetPath());
    EXPECT_EQ(L"-a -b", pApp->GetParameters());

    EXPECT_FALSE(pApp->Start(true));
    EXPECT_FALSE(pApp->Query6());
    EXPECT_EQ((std::vector<int>{8}), m_service.Positions()) << "neither reaches the service";

    EXPECT_TRUE(pApp->Start(false));
    const std::vector<ConsoleCall> calls = m_service.Calls();
    ASSERT_EQ((std::vector<int>{8, 10, 13}), m_service.Positions());
    EXPECT_EQ(L"C:\\tools\\first.exe", calls[0].text) << "the service keeps the first path";
    EXPECT_EQ(L"-a -b", calls[1].text);
    for (const ConsoleCall& call : calls)
        EXPECT_EQ(ServiceComProxy::Instance().GetThreadId(), call.threadId);

    m_service.answers[13] = E_ACCESSDENIED;
    EXPECT_FALSE(pApp->Start(false));
    EXPECT_TRUE(m_sink.reports.empty());
}

TEST_F(ConsoleApplicationTest, CallsAnswerWithTheServiceOrTheirFailureValues) {
    auto pApp = m_library.CreateConsoleApplication(L"C:\\tool.exe");
    ASSERT_TRUE(pApp);
    struct Case {
        const char* name;
        int position;
        std::function<std::wstring(IConsoleApplication&)> run;
        LONG number;  // the value the service receives
        const wchar_t* onSuccess;
        const wchar_t* onFailure;
    };
    const Case cases[] = {
        {"SendValue14", 14, [](IConsoleApplication& a) { return std::to_wstring(a.SendValue14(5)); }, 5, L"1", L"0"},
        {"SendValue15", 15, [](IConsoleApplication& a) { return std::to_wstring(a.SendValue15(-7)); }, -7, L"1", L"0"},
        {"Signal16", 16, [](IConsoleApplication& a) { a.Signal16(); return std::wstring(L"-"); }, 0, L"-", L"-"},
        {"GetNumber", 12, [](IConsoleApplication& a) { return std::to_wstring(a.GetNumber()); }, 0, L"12", L"-1"},
        {"GetFlag", 11, [](IConsoleApplication& a) { return std::to_wstring(a.GetFlag()); }, 0, L"1", L"0"},
    };
    for (const Case& c : cases) {
        for (const HRESULT answer : {S_OK, S_FALSE, E_FAIL}) {
            SCOPED_TRACE(testing::Message() << c.name << " answered 0x" << std::hex << answer);
            m_service.answers.clear();
            m_service.answers[c.position] = answer;
            const size_t before = m_service.Calls().size();
            EXPECT_EQ(SUCCEEDED(answer) ? c.onSuccess : c.onFailure, c.run(*pApp));
            const std::vector<ConsoleCall> calls = m_service.Calls();
            ASSERT_EQ(before + 1, calls.size());
            EXPECT_EQ(c.position, calls.back().position);
            EXPECT_EQ(c.number, calls.back().number);
            EXPECT_EQ(ServiceComProxy::Instance().GetThreadId(), calls.back().threadId);
        }
    }
    EXPECT_TRUE(m_sink.reports.empty());
}

TEST_F(ConsoleApplicationTest, AFailedInitialisationStillGivesAnApplicationThatFails) {
    m_service.activationAnswer = REGDB_E_CLASSNOTREG;
    auto pApp = m_library.CreateConsoleApplication(L"C:\\tool.exe");
    ASSERT_TRUE(pApp);
    EXPECT_EQ((std::vector<std::wstring>{L"((pApp.CreateInstance(__uuidof(ConsoleApp))))"}), Checks());
    EXPECT_EQ(1, m_service.Activations()) << "no recovery run";
    EXPECT_FALSE(pApp->Start(false));
    EXPECT_EQ(-1, pApp->GetNumber());
    EXPECT_FALSE(pApp->GetFlag());
    EXPECT_FALSE(pApp->SendValue14(1));
    EXPECT_TRUE(m_service.Calls().empty());
}

TEST_F(ConsoleApplicationTest, DisabledOrEmptyPathGivesNoApplication) {
    EXPECT_FALSE(m_library.CreateConsoleApplication(L""));
    EXPECT_EQ((std::vector<std::wstring>{L"((!path.empty()))"}), Checks());
    m_sink.reports.clear();
    Library disabled;
    disabled.disabled.store(true);  // as Disable, without stopping the shared thread
    EXPECT_FALSE(disabled.CreateConsoleApplication(L"C:\\tool.exe"));
    EXPECT_TRUE(m_sink.reports.empty());
    EXPECT_EQ(0, m_service.Activations());
}

TEST_F(ConsoleApplicationTest, DestroyReleasesTheServiceObjectExactlyOnce) {
    const size_t pendingBefore = ServiceComProxy::Instance().CountPending();
    {
        auto pApp = m_library.CreateConsoleApplication(L"C:\\tool.exe");
        ASSERT_TRUE(pApp);
        EXPECT_EQ(1, m_service.OutstandingReferences());
        EXPECT_EQ(pendingBefore + 1, ServiceComProxy::Instance().CountPending());
    }
    EXPECT_EQ(0, m_service.OutstandingReferences());
    EXPECT_EQ(1, m_service.FinalReleases());
    EXPECT_EQ(pendingBefore, ServiceComProxy::Instance().CountPending());
    EXPECT_TRUE(m_sink.reports.empty());
}

TEST_F(ConsoleApplicationTest, DestroyWhoseTaskTimedOutStillReleasesOnce) {
    auto pApp = m_library.CreateConsoleApplication(L"C:\\tool.exe");
    ASSERT_TRUE(pApp);
    m_service.releaseDelayMs = 1500;
    ServiceComProxy::SetTimeLimitsForTesting(0, 200);
    pApp.reset();
    // The destroy task is still releasing on the service thread.
    ServiceComProxy::SetTimeLimitsForTesting(0, 0);
    auto drain = ServiceComProxy::MakeTask(false, [] { return true; });
    ServiceComProxy::Instance()._ExecuteOnWorkerThread(drain);
    EXPECT_TRUE(drain->GetResult());
    EXPECT_EQ(0, m_service.OutstandingReferences());
    EXPECT_EQ(1, m_service.FinalReleases());
    EXPECT_EQ((std::vector<std::wstring>{L"((false))"}), Checks()) << "the stuck destroy task";
}

TEST_F(ConsoleApplicationTest, ListingTwiceAndUnlistingAnAbsentApplicationWarn) {
    auto pImpl = boost::make_shared<ConsoleApplicationImpl>(L"C:\\tool.exe");
    pImpl->Initialize();
    pImpl->Initialize();
    pImpl->Destroy();
    pImpl->Destroy();
    EXPECT_TRUE(pImpl->IsDestroyed());
    ASSERT_EQ((std::vector<std::wstring>{L"((m_applicationsPending.insert(&*pConsoleApp)))",
                                         L"((m_applicationsPending.erase(&*pConsoleApp)))"}),
              Checks());
    for (const FoundationTests::Report& report : m_sink.reports)
        EXPECT_EQ(Reporting::Warning, report.severity);
    EXPECT_EQ(1, m_service.Activations()) << "the second initialisation reuses the object";
    EXPECT_EQ(0, m_service.OutstandingReferences());
}

}  // namespace
