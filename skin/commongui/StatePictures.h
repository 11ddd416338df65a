#pragma once
// The four pictures of an element that shows its state: normal, under the
// mouse, pressed and disabled.
#include "graphics/commongui/SharedGDIObject.h"

namespace CommonGuiLib {

struct StatePictures {
    SharedBitmap normal;
    SharedBitmap over;
    SharedBitmap down;
    SharedBitmap disabled;
    bool perPixelAlpha = false;  // blend with the pictures' own alpha
    bool premultiplied = false;  // their colours are premultiplied already
};

}  // namespace CommonGuiLib
