#include "afxwin.h"

#include "MfcTestResources.h"
#include "MfcTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace MfcTests;

namespace {

// A memory DC with a bitmap of its own, released at the end of the test.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height) {
        screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        previous = SelectObject(dc, bitmap);
    }
    ~MemoryCanvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    HDC screen, dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

TEST(CDC, DetachLeavesAForeignDcAlive) {
    MemoryCanvas canvas(10, 10);
    {
        CDC dc;
        ASSERT_TRUE(dc.Attach(canvas.dc));
        EXPECT_EQ(dc.m_hDC, canvas.dc);
        EXPECT_EQ(dc.m_hAttribDC, canvas.dc);
        EXPECT_EQ(dc.Detach(), canvas.dc);
        EXPECT_EQ(dc.m_hDC, nullptr);
    }
    EXPECT_EQ(GetObjectType(canvas.dc), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_NE(SetPixel(canvas.dc, 1, 1, RGB(1, 2, 3)), static_cast<COLORREF>(-1));

    // An attached DC that is not detached belongs to its wrapper.
    HDC owned = CreateCompatibleDC(canvas.screen);
    {
        CDC dc;
        dc.Attach(owned);
    }
    EXPECT_EQ(GetObjectType(owned), 0u);
}

TEST(CDC, DrawsFillsAndReadsBack) {
    CDC dc;
    CDC* screen = CDC::FromHandle(GetDC(nullptr));
    ASSERT_TRUE(dc.CreateCompatibleDC(screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 40, 30));
    CBitmap* old = dc.SelectObject(&bitmap);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(dc.GetCurrentBitmap()->m_hObject, bitmap.m_hObject);

    dc.FillSolidRect(0, 0, 40, 30, RGB(255, 255, 255));
    dc.FillSolidRect(CRect(10, 10, 20, 20), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(15, 15), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(25, 15), RGB(255, 255, 255));

    dc.Draw3dRect(CRect(0, 0, 10, 10), RGB(0, 0, 255), RGB(0, 255, 0));
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(0, 0, 255));   // top-left edges
    EXPECT_EQ(dc.GetPixel(9, 9), RGB(0, 255, 0));   // bottom-right edges
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(255, 255, 255));

    CBrush brush(RGB(0, 0, 0));
    dc.FillRect(CRect(30, 0, 40, 5), &brush);
    EXPECT_EQ(dc.GetPixel(35, 2), RGB(0, 0, 0));

    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    dc.SetTextColor(RGB(1, 2, 3));
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
    CSize extent = dc.GetTextExtent(CString(L"Wide text"));
    EXPECT_GT(extent.cx, 0);
    EXPECT_GT(extent.cy, 0);

    dc.SelectObject(old);
    ReleaseDC(nullptr, screen->Detach());
}

TEST(CDC, MappingAndOriginsTranslateCoordinates) {
    MemoryCanvas canvas(10, 10);
    CDC dc;
    dc.Attach(canvas.dc);
    EXPECT_EQ(dc.SetWindowOrg(100, 50), CPoint(0, 0));
    CRect rect(100, 50, 110, 60);
    dc.LPtoDP(&rect);
    EXPECT_EQ(rect, CRect(0, 0, 10, 10));
    dc.DPtoLP(&rect);
    EXPECT_EQ(rect, CRect(100, 50, 110, 60));
    EXPECT_EQ(dc.GetWindowOrg(), CPoint(100, 50));
    EXPECT_EQ(dc.SetMapMode(MM_ANISOTROPIC), MM_TEXT);
    dc.SetWindowExt(2, 2);
    dc.SetViewportExt(4, 4);
    EXPECT_EQ(dc.GetWindowExt(), CSize(2, 2));
    EXPECT_EQ(dc.GetViewportExt(), CSize(4, 4));
    EXPECT_EQ(dc.SetViewportOrg(3, 4), CPoint(0, 0));
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(3, 4));
    dc.Detach();
}

TEST(CDC, ClippingAndClipBox) {
    MemoryCanvas canvas(50, 50);
    CDC dc;
    dc.Attach(canvas.dc);
    CRect box;
    EXPECT_NE(dc.GetClipBox(&box), ERROR);
    EXPECT_EQ(box, CRect(0, 0, 50, 50));
    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(10, 10, 20, 30));
    dc.SelectClipRgn(&region);
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(10, 10, 20, 30));
    dc.SelectClipRgn(nullptr);
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 50, 50));
    dc.Detach();
}

