#include "skin/layout/IElement.h"
#include "skin/resizing/AnchorLayout.h"
#include "skin/resizing/LayoutWindowKeeper.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// The flags each child saw in WM_WINDOWPOSCHANGING, by window.
std::map<HWND, std::vector<UINT>> g_positionFlags;
// What a protocol child answers to the refresh question.
BOOL g_childRefreshAnswer = FALSE;

// The procedure each subclassed child had before.
std::map<HWND, WNDPROC> g_originalProcedures;

LRESULT CALLBACK Recording(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING)
        g_positionFlags[window].push_back(reinterpret_cast<WINDOWPOS*>(lParam)->flags);
    return ::CallWindowProcW(g_originalProcedures[window], window, message, wParam, lParam);
}

// A child of its own class that speaks the resize protocol.
LRESULT CALLBACK ProtocolChild(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == GetResizeSupportMessage()) {
        if (wParam == RESIZESUPPORT_QUERYPROPERTIES) {
            auto* properties = reinterpret_cast<ResizeProperties*>(lParam);
            properties->askRefresh = TRUE;
            return 1;
        }
        if (wParam == RESIZESUPPORT_NEEDREFRESH) {
            reinterpret_cast<ResizeRefreshQuery*>(lParam)->answer = g_childRefreshAnswer;
            return 1;
        }
    }
    if (message == WM_WINDOWPOSCHANGING)
        g_positionFlags[window].push_back(reinterpret_cast<WINDOWPOS*>(lParam)->flags);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t kProtocolClass[] = L"BrunlowResizeProtocolChild";
const wchar_t kParentClass[] = L"BrunlowAnchorParent";

class TestLayout : public CAnchorLayout {
public:
    explicit TestLayout(HWND owner) : m_owner(owner) {}
    using CAnchorLayout::NeedsRefresh;

protected:
    CWnd* GetLayoutOwner() override { return CWnd::FromHandle(m_owner); }

private:
    HWND m_owner;
};

class AnchorLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW parentClass = {};
        parentClass.lpfnWndProc = ::DefWindowProcW;
        parentClass.hInstance = ::GetModuleHandleW(nullptr);
        parentClass.lpszClassName = kParentClass;
        ::RegisterClassW(&parentClass);
        WNDCLASSW childClass = parentClass;
        childClass.lpfnWndProc = ProtocolChild;
        childClass.lpszClassName = kProtocolClass;
        ::RegisterClassW(&childClass);
        // A popup without a frame: client and window rectangles agree.
        m_parent = ::CreateWindowExW(0, kParentClass, L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(m_parent);
        g_positionFlags.clear();
    }
    void TearDown() override { ::DestroyWindow(m_parent); }

    HWND Child(const wchar_t* windowClass, DWORD style, RECT rect) {
        HWND child = ::CreateWindowExW(0, windowClass, L"text", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                       rect.right - rect.left, rect.bottom - rect.top, m_parent, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
        if (std::wstring(windowClass) != kProtocolClass)
            g_originalProcedures[child] = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Recording)));
        return child;
    }

    void Resize(int width, int height) {
        ::SetWindowPos(m_parent, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    static RECT ChildRect(HWND child) {
        RECT rect = {};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    HWND m_parent = nullptr;
};

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

TEST_F(AnchorLayoutTest, ChildrenFollowTheirAnchorPoints) {
    HWND grows = Child(L"Button", 0, RECT{10, 10, 60, 40});
    HWND moves = Child(L"Button", 0, RECT{150, 70, 190, 90});
    HWND centred = Child(L"Button", 0, RECT{80, 5, 120, 25});
    HWND unchanged = Child(L"Button", 0, RECT{5, 50, 25, 70});
    TestLayout layout(m_parent);
    layout.AnchorChild(grows, ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
    layout.AnchorChild(moves, ANCHOR_BOTTOMRIGHT, ANCHOR_BOTTOMRIGHT);
    layout.AnchorChild(centred, ANCHOR_TOP, ANCHOR_TOP);
    layout.AnchorChild(unchanged, ANCHOR_TOPLEFT, ANCHOR_TOPLEFT);
    EXPECT_EQ(4, layout.GetChildCount());

    Resize(231, 120);  // odd width: 231 / 2 = 115 against 100 before
    g_positionFlags.clear();
    layout.RepositionChildren();

    struct Case {
        const char* name;
        HWND child;
        RECT expected;
    } cases[] = {
        {"(0,0)-(100,100) grows", grows, {10, 10, 91, 60}},
        {"(100,100) moves, keeps size", moves, {181, 90, 221, 110}},
        {"(50,0) takes the truncated half", centred, {95, 5, 135, 25}},
        {"(0,0) stays", unchanged, {5, 50, 25, 70}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RECT actual = ChildRect(c.child);
        EXPECT_TRUE(::EqualRect(&c.expected, &actual)) << Describe(actual);
    }
    EXPECT_EQ(0u, g_positionFlags.count(unchanged)) << "a child left in place gets no WM_WINDOWPOSCHANGING";

    layout.ClearLayout();
    EXPECT_EQ(0, layout.GetChildCount());
}

TEST_F(AnchorLayoutTest, NoCopyBitsFollowsTheStaticTableAndTheListBoxRule) {
    struct Case {
        const char* name;
        const wchar_t* windowClass;
        DWORD style;
        SIZE change;
        bool refresh;
    } cases[] = {
        {"left text, wider", L"Static", SS_LEFT, {10, 0}, true},
        {"left text, taller", L"Static", SS_LEFT, {0, 10}, false},
        {"left text centre-image, taller", L"Static", SS_LEFT | SS_CENTERIMAGE, {0, 10}, true},
        {"right text, wider", L"Static", SS_RIGHT, {10, 0}, true},
        {"black frame, taller", L"Static", SS_BLACKFRAME, {0, 10}, true},
        {"etched frame, wider", L"Static", SS_ETCHEDFRAME, {10, 0}, true},
        {"no-wrap with ellipsis, wider", L"Static", SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS, {10, 0}, true},
        {"no-wrap without ellipsis, wider", L"Static", SS_LEFTNOWORDWRAP, {10, 0}, false},
        {"owner-drawn, wider", L"Static", SS_OWNERDRAW, {10, 0}, false},
        {"list box without scrolling, wider", L"ListBox", 0, {10, 0}, false},
        {"button, wider", L"Button", 0, {10, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Resize(200, 100);
        HWND child = Child(c.windowClass, c.style, RECT{10, 10, 60, 40});
        TestLayout layout(m_parent);
        layout.AnchorChild(child, ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
        Resize(200 + c.change.cx, 100 + c.change.cy);
        g_positionFlags.clear();
        layout.RepositionChildren();
        ASSERT_EQ(1u, g_positionFlags[child].size());
        EXPECT_EQ(c.refresh, (g_positionFlags[child][0] & SWP_NOCOPYBITS) != 0);
        tagLAYOUTINFO info;
        info.hWnd = child;
        ::GetClassNameW(child, info.className, MAX_PATH);
        const RECT before = {0, 0, 50, 30};
        const RECT after = {0, 0, 50 + c.change.cx, 30 + c.change.cy};
        EXPECT_EQ(c.refresh, layout.NeedsRefresh(info, before, after) != FALSE);
        ::DestroyWindow(child);
    }
}

TEST_F(AnchorLayoutTest, ListBoxRefreshesWhenWideningScrollsPastTheEnd) {
    HWND list = Child(L"ListBox", WS_HSCROLL, RECT{10, 10, 110, 60});
    SCROLLINFO scroll = {sizeof(scroll), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 199, 100, 90};
    ::SetScrollInfo(list, SB_HORZ, &scroll, FALSE);
    SCROLLINFO read = {sizeof(read), SIF_ALL};
    ::GetScrollInfo(list, SB_HORZ, &read);
    if (read.nMax != 199 || read.nPage != 100)
        GTEST_SKIP() << "the list box keeps no scroll range of its own here";
    TestLayout layout(m_parent);
    tagLAYOUTINFO info;
    info.hWnd = list;
    ::GetClassNameW(list, info.className, MAX_PATH);
    // Last position 100: 90 + 11 goes past it, 90 + 10 does not; narrowing never.
    EXPECT_TRUE(layout.NeedsRefresh(info, RECT{0, 0, 100, 50}, RECT{0, 0, 111, 50}));
    EXPECT_FALSE(layout.NeedsRefresh(info, RECT{0, 0, 100, 50}, RECT{0, 0, 110, 50}));
    EXPECT_FALSE(layout.NeedsRefresh(info, RECT{0, 0, 100, 50}, RECT{0, 0, 90, 50}));
}

TEST_F(AnchorLayoutTest, AChildSpeakingTheProtocolDecidesItsOwnRefresh) {
    ASSERT_NE(0u, GetResizeSupportMessage());
    EXPECT_EQ(GetResizeSupportMessage(), ::RegisterWindowMessageW(L"WMU_RESIZESUPPORT"));
    for (BOOL answer : {TRUE, FALSE}) {
        SCOPED_TRACE(answer ? "answers refresh" : "answers no refresh");
        Resize(200, 100);
        HWND child = Child(kProtocolClass, 0, RECT{10, 10, 60, 40});
        TestLayout layout(m_parent);
        layout.AnchorChild(child, ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
        g_childRefreshAnswer = answer;
        Resize(230, 100);
        g_positionFlags.clear();
        layout.RepositionChildren();
        ASSERT_EQ(1u, g_positionFlags[child].size());
        EXPECT_EQ(answer != FALSE, (g_positionFlags[child][0] & SWP_NOCOPYBITS) != 0);
        ::DestroyWindow(child);
    }
}

TEST(AnchorConversion, FirstFittingRowWins) {
    using namespace LayoutLib;
    struct Row {
        int anchors;
        AnchorPoint topLeft;
        AnchorPoint bottomRight;
    } rows[] = {
        {AnchorHorzCenter | AnchorTop | AnchorBottom, {50, 0}, {50, 100}},
        {AnchorHorzCenter | AnchorTop, {50, 0}, {50, 0}},
        {AnchorHorzCenter | AnchorBottom, {50, 100}, {50, 100}},
        {AnchorHorzCenter | AnchorVertCenter, {50, 50}, {50, 50}},
        {AnchorHorzCenter | AnchorLeft, {0, 0}, {0, 0}},
        {AnchorVertCenter | AnchorLeft | AnchorRight, {0, 50}, {100, 50}},
        {AnchorVertCenter | AnchorLeft, {0, 50}, {0, 50}},
        {AnchorVertCenter | AnchorRight, {100, 50}, {100, 50}},
        {AnchorVertCenter | AnchorTop, {0, 0}, {0, 0}},
        {AnchorTop | AnchorLeft | AnchorRight | AnchorBottom, {0, 0}, {100, 100}},
        {AnchorTop | AnchorLeft | AnchorRight, {0, 0}, {100, 0}},
        {AnchorTop | AnchorLeft | AnchorBottom, {0, 0}, {0, 100}},
        {AnchorTop | AnchorLeft, {0, 0}, {0, 0}},
        {AnchorTop | AnchorRight | AnchorBottom, {100, 0}, {100, 100}},
        {AnchorTop | AnchorRight, {100, 0}, {100, 0}},
        {AnchorBottom | AnchorLeft | AnchorRight, {0, 100}, {100, 100}},
        {AnchorBottom | AnchorLeft, {0, 100}, {0, 100}},
        {AnchorBottom | AnchorRight, {100, 100}, {100, 100}},
        {AnchorLeft | AnchorRight, {0, 0}, {0, 0}},
        {0, {0, 0}, {0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("anchors " + std::to_string(row.anchors));
        AnchorPoint topLeft = {-1, -1};
        AnchorPoint bottomRight = {-1, -1};
        ASSERT_TRUE(CAnchorLayout::ConvertLayoutAnchors(row.anchors, topLeft, bottomRight));
        EXPECT_EQ(row.topLeft.x, topLeft.x);
        EXPECT_EQ(row.topLeft.y, topLeft.y);
        EXPECT_EQ(row.bottomRight.x, bottomRight.x);
        EXPECT_EQ(row.bottomRight.y, bottomRight.y);
    }
}

TEST(LayoutWindowKeeper, UsesTheHostsRectangleElseTheClientArea) {
    struct Host : LayoutWindowKeeper::ILayoutWindowKeeperHost {
        RECT rect = {};
        RECT GetLayoutRect() override { return rect; }
    } host;
    LayoutWindowKeeper keeper(&host, nullptr);
    EXPECT_EQ(nullptr, keeper.GetOwnerWindow());
    RECT none = keeper.GetLayoutRect();
    EXPECT_TRUE(::IsRectEmpty(&none));
    HWND owner = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 120, 80, nullptr, nullptr, nullptr, nullptr);
    keeper.SetOwnerWindow(owner);
    RECT client = keeper.GetLayoutRect();
    EXPECT_EQ(120, client.right);
    EXPECT_EQ(80, client.bottom);
    host.rect = RECT{5, 5, 50, 40};
    RECT hosts = keeper.GetLayoutRect();
    EXPECT_TRUE(::EqualRect(&host.rect, &hosts));
    EXPECT_EQ(&keeper.m_regions, &keeper.GetRegionSet());
    CommonGuiLib::AnchoredRegionSet other;
    keeper.SetReplacingRegionSet(&other);
    EXPECT_EQ(&other, &keeper.GetRegionSet());
    EXPECT_TRUE(keeper.AnchorChildByLayout(::CreateWindowExW(0, L"Button", L"", WS_CHILD, 0, 0, 5, 5, owner, nullptr,
                                                             nullptr, nullptr),
                                           LayoutLib::AnchorLeft | LayoutLib::AnchorTop));
    EXPECT_FALSE(keeper.AnchorChildByLayout(nullptr, LayoutLib::AnchorLeft));
    EXPECT_EQ(1, keeper.GetChildCount());
    ::DestroyWindow(owner);
}

}  // namespace
