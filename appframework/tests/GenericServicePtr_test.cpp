// Activation failures and the repair of the service's registration, each in
// a child process whose log the test reads.
#include "appframework/serviceclient/GenericServicePtr.h"
#include "appframework/serviceclient/Library.h"

#include "RecordingService.h"
#include "ServiceClientFixtures.h"
#include "platform/elevation/tests/ElevationServiceFixture.h"

#include <comdef.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace GenericServiceClient;
using namespace ServiceClientTests;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// Every line comes from the connection's constructor.
void ExpectConstructorTags(const ScenarioRun& run) {
    for (const LogLine& line : run.log)
        EXPECT_NE(std::string::npos, line.tag.find("GenericServicePtr:GenericServicePtr@")) << line.tag;
}

std::string LogText(const ScenarioRun& run) {
    std::string text;
    for (const LogLine& line : run.log)
        text += line.level + " " + line.message + "\n";
    return text;
}

TEST(GenericServicePtr, EntersComInTheDefaultModelAndFindsTheServiceInTheSystemFolder) {
    EXPECT_EQ(static_cast<DWORD>(System::ComScope::Ole), GetServiceComModel());
    volatile LONG* model = System::GetDefaultCOMModel();
    ASSERT_NE(nullptr, model);
    const LONG saved = InterlockedExchange(model, 7);
    EXPECT_EQ(static_cast<DWORD>(System::ComScope::Multithreaded), GetServiceComModel());
    InterlockedExchange(model, saved);
    EXPECT_EQ(ElevationTests::InstalledServicePath(), GetServiceExecutablePath());
}

