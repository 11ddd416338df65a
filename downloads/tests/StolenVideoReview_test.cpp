// The stolen-video review over the engine's stand-in items: when it asks,
// how (the skinned question or a tray balloon), what each answer does, and
// rows that come and go while the question is open. The main window is a
// recording stand-in; the question runs modally through the modal seam and is
// answered with the fake mouse of the skinned windows' input seam.
#include "downloads/view/BrunlowDoc.h"
#include "downloads/view/BrunlowView.h"
#include "downloads/view/StolenVideoDialog.h"

#include "DownloadsTestResources.h"
#include "EngineFakes.h"
#include "EngineStandIn.h"
#include "ListFrame.h"
#include "ProfileApplication.h"
#include "RecordingViewHost.h"
#include "appframework/tests/RecordingService.h"
#include "appframework/tests/ServiceClientFixtures.h"
#include "downloads/app/ViewHost.h"
#include "downloads/settings/Settings.h"
#include "foundation/tests/ShellLaunchRecorder.h"
#include "mfc/ModalSeams.h"
#include "skin/commongui/UserInput.h"
#include "skin/layout/IManager.h"
#include "skin/layout/IPicture.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"

#include "testing/MessagePump.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace KavennaEngine;
using TestDoor::ItemSpec;
using DownloadsTests::RecordingViewHost;
using Testing::Pump;
using Testing::PumpUntil;

namespace {

class ReviewView : public CBrunlowView {
    DECLARE_DYNCREATE(ReviewView)
public:
    void ClearRows() {
        while (!m_rows.empty())
            RemoveRow(0);
    }
};
IMPLEMENT_DYNCREATE(ReviewView, CBrunlowView)

// The question's window as a skin would hold it: a heading with a text of its
// own, a message named like its language string, the three command elements
// and the check box.
const wchar_t kLayout[] =
    LR"(<?xml version="1.0" encoding="utf-8"?>
<LayoutLib><Windows>
<Window name="stolenVideoDialog" automate="1"><Shape type="RoundedRectangular" data="rx@i=10;ry@i=10"/>
<Sizes resizable="0"><Size type="Reference" width="300" height="150"/><Size type="Preferred" width="300" height="150"/></Sizes>
<Visual type="Rollover"><States><State name="out" picture="background"/></States></Visual>
<Elements>
<Element name="heading" id="4" automate="1" position="10,8,250,30"><Visual type="Rollover"><States><State name="out" picture="ownText"/></States></Visual></Element>
<Element name="StolenVideoMessage" id="5" automate="1" position="10,35,290,70"><Visual type="Rollover"><States><State name="out" picture="namedText"/></States></Visual></Element>
<Element name="watch" id="0" automate="1" position="160,80,290,105"><Visual type="Rollover"><States><State name="out" picture="button"/></States></Visual></Element>
<Element name="captureOff" id="1" automate="1" position="10,80,140,105"><Visual type="Rollover"><States><State name="out" picture="button"/></States></Visual></Element>
<Element name="close" id="2" automate="1" position="265,5,290,25"><Visual type="Rollover"><States><State name="out" picture="button"/></States></Visual></Element>
<Element name="doNotAsk" id="3" type="checkbox" automate="1" position="10,115,30,135"><Visual type="check"><States><State name="unchecked_out" picture="unchecked"/><State name="checked_out" picture="checked"/></States></Visual></Element>
</Elements></Window>
</Windows><Pictures>
<Picture name="background" width="10" height="10" resizable="1"><Fill color="#203040" position="0,0,10,10" anchors="Left;Top;Right;Bottom"/></Picture>
<Picture name="ownText" width="10" height="10" resizable="1"><Text text="About {ProductName}" color="#FFFFFF" position="0,0,10,10" anchors="Left;Top;Right;Bottom" horzAlignment="Left"/></Picture>
<Picture name="namedText" width="10" height="10" resizable="1"><Text color="#FFFFFF" position="0,0,10,10" anchors="Left;Top;Right;Bottom" horzAlignment="Left"/></Picture>
<Picture name="button" width="10" height="10" resizable="1"><Fill color="#E07820" position="0,0,10,10" anchors="Left;Top;Right;Bottom"/></Picture>
<Picture name="unchecked" width="10" height="10" resizable="1"><Fill color="#F0F0F0" position="0,0,10,10" anchors="Left;Top;Right;Bottom"/></Picture>
<Picture name="checked" width="10" height="10" resizable="1"><Fill color="#00A000" position="0,0,10,10" anchors="Left;Top;Right;Bottom"/></Picture>
</Pictures></LayoutLib>
)";
const COLORREF kBackground = RGB(0x20, 0x30, 0x40);
const wchar_t kProductName[] = L"Brunlow Downloads Tests";

