// The tips update against a loopback tips server: the conditional request,
// the version check, the pictures, the profile values, stopping.
#include "shell/tips/TipsUpdater.h"

#include "shell/tips/TipsOfTheDay.h"
#include "TipsTestSupport.h"
#include "foundation/tests/UrlDownload.h"
#include "testing/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace TipsTests;
using Testing::HttpAnswer;
using Tips::TipsUpdater;

const char kServerDate[] = "Tue, 02 Mar 2021 08:09:10 GMT";

class TipsUpdate : public TipsFixture {
protected:
    TipsUpdate() { SetTipsAddress(m_server.Url(L"/Hints/hints.xml")); }

    // Runs the update on its thread to the end, as the application does.
    void RunUpdate(TipsUpdater& updater) {
        ASSERT_TRUE(updater.Start(false, 0));
        ASSERT_TRUE(updater._WaitForExit(60000)) << "the update did not end";
    }
    std::wstring Profile(const wchar_t* name) {
        return static_cast<LPCWSTR>(m_app.GetProfileString(L"Usage", name, L"(none)"));
    }
    std::vector<std::wstring> DataEntries() const {
        std::vector<std::wstring> names = InternetTests::FolderEntries(LocalAppDataRoot() + L"\\TipsTest");
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string TipsFile(const std::string& version, const std::string& tips) const {
        return Document(nullptr, tips, version);
    }

    Testing::LoopbackHttpServer m_server;
};

TEST_F(TipsUpdate, FirstRunDownloadsThenAskesWithTheServersDate) {
    const std::string file = TipsFile("5", Tip(1, "a", "<PictureUrl value=\"tips/one.png\"/>"));
    m_server.SetAnswer("/Hints/hints.xml", HttpAnswer::NotModifiedIfAsked(file, kServerDate));
    m_server.SetAnswer("/Hints/Img/tips/one.png", HttpAnswer::Ok("picture one"));
    {
        LogWatch log;
        TipsUpdater updater;
        RunUpdate(updater);
        const std::vector<Testing::HttpRequest> requests = m_server.Requests();
        ASSERT_EQ(2u, requests.size()) << log.Text();
        EXPECT_EQ("/Hints/hints.xml", requests[0].target);
        EXPECT_FALSE(requests[0].Header("If-Modified-Since"));
        EXPECT_EQ("gzip, deflate", requests[0].Header("Accept-Encoding").value_or(""));
        EXPECT_EQ("/Hints/Img/tips/one.png", requests[1].target);
        EXPECT_FALSE(requests[1].Header("If-Modified-Since"));
        EXPECT_EQ(file, Testing::ReadFileBytes(NewFile()));
        EXPECT_EQ("picture one", Testing::ReadFileBytes(DataFolder() + L"one.png"));
        EXPECT_EQ(L"5", Profile(L"TipsFileVersion"));
        EXPECT_EQ(L"Tue, 02 Mar 2021 08:09:10 GMT", Profile(L"TipsLastModificationDate"));
        for (const char* text : {"TipsUpdater started", "Download TipsOfTheDay from URL: ",
                                 "Successfully downloaded and processed new TipsOfTheDay xml file"})
            EXPECT_TRUE(log.Has("INF", text)) << text << "\n" << log.Text();
        EXPECT_TRUE(log.Has("DBG", "TipOfTheDay xml has been successfully processed"));
        EXPECT_TRUE(log.Has("DBG", "Successfully downloaded file: Img/tips/one.png"));
    }
    Tips::FinalizeTipOfTheDayUpdate();
    ASSERT_EQ(file, Testing::ReadFileBytes(CurrentFile()));

    // The next start asks with the server's date; a 304 reads the current
    // file again, completes its pictures and leaves the date alone.
    ::DeleteFileW((DataFolder() + L"one.png").c_str());
    LogWatch log;
    TipsUpdater updater;
    RunUpdate(updater);
    const std::vector<Testing::HttpRequest> requests = m_server.Requests();
    ASSERT_EQ(4u, requests.size()) << log.Text();
    EXPECT_EQ(kServerDate, requests[2].Header("If-Modified-Since").value_or(""));
    EXPECT_EQ("/Hints/Img/tips/one.png", requests[3].target);
    EXPECT_TRUE(log.Has("INF", "Include \"If-Modified-Since\" header to HTTP header"));
    EXPECT_TRUE(log.Has("INF", "TipOfTheDay xml hasn't been downloaded(check \"if-modified-since\" header has been set)"));
    EXPECT_EQ(file, Testing::ReadFileBytes(CurrentFile()));
    EXPECT_FALSE(Testing::PathExists(NewFile()));
    EXPECT_TRUE(Testing::PathExists(DataFolder() + L"one.png"));
    EXPECT_EQ(L"Tue, 02 Mar 2021 08:09:10 GMT", Profile(L"TipsLastModificationDate"));
    EXPECT_EQ(L"5", Profile(L"TipsFileVersion"));
}

TEST_F(TipsUpdate, ProfileDefaultsAndAnEmptyDateNeverWritten) {
    EXPECT_EQ(0u, TipsUpdater::GetTipsFileVersion());
    EXPECT_EQ(L"Mon, 1 Oct 2012 10:10:10 UTC", TipsUpdater::GetTipsLastModificationDate());
    EXPECT_FALSE(TipsUpdater::SetTipsLastModificationDate(L""));
    EXPECT_EQ(L"(none)", Profile(L"TipsLastModificationDate"));
    EXPECT_TRUE(TipsUpdater::SetTipsFileVersion(4000000000u));
    EXPECT_EQ(4000000000u, TipsUpdater::GetTipsFileVersion());
    EXPECT_EQ(L"4000000000", Profile(L"TipsFileVersion"));
}

TEST_F(TipsUpdate, VersionsCheckedBeforeTheFileMayWait) {
    struct Case {
        const char* name;
        std::string version;
        std::string tips;
        bool accepted;
        const char* level;
        const char* log;
    } cases[] = {
        {"older", "4", Tip(1, "a"), false, "WRN", "Downloaded TipOfTheDay xml version(4) is older then current(5)"},
        {"no tips", "9", "<Tip orderId=\"1\" guid=\"a\"/>", false, "ERR", "Failed to parse downloaded xml file"},
        {"equal", "5", Tip(2, "b"), true, "INF", "Successfully downloaded and processed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteData(L"TipOfTheDay.xml", "current");
        ASSERT_TRUE(TipsUpdater::SetTipsFileVersion(5));
        ASSERT_TRUE(TipsUpdater::SetTipsLastModificationDate(L"Sun, 01 Jan 2017 00:00:00 GMT"));
        const std::string file = TipsFile(c.version, c.tips);
        m_server.SetAnswer("/Hints/hints.xml", HttpAnswer::Ok(file));
        LogWatch log;
        TipsUpdater updater;
        RunUpdate(updater);
        EXPECT_TRUE(log.Has(c.level, c.log)) << log.Text();
        EXPECT_EQ(c.accepted ? file : "", Testing::ReadFileBytes(NewFile()));
        EXPECT_EQ(c.accepted ? std::vector<std::wstring>({L"TipOfTheDay.xml", L"TipOfTheDay_new.xml"})
                             : std::vector<std::wstring>({L"TipOfTheDay.xml"}),
                  DataEntries());
        EXPECT_EQ(L"5", Profile(L"TipsFileVersion"));
        // The answer had no date: the stored one stays.
        EXPECT_EQ(L"Sun, 01 Jan 2017 00:00:00 GMT", Profile(L"TipsLastModificationDate"));
        Tips::FinalizeTipOfTheDayUpdate();
        EXPECT_EQ(c.accepted ? file : "current", Testing::ReadFileBytes(CurrentFile()));
        EXPECT_EQ(!c.accepted, log.Has("WRN", "Failed to parse tipsOfTheDay file: "));
    }
}

TEST_F(TipsUpdate, AnUncheckedDownloadNeverReplacesTheTipsFile) {
    const std::string current = TipsFile("5", Tip(1, "a"));
    WriteData(L"TipOfTheDay.xml", current);
    ASSERT_TRUE(TipsUpdater::SetTipsFileVersion(5));
    m_server.SetAnswer("/Hints/hints.xml", HttpAnswer::Ok(TipsFile("3", Tip(2, "b"))));
    TipsUpdater updater;
    const std::wstring downloaded = updater._DownloadXML();
    ASSERT_NE(L"", downloaded);
    // The view's collection ends while the download waits for its check.
    { Tips::TipsOfTheDay view(true); }
    EXPECT_EQ(current, Testing::ReadFileBytes(CurrentFile()));
    EXPECT_FALSE(updater._ProcessDownloadedXml(downloaded));
    EXPECT_EQ(current, Testing::ReadFileBytes(CurrentFile()));
    EXPECT_FALSE(Testing::PathExists(NewFile()));
}

// The tips file in place may be the user's own: one that cannot be read is
// moved aside with its bytes, never deleted, whatever its fault.
TEST_F(TipsUpdate, AnUnreadableCurrentFileIsMovedAsideWhenNothingCame) {
    const std::string good = TipsFile("5", Tip(1, "a"));
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"truncated", good.substr(0, good.size() / 2)},
        {"not XML", "<broken"},
        {"wrong root", "<?xml version=\"1.0\"?><Hints><Tips>" + Tip(1, "a") + "</Tips></Hints>"},
        {"bytes not in the declared encoding", TipsFile("5", Tip(1, "a", "", "caf\xE9"))},
        {"above the size limit", std::string(Tips::kMaxTipsFileBytes, ' ') + good},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteData(L"TipOfTheDay.xml", c.bytes);
        WriteData(L"TipOfTheDay_new.xml", "left over");
        LogWatch log;
        TipsUpdater updater;
        RunUpdate(updater);
        EXPECT_TRUE(log.Has("WRN", "Failed to parse tipsOfTheDay file: " + STLHelpers::WideToUtf8(CurrentFile())))
            << log.Text();
        EXPECT_EQ(std::vector<std::wstring>({L"TipOfTheDay.xml.unreadable"}), DataEntries());
        EXPECT_EQ(c.bytes, Testing::ReadFileBytes(CurrentFile() + L".unreadable")) << "kept, byte for byte";
        EXPECT_TRUE(log.Has("WRN", "The tips file " + STLHelpers::WideToUtf8(CurrentFile()) +
                                       " could not be read; it is kept as " +
                                       STLHelpers::WideToUtf8(CurrentFile()) + ".unreadable"))
            << log.Text();
        EXPECT_EQ(L"(none)", Profile(L"TipsFileVersion"));
    }

