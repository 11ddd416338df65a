#include "controls/drawing/DrawManager.h"
#include "controls/drawing/TextureEffects.h"

namespace {

BYTE Blend(int a, int b, int weightA, int weightB, int total) {
    return static_cast<BYTE>((a * weightA + b * weightB) / total);
}

}  // namespace

void CDrawManager::SetEffectPalette(CPaletteDib& dib, COLORREF beginColor, COLORREF middleColor, COLORREF endColor,
                                    int blendPercent) {
    const auto entry = [&dib](int index, COLORREF a, COLORREF b, int weightA, int weightB) {
        dib.SetPaletteIndex(index, Blend(GetRValue(a), GetRValue(b), weightA, weightB, 128),
                            Blend(GetGValue(a), GetGValue(b), weightA, weightB, 128),
                            Blend(GetBValue(a), GetBValue(b), weightA, weightB, 128));
    };
    for (int i = 0; i <= 128; ++i)
        entry(i, endColor, middleColor, 128 - i, i);
    // Entry 128 is written again here, a step away from the middle colour.
    for (int j = 1; j <= 128; ++j)
        entry(127 + j, beginColor, middleColor, j, 128 - j);
    dib.BlendPalette(beginColor, blendPercent);
}

void CDrawManager::FillEffect(HDC dc, const RECT& rect, int effect, COLORREF beginColor, COLORREF middleColor,
                              COLORREF endColor, BYTE granularity, int blendPercent) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!dc || width <= 0 || height <= 0)
        return;
    const RECT left = {rect.left, rect.top, rect.left + width / 2, rect.bottom};
    const RECT right = {left.right, rect.top, rect.right, rect.bottom};
    const RECT top = {rect.left, rect.top, rect.right, rect.top + height / 2};
    const RECT bottom = {rect.left, top.bottom, rect.right, rect.bottom};
    switch (effect) {
    case FillHGradient:
    case FillVGradient:
        FillGradient(dc, rect, beginColor, endColor, effect == FillHGradient);
        break;
    case FillHCGradient:
        FillGradient(dc, left, beginColor, endColor, true);
        FillGradient(dc, right, endColor, beginColor, true);
        break;
    case FillVCGradient:
        FillGradient(dc, top, beginColor, endColor, false);
        FillGradient(dc, bottom, endColor, beginColor, false);
        break;
    case Fill3HGradient:
        FillGradient(dc, left, beginColor, middleColor, true);
        FillGradient(dc, right, middleColor, endColor, true);
        break;
    case Fill3VGradient:
        FillGradient(dc, top, beginColor, middleColor, false);
        FillGradient(dc, bottom, middleColor, endColor, false);
        break;
    case FillNoise:
    case FillDiagShade:
    case FillHShade:
    case FillVShade:
    case FillHBump:
    case FillVBump:
    case FillSoftBump:
    case FillHardBump:
    case FillMetal:
        if (!m_paletteDib.Create(width, height, 8))
            return;
        SetEffectPalette(m_paletteDib, beginColor, middleColor, endColor, blendPercent);
        DrawLib::ComputeTexture(effect, width, height, granularity, m_paletteDib.GetBits(),
                                m_paletteDib.GetLineWidth());
        m_paletteDib.Draw(dc, rect.left, rect.top);
        break;
    default: {
        CBrush brush;
        if (brush.CreateSolidBrush(beginColor))
            ::FillRect(dc, &rect, brush);
        break;
    }
    }
}
