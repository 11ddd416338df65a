// The program's main road in a window: the engine's stand-in catches an
// address served over loopback HTTP, the list shows the row at the top, moves
// its bar and ends it with its status, details and next-action button; a
// dropped local file becomes an import row the same way.
#include "downloads/view/BrunlowView.h"

#include "ListHost.h"
#include "testing/HDropData.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

using namespace KavennaEngine;
using DownloadsTests::ListHost;

namespace {

class EndToEndView : public CBrunlowView {
    DECLARE_DYNCREATE(EndToEndView)
};
IMPLEMENT_DYNCREATE(EndToEndView, CBrunlowView)

std::string Body(size_t bytes) {
    std::string body(bytes, '\0');
    for (size_t i = 0; i < bytes; ++i)
        body[i] = static_cast<char>((i * 131 + i / 4096) & 0xFF);
    return body;
}

std::string ReadFile(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Serves the GUI thread's messages (the queue's timer among them) until
// `done` or the time-out; `each` runs after every round. False on time-out.
bool ServeUntil(const std::function<bool()>& done, DWORD timeoutMs, const std::function<void()>& each = {}) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (each)
            each();
    }
    return true;
}

// The list, an engine that works in a folder of its own, and a server.
struct EndToEndHost {
    EndToEndHost() : host(RUNTIME_CLASS(EndToEndView)) {
        if (host.engine.pEngine)
            initialized = host.engine.pEngine->Initialize(&environment, &environment);
    }
    ~EndToEndHost() {
        if (host.engine.pEngine)
            host.engine.pEngine->Uninitialize();
    }
    DownloadsTests::FolderEnvironment environment;
    ListHost host;
    bool initialized = false;
};

class ListEndToEndTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_endHost = new EndToEndHost; }
    static void TearDownTestSuite() {
        delete s_endHost;
        s_endHost = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_endHost->host.view, nullptr);
        ASSERT_TRUE(s_endHost->initialized);
        view = s_endHost->host.view;
        engine = s_endHost->host.engine.pEngine;
        door = s_endHost->host.engine.door;
        s_endHost->host.settings->SetAutomaticConversion(false);
    }
    void TearDown() override {
        engine->SetState(EngineOff, nullptr);
        ServeUntil([] { return false; }, 200);
        while (!view->GetRowRecords().empty())
            view->RemoveRow(0);
    }

    // An older row below which the caught one must appear.
    void AddOlderRow() {
        TestDoor::ItemSpec spec;
        spec.displayName = L"older.flv";
        spec.mediaKind = 1;
        view->OnProcessingStarted(DownloadsTests::ListEntry(door->AddItem(spec)));
    }
    // Switches the engine on with `path` of the server caught.
    void Catch(const std::wstring& path) {
        door->SetCaughtAddresses({server.Url(path)});
        ASSERT_TRUE(engine->SetState(EngineOn, nullptr));
    }
    std::wstring Text(int row, int column) {
        return std::wstring(view->GetListCtrl().GetItemText(row, column).GetString());
    }
    // Serves messages until row 0 (not the older one) is finished with
    // `status`; the bar positions seen on the way are kept.
    bool WaitForStatus(const std::wstring& status, DWORD timeoutMs = 90000) {
        return ServeUntil(
            [&] {
                const CBrunlowView::RowPtr row = view->GetRow(0);
                return row && row->IsFinished() && Text(0, 1) == status;
            },
            timeoutMs,
            [&] {
                const CBrunlowView::RowPtr row = view->GetRow(0);
                if (row && Text(0, 0) != L"older.flv" && !row->IsFinished())
                    positions.push_back(row->GetPos());
            });
    }

    static EndToEndHost* s_endHost;
    CBrunlowView* view = nullptr;
    boost::shared_ptr<IEngine> engine;
    TestDoor::ITestDoor* door = nullptr;
    Testing::LoopbackHttpServer server;
    std::vector<int> positions;
};
EndToEndHost* ListEndToEndTest::s_endHost = nullptr;

