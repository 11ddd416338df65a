#include "skin/resizing/AnchorLayout.h"

#include "skin/layout/IElement.h"

namespace {

int Percent(int extent, int percent) {
    // Integer division truncates toward zero, as the margins expect.
    return extent * percent / 100;
}

bool Has(int anchors, int wanted) { return (anchors & wanted) == wanted; }

struct ConversionRow {
    int required;
    AnchorPoint topLeft;
    AnchorPoint bottomRight;
};

using namespace LayoutLib;

// Tried from the top; the first row whose anchors are all present wins.
const ConversionRow kConversion[] = {
    {AnchorHorzCenter | AnchorTop | AnchorBottom, ANCHOR_TOP, ANCHOR_BOTTOM},
    {AnchorHorzCenter | AnchorTop, ANCHOR_TOP, ANCHOR_TOP},
    {AnchorHorzCenter | AnchorBottom, ANCHOR_BOTTOM, ANCHOR_BOTTOM},
    {AnchorHorzCenter | AnchorVertCenter, ANCHOR_CENTER, ANCHOR_CENTER},
    {AnchorHorzCenter, ANCHOR_TOPLEFT, ANCHOR_TOPLEFT},
    {AnchorVertCenter | AnchorLeft | AnchorRight, ANCHOR_LEFT, ANCHOR_RIGHT},
    {AnchorVertCenter | AnchorLeft, ANCHOR_LEFT, ANCHOR_LEFT},
    {AnchorVertCenter | AnchorRight, ANCHOR_RIGHT, ANCHOR_RIGHT},
    {AnchorVertCenter, ANCHOR_TOPLEFT, ANCHOR_TOPLEFT},
    {AnchorTop | AnchorLeft | AnchorRight | AnchorBottom, ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT},
    {AnchorTop | AnchorLeft | AnchorRight, ANCHOR_TOPLEFT, ANCHOR_TOPRIGHT},
    {AnchorTop | AnchorLeft | AnchorBottom, ANCHOR_TOPLEFT, ANCHOR_BOTTOMLEFT},
    {AnchorTop | AnchorLeft, ANCHOR_TOPLEFT, ANCHOR_TOPLEFT},
    {AnchorTop | AnchorRight | AnchorBottom, ANCHOR_TOPRIGHT, ANCHOR_BOTTOMRIGHT},
    {AnchorTop | AnchorRight, ANCHOR_TOPRIGHT, ANCHOR_TOPRIGHT},
    {AnchorBottom | AnchorLeft | AnchorRight, ANCHOR_BOTTOMLEFT, ANCHOR_BOTTOMRIGHT},
    {AnchorBottom | AnchorLeft, ANCHOR_BOTTOMLEFT, ANCHOR_BOTTOMLEFT},
    {AnchorBottom | AnchorRight, ANCHOR_BOTTOMRIGHT, ANCHOR_BOTTOMRIGHT},
};

// Static types (style & SS_TYPEMASK) whose picture depends on the width
// (text), or on every change (pictures and frames).
bool StaticNeedsRefresh(DWORD style, int dx, int dy) {
    const DWORD type = style & SS_TYPEMASK;
    bool refresh = false;
    switch (type) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
        refresh = dx != 0;
        break;
    case SS_ICON:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
    case SS_BLACKFRAME:
    case SS_BITMAP:
    case SS_ENHMETAFILE:
    case SS_ETCHEDFRAME:
        return true;
    case SS_LEFTNOWORDWRAP:
        refresh = (style & SS_ELLIPSISMASK) != 0 && dx != 0;
        break;
    default:
        return false;
    }
    if (!refresh && (style & SS_CENTERIMAGE) && dy != 0)
        refresh = true;
    return refresh;
}

bool ListBoxNeedsRefresh(HWND listBox, int dx) {
    if (dx <= 0)
        return false;
    SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS};
    if (!::GetScrollInfo(listBox, SB_HORZ, &info))
        return false;
    const int lastPosition = info.nMax + 1 - static_cast<int>(info.nPage);
    return lastPosition > 0 && info.nPos + dx > lastPosition;
}

}  // namespace

CAnchorLayout::CAnchorLayout() : m_map(10), m_children(10), m_otherChildren(10) { m_map.InitHashTable(17); }

CAnchorLayout::~CAnchorLayout() = default;

bool CAnchorLayout::ConvertLayoutAnchors(int layoutAnchors, AnchorPoint& topLeft, AnchorPoint& bottomRight) {
    for (const ConversionRow& row : kConversion) {
        if (Has(layoutAnchors, row.required)) {
            topLeft = row.topLeft;
            bottomRight = row.bottomRight;
            return true;
        }
    }
    topLeft = ANCHOR_TOPLEFT;
    bottomRight = ANCHOR_TOPLEFT;
    return true;
}

bool CAnchorLayout::AnchorChildByLayout(HWND child, int layoutAnchors) {
    AnchorPoint topLeft = {};
    AnchorPoint bottomRight = {};
    if (!ConvertLayoutAnchors(layoutAnchors, topLeft, bottomRight) || !::IsWindow(child))
        return false;
    AnchorChild(child, topLeft, bottomRight);
    return true;
}

