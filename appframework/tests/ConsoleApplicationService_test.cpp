// A console application run by the installed service stand-in, out of
// process: the helper program reads what the client sends and records who
// started it.
#include "appframework/serviceclient/Library.h"

#include "ServiceClientFixtures.h"
#include "foundation/system/Process.h"
#include "platform/elevation/tests/ElevationServiceFixture.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace GenericServiceClient;
using namespace ServiceClientTests;

std::wstring HelperPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1) + L"VantrelConsoleHelper.exe";
}

std::set<DWORD> ServiceProcessIds() {
    std::set<DWORD> ids;
    System::ProcessList processes;
    if (System::FindProcessesByName(L"Vantrel.exe", processes, true)) {
        for (const System::Process& process : processes)
            ids.insert(process.GetId());
    }
    return ids;
}

// "key value" lines of the helper's record.
std::string RecordValue(const std::string& record, const std::string& key) {
    const std::string prefix = key + " ";
    size_t start = record.find(prefix);
    if (start == std::string::npos)
        return std::string();
    start += prefix.size();
    return record.substr(start, record.find('\n', start) - start);
}

TEST(ConsoleApplicationService, RunsTheHelperFedByTheClient) {
    ElevationTests::InstalledService installed;
    ServiceSink sink(false);
    FoundationTests::ScopedSink scopedSink(&sink);
    Testing::TempFolder folder;
    const std::wstring recordPath = folder / L"record.txt";
    Library library;

    auto pApp = library.CreateConsoleApplication(HelperPath());
    ASSERT_TRUE(pApp);
    pApp->SetParameters(L"\"" + recordPath + L"\"");
    ASSERT_TRUE(pApp->Start(false));
    const std::set<DWORD> services = ServiceProcessIds();
    EXPECT_TRUE(pApp->GetFlag()) << "runs until its input ends";
    EXPECT_EQ(-1, pApp->GetNumber()) << "no exit code while it runs";
    EXPECT_TRUE(pApp->SendValue14(5));
    EXPECT_TRUE(pApp->SendValue15(7));
    pApp->Signal16();

    const DWORD start = GetTickCount();
    while (pApp->GetFlag() && GetTickCount() - start < 30000)
        Sleep(100);
    EXPECT_FALSE(pApp->GetFlag());
    EXPECT_EQ(12, pApp->GetNumber());

    const std::string record = Testing::ReadFileBytes(recordPath);
    EXPECT_NE(std::string::npos, record.find("line 14 5\n")) << record;
    EXPECT_NE(std::string::npos, record.find("line 15 7\n")) << record;
    const DWORD parent = static_cast<DWORD>(std::stoul("0" + RecordValue(record, "parent")));
    EXPECT_NE(GetCurrentProcessId(), parent);
    EXPECT_EQ(1u, services.count(parent)) << "the service started the helper";
    pApp.reset();
    EXPECT_TRUE(sink.reports.empty()) << sink.reports.size();
}

TEST(ConsoleApplicationService, AMissingApplicationDoesNotStart) {
    ElevationTests::InstalledService installed;
    ServiceSink sink(false);
    FoundationTests::ScopedSink scopedSink(&sink);
    Testing::TempFolder folder;
    Library library;
    auto pApp = library.CreateConsoleApplication(folder / L"missing.exe");
    ASSERT_TRUE(pApp);
    EXPECT_FALSE(pApp->Start(false));
    EXPECT_FALSE(pApp->GetFlag());
    EXPECT_EQ(-1, pApp->GetNumber());
    EXPECT_FALSE(pApp->SendValue14(1));
}

}  // namespace
