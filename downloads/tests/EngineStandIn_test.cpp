// The capture engine's stand-in against a loopback HTTP server: the event
// order and counts of a run, the result codes, Stop and DropItem, the state
// switch, the stages and the test door's extras.
#include "EngineStandIn.h"

#include "downloads/engine/ItemLocker.h"
#include "testing/ChildProcess.h"
#include "testing/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <mutex>

using namespace KavennaEngine;
using namespace DownloadsTests;

namespace {

std::vector<RecordedEvent> EventsOf(const RecordingObserver& observer, std::uintptr_t item) {
    std::vector<RecordedEvent> events = observer.Events();
    events.erase(std::remove_if(events.begin(), events.end(), [&](const RecordedEvent& e) { return e.item != item; }),
                 events.end());
    return events;
}

class EngineStandInTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine.pEngine) << "EngineKavenna.dll did not load";
        ASSERT_TRUE(session.IsStarted());
    }
    // The one item the engine made for the last AddUrl.
    DownloadItemHandle Started(std::size_t index = 0) {
        for (DWORD waited = 0; waited < 10000; waited += 20) {
            std::vector<RecordedEvent> events = observer.Events();
            std::vector<std::uintptr_t> items;
            for (const RecordedEvent& e : events) {
                if (e.name == L"Started" && std::find(items.begin(), items.end(), e.item) == items.end())
                    items.push_back(e.item);
            }
            if (items.size() > index)
                return handles.count(items[index]) ? handles[items[index]] : DownloadItemHandle();
            ::Sleep(20);
        }
        return {};
    }

    EngineStandIn engine;
    FolderEnvironment environment;
    Testing::LoopbackHttpServer server;

    class HandleKeeper : public RecordingObserver {
    public:
        explicit HandleKeeper(std::map<std::uintptr_t, DownloadItemHandle>& handles, boost::shared_ptr<IEngine> pEngine)
            : RecordingObserver(pEngine), m_handles(handles) {}
        void OnItemStarted(DownloadItemHandle item) override {
            {
                std::lock_guard<std::mutex> lock(mutex);
                m_handles[item.m_pRaw] = item;
            }
            RecordingObserver::OnItemStarted(item);
        }
        std::mutex mutex;

    private:
        std::map<std::uintptr_t, DownloadItemHandle>& m_handles;
    };
    std::map<std::uintptr_t, DownloadItemHandle> handles;
    HandleKeeper observer{handles, engine.pEngine};
    EngineSession session{engine.pEngine, environment, observer};
};

TEST_F(EngineStandInTest, SlowMegabyteArrivesInOrderWithRisingCounts) {
    const std::string body = BodyPattern(1048576);
    server.SetAnswer("/clips/video.flv", Testing::HttpAnswer::Slow(body, 131072, 100));
    ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/clips/video.flv")));
    ASSERT_TRUE(observer.WaitFinished(1));
    const DownloadItemHandle item = Started();
    const std::vector<RecordedEvent> events = EventsOf(observer, item.m_pRaw);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(L"Started", events.front().name);
    EXPECT_EQ(L"Finished", events.back().name);
    std::uint32_t last = 0;
    for (std::size_t i = 1; i + 1 < events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(L"Progress", events[i].name);
        EXPECT_GE(events[i].received, last);
        last = events[i].received;
        EXPECT_EQ(1048576u, events[i].total);
    }
    for (const RecordedEvent& e : events)
        EXPECT_NE(::GetCurrentThreadId(), e.thread) << "events come on engine threads";
    EXPECT_EQ(0, events.back().code);
    EXPECT_EQ(1048576u, events.back().received);
    EXPECT_EQ(1048576u, events.back().total);

    ItemLocker locker;
    const boost::shared_ptr<IDownloadItem> pItem = item.Lock(locker);
    ASSERT_TRUE(pItem);
    IDownloadStage* pStage = pItem->GetDownloadStage();
    EXPECT_EQ(L"video.flv", pStage->GetDisplayName());
    EXPECT_EQ(L"127.0.0.1", pStage->GetAlternateName());
    EXPECT_EQ(1, pStage->GetMediaKind());
    EXPECT_TRUE(pStage->IsComplete());
    EXPECT_FALSE(pStage->IsImport());
    EXPECT_FALSE(pStage->IsRunning());
    EXPECT_EQ(environment.Folder() / L"Videos\\video.flv", pStage->GetFilePath());
    EXPECT_EQ(body, Testing::ReadFileBytes(pStage->GetFilePath()));
    EXPECT_GE(pStage->GetTransferTick(), pStage->GetTransferStartTick());
    EXPECT_GT(environment.fileOperations, 0) << "file work goes through the elevation face";
}

