// The tips file read into tips, the show counting across runs, moving
// between tips, texts and pictures, and the swap of a waiting new file.
#include "shell/tips/TipsOfTheDay.h"

#include "TipsTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace TipsTests;
using Tips::TipsOfTheDay;

std::vector<int> Ids(TipsOfTheDay& tips) {
    std::vector<int> ids;
    const int first = tips.GetNextTip(0).GetOrderId();
    ids.push_back(first);
    for (int id = tips.GetNextTip(0).GetOrderId(); id != first && id != 0; id = tips.GetNextTip(0).GetOrderId())
        ids.push_back(id);
    return ids;
}

class TipsReading : public TipsFixture {};

TEST_F(TipsReading, ProductListFirstThenDefaultWithoutItsDuplicates) {
    WriteData(L"TipOfTheDay.xml",
              Document((Tip(1, "p1") + Tip(2, "p2", "", "Product two")).c_str(),
                       Tip(2, "d2", "", "Default two") + Tip(3, "d3")));
    LogWatch log;
    TipsOfTheDay tips(false);
    EXPECT_EQ(3u, tips.GetTipsCount());
    EXPECT_EQ(5, tips.GetFileVersion());
    EXPECT_EQ(std::vector<int>({2, 3, 1}), Ids(tips));
    EXPECT_EQ(2, tips.GetCurrentTip().GetOrderId());
    EXPECT_EQ(L"Product two", tips.GetCurrentTip().GetText(L"en-us"));
    EXPECT_TRUE(log.Has("WRN", "Duplicated orederId(orderId=2)")) << log.Text();
    EXPECT_TRUE(log.Has("INF", "OemID='7'"));
    EXPECT_TRUE(log.Has("INF", "ProductName='" + STLHelpers::WideToUtf8(m_keyName) + "'"));
    EXPECT_TRUE(log.Has("DBG", "FileVersion: 5"));
}

TEST_F(TipsReading, WithoutTheProductOnlyTheDefaultList) {
    WriteData(L"TipOfTheDay.xml", Document(nullptr, Tip(4, "d4") + Tip(6, "d6")));
    LogWatch log;
    TipsOfTheDay tips(false);
    EXPECT_EQ(2u, tips.GetTipsCount());
    EXPECT_TRUE(log.Has("WRN", "can't find Tips node for product = '" + STLHelpers::WideToUtf8(m_keyName) + "'"));
    EXPECT_TRUE(log.Has("WRN", "Can't find Tips node"));
}

TEST_F(TipsReading, ASkippedProductTipLeavesRoomForTheDefaultOne) {
    const std::string otherEdition = "<ProductEditions><Edition value=\"1\"/><Edition value=\"2\"/></ProductEditions>";
    const std::string ourEdition = "<ProductEditions><Edition value=\"2\"/><Any value=\"3\"/></ProductEditions>";
    WriteData(L"TipOfTheDay.xml", Document((Tip(4, "p4", otherEdition) + Tip(5, "p5", ourEdition)).c_str(),
                                           Tip(4, "d4", "", "Default four")));
    LogWatch log;
    TipsOfTheDay tips(false);
    ASSERT_EQ(2u, tips.GetTipsCount());
    EXPECT_TRUE(log.Has("DBG", "Skip tip: orderId=4")) << log.Text();
    EXPECT_FALSE(log.Has("", "Duplicated"));
    EXPECT_EQ(L"Default four", tips.GetCurrentTip().GetText(L"en-us"));
}

