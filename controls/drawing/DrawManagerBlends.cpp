#include "controls/drawing/DrawManager.h"

#include <algorithm>
#include <vector>

namespace {

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// Blur sizes are used odd, so that a box has a middle pixel.
int OddBlur(int size) {
    size = std::max(size, 1);
    return size % 2 ? size : size + 1;
}

// For each place, the sum of `count` values centred on it; places outside
// the line count `outside`. Prefix sums keep the cost independent of count.
void BoxSums(const std::vector<long long>& values, std::size_t start, std::size_t stride, int length, int count,
             long long outside, std::vector<long long>& prefix, std::vector<long long>& sums) {
    prefix.assign(length + 1, 0);
    for (int i = 0; i < length; ++i)
        prefix[i + 1] = prefix[i] + values[start + i * stride];
    const int radius = count / 2;
    for (int i = 0; i < length; ++i) {
        const int low = std::max(i - radius, 0);
        const int high = std::min(i + radius, length - 1);
        const int inside = high - low + 1;
        sums[start + i * stride] = prefix[high + 1] - prefix[low] + outside * (count - inside);
    }
}

}  // namespace

void CDrawManager::DrawAlphaBlend(HDC dc, const RECT& destination, HDC source, int sourceX, int sourceY) {
    if (!dc || !source)
        return;
    auto target = DrawLib::ReadArea(dc, destination.left, destination.top, Width(destination), Height(destination));
    auto image = DrawLib::ReadArea(source, sourceX, sourceY, Width(destination), Height(destination));
    if (!target || !image)
        return;
    std::uint32_t* to = target->Bits();
    const std::uint32_t* from = image->Bits();
    for (std::size_t i = 0, count = target->PixelCount(); i < count; ++i) {
        const double alpha = (from[i] >> 24) / 255.0;
        to[i] = PixelMix(from[i] & 0x00FFFFFF, alpha, to[i] & 0x00FFFFFF, 1.0 - alpha) | (to[i] & 0xFF000000);
    }
    DrawLib::WriteArea(*target, dc, destination.left, destination.top);
}

void CDrawManager::DrawOpacityBlend(HDC dc, const RECT& destination, HDC source, int sourceX, int sourceY,
                                    int percent) {
    if (!dc || !source)
        return;
    if (percent >= 100) {
        ::BitBlt(dc, destination.left, destination.top, Width(destination), Height(destination), source, sourceX,
                 sourceY, SRCCOPY);
        return;
    }
    auto target = DrawLib::ReadArea(dc, destination.left, destination.top, Width(destination), Height(destination));
    auto image = DrawLib::ReadArea(source, sourceX, sourceY, Width(destination), Height(destination));
    if (!target || !image)
        return;
    const double p = std::max(percent, 0) / 100.0;
    std::uint32_t* to = target->Bits();
    const std::uint32_t* from = image->Bits();
    for (std::size_t i = 0, count = target->PixelCount(); i < count; ++i)
        to[i] = PixelMix(from[i] & 0x00FFFFFF, p, to[i] & 0x00FFFFFF, 1.0 - p) | (to[i] & 0xFF000000);
    DrawLib::WriteArea(*target, dc, destination.left, destination.top);
}

void CDrawManager::DrawShadow(HDC dc, int x, int y, int width, int height, HBITMAP mask, bool gradient, int blurX,
                              int blurY) {
    if (!dc || !mask || width <= 0 || height <= 0)
        return;
    auto target = DrawLib::ReadArea(dc, x, y, width, height);
    auto area = DrawLib::Section32::Create(width, height);
    if (!target || !area)
        return;
    const std::size_t count = area->PixelCount();
    // Each pixel's darkness as a fraction factor / divisor.
    std::vector<long long> factor(count);
    long long divisor = 255;
    {
        DrawLib::MemoryDC areaDC(area->Handle(), dc);
        DrawLib::MemoryDC maskDC(mask, dc);
        if (!areaDC.Get() || !maskDC.Get())
            return;
        const SIZE maskSize = DrawLib::BitmapSize(mask);
        if (!gradient) {
            ::BitBlt(areaDC.Get(), 0, 0, width, height, maskDC.Get(), 0, 0, SRCCOPY);
        } else {
            blurX = OddBlur(blurX);
            blurY = OddBlur(blurY);
            ::PatBlt(areaDC.Get(), 0, 0, width, height, WHITENESS);
            if (width > blurX && height > blurY) {
                ::SetStretchBltMode(areaDC.Get(), COLORONCOLOR);
                ::StretchBlt(areaDC.Get(), blurX / 2, blurY / 2, width - blurX, height - blurY, maskDC.Get(), 0, 0,
                             maskSize.cx, maskSize.cy, SRCCOPY);
            }
        }
        ::GdiFlush();
    }
    for (std::size_t i = 0; i < count; ++i)
        factor[i] = area->Bits()[i] & 0xFF;
    if (gradient) {
        // Rows first, then columns; places outside the area count as white.
        std::vector<long long> rows(count), prefix;
        for (int row = 0; row < height; ++row)
            BoxSums(factor, static_cast<std::size_t>(row) * width, 1, width, blurX, 255, prefix, rows);
        for (int column = 0; column < width; ++column)
            BoxSums(rows, column, width, height, blurY, 255LL * blurX, prefix, factor);
        divisor = 255LL * blurX * blurY;
    }
    std::uint32_t* pixel = target->Bits();
    for (std::size_t i = 0; i < count; ++i, ++pixel) {
        const auto darken = [&](int shift) {
            const long long channel = (*pixel >> shift) & 0xFF;
            return static_cast<std::uint32_t>(channel * factor[i] / divisor) << shift;
        };
        *pixel = (*pixel & 0xFF000000) | darken(16) | darken(8) | darken(0);
    }
    DrawLib::WriteArea(*target, dc, x, y);
}