TEST_F(EngineStandInTest, OutcomeCodesOfTransfers) {
    struct Case {
        const char* path;
        Testing::HttpAnswer answer;
        int code;
        bool totalKnown;
    } cases[] = {
        {"/plain.mp4", Testing::HttpAnswer::Ok(BodyPattern(5000)), ResultComplete, true},
        {"/nolength.mp4", Testing::HttpAnswer::WithoutLength(BodyPattern(70000)), ResultComplete, false},
        {"/missing.mp4", Testing::HttpAnswer::NotFound(), ResultNotRepeatable, true},
        {"/dropped.mp4", Testing::HttpAnswer::DroppedMidBody(BodyPattern(200000), 1000), ResultTransferFailed, true},
        {"/short.mp4", Testing::HttpAnswer::ShortBody(BodyPattern(3000), 9000), ResultTransferFailed, true},
    };
    Testing::HttpAnswer gone;
    gone.status = 410;
    server.SetAnswer("/gone.mp4", gone);
    for (Case& c : cases)
        server.SetAnswer(c.path, c.answer);
    std::size_t finished = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string path = c.path;
        ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(std::wstring(path.begin(), path.end()))));
        ASSERT_TRUE(observer.WaitFinished(++finished));
        const DownloadItemHandle item = Started(finished - 1);
        const std::vector<RecordedEvent> events = EventsOf(observer, item.m_pRaw);
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(c.code, events.back().code);
        if (!c.totalKnown) {
            for (const RecordedEvent& e : events)
                EXPECT_EQ(0u, e.total) << "no Content-Length: the total stays unknown";
            EXPECT_EQ(70000u, events.back().received);
        }
    }
    ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/gone.mp4")));
    ASSERT_TRUE(observer.WaitFinished(++finished));
    EXPECT_EQ(ResultNotRepeatable, EventsOf(observer, Started(finished - 1).m_pRaw).back().code);

    // A refused connection: a port nobody listens on.
    unsigned short port;
    {
        Testing::LoopbackHttpServer closed;
        port = closed.Port();
    }
    ASSERT_TRUE(engine.pEngine->AddUrl(L"http://127.0.0.1:" + std::to_wstring(port) + L"/refused.flv"));
    ASSERT_TRUE(observer.WaitFinished(++finished));
    EXPECT_EQ(ResultTransferFailed, EventsOf(observer, Started(finished - 1).m_pRaw).back().code);
}

TEST_F(EngineStandInTest, StopEndsWritingAndReportsStopped) {
    server.SetAnswer("/long.flv", Testing::HttpAnswer::Slow(BodyPattern(4 << 20), 65536, 150));
    ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/long.flv")));
    const DownloadItemHandle item = Started();
    for (DWORD waited = 0; EventsOf(observer, item.m_pRaw).size() < 3 && waited < 10000; waited += 20)
        ::Sleep(20);
    EXPECT_TRUE(engine.pEngine->IsBusy(false));
    std::wstring partPath;
    std::uint32_t receivedAtStop = 0;
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pItem = item.Lock(locker);
        ASSERT_TRUE(pItem);
        partPath = pItem->GetDownloadStage()->GetTempPath();
        pItem->Stop();
        receivedAtStop = pItem->GetReceivedBytes();
    }
    EXPECT_GT(receivedAtStop, 0u);
    ::Sleep(600);
    {
        ItemLocker locker;
        EXPECT_EQ(receivedAtStop, item.Lock(locker)->GetReceivedBytes()) << "written after Stop returned";
    }
    ASSERT_TRUE(observer.WaitFinished(1));
    EXPECT_EQ(ResultStopped, EventsOf(observer, item.m_pRaw).back().code);
    EXPECT_FALSE(engine.pEngine->IsBusy(false));
    EXPECT_FALSE(Testing::PathExists(partPath)) << "a stopped download leaves no partial file";
}