TEST_F(TipsReading, ABrokenTipEndsTheReadKeepingEarlierTips) {
    const struct {
        const char* name;
        std::string brokenTip;
    } cases[] = {
        {"no guid", "<Tip orderId=\"3\"><TipText><en-us>x</en-us></TipText></Tip>"},
        {"no orderId", "<Tip guid=\"g\"><TipText><en-us>x</en-us></TipText></Tip>"},
        {"orderId not a number", "<Tip orderId=\"3a\" guid=\"g\"><TipText><en-us>x</en-us></TipText></Tip>"},
        {"ShowCount not a number", Tip(3, "g", "<ShowCount>two</ShowCount>")},
        {"Edition not a number", Tip(3, "g", "<ProductEditions><Edition value=\"x\"/></ProductEditions>")},
        {"ShowUrl without value", Tip(3, "g", "<ShowUrl/>")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = WriteData(L"TipOfTheDay.xml", Document(nullptr, Tip(1, "a") + c.brokenTip + Tip(8, "b")));
        LogWatch log;
        TipsOfTheDay tips(false);
        EXPECT_EQ(1u, tips.GetTipsCount());
        EXPECT_EQ(0, tips.GetCurrentTip().GetOrderId()) << "no position";
        EXPECT_TRUE(log.Has("ERR", "Failed to parse xml file: " + STLHelpers::WideToUtf8(path))) << log.Text();
    }
}

TEST_F(TipsReading, FileVersionCases) {
    struct Case {
        const char* name;
        std::string version;  // "" no element
        unsigned tips;
        int fileVersion;
        const char* log;
    } cases[] = {
        {"without version attribute", "<FileVersion/>", 0, 0, "Failed to parse xml file"},
        {"no element", "", 1, 0, "Can't find \"FileVersion\" node.  FilePath = "},
        {"version 12", "<FileVersion version=\"12\"/>", 1, 12, "FileVersion: 12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string xml = "<TipsOfTheDay>" + c.version + "<OEM id=\"7\"><Product name=\"Default\"><Tips>" +
                                Tip(1, "a") + "</Tips></Product></OEM></TipsOfTheDay>";
        LogWatch log;
        TipsOfTheDay tips(WriteData(L"TipOfTheDay.xml", xml), false);
        EXPECT_EQ(c.tips, tips.GetTipsCount());
        EXPECT_EQ(c.fileVersion, tips.GetFileVersion());
        EXPECT_TRUE(log.Has("", c.log)) << log.Text();
    }
}

TEST_F(TipsReading, TipsWithoutTextAreDroppedByIndex) {
    const std::string tips = Tip(1, "a") + "<!-- a comment counts -->" +
                             "<Tip orderId=\"2\" guid=\"b\"><ShowUrl value=\"http://x/\"/></Tip>" +
                             "<Tip orderId=\"3\" guid=\"c\"><TipText/></Tip>" + "<Tip orderId=\"4\" guid=\"d\"/>" +
                             Tip(5, "e");
    LogWatch log;
    TipsOfTheDay collection(WriteData(L"TipOfTheDay.xml", Document(nullptr, tips)), false);
    EXPECT_EQ(2u, collection.GetTipsCount());
    for (const char* text : {"Failed to parse tip #1", "Failed to parse tip #2", "Failed to parse tip #3",
                             "Failed to parse tip #4", "Can't read text", "Can't get children nodes"})
        EXPECT_TRUE(log.Has("WRN", text)) << text << "\n" << log.Text();
    EXPECT_FALSE(log.Has("", "Failed to parse tip #0"));
    EXPECT_FALSE(log.Has("", "Failed to parse tip #5"));
}

TEST_F(TipsReading, RepeatedChildrenTakenOnlyWhileTheFirstIsEmpty) {
    const std::string tips =
        Tip(1, "a", "<ShowUrl value=\"http://first/\"/><ShowUrl value=\"http://second/\"/><Extra/>") +
        Tip(2, "b", "<MoreInfoUrl value=\"\"/><MoreInfoUrl value=\"http://more/\"/>");
    LogWatch log;
    TipsOfTheDay collection(WriteData(L"TipOfTheDay.xml", Document(nullptr, tips)), false);
    ASSERT_EQ(2u, collection.GetTipsCount());
    EXPECT_EQ(L"http://first/", collection.GetCurrentTip().GetShowUrl());
    EXPECT_EQ(L"http://more/", collection.GetNextTip(0).GetMoreInfoUrl());
    EXPECT_EQ(1u, log.Count("WRN", "Unknown attribute ShowUrl found")) << log.Text();
    EXPECT_TRUE(log.Has("WRN", "Unknown attribute Extra found"));
    EXPECT_FALSE(log.Has("", "Unknown attribute MoreInfoUrl found"));
}

TEST_F(TipsReading, TheTipsFileAndItsFallback) {
    LogWatch log;
    EXPECT_EQ(L"", Tips::GetTipsPath());
    EXPECT_TRUE(log.Has("INF", "File " + STLHelpers::WideToUtf8(CurrentFile()) + " is not exists")) << log.Text();
    EXPECT_TRUE(log.Has("ERR", "Tips file " + STLHelpers::WideToUtf8(FallbackTipsFile()) + " doesn't exists"));
    {
        TipsOfTheDay none(true);
        EXPECT_EQ(0u, none.GetTipsCount());
        EXPECT_TRUE(log.Has("WRN", "Tips path is empty!"));
    }

    m_folder.WriteFile(L"Resources\\TipOfTheDay.xml", Document(nullptr, Tip(1, "a")));
    EXPECT_EQ(FallbackTipsFile(), Tips::GetTipsPath());
    {
        TipsOfTheDay fallback(true);
        EXPECT_EQ(1u, fallback.GetTipsCount());
        // A waiting file still goes to the data folder, never over the fallback.
        WriteData(L"TipOfTheDay_new.xml", Document(nullptr, Tip(2, "b")));
    }
    EXPECT_TRUE(Testing::PathExists(CurrentFile()));
    EXPECT_FALSE(Testing::PathExists(NewFile()));
    EXPECT_EQ(CurrentFile(), Tips::GetTipsPath());
    EXPECT_EQ(Document(nullptr, Tip(1, "a")), Testing::ReadFileBytes(FallbackTipsFile()));
}

// A tips file above the limit is refused from its size: the window's reader
// (the collection over the installed file) never parses it, which would keep
// the window unpainted meanwhile, and takes the program's own tips; the file
// itself is left where it is.
TEST_F(TipsReading, AFileAboveTheLimitIsNotReadAndTheFallbackServes) {
    m_folder.WriteFile(L"Resources\\TipOfTheDay.xml", Document(nullptr, Tip(1, "a")));
    std::string big = Document(nullptr, Tip(2, "b"));
    big.insert(big.find("<TipsOfTheDay>"), std::string(Tips::kMaxTipsFileBytes, ' '));
    WriteData(L"TipOfTheDay.xml", big);
    LogWatch log;
    EXPECT_EQ(FallbackTipsFile(), Tips::GetTipsPath());
    const std::string refused = "The tips file " + STLHelpers::WideToUtf8(CurrentFile()) + " is larger than 1048576 bytes";
    EXPECT_TRUE(log.Has("WRN", refused)) << log.Text();
    {
        TipsOfTheDay view(true);
        EXPECT_EQ(1u, view.GetTipsCount());
        EXPECT_EQ(1, view.GetCurrentTip().GetOrderId());
    }
    EXPECT_FALSE(log.Has("ERR", "Failed to parse xml file")) << "refused unread, not parsed";
    EXPECT_EQ(big.size(), Testing::ReadFileBytes(CurrentFile()).size()) << "left on disk";

    // At the limit itself the file is read.
    std::string atLimit = Document(nullptr, Tip(3, "c"));
    atLimit.insert(atLimit.find("<TipsOfTheDay>"), std::string(Tips::kMaxTipsFileBytes - atLimit.size(), ' '));
    WriteData(L"TipOfTheDay.xml", atLimit);
    EXPECT_EQ(CurrentFile(), Tips::GetTipsPath());
}

class TipsCounting : public TipsFixture {};

TEST_F(TipsCounting, ALimitedTipOverFourRuns) {
    const std::string xml = Document(nullptr, Tip(1, "free", "<PictureUrl value=\"tips/free.png\"/>") +
                                                  Tip(2, "limited", "<ShowCount>2</ShowCount><PictureUrl value=\"tips/two.png\"/>"));
    WriteData(L"TipOfTheDay.xml", xml);
    WriteData(L"two.png", "picture");
    WriteData(L"free.png", "picture");
    // Runs 1 and 2 start at the limited tip, which has showings left.
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        {
            TipsOfTheDay tips(true);
            EXPECT_EQ(2, tips.GetCurrentTip().GetOrderId());
            EXPECT_EQ(1, tips.GetNextTip(0).GetOrderId());
            EXPECT_EQ(2, tips.GetNextTip(0).GetOrderId()) << "counted once per run";
        }
        EXPECT_EQ(run, Statistic(L"limited"));
        EXPECT_EQ(-1, Statistic(L"free"));
    }
    LogWatch thirdRun;
    {
        TipsOfTheDay tips(true);
        EXPECT_EQ(1, tips.GetCurrentTip().GetOrderId());
        EXPECT_EQ(1, tips.GetNextTip(0).GetOrderId()) << "counted and skipped";
        EXPECT_EQ(1, tips.GetPreviousTip(0).GetOrderId());
    }
    EXPECT_TRUE(thirdRun.Has("INF", "Deleting picture: " + STLHelpers::WideToUtf8(DataFolder() + L"two.png")))
        << thirdRun.Text();
    EXPECT_EQ(3, Statistic(L"limited"));
    EXPECT_FALSE(Testing::PathExists(DataFolder() + L"two.png"));
    EXPECT_TRUE(Testing::PathExists(DataFolder() + L"free.png"));
    {
        LogWatch log;
        TipsOfTheDay tips(true);
        EXPECT_EQ(1u, tips.GetTipsCount());
        EXPECT_TRUE(log.Has("DBG", "Skip tip: orderId=2"));
    }
    EXPECT_EQ(3, Statistic(L"limited"));
    EXPECT_EQ(-1, Statistic(L"free"));
}

TEST_F(TipsCounting, StartTipIsTheFirstWithShowingsLeft) {
    SetStatistic(L"two", 3);
    const std::string tips = Tip(1, "one") + Tip(2, "two", "<ShowCount>3</ShowCount>") +
                             Tip(5, "five", "<ShowCount>2</ShowCount>");
    {
        TipsOfTheDay collection(WriteData(L"TipOfTheDay.xml", Document(nullptr, tips)), true);
        EXPECT_EQ(5, collection.GetCurrentTip().GetOrderId());
        EXPECT_EQ(1, collection.GetCurrentTip().GetShownCount());
    }
    EXPECT_EQ(1, Statistic(L"five"));
    EXPECT_EQ(3, Statistic(L"two"));

    TipsOfTheDay unlimited(WriteData(L"TipOfTheDay.xml", Document(nullptr, Tip(3, "c") + Tip(0, "z"))), true);
    EXPECT_EQ(0, unlimited.GetCurrentTip().GetOrderId());
    EXPECT_EQ(L"Tip 0", unlimited.GetCurrentTip().GetText(L"en-us"));
}

class TipsMoving : public TipsFixture {};

TEST_F(TipsMoving, AroundTheEndsAndFromNoPosition) {
    TipsOfTheDay tips(WriteData(L"TipOfTheDay.xml", Document(nullptr, Tip(1, "a") + Tip(2, "b") + Tip(3, "c"))),
                      false);
    EXPECT_EQ(1, tips.GetCurrentTip().GetOrderId());
    EXPECT_EQ(3, tips.GetPreviousTip(0).GetOrderId());
    EXPECT_EQ(1, tips.GetNextTip(0).GetOrderId());

    // A read that ended early keeps its tips without a position.
    const std::string broken = Document(nullptr, Tip(1, "a") + Tip(2, "b") + "<Tip orderId=\"x\" guid=\"c\"/>");
    TipsOfTheDay forward(WriteData(L"TipOfTheDay.xml", broken), false);
    EXPECT_EQ(0, forward.GetCurrentTip().GetOrderId());
    EXPECT_EQ(1, forward.GetNextTip(0).GetOrderId());
    TipsOfTheDay backward(WriteData(L"TipOfTheDay.xml", broken), false);
    EXPECT_EQ(2, backward.GetPreviousTip(0).GetOrderId());

    TipsOfTheDay empty(L"", false);
    EXPECT_EQ(0, empty.GetNextTip(0).GetOrderId());
    EXPECT_EQ(0, empty.GetPreviousTip(0).GetOrderId());
}

TEST_F(TipsMoving, NothingShowableGivesAnEmptyTipAfterCountPlusOneTries) {
    const std::string tips = Tip(1, "a", "<ShowCount>0</ShowCount>") + Tip(2, "b", "<ShowCount/>");
    TipsOfTheDay collection(WriteData(L"TipOfTheDay.xml", Document(nullptr, tips)), true);
    EXPECT_EQ(1, collection.GetCurrentTip().GetOrderId());
    for (int call = 0; call < 2; ++call) {
        SCOPED_TRACE(call);
        LogWatch log;
        const Tips::Tip tip = collection.GetNextTip(0);
        EXPECT_EQ(0, tip.GetOrderId());
        EXPECT_EQ(L"", tip.GetGuid());
        EXPECT_EQ(0, collection.GetCurrentTip().GetOrderId());
        EXPECT_EQ(1u, log.Count("ERR", "All tips can't be shown! It looks like 'Default' wasn't loaded"))
            << log.Text();
    }
}

TEST_F(TipsMoving, ManyUsedUpTipsDoNotRunTheStackOut) {
    std::string tips;
    tips.reserve(100000 * 90);
    for (int id = 1; id <= 100000; ++id)
        tips += "<Tip orderId=\"" + std::to_string(id) + "\" guid=\"g\"><ShowCount>0</ShowCount><TipText><en-us>t</en-us></TipText></Tip>";
    TipsOfTheDay collection(WriteData(L"TipOfTheDay.xml", Document(nullptr, tips)), true);
    ASSERT_EQ(100000u, collection.GetTipsCount());
    EXPECT_EQ(0, collection.GetNextTip(0).GetOrderId());
    EXPECT_EQ(0, collection.GetPreviousTip(0).GetOrderId());
}

class TipsTexts : public TipsFixture {};

TEST_F(TipsTexts, PlaceholdersEverywhereAndMissingLanguagesEmpty) {
    const std::string tip = "<Tip orderId=\"1\" guid=\"a\"><TipText><en-us>My{ProductName}s: {ProductName} at "
                            "{PellmarAppURL}</en-us><de-de>Hallo</de-de></TipText></Tip>";
    TipsOfTheDay tips(WriteData(L"TipOfTheDay.xml", Document(nullptr, tip)), false);
    const Tips::Tip current = tips.GetCurrentTip();
    EXPECT_EQ(L"MyTipsTests: TipsTest at http://converter.example/", current.GetText(L"en-us"));
    EXPECT_EQ(L"Hallo", current.GetText(L"de-de"));
    LogWatch log;
    EXPECT_EQ(L"", current.GetText(L"fr-fr"));
    EXPECT_EQ(L"", current.GetText(L"EN-US"));
    EXPECT_EQ(2u, log.Count("WRN", "orderId=1")) << log.Text();
}

TEST_F(TipsTexts, PictureAddressAndLocalFile) {
    const std::string tips = Tip(1, "a", "<PictureUrl value=\"tips/one.png\"/>") +
                             Tip(2, "b", "<PictureUrl value=\"..\\..\\up.png\"/>") +
                             Tip(3, "c", "<PictureUrl value=\"tips/..\"/>") + Tip(4, "d");
    TipsOfTheDay collection(WriteData(L"TipOfTheDay.xml", Document(nullptr, tips)), false);
    LogWatch log;
    EXPECT_EQ(std::vector<std::wstring>({L"Img/tips/one.png", L"Img/..\\..\\up.png", L"Img/tips/.."}),
              collection.GetAllPicturesUrls());
    EXPECT_TRUE(log.Has("INF", "There are 3 pictures"));
    Tips::Tip one = collection.GetCurrentTip();
    EXPECT_EQ(L"Img/tips/one.png", one.GetPictureUrl());
    EXPECT_EQ(L"", one.GetPicturePath());
    EXPECT_TRUE(log.Has("WRN", "Can't find picture=" + STLHelpers::WideToUtf8(DataFolder() + L"one.png")));
    WriteData(L"one.png", "png");
    EXPECT_EQ(DataFolder() + L"one.png", one.GetPicturePath());
    WriteData(L"up.png", "png");
    EXPECT_EQ(DataFolder() + L"up.png", collection.GetNextTip(0).GetPicturePath());
    EXPECT_EQ(L"", collection.GetNextTip(0).GetPicturePath());
    EXPECT_EQ(L"", collection.GetNextTip(0).GetPictureUrl());
}

TEST_F(TipsTexts, CopiesTakeThePlaceholdersOfTheirTime) {
    const std::string tip = "<Tip orderId=\"1\" guid=\"a\"><TipText><en-us>{ProductName}</en-us></TipText></Tip>";
    TipsOfTheDay tips(WriteData(L"TipOfTheDay.xml", Document(nullptr, tip)), false);
    const Tips::Tip before = tips.GetCurrentTip();
    m_values.values[ProductValue::ProductName] = L"Renamed";
    m_info.Initialize();
    Tips::Tip assigned;
    assigned = before;
    EXPECT_EQ(L"TipsTest", assigned.GetText(L"en-us"));
    EXPECT_EQ(L"Renamed", Tips::Tip(before).GetText(L"en-us"));
}

class TipsSwap : public TipsFixture {};

TEST_F(TipsSwap, AWaitingFileReplacesTheTipsFileUnlessEmpty) {
    struct Case {
        const char* name;
        bool viaCollection;
        std::string waiting;
        std::string expected;
    } cases[] = {
        {"collection, 0 bytes", true, "", "old"},
        {"collection, a file", true, "new", "new"},
        {"exit step, 0 bytes", false, "", "old"},
        {"exit step, a file", false, "new", "new"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteData(L"TipOfTheDay.xml", "old");
        WriteData(L"TipOfTheDay_new.xml", c.waiting);
        if (c.viaCollection)
            TipsOfTheDay(L"", false);
        else
            Tips::FinalizeTipOfTheDayUpdate();
        EXPECT_EQ(c.expected, Testing::ReadFileBytes(CurrentFile()));
        EXPECT_FALSE(Testing::PathExists(NewFile()));
    }
    // Nothing waiting: nothing changes.
    Tips::FinalizeTipOfTheDayUpdate();
    EXPECT_EQ("new", Testing::ReadFileBytes(CurrentFile()));
}

TEST_F(TipsSwap, AFailedMoveIsLoggedAndTheFileKept) {
    WriteData(L"TipOfTheDay_new.xml", "new");
    m_folder.MakeFolder(L"LocalAppData\\TipsTest\\TipOfTheDay.xml");
    LogWatch log;
    Tips::FinalizeTipOfTheDayUpdate();
    TipsOfTheDay(L"", false);
    EXPECT_EQ(1u, log.Count("ERR", "failed to rename \"TipOfTheDay_new.xml\" to \"TipOfTheDay.xml\" ")) << log.Text();
    EXPECT_EQ(1u, log.Count("WRN", "failed to rename \"TipOfTheDay_new.xml\" to \"TipOfTheDay.xml\" "));
    EXPECT_EQ("new", Testing::ReadFileBytes(NewFile()));
}

}  // namespace