// A skin whose layout lacks the question's window.
const wchar_t kLayoutWithoutQuestion[] =
    LR"(<?xml version="1.0" encoding="utf-8"?><LayoutLib><Windows><Window name="other"/></Windows><Pictures/></LayoutLib>)";

// What the modal seam does with a question that opens; without a handler it
// is closed at once, so that no test ever waits for a person.
std::function<void(StolenVideoDialog&)> g_onQuestion;
void OnModalLoop(CWnd& window) {
    StolenVideoDialog* pQuestion = dynamic_cast<StolenVideoDialog*>(&window);
    if (pQuestion && g_onQuestion)
        g_onQuestion(*pQuestion);
    // Closed when the handler left it open (a failed assertion in it).
    CDialog* pDialog = dynamic_cast<CDialog*>(&window);
    if (pDialog && (pDialog->m_nFlags & WF_CONTINUEMODAL))
        pDialog->EndDialog(IDCANCEL);
}

// Every message box says yes. Playing asks "play anyway?" while the Extras
// mutex exists, and other test processes of the same product name hold it
// for a moment: the answer keeps this test from waiting for a person.
int AnswerYes(HWND, LPCWSTR, LPCWSTR, UINT) {
    return IDYES;
}

// The fake mouse over one window: the cursor and the left button.
POINT g_cursor = {};
bool g_leftDown = false;
CommonGuiLib::InputFunctions FakeMouse(HWND window) {
    CommonGuiLib::InputFunctions table;
    table.getCursorPos = [](POINT* point) {
        *point = g_cursor;
        return TRUE;
    };
    table.windowFromPoint = [window](POINT point) -> HWND {
        RECT rect = {};
        ::GetWindowRect(window, &rect);
        return ::PtInRect(&rect, point) ? window : nullptr;
    };
    table.getKeyState = [](int key) -> SHORT { return key == VK_LBUTTON && g_leftDown ? SHORT(0x8000) : 0; };
    table.trackMouseEvent = [](TRACKMOUSEEVENT*) { return TRUE; };
    table.setCapture = [](HWND) { return HWND(nullptr); };
    table.releaseCapture = [] { return TRUE; };
    return table;
}

void SendMouse(HWND window, UINT message, POINT client) {
    POINT screen = client;
    ::ClientToScreen(window, &screen);
    g_cursor = screen;
    ::SendMessageW(window, message, 0, MAKELPARAM(client.x, client.y));
}

// A click in the middle of the layout element `id`.
void ClickElement(StolenVideoDialog& dialog, int id) {
    CommonGuiLib::ScopedInputFunctions input(FakeMouse(dialog.m_hWnd));
    const RECT box = dialog.GetElementRect(id);
    const POINT middle = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    SendMouse(dialog.m_hWnd, WM_MOUSEMOVE, middle);
    g_leftDown = true;
    SendMouse(dialog.m_hWnd, WM_LBUTTONDOWN, middle);
    g_leftDown = false;
    SendMouse(dialog.m_hWnd, WM_LBUTTONUP, middle);
}


// The recorded launches, one a line, for a failure message.
std::wstring LaunchesText() {
    std::wstring text;
    for (const FoundationTests::ShellLaunch& launch : FoundationTests::ShellLaunchRecorder::launches)
        text += L"verb \"" + launch.verb + L"\", file " + launch.file + L", parameters \"" + launch.parameters + L"\"\n";
    return text;
}

CBrunlowView::QueueEntry Entry(const DownloadItemHandle& item) {
    CBrunlowView::QueueEntry entry;
    entry.item = item;
    entry.message = CBrunlowView::MessageTypes::Progress();
    return entry;
}

struct ReviewHost {
    ReviewHost() {
        // Initialised, so that switching capturing off takes.
        engine.pEngine->Initialize(&environment, &environment);
        settings = std::make_unique<Settings>();
        access = std::make_unique<DownloadsTests::ScopedAppAccess>(settings.get(), engine.pEngine);
        frame = DownloadsTests::OpenListFrame(app, RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(ReviewView),
                                              CSize(760, 420));
        if (frame)
            view = dynamic_cast<ReviewView*>(frame->GetActiveView());
    }
    ~ReviewHost() {
        DownloadsTests::CloseListFrame(app);
        engine.pEngine->Uninitialize();
        access.reset();
        settings.reset();
    }