    // Missing: nothing to move, nothing made.
    ::DeleteFileW((CurrentFile() + L".unreadable").c_str());
    LogWatch log;
    TipsUpdater again;
    RunUpdate(again);
    EXPECT_TRUE(log.Has("WRN", "File should exist")) << log.Text();
    EXPECT_TRUE(DataEntries().empty());
}

// A good tips file older than the one the profile names is refused, and
// stays where it is.
TEST_F(TipsUpdate, AnOlderCurrentFileIsLeftInPlace) {
    const std::string current = TipsFile("4", Tip(1, "a"));
    WriteData(L"TipOfTheDay.xml", current);
    ASSERT_TRUE(TipsUpdater::SetTipsFileVersion(5));
    LogWatch log;
    TipsUpdater updater;
    RunUpdate(updater);
    EXPECT_TRUE(log.Has("WRN", "Downloaded TipOfTheDay xml version(4) is older then current(5)")) << log.Text();
    EXPECT_EQ(current, Testing::ReadFileBytes(CurrentFile()));
    EXPECT_EQ(std::vector<std::wstring>({L"TipOfTheDay.xml"}), DataEntries());
}

// A tips file from the server beyond the limit is cut off while it comes
// and never stored; the file in place stays.
TEST_F(TipsUpdate, ADownloadBeyondTheLimitIsCancelled) {
    const std::string current = TipsFile("5", Tip(1, "a"));
    WriteData(L"TipOfTheDay.xml", current);
    m_server.SetAnswer("/Hints/hints.xml",
                       HttpAnswer::Ok(std::string(Tips::kMaxTipsFileBytes + 100000, ' ') + TipsFile("6", Tip(2, "b"))));
    LogWatch log;
    TipsUpdater updater;
    EXPECT_EQ(L"", updater._DownloadXML());
    EXPECT_TRUE(log.Has("WRN", "is larger than 1048576 bytes; it is not downloaded")) << log.Text();
    EXPECT_EQ(std::vector<std::wstring>({L"TipOfTheDay.xml"}), DataEntries());
    EXPECT_EQ(current, Testing::ReadFileBytes(CurrentFile()));
}

