#pragma once
// The drawing operations of the skinned windows on one device context:
// bitmaps stretched or tiled with a transparency percent and per-pixel
// alpha, copies between device contexts, icons and state pictures.
//
// A transparency percent of 0 (or less) is opaque, 100 invisible, and above
// 100 counts as 100. Per-pixel alpha that is not premultiplied yet is drawn
// from a premultiplied copy; the caller's bitmap is never changed.
#include "graphics/commongui/SharedGDIObject.h"
#include "skin/commongui/StatePictures.h"

#include <afxwin.h>

class DrawingHelpers {
public:
    // Draws on `dc`, which must outlive the helpers.
    explicit DrawingHelpers(CDC& dc) noexcept : m_dc(dc) {}
    ~DrawingHelpers();
    DrawingHelpers(const DrawingHelpers&) = delete;
    DrawingHelpers& operator=(const DrawingHelpers&) = delete;

    CDC& GetDrawingDC() const noexcept { return m_dc; }

    // The whole bitmap scaled into `rect`; a right of 0 means left plus the
    // bitmap's width, a bottom of 0 top plus its height.
    void StretchBitmap(const CommonGuiLib::SharedBitmap& bitmap, const RECT& rect, int transparencyPercent,
                       bool perPixelAlpha, bool premultiplied);
    // Opaque; a 32-bit bitmap is blended with its own alpha, taken as
    // premultiplied already.
    void StretchBitmap(const CommonGuiLib::SharedBitmap& bitmap, const RECT& rect);

    // `rect` filled with unscaled copies of the bitmap from its top-left
    // corner; the last column and row show the bitmap's top-left part.
    void DrawBitmap(const CommonGuiLib::SharedBitmap& bitmap, const RECT& rect, int transparencyPercent,
                    bool perPixelAlpha, bool premultiplied);
    void DrawBitmap(const CommonGuiLib::SharedBitmap& bitmap, const RECT& rect);

    // Copies `source` of another DC into `destination`, scaled when the
    // sizes differ.
    void Blit(CDC& sourceDC, const RECT& destination, const RECT& source, int transparencyPercent);

    // At the icon's own size.
    void DrawIcon(const CommonGuiLib::SharedIcon& icon, POINT point);
    // Scaled to the rectangle.
    void DrawIcon(const CommonGuiLib::SharedIcon& icon, const RECT& rect);

    // One picture, centred in `rect` at its own size: disabled when not
    // enabled; else, while the left button is held, down when hot and normal
    // when not; else over when hot and normal when not. The button is read
    // through the input table (UserInput.h).
    void DrawStateImage(const CommonGuiLib::StatePictures& pictures, const RECT& rect, bool hot, bool enabled);

private:
    // The memory DC that bitmaps are selected into while they are drawn,
    // made at the first drawing and kept: a paint draws many bitmaps, and a
    // DC per bitmap costs more than the drawing.
    HDC _SourceDC();

    CDC& m_dc;
    HDC m_sourceDC = nullptr;
};
