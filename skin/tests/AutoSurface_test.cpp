// The layout-driven dialog: a test dialog does what a skinned notice does
// (template from the test resources, a skin folder with Resources.xml,
// pictures and a layout file), shown modeless, the mouse through the seam.
#include "skin/autosurface/AutoSurface.h"

#include "graphics/gdiplus/GdiplusStartupHolder.h"
#include "skin/autocontrols/WLCheckBox.h"
#include "skin/commongui/UserInput.h"
#include "skin/tests/LayoutText.h"
#include "testing/WindowPicture.h"
#include "testing/ResourceFolder.h"

#include "SkinTestResources.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using CommonGuiLib::SharedRegion;
typedef boost::shared_ptr<LayoutLib::IElement> ElementPtr;

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());  // the layouts here are ASCII
}

std::wstring Fill(const std::wstring& name, const std::wstring& color) {
    return L"<Picture name=\"" + name + L"\" width=\"10\" height=\"10\" resizable=\"1\"><Fill color=\"" + color +
           L"\" position=\"0,0,10,10\" anchors=\"Left;Top;Right;Bottom\"/></Picture>";
}

std::wstring Rollover(const std::wstring& name, int id, const std::wstring& position, const std::wstring& states,
                      const std::wstring& extra = L"") {
    return L"<Element name=\"" + name + L"\" id=\"" + std::to_wstring(id) + L"\" automate=\"1\" position=\"" + position + L"\" " +
           extra + L"><Visual type=\"Rollover\"><States>" + states + L"</States></Visual></Element>";
}

std::wstring State(const std::wstring& name, const std::wstring& picture, const std::wstring& extra = L"") {
    return L"<State name=\"" + name + L"\" picture=\"" + picture + L"\" " + extra + L"/>";
}

const COLORREF kBackground = RGB(40, 60, 160);
const COLORREF kButtonOut = RGB(200, 0, 0);
const COLORREF kButtonOver = RGB(0, 200, 0);
const COLORREF kUnchecked = RGB(250, 250, 250);
const COLORREF kChecked = RGB(0, 120, 0);
const COLORREF kCorner = RGB(250, 220, 0);
const COLORREF kTrack = RGB(0, 0, 255);
const COLORREF kBar = RGB(0, 255, 0);

std::string SolidBmp(int width, int height, COLORREF color) {
    return Testing::MakeBmp24(width, height,
                              std::vector<Testing::Bgra>(width * height, Testing::Bgra{GetBValue(color), GetGValue(color),
                                                                                       GetRValue(color), 255}));
}

// The notice's window: a rounded outline, a background picture file, a
// Rollover button, a check box, a progress bar, a Right | Bottom corner, a
// child window on a rounded element, and elements for the state rules.
std::wstring NoticeWindow(const std::wstring& name, const std::wstring& sizes, const std::wstring& extra = L"") {
    return L"<Window name=\"" + name + L"\" automate=\"1\" " + extra +
           L"><Shape type=\"RoundedRectangular\" data=\"rx@i=30;ry@i=30\"/>" + sizes +
           L"<Visual type=\"Rollover\"><States>" + State(L"out", L"background") +
           L"</States></Visual><Elements>" +
           Rollover(L"button", 1, L"20,20,80,50",
                    State(L"out", L"buttonOut") + State(L"over", L"buttonOver", L"cursor=\"Hand\"") +
                        State(L"down", L"buttonDown")) +
           L"<Element name=\"check\" id=\"2\" type=\"checkbox\" automate=\"1\" position=\"100,20,130,50\">"
           L"<Visual type=\"check\"><States>" +
           State(L"unchecked_out", L"unchecked") + State(L"checked_out", L"checked") +
           L"</States></Visual></Element>"
           L"<Element name=\"progress\" id=\"3\" automate=\"1\" position=\"20,70,180,90\"><Visual type=\"WLProgress\"><States>"
           L"<State name=\"default\"><Custom data=\"background=track;stretchBackground@b=1;foreground=bar;"
           L"stretchForeground@b=1\"/></State></States></Visual></Element>" +
           Rollover(L"corner", 4, L"200,110,230,130", State(L"out", L"corner"), L"anchors=\"Right;Bottom\"") +
           L"<Element name=\"child\" automate=\"1\" windowed=\"1\" anchors=\"Right;Bottom\" position=\"150,100,190,130\">"
           L"<Shape type=\"RoundedRectangular\" data=\"rx@i=16;ry@i=16\"/></Element>" +
           Rollover(L"overFollower", 5, L"140,20,150,30", State(L"out", L"buttonOut") + State(L"over", L"buttonOver"),
                    L"overTriggers=\"1\"") +
           Rollover(L"downFollower", 6, L"160,20,170,30", State(L"out", L"buttonOut"), L"downTriggers=\"1\"") +
           Rollover(L"cover", 7, L"20,20,50,50", State(L"out", L"buttonDown")) +
           Rollover(L"off", 8, L"180,20,190,30", State(L"out", L"buttonOut") + State(L"disabled", L"buttonDown")) +
           L"</Elements></Window>";
}

