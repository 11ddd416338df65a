#include "skin/commongui/AnchoredRegionSet.h"

#include "skin/commongui/RegionHelpers.h"

#include <algorithm>

namespace CommonGuiLib {

namespace {

bool IsSlot(int index) { return index >= 0 && index < AnchoredRegionSet::kSlotCount; }

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

}  // namespace

AnchoredRegionSet::AnchoredRegionSet() : m_items(kSlotCount) {}

AnchoredRegionSet::~AnchoredRegionSet() {
    m_items.clear();
    m_highestIndex = -1;
}

bool AnchoredRegionSet::AddRegion(int index, const SharedRegion& region, POINT position, UINT anchors, UINT extra) {
    if (!IsSlot(index) || anchors == 0)
        return false;
    std::unique_ptr<Item>& item = m_items[index];
    if (!item)
        item.reset(new Item);
    item->referenceSize = m_layoutSize;
    item->designRegion = region;
    item->currentRegion = OffsetRegionCopy(region, position.x, position.y);
    item->position = position;
    item->anchors = anchors;
    item->extra = extra;
    m_highestIndex = std::max(m_highestIndex, index);
    return true;
}

bool AnchoredRegionSet::AddRect(int index, const RECT& rect, UINT anchors, UINT extra) {
    if (!IsSlot(index) || anchors == 0)
        return false;
    SharedRegion region = MakeSharedGDIObject<SharedGDIObjectRegion>(::CreateRectRgn(0, 0, Width(rect), Height(rect)));
    return AddRegion(index, region, POINT{rect.left, rect.top}, anchors, extra);
}

bool AnchoredRegionSet::Remove(int index) {
    if (!IsSlot(index))
        return false;
    m_items[index].reset();
    if (index == m_highestIndex) {
        --m_highestIndex;
        while (m_highestIndex >= 0 && !m_items[m_highestIndex])
            --m_highestIndex;
    }
    return true;
}

const AnchoredRegionSet::Item* AnchoredRegionSet::_Find(int index) const {
    return IsSlot(index) ? m_items[index].get() : nullptr;
}

int AnchoredRegionSet::HitTest(POINT point, const std::vector<int>* skip) const {
    for (int index = m_highestIndex; index >= 0; --index) {
        if (skip && std::find(skip->begin(), skip->end(), index) != skip->end())
            continue;
        if (Contains(index, point))
            return index;
    }
    return -1;
}

bool AnchoredRegionSet::Contains(int index, POINT point) const {
    const Item* item = _Find(index);
    return item && !IsNullGDIObject(item->currentRegion) &&
           ::PtInRegion(item->currentRegion->GetHandle(), point.x, point.y);
}

SharedRegion AnchoredRegionSet::GetRegion(int index) const {
    const Item* item = _Find(index);
    return item ? item->currentRegion : SharedRegion();
}

RECT AnchoredRegionSet::GetItemBox(int index) const {
    RECT box = {};
    const Item* item = _Find(index);
    if (item && !IsNullGDIObject(item->currentRegion) &&
        ::GetRgnBox(item->currentRegion->GetHandle(), &box) == ERROR)
        box = RECT{};
    return box;
}

bool AnchoredRegionSet::GetItemInfo(int index, ItemInfo& info) const {
    info.index = index;
    info.region = GetRegion(index);
    info.box = GetItemBox(index);
    return _Find(index) != nullptr;
}

UINT AnchoredRegionSet::GetAnchors(int index) const {
    const Item* item = _Find(index);
    return item ? item->anchors : 0;
}

UINT AnchoredRegionSet::GetExtra(int index) const {
    const Item* item = _Find(index);
    return item ? item->extra : 0;
}

void AnchoredRegionSet::Layout(int width, int height) {
    m_layoutSize = SIZE{width, height};
    for (int index = 0; index <= m_highestIndex; ++index)
        if (m_items[index])
            _LayoutItem(*m_items[index]);
}

void AnchoredRegionSet::_LayoutItem(Item& item) const {
    if (IsNullGDIObject(item.designRegion))
        return;
    RECT box = {};
    const int kind = ::GetRgnBox(item.designRegion->GetHandle(), &box);
    if (kind == ERROR || kind == NULLREGION)
        return;

    const int dx = m_layoutSize.cx - item.referenceSize.cx;
    const int dy = m_layoutSize.cy - item.referenceSize.cy;
    // Halves truncate toward zero.
    int offsetX = (item.anchors & AnchorLeft) ? 0 : dx;
    if (item.anchors & AnchorHorzCenter)
        offsetX = dx / 2;
    int offsetY = (item.anchors & AnchorTop) ? 0 : dy;
    if (item.anchors & AnchorVertCenter)
        offsetY = dy / 2;

    RECT placed = box;
    ::OffsetRect(&placed, offsetX, offsetY);
    if ((item.anchors & AnchorLeft) && (item.anchors & AnchorRight))
        placed.right += dx;
    if ((item.anchors & AnchorTop) && (item.anchors & AnchorBottom))
        placed.bottom += dy;

    // A stretching item the window shrank past its own width (or height) has
    // no area left; scaling by a negative factor would mirror it instead.
    if (Width(placed) <= 0 || Height(placed) <= 0) {
        item.currentRegion = MakeSharedGDIObject<SharedGDIObjectRegion>(::CreateRectRgn(0, 0, 0, 0));
        return;
    }
    SharedRegion current = OffsetRegionCopy(item.designRegion, 0, 0);
    if (Width(placed) != Width(box) || Height(placed) != Height(box)) {
        const float scaleX = Width(box) ? static_cast<float>(Width(placed)) / Width(box) : 1.0f;
        const float scaleY = Height(box) ? static_cast<float>(Height(placed)) / Height(box) : 1.0f;
        // Scaled about the box's own corner, so a design region that does not
        // start at (0, 0) keeps its place while it stretches.
        const XFORM transform = {scaleX, 0.0f, 0.0f, scaleY, box.left * (1.0f - scaleX), box.top * (1.0f - scaleY)};
        SharedRegion scaled = TransformRegion(current, transform);
        if (scaled)
            current = scaled;
    }
    const int moveX = item.position.x + placed.left - box.left;
    const int moveY = item.position.y + placed.top - box.top;
    if (!IsNullGDIObject(current) && (moveX || moveY))
        ::OffsetRgn(current->GetHandle(), moveX, moveY);
    item.currentRegion = current;
}

}  // namespace CommonGuiLib
