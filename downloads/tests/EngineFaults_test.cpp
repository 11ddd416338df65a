// The capture engine's stand-in against a server that misbehaves and a disk
// that fails: what each item's result says, what is left in the videos
// folder (never a partial file of a run that ended), many items at once,
// and partial files of a program that was killed.
#include "EngineStandIn.h"

#include "downloads/engine/ItemLocker.h"
#include "testing/ChildProcess.h"
#include "testing/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>

using namespace KavennaEngine;
using namespace DownloadsTests;
using Testing::HttpAnswer;

namespace {

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::vector<std::wstring> PartialFilesIn(const std::wstring& folder) {
    std::vector<std::wstring> parts;
    for (const std::wstring& name : Testing::FileNamesIn(folder)) {
        if (name.size() > 5 && name.compare(name.size() - 5, 5, L".part") == 0)
            parts.push_back(name);
    }
    return parts;
}

// A videos folder of the test's choosing (inside the environment's own
// temporary folder when relative).
class VideosEnvironment : public FolderEnvironment {
public:
    explicit VideosEnvironment(const std::wstring& videos = L"Videos")
        : m_videos(videos.find(L':') == std::wstring::npos ? Folder() / videos : videos) {}
    std::wstring GetVideosFolder() override { return m_videos; }
    std::wstring GetConvertedFolder() override { return m_videos + L"\\Converted"; }

private:
    const std::wstring m_videos;
};

// What an item shows once it has finished.
struct ItemState {
    int code = -1;
    std::wstring text;
    std::wstring displayName;
    std::wstring filePath;
    std::wstring tempPath;
    std::wstring convertedPath;
};

ItemState StateOf(const DownloadItemHandle& item) {
    ItemState state;
    ItemLocker locker;
    const boost::shared_ptr<IDownloadItem> pItem = item.Lock(locker);
    if (!pItem)
        return state;
    state.code = pItem->GetResult()->code;
    state.text = pItem->GetResult()->text;
    state.displayName = pItem->GetDownloadStage()->GetDisplayName();
    state.filePath = pItem->GetDownloadStage()->GetFilePath();
    state.tempPath = pItem->GetDownloadStage()->GetTempPath();
    state.convertedPath = pItem->GetConversionStage()->GetFilePath();
    return state;
}

// Keeps the handle of every item that starts, in the order of first starts.
class ItemKeeper : public RecordingObserver {
public:
    using RecordingObserver::RecordingObserver;
    void OnItemStarted(DownloadItemHandle item) override {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (std::none_of(m_items.begin(), m_items.end(),
                             [&](const DownloadItemHandle& known) { return known.m_pRaw == item.m_pRaw; }))
                m_items.push_back(item);
        }
        RecordingObserver::OnItemStarted(item);
    }
    std::vector<DownloadItemHandle> Items() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_items;
    }
    // The finished items by display name.
    std::map<std::wstring, ItemState> StatesByName() {
        std::map<std::wstring, ItemState> states;
        for (const DownloadItemHandle& item : Items()) {
            const ItemState state = StateOf(item);
            states[state.displayName] = state;
        }
        return states;
    }

private:
    std::mutex m_mutex;
    std::vector<DownloadItemHandle> m_items;
};

class EngineFaultsTest : public ::testing::Test {
protected:
    explicit EngineFaultsTest(const std::wstring& videos = L"Videos") : environment(videos) {}
    void SetUp() override {
        ASSERT_TRUE(engine.pEngine) << "EngineKavenna.dll did not load";
        ASSERT_TRUE(session.IsStarted());
    }
    std::wstring Videos() { return environment.GetVideosFolder(); }

    EngineStandIn engine;
    VideosEnvironment environment;
    Testing::LoopbackHttpServer server;
    ItemKeeper observer{engine.pEngine};
    EngineSession session{engine.pEngine, environment, observer};
};