TEST_F(ListEndToEndTest, ACaughtVideoBecomesARowThatEndsReadyToConvert) {
    const std::string body = Body(2097152);
    server.SetAnswer("/videos/clip.flv", Testing::HttpAnswer::Slow(body, 65536, 100));
    AddOlderRow();
    Catch(L"/videos/clip.flv");
    ASSERT_TRUE(WaitForStatus(L"Download finished")) << Text(0, 0) << " | " << Text(0, 1);
    ASSERT_EQ(view->GetRowRecords().size(), 2u);
    EXPECT_EQ(Text(0, 0), L"clip.flv");
    EXPECT_EQ(Text(1, 0), L"older.flv");
    EXPECT_EQ(Text(0, 2), L"Size: 2.0 MB");
    // The bar rose and never fell.
    ASSERT_FALSE(positions.empty());
    for (size_t i = 1; i < positions.size(); ++i)
        EXPECT_GE(positions[i], positions[i - 1]) << i;
    EXPECT_GT(positions.back(), positions.front());
    EXPECT_EQ(ReadFile(s_endHost->environment.Folder() / L"Videos\\clip.flv"), body);
    // Drains that added rows gave the list its redrawing back.
    EXPECT_TRUE(view->IsWindowVisible());
    // Ready to convert: the button offers it.
    const CBrunlowView::RowPtr row = view->GetRow(0);
    EXPECT_EQ(row->GetButtonBitmap(), 160u);
    EXPECT_TRUE(row->GetButton().IsWindowVisible());
    EXPECT_FALSE(row->IsWindowVisible());
    ServeUntil([] { return false; }, 100);
    Testing::SaveWindowPicture(s_endHost->host.frame->m_hWnd, L"DownloadListCaughtVideo");
}

TEST_F(ListEndToEndTest, WithAutomaticConversionTheRowGoesOnToItsConvertedFile) {
    s_endHost->host.settings->SetAutomaticConversion(true);
    const std::string body = Body(524288);
    server.SetAnswer("/videos/auto.flv", Testing::HttpAnswer::Slow(body, 65536, 30));
    Catch(L"/videos/auto.flv");
    ASSERT_TRUE(WaitForStatus(L"Conversion finished")) << Text(0, 1);
    EXPECT_EQ(Text(0, 0), L"auto.flv");
    EXPECT_EQ(ReadFile(s_endHost->environment.Folder() / L"Videos\\Converted\\auto.mp4"), body);
    // Converted: the copy to the player comes next.
    EXPECT_EQ(view->GetRow(0)->GetButtonBitmap(), 161u);
    EXPECT_TRUE(view->GetRow(0)->GetButton().IsWindowVisible());
}

TEST_F(ListEndToEndTest, AnAddressThatIsNotFoundEndsInAnErrorWithoutAButton) {
    Catch(L"/videos/missing.flv");
    ASSERT_TRUE(WaitForStatus(L"Download failed")) << Text(0, 1);
    EXPECT_EQ(Text(0, 2), L"The server answered 404.");
    const CBrunlowView::RowPtr row = view->GetRow(0);
    EXPECT_FALSE(row->IsButtonShown());
    EXPECT_FALSE(row->GetButton().IsWindowVisible());
    EXPECT_FALSE(row->IsWindowVisible());
}

TEST_F(ListEndToEndTest, FaultyAddressesCaughtTogetherEachEndSayingWhatWentWrong) {
    struct Case {
        const char* path;
        Testing::HttpAnswer answer;
        const wchar_t* name;
        const wchar_t* status;
        const wchar_t* details;
    };
    const Case cases[] = {
        {"/f/dropped.flv", Testing::HttpAnswer::DroppedMidBody(Body(200000), 1000), L"dropped.flv",
         L"Download failed", L"The connection ended early: 1,000 of 200,000 bytes arrived."},
        {"/f/short.flv", Testing::HttpAnswer::ShortBody(Body(3000), 9000), L"short.flv", L"Download failed",
         L"The connection ended early: 3,000 of 9,000 bytes arrived."},
        {"/f/empty.flv", Testing::HttpAnswer::Ok(""), L"empty.flv", L"Download failed",
         L"The server sent an empty file."},
        {"/f/loop.flv", Testing::HttpAnswer::Redirect("/f/loop.flv"), L"loop.flv", L"Download failed",
         L"Too many redirects (more than 10): the server keeps sending the download on to another address."},
        {"/f/stalled.flv", Testing::HttpAnswer::StalledMidBody(Body(50000), 2000), L"stalled.flv",
         L"Download failed", L"The server stopped sending after 2,000 of 50,000 bytes."},
        {"/f/typed%20video.flv", Testing::HttpAnswer::Ok(Body(4000)), L"typed video.flv", L"Download finished",
         L"Size: 3 KB"},
    };
    std::vector<std::wstring> urls;
    for (const Case& c : cases) {
        server.SetAnswer(c.path, c.answer);
        const std::string path = c.path;
        urls.push_back(server.Url(std::wstring(path.begin(), path.end())));
    }
    door->SetCaughtAddresses(urls);
    ASSERT_TRUE(engine->SetState(EngineOn, nullptr));
    const std::size_t count = std::size(cases);
    ASSERT_TRUE(ServeUntil(
        [&] {
            const auto& rows = view->GetRowRecords();
            return rows.size() == count && std::all_of(rows.begin(), rows.end(), [](const auto& record) {
                       return record.pItem && record.pItem->IsFinished();
                   });
        },
        120000));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        int row = -1;
        for (int i = 0; i < static_cast<int>(count); ++i) {
            if (Text(i, 0) == c.name)
                row = i;
        }
        ASSERT_GE(row, 0);
        EXPECT_EQ(Text(row, 1), c.status);
        EXPECT_EQ(Text(row, 2), c.details);
    }
    const std::wstring videos = s_endHost->environment.Folder() / L"Videos";
    EXPECT_TRUE(Testing::PathExists(videos + L"\\typed video.flv"));
    for (const Case& c : cases)
        EXPECT_FALSE(Testing::PathExists(videos + L"\\" + c.name + L".part"));
    ServeUntil([] { return false; }, 100);
    Testing::SaveWindowPicture(s_endHost->host.frame->m_hWnd, L"DownloadListFaults");
}