std::wstring Sizes(SIZE reference, SIZE preferred, bool resizable = false, SIZE min = {}, SIZE max = {}) {
    auto size = [](const wchar_t* type, SIZE s) {
        return L"<Size type=\"" + std::wstring(type) + L"\" width=\"" + std::to_wstring(s.cx) + L"\" height=\"" +
               std::to_wstring(s.cy) + L"\"/>";
    };
    std::wstring text = L"<Sizes resizable=\"" + std::wstring(resizable ? L"1" : L"0") + L"\">";
    if (reference.cx)
        text += size(L"Reference", reference);
    if (preferred.cx)
        text += size(L"Preferred", preferred);
    if (min.cx)
        text += size(L"Min", min);
    if (max.cx)
        text += size(L"Max", max);
    return text + L"</Sizes>";
}

const SIZE kReference = {240, 140};

std::wstring Layout() {
    const std::wstring pictures =
        L"<Picture name=\"background\" width=\"10\" height=\"10\" resizable=\"1\"><Bitmap path=\"bg.bmp\" "
        L"position=\"0,0,10,10\" anchors=\"Left;Top;Right;Bottom\"/></Picture>" +
        Fill(L"buttonOut", L"#C80000") + Fill(L"buttonOver", L"#00C800") + Fill(L"buttonDown", L"#000000") +
        Fill(L"unchecked", L"#FAFAFA") + Fill(L"checked", L"#007800") + Fill(L"corner", L"#FADC00");
    return SkinTesting::LayoutXml(
        NoticeWindow(L"notice", Sizes(kReference, kReference)) +
            NoticeWindow(L"wide", Sizes(kReference, {280, 160})) +
            NoticeWindow(L"resizable", Sizes(kReference, kReference, true, {200, 120}, {300, 200})) +
            NoticeWindow(L"noSizes", Sizes({}, {})) + NoticeWindow(L"onlyPreferred", Sizes({}, {260, 150})) +
            L"<Window name=\"plain\"><Shape type=\"Elliptic\"/>" + Sizes(kReference, {280, 160}) + L"</Window>" +
            L"<Window name=\"rect\" automate=\"1\"><Shape type=\"Rectangular\" data=\"offsetX@i=-3\"/>" +
            Sizes(kReference, kReference) + L"</Window>" +
            L"<Window name=\"ellipse\" automate=\"1\"><Shape type=\"Elliptic\" data=\"offsetY@i=2\"/>" +
            Sizes(kReference, kReference) + L"</Window>" +
            L"<Window name=\"custom\" automate=\"1\"><Shape type=\"Custom\" data=\"offsetX@i=5\"/>" +
            Sizes(kReference, kReference) + L"</Window>" +
            L"<Window name=\"masked\" automate=\"1\"><Shape type=\"Masked\" data=\"maskPath=mask.bmp;scaleMask@b=1\"/>" +
            Sizes(kReference, kReference) + L"</Window>",
        pictures);
}

// The windowless check box's elements are marked by their type; the
// progress element gets its value; element 7 is invisible, 8 disabled.
class StateRules : public IWindowlessAutoControl {
public:
    bool IsMyIndex(int index) const override { return index == 7 || index == 8; }
    bool UpdateState(ElementState& state) override {
        if (state.index == 7)
            state.visible = false;
        if (state.index == 8)
            state.enabled = false;
        return true;
    }
};