    DownloadsTests::ProfileApplication app;
    DownloadsTests::FolderEnvironment environment;
    DownloadsTests::EngineStandIn engine;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<DownloadsTests::ScopedAppAccess> access;
    CFrameWnd* frame = nullptr;
    ReviewView* view = nullptr;
};

class StolenVideoReviewTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_reviewHost = new ReviewHost; }
    static void TearDownTestSuite() {
        delete s_reviewHost;
        s_reviewHost = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_reviewHost->view, nullptr);
        view = s_reviewHost->view;
        door = s_reviewHost->engine.door;
        settings = s_reviewHost->settings.get();
        settings->SetShowDialog(Settings::kStolenVideoDialog, true);
        // Playing asks the elevation service whether the codec pack is there:
        // the recording one of this apartment says no, so that the prefix's
        // own, which other test processes unregister and repair (a launch of
        // its own), is never reached.
        ASSERT_EQ(S_OK, m_service.Registration());
        m_service.registryValue = L"";
        host.layout = LayoutLib::CreateManager(kLayout);
        Brunlow::ViewHost::Set(&host);
        m_previousHook = AfxSetModalLoopHook(&OnModalLoop);
        m_previousBox = AfxSetMessageBoxHandler(&AnswerYes);
        door->ClearCallLog();
    }
    void TearDown() override {
        AfxSetModalLoopHook(m_previousHook);
        AfxSetMessageBoxHandler(m_previousBox);
        g_onQuestion = nullptr;
        Brunlow::ViewHost::Set(nullptr);
        view->ClearRows();
    }

    // An item the engine marks for review, already downloading into a
    // temporary file of the test's own (no size known yet, so it can be
    // watched while it arrives).
    ItemSpec ReviewSpec(const std::wstring& reviewText, int flag = 1, std::uint32_t received = 1000,
                        std::uint32_t position = 0) {
        ItemSpec spec;
        spec.displayName = reviewText + L".flv";
        spec.mediaKind = 1;
        spec.reviewFlag = flag;
        spec.reviewText = reviewText;
        spec.received = received;
        spec.position = position;
        spec.downloadRunning = true;
        spec.tempPath = m_files.WriteFile(reviewText + L".part", "FLV data");
        return spec;
    }
    // The item with a row at the top.
    DownloadItemHandle AddRow(const ItemSpec& spec) {
        const DownloadItemHandle item = door->AddItem(spec);
        CBrunlowView::QueueEntry entry = Entry(item);
        entry.message = CBrunlowView::MessageTypes::Started();
        view->OnProcessingStarted(entry);
        return item;
    }
    void Progress(const DownloadItemHandle& item) { view->OnProcessingProgress(Entry(item)); }
    CBrunlowView::RowPtr RowOf(const DownloadItemHandle& item) { return view->GetRow(view->FindRowByItem(item)); }
    int EngineStateCalls() { return static_cast<int>(s_reviewHost->engine.Calls(L"SetState").size()); }

    static ReviewHost* s_reviewHost;
    ReviewView* view = nullptr;
    TestDoor::ITestDoor* door = nullptr;
    Settings* settings = nullptr;
    RecordingViewHost host;
    FoundationTests::ShellLaunchRecorder shell;
    Testing::TempFolder m_files;
    ServiceClientTests::OleScope m_ole;
    ServiceClientTests::RecordingService m_service;

private:
    AfxModalLoopHook m_previousHook = nullptr;
    AfxMessageBoxHandler m_previousBox = nullptr;
};
ReviewHost* StolenVideoReviewTest::s_reviewHost = nullptr;

TEST_F(StolenVideoReviewTest, AnItemWithoutTheReviewFlagIsNeverShown) {
    const DownloadItemHandle item = AddRow(ReviewSpec(L"plain", 0));
    EXPECT_EQ(1, view->ReviewItem(item));
    Progress(item);
    EXPECT_TRUE(RowOf(item)->IsReviewed()) << "nothing to review is done";
    EXPECT_EQ(0, host.dialogs);
    EXPECT_TRUE(host.balloons.empty());
}

