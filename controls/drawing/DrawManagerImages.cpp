#include "controls/drawing/DrawManager.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

COLORREF InverseColor(COLORREF color) {
    return RGB(255 - GetRValue(color), 255 - GetGValue(color), 255 - GetBValue(color));
}

// The image black and the transparent parts white, for SRCAND.
const DWORD kMaskEffects = CDrawManager::EffectInvert | CDrawManager::EffectFlatFill;

// The colour and mask bitmaps of an icon, owned for the length of a draw.
// A monochrome icon keeps both in one mask of double height: the AND half on
// top, the image below.
struct IconBitmaps {
    explicit IconBitmaps(HICON icon) {
        ICONINFO info = {};
        if (!::GetIconInfo(icon, &info))
            return;
        color.Attach(info.hbmColor);
        mask.Attach(info.hbmMask);
    }

    // Both bitmaps at width x height; false when the icon cannot be read.
    bool CopyTo(int width, int height, std::unique_ptr<DrawLib::Section32>& image,
                std::unique_ptr<DrawLib::Section32>& andMask) const {
        HBITMAP maskHandle = static_cast<HBITMAP>(mask.GetSafeHandle());
        const SIZE maskSize = DrawLib::BitmapSize(maskHandle);
        if (color.GetSafeHandle()) {
            image = DrawLib::CopyBitmap(static_cast<HBITMAP>(color.GetSafeHandle()), width, height);
            andMask = DrawLib::CopyBitmap(maskHandle, width, height);
        } else {
            const int half = maskSize.cy / 2;
            auto top = DrawLib::CopyBitmapPart(maskHandle, 0, 0, maskSize.cx, half);
            auto bottom = DrawLib::CopyBitmapPart(maskHandle, 0, half, maskSize.cx, half);
            if (top && bottom) {
                andMask = DrawLib::CopyBitmap(top->Handle(), width, height);
                image = DrawLib::CopyBitmap(bottom->Handle(), width, height);
            }
        }
        return image && andMask;
    }

    CBitmap color;
    CBitmap mask;
};

}  // namespace

POINT CDrawManager::PlaceImage(HDC dc, int x, int y, int width, int height, HBITMAP shadowSource, bool useMask,
                               COLORREF maskColor, DWORD effects, bool shadowOn, int shadowDx, int shadowDy,
                               int blurX, int blurY, COLORREF fillColor) {
    if (!shadowOn)
        return POINT{x, y};
    if (!(effects & (EffectShadow | EffectGradientShadow)))
        return POINT{x + shadowDx, y + shadowDy};
    // The image in the fill colour on white: the shadow's darkness.
    auto shadowMask = ConvertImage(shadowSource, width, height, kMaskEffects, useMask, maskColor, InverseColor(fillColor));
    if (shadowMask)
        DrawShadow(dc, x + shadowDx, y + shadowDy, width, height, shadowMask->Handle(),
                   (effects & EffectGradientShadow) != 0, blurX, blurY);
    return POINT{x, y};
}

void CDrawManager::DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, bool useMask,
                              COLORREF maskColor, DWORD effects, bool shadowOn, int shadowDx, int shadowDy, int blurX,
                              int blurY, COLORREF fillColor) {
    m_imageHasAlpha = FALSE;
    if (!dc || !bitmap || width <= 0 || height <= 0)
        return;
    auto copy = DrawLib::CopyBitmap(bitmap, width, height);
    if (!copy)
        return;
    auto mask = ConvertImage(copy->Handle(), width, height, kMaskEffects, useMask, maskColor, kWhite);
    auto image = ConvertImage(copy->Handle(), width, height, effects, useMask, maskColor, fillColor);
    if (!mask || !image)
        return;
    const POINT at = PlaceImage(dc, x, y, width, height, copy->Handle(), useMask, maskColor, effects, shadowOn,
                                shadowDx, shadowDy, blurX, blurY, fillColor);
    DrawLib::MemoryDC imageDC(image->Handle(), dc);
    if (!imageDC.Get())
        return;
    if (m_imageHasAlpha) {
        DrawAlphaBlend(dc, RECT{at.x, at.y, at.x + width, at.y + height}, imageDC.Get(), 0, 0);
        return;
    }
    DrawLib::MemoryDC maskDC(mask->Handle(), dc);
    if (!maskDC.Get())
        return;
    ::BitBlt(dc, at.x, at.y, width, height, maskDC.Get(), 0, 0, SRCAND);
    ::BitBlt(dc, at.x, at.y, width, height, imageDC.Get(), 0, 0, SRCPAINT);
}

void CDrawManager::DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon, bool useMask, COLORREF maskColor,
                            DWORD effects, bool shadowOn, int shadowDx, int shadowDy, int blurX, int blurY,
                            COLORREF fillColor) {
    m_imageHasAlpha = FALSE;
    if (!dc || !icon || width <= 0 || height <= 0)
        return;
    const IconBitmaps bitmaps(icon);
    std::unique_ptr<DrawLib::Section32> color, andMask;
    if (!bitmaps.CopyTo(width, height, color, andMask))
        return;
    // A flat fill paints the icon's outline, read from its mask.
    const bool flat = (effects & EffectFlatFill) != 0;
    auto image = ConvertImage(flat ? andMask->Handle() : color->Handle(), width, height, effects, true,
                              flat ? kWhite : kBlack, fillColor);
    if (!image)
        return;
    const POINT at = PlaceImage(dc, x, y, width, height, andMask->Handle(), true, kWhite, effects, shadowOn, shadowDx,
                                shadowDy, blurX, blurY, fillColor);
    DrawLib::MemoryDC imageDC(image->Handle(), dc);
    if (!imageDC.Get())
        return;
    if (m_imageHasAlpha) {
        DrawAlphaBlend(dc, RECT{at.x, at.y, at.x + width, at.y + height}, imageDC.Get(), 0, 0);
        return;
    }
    DrawLib::MemoryDC maskDC(andMask->Handle(), dc);
    if (!maskDC.Get())
        return;
    const COLORREF textColor = ::SetTextColor(dc, kBlack);
    ::BitBlt(dc, at.x, at.y, width, height, maskDC.Get(), 0, 0, SRCAND);
    ::BitBlt(dc, at.x, at.y, width, height, imageDC.Get(), 0, 0, SRCPAINT);
    ::SetTextColor(dc, textColor);
}

void CDrawManager::DrawImageList(HDC dc, int x, int y, int width, int height, HBITMAP strip, int index, int cellWidth,
                                 int cellHeight, bool useMask, COLORREF maskColor, DWORD effects, bool shadowOn,
                                 int shadowDx, int shadowDy, int blurX, int blurY, COLORREF fillColor) {
    if (!dc || !strip || cellWidth <= 0 || cellHeight <= 0 || index < 0)
        return;
    const SIZE size = DrawLib::BitmapSize(strip);
    const int columns = size.cx / cellWidth;
    const int rows = size.cy / cellHeight;
    if (index >= columns * rows)
        return;
    auto cell = DrawLib::CopyBitmapPart(strip, index % columns * cellWidth, index / columns * cellHeight, cellWidth,
                                        cellHeight);
    if (cell)
        DrawBitmap(dc, x, y, width, height, cell->Handle(), useMask, maskColor, effects, shadowOn, shadowDx, shadowDy,
                   blurX, blurY, fillColor);
}