void CAnchorLayout::AnchorChild(HWND child, AnchorPoint topLeft, AnchorPoint bottomRight) {
    RECT area = {};
    GetLayoutArea(area);
    RECT rect = {};
    ::GetWindowRect(child, &rect);
    CWnd* owner = GetLayoutOwner();
    ::MapWindowPoints(nullptr, owner ? owner->GetSafeHwnd() : nullptr, reinterpret_cast<POINT*>(&rect), 2);
    ::OffsetRect(&rect, -area.left, -area.top);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;

    tagLAYOUTINFO info;
    info.hWnd = child;
    info.topLeftAnchor = topLeft;
    info.bottomRightAnchor = bottomRight;
    info.topLeftMargin = SIZE{rect.left - Percent(width, topLeft.x), rect.top - Percent(height, topLeft.y)};
    info.bottomRightMargin =
        SIZE{rect.right - Percent(width, bottomRight.x), rect.bottom - Percent(height, bottomRight.y)};
    ::GetClassNameW(child, info.className, MAX_PATH);
    QueryChildProperties(info);

    POSITION position = m_children.AddTail(info);
    m_map.SetAt(child, position);
}

void CAnchorLayout::ClearLayout() {
    m_map.RemoveAll();
    m_children.RemoveAll();
    m_otherChildren.RemoveAll();
}

void CAnchorLayout::QueryChildProperties(tagLAYOUTINFO& info) {
    if (::SendMessageW(info.hWnd, GetResizeSupportMessage(), RESIZESUPPORT_QUERYPROPERTIES,
                       reinterpret_cast<LPARAM>(&info.properties))) {
        info.messageSupport = true;
        return;
    }
    info.messageSupport = false;
    info.properties.askClipping = FALSE;
    info.properties.cachedClipping = LikesClipping(info);
    info.properties.askRefresh = TRUE;
}

// Kept only in the record: nothing in this system clips children by it.
BOOL CAnchorLayout::LikesClipping(const tagLAYOUTINFO&) { return FALSE; }

BOOL CAnchorLayout::NeedsRefresh(const tagLAYOUTINFO& info, const RECT& oldRect, const RECT& newRect) {
    if (info.messageSupport) {
        ResizeRefreshQuery query = {TRUE, oldRect, newRect};
        if (::SendMessageW(info.hWnd, GetResizeSupportMessage(), RESIZESUPPORT_NEEDREFRESH,
                           reinterpret_cast<LPARAM>(&query)))
            return query.answer;
    }
    const int dx = (newRect.right - newRect.left) - (oldRect.right - oldRect.left);
    const int dy = (newRect.bottom - newRect.top) - (oldRect.bottom - oldRect.top);
    if (dx == 0 && dy == 0)
        return FALSE;
    if (::lstrcmpiW(info.className, L"Static") == 0)
        return StaticNeedsRefresh(static_cast<DWORD>(::GetWindowLongW(info.hWnd, GWL_STYLE)), dx, dy);
    if (::lstrcmpiW(info.className, L"ListBox") == 0)
        return ListBoxNeedsRefresh(info.hWnd, dx);
    return FALSE;
}

void CAnchorLayout::GetLayoutArea(RECT& area) {
    area = RECT{};
    CWnd* owner = GetLayoutOwner();
    if (owner && owner->GetSafeHwnd())
        ::GetClientRect(owner->GetSafeHwnd(), &area);
}

BOOL CAnchorLayout::ArrangeOtherChild(tagLAYOUTINFO&) { return FALSE; }

UINT CAnchorLayout::ComputeChildPosition(tagLAYOUTINFO& info, const RECT& area, RECT& newRect) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    newRect.left = Percent(width, info.topLeftAnchor.x) + info.topLeftMargin.cx + area.left;
    newRect.top = Percent(height, info.topLeftAnchor.y) + info.topLeftMargin.cy + area.top;
    newRect.right = Percent(width, info.bottomRightAnchor.x) + info.bottomRightMargin.cx + area.left;
    newRect.bottom = Percent(height, info.bottomRightAnchor.y) + info.bottomRightMargin.cy + area.top;

    RECT oldRect = {};
    ::GetWindowRect(info.hWnd, &oldRect);
    CWnd* owner = GetLayoutOwner();
    ::MapWindowPoints(nullptr, owner ? owner->GetSafeHwnd() : nullptr, reinterpret_cast<POINT*>(&oldRect), 2);

    const BOOL refresh =
        info.properties.askRefresh ? NeedsRefresh(info, oldRect, newRect) : info.properties.cachedRefresh;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    if (refresh)
        flags |= SWP_NOCOPYBITS;
    if (newRect.left == oldRect.left && newRect.top == oldRect.top)
        flags |= SWP_NOMOVE;
    if (newRect.right - newRect.left == oldRect.right - oldRect.left &&
        newRect.bottom - newRect.top == oldRect.bottom - oldRect.top)
        flags |= SWP_NOSIZE;
    return flags;
}

void CAnchorLayout::_DeferChild(HDWP& batch, tagLAYOUTINFO& info, const RECT& area) {
    RECT newRect = {};
    const UINT flags = ComputeChildPosition(info, area, newRect);
    if ((flags & SWP_NOMOVE) && (flags & SWP_NOSIZE))
        return;
    if (batch)
        batch = ::DeferWindowPos(batch, info.hWnd, nullptr, newRect.left, newRect.top, newRect.right - newRect.left,
                                 newRect.bottom - newRect.top, flags);
}

void CAnchorLayout::RepositionChildren() {
    const INT_PTR count = m_children.GetCount() + m_otherChildren.GetCount();
    if (count == 0)
        return;
    RECT area = {};
    GetLayoutArea(area);
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(count));
    for (POSITION position = m_children.GetHeadPosition(); position;)
        _DeferChild(batch, m_children.GetNext(position), area);
    for (POSITION position = m_otherChildren.GetHeadPosition(); position;) {
        tagLAYOUTINFO& info = m_otherChildren.GetNext(position);
        if (ArrangeOtherChild(info))
            _DeferChild(batch, info, area);
    }
    if (batch)
        ::EndDeferWindowPos(batch);
}