TEST_F(StolenVideoReviewTest, AnItemWithoutDataIsAskedAboutOnceDataArrived) {
    // Data is a position or received bytes; either will do.
    const struct {
        const char* name;
        std::uint32_t received;
        std::uint32_t position;
    } arrivals[] = {{"bytes", 4096, 0}, {"position", 0, 7}};
    for (const auto& arrival : arrivals) {
        SCOPED_TRACE(arrival.name);
        host.dialogs = 0;
        ItemSpec spec = ReviewSpec(L"early", 1, 0, 0);
        const DownloadItemHandle item = AddRow(spec);
        EXPECT_EQ(0, view->ReviewItem(item)) << "not decided yet";
        Progress(item);
        EXPECT_FALSE(RowOf(item)->IsReviewed()) << "asked again at the next progress";
        EXPECT_EQ(0, host.dialogs);
        EXPECT_TRUE(host.balloons.empty());

        spec.received = arrival.received;
        spec.position = arrival.position;
        ASSERT_TRUE(door->ChangeItem(item, spec));
        Progress(item);
        EXPECT_TRUE(RowOf(item)->IsReviewed());
        EXPECT_EQ(1, host.dialogs) << "the question, closed by the seam";
        Progress(item);
        EXPECT_EQ(1, host.dialogs) << "once only";
        view->ClearRows();
    }
}

TEST_F(StolenVideoReviewTest, WithoutAMainWindowNothingIsAsked) {
    const DownloadItemHandle item = AddRow(ReviewSpec(L"lonely"));
    Brunlow::ViewHost::Set(nullptr);
    EXPECT_EQ(1, view->ReviewItem(item));
    Brunlow::ViewHost::Set(&host);
    EXPECT_EQ(0, host.dialogs);
    EXPECT_TRUE(host.balloons.empty());
}

TEST_F(StolenVideoReviewTest, FailuresAreCaughtAndNotRepeated) {
    // A gone item cannot be decided now.
    EXPECT_EQ(0, view->ReviewItem(DownloadItemHandle()));
    // An exception inside is caught; the review counts as done.
    const DownloadItemHandle item = AddRow(ReviewSpec(L"broken"));
    host.throwFromLayout = true;
    EXPECT_EQ(1, view->ReviewItem(item));
    EXPECT_EQ(0, host.dialogs);
    EXPECT_TRUE(host.balloons.empty());
}