TEST_F(EngineFaultsTest, EachFaultIsToldInWordsAndLeavesNoPartialFile) {
    const std::string longName(300, 'n');
    struct Case {
        const char* name;
        std::string path;  // as requested
        HttpAnswer answer;
        std::wstring displayName;
        int code;
        std::wstring text;      // the item's result
        std::wstring fileName;  // what the videos folder holds for it; empty for nothing
        std::string content;    // of that file
    };
    HttpAnswer busy = HttpAnswer::Ok("busy");
    busy.status = 503;
    const std::vector<Case> cases = {
        {"connection dropped", "/dropped.mp4", HttpAnswer::DroppedMidBody(BodyPattern(200000), 1000), L"dropped.mp4",
         ResultTransferFailed, L"The connection ended early: 1,000 of 200,000 bytes arrived.", L""},
        {"body shorter than announced", "/short.mp4", HttpAnswer::ShortBody(BodyPattern(3000), 9000), L"short.mp4",
         ResultTransferFailed, L"The connection ended early: 3,000 of 9,000 bytes arrived.", L""},
        // The answer ends where its length says: what follows is no part of it.
        {"body longer than announced", "/long.mp4", HttpAnswer::ShortBody(BodyPattern(9000), 3000), L"long.mp4",
         ResultComplete, L"", L"long.mp4", BodyPattern(3000)},
        {"empty body", "/empty.mp4", HttpAnswer::Ok(""), L"empty.mp4", ResultTransferFailed,
         L"The server sent an empty file.", L""},
        {"redirect loop", "/loop.mp4", HttpAnswer::Redirect("/loop.mp4"), L"loop.mp4", ResultTransferFailed,
         L"Too many redirects (more than 10): the server keeps sending the download on to another address.", L""},
        {"redirect to the video", "/moved.mp4", HttpAnswer::Redirect("/store/real.mp4"), L"moved.mp4",
         ResultComplete, L"", L"moved.mp4", BodyPattern(5000)},
        {"no answer at all", "/silent.mp4", HttpAnswer::NeverAnswered(), L"silent.mp4", ResultTransferFailed,
         L"The server stopped answering.", L""},
        {"silent after the headers", "/stalled.mp4", HttpAnswer::StalledMidBody(BodyPattern(50000), 2000),
         L"stalled.mp4", ResultTransferFailed, L"The server stopped sending after 2,000 of 50,000 bytes.", L""},
        {"not found", "/missing.mp4", HttpAnswer::NotFound(), L"missing.mp4", ResultNotRepeatable,
         L"The server answered 404.", L""},
        {"server error", "/busy.mp4", busy, L"busy.mp4", ResultTransferFailed, L"The server answered 503.", L""},
        {"escaped blank", "/typed%20video.mp4", HttpAnswer::Ok(BodyPattern(4000)), L"typed video.mp4", ResultComplete,
         L"", L"typed video.mp4", BodyPattern(4000)},
        {"characters no file name may hold", "/a%7Cb%3F.mp4", HttpAnswer::Ok(BodyPattern(4000)), L"a|b?.mp4",
         ResultComplete, L"", L"a_b_.mp4", BodyPattern(4000)},
        {"name of 300 characters", "/" + longName + ".mp4", HttpAnswer::Ok(BodyPattern(4000)),
         Widen(longName) + L".mp4", ResultComplete, L"", std::wstring(116, L'n') + L".mp4", BodyPattern(4000)},
    };
    server.SetAnswer("/store/real.mp4", HttpAnswer::Ok(BodyPattern(5000)));
    for (const Case& c : cases)
        server.SetAnswer(c.path, c.answer);
    // All at once: the engine runs a few and queues the rest.
    for (const Case& c : cases)
        ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(Widen(c.path))));
    ASSERT_TRUE(observer.WaitFinished(cases.size(), 120000));

    std::map<std::wstring, ItemState> states = observer.StatesByName();
    std::vector<std::wstring> expectedFiles;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(1u, states.count(c.displayName));
        const ItemState& state = states[c.displayName];
        EXPECT_EQ(c.code, state.code);
        EXPECT_EQ(c.text, state.text);
        EXPECT_TRUE(state.tempPath.empty());
        if (c.fileName.empty()) {
            EXPECT_TRUE(state.filePath.empty());
            continue;
        }
        expectedFiles.push_back(c.fileName);
        EXPECT_EQ(Videos() + L"\\" + c.fileName, state.filePath);
        EXPECT_EQ(c.content, Testing::ReadFileBytes(state.filePath));
    }
    std::sort(expectedFiles.begin(), expectedFiles.end());
    EXPECT_EQ(expectedFiles, Testing::FileNamesIn(Videos())) << "no partial file, nothing of a failed run";
    const auto requests = server.Requests();
    EXPECT_EQ(11, std::count_if(requests.begin(), requests.end(),
                                [](const Testing::HttpRequest& r) { return r.target == "/loop.mp4"; }))
        << "the first request and ten redirects";
}

