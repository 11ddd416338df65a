#pragma once
// Drawing a skinned control's look: the background, the filled part of its
// progress and its text.
#include "skin/commongui/ControlLook.h"
#include "skin/commongui/DrawingHelpers.h"

#include <windows.h>

namespace CommonGuiLib {

// The part of `rect` that the look's progress fills, from the left edge:
// the width times the progress, rounded down to whole chunks. A progress
// below 0 (or not a number) fills nothing, above 1 the whole width.
RECT GetProgressRect(const ControlLook& look, const RECT& rect);

// The background or foreground bitmap, stretched or tiled into `rect`;
// false, and nothing drawn, when the look has none.
bool DrawLookBackground(DrawingHelpers& canvas, const RECT& rect, const ControlLook& look);
bool DrawLookForeground(DrawingHelpers& canvas, const RECT& rect, const ControlLook& look);

// The text on one line, placed by the look's orientation, in its font and
// colour over a transparent background. The DC's font, text colour and
// background mode are as before when it returns.
void DrawLookText(DrawingHelpers& canvas, const RECT& rect, const ControlLook& look);

}  // namespace CommonGuiLib
