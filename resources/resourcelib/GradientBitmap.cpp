#include "resources/resourcelib/GradientBitmap.h"

#include "graphics/commongui/GdiScopes.h"

#include <cstddef>
#include <exception>
#include <vector>

namespace ResourceLib {

namespace {

// Sets the alpha byte of every pixel to 255, when the screen and the bitmap
// have 32 bits per pixel. The bitmap must not be selected into a DC.
void MakeOpaque(HBITMAP bitmap) {
    CommonGuiLib::ScopedScreenDC screen;
    BITMAP description = {};
    if (!bitmap || ::GetDeviceCaps(screen.Get(), BITSPIXEL) != 32 ||
        !::GetObjectW(bitmap, sizeof(description), &description) || description.bmBitsPixel < 32 ||
        description.bmWidth <= 0 || description.bmHeight <= 0)
        return;
    // Plain BI_RGB pixels: a header that asks for them leaves GetDIBits no
    // colour masks to write behind it.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = description.bmWidth;
    info.bmiHeader.biHeight = description.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> pixels(static_cast<std::size_t>(description.bmWidth) * description.bmHeight);
    if (::GetDIBits(screen.Get(), bitmap, 0, description.bmHeight, pixels.data(), &info, DIB_RGB_COLORS) !=
        description.bmHeight)
        return;
    for (RGBQUAD& pixel : pixels)
        pixel.rgbReserved = 255;
    ::SetDIBits(screen.Get(), bitmap, 0, description.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

SharedBitmap CreateGradientBitmap(const CommonGuiLib::FillDescription& description) {
    CommonGuiLib::ScopedScreenDC screen;
    CommonGuiLib::ScopedMemoryDC memory(screen.Get());
    if (!memory.Get())
        return SharedBitmap();
    SharedBitmap bitmap = CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectBitmap>(
        ::CreateCompatibleBitmap(screen.Get(), description.width, description.height));
    if (CommonGuiLib::IsNullGDIObject(bitmap))
        return SharedBitmap();
    try {
        {
            CommonGuiLib::ScopedSelection selection(memory.Get(), bitmap->GetHandle());
            CommonGuiLib::FillGradient(memory.Get(), 0, 0, description);
        }
        // After the selection ended: GetDIBits wants a bitmap no DC holds.
        MakeOpaque(bitmap->GetHandle());
    } catch (const std::exception&) {
        return SharedBitmap();
    }
    return bitmap;
}

}  // namespace ResourceLib