TEST_F(EngineFaultsTest, FullDiskAndWriteErrorsAreToldAndTheirPartialFilesRemoved) {
    const struct {
        const char* name;
        DWORD error;
        std::wstring text;
    } cases[] = {
        {"full disk", ERROR_DISK_FULL, L"The disk is full: the video does not fit into \"" + Videos() + L"\\\"."},
        {"no right to write", ERROR_ACCESS_DENIED,
         L"The video cannot be saved: writing into \"" + Videos() + L"\\\" is not allowed."},
    };
    server.SetAnswer("/big.flv", HttpAnswer::Slow(BodyPattern(300000), 30000, 10));
    std::size_t finished = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        engine.door->SetWriteFailure(c.error);
        ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/big.flv?" + std::to_wstring(finished))));
        ASSERT_TRUE(observer.WaitFinished(++finished));
        const ItemState state = StateOf(observer.Items().back());
        EXPECT_EQ(ResultTransferFailed, state.code);
        EXPECT_EQ(c.text, state.text);
        EXPECT_TRUE(Testing::FileNamesIn(Videos()).empty());
    }
    // Another error: the system's words for it.
    engine.door->SetWriteFailure(ERROR_CRC);
    ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/big.flv?crc")));
    ASSERT_TRUE(observer.WaitFinished(++finished));
    const std::wstring text = StateOf(observer.Items().back()).text;
    EXPECT_EQ(0u, text.find(L"The video could not be written into \"" + Videos() + L"\\\" (")) << text;
    EXPECT_EQ(std::wstring::npos, text.find(L"error 23")) << "the system's sentence, not the number";
    EXPECT_TRUE(Testing::FileNamesIn(Videos()).empty());
    engine.door->SetWriteFailure(0);
}

TEST_F(EngineFaultsTest, StopAndDownloadAgainLeaveOnlyTheWholeFile) {
    const std::string body = BodyPattern(600000);
    server.SetAnswer("/long.flv", HttpAnswer::Slow(body, 30000, 60));
    ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/long.flv")));
    for (DWORD waited = 0; observer.Events().size() < 3 && waited < 20000; waited += 20)
        ::Sleep(20);
    const DownloadItemHandle item = observer.Items().at(0);
    std::wstring partPath;
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pItem = item.Lock(locker);
        ASSERT_TRUE(pItem);
        partPath = pItem->GetDownloadStage()->GetTempPath();
        pItem->Stop();
    }
    EXPECT_EQ(Videos() + L"\\long.flv.part", partPath);
    ASSERT_TRUE(observer.WaitFinished(1));
    EXPECT_EQ(ResultStopped, StateOf(item).code);
    EXPECT_TRUE(Testing::FileNamesIn(Videos()).empty()) << "a stopped run leaves nothing";

    // Again, twice: the second start replaces the run the first began.
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pItem = item.Lock(locker);
        ASSERT_TRUE(pItem);
        pItem->GetDownloadStage()->Start();
        pItem->GetDownloadStage()->Start();
    }
    ASSERT_TRUE(observer.WaitFinished(3));
    EXPECT_EQ(ResultComplete, StateOf(item).code);
    EXPECT_EQ(std::vector<std::wstring>{L"long.flv"}, Testing::FileNamesIn(Videos()));
    EXPECT_EQ(body, Testing::ReadFileBytes(Videos() + L"\\long.flv"));
}

