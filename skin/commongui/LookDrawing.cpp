#include "skin/commongui/LookDrawing.h"

#include "skin/commongui/DCSelector.h"

#include <algorithm>

namespace CommonGuiLib {

namespace {

bool DrawLookPicture(DrawingHelpers& canvas, const RECT& rect, const SharedBitmap& picture, bool stretch) {
    if (IsNullGDIObject(picture))
        return false;
    if (stretch)
        canvas.StretchBitmap(picture, rect);
    else
        canvas.DrawBitmap(picture, rect);
    return true;
}

}  // namespace

RECT GetProgressRect(const ControlLook& look, const RECT& rect) {
    // More received than announced, or a quotient by a zero total, must not
    // fill past the element over its neighbours.
    double fraction = look.progress;
    if (!(fraction > 0.0))
        fraction = 0.0;
    else if (fraction > 1.0)
        fraction = 1.0;
    const int width = std::max<int>(0, rect.right - rect.left);
    int filled = static_cast<int>(width * fraction);
    if (look.progressChunkWidth != 0)
        filled -= filled % look.progressChunkWidth;
    RECT result = rect;
    result.right = rect.left + filled;
    return result;
}

bool DrawLookBackground(DrawingHelpers& canvas, const RECT& rect, const ControlLook& look) {
    return DrawLookPicture(canvas, rect, look.background, look.stretchBackground);
}

bool DrawLookForeground(DrawingHelpers& canvas, const RECT& rect, const ControlLook& look) {
    return DrawLookPicture(canvas, rect, look.foreground, look.stretchForeground);
}

void DrawLookText(DrawingHelpers& canvas, const RECT& rect, const ControlLook& look) {
    if (look.text.empty())
        return;
    const HDC dc = canvas.GetDrawingDC().m_hDC;
    const int length = static_cast<int>(look.text.size());
    DCSelector selector(dc);
    selector.SetBkMode(dc, TRANSPARENT).SetTextColor(dc, look.textColor);
    if (!IsNullGDIObject(look.textFont))
        selector.SelectObject(dc, 0, look.textFont->GetHandle());

    RECT measured = {0, 0, 0, 0};
    ::DrawTextW(dc, look.text.c_str(), length, &measured, DT_CALCRECT | DT_SINGLELINE);
    const int textWidth = measured.right - measured.left;
    const int textHeight = measured.bottom - measured.top;

    RECT placed = rect;
    UINT format = DT_VCENTER | DT_SINGLELINE;
    switch (look.textOrientation) {
    case ControlLook::TextLeft:
        placed.left = rect.left + look.textPaddingLeft;
        placed.right = placed.left + textWidth;
        break;
    case ControlLook::TextCenter:
        format |= DT_CENTER;
        break;
    case ControlLook::TextRight:
        placed.right = rect.right - look.textPaddingRight;
        placed.left = placed.right - textWidth;
        break;
    case ControlLook::TextProgressRight: {
        placed.right = rect.right - look.textPaddingRight;
        const RECT progress = GetProgressRect(look, rect);
        if (textWidth + look.textPaddingLeft + look.textPaddingRight <= progress.right - progress.left)
            placed.left = progress.right - look.textPaddingRight - textWidth;
        else
            // Rectangles are in window coordinates: the padding is from the
            // element's left edge, as for Left.
            placed.left = rect.left + look.textPaddingLeft;
        break;
    }
    default:
        placed = {look.textLeft, look.textTop, look.textLeft + textWidth, look.textTop + textHeight};
        break;
    }
    ::DrawTextW(dc, look.text.c_str(), length, &placed, format);
}

}  // namespace CommonGuiLib
