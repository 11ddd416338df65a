#pragma once
// ATL's CImage, as far as the program's picture loaders use it: decoding an
// image file through GDI+ into a DIB section that the caller can take over.
#include <windows.h>

namespace ATL {

class CImage {
public:
    CImage() noexcept : m_hBitmap(nullptr) {}
    ~CImage() { Destroy(); }
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // Decodes any format GDI+ reads (BMP, PNG, JPEG, GIF, TIFF, ...) into a
    // bottom-up DIB section. Images with transparency become 32 bits per pixel
    // with straight (not premultiplied) alpha; 32-bit images without it stay
    // 32-bit; all others become 24-bit. GDI+ must have been started by the
    // program. A failure leaves the image empty.
    HRESULT Load(LPCWSTR fileName);

    // Hands the bitmap to the caller, who then deletes it; the image is empty.
    HBITMAP Detach() noexcept;
    void Destroy() noexcept;
    bool IsNull() const noexcept { return m_hBitmap == nullptr; }

private:
    HBITMAP m_hBitmap;
};

}  // namespace ATL

using ATL::CImage;