TEST_F(EngineFaultsTest, ItemsOfOneNameConvertedTogetherEachKeepTheirOwnFile) {
    const int count = 3;
    for (int i = 0; i < count; ++i) {
        server.SetAnswer("/clips/movie.flv?" + std::to_string(i), HttpAnswer::Ok(BodyPattern(100000, i)));
        ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/clips/movie.flv?" + std::to_wstring(i))));
    }
    ASSERT_TRUE(observer.WaitFinished(count));
    EXPECT_EQ((std::vector<std::wstring>{L"movie (2).flv", L"movie (3).flv", L"movie.flv"}),
              Testing::FileNamesIn(Videos()));
    // The conversions start together and end together.
    for (const DownloadItemHandle& item : observer.Items()) {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pItem = item.Lock(locker);
        ASSERT_TRUE(pItem);
        pItem->AdvanceStage();
        pItem->GetConversionStage()->Start();
    }
    ASSERT_TRUE(observer.WaitFinished(2 * count));
    std::set<std::wstring> converted;
    for (const DownloadItemHandle& item : observer.Items()) {
        const ItemState state = StateOf(item);
        EXPECT_EQ(ResultComplete, state.code);
        EXPECT_EQ(Testing::ReadFileBytes(state.filePath), Testing::ReadFileBytes(state.convertedPath));
        converted.insert(state.convertedPath);
    }
    EXPECT_EQ(static_cast<std::size_t>(count), converted.size()) << "three items, three converted files";
    EXPECT_EQ((std::vector<std::wstring>{L"movie (2).mp4", L"movie (3).mp4", L"movie.mp4"}),
              Testing::FileNamesIn(Videos() + L"\\Converted"));

    // A conversion whose download went missing fails, and says so.
    const DownloadItemHandle first = observer.Items().at(0);
    ASSERT_TRUE(::DeleteFileW(StateOf(first).filePath.c_str()));
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pItem = first.Lock(locker);
        pItem->GetConversionStage()->Start();
    }
    ASSERT_TRUE(observer.WaitFinished(2 * count + 1));
    const ItemState failed = StateOf(first);
    EXPECT_EQ(ResultTransferFailed, failed.code);
    EXPECT_EQ(L"The file \"" + StateOf(first).filePath + L"\" is missing.", failed.text);
    EXPECT_EQ(3u, Testing::FileNamesIn(Videos() + L"\\Converted").size()) << "its earlier converted file stays";
}

// A videos folder two levels below what exists.
class EngineManyAtOnceTest : public EngineFaultsTest {
protected:
    EngineManyAtOnceTest() : EngineFaultsTest(L"New\\Two levels") {}
};

TEST_F(EngineManyAtOnceTest, FiftyAtOnceIntoAMissingFolderAllArriveUnderNamesOfTheirOwn) {
    const int count = 50;
    std::set<std::string> bodies;
    for (int i = 0; i < count; ++i) {
        const std::string body = BodyPattern(40000, i);
        bodies.insert(body);
        server.SetAnswer("/small.mp4?n=" + std::to_string(i), HttpAnswer::Slow(body, 10000, 100));
    }
    ASSERT_FALSE(Testing::PathExists(Videos()));
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/small.mp4?n=" + std::to_wstring(i))));
    ASSERT_TRUE(observer.WaitFinished(count, 300000));
    // A few ran side by side, the rest waited for their turn (one more may
    // be on its way in as the server sends an answer's last byte).
    EXPECT_GE(server.MostAnswersAtOnce(), 2u);
    EXPECT_LE(server.MostAnswersAtOnce(), static_cast<std::size_t>(TestDoor::kDownloadsAtOnce) + 1);

    std::set<std::string> arrived;
    for (const DownloadItemHandle& item : observer.Items()) {
        const ItemState state = StateOf(item);
        EXPECT_EQ(ResultComplete, state.code) << state.text;
        arrived.insert(Testing::ReadFileBytes(state.filePath));
    }
    EXPECT_EQ(bodies, arrived) << "every body in a file of its own";
    const std::vector<std::wstring> files = Testing::FileNamesIn(Videos());
    EXPECT_EQ(static_cast<std::size_t>(count), files.size());
    EXPECT_TRUE(PartialFilesIn(Videos()).empty());
    EXPECT_EQ(1, std::count(files.begin(), files.end(), L"small.mp4"));
    EXPECT_EQ(1, std::count(files.begin(), files.end(), L"small (50).mp4"));
    EXPECT_EQ(static_cast<std::size_t>(count), server.RequestCount());
}