class NoticeDialog : public FullAutoSurfaceT<CDialog> {
public:
    explicit NoticeDialog(UINT templateId)
        : FullAutoSurfaceT<CDialog>(templateId, nullptr), checkBox(nullptr, WLCheckBox::Unchecked) {}

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BLACKRECT, 0, 0, 10, 10, m_hWnd,
                                  nullptr, nullptr, nullptr);
        SetResourceManager(resources);
        loaded = LoadLayout(layout, windowName, skinWindow, automate);
        if (withStateRules)
            GetControlContainer().Register(&stateRules);
        return TRUE;
    }
    HWND GetElementWindow(const ElementPtr& element) override {
        return element && element->GetName() == L"child" ? child : nullptr;
    }
    IAutoControl* GetAutoControl(const ElementPtr& element) override {
        if (element && element->GetType() == L"checkbox")
            return &checkBox;
        return FullAutoSurfaceT<CDialog>::GetAutoControl(element);
    }
    void PrepareElementValues(const ElementPtr& element, LayoutLib::CustomValues& values) override {
        FullAutoSurfaceT<CDialog>::PrepareElementValues(element, values);
        if (element && element->GetName() == L"progress")
            LayoutLib::SetCustomValue(values, L"progress", 0.5);
    }
    void OnClick(Surface&, int index) override { clicks.push_back(index); }

    boost::shared_ptr<ResourceLib::IManager> resources;
    boost::shared_ptr<LayoutLib::IManager> layout;
    std::wstring windowName = L"notice";
    UINT templateId = IDD_AUTOSURFACE_POPUP;
    bool skinWindow = true;
    bool automate = true;
    bool withStateRules = true;
    bool loaded = false;
    HWND child = nullptr;
    WLCheckBox checkBox;
    StateRules stateRules;
    std::vector<int> clicks;
};

SIZE ClientSize(HWND window) {
    RECT rect = {};
    ::GetClientRect(window, &rect);
    return SIZE{rect.right, rect.bottom};
}

RECT RegionBox(HRGN region) {
    RECT box = {};
    ::GetRgnBox(region, &box);
    return box;
}

// The window's region as the system holds it; empty box when it has none.
bool WindowRegionBox(HWND window, RECT& box) {
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const int kind = ::GetWindowRgn(window, region);
    box = RegionBox(region);
    ::DeleteObject(region);
    return kind != ERROR;
}

class AutoSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder.WriteFile(L"Common\\track.bmp", SolidBmp(4, 4, kTrack));
        m_folder.WriteFile(L"Common\\bar.bmp", SolidBmp(4, 4, kBar));
        m_folder.WriteResources(L"Common", R"(<Bitmap name="track" path="track.bmp"/><Bitmap name="bar" path="bar.bmp"/>)");
        m_folder.WriteFile(L"skin\\bg.bmp", SolidBmp(8, 8, kBackground));
        std::vector<Testing::Bgra> mask(100 * 50, Testing::Bgra{0, 0, 0, 255});
        for (int x = 0; x < 10; ++x)
            mask[x] = Testing::Bgra{255, 255, 255, 255};
        m_folder.WriteFile(L"skin\\mask.bmp", Testing::MakeBmp24(100, 50, mask));
        m_layoutPath = m_folder.WriteFile(L"skin\\layout.xml", Narrow(Layout()));
        m_folder.Open();
        m_layout = LayoutLib::CreateManager(m_layoutPath);
    }
    void TearDown() override {
        for (auto& dialog : m_dialogs) {
            if (dialog->m_hWnd)
                dialog->DestroyWindow();
        }
        m_dialogs.clear();
    }

    NoticeDialog& Make(const std::wstring& window, UINT templateId = IDD_AUTOSURFACE_POPUP) {
        m_dialogs.emplace_back(new NoticeDialog(templateId));
        NoticeDialog& dialog = *m_dialogs.back();
        dialog.resources = m_folder.manager;
        dialog.layout = m_layout;
        dialog.windowName = window;
        dialog.templateId = templateId;
        return dialog;
    }
    NoticeDialog& Show(const std::wstring& window, UINT templateId = IDD_AUTOSURFACE_POPUP) {
        NoticeDialog& dialog = Make(window, templateId);
        Open(dialog);
        return dialog;
    }
    void Open(NoticeDialog& dialog) {
        ASSERT_TRUE(dialog.Create(dialog.templateId, nullptr));
        ::SetWindowPos(dialog.m_hWnd, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        ::UpdateWindow(dialog.m_hWnd);
        Pump();
    }

    // A fake mouse over the dialog: cursor, left button and capture
    // through the input seam.
    CommonGuiLib::InputFunctions FakeMouse(HWND window) {
        CommonGuiLib::InputFunctions table;
        table.getCursorPos = [this](POINT* point) {
            *point = m_cursor;
            return TRUE;
        };
        table.windowFromPoint = [window](POINT point) -> HWND {
            RECT rect = {};
            ::GetWindowRect(window, &rect);
            return ::PtInRect(&rect, point) ? window : nullptr;
        };
        table.getKeyState = [this](int key) -> SHORT { return key == VK_LBUTTON && m_leftDown ? SHORT(0x8000) : 0; };
        table.trackMouseEvent = [](TRACKMOUSEEVENT*) { return TRUE; };
        table.setCapture = [](HWND) { return HWND(nullptr); };
        table.releaseCapture = [] { return TRUE; };
        return table;
    }
    void Send(HWND window, UINT message, POINT client) {
        POINT screen = client;
        ::ClientToScreen(window, &screen);
        m_cursor = screen;
        ::SendMessageW(window, message, 0, MAKELPARAM(client.x, client.y));
    }

    GdiplusStartupHolder m_gdiplus;
    ResourceTesting::ResourceFolder m_folder;
    std::wstring m_layoutPath;
    boost::shared_ptr<LayoutLib::IManager> m_layout;
    std::vector<std::unique_ptr<NoticeDialog>> m_dialogs;
    POINT m_cursor = {};
    bool m_leftDown = false;
};

}  // namespace