TEST(GdiObjects, WrappersFreeTheirHandlesWithNoGrowth) {
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    std::vector<HGDIOBJ> freed;
    for (int i = 0; i < 1000; ++i) {
        CPen pen(PS_SOLID, 1, RGB(i % 256, 0, 0));
        CBrush brush(RGB(0, i % 256, 0));
        CFont font;
        ASSERT_TRUE(font.CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial"));
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBitmap(4, 4, 1, 1, nullptr));
        CRgn region;
        ASSERT_TRUE(region.CreateEllipticRgn(0, 0, 10, 10));
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        if (i % 100 == 0) {
            freed.insert(freed.end(), {pen.m_hObject, brush.m_hObject, font.m_hObject, bitmap.m_hObject,
                                       region.m_hObject, dc.m_hDC});
        }
    }
    for (HGDIOBJ handle : freed)
        EXPECT_EQ(GetObjectType(handle), 0u) << handle;
    const DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_LE(after, before + 10);  // where the system counts (0 = 0 where it does not)
}

TEST(GdiObjects, DetachedHandlesStayAliveAndCreateReplacesTheHeldOne) {
    HGDIOBJ kept = nullptr;
    {
        CBrush brush(RGB(1, 2, 3));
        kept = brush.Detach();
    }
    EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
    DeleteObject(kept);

    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(0, 0, 1, 1));
    HGDIOBJ first = region.m_hObject;
    ASSERT_TRUE(region.CreateRectRgn(0, 0, 2, 2));
    EXPECT_EQ(GetObjectType(first), 0u);  // no leak when a wrapper is made again

    CBitmap bitmap;
    EXPECT_FALSE(bitmap.CreateBitmap(200000, 200000, 1, 32, nullptr));  // far beyond memory
    EXPECT_EQ(bitmap.m_hObject, nullptr);
}

TEST(GdiObjects, BitmapsLoadFromTheResourcesAndBlit) {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(IDB_SMALL));
    BITMAP info = {};
    ASSERT_GT(bitmap.GetBitmap(&info), 0);
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 3);
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(4711));

    MemoryCanvas canvas(8, 8);
    CDC target, source;
    target.Attach(canvas.dc);
    ASSERT_TRUE(source.CreateCompatibleDC(&target));
    CBitmap* previous = source.SelectObject(&bitmap);
    target.FillSolidRect(0, 0, 8, 8, RGB(0, 0, 0));
    ASSERT_TRUE(target.BitBlt(2, 2, 4, 3, &source, 0, 0, SRCCOPY));
    EXPECT_EQ(target.GetPixel(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(target.GetPixel(3, 2), RGB(255, 255, 255));
    EXPECT_EQ(target.GetPixel(1, 1), RGB(0, 0, 0));
    ASSERT_TRUE(target.TransparentBlt(0, 0, 4, 3, &source, 0, 0, 4, 3, RGB(255, 255, 255)));
    EXPECT_EQ(target.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(target.GetPixel(1, 0), RGB(0, 0, 0));  // white left the target as it was
    source.SelectObject(previous);
    target.Detach();
}

TEST(GdiObjects, RegionsCombineOffsetAndHitTest) {
    CRgn a, b, both;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 20, 20));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(both.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 20, 20));
    EXPECT_TRUE(both.PtInRegion(15, 15));
    EXPECT_FALSE(both.PtInRegion(15, 2));
    both.OffsetRgn(-3, 0);
    both.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(-3, 0, 17, 20));
    CRgn copy;
    ASSERT_TRUE(copy.CreateRectRgn(0, 0, 0, 0));
    copy.CopyRgn(&both);
    EXPECT_TRUE(copy.EqualRgn(&both));
}

TEST(GdiObjects, FontAndPenDescriptionsReadBack) {
    LOGFONTW description = {};
    description.lfHeight = -16;
    description.lfWeight = FW_BOLD;
    wcscpy(description.lfFaceName, L"Arial");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&description));
    LOGFONTW read = {};
    ASSERT_GT(font.GetLogFont(&read), 0);
    EXPECT_EQ(read.lfHeight, -16);
    EXPECT_EQ(read.lfWeight, FW_BOLD);
    EXPECT_STREQ(read.lfFaceName, L"Arial");

    CPen pen(PS_DASH, 1, RGB(4, 5, 6));
    LOGPEN pen_description = {};
    ASSERT_GT(pen.GetLogPen(&pen_description), 0);
    EXPECT_EQ(pen_description.lopnColor, RGB(4, 5, 6));
}

// Paints the whole client area in one colour with a CPaintDC.
class CPaintedWindow : public CWnd {
public:
    int paints = 0;

protected:
    afx_msg void OnPaint() {
        ++paints;
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(0, 0, 200));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintedWindow, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(CPaintDC, PaintsTheUpdateRegionAndValidatesIt) {
    CPaintedWindow window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, Area(20, 20, 60, 40), nullptr, 0));
    window.ShowWindow(SW_SHOWNOACTIVATE);
    window.Invalidate();
    window.UpdateWindow();
    EXPECT_GE(window.paints, 1);
    EXPECT_FALSE(GetUpdateRect(window.m_hWnd, nullptr, FALSE));

    CClientDC client(&window);
    EXPECT_EQ(client.GetPixel(5, 5), RGB(0, 0, 200));
    CWindowDC whole(&window);
    EXPECT_NE(whole.m_hDC, nullptr);
}

}  // namespace