TEST_F(EngineStandInTest, NothingNamesAnItemAfterDropItem) {
    server.SetAnswer("/drop.flv", Testing::HttpAnswer::Slow(BodyPattern(2 << 20), 32768, 50));
    ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/drop.flv")));
    const DownloadItemHandle item = Started();
    for (DWORD waited = 0; EventsOf(observer, item.m_pRaw).size() < 2 && waited < 10000; waited += 20)
        ::Sleep(20);
    engine.pEngine->DropItem(item);
    const std::size_t count = EventsOf(observer, item.m_pRaw).size();
    ::Sleep(700);
    EXPECT_EQ(count, EventsOf(observer, item.m_pRaw).size());
    EXPECT_EQ(0u, engine.pEngine->GetItemCount());
}

TEST_F(EngineStandInTest, SameAddressTwiceReportsTheDuplicate) {
    server.SetAnswer("/twice.flv", Testing::HttpAnswer::Ok(BodyPattern(1000)));
    ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/twice.flv")));
    ASSERT_TRUE(observer.WaitFinished(1));
    const DownloadItemHandle first = Started();
    EXPECT_FALSE(engine.pEngine->AddUrl(server.Url(L"/twice.flv")));
    ASSERT_TRUE(observer.WaitFinished(2));
    ASSERT_EQ(2u, observer.duplicates.size());
    EXPECT_TRUE(observer.duplicates[0].IsSameItem(first));
    EXPECT_NE(first.m_pRaw, observer.duplicates[1].m_pRaw);
    EXPECT_EQ(1u, engine.pEngine->GetItemCount());
}

TEST_F(EngineStandInTest, SetStateHasToldEveryObserverOnTheCallingThread) {
    RecordingObserver second;
    engine.pEngine->Subscribe(&second);
    engine.door->SetStateWarning(L"Browser integration is limited");
    std::wstring message;
    ASSERT_TRUE(engine.pEngine->SetState(EngineOn, &message));
    EXPECT_EQ(L"Browser integration is limited", message);
    EXPECT_EQ(EngineOn, engine.pEngine->GetState());
    for (const RecordingObserver* pObserver : {static_cast<RecordingObserver*>(&observer), &second}) {
        const std::vector<RecordedEvent> events = pObserver->Events();
        ASSERT_EQ(1u, events.size());
        EXPECT_EQ(L"State", events[0].name);
        EXPECT_EQ(EngineOn, events[0].code);
        EXPECT_EQ(::GetCurrentThreadId(), events[0].thread);
    }
    EXPECT_FALSE(engine.pEngine->SetState(7, nullptr));
    engine.pEngine->Unsubscribe(&second);
}

TEST(EngineStandInRefusals, InitializeAndSetStateRefusals) {
    EngineStandIn engine;
    ASSERT_TRUE(engine.pEngine);
    EXPECT_FALSE(engine.pEngine->SetState(EngineOn, nullptr)) << "refused before Initialize";
    FolderEnvironment environment;
    EXPECT_FALSE(engine.pEngine->Initialize(&environment, nullptr));
    engine.door->SetRefusals(TestDoor::RefuseInitialize);
    EXPECT_FALSE(engine.pEngine->Initialize(&environment, &environment));
    engine.door->SetRefusals(TestDoor::RefuseSetState | TestDoor::RefuseAddUrl);
    EXPECT_TRUE(engine.pEngine->Initialize(&environment, &environment));
    EXPECT_FALSE(engine.pEngine->SetState(EngineOn, nullptr));
    EXPECT_FALSE(engine.pEngine->AddUrl(L"http://127.0.0.1:1/a.flv"));
    engine.door->SetRefusals(TestDoor::RefuseNothing);
    EXPECT_FALSE(engine.pEngine->AddUrl(L"ftp://127.0.0.1/a.flv"));
    EXPECT_FALSE(engine.pEngine->AddUrl(L"not an address"));
    EXPECT_EQ(EngineOff, engine.pEngine->GetState());
}