TEST_F(TipsUpdate, PicturesFromTheBaseAddressOnlyWhenMissingAndOnlyIntoTheFolder) {
    const std::string tips = Tip(1, "a", "<PictureUrl value=\"tips/one.png\"/>") +
                             Tip(2, "b", "<PictureUrl value=\"two.png\"/>") +
                             Tip(3, "c", "<PictureUrl value=\"..\\..\\evil.dll\"/>") +
                             Tip(4, "d", "<PictureUrl value=\"C:evil.dll\"/>") +
                             Tip(5, "e", "<PictureUrl value=\"tips/..\"/>") +
                             Tip(6, "f", "<PictureUrl value=\"missing.png\"/>");
    m_server.SetAnswer("/Hints/hints.xml", HttpAnswer::Ok(TipsFile("1", tips)));
    m_server.SetDefaultAnswer(HttpAnswer::Ok("picture"));
    m_server.SetAnswer("/Hints/Img/missing.png", HttpAnswer::NotFound());
    WriteData(L"two.png", "kept");
    LogWatch log;
    TipsUpdater updater;
    RunUpdate(updater);

    std::vector<std::string> targets;
    for (const Testing::HttpRequest& request : m_server.Requests())
        targets.push_back(request.target);
    EXPECT_EQ(1, std::count(targets.begin(), targets.end(), "/Hints/Img/tips/one.png"));
    EXPECT_EQ(0, std::count(targets.begin(), targets.end(), "/Hints/Img/two.png"));
    EXPECT_EQ("picture", Testing::ReadFileBytes(DataFolder() + L"one.png"));
    EXPECT_EQ("kept", Testing::ReadFileBytes(DataFolder() + L"two.png"));
    // Both separators count: only the name's last part is used, inside the folder.
    EXPECT_EQ("picture", Testing::ReadFileBytes(DataFolder() + L"evil.dll"));
    EXPECT_FALSE(Testing::PathExists(LocalAppDataRoot() + L"\\evil.dll"));
    EXPECT_FALSE(Testing::PathExists(m_folder / L"evil.dll"));
    EXPECT_EQ(std::vector<std::wstring>({L"TipsTest"}), InternetTests::FolderEntries(LocalAppDataRoot()));
    EXPECT_TRUE(log.Has("WRN", "Skipping picture with an unusable file name: Img/C:evil.dll")) << log.Text();
    EXPECT_TRUE(log.Has("WRN", "Skipping picture with an unusable file name: Img/tips/.."));
    EXPECT_TRUE(log.Has("INF", "Failed to download file: Img/missing.png"));
    EXPECT_TRUE(log.Has("INF", "Successfully downloaded and processed new TipsOfTheDay xml file"));
}

