#include "downloads/engine/EngineAdapter.h"
#include "downloads/engine/ElevatedAppAdapter.h"

#include "EngineFakes.h"
#include "EngineStandIn.h"
#include "ProfileApplication.h"
#include "appframework/serviceclient/Library.h"
#include "appframework/tests/RecordingService.h"
#include "appframework/tests/ServiceClientFixtures.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {

using namespace DownloadsTests;
using Engine::EngineAdapter;

const std::uint32_t kLarge = 20971520;

class EngineAdapterTest : public testing::Test {
protected:
    ProfileApplication m_app;
    Settings m_settings;
    boost::shared_ptr<FakeEngine> m_pEngine = boost::make_shared<FakeEngine>();
    ScopedAppAccess m_access{&m_settings, m_pEngine};
    EngineAdapter& m_adapter = EngineAdapter::Instance();
};

TEST_F(EngineAdapterTest, InstanceIsOneObjectWithBothFaces) {
    EXPECT_EQ(&EngineAdapter::Instance(), &m_adapter);
    EXPECT_EQ(static_cast<KavennaEngine::IEnvironment*>(&m_adapter), m_adapter.GetEnvironment());
    EXPECT_EQ(static_cast<KavennaEngine::IElevation*>(&m_adapter), m_adapter.GetElevation());
    EXPECT_NE(static_cast<void*>(m_adapter.GetEnvironment()), static_cast<void*>(m_adapter.GetElevation()));
}

TEST_F(EngineAdapterTest, EnvironmentAnswersFromTheRecordAtEachCall) {
    KavennaEngine::IEnvironment& environment = *m_adapter.GetEnvironment();
    m_settings.SetVideosFolder(L"C:\\Caught");
    m_settings.SetConversionOutputFormat(L"a!b");
    m_settings.SetDownloadSwf(false);
    m_settings.SetEnablePassive(false);
    m_settings.SetAdvancedRippingSoundTimeout(4000);
    m_settings.SetAllowStealingVideos(false);
    m_settings.SetCompatibilityLevel(7);
    EXPECT_EQ(environment.GetVideosFolder(), L"C:\\Caught");
    EXPECT_EQ(environment.GetConvertedFolder(), L"C:\\Caught\\Converted");
    EXPECT_EQ(environment.GetConversionPresetsPath(), Settings::GetConversionPresetsPath());
    EXPECT_EQ(environment.GetPresetsPath(), Settings::GetPresetsPath());
    EXPECT_EQ(environment.GetUserPresetsPath(), Settings::GetUserPresetsPath());
    EXPECT_EQ(environment.GetRulesPath(), Settings::GetRulesPath());
    EXPECT_EQ(environment.GetConverterAppName(), L"ConverterApp.exe");
    EXPECT_EQ(environment.GetConverterName(), L"Dorrank2.exe");
    const std::wstring& format = environment.GetConversionOutputFormat();
    EXPECT_EQ(format, L"a!b");
    EXPECT_FALSE(environment.GetRepeatDownloads());
    EXPECT_FALSE(environment.GetDownloadSwf());
    EXPECT_FALSE(environment.GetEnablePassive());
    EXPECT_EQ(environment.GetAdvancedRippingSoundTimeout(), 4000u);
    EXPECT_FALSE(environment.GetAllowStealingVideos());
    EXPECT_EQ(environment.GetMinimumDownloadSize(), 102400u);
    EXPECT_EQ(environment.GetMinimumSwfDownloadSize(), 307200u);
    EXPECT_EQ(environment.GetCompatibilityLevel(), 7u);

    // The settings dialog's changes show at the next question.
    m_settings.SetVideosFolder(L"D:\\Elsewhere");
    m_settings.SetConversionOutputFormat(L"c!d");
    m_settings.SetAllowStealingVideos(true);
    EXPECT_EQ(environment.GetVideosFolder(), L"D:\\Elsewhere");
    EXPECT_EQ(environment.GetConvertedFolder(), L"D:\\Elsewhere\\Converted");
    EXPECT_EQ(environment.GetConversionOutputFormat(), L"c!d");
    EXPECT_TRUE(environment.GetAllowStealingVideos());
}

