#pragma once
// The element regions of a skinned window by index (0..255): each given once
// at its design position and the window size of that moment, and laid out
// again, by its anchors, whenever the window size changes. Maps mouse points
// back to element indices.
//
// GUI thread only.
#include "graphics/commongui/SharedGDIObject.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace CommonGuiLib {

class AnchoredRegionSet {
public:
    // The set's own anchor encoding; the layout's anchors differ and callers
    // convert.
    enum AnchorFlags : UINT {
        AnchorTop = 1,
        AnchorBottom = 2,         // with Top: stretches
        AnchorLeft = 4,
        AnchorRight = 8,          // with Left: stretches
        AnchorVertCenter = 16,    // moves by half the height change
        AnchorHorzCenter = 32,    // moves by half the width change
    };
    static const int kSlotCount = 256;

    struct ItemInfo {
        int index = -1;
        SharedRegion region;
        RECT box = {};
    };

    AnchoredRegionSet();
    ~AnchoredRegionSet();
    AnchoredRegionSet(const AnchoredRegionSet&) = delete;
    AnchoredRegionSet& operator=(const AnchoredRegionSet&) = delete;

    // False, with nothing changed, for an index outside 0..255 or anchors 0.
    // An existing item is overwritten; its reference size becomes the
    // current layout size.
    bool AddRegion(int index, const SharedRegion& region, POINT position, UINT anchors, UINT extra);
    // A rectangle (0, 0, width, height) placed at the rectangle's top-left.
    bool AddRect(int index, const RECT& rect, UINT anchors, UINT extra);
    // False for an index outside 0..255.
    bool Remove(int index);

    // Highest used index + 1.
    int GetCount() const noexcept { return m_highestIndex + 1; }
    // The highest index whose region holds the point, skipping `skip`; -1 when none.
    int HitTest(POINT point, const std::vector<int>* skip = nullptr) const;
    bool Contains(int index, POINT point) const;
    // The item's current region; empty for a missing index.
    SharedRegion GetRegion(int index) const;
    // Bounding box of the current region; empty when there is none.
    RECT GetItemBox(int index) const;
    bool GetItemInfo(int index, ItemInfo& info) const;
    UINT GetAnchors(int index) const;
    UINT GetExtra(int index) const;

    SIZE GetLayoutSize() const noexcept { return m_layoutSize; }
    // Stores the size and lays every item out for it.
    void Layout(int width, int height);
    void Layout(SIZE size) { Layout(size.cx, size.cy); }

private:
    struct Item {
        SIZE referenceSize = {};
        SharedRegion designRegion;
        POINT position = {};
        UINT anchors = AnchorLeft | AnchorTop;
        SharedRegion currentRegion;
        UINT extra = 0;
    };

    const Item* _Find(int index) const;
    void _LayoutItem(Item& item) const;

    std::vector<std::unique_ptr<Item>> m_items;
    int m_highestIndex = -1;
    SIZE m_layoutSize = {};
};

}  // namespace CommonGuiLib
