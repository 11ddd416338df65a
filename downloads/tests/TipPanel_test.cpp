// The tip panel of the empty download list, over tips the test hands the
// view: when it shows, its labels and their places, stepping through the
// tips, the reminder, skipped tips, the link and the picture.
#include "downloads/view/BrunlowDoc.h"
#include "downloads/view/BrunlowView.h"

#include "DownloadsTestResources.h"
#include "EngineFakes.h"
#include "EngineStandIn.h"
#include "ListFrame.h"
#include "ListHost.h"
#include "ProfileApplication.h"
#include "downloads/app/AppAccess.h"
#include "foundation/debugging/LogConfiguration.h"
#include "foundation/debugging/WriteLog.h"
#include "foundation/filesystem/XmlFile.h"
#include "foundation/tests/ShellLaunchRecorder.h"
#include "graphics/gdiplus/GdiplusStartupHolder.h"
#include "platform/atl/tests/AtlPrinters.h"
#include "testing/PictureFiles.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

using DownloadsTests::EngineStandIn;
using DownloadsTests::ProfileApplication;
using FoundationTests::ShellLaunchRecorder;

namespace {

// The view with the tip panel's steps in reach.
class TipPanelView : public CBrunlowView {
    DECLARE_DYNCREATE(TipPanelView)
public:
    using CBrunlowView::_GetReminderText;
    using CBrunlowView::_GetTipPanelRect;
    using CBrunlowView::_LayoutTipPanel;
    using CBrunlowView::_ShowTipPanel;
    using CBrunlowView::_UpdateTipPanelTexts;

    CTextLabel& Label(TipLabel which) { return m_tipLabels[which]; }
    bool Shown(TipLabel which) { return Label(which).m_hWnd && (Label(which).GetStyle() & WS_VISIBLE) != 0; }
    std::wstring Text(TipLabel which) {
        CString text;
        if (Label(which).m_hWnd)
            Label(which).GetWindowText(text);
        return static_cast<LPCWSTR>(text);
    }
    void ClearRows() {
        while (!m_rows.empty())
            RemoveRow(0);
    }
};
IMPLEMENT_DYNCREATE(TipPanelView, CBrunlowView)

// Tips held in a list, with every move counted.
struct FakeTip {
    std::wstring text;  // the en-us text; empty for none
    ViewTip tip;
};
class FakeTips : public IViewTips {
public:
    explicit FakeTips(std::vector<FakeTip> tips) : tips(std::move(tips)) {}
    unsigned GetTipsCount() override { return static_cast<unsigned>(tips.size()); }
    ViewTip GetCurrentTip() override { return tips.empty() ? ViewTip() : tips[position].tip; }
    std::wstring GetCurrentText(const std::wstring& language) override {
        return tips.empty() || language != L"en-us" ? std::wstring() : tips[position].text;
    }
    void MoveToNextTip() override {
        ++moves;
        position = tips.empty() ? 0 : (position + 1) % tips.size();
    }
    void MoveToPreviousTip() override {
        ++moves;
        position = tips.empty() ? 0 : (position + tips.size() - 1) % tips.size();
    }

