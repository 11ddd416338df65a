#pragma once
// The outline of a skinned window or element as a region, built from the
// layout's shape kind and values: rectangular, rounded, elliptic or cut
// from a mask picture. A Custom shape has no region.
//
// GUI thread only.
#include "graphics/commongui/SharedGDIObject.h"
#include "skin/layout/CustomValues.h"

#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

namespace ResourceLib {
class IManager;
}  // namespace ResourceLib

namespace WindowShape {

// Mask regions by picture, alpha use and target size: a mask is read and
// scanned once, not again at every resize.
class MaskRegionCache {
public:
    typedef std::tuple<std::wstring, bool, int, int, int> Key;
    CommonGuiLib::SharedRegion* Find(const Key& key);
    void Store(const Key& key, const CommonGuiLib::SharedRegion& region) { m_regions[key] = region; }

private:
    std::map<Key, CommonGuiLib::SharedRegion> m_regions;
};

// Where a Masked shape finds its picture. Without a resource manager a
// Masked shape has no region.
struct MaskSources {
    boost::shared_ptr<ResourceLib::IManager> resourceManager;
    std::wstring baseFolder;  // "maskPath" is relative to it
    MaskRegionCache* cache = nullptr;
};

// The region of the shape for the target rectangle, built at (0, 0) with
// the target's size and then moved by "offsetX"/"offsetY" (never for
// Custom). Empty when no region applies. The region is a fresh one the
// caller may hand on.
CommonGuiLib::SharedRegion BuildShapeRegion(int shapeType, const LayoutLib::CustomValues& values, const RECT& target,
                                            const MaskSources& sources);

// The layout's anchor bits in the anchored region set's encoding.
UINT ToRegionSetAnchors(int layoutAnchors);

// Gives the window a copy of the region: the window owns and deletes it,
// while the holder keeps and deletes its own. False when the window
// refused it or the copy failed.
bool SetWindowRegionCopy(HWND window, const CommonGuiLib::SharedRegion& region, bool redraw);

}  // namespace WindowShape
