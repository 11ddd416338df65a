#pragma once
// Making, copying and measuring shared bitmaps and icons, and the alpha
// premultiplication that AlphaBlend needs of per-pixel alpha pictures.
//
// Premultiplication keeps no mark: doing it twice darkens twice. Callers
// know whether a picture already is premultiplied.
#include "graphics/commongui/SharedGDIObject.h"

#include <windows.h>

namespace CommonGuiLib {

// Takes the handle over. With `premultiply` set and a bitmap of 32 bits per
// pixel, the bitmap is premultiplied in place first.
SharedBitmap MakeSharedBitmap(HBITMAP bitmap, bool premultiply);

// A DIB section of the same size and depth; a null bitmap gives a null copy.
SharedBitmap CopyBitmap(const SharedBitmap& bitmap);
// CopyBitmap, then the copy is premultiplied; the source stays as it was.
SharedBitmap MakePremultipliedCopy(const SharedBitmap& bitmap);

// 0 x 0 for a null bitmap.
SIZE GetBitmapSize(const SharedBitmap& bitmap);
// The size of the icon's image; 0 x 0 for a null icon.
SIZE GetIconSize(const SharedIcon& icon);

// True when the bitmap has 32 bits per pixel (the alpha values are not
// looked at). Read from the bitmap object itself; `dc` is not needed.
bool HasAlphaChannel(const SharedBitmap& bitmap, HDC dc = nullptr);

// Premultiplies in place whatever the screen's depth.
void PremultiplyAlpha(const SharedBitmap& bitmap);
// Each of blue, green and red becomes channel x alpha / 255 (rounded down);
// alpha stays. Unless forced, nothing happens when the screen is not 32-bit.
// Bitmaps of fewer than 32 bits per pixel are left alone. The bitmap must not
// be selected into a device context.
void PremultiplyBitmapAlpha(HBITMAP bitmap, bool force);

}  // namespace CommonGuiLib
