// The download list's tips over the tips model: what the tip panel reads of
// the installed tips file, and the shows it counts for the run.
#include "shell/tips/ViewTipsAdapter.h"

#include "TipsTestSupport.h"

#include <gtest/gtest.h>

namespace {

using TipsTests::TipsFixture;

class ViewTipsAdapterTest : public TipsFixture {};

TEST_F(ViewTipsAdapterTest, AnswersThePanelFromTheInstalledFileAndCountsTheRunsShows) {
    const std::string product =
        Tip(1, "limited",
            "<MoreInfoUrl value=\"https://example.com/more\"/><ShowCount>2</ShowCount>"
            "<PictureUrl value=\"tips/one.png\"/>") +
        Tip(2, "free", "", "{ProductName}s tip");
    WriteData(L"TipOfTheDay.xml", Document(product.c_str(), Tip(3, "default")));
    WriteData(L"one.png", "picture");
    {
        Tips::ViewTipsAdapter tips;
        ASSERT_EQ(3u, tips.GetTipsCount());
        // The start tip is the limited one with showings left; it counts as shown.
        ViewTip tip = tips.GetCurrentTip();
        EXPECT_EQ(L"https://example.com/more", tip.moreInfoUrl);
        EXPECT_EQ(DataFolder() + L"one.png", tip.picturePath);
        EXPECT_EQ(2, tip.showCount);
        EXPECT_EQ(1, tip.shownCount);
        EXPECT_EQ(L"Tip 1", tips.GetCurrentText(L"en-us"));
        EXPECT_EQ(L"", tips.GetCurrentText(L"de-de"));

        tips.MoveToNextTip();
        tip = tips.GetCurrentTip();
        EXPECT_EQ(L"", tip.moreInfoUrl);
        EXPECT_EQ(L"", tip.picturePath);
        EXPECT_EQ(-1, tip.showCount);
        EXPECT_EQ(L"TipsTests tip", tips.GetCurrentText(L"en-us"));

        // Around the first tip to the last; the limited tip is counted once.
        tips.MoveToPreviousTip();
        tips.MoveToPreviousTip();
        EXPECT_EQ(L"Tip 3", tips.GetCurrentText(L"en-us"));
        tips.MoveToNextTip();
        EXPECT_EQ(1, tips.GetCurrentTip().shownCount);
    }
    EXPECT_EQ(1, Statistic(L"limited"));
    EXPECT_EQ(-1, Statistic(L"free"));
}

TEST_F(ViewTipsAdapterTest, NoTipsFileGivesNoTips) {
    Tips::ViewTipsAdapter tips(m_folder / L"missing.xml");
    EXPECT_EQ(0u, tips.GetTipsCount());
    EXPECT_EQ(L"", tips.GetCurrentTip().moreInfoUrl);
    EXPECT_EQ(-1, tips.GetCurrentTip().showCount);
    EXPECT_EQ(L"", tips.GetCurrentText(L"en-us"));
    tips.MoveToNextTip();
    tips.MoveToPreviousTip();
    EXPECT_EQ(0u, tips.GetTipsCount());
}

}  // namespace