TEST_F(EngineAdapterTest, ItemThresholds) {
    struct Case {
        const char* name;
        bool flag;
        std::uint32_t total;
        std::uint32_t received;
        std::uint32_t count;
        bool expected;
    } cases[] = {
        {"20 MiB whole, count 300", false, kLarge, kLarge, 300, false},
        {"20 MiB whole, count 301", false, kLarge, kLarge, 301, true},
        {"above 20 MiB, just over half", false, kLarge + 1, 10485761, 0, true},
        {"above 20 MiB, just under half", false, kLarge + 1, 10485760, 0, false},
        {"above 20 MiB, under half, count 301", false, kLarge + 1, 10485760, 301, true},
        {"exactly half counts", false, 30000000, 15000000, 0, true},
        {"small, count 300", false, 1000, 1000, 300, false},
        {"small, count 301", false, 1000, 0, 301, true},
        {"flag set, large and complete", true, 50000000, 50000000, 1000, false},
        {"3,000,000,000 is large", false, 3000000000u, 1500000000u, 0, true},
        {"3,000,000,000 under half", false, 3000000000u, 1499999999u, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pEngine->auxiliary.flag = c.flag;
        FakeItem item(c.total, c.received, c.count);
        EXPECT_EQ(m_adapter.IsItemAboveThresholds(&item), c.expected);
        EXPECT_EQ(m_settings.IsItemAboveThresholds(&item), c.expected);
    }
}

TEST_F(EngineAdapterTest, ConversionPresetsComeFromTheEngineInItsOrder) {
    for (const wchar_t* id : {L"OFP_0_IPAD_A_1024X768!iPadMpeg4_1024x768,85", L"b!1", L"c!2"})
        m_pEngine->presets->presets.push_back(boost::make_shared<FakePreset>(id));
    Settings::ConversionPresets presets(1);  // emptied first
    EXPECT_EQ(&m_settings.GetConversionPresets(presets), &presets);
    ASSERT_EQ(presets.size(), 3u);
    EXPECT_EQ(presets[0]->GetId(), L"OFP_0_IPAD_A_1024X768!iPadMpeg4_1024x768,85");
    EXPECT_EQ(presets[2]->GetId(), L"c!2");
}

// Four engine threads read the strings while the GUI thread rewrites them:
// every read is a whole value that was written.
TEST_F(EngineAdapterTest, StringsReadOnEngineThreadsAreWholeValues) {
    const std::wstring folders[] = {L"C:\\Short", std::wstring(260, L'f')};
    const std::wstring formats[] = {L"a!b", std::wstring(180, L'g') + L"!h"};
    m_settings.SetVideosFolder(folders[0]);
    m_settings.SetConversionOutputFormat(formats[0]);
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::atomic<int> reads{0};
    std::vector<std::thread> engineThreads;
    for (int i = 0; i < 4; ++i) {
        engineThreads.emplace_back([&] {
            KavennaEngine::IEnvironment& environment = *EngineAdapter::Instance().GetEnvironment();
            while (!done) {
                const std::wstring folder = environment.GetVideosFolder();
                const std::wstring& format = environment.GetConversionOutputFormat();
                if (folder != folders[0] && folder != folders[1])
                    ++torn;
                if (format != formats[0] && format != formats[1])
                    ++torn;
                ++reads;
            }
        });
    }
    for (int i = 0; i < 100000; ++i) {
        m_settings.SetVideosFolder(folders[i % 2]);
        m_settings.SetConversionOutputFormat(formats[i % 2]);
    }
    done = true;
    for (std::thread& thread : engineThreads)
        thread.join();
    EXPECT_EQ(torn, 0);
    EXPECT_GT(reads, 0);
}

// The stand-in engine asks the adapter for its folder and does its file
// work through it: the download lands in the record's videos folder.
TEST_F(EngineAdapterTest, StandInEngineWorksThroughTheAdapter) {
    // Paths the engine finds missing would go on to the elevation service;
    // the real one must not start beside the service's own tests.
    GenericServiceClient::GetLibrary()->disabled = true;
    struct Enable {
        ~Enable() { GenericServiceClient::GetLibrary()->disabled = false; }
    } enable;
    Testing::TempFolder folder;
    const std::wstring videos = folder.MakeFolder(L"Videos");
    m_settings.SetVideosFolder(videos);
    const std::string body(3000, 'v');
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/clip.flv", Testing::HttpAnswer::Ok(body));
    EngineStandIn engine;
    ASSERT_TRUE(engine.pEngine) << "EngineKavenna.dll did not load";
    RecordingObserver observer(engine.pEngine);
    ASSERT_TRUE(engine.pEngine->Initialize(m_adapter.GetElevation(), m_adapter.GetEnvironment()));
    engine.pEngine->Subscribe(&observer);
    EXPECT_TRUE(engine.pEngine->AddUrl(server.Url(L"/clip.flv")));
    EXPECT_TRUE(observer.WaitFinished(1));
    engine.pEngine->Unsubscribe(&observer);
    engine.pEngine->Uninitialize();

    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((videos + L"\\*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    // The part file was moved into place.
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].find(L".part"), std::wstring::npos);
    EXPECT_EQ(Testing::ReadFileBytes(videos + L"\\" + names[0]), body);
}

// The file operations against a recording elevation service in this
// apartment: which reach the service, and at which of its methods.
class ElevationTest : public EngineAdapterTest {
protected:
    void SetUp() override { ASSERT_EQ(S_OK, m_service.Registration()); }
    void TearDown() override { GenericServiceClient::GetLibrary()->disabled = false; }

    std::vector<int> Positions() const {
        std::vector<int> positions;
        for (const ServiceClientTests::RecordedCall& call : m_service.calls)
            positions.push_back(call.position);
        return positions;
    }

    ServiceClientTests::OleScope m_ole;
    ServiceClientTests::RecordingService m_service;
    ServiceClientTests::ShellStartRecorder m_shell{false};
    Testing::TempFolder m_folder;
    KavennaEngine::IElevation& m_elevation = *m_adapter.GetElevation();
};

const int kMoveFile = 8;
const int kDeleteFile = 9;
const int kCreateFolder = 10;
const int kPathOperation = 11;
const int kPathExists = 12;

TEST_F(ElevationTest, PlainWorkFirstWhereItMaySucceed) {
    const std::wstring present = m_folder.WriteFile(L"present.bin", "data");
    const std::wstring missing = m_folder / L"missing.bin";

    EXPECT_TRUE(m_elevation.DeleteFile(missing.c_str()));  // already gone
    EXPECT_TRUE(m_elevation.PathExists(present.c_str()));
    const std::wstring moved = m_folder / L"moved.bin";
    EXPECT_TRUE(m_elevation.MoveFile(present.c_str(), moved.c_str()));
    EXPECT_TRUE(Testing::PathExists(moved));
    EXPECT_TRUE(m_elevation.DeleteFile(moved.c_str()));
    EXPECT_FALSE(Testing::PathExists(moved));
    EXPECT_EQ(Positions(), std::vector<int>());
}

TEST_F(ElevationTest, FailedPlainWorkGoesToTheService) {
    const std::wstring locked = m_folder.WriteFile(L"locked.bin", "held");
    const std::wstring source = m_folder.WriteFile(L"source.bin", "s");
    const std::wstring target = m_folder.WriteFile(L"target.bin", "t");
    const std::wstring missing = m_folder / L"missing.bin";
    HANDLE holder = ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    struct Case {
        const char* name;
        std::function<bool()> run;
        int position;
        std::vector<std::wstring> texts;
    } cases[] = {
        {"delete a file held without sharing", [&] { return m_elevation.DeleteFile(locked.c_str()); }, kDeleteFile,
         {locked}},
        {"move onto an existing target", [&] { return m_elevation.MoveFile(source.c_str(), target.c_str()); },
         kMoveFile, {source, target}},
        {"a path the process cannot see", [&] { return m_elevation.PathExists(missing.c_str()); }, kPathExists,
         {missing}},
        {"create a folder", [&] { return m_elevation.CreateFolder(m_folder.Path().c_str()); }, kCreateFolder,
         {m_folder.Path()}},
        {"the path operation", [&] { return m_elevation.PathOperation(locked.c_str()); }, kPathOperation,
         {locked}},
    };
    for (const Case& c : cases) {
        for (const HRESULT answer : {S_OK, E_FAIL}) {
            SCOPED_TRACE(testing::Message() << c.name << ", service answers 0x" << std::hex << answer);
            m_service.calls.clear();
            m_service.answer = answer;
            EXPECT_EQ(c.run(), SUCCEEDED(answer));
            ASSERT_EQ(Positions(), std::vector<int>{c.position});
            EXPECT_EQ(m_service.calls[0].texts, c.texts);
        }
    }
    ::CloseHandle(holder);
    // The plain attempts changed nothing.
    EXPECT_EQ(Testing::ReadFileBytes(target), "t");
    EXPECT_TRUE(Testing::PathExists(source));
}

TEST_F(ElevationTest, DisabledClientFailsWithoutTheService) {
    ServiceClientTests::ServiceSink sink(false);
    FoundationTests::ScopedSink scope(&sink);
    GenericServiceClient::GetLibrary()->disabled = true;
    const std::wstring missing = m_folder / L"missing.bin";
    const std::wstring existing = m_folder.WriteFile(L"existing.bin", "e");
    EXPECT_FALSE(m_elevation.CreateFolder(m_folder.Path().c_str()));
    EXPECT_FALSE(m_elevation.PathOperation(missing.c_str()));
    EXPECT_FALSE(m_elevation.PathExists(missing.c_str()));
    EXPECT_FALSE(m_elevation.MoveFile(missing.c_str(), existing.c_str()));
    // Plain work still succeeds.
    EXPECT_TRUE(m_elevation.PathExists(existing.c_str()));
    EXPECT_TRUE(m_elevation.DeleteFile(missing.c_str()));
    EXPECT_EQ(Positions(), std::vector<int>());

    std::unique_ptr<KavennaEngine::IElevatedApp> pApp(m_elevation.CreateElevatedApp(L"C:\\helper.exe"));
    ASSERT_TRUE(pApp);
    EXPECT_FALSE(static_cast<Engine::ElevatedAppAdapter&>(*pApp).HasProxy());
    EXPECT_FALSE(pApp->Start());
    EXPECT_EQ(pApp->GetPath(), L"");
}

}  // namespace