TEST_F(StolenVideoReviewTest, TheBalloonAsksWhenTheQuestionCannotAndItsClickPlaysTheVideo) {
    const struct {
        const char* name;
        bool dialogSetting;
        const wchar_t* layout;  // null: the main window has none
        int dialogs;
    } cases[] = {
        {"question switched off", false, kLayout, 0},
        {"no layout", true, nullptr, 0},
        {"a layout without the question's window", true, kLayoutWithoutQuestion, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.balloons.clear();
        host.dialogs = 0;
        shell.launches.clear();
        settings->SetShowDialog(Settings::kStolenVideoDialog, c.dialogSetting);
        host.layout = c.layout ? LayoutLib::CreateManager(c.layout) : nullptr;
        const ItemSpec spec = ReviewSpec(L"balloon");
        const DownloadItemHandle item = AddRow(spec);
        Progress(item);
        EXPECT_TRUE(RowOf(item)->IsReviewed());
        EXPECT_EQ(c.dialogs, host.dialogs);
        ASSERT_EQ(1u, host.balloons.size());
        const RecordingViewHost::Balloon& balloon = host.balloons[0];
        EXPECT_EQ(std::wstring(kProductName) + L" caught a video of another program.", balloon.text);
        EXPECT_EQ(L"Video from another program", balloon.title);
        EXPECT_EQ(1u, balloon.iconKind);
        EXPECT_EQ(15u, balloon.timeout);
        EXPECT_EQ(0u, balloon.tag);
        EXPECT_EQ(c.dialogSetting, settings->IsShowDialogEnabled(Settings::kStolenVideoDialog))
            << "the setting stays as it was";
        EXPECT_TRUE(shell.launches.empty()) << "nothing plays before the click";

        ASSERT_TRUE(balloon.action);
        balloon.action->PerformAction(0);
        ASSERT_EQ(1u, shell.launches.size()) << "the click plays the video\n" << LaunchesText();
        EXPECT_EQ(spec.tempPath, shell.launches[0].file);
        view->ClearRows();
    }
}

TEST_F(StolenVideoReviewTest, TheQuestionsAnswers) {
    const struct {
        const char* name;
        std::vector<int> clicks;  // layout element ids, in order
        INT_PTR answer;
        int choice;
        bool engineOff;
        bool played;
        bool askAgain;
    } cases[] = {
        {"1: capturing off", {1}, IDOK, StolenVideoDialog::ChoiceCaptureOff, true, false, true},
        {"0: watch", {0}, IDOK, StolenVideoDialog::ChoiceWatch, false, true, true},
        {"2: close", {2}, IDCANCEL, StolenVideoDialog::ChoiceNone, false, false, true},
        {"box ticked, close", {3, 2}, IDCANCEL, StolenVideoDialog::ChoiceNone, false, false, false},
        {"box ticked, capturing off", {3, 1}, IDOK, StolenVideoDialog::ChoiceCaptureOff, true, false, false},
        {"box ticked and cleared again, watch", {3, 3, 0}, IDOK, StolenVideoDialog::ChoiceWatch, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings->SetShowDialog(Settings::kStolenVideoDialog, true);
        s_reviewHost->engine.pEngine->SetState(EngineOn, nullptr);
        door->ClearCallLog();
        host.answers.clear();
        host.balloons.clear();
        shell.launches.clear();
        int choice = -1;
        bool askAgain = false;
        g_onQuestion = [&](StolenVideoDialog& dialog) {
            for (int id : c.clicks)
                ClickElement(dialog, id);
            choice = dialog.GetChoice();
            askAgain = dialog.IsCheckBoxChecked();
        };
        const ItemSpec spec = ReviewSpec(L"asked");
        const DownloadItemHandle item = AddRow(spec);
        Progress(item);
        ASSERT_EQ(1u, host.answers.size());
        EXPECT_EQ(c.answer, host.answers[0]);
        EXPECT_EQ(c.choice, choice);
        EXPECT_EQ(c.askAgain, askAgain);
        EXPECT_EQ(c.askAgain, settings->IsShowDialogEnabled(Settings::kStolenVideoDialog)) << "the box is stored";
        EXPECT_EQ(c.engineOff ? 1 : 0, EngineStateCalls());
        EXPECT_EQ(c.engineOff ? EngineOff : EngineOn, s_reviewHost->engine.pEngine->GetState());
        if (c.played) {
            ASSERT_EQ(1u, shell.launches.size()) << LaunchesText();
            EXPECT_EQ(spec.tempPath, shell.launches[0].file);
        } else {
            EXPECT_TRUE(shell.launches.empty());
        }
        EXPECT_TRUE(host.balloons.empty());
        EXPECT_TRUE(RowOf(item)->IsReviewed());
        view->ClearRows();
    }
    s_reviewHost->engine.pEngine->SetState(EngineOn, nullptr);
}

// The count of the window's pixels in `box` (client coordinates) that
// differ from `colour`.
int PixelsOtherThan(HWND window, const RECT& box, COLORREF colour) {
    int width = 0;
    int height = 0;
    const std::vector<Testing::Bgra> pixels = Testing::CaptureClient(window, width, height);
    int count = 0;
    for (int y = box.top; y < box.bottom && y < height; ++y) {
        for (int x = box.left; x < box.right && x < width; ++x) {
            const Testing::Bgra& pixel = pixels[y * width + x];
            if (RGB(pixel.red, pixel.green, pixel.blue) != colour)
                ++count;
        }
    }
    return count;
}

TEST_F(StolenVideoReviewTest, TheQuestionsWindow) {
    bool checked = false;
    g_onQuestion = [&](StolenVideoDialog& dialog) {
        checked = true;
        EXPECT_TRUE(dialog.IsLayoutLoaded());
        const boost::shared_ptr<LayoutLib::IWindow> window = dialog.GetLayoutWindow();
        ASSERT_TRUE(window);
        EXPECT_EQ(L"stolenVideoDialog", window->GetName());
        // The three command elements and the dialog's own check box.
        for (int id : {0, 1, 2}) {
            const RECT box = dialog.GetElementRect(id);
            EXPECT_LT(box.left, box.right) << "element " << id;
        }
        EXPECT_EQ(3, dialog.GetCheckBox().GetIndex());
        EXPECT_EQ(&dialog.GetCheckBox(), dialog.GetAutoControl(window->GetElementById(3)));
        EXPECT_FALSE(dialog.GetCheckBox().IsChecked()) << "the box starts unticked";
        EXPECT_TRUE(dialog.IsCheckBoxChecked()) << "an unticked box keeps the question on";

        // Centred over the main window, topmost.
        RECT own = {};
        RECT frame = {};
        dialog.GetWindowRect(&own);
        s_reviewHost->frame->GetWindowRect(&frame);
        EXPECT_NEAR((frame.left + frame.right) / 2, (own.left + own.right) / 2, 2);
        EXPECT_NEAR((frame.top + frame.bottom) / 2, (own.top + own.bottom) / 2, 2);
        EXPECT_TRUE(dialog.GetExStyle() & WS_EX_TOPMOST);

        // Texts: the element's own, else the language string of its name,
        // product placeholders expanded.
        const boost::shared_ptr<LayoutLib::IManager> layout = dialog.GetLayoutManager();
        const auto textOf = [&](const wchar_t* picture, int element) {
            const boost::shared_ptr<LayoutLib::IPicture> pPicture = layout->GetPicture(picture, {});
            return dialog.GetElementText(pPicture ? pPicture->FindDrawable(LayoutLib::DrawableText, L"")
                                                  : boost::shared_ptr<LayoutLib::IDrawable>(),
                                         window->GetElementById(element));
        };
        EXPECT_EQ(std::wstring(L"About ") + kProductName, textOf(L"ownText", 4));
        EXPECT_EQ(L"", textOf(L"namedText", 4)) << "no language string is named like the heading";
        EXPECT_EQ(std::wstring(kProductName) + L" caught it.", textOf(L"namedText", 5));

        dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(50);
        EXPECT_GT(PixelsOtherThan(dialog.m_hWnd, dialog.GetElementRect(5), kBackground), 20)
            << "the message is drawn from its language string";
        EXPECT_FALSE(Testing::SaveWindowPicture(dialog.m_hWnd, L"stolen_video_dialog").empty());
        ClickElement(dialog, StolenVideoDialog::ControlClose);
    };
    const DownloadItemHandle item = AddRow(ReviewSpec(L"looked"));
    Progress(item);
    EXPECT_TRUE(checked);
    ASSERT_EQ(1u, host.answers.size());
    EXPECT_EQ(IDCANCEL, host.answers[0]);
}

TEST_F(StolenVideoReviewTest, RowsComingAndGoingWhileTheQuestionIsOpen) {
    // Rows [reviewed, other]; while the question is open an engine thread
    // adds a row at the top, reports the reviewed item again and deletes the
    // other row: drains nest inside the question's modal loop.
    const DownloadItemHandle other = AddRow(ReviewSpec(L"other", 0));
    const DownloadItemHandle reviewed = AddRow(ReviewSpec(L"reviewed"));
    const ItemSpec newSpec = ReviewSpec(L"newcomer");
    const DownloadItemHandle newcomer = door->AddItem(newSpec);
    ItemSpec deleted = ReviewSpec(L"other", 0);
    deleted.resultCode = ResultDeleted;

    bool nested = false;
    bool closed = false;
    g_onQuestion = [&](StolenVideoDialog& dialog) {
        door->FireEvent(TestDoor::EventItemStarted, newcomer, {}, 0, true);
        door->FireEvent(TestDoor::EventItemProgress, reviewed, {}, 0, true);
        ASSERT_TRUE(door->ChangeItem(other, deleted));
        door->FireEvent(TestDoor::EventItemFinished, other, {}, 0, true);
        nested = PumpUntil([&] {
            return view->GetRowRecords().size() == 2 && view->FindRowByItem(newcomer) == 0 &&
                   view->FindRowByItem(other) < 0;
        });
        ClickElement(dialog, StolenVideoDialog::ControlClose);
        closed = true;
    };
    Pump(150);
    door->FireEvent(TestDoor::EventItemProgress, reviewed, {}, 0, true);
    ASSERT_TRUE(PumpUntil([&] { return closed; }));
    Pump(200);  // the rest of the drains
    EXPECT_TRUE(nested) << "the other drains ran while the question was open";
    EXPECT_EQ(1, host.dialogs) << "the reviewed item's own progress did not ask again";
    ASSERT_EQ(1, view->FindRowByItem(reviewed));
    EXPECT_TRUE(RowOf(reviewed)->IsReviewed()) << "the mark lands on the reviewed row";
    EXPECT_FALSE(RowOf(newcomer)->IsReviewed()) << "not on the row now at its old index";

    // The newcomer is asked about at its own first progress.
    g_onQuestion = nullptr;
    Progress(newcomer);
    EXPECT_EQ(2, host.dialogs);
    EXPECT_TRUE(RowOf(newcomer)->IsReviewed());
}

}  // namespace
