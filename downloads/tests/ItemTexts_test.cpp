// The row texts over items of the stand-in engine: sizes, times, the
// progress percentage and its unknown state, the download information, the
// speed text's 2000 ms rhythm, and what a gone item gives.
#include "EngineStandIn.h"
#include "ProfileApplication.h"

#include "downloads/view/ItemTexts.h"
#include "foundation/tests/RecordingSink.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

using KavennaEngine::TestDoor::ItemSpec;

namespace {

class ItemTextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        DownloadsTests::UseTestResources();
        ASSERT_TRUE(engine.pEngine) << "EngineKavenna.dll did not load";
    }
    KavennaEngine::DownloadItemHandle Item(const ItemSpec& spec) { return engine.door->AddItem(spec); }

    DownloadsTests::EngineStandIn engine;
};

TEST(FormatSizeTest, ChoosesTheUnitByThresholds) {
    DownloadsTests::UseTestResources();
    const struct {
        std::uint32_t bytes;
        const wchar_t* text;
    } cases[] = {
        {0, L"0 Bytes"},           {1024, L"1024 Bytes"},         {1025, L"1 KB"},
        {1048576, L"1024 KB"},     {1048577, L"1.0 MB"},          {3 * 1048576, L"3.0 MB"},
        {0xFFFFFFFF, L"4096.0 MB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(FormatSize(c.bytes), c.text);
    }
}

TEST(FormatTimeTest, ShowsHoursModuloADay) {
    const struct {
        std::uint32_t seconds;
        const wchar_t* text;
    } cases[] = {{0, L"00:00:00"}, {65, L"00:01:05"}, {90061, L"01:01:01"}, {86399, L"23:59:59"}, {86400, L"00:00:00"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(FormatTime(c.seconds), c.text);
    }
}

TEST(SizeProgressTextTest, TheLargerNumberChoosesOneUnit) {
    DownloadsTests::UseTestResources();
    const struct {
        std::uint32_t received, total;
        const wchar_t* text;
    } cases[] = {
        {900, 2000000, L"0.0 of 1.9 MB"},
        {1000, 1024, L"1000 of 1024 Bytes"},
        {2047, 4096, L"1 of 4 KB"},
        {5000, 0, L"4 of 0 KB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.received << " of " << c.total);
        EXPECT_EQ(ItemTexts::SizeProgressText(c.received, c.total), c.text);
    }
}

TEST_F(ItemTextsTest, ProgressAndDownloadInformation) {
    const struct Case {
        const char* name;
        std::uint32_t received, total, positionMs, durationMs;
        std::uint32_t percent;
        bool unknown;
        const wchar_t* info;
    } cases[] = {
        {"position past the duration", 0, 0, 90000, 60000, 100, false, L" 00:01:00 of 00:01:00"},
        {"bytes beyond 32-bit products", 3000000000u, 4000000000u, 0, 0, 75, false, L" 2861.0 of 3814.7 MB"},
        {"a live stream", 0, 0, 65000, 0, 0, true, L" Live 00:01:05"},
        {"bytes without a total", 5000, 0, 0, 0, 0, true, L" 4 KB"},
        {"nothing yet", 0, 0, 0, 0, 0, true, L""},
        {"duration wins over bytes", 500, 1000, 30000, 120000, 25, false, L" 00:00:30 of 00:02:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ItemSpec spec;
        spec.received = c.received;
        spec.total = c.total;
        spec.position = c.positionMs;
        spec.duration = c.durationMs;
        const KavennaEngine::DownloadItemHandle item = Item(spec);
        EXPECT_EQ(ItemTexts::ProgressPercent(item), c.percent);
        EXPECT_EQ(ItemTexts::IsProgressUnknown(item), c.unknown);
        EXPECT_EQ(ItemTexts::DownloadInfoText(item), c.info);
        // The progress event's way: every value in one lock period.
        ItemTexts::ProgressValues values;
        ASSERT_TRUE(ItemTexts::ReadProgressValues(item, values));
        EXPECT_EQ(ItemTexts::ProgressPercent(values.position, values.duration, values.received, values.total),
                  c.percent);
        EXPECT_EQ(ItemTexts::IsProgressUnknown(values), c.unknown);
        EXPECT_EQ(ItemTexts::DownloadInfoText(values), c.info);
    }
    ItemSpec spec;
    spec.position = 90000;
    spec.duration = 60000;
    EXPECT_EQ(ItemTexts::PositionText(Item(spec)), L"00:01:00");
    EXPECT_EQ(ItemTexts::DurationText(Item(spec)), L"00:01:00");
}

TEST_F(ItemTextsTest, SpeedTextRenewsAtMostEveryTwoSeconds) {
    ItemSpec spec;
    spec.received = 0;
    const KavennaEngine::DownloadItemHandle item = Item(spec);
    ItemTexts::SpeedState state;
    // No transfer start yet: empty, and nothing remembered.
    EXPECT_EQ(ItemTexts::SpeedText(item, state), L"");
    EXPECT_EQ(state.lastTick, 0u);

    // 100 KB in 1 s.
    spec.transferStartBytes = 1024;
    spec.transferStartTick = 10000;
    spec.transferTick = 11000;
    spec.received = 1024 + 100 * 1024;
    ASSERT_TRUE(engine.door->ChangeItem(item, spec));
    EXPECT_EQ(ItemTexts::SpeedText(item, state), L"100 KB/s");
    EXPECT_EQ(state.lastTick, 11000u);
    EXPECT_EQ(state.average, 0.0);

    // 1000 ms later the rate is 150 KB/s, but the text stays.
    spec.transferTick = 12000;
    spec.received = 1024 + 300 * 1024;
    ASSERT_TRUE(engine.door->ChangeItem(item, spec));
    EXPECT_EQ(ItemTexts::SpeedText(item, state), L"100 KB/s");
    EXPECT_EQ(state.average, 150.0);

    // 2000 ms after the shown one: the running average of 150 and 200.
    spec.transferTick = 13000;
    spec.received = 1024 + 600 * 1024;
    ASSERT_TRUE(engine.door->ChangeItem(item, spec));
    EXPECT_EQ(ItemTexts::SpeedText(item, state), L"175 KB/s");
    EXPECT_EQ(state.lastTick, 13000u);
    EXPECT_EQ(state.lastRate, 175.0);
}

TEST_F(ItemTextsTest, NameAndFileSize) {
    Testing::TempFolder folder;
    ItemSpec spec;
    spec.displayName = L"Clip";
    spec.alternateName = L"Other";
    spec.filePath = folder.WriteFile(L"clip.flv", std::string(2048, 'v'));
    EXPECT_EQ(ItemTexts::NameText(Item(spec)), L"Clip");
    EXPECT_EQ(ItemTexts::FileSizeText(Item(spec)), L"2 KB");
    // No fallback to the alternate name; a missing file is 0.
    spec.displayName.clear();
    spec.filePath = folder / L"missing.flv";
    EXPECT_EQ(ItemTexts::NameText(Item(spec)), L"");
    EXPECT_EQ(ItemTexts::FileSizeText(Item(spec)), L"0 Bytes");
}

TEST_F(ItemTextsTest, GoneItemReportsAndGivesNothing) {
    ItemSpec spec;
    spec.received = 10;
    spec.total = 20;
    spec.displayName = L"Clip";
    spec.transferStartBytes = 1;
    spec.transferStartTick = 1;
    const KavennaEngine::DownloadItemHandle item = Item(spec);
    engine.door->LetItemGo(item);
    ASSERT_FALSE(item.Peek());

    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    ItemTexts::SpeedState state;
    EXPECT_EQ(ItemTexts::ReceivedBytes(item), 0u);
    EXPECT_EQ(ItemTexts::ProgressPercent(item), 0u);
    EXPECT_EQ(ItemTexts::NameText(item), L"");
    EXPECT_EQ(ItemTexts::FileSizeText(item), L"");
    EXPECT_EQ(ItemTexts::SpeedText(item, state), L"");
    EXPECT_EQ(ItemTexts::DownloadInfoText(item), L"");
    ItemTexts::ProgressValues values;
    EXPECT_FALSE(ItemTexts::ReadProgressValues(item, values));
    ASSERT_FALSE(sink.reports.empty());
    for (const FoundationTests::Report& report : sink.reports) {
        EXPECT_NE(report.text.find(L"((_$_pengItem))"), std::wstring::npos) << report.text;
        EXPECT_EQ(report.severity, Reporting::Error);
    }
}

}  // namespace
