#pragma once
// Pictures for the draw manager's tests: 32-bit sections filled from
// 0xAARRGGBB values, and icons made of them.
#include "controls/drawing/Section32.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

namespace ControlsTesting {

inline std::unique_ptr<DrawLib::Section32> MakeImage(int width, int height,
                                                     const std::function<std::uint32_t(int x, int y)>& pixel) {
    auto image = DrawLib::Section32::Create(width, height);
    for (int y = 0; image && y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->At(x, y) = pixel(x, y);
    return image;
}

// 0x00RRGGBB of a COLORREF, as the canvas stores it.
inline std::uint32_t Packed(COLORREF color) {
    return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

// An icon from a colour image and a monochrome mask (set bits transparent).
class TestIcon {
public:
    TestIcon(const DrawLib::Section32& color, const std::function<bool(int x, int y)>& transparent) {
        const int width = color.Width(), height = color.Height();
        const int stride = (width + 15) / 16 * 2;
        std::unique_ptr<BYTE[]> bits(new BYTE[stride * height]());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (transparent(x, y))
                    bits[y * stride + x / 8] |= 0x80 >> (x % 8);
        HBITMAP mask = ::CreateBitmap(width, height, 1, 1, bits.get());
        ICONINFO info = {TRUE, 0, 0, mask, color.Handle()};
        m_icon = ::CreateIconIndirect(&info);
        ::DeleteObject(mask);
    }
    ~TestIcon() {
        if (m_icon)
            ::DestroyIcon(m_icon);
    }
    TestIcon(const TestIcon&) = delete;
    TestIcon& operator=(const TestIcon&) = delete;
    HICON Get() const { return m_icon; }

private:
    HICON m_icon = nullptr;
};

}  // namespace ControlsTesting