    std::vector<FakeTip> tips;
    size_t position = 0;
    int moves = 0;
};

ViewTip Tip(const std::wstring& link, int showCount = -1, int shownCount = 0, const std::wstring& picture = L"") {
    ViewTip tip;
    tip.moreInfoUrl = link;
    tip.showCount = showCount;
    tip.shownCount = shownCount;
    tip.picturePath = picture;
    return tip;
}

// The list's colours from a skin of the test's own; the engine is the stand-in's.
const char kSkin[] =
    R"(<skin><application><main>)"
    R"(<on><colors background="FFFFFF" text="202020" heading="1060C0" headingShadow="C0C0C0" link="0000FF"/></on>)"
    R"(<off><colors background="F0F0F0" text="404040" heading="806020" headingShadow="D0D0D0" link="008000"/></off>)"
    R"(</main></application></skin>)";

// The process's log, written to a file the tests read back; configured once.
std::string LogText() {
    static const std::wstring path = [] {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        const std::wstring file =
            std::wstring(temp) + L"BrunlowTipPanelTests-" + std::to_wstring(::GetCurrentProcessId()) + L".log";
        ::DeleteFileW(file.c_str());
        Debugging::ConfigureLog(file, L"", 1, Debugging::kLogFlagReplaced);
        return file;
    }();
    return Testing::ReadFileBytes(path);
}
// Log lines written since `start` (a length of LogText) that hold every part.
int CountLogLines(size_t start, const std::vector<std::string>& parts) {
    const std::string text = LogText().substr(start);
    int count = 0;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find("\r\n", begin);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(begin, end - begin);
        bool all = true;
        for (const std::string& part : parts)
            all = all && line.find(part) != std::string::npos;
        count += all;
        begin = end + 2;
    }
    return count;
}

class TipPanelTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        LogText();
        s_gdiplus = new GdiplusStartupHolder;
        s_viewHost = new DownloadsTests::ListHost(RUNTIME_CLASS(TipPanelView), false, false, CSize(900, 600), kSkin);
        s_viewHost->engine.pEngine->SetState(KavennaEngine::EngineOn, nullptr);
    }
    static void TearDownTestSuite() {
        delete s_viewHost;
        s_viewHost = nullptr;
        delete s_gdiplus;
        s_gdiplus = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_viewHost->view, nullptr);
        view = static_cast<TipPanelView*>(s_viewHost->view);
        SetViewSize(900, 600);
    }
    void TearDown() override {
        if (view) {
            view->ClearRows();
            view->SetTips(nullptr);
        }
    }

    // The frame sized so that the view it lays out gets this size.
    void SetViewSize(int width, int height) {
        CRect frame, client;
        s_viewHost->frame->GetWindowRect(&frame);
        view->GetWindowRect(&client);
        s_viewHost->frame->SetWindowPos(nullptr, 0, 0, frame.Width() + width - client.Width(),
                                    frame.Height() + height - client.Height(),
                                    SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        s_viewHost->frame->RecalcLayout();
        view->GetWindowRect(&client);
        ASSERT_EQ(width, client.Width());
        ASSERT_EQ(height, client.Height());
    }
    // Paints the view now, as the screen asks for it.
    void Paint() { view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }
    boost::shared_ptr<FakeTips> Use(std::vector<FakeTip> tips) {
        auto pTips = boost::make_shared<FakeTips>(std::move(tips));
        view->SetTips(pTips);
        return pTips;
    }
    testing::AssertionResult AllShown(bool shown) {
        for (int label = 0; label < CBrunlowView::TipLabelCount; ++label)
            if (view->Shown(static_cast<CBrunlowView::TipLabel>(label)) != shown)
                return testing::AssertionFailure() << "label " << label << (shown ? " hidden" : " shown");
        return testing::AssertionSuccess();
    }
    // The view's top-left window corner in its client coordinates.
    CPoint WindowOrigin() {
        CRect window;
        view->GetWindowRect(&window);
        view->ScreenToClient(&window);
        return window.TopLeft();
    }
    // One drawing of the tip, into a memory DC.
    void DrawOnce() {
        CClientDC screen(view);
        CDC memory;
        memory.CreateCompatibleDC(&screen);
        CBitmap canvas;
        canvas.CreateCompatibleBitmap(&screen, 8, 8);
        CBitmap* previous = memory.SelectObject(&canvas);
        view->DrawTipOfTheDay(&memory);
        memory.SelectObject(previous);
    }
    CRect PlaceOf(CBrunlowView::TipLabel label) {
        CRect place;
        view->Label(label).GetWindowRect(&place);
        view->ScreenToClient(&place);
        return place;
    }

    static DownloadsTests::ListHost* s_viewHost;
    static GdiplusStartupHolder* s_gdiplus;
    TipPanelView* view = nullptr;
};
DownloadsTests::ListHost* TipPanelTest::s_viewHost = nullptr;
GdiplusStartupHolder* TipPanelTest::s_gdiplus = nullptr;

