#include "controls/drawing/DrawManager.h"

#include <algorithm>

namespace {

int Red(std::uint32_t pixel) { return (pixel >> 16) & 0xFF; }
int Green(std::uint32_t pixel) { return (pixel >> 8) & 0xFF; }
int Blue(std::uint32_t pixel) { return pixel & 0xFF; }
std::uint32_t Pack(int red, int green, int blue) {
    return (static_cast<std::uint32_t>(red) << 16) | (static_cast<std::uint32_t>(green) << 8) |
           static_cast<std::uint32_t>(blue);
}

}  // namespace

CDrawManager::~CDrawManager() = default;

std::uint32_t CDrawManager::PixelGrayscale(std::uint32_t pixel) {
    // 0.299 R + 0.587 G + 0.114 B truncated, in integers: in floating point
    // white would come out as 254.99...
    const int y = (299 * Red(pixel) + 587 * Green(pixel) + 114 * Blue(pixel)) / 1000;
    return Pack(y, y, y);
}

std::uint32_t CDrawManager::PixelDarker(std::uint32_t pixel, double factor) {
    if (factor < 0.0 || factor > 1.0)
        return pixel;
    const auto scale = [factor](int channel) { return static_cast<int>(channel * factor); };
    return Pack(scale(Red(pixel)), scale(Green(pixel)), scale(Blue(pixel)));
}

std::uint32_t CDrawManager::PixelLighter(std::uint32_t pixel, double factor) {
    if (factor < 0.0 || factor > 1.0)
        return pixel;
    const auto scale = [factor](int channel) { return std::min(255, static_cast<int>(channel * (1.0 + factor))); };
    return Pack(scale(Red(pixel)), scale(Green(pixel)), scale(Blue(pixel)));
}

std::uint32_t CDrawManager::PixelMix(std::uint32_t pixel1, double factor1, std::uint32_t pixel2, double factor2) {
    const auto mix = [=](int a, int b) { return std::min(255, std::max(0, static_cast<int>(a * factor1 + b * factor2))); };
    return Pack(mix(Red(pixel1), Red(pixel2)), mix(Green(pixel1), Green(pixel2)), mix(Blue(pixel1), Blue(pixel2)));
}

std::uint32_t CDrawManager::PixelInvert(std::uint32_t pixel) { return ~pixel & 0x00FFFFFF; }

std::uint32_t CDrawManager::ColorToPixel(COLORREF color) {
    return Pack(GetRValue(color), GetGValue(color), GetBValue(color));
}

SIZE CDrawManager::GetBitmapSize(HBITMAP bitmap) { return DrawLib::BitmapSize(bitmap); }

SIZE CDrawManager::GetIconSize(HICON icon) {
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info))
        return SIZE{0, 0};
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return SIZE{static_cast<LONG>(info.xHotspot * 2), static_cast<LONG>(info.yHotspot * 2)};
}

std::unique_ptr<DrawLib::Section32> CDrawManager::ConvertImage(HBITMAP bitmap, int width, int height, DWORD effects,
                                                               bool useMask, COLORREF maskColor, COLORREF fillColor) {
    auto section = DrawLib::CopyBitmap(bitmap, width, height);
    if (!section)
        return nullptr;
    const std::uint32_t mask = ColorToPixel(maskColor);
    const std::uint32_t fill = ColorToPixel(fillColor);
    std::uint32_t* pixel = section->Bits();
    for (std::size_t i = 0, count = section->PixelCount(); i < count; ++i, ++pixel) {
        const std::uint32_t alpha = *pixel & 0xFF000000;
        if (alpha)
            m_imageHasAlpha = TRUE;
        // The whole value is compared, so only pixels with alpha 0 can match.
        std::uint32_t value = *pixel;
        if (useMask && value == mask) {
            value = 0;
        } else {
            value &= 0x00FFFFFF;
            if (effects & EffectGrayscale)
                value = PixelGrayscale(value);
            if (effects & EffectDarker)
                value = PixelDarker(value, 0.75);
            if (effects & EffectLighter)
                value = PixelLighter(value, 0.25);
            if (effects & EffectFlatFill)
                value = fill;
        }
        if (effects & EffectInvert)
            value = PixelInvert(value);
        *pixel = (value & 0x00FFFFFF) | alpha;
    }
    return section;
}