TEST(GenericServicePtr, ANullObjectRaisesEPointer) {
    OleScope ole;
    RecordingService service;
    service.activationResults = {E_ACCESSDENIED, E_ACCESSDENIED};
    ServiceSink sink(false);
    FoundationTests::ScopedSink scoped(&sink);
    ShellStartRecorder shell(false);
    HRESULT hr = E_OUTOFMEMORY;
    GenericServicePtr connection(hr);
    EXPECT_EQ(E_ACCESSDENIED, hr);
    EXPECT_EQ(nullptr, connection.Get());
    try {
        connection->CreateFolder(nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const _com_error& error) {
        EXPECT_EQ(E_POINTER, error.Error());
    }
}

TESTING_CHILD_SCENARIO(OtherActivationErrorIsNotRepaired) {
    OleScope ole;
    RecordingService service;
    service.activationResults = {E_ACCESSDENIED};
    ServiceSink sink;
    FoundationTests::ScopedSink scoped(&sink);
    ShellStartRecorder shell(false);
    int failures = 0;
    if (Library().CreateFolder(ScenarioFolder() + L"\\made"))
        failures |= 1;
    if (sink.CheckTexts() != std::vector<std::wstring>{L"((hr))"} || sink.reports[0].severity != Reporting::Assertion)
        failures |= 2;
    if (service.activations != 1 || !service.calls.empty())
        failures |= 4;
    if (!shell.starts.empty())
        failures |= 8;
    return failures;
}

TEST(GenericServicePtr, AnotherActivationErrorIsLoggedAndAssertedWithoutRepair) {
    Testing::TempFolder folder;
    const ScenarioRun run = RunLoggedScenario("OtherActivationErrorIsNotRepaired", folder.Path());
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(1u, run.log.size()) << LogText(run);
    EXPECT_EQ("ERR", run.log[0].level);
    EXPECT_TRUE(StartsWith(run.log[0].message, "Vantrel initialization failed with error Code 5: ")) << LogText(run);
    ExpectConstructorTags(run);
}

TESTING_CHILD_SCENARIO(SecondAttemptFailsQuietly) {
    OleScope ole;
    RecordingService service;
    service.activationResults = {REGDB_E_CLASSNOTREG, REGDB_E_CLASSNOTREG};
    ServiceSink sink(false);  // notifications that only report
    FoundationTests::ScopedSink scoped(&sink);
    ShellStartRecorder shell(false);  // "started", but without a process
    int failures = 0;
    if (Library().PathExists(L"C:\\x"))
        failures |= 1;
    if (sink.CheckTexts() != std::vector<std::wstring>{L"((hr = m_pgc.CreateInstance(__uuidof(GarbageCollector))))"})
        failures |= 2;
    if (service.activations != 2 || !service.calls.empty())
        failures |= 4;
    if (shell.starts.size() != 1 || shell.starts[0].parameters != L"/Service" || shell.starts[0].show != SW_HIDE ||
        lstrcmpiW(shell.starts[0].file.c_str(), ElevationTests::InstalledServicePath().c_str()) != 0)
        failures |= 8;
    return failures;
}

TEST(GenericServicePtr, AFailedSecondAttemptIsAssertedAndNotLoggedAsSuccess) {
    ElevationTests::InstalledService installed;  // the executable is there to be started
    Testing::TempFolder folder;
    const ScenarioRun run = RunLoggedScenario("SecondAttemptFailsQuietly", folder.Path());
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(2u, run.log.size()) << LogText(run);
    EXPECT_EQ("ERR", run.log[0].level);
    EXPECT_TRUE(StartsWith(run.log[0].message, "Vantrel initialization failed with error Code 0x80040154: "))
        << LogText(run);
    EXPECT_EQ("ERR", run.log[1].level);
    EXPECT_EQ("Vantrel recovering failed", run.log[1].message);
    ExpectConstructorTags(run);
}

TESTING_CHILD_SCENARIO(AbsentServiceIsNotStarted) {
    OleScope ole;
    ServiceSink sink;
    FoundationTests::ScopedSink scoped(&sink);
    ShellStartRecorder shell(false);
    int failures = 0;
    if (Library().CreateFolder(ScenarioFolder() + L"\\made"))
        failures |= 1;
    if (sink.CheckTexts() != std::vector<std::wstring>{L"((hr))"})
        failures |= 2;
    if (!shell.starts.empty())
        failures |= 4;
    return failures;
}

TEST(GenericServicePtr, AnAbsentServiceIsNamedAndAsserted) {
    ElevationTests::InstalledService installed;
    ASSERT_EQ(0, ElevationTests::RunInstalledService(L"/Unregister"));
    ASSERT_TRUE(DeleteFileW(ElevationTests::InstalledServicePath().c_str()));
    Testing::TempFolder folder;
    const ScenarioRun run = RunLoggedScenario("AbsentServiceIsNotStarted", folder.Path());
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(2u, run.log.size()) << LogText(run);
    EXPECT_TRUE(StartsWith(run.log[0].message, "Vantrel initialization failed with error Code 0x80040154: "))
        << LogText(run);
    EXPECT_EQ("ERR", run.log[1].level);
    EXPECT_EQ("Vantrel was not found at " + Narrow(ElevationTests::InstalledServicePath()) +
                  ". No chance to recover it!",
              run.log[1].message);
    ExpectConstructorTags(run);
    EXPECT_FALSE(Testing::PathExists(folder / L"made"));
}

TESTING_CHILD_SCENARIO(RegistrationIsRepaired) {
    OleScope ole;
    ServiceSink sink;
    FoundationTests::ScopedSink scoped(&sink);
    ShellStartRecorder shell(true);
    int failures = 0;
    if (!Library().CreateFolder(ScenarioFolder() + L"\\made"))
        failures |= 1;
    if (!sink.reports.empty())
        failures |= 2;
    if (shell.starts.size() != 1)
        return failures | 4;
    if (lstrcmpiW(shell.starts[0].file.c_str(), ElevationTests::InstalledServicePath().c_str()) != 0)
        failures |= 8;
    if (shell.starts[0].parameters != L"/Service" || shell.starts[0].show != SW_HIDE)
        failures |= 16;
    return failures;
}

TEST(GenericServicePtr, AnUnregisteredServiceIsRepairedOnceAndThenServes) {
    ElevationTests::InstalledService installed;
    ASSERT_EQ(0, ElevationTests::RunInstalledService(L"/Unregister"));
    Testing::TempFolder folder;
    const ScenarioRun run = RunLoggedScenario("RegistrationIsRepaired", folder.Path());
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(2u, run.log.size()) << LogText(run);
    EXPECT_EQ("ERR", run.log[0].level);
    EXPECT_TRUE(StartsWith(run.log[0].message, "Vantrel initialization failed with error Code 0x80040154: "))
        << LogText(run);
    EXPECT_EQ("INF", run.log[1].level);
    EXPECT_EQ("Vantrel second initialization attempt succeeded with code 0", run.log[1].message);
    ExpectConstructorTags(run);
    EXPECT_TRUE(Testing::PathExists(folder / L"made"));
    EXPECT_TRUE(ElevationTests::ClassesRootKeyExists(ElevationTests::ClassKeyPath(CLSID_GarbageCollector) +
                                                     L"\\LocalServer32"));
}

}  // namespace