TEST_F(EngineStandInTest, ConversionAndCopyProduceTheirFilesAndDownloadStartReturnsToStageZero) {
    const std::string body = BodyPattern(300000);
    server.SetAnswer("/movie.flv", Testing::HttpAnswer::Ok(body));
    const std::wstring player = environment.Folder() / L"Player";
    engine.door->SetPlayerFolder(player);
    ASSERT_TRUE(engine.pEngine->AddUrl(server.Url(L"/movie.flv")));
    ASSERT_TRUE(observer.WaitFinished(1));
    const DownloadItemHandle item = Started();
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pItem = item.Lock(locker);
        ASSERT_TRUE(pItem);
        EXPECT_TRUE(engine.pEngine->CanProcessItemFurther(pItem.get()));
        pItem->AdvanceStage();
        EXPECT_EQ(StageConversion, pItem->GetStage());
        pItem->Start();
    }
    ASSERT_TRUE(observer.WaitFinished(2));
    const std::wstring converted = environment.Folder() / L"Videos\\Converted\\movie.mp4";
    EXPECT_EQ(body, Testing::ReadFileBytes(converted));
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pItem = item.Lock(locker);
        EXPECT_EQ(converted, pItem->GetConversionStage()->GetFilePath());
        EXPECT_EQ(ResultComplete, pItem->GetConversionStage()->GetResult()->code);
        EXPECT_TRUE(engine.pEngine->CanProcessItemFurther(pItem.get()));
        pItem->AdvanceStage();
        EXPECT_TRUE(engine.pEngine->CanProcessItemFurther(pItem.get())) << "stage 2: the converted file exists";
        pItem->Start();
    }
    ASSERT_TRUE(observer.WaitFinished(3));
    EXPECT_EQ(body, Testing::ReadFileBytes(player + L"\\movie.mp4"));
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pItem = item.Lock(locker);
        pItem->AdvanceStage();
        EXPECT_EQ(StageDeploy, pItem->GetStage()) << "stage 2 stays";
        pItem->GetDownloadStage()->Start();
        EXPECT_EQ(StageDownload, pItem->GetStage());
    }
    ASSERT_TRUE(observer.WaitFinished(4));
    const std::vector<RecordedEvent> events = EventsOf(observer, item.m_pRaw);
    EXPECT_EQ(4, std::count_if(events.begin(), events.end(), [](const RecordedEvent& e) { return e.name == L"Started"; }));
}

TEST_F(EngineStandInTest, CaughtAddressesAndImportedFilesBecomeItems) {
    server.SetAnswer("/caught.flv", Testing::HttpAnswer::Ok(BodyPattern(2000)));
    engine.door->SetCaughtAddresses({server.Url(L"/caught.flv")});
    ASSERT_TRUE(engine.pEngine->SetState(EngineOn, nullptr));
    ASSERT_TRUE(observer.WaitFinished(1));
    const std::wstring local = environment.Folder().WriteFile(L"Local\\clip.avi", BodyPattern(500));
    engine.pEngine->AddFile(local);
    ASSERT_TRUE(observer.WaitFinished(2));
    const DownloadItemHandle imported = Started(1);
    ItemLocker locker;
    const boost::shared_ptr<IDownloadItem> pItem = imported.Lock(locker);
    ASSERT_TRUE(pItem);
    EXPECT_TRUE(pItem->GetDownloadStage()->IsImport());
    EXPECT_EQ(local, pItem->GetDownloadStage()->GetFilePath());
    EXPECT_EQ(5, pItem->GetDownloadStage()->GetMediaKind());
    EXPECT_EQ(ResultComplete, pItem->GetResult()->code);
    EXPECT_EQ(2u, engine.pEngine->GetItemCount());
}

TEST(EngineStandInPresets, OffersTheFormatsTheSettingsNeed) {
    EngineStandIn engine;
    ASSERT_TRUE(engine.pEngine);
    boost::shared_ptr<IConversionPresets> pPresets;
    ASSERT_TRUE(engine.pEngine->GetConversionPresets(pPresets));
    boost::shared_ptr<IConversionPresetEnumerator> pEnumerator;
    pPresets->Enumerate(pEnumerator);
    std::vector<std::wstring> ipadIds;
    while (boost::shared_ptr<IConversionPreset> pPreset = pEnumerator->Next()) {
        if (pPreset->GetName() == L"iPad")
            ipadIds.push_back(pPreset->GetId());
    }
    ASSERT_GE(ipadIds.size(), 2u);
    EXPECT_NE(ipadIds[0].find(L"_A_"), std::wstring::npos);
    EXPECT_NE(ipadIds[1].find(L"_B_"), std::wstring::npos);
    boost::shared_ptr<IConversionPreset> pFound;
    EXPECT_TRUE(pPresets->FindById(pFound, L"OFP_0_IPAD_A_1024X768!iPadMpeg4_1024x768,85"));
    ASSERT_TRUE(pFound);
    EXPECT_FALSE(pPresets->FindById(pFound, L"nothing"));
    EXPECT_FALSE(pFound);
}