TEST_F(TipPanelTest, ShownInAnEmptyListOfAtLeastSixHundredByFourHundredAndHiddenWithRows) {
    Use({{L"Press F2 to rename a video.", Tip(L"https://example.com/rename", 5, 2)}});
    const struct {
        int width, height;
        bool shown;
    } cases[] = {{599, 400, false}, {600, 399, false}, {600, 400, true}, {900, 600, true}, {450, 300, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        SetViewSize(c.width, c.height);
        Paint();
        EXPECT_TRUE(AllShown(c.shown));
    }

    // A row hides the panel; the last row gone brings it back.
    SetViewSize(900, 600);
    Paint();
    ASSERT_TRUE(AllShown(true));
    KavennaEngine::TestDoor::ItemSpec spec;
    view->InsertRow(0, L"A caught video", boost::make_shared<DownloadListItem>(s_viewHost->engine.door->AddItem(spec)));
    Paint();
    EXPECT_TRUE(AllShown(false));
    view->ClearRows();
    Paint();
    EXPECT_TRUE(AllShown(true));
}

TEST_F(TipPanelTest, LabelsAreMadeWithTheirIdsFontsColoursAndLinkModes) {
    Use({{L"Text", Tip(L"https://example.com/")}});
    Paint();
    const CBrunlowView::SkinColor stepColor =
        s_viewHost->engine.pEngine->GetState() == 0 ? CBrunlowView::ColorOnLink : CBrunlowView::ColorOffLink;
    const struct {
        CBrunlowView::TipLabel label;
        int id;
        CBrunlowView::SkinColor color;
        bool underlined;
        int linkMode;
        const wchar_t* text;
    } cases[] = {
        // The previous and next labels take the link colour of the engine's state.
        {CBrunlowView::TipLabelPrevious, 1026, stepColor, false, CTextLabel::LinkWeb, L"Back"},
        {CBrunlowView::TipLabelNext, 1027, stepColor, false, CTextLabel::LinkWeb, L"More"},
        {CBrunlowView::TipLabelReminder, 65535, CBrunlowView::ColorOffHeading, false, CTextLabel::LinkNone, L""},
        {CBrunlowView::TipLabelLink, 1061, CBrunlowView::ColorOffLink, true, CTextLabel::LinkWeb, L"Read more"},
    };
    // The skin's colours (read once per process, so from this file's skin
    // only when it is the first to ask).
    if (CBrunlowView::GetSkinColor(CBrunlowView::ColorOnBackground) == RGB(255, 255, 255)) {
        EXPECT_EQ(RGB(0, 0, 255), CBrunlowView::GetSkinColor(CBrunlowView::ColorOnLink));
        EXPECT_EQ(RGB(0, 0x80, 0), CBrunlowView::GetSkinColor(CBrunlowView::ColorOffLink));
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "label " << c.id);
        CTextLabel& label = view->Label(c.label);
        ASSERT_TRUE(label.m_hWnd);
        EXPECT_EQ(c.id, ::GetDlgCtrlID(label.m_hWnd));
        EXPECT_EQ(view->m_hWnd, ::GetParent(label.m_hWnd));
        EXPECT_STREQ(L"Arial", label.GetLogFont().lfFaceName);
        EXPECT_EQ(16, label.GetLogFont().lfHeight);
        EXPECT_EQ(700, label.GetLogFont().lfWeight);
        EXPECT_EQ(c.underlined, label.GetLogFont().lfUnderline != 0);
        EXPECT_EQ(CBrunlowView::GetSkinColor(c.color), label.GetTextColor());
        EXPECT_EQ(c.linkMode, label.GetLinkMode());
        EXPECT_NE(0u, label.GetExStyle() & WS_EX_TRANSPARENT);
        EXPECT_EQ(c.linkMode != CTextLabel::LinkNone, (label.GetStyle() & SS_NOTIFY) != 0);
    }
    // The link label's text comes with the tip (below); the language gives the others.
    view->_UpdateTipPanelTexts();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "label " << c.id);
        EXPECT_EQ(c.text, view->Text(c.label));
    }
}

