#pragma once
// The GDI toolbox the markup tooltip paints with: images with a transparent
// colour and colour effects, icons and image-list cells, per-pixel alpha,
// opacity blends, dropped shadows with an optional blur, lines and
// rectangles in the markup's border styles, gradients and the textured
// background effects. Pixel work is done on 32-bit sections; nothing
// survives a call except the image-has-alpha flag and the palette bitmap of
// the last textured effect. GUI thread only.
#include "controls/drawing/PaletteDib.h"
#include "controls/drawing/Section32.h"

#include <cstdint>
#include <memory>

class CDrawManager {
public:
    // Image effect flags; the markup's image style letters map to them.
    enum ImageEffect : DWORD {
        EffectGrayscale = 0x0001,
        EffectDarker = 0x0002,
        EffectLighter = 0x0004,
        EffectFlatFill = 0x0008,
        EffectShadow = 0x0100,
        EffectGradientShadow = 0x0200,
        EffectInvert = 0x8000,
    };
    enum BorderStyle {
        BorderNone = 0,
        BorderSolid = 1,
        BorderDashed = 2,
        BorderDotted = 3,
        BorderDashDot = 4,
        BorderDashDotDot = 5,
        BorderDouble = 6,
    };
    enum FillEffectKind {
        FillSolid = 0,
        FillHGradient = 1,
        FillVGradient = 2,
        FillHCGradient = 3,
        FillVCGradient = 4,
        Fill3HGradient = 5,
        Fill3VGradient = 6,
        FillNoise = 7,
        FillDiagShade = 8,
        FillHShade = 9,
        FillVShade = 10,
        FillHBump = 11,
        FillVBump = 12,
        FillSoftBump = 13,
        FillHardBump = 14,
        FillMetal = 15,
    };

    CDrawManager() = default;
    virtual ~CDrawManager();
    CDrawManager(const CDrawManager&) = delete;
    CDrawManager& operator=(const CDrawManager&) = delete;

    // Pixel functions on 0x00RRGGBB values; the alpha byte is the caller's.
    static std::uint32_t PixelGrayscale(std::uint32_t pixel);
    // A factor outside 0 to 1 leaves the pixel as it is.
    static std::uint32_t PixelDarker(std::uint32_t pixel, double factor);
    static std::uint32_t PixelLighter(std::uint32_t pixel, double factor);
    static std::uint32_t PixelMix(std::uint32_t pixel1, double factor1, std::uint32_t pixel2, double factor2);
    static std::uint32_t PixelInvert(std::uint32_t pixel);
    // A COLORREF (red in the low byte) in pixel order.
    static std::uint32_t ColorToPixel(COLORREF color);

    static SIZE GetBitmapSize(HBITMAP bitmap);
    // Twice the hot spot, as icons keep it in their middle.
    static SIZE GetIconSize(HICON icon);

    // A new section with a copy of the bitmap (which must be width x height)
    // and the effects applied; pixels equal to the mask colour, alpha 0
    // included, become 0 when the mask is used. Null when it cannot be made.
    std::unique_ptr<DrawLib::Section32> ConvertImage(HBITMAP bitmap, int width, int height, DWORD effects,
                                                     bool useMask, COLORREF maskColor, COLORREF fillColor);

    // Draws the bitmap at width x height; with shadowOn and a shadow effect
    // a shadow goes to (x + dx, y + dy) under the image, with shadowOn and no
    // shadow effect the image itself moves there.
    void DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, bool useMask, COLORREF maskColor,
                    DWORD effects, bool shadowOn, int shadowDx, int shadowDy, int blurX, int blurY,
                    COLORREF fillColor);
    void DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon, bool useMask, COLORREF maskColor,
                  DWORD effects, bool shadowOn, int shadowDx, int shadowDy, int blurX, int blurY,
                  COLORREF fillColor);
    // One cell of a strip cut into cells of cellWidth x cellHeight, counted
    // row by row; an index outside the strip draws nothing.
    void DrawImageList(HDC dc, int x, int y, int width, int height, HBITMAP strip, int index, int cellWidth,
                       int cellHeight, bool useMask, COLORREF maskColor, DWORD effects, bool shadowOn, int shadowDx,
                       int shadowDy, int blurX, int blurY, COLORREF fillColor);

    // The source area blended over the destination by the source's own alpha.
    void DrawAlphaBlend(HDC dc, const RECT& destination, HDC source, int sourceX, int sourceY);
    // The source area blended over the destination at `percent` opacity.
    void DrawOpacityBlend(HDC dc, const RECT& destination, HDC source, int sourceX, int sourceY, int percent);
    // Darkens the area by the mask's blue bytes; with `gradient` the mask is
    // blurred over blurX x blurY first.
    void DrawShadow(HDC dc, int x, int y, int width, int height, HBITMAP mask, bool gradient, int blurX, int blurY);

    void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int borderStyle, int width);
    // Left and top edges in the light colour, right and bottom in the dark one.
    void DrawRectangle(HDC dc, int left, int top, int right, int bottom, COLORREF lightColor, COLORREF darkColor,
                       int borderStyle, int width);
    void DrawRectangle(HDC dc, const RECT& rect, COLORREF lightColor, COLORREF darkColor, int borderStyle, int width);
    void DrawTile(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int tileWidth,
                  int tileHeight);

    // 64 bands from color1 to (almost) color2.
    void FillGradient(HDC dc, const RECT& rect, COLORREF color1, COLORREF color2, bool horizontal);
    // One of the background effects; an empty rectangle draws nothing.
    void FillEffect(HDC dc, const RECT& rect, int effect, COLORREF beginColor, COLORREF middleColor,
                    COLORREF endColor, BYTE granularity, int blendPercent);
    // The 256 entries of a textured effect: end colour, through the middle
    // colour, to the begin colour, then blended toward the begin colour.
    static void SetEffectPalette(CPaletteDib& dib, COLORREF beginColor, COLORREF middleColor, COLORREF endColor,
                                 int blendPercent);

    bool ImageHasAlpha() const { return m_imageHasAlpha != 0; }

private:
    // Where the image of a draw goes, after its shadow (if any) is drawn.
    POINT PlaceImage(HDC dc, int x, int y, int width, int height, HBITMAP shadowSource, bool useMask,
                     COLORREF maskColor, DWORD effects, bool shadowOn, int shadowDx, int shadowDy, int blurX,
                     int blurY, COLORREF fillColor);

    CPaletteDib m_paletteDib;
    BOOL m_imageHasAlpha = FALSE;
};
