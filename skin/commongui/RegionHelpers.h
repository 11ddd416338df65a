#pragma once
// Regions for window shapes and element areas: from the opaque pixels of a
// bitmap, a moved copy and a transformed copy.
#include "graphics/commongui/SharedGDIObject.h"

#include <windows.h>

namespace CommonGuiLib {

// The region of a bitmap's opaque pixels. Three failures are kept apart:
// - an empty pointer: use-alpha with a tolerance outside 0..255, or on a
//   bitmap not of 32 bits per pixel;
// - a null region: a null bitmap, or no opaque pixel at all;
// - an empty region (0, 0, 0, 0): a depth other than 24 or 32 bits.
// A pixel is opaque when, with `useAlpha`, its alpha is above `tolerance`,
// else when its colour differs from `transparent`.
SharedRegion CreateRegionFromBitmap(const SharedBitmap& bitmap, COLORREF transparent, bool useAlpha,
                                    int tolerance);

// A new region moved by (dx, dy); a null source gives a null region.
SharedRegion OffsetRegionCopy(const SharedRegion& region, int dx, int dy);

// A new region made from the source's data through the transform; an empty
// pointer when the source is null or has no data.
SharedRegion TransformRegion(const SharedRegion& region, const XFORM& transform);

}  // namespace CommonGuiLib
