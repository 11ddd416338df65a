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
    explicit DrawingHelpers(CDC& dc) noexcept;
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
    // The memory DC that bitmaps are drawn from, made at the first drawing
    // and kept, with the last bitmap drawn left selected in it until another
    // one is drawn or the helpers go: a paint draws many bitmaps, often the
    // same one, and a DC or a selection per bitmap costs more than the
    // drawing.
    HDC _SourceDC();
    // `bitmap` selected into the source DC (the premultiplied copy when its
    // per-pixel alpha is not premultiplied yet); false for a null bitmap.
    bool _SelectSource(const CommonGuiLib::SharedBitmap& bitmap, bool perPixelAlpha, bool premultiplied);
    // The source DC gets its own bitmap back and the one it held goes.
    void _ReleaseSource() noexcept;
    // A bitmap is selected into one DC at a time: the helpers of this
    // thread that hold `bitmap` (a canvas drawn inside another) let it go.
    static void _ReleaseEverywhere(HBITMAP bitmap) noexcept;

    CDC& m_dc;
    HDC m_sourceDC = nullptr;
    HGDIOBJ m_sourceOwnBitmap = nullptr;  // the DC's own, while another is selected
    CommonGuiLib::SharedBitmap m_selected;  // kept alive while selected
    SIZE m_selectedSize = {};
    bool m_selectedHasAlpha = false;
    // The helpers alive on this thread, newest last; linked in both
    // directions, as canvases held by shared pointers may go in any order.
    DrawingHelpers* m_pOlder = nullptr;
    DrawingHelpers* m_pNewer = nullptr;
};
