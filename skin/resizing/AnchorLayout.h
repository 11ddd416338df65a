#pragma once
// Keeps the child windows of a resizable window in place: each child's
// top-left and bottom-right corners are tied to points of the parent's
// layout area (in percent of its width and height) plus fixed margins, and
// all children move in one deferred batch when the parent is resized.
//
// GUI thread only.
#include "skin/resizing/ResizeSupport.h"

#include <afxtempl.h>
#include <afxwin.h>

// A point of the layout area in percent of its width and height.
struct AnchorPoint {
    int x;
    int y;
};

const AnchorPoint ANCHOR_TOPLEFT = {0, 0};
const AnchorPoint ANCHOR_TOP = {50, 0};
const AnchorPoint ANCHOR_TOPRIGHT = {100, 0};
const AnchorPoint ANCHOR_LEFT = {0, 50};
const AnchorPoint ANCHOR_CENTER = {50, 50};
const AnchorPoint ANCHOR_RIGHT = {100, 50};
const AnchorPoint ANCHOR_BOTTOMLEFT = {0, 100};
const AnchorPoint ANCHOR_BOTTOM = {50, 100};
const AnchorPoint ANCHOR_BOTTOMRIGHT = {100, 100};

struct tagLAYOUTINFO {
    HWND hWnd = nullptr;
    UINT reserved = 0;
    wchar_t className[MAX_PATH] = {};
    AnchorPoint topLeftAnchor = {};
    SIZE topLeftMargin = {};
    AnchorPoint bottomRightAnchor = {};
    SIZE bottomRightMargin = {};
    bool messageSupport = false;
    ResizeProperties properties = {TRUE, TRUE, FALSE, FALSE};
};

class CAnchorLayout {
public:
    CAnchorLayout();
    CAnchorLayout(const CAnchorLayout&) = delete;
    CAnchorLayout& operator=(const CAnchorLayout&) = delete;

    // Records where the child lies now against the two anchor points.
    void AnchorChild(HWND child, AnchorPoint topLeft, AnchorPoint bottomRight);
    // Anchors by the layout's element anchors (LayoutLib::AnchorFlags); false
    // when the child is no window.
    bool AnchorChildByLayout(HWND child, int layoutAnchors);
    // Moves every child for the current layout area in one deferred batch.
    void RepositionChildren();
    void ClearLayout();

    // The anchor points for the layout's element anchors; the first fitting
    // row of the conversion table wins, and every combination has one.
    static bool ConvertLayoutAnchors(int layoutAnchors, AnchorPoint& topLeft, AnchorPoint& bottomRight);

    // The flags SetWindowPos would get and the new rectangle, in the owner's
    // client coordinates.
    UINT ComputeChildPosition(tagLAYOUTINFO& info, const RECT& area, RECT& newRect);

    INT_PTR GetChildCount() const { return m_children.GetCount(); }

protected:
    virtual void QueryChildProperties(tagLAYOUTINFO& info);
    virtual BOOL LikesClipping(const tagLAYOUTINFO& info);
    virtual BOOL NeedsRefresh(const tagLAYOUTINFO& info, const RECT& oldRect, const RECT& newRect);
    virtual void GetLayoutArea(RECT& area);
    // Children of the second list move only when this agrees.
    virtual BOOL ArrangeOtherChild(tagLAYOUTINFO& info);
    virtual CWnd* GetLayoutOwner() = 0;

public:
    virtual ~CAnchorLayout();

private:
    void _DeferChild(HDWP& batch, tagLAYOUTINFO& info, const RECT& area);

    CMap<HWND, HWND, POSITION, POSITION> m_map;
    CList<tagLAYOUTINFO> m_children;
    CList<tagLAYOUTINFO> m_otherChildren;
};