namespace {

TEST_F(AutoSurfaceTest, LoadLayoutResults) {
    struct Case {
        const char* name;
        const wchar_t* window;
        bool skinWindow;
        bool automate;
        bool expected;
        bool sized;  // the client area took a layout size
    } cases[] = {
        {"missing window", L"nowhere", true, true, false, false},
        {"both flags false", L"notice", false, false, true, false},
        {"no Reference or Preferred size", L"noSizes", true, true, false, false},
        {"Preferred stands in for Reference", L"onlyPreferred", true, true, true, true},
        {"skinned and automated", L"notice", true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NoticeDialog& dialog = Make(c.window);
        dialog.skinWindow = c.skinWindow;
        dialog.automate = c.automate;
        dialog.withStateRules = false;
        ASSERT_NO_FATAL_FAILURE(Open(dialog));
        EXPECT_EQ(c.expected, dialog.loaded);
        const SIZE client = ClientSize(dialog.m_hWnd);
        RECT box = {};
        if (!c.sized) {
            EXPECT_NE(kReference.cx, client.cx) << "the template's size is kept";
            EXPECT_FALSE(WindowRegionBox(dialog.m_hWnd, box)) << "no outline";
            EXPECT_EQ(0, dialog.GetRegionSet().GetCount()) << "no element regions";
        } else {
            const SIZE expected = dialog.GetLayoutWindow()->GetSize(LayoutLib::SizePreferred);
            EXPECT_EQ(expected.cx, client.cx);
            EXPECT_EQ(expected.cy, client.cy);
            EXPECT_TRUE(WindowRegionBox(dialog.m_hWnd, box));
        }
    }
    // Both flags false still records the layout window.
    EXPECT_TRUE(m_dialogs[1]->GetLayoutWindow());
}

TEST_F(AutoSurfaceTest, WindowWithoutAutomateGetsNoOutlineAndNoLimits) {
    NoticeDialog& dialog = Show(L"plain");
    EXPECT_TRUE(dialog.loaded);
    RECT box = {};
    EXPECT_FALSE(WindowRegionBox(dialog.m_hWnd, box));
    MINMAXINFO info = {};
    info.ptMaxTrackSize = POINT{12345, 12345};
    ::SendMessageW(dialog.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_NE(280, info.ptMaxTrackSize.x);
    EXPECT_NE(280, info.ptMinTrackSize.x);
}

TEST_F(AutoSurfaceTest, ClientAreaIsThePreferredSizeWithAndWithoutBorders) {
    for (UINT templateId : {IDD_AUTOSURFACE_POPUP, IDD_AUTOSURFACE_SIZING}) {
        SCOPED_TRACE(templateId == IDD_AUTOSURFACE_POPUP ? "borderless" : "sizing border");
        NoticeDialog& dialog = Show(L"wide", templateId);
        ASSERT_TRUE(dialog.loaded);
        const SIZE client = ClientSize(dialog.m_hWnd);
        EXPECT_EQ(280, client.cx);
        EXPECT_EQ(160, client.cy);

        RECT window = {};
        ::GetWindowRect(dialog.m_hWnd, &window);
        MINMAXINFO info = {};
        ::SendMessageW(dialog.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        // Not resizable: fixed at the Preferred size, borders included.
        EXPECT_EQ(window.right - window.left, info.ptMinTrackSize.x);
        EXPECT_EQ(window.bottom - window.top, info.ptMinTrackSize.y);
        EXPECT_EQ(info.ptMinTrackSize.x, info.ptMaxTrackSize.x);
        EXPECT_EQ(info.ptMinTrackSize.y, info.ptMaxSize.y);
    }
}

TEST_F(AutoSurfaceTest, ResizableLayoutHoldsMinAndMax) {
    NoticeDialog& dialog = Show(L"resizable", IDD_AUTOSURFACE_SIZING);
    ASSERT_TRUE(dialog.loaded);
    RECT window = {};
    ::GetWindowRect(dialog.m_hWnd, &window);
    const SIZE client = ClientSize(dialog.m_hWnd);
    const SIZE borders = {(window.right - window.left) - client.cx, (window.bottom - window.top) - client.cy};
    EXPECT_GT(borders.cx, 0);
    MINMAXINFO info = {};
    ::SendMessageW(dialog.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(200 + borders.cx, info.ptMinTrackSize.x);
    EXPECT_EQ(120 + borders.cy, info.ptMinTrackSize.y);
    EXPECT_EQ(300 + borders.cx, info.ptMaxTrackSize.x);
    EXPECT_EQ(200 + borders.cy, info.ptMaxSize.y);
}

TEST_F(AutoSurfaceTest, WindowShapes) {
    RECT box = {};
    {
        NoticeDialog& dialog = Show(L"rect");
        EXPECT_FALSE(WindowRegionBox(dialog.m_hWnd, box)) << "a Rectangular window keeps its shape, offsets or not";
    }
    {
        NoticeDialog& dialog = Show(L"custom");
        EXPECT_FALSE(WindowRegionBox(dialog.m_hWnd, box)) << "Custom gives no region";
    }
    {
        NoticeDialog& dialog = Show(L"ellipse");
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, ::GetWindowRgn(dialog.m_hWnd, region));
        HRGN expected = ::CreateEllipticRgn(0, 0, kReference.cx, kReference.cy);
        ::OffsetRgn(expected, 0, 2);
        // The system keeps the window's region in its own form: compare
        // where it lies rather than the region data.
        const RECT got = RegionBox(region);
        const RECT want = RegionBox(expected);
        EXPECT_EQ(want.left, got.left);
        EXPECT_EQ(want.top, got.top);
        EXPECT_EQ(want.right, got.right);
        EXPECT_EQ(want.bottom, got.bottom);
        EXPECT_FALSE(::PtInRegion(region, 2, 4)) << "the corner lies outside the ellipse";
        ::DeleteObject(expected);
        ::DeleteObject(region);
    }
    {
        NoticeDialog& dialog = Show(L"masked");
        ASSERT_TRUE(WindowRegionBox(dialog.m_hWnd, box)) << "mask beside the layout file";
        EXPECT_EQ(kReference.cx, box.right) << "scaled from 100 to the window's width";
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        ::GetWindowRgn(dialog.m_hWnd, region);
        EXPECT_FALSE(::PtInRegion(region, 5, 0)) << "the white top row is cut out";
        EXPECT_TRUE(::PtInRegion(region, 5, 10));
        ::DeleteObject(region);
    }
}

TEST_F(AutoSurfaceTest, GrowingMovesAnchoredElementsChildAndOutline) {
    NoticeDialog& dialog = Show(L"resizable", IDD_AUTOSURFACE_POPUP);
    ASSERT_TRUE(dialog.loaded);
    const RECT corner = dialog.GetElementRect(4);
    EXPECT_EQ(200, corner.left);
    EXPECT_EQ(110, corner.top);
    RECT child = {};
    ::GetWindowRect(dialog.child, &child);
    ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&child), 2);
    EXPECT_EQ(150, child.left);
    EXPECT_EQ(100, child.top);
    HRGN childRegion = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(COMPLEXREGION, ::GetWindowRgn(dialog.child, childRegion)) << "the element's rounded outline";
    EXPECT_FALSE(::PtInRegion(childRegion, 0, 0));
    ::DeleteObject(childRegion);

    // Several resizes: every outline is the window's own to delete.
    for (int grow : {10, 30, 50}) {
        ::SetWindowPos(dialog.m_hWnd, nullptr, 0, 0, kReference.cx + grow, kReference.cy + grow / 2,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT box = {};
        ASSERT_TRUE(WindowRegionBox(dialog.m_hWnd, box));
        // A rounded rectangle leaves out its last column.
        EXPECT_EQ(kReference.cx + grow - 1, box.right);
    }
    ::SetWindowPos(dialog.m_hWnd, nullptr, 0, 0, kReference.cx + 40, kReference.cy + 20,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT moved = dialog.GetElementRect(4);
    EXPECT_EQ(240, moved.left);
    EXPECT_EQ(130, moved.top);
    EXPECT_EQ(270, moved.right);
    ::GetWindowRect(dialog.child, &child);
    ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&child), 2);
    EXPECT_EQ(190, child.left);
    EXPECT_EQ(120, child.top);
    RECT box = {};
    EXPECT_TRUE(WindowRegionBox(dialog.child, box)) << "the child keeps its outline";
}

TEST_F(AutoSurfaceTest, StatesTriggersAndCursor) {
    NoticeDialog& dialog = Show(L"notice");
    CommonGuiLib::ScopedInputFunctions input(FakeMouse(dialog.m_hWnd));
    const HWND hwnd = dialog.m_hWnd;

    Send(hwnd, WM_MOUSEMOVE, POINT{70, 30});  // on the button, beside the invisible cover
    ASSERT_EQ(1, dialog.GetActiveIndex());
    EXPECT_TRUE(dialog.GetElementState(5).over) << "over-trigger 1 hovered";
    EXPECT_FALSE(dialog.GetElementState(6).over) << "a down-trigger needs the press";
    EXPECT_EQ(::LoadCursor(nullptr, IDC_HAND), dialog.GetCursor(dialog, 1)) << "the over state asks for the hand";
    EXPECT_EQ(nullptr, dialog.GetCursor(dialog, 4));

    m_leftDown = true;
    Send(hwnd, WM_LBUTTONDOWN, POINT{70, 30});
    ElementState follower = dialog.GetElementState(6);
    EXPECT_TRUE(follower.over && follower.down) << "down-trigger 1 pressed";
    EXPECT_EQ(L"down", dialog.GetStatePictureName(follower));
    m_leftDown = false;
    Send(hwnd, WM_LBUTTONUP, POINT{70, 30});
    EXPECT_FALSE(dialog.GetElementState(6).down);

    Send(hwnd, WM_MOUSEMOVE, POINT{30, 30});  // the invisible cover lies over the button here
    EXPECT_EQ(1, dialog.GetActiveIndex()) << "an invisible element lets the mouse through";
    m_leftDown = true;
    Send(hwnd, WM_LBUTTONDOWN, POINT{30, 30});
    m_leftDown = false;
    Send(hwnd, WM_LBUTTONUP, POINT{30, 30});
    EXPECT_EQ((std::vector<int>{1, 1}), dialog.clicks);

    Send(hwnd, WM_MOUSEMOVE, POINT{185, 25});
    m_leftDown = true;
    Send(hwnd, WM_LBUTTONDOWN, POINT{185, 25});
    const ElementState off = dialog.GetElementState(8);
    EXPECT_FALSE(off.down) << "a disabled element is never down";
    EXPECT_EQ(L"disabled", dialog.GetStatePictureName(off));
    m_leftDown = false;
    Send(hwnd, WM_LBUTTONUP, POINT{185, 25});
}

TEST_F(AutoSurfaceTest, CheckBoxControlAndRunTimeElements) {
    NoticeDialog& dialog = Show(L"notice");
    CommonGuiLib::ScopedInputFunctions input(FakeMouse(dialog.m_hWnd));
    EXPECT_EQ(2, dialog.checkBox.GetIndex()) << "bound to its element";
    EXPECT_TRUE(dialog.GetControlContainer().IsRegisteredAt(&dialog.checkBox, 2));
    EXPECT_EQ(&dialog.checkBox, dialog.GetAutoControl(dialog.GetLayoutWindow()->GetElementById(2)));
    EXPECT_EQ(WLCheckBox::Unchecked, dialog.checkBox.GetState());

    ::ValidateRect(dialog.m_hWnd, nullptr);
    Send(dialog.m_hWnd, WM_MOUSEMOVE, POINT{110, 30});
    ::ValidateRect(dialog.m_hWnd, nullptr);
    m_leftDown = true;
    Send(dialog.m_hWnd, WM_LBUTTONDOWN, POINT{110, 30});
    m_leftDown = false;
    Send(dialog.m_hWnd, WM_LBUTTONUP, POINT{110, 30});
    EXPECT_TRUE(dialog.checkBox.IsChecked());
    HRGN update = ::CreateRectRgn(0, 0, 0, 0);
    ::GetUpdateRgn(dialog.m_hWnd, update, FALSE);
    const RECT box = RegionBox(update);
    ::DeleteObject(update);
    EXPECT_EQ(100, box.left) << "only the box's region is repainted";
    EXPECT_EQ(20, box.top);
    EXPECT_EQ(130, box.right);
    EXPECT_EQ(50, box.bottom);

    // A run-time element: a taken index is refused; a new one joins the
    // dialog's own copy of the window only.
    const boost::shared_ptr<LayoutLib::IWindow> shared = m_layout->GetWindow(L"notice");
    ElementPtr taken = shared->GetElementById(4)->Clone(1, L"again");
    EXPECT_FALSE(dialog.AddElement(taken));
    const boost::shared_ptr<LayoutLib::IMutableElement> added = shared->GetElementById(4)->Clone(20, L"added");
    added->SetPosition(RECT{10, 100, 30, 120});
    ASSERT_TRUE(dialog.AddElement(added));
    EXPECT_EQ(added.get(), dialog.GetLayoutWindow()->GetElementById(20).get());
    EXPECT_EQ(10, dialog.GetElementRect(20).left);
    EXPECT_FALSE(m_layout->GetWindow(L"notice")->GetElementById(20)) << "the manager's window stays as read";
    NoticeDialog& second = Show(L"notice");
    EXPECT_FALSE(second.GetLayoutWindow()->GetElementById(20));
    EXPECT_TRUE(dialog.GetLayoutWindow()->GetElementById(2)) << "the copy keeps the elements";
}

TEST_F(AutoSurfaceTest, GuiContextAndAnimationTimer) {
    NoticeDialog& dialog = Show(L"notice");
    const boost::shared_ptr<Time::GUIMultiTimer> timer = dialog.GetAnimationTimer();
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer, dialog.GetAnimationTimer()) << "made once";

    struct Target : ContextLib::ICommandTarget {
        void Execute(const ContextLib::CommandPtr&) override { thread = ::GetCurrentThreadId(); }
        std::atomic<DWORD> thread{0};
    } target;
    struct Command : STLHelpers::ICommand {
        int GetId() const override { return 1; }
    };
    ASSERT_TRUE(dialog.GetGUIContext());
    std::thread worker([&] { dialog.GetGUIContext()->Post(boost::make_shared<Command>(), &target, true); });
    worker.join();
    for (int i = 0; i < 200 && !target.thread; ++i) {
        Pump();
        ::Sleep(10);
    }
    EXPECT_EQ(::GetCurrentThreadId(), target.thread.load()) << "ran on the dialog's thread";

    struct Tick : Time::ITimerCallback {
        bool OnTimer(int, int, int, int*) override {
            ++fired;
            return false;
        }
        int fired = 0;
    } tick;
    ASSERT_TRUE(timer->AddTimer(&tick, 1, 5));
    for (int i = 0; i < 200 && !tick.fired; ++i) {
        Pump();
        ::Sleep(10);
    }
    EXPECT_EQ(1, tick.fired);
}

// The window's client pixels through its DC, written as a PNG under the
// build folder's artifacts\skin.
std::vector<Testing::Bgra> Capture(HWND window, const std::wstring& name, SIZE& size) {
    int width = 0, height = 0;
    const std::vector<Testing::Bgra> pixels = Testing::CaptureClient(window, width, height);
    size = SIZE{width, height};

    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder = module;
    folder = folder.substr(0, folder.find_last_of(L"\\/"));
    folder = folder.substr(0, folder.find_last_of(L"\\/")) + L"\\artifacts";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\skin";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::string png = Testing::MakePng(size.cx, size.cy, pixels);
    HANDLE file = ::CreateFileW((folder + L"\\" + name + L".png").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        ::WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    EXPECT_EQ(png.size(), written) << "the picture was written";
    return pixels;
}

COLORREF At(const std::vector<Testing::Bgra>& pixels, SIZE size, int x, int y) {
    const Testing::Bgra& pixel = pixels[y * size.cx + x];
    return RGB(pixel.red, pixel.green, pixel.blue);
}

TEST_F(AutoSurfaceTest, WholeWindowPictures) {
    NoticeDialog& dialog = Make(L"notice");
    dialog.withStateRules = false;
    ASSERT_NO_FATAL_FAILURE(Open(dialog));
    CommonGuiLib::ScopedInputFunctions input(FakeMouse(dialog.m_hWnd));
    const HWND hwnd = dialog.m_hWnd;
    HRGN outline = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(hwnd, outline));
    EXPECT_FALSE(::PtInRegion(outline, 1, 1)) << "the rounded corner lies outside";
    EXPECT_TRUE(::PtInRegion(outline, 120, 5));
    ::DeleteObject(outline);

    auto capture = [&](const wchar_t* name, SIZE& size) {
        ::InvalidateRect(hwnd, nullptr, TRUE);
        ::UpdateWindow(hwnd);
        return Capture(hwnd, name, size);
    };
    SIZE size = {};
    std::vector<Testing::Bgra> first = capture(L"notice_out", size);
    EXPECT_EQ(kBackground, At(first, size, 120, 60)) << "background picture";
    EXPECT_EQ(kButtonOut, At(first, size, 60, 35));
    EXPECT_EQ(kUnchecked, At(first, size, 115, 35));
    EXPECT_EQ(kBar, At(first, size, 30, 80)) << "progress done part";
    EXPECT_EQ(kTrack, At(first, size, 170, 80)) << "progress rest";
    EXPECT_EQ(kCorner, At(first, size, 215, 120));

    Send(hwnd, WM_MOUSEMOVE, POINT{60, 35});
    std::vector<Testing::Bgra> over = capture(L"notice_button_over", size);
    EXPECT_EQ(kButtonOver, At(over, size, 60, 35));

    Send(hwnd, WM_MOUSEMOVE, POINT{115, 35});
    m_leftDown = true;
    Send(hwnd, WM_LBUTTONDOWN, POINT{115, 35});
    m_leftDown = false;
    Send(hwnd, WM_LBUTTONUP, POINT{115, 35});
    std::vector<Testing::Bgra> checked = capture(L"notice_checked", size);
    EXPECT_EQ(kChecked, At(checked, size, 115, 35));
    EXPECT_EQ(kButtonOut, At(checked, size, 60, 35)) << "the button is out again";
}

}  // namespace