TEST_F(ListEndToEndTest, ItemsOfOneNameCaughtTogetherEachConvertToAFileOfTheirOwn) {
    s_endHost->host.settings->SetAutomaticConversion(true);
    std::vector<std::wstring> urls;
    for (int i = 0; i < 3; ++i) {
        server.SetAnswer("/same/movie.flv?" + std::to_string(i), Testing::HttpAnswer::Ok(Body(100000 + i)));
        urls.push_back(server.Url(L"/same/movie.flv?" + std::to_wstring(i)));
    }
    door->SetCaughtAddresses(urls);
    ASSERT_TRUE(engine->SetState(EngineOn, nullptr));
    ASSERT_TRUE(ServeUntil(
        [&] {
            const auto& rows = view->GetRowRecords();
            if (rows.size() != urls.size())
                return false;
            for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
                if (Text(i, 1) != L"Conversion finished")
                    return false;
            }
            return true;
        },
        120000));
    const std::wstring converted = s_endHost->environment.Folder() / L"Videos\\Converted";
    std::vector<std::string> bodies;
    for (const wchar_t* name : {L"movie.mp4", L"movie (2).mp4", L"movie (3).mp4"})
        bodies.push_back(ReadFile(converted + L"\\" + name));
    std::sort(bodies.begin(), bodies.end(),
              [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bodies[i], Body(100000 + i)) << "each row's own converted file";
}

TEST_F(ListEndToEndTest, ADroppedLocalClipBecomesAnImportRow) {
    Testing::TempFolder folder;
    const std::wstring clip = folder.WriteFile(L"clip.mp4", Body(300000));
    Testing::HDropData data({clip}, false);
    COleDataObject object;
    object.Attach(&data, FALSE);
    EXPECT_EQ(view->OnDragEnter(&object, 0, CPoint(5, 5)), static_cast<DROPEFFECT>(DROPEFFECT_COPY));
    view->OnDrop(&object, DROPEFFECT_COPY, CPoint(5, 5));
    object.Detach();
    ASSERT_TRUE(WaitForStatus(L"Import finished")) << Text(0, 1);
    EXPECT_EQ(Text(0, 0), L"clip.mp4");
    EXPECT_EQ(Text(0, 2), L"Size: 292 KB");
}

}  // namespace

namespace {

TEST_F(ListEndToEndTest, EngineStateFromItsThreadGivesTheMessagesBackgroundAndTheEnginesTextColour) {
    ASSERT_TRUE(engine->SetState(EngineOn, nullptr));
    ASSERT_EQ(engine->GetState(), EngineOn);
    // Sent from an engine thread, waited for while this thread serves it.
    door->FireEvent(TestDoor::EventStateChanged, DownloadItemHandle(), DownloadItemHandle(), EngineOff, true);
    CListCtrl& list = view->GetListCtrl();
    EXPECT_EQ(list.GetBkColor(), RGB(0x40, 0x50, 0x60));
    EXPECT_EQ(list.GetTextColor(), RGB(0xF0, 0xE0, 0xD0));
    view->SendMessage(CBrunlowView::kEngineStateMessage, EngineOn);
    EXPECT_EQ(list.GetBkColor(), RGB(0x10, 0x20, 0x30));
    ASSERT_TRUE(engine->SetState(EngineOff, nullptr));
    view->SendMessage(CBrunlowView::kEngineStateMessage, EngineOn);
    EXPECT_EQ(list.GetBkColor(), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(list.GetTextColor(), RGB(0xA0, 0xB0, 0xC0));
}

}  // namespace