TEST_F(TipsUpdate, AStopBetweenStepsEndsBeforeAnyProfileWrite) {
    HttpAnswer slowHead = HttpAnswer::Ok(TipsFile("5", Tip(1, "a")));
    slowHead.headDelayMs = 1500;
    m_server.SetAnswer("/Hints/hints.xml", slowHead);
    LogWatch log;
    TipsUpdater updater;
    ASSERT_TRUE(updater.Start(false, 0));
    ASSERT_TRUE(m_server.WaitForRequests(1, 20000));
    EXPECT_FALSE(updater.Start(false, 0)) << "a second start while it runs";
    updater.Stop();
    EXPECT_TRUE(log.Has("INF", "Instructed to stop")) << log.Text();
    EXPECT_FALSE(log.Has("", "Successfully downloaded and processed"));
    EXPECT_EQ(L"(none)", Profile(L"TipsFileVersion"));
    EXPECT_EQ(L"(none)", Profile(L"TipsLastModificationDate"));
    EXPECT_TRUE(DataEntries().empty());
}

TEST_F(TipsUpdate, AStopCancelsASlowDownload) {
    // Pieces larger than a read, one each 200 ms: eight seconds to the whole file.
    const std::string file = TipsFile("5", Tip(1, "a", "", std::string(40 * 2100, 'x')));
    m_server.SetAnswer("/Hints/hints.xml", HttpAnswer::Slow(file, 2100, 200));
    LogWatch log;
    TipsUpdater updater;
    ASSERT_TRUE(updater.Start(false, 0));
    ASSERT_TRUE(m_server.WaitForRequests(1, 20000));
    ::Sleep(500);
    const ULONGLONG before = ::GetTickCount64();
    updater.Stop();
    // Generous for a loaded emulator, far below the rest of the body.
    EXPECT_LT(::GetTickCount64() - before, 4000u);
    EXPECT_TRUE(log.Has("INF", "Instructed to stop")) << log.Text();
    EXPECT_TRUE(DataEntries().empty());
    EXPECT_EQ(L"(none)", Profile(L"TipsFileVersion"));
}

}  // namespace