TEST(EngineFolderFaults, AFolderThatCannotBeMadeIsNamed) {
    Testing::TempFolder outside;
    const std::wstring file = outside.WriteFile(L"not a folder", "x");
    EngineStandIn engine;
    VideosEnvironment environment(file + L"\\Videos");
    ItemKeeper observer(engine.pEngine);
    EngineSession session(engine.pEngine, environment, observer);
    ASSERT_TRUE(session.IsStarted());
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/clip.flv", HttpAnswer::Ok(BodyPattern(1000)));
    ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/clip.flv")));
    ASSERT_TRUE(observer.WaitFinished(1));
    const ItemState state = StateOf(observer.Items().at(0));
    EXPECT_EQ(ResultTransferFailed, state.code);
    EXPECT_EQ(0u, state.text.find(L"The folder \"" + file + L"\\Videos\\\" could not be created")) << state.text;
    EXPECT_EQ(0u, server.RequestCount()) << "nothing is fetched that has nowhere to go";
}

// Starts a download that never ends into the folder the variable names and
// dies once its partial file has data, as a program killed mid-download.
TESTING_CHILD_SCENARIO(EngineKilledMidDownload) {
    wchar_t videos[MAX_PATH] = {}, url[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"BRUNLOW_TEST_VIDEOS", videos, MAX_PATH);
    ::GetEnvironmentVariableW(L"BRUNLOW_TEST_URL", url, MAX_PATH);
    EngineStandIn engine;
    VideosEnvironment environment(videos);
    if (!engine.pEngine || !engine.pEngine->Initialize(&environment, &environment) || !engine.pEngine->AddUrl(url))
        return 2;
    const std::wstring part = std::wstring(videos) + L"\\endless.flv.part";
    for (int i = 0; i < 600; ++i) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (::GetFileAttributesExW(part.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow > 0)
            ::TerminateProcess(::GetCurrentProcess(), 9);
        ::Sleep(50);
    }
    return 3;
}

TEST(EnginePartialFiles, ThoseOfAKilledProgramGoAtTheNextStartAndNothingElse) {
    Testing::TempFolder folder;
    const std::wstring videos = folder.MakeFolder(L"Videos");
    const std::wstring foreign = folder.WriteFile(L"Videos\\someone else's.mp4.part", "not ours");
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/endless.flv", HttpAnswer::StalledMidBody(BodyPattern(100000), 5000));
    const Testing::ChildResult child = Testing::RunChildScenario(
        "EngineKilledMidDownload",
        {{L"BRUNLOW_TEST_VIDEOS", videos}, {L"BRUNLOW_TEST_URL", server.Url(L"/endless.flv")}});
    ASSERT_TRUE(child.started);
    ASSERT_EQ(9u, child.exitCode);
    ASSERT_TRUE(Testing::PathExists(videos + L"\\endless.flv.part"));

    EngineStandIn engine;
    VideosEnvironment environment(videos);
    ASSERT_TRUE(engine.pEngine->Initialize(&environment, &environment));
    EXPECT_EQ(std::vector<std::wstring>{L"someone else's.mp4.part"}, Testing::FileNamesIn(videos));
    EXPECT_EQ("not ours", Testing::ReadFileBytes(foreign));
    engine.pEngine->Uninitialize();
}

}  // namespace