TEST(EngineStandInDoor, DoorItemsEventsAndTheCallLog) {
    EngineStandIn engine;
    ASSERT_TRUE(engine.pEngine);
    RecordingObserver observer;
    engine.pEngine->Subscribe(&observer);
    TestDoor::ItemSpec spec;
    spec.stage = StageConversion;
    spec.received = 3000000000u;
    spec.total = 4000000000u;
    spec.auxiliaryCount = 301;
    spec.reviewFlag = 1;
    spec.reviewText = L"review.flv";
    spec.downloadCode = ResultDeleted;
    const DownloadItemHandle item = engine.door->AddItem(spec);
    engine.door->SetAuxiliaryFlag(true);
    EXPECT_TRUE(engine.pEngine->GetAuxiliaryObject()->GetAuxiliaryFlag());
    {
        ItemLocker locker;
        const boost::shared_ptr<IDownloadItem> pItem = item.Lock(locker);
        ASSERT_TRUE(pItem);
        EXPECT_EQ(4000000000u, pItem->GetTotalBytes());
        EXPECT_EQ(301u, pItem->GetAuxiliaryCount());
        EXPECT_EQ(1, pItem->GetDownloadStage()->GetReviewRecord()->reviewFlag);
        EXPECT_EQ(ResultDeleted, pItem->GetDownloadStage()->GetResult()->code);
    }
    engine.door->FireEvent(TestDoor::EventItemProgress, item, {}, 0, true);
    engine.door->FireEvent(TestDoor::EventItemFinished, item, {}, 0, false);
    const std::vector<RecordedEvent> events = observer.Events();
    ASSERT_EQ(2u, events.size());
    EXPECT_NE(::GetCurrentThreadId(), events[0].thread);
    EXPECT_EQ(::GetCurrentThreadId(), events[1].thread);

    std::vector<std::uintptr_t> hooked;
    engine.door->SetHook(TestDoor::HookDropItem, [&](std::uintptr_t number) { hooked.push_back(number); });
    engine.pEngine->DropItem(item);
    EXPECT_EQ(std::vector<std::uintptr_t>{item.m_pRaw}, hooked);
    const std::wstring expected = L"DropItem item=" + std::to_wstring(item.m_pRaw) + L" thread=" +
                                  std::to_wstring(::GetCurrentThreadId());
    const std::vector<std::wstring> drops = engine.Calls(L"DropItem");
    ASSERT_EQ(1u, drops.size());
    EXPECT_EQ(expected, drops[0]);
    engine.pEngine->Unsubscribe(&observer);
}

}  // namespace

namespace {

// Run with the log and caught-address variables set.
TESTING_CHILD_SCENARIO(EngineVariables) {
    EngineStandIn engine;
    FolderEnvironment environment;
    RecordingObserver observer;
    if (!engine.pEngine || !engine.pEngine->Initialize(&environment, &environment))
        return 2;
    engine.pEngine->Subscribe(&observer);
    engine.pEngine->SetState(EngineOn, nullptr);
    // The variable's addresses become items; nobody serves them, so they fail.
    const bool finished = observer.WaitFinished(2);
    engine.pEngine->Unsubscribe(&observer);
    return finished && engine.pEngine->GetItemCount() == 2 ? 0 : 3;
}

TEST(EngineStandInVariables, CallLogFileAndCaughtAddressesFromTheEnvironment) {
    Testing::TempFolder folder;
    const std::wstring log = folder / L"engine.log";
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario(
        "EngineVariables", {{TestDoor::kCallLogVariable, log},
                            {TestDoor::kCaughtVariable, std::wstring(L"http://127.0.0.1:1/a.flv|http://127.0.0.1:1/b.flv")}})));
    const std::string text = Testing::ReadFileBytes(log);
    EXPECT_NE(std::string::npos, text.find("CreateEngine item=0 thread="));
    EXPECT_NE(std::string::npos, text.find("AddUrl http://127.0.0.1:1/b.flv"));
    EXPECT_NE(std::string::npos, text.find("OnItemFinished item="));
}

}  // namespace
