#pragma once
// The look of a progress element ("WLProgress"): its background, its bar
// and its text for one drawing, read from the visual state that the
// caller's "state" value names.
#include "skin/commongui/ControlLook.h"
#include "skin/layout/CustomValues.h"
#include "skin/layout/IElement.h"
#include "skin/renderer/LayoutRenderer.h"

#include <boost/shared_ptr.hpp>

namespace ResourceLib {
class IManager;
}  // namespace ResourceLib

namespace LayoutRenderer {

// Fills `look` from the visual state named by the caller's "state" (default
// "default"), each key taken from the caller's values first, then from the
// state's own. Bitmaps, font and colour are fetched from `resources` when it
// is given. False, and `look` untouched, when the element has no visual or
// no state of that name.
bool ReadProgressLook(const LayoutLib::IElement& element, const LayoutLib::CustomValues& callerValues,
                      ResourceLib::IManager* resources, CommonGuiLib::ControlLook& look);

// The background over the whole rectangle, then the bar over its filled
// part, then the text; a layout picture stands in for a missing bitmap.
void DrawProgressLook(RenderContext& context, Canvas& canvas, const RECT& rect,
                      const boost::shared_ptr<LayoutLib::IElement>& element,
                      const LayoutLib::CustomValues& callerValues);

}  // namespace LayoutRenderer
