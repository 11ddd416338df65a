#pragma once
// The look of a skinned control for one drawing: its background, its filled
// part and its text, as a progress element describes them in the skin.
#include "graphics/commongui/SharedGDIObject.h"

#include <windows.h>

#include <string>

namespace CommonGuiLib {

struct ControlLook {
    enum TextOrientation {
        TextLeft = 0,
        TextCenter = 1,
        TextRight = 2,
        TextProgressRight = 3,  // ends where the bar ends when it fits there
        TextAtPosition = 4,     // any other word: at (textLeft, textTop)
    };

    double progress = 0.0;  // the filled fraction, 0.0 to 1.0
    std::wstring text;
    SharedBitmap background;
    std::wstring backgroundPicture;  // a layout picture, when there is no background bitmap
    bool stretchBackground = false;
    SharedBitmap foreground;
    std::wstring foregroundPicture;  // a layout picture, when there is no foreground bitmap
    bool stretchForeground = false;
    int progressChunkWidth = 0;  // 0 for a continuous bar
    int textOrientation = TextLeft;
    int textTop = 0;
    int textLeft = 0;
    int textPaddingLeft = 0;
    int textPaddingTop = 0;
    int textPaddingRight = 0;
    int textPaddingBottom = 0;
    SharedFont textFont;
    COLORREF textColor = 0;
};

}  // namespace CommonGuiLib
