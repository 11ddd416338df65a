#pragma once
// The state of one element as the skinned surface sees it at the moment:
// where it lies and what the mouse does to it.
#include "graphics/commongui/SharedGDIObject.h"

#include <windows.h>

#include <string>

struct ElementState {
    int index = -1;
    RECT box = {};  // from the region set, in client coordinates
    CommonGuiLib::SharedRegion region;
    bool visible = true;
    bool enabled = true;
    bool over = false;  // the mouse is over the element
    bool down = false;  // and the left button went down on it
};

// The names of the visual states an element's state picks.
namespace StatePictureNames {
const wchar_t kOut[] = L"out";
const wchar_t kOver[] = L"over";
const wchar_t kDown[] = L"down";
const wchar_t kDisabled[] = L"disabled";
}  // namespace StatePictureNames

// "disabled" when not enabled; else "down" when over and down; else "over"
// when over; else "out".
std::wstring GetStatePictureName(const ElementState& state);

// A drawable's position, given against `referenceSize` with the layout's
// anchor bits, placed in `target`: an edge not anchored follows the target's
// growth, a centred one half of it (rounded toward zero), and a drawable
// anchored on both sides stretches.
RECT PlaceInElementRect(const RECT& position, int anchors, SIZE referenceSize, const RECT& target);