TEST_F(TipPanelTest, LanguageChangeSetsTheLabelsTextsAgain) {
    Use({{L"Text", Tip(L"https://example.com/", 4, 1)}});
    Paint();
    for (CTextLabel* pLabel : {&view->Label(CBrunlowView::TipLabelPrevious), &view->Label(CBrunlowView::TipLabelNext),
                               &view->Label(CBrunlowView::TipLabelReminder), &view->Label(CBrunlowView::TipLabelLink)})
        pLabel->SetText(L"stale");
    view->OnLanguageChanged(nullptr, nullptr, nullptr);
    EXPECT_EQ(L"Back", view->Text(CBrunlowView::TipLabelPrevious));
    EXPECT_EQ(L"More", view->Text(CBrunlowView::TipLabelNext));
    EXPECT_EQ(L"Shown 1 of 4.", view->Text(CBrunlowView::TipLabelReminder));
    EXPECT_EQ(L"Read more", view->Text(CBrunlowView::TipLabelLink));
}

TEST_F(TipPanelTest, PanelAndLabelsArePlacedByTheViewsSize) {
    Use({{L"Text", Tip(L"https://example.com/")}});
    SetViewSize(1200, 600);
    Paint();
    // d = 100: the panel runs from 100 to width - 100, its bottom 66 above
    // the view's, all of the view's window (its edge included).
    const CPoint origin = WindowOrigin();
    const CRect panel = view->_GetTipPanelRect();
    EXPECT_EQ(CRect(100, 600 - 66 - 120, 1100, 600 - 66) + origin, panel);
    const struct {
        CBrunlowView::TipLabel label;
        CRect place;
    } cases[] = {
        {CBrunlowView::TipLabelReminder, CRect(CPoint(panel.left + 112, panel.bottom - 23), CSize(300, 20))},
        {CBrunlowView::TipLabelLink, CRect(CPoint(panel.left + 227, panel.bottom - 23), CSize(300, 20))},
        {CBrunlowView::TipLabelPrevious, CRect(CPoint(panel.left + 112, panel.bottom), CSize(100, 20))},
        {CBrunlowView::TipLabelNext, CRect(CPoint(panel.left + 222, panel.bottom), CSize(100, 20))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "label " << c.label);
        EXPECT_EQ(c.place, PlaceOf(c.label));
    }
    // A resize lays the labels out again; 700 wide gives d = 58, bottom 500 - 38.
    SetViewSize(700, 500);
    EXPECT_EQ(CRect(58, 500 - 38 - 120, 642, 500 - 38) + origin, view->_GetTipPanelRect());
    EXPECT_EQ(CRect(CPoint(58 + 222, 462), CSize(100, 20)) + origin, PlaceOf(CBrunlowView::TipLabelNext));
}

