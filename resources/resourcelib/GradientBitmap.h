#pragma once
// Pictures a skin draws instead of loading: a gradient painted into a new
// bitmap compatible with the screen.
#include "graphics/commongui/FillGradient.h"
#include "resources/resourcelib/ResourceType.h"

namespace ResourceLib {

// The description painted at (0, 0) of a new bitmap of its size, then made
// opaque (alpha 255) on a 32-bit screen. What the fill leaves unpainted keeps
// whatever a new bitmap holds. An empty pointer when no bitmap can be made.
SharedBitmap CreateGradientBitmap(const CommonGuiLib::FillDescription& description);

}  // namespace ResourceLib
