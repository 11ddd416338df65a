#include "skin/autocontrols/ElementState.h"

#include "skin/layout/IElement.h"

std::wstring GetStatePictureName(const ElementState& state) {
    if (!state.enabled)
        return StatePictureNames::kDisabled;
    if (state.over && state.down)
        return StatePictureNames::kDown;
    if (state.over)
        return StatePictureNames::kOver;
    return StatePictureNames::kOut;
}

RECT PlaceInElementRect(const RECT& position, int anchors, SIZE referenceSize, const RECT& target) {
    const int freeWidth = (target.right - target.left) - referenceSize.cx;
    const int freeHeight = (target.bottom - target.top) - referenceSize.cy;
    int dx = 0;
    int dy = 0;
    if (!(anchors & LayoutLib::AnchorLeft))
        dx = freeWidth;
    if (anchors & LayoutLib::AnchorHorzCenter)
        dx = freeWidth / 2;
    if (!(anchors & LayoutLib::AnchorTop))
        dy = freeHeight;
    if (anchors & LayoutLib::AnchorVertCenter)
        dy = freeHeight / 2;
    RECT placed = position;
    if ((anchors & LayoutLib::AnchorLeft) && (anchors & LayoutLib::AnchorRight))
        placed.right += freeWidth;
    if ((anchors & LayoutLib::AnchorTop) && (anchors & LayoutLib::AnchorBottom))
        placed.bottom += freeHeight;
    ::OffsetRect(&placed, dx + target.left, dy + target.top);
    return placed;
}