TEST_F(TipPanelTest, ReminderCountsLimitedTipsOnly) {
    const struct {
        const char* name;
        int showCount, shownCount;
        std::wstring reminder;
    } cases[] = {{"limit 5, shown 2", 5, 2, L"Shown 2 of 5."},
                 {"limit 1, shown 1", 1, 1, L"Shown 1 of 1."},
                 {"no limit", -1, 0, L""},
                 {"limit 0", 0, 0, L""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Use({{L"Text", Tip(L"https://example.com/", c.showCount, c.shownCount)}});
        EXPECT_EQ(c.reminder, view->_GetReminderText());
    }
    Use({});
    EXPECT_EQ(L"", view->_GetReminderText());
    view->SetTips(nullptr);
    EXPECT_EQ(L"", view->_GetReminderText());
}

TEST_F(TipPanelTest, NextAndPreviousStepThroughTheTipsAndSetTheLinkAndReminder) {
    auto pTips = Use({{L"First", Tip(L"https://example.com/first", 5, 2)},
                      {L"Second", Tip(L"")},
                      {L"Third", Tip(L"http://example.com/third")}});
    Paint();
    ASSERT_TRUE(AllShown(true));

    // A click on a label reaches the view as its command.
    view->Label(CBrunlowView::TipLabelNext).SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    view->Label(CBrunlowView::TipLabelNext).SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(1u, pTips->position);
    // Without a link, the link and the reminder are hidden.
    EXPECT_FALSE(view->Shown(CBrunlowView::TipLabelLink));
    EXPECT_FALSE(view->Shown(CBrunlowView::TipLabelReminder));
    EXPECT_EQ(L"", view->Text(CBrunlowView::TipLabelLink));
    EXPECT_TRUE(view->Shown(CBrunlowView::TipLabelNext));

    view->SendMessage(WM_COMMAND, MAKEWPARAM(CBrunlowView::kNextTipCommand, 0), 0);
    EXPECT_EQ(2u, pTips->position);
    EXPECT_TRUE(view->Shown(CBrunlowView::TipLabelLink));
    EXPECT_EQ(L"Read more", view->Text(CBrunlowView::TipLabelLink));
    EXPECT_EQ(L"", view->Text(CBrunlowView::TipLabelReminder));

    // Around the end, and back.
    view->SendMessage(WM_COMMAND, MAKEWPARAM(CBrunlowView::kNextTipCommand, 0), 0);
    EXPECT_EQ(0u, pTips->position);
    EXPECT_EQ(L"Shown 2 of 5.", view->Text(CBrunlowView::TipLabelReminder));
    view->SendMessage(WM_COMMAND, MAKEWPARAM(CBrunlowView::kPreviousTipCommand, 0), 0);
    EXPECT_EQ(2u, pTips->position);
    view->Label(CBrunlowView::TipLabelPrevious).SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    view->Label(CBrunlowView::TipLabelPrevious).SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(1u, pTips->position);
    EXPECT_EQ(5, pTips->moves);
}

TEST_F(TipPanelTest, TipsWithoutTextInTheLanguageAreSkipped) {
    // The first tip with a text is shown; its link and reminder are set.
    auto pTips = Use({{L"", Tip(L"")}, {L"", Tip(L"")}, {L"Third", Tip(L"https://example.com/", 3, 1)}});
    Paint();
    EXPECT_EQ(2u, pTips->position);
    EXPECT_EQ(2, pTips->moves);
    EXPECT_TRUE(AllShown(true));
    EXPECT_EQ(L"Shown 1 of 3.", view->Text(CBrunlowView::TipLabelReminder));
    // Once there, the next paint moves no more.
    Paint();
    EXPECT_EQ(2, pTips->moves);

    // No tip has a text: hidden, the position moved once per tip and drawing.
    pTips = Use({{L"", Tip(L"")}, {L"", Tip(L"")}, {L"", Tip(L"")}});
    // (Handing the tips over repainted the view already.)
    pTips->moves = 0;
    pTips->position = 0;
    DrawOnce();
    EXPECT_EQ(3, pTips->moves);
    EXPECT_EQ(0u, pTips->position);
    EXPECT_TRUE(AllShown(false));
}

TEST_F(TipPanelTest, NoTipsIsLoggedAndDrawsNothing) {
    for (const bool handed : {true, false}) {
        SCOPED_TRACE(handed ? "an empty collection" : "no collection");
        if (handed)
            Use({});
        else
            view->SetTips(nullptr);
        const size_t start = LogText().size();
        Paint();
        EXPECT_EQ(1, CountLogLines(start, {"WRN", "CBrunlowView:DrawTipOfTheDay@", "There are no tips available"}))
            << LogText().substr(start);
    }
}

TEST_F(TipPanelTest, LinkOpensOnlyWebAddresses) {
    const struct {
        const wchar_t* link;
        bool opened;
    } cases[] = {{L"https://example.com/x", true},
                 {L"HTTP://example.com/upgrade?from=tips", true},
                 {L"file:///C:/windows/notepad.exe", false},
                 {L"C:\\windows\\notepad.exe", false},
                 {L"notepad.exe", false},
                 {L"javascript:alert(1)", false},
                 {L"http://", false},
                 {L"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "link \"" << std::string(c.link, c.link + wcslen(c.link)) << "\"");
        Use({{L"Text", Tip(c.link)}});
        ShellLaunchRecorder shell;
        const size_t start = LogText().size();
        view->SendMessage(WM_COMMAND, MAKEWPARAM(CBrunlowView::kTipLinkCommand, 0), 0);
        if (c.opened) {
            ASSERT_EQ(1u, ShellLaunchRecorder::launches.size());
            EXPECT_EQ(L"open", ShellLaunchRecorder::launches[0].verb);
            EXPECT_EQ(c.link, ShellLaunchRecorder::launches[0].file);
            EXPECT_EQ(L"", ShellLaunchRecorder::launches[0].parameters);
            EXPECT_EQ(SW_SHOW, ShellLaunchRecorder::launches[0].show);
        } else {
            EXPECT_TRUE(ShellLaunchRecorder::launches.empty());
            // A link that is refused is logged; no link at all is not.
            EXPECT_EQ(*c.link ? 1 : 0, CountLogLines(start, {"WRN", "not opened"}));
        }
    }
}

TEST_F(TipPanelTest, PictureFromTheTipsFileOrTheProgramsOwn) {
    Testing::TempFolder folder;
    const std::vector<Testing::Bgra> pixels(40 * 30, Testing::Bgra{0, 0, 255, 255});
    const std::wstring png = folder.WriteFile(L"tip.png", Testing::MakePng(40, 30, pixels));
    const std::wstring broken = folder.WriteFile(L"broken.png", "not a picture");

    CBitmap bitmap;
    ASSERT_TRUE(LoadBitmapFromFile(bitmap, png));
    BITMAP info = {};
    ASSERT_TRUE(::GetObjectW(bitmap, sizeof info, &info));
    EXPECT_EQ(40, info.bmWidth);
    EXPECT_EQ(30, info.bmHeight);
    for (const std::wstring& path : {broken, folder / L"missing.png", std::wstring()}) {
        CBitmap untouched;
        EXPECT_FALSE(LoadBitmapFromFile(untouched, path));
        EXPECT_EQ(nullptr, untouched.m_hObject);
    }

    // The tip's own picture in the panel's top-left corner; a broken one
    // leaves the program's picture there.
    SetViewSize(900, 600);
    const CRect panel = view->_GetTipPanelRect();
    for (const bool own : {true, false}) {
        SCOPED_TRACE(own ? "own picture" : "broken picture");
        Use({{L"A tip with a picture.", Tip(L"https://example.com/", 5, 1, own ? png : broken)}});
        CClientDC screen(view);
        CDC memory;
        memory.CreateCompatibleDC(&screen);
        CBitmap canvas;
        canvas.CreateCompatibleBitmap(&screen, 900, 600);
        CBitmap* previous = memory.SelectObject(&canvas);
        memory.FillSolidRect(0, 0, 900, 600, RGB(255, 255, 255));
        view->DrawTipOfTheDay(&memory);
        const COLORREF corner = memory.GetPixel(panel.left + 5, panel.top + 5);
        memory.SelectObject(previous);
        EXPECT_EQ(own, corner == RGB(255, 0, 0)) << std::hex << corner;
    }
}

TEST_F(TipPanelTest, EmptyListWithItsTipPanelIsPictured) {
    Use({{L"Videos you play in your browser are caught and listed here. Click a row's button to stop it.",
          Tip(L"https://example.com/", 5, 2)}});
    SetViewSize(900, 600);
    Paint();
    ASSERT_TRUE(AllShown(true));
    EXPECT_FALSE(Testing::SaveWindowPicture(s_viewHost->frame->m_hWnd, L"DownloadListTipPanel").empty());
}

}  // namespace
