#pragma once
// Bytes of small picture files, made by the tests themselves: BMP and ICO by
// hand, PNG through GDI+'s encoder. Pixels are given row by row from the top.
#include <cstdint>
#include <string>
#include <vector>

namespace Testing {

struct Bgra {
    std::uint8_t blue, green, red, alpha;
};

// 32 bits per pixel with an alpha mask (BITMAPV5HEADER, BI_BITFIELDS).
std::string MakeBmp32(int width, int height, const std::vector<Bgra>& pixels);
// 24 bits per pixel, BI_RGB; alpha is dropped.
std::string MakeBmp24(int width, int height, const std::vector<Bgra>& pixels);

// One square image of an icon file: 32 bits per pixel, one colour, opaque.
struct IconImage {
    int size;
    Bgra color;
};
std::string MakeIco(const std::vector<IconImage>& images);

// A PNG with alpha, encoded by GDI+ (started and shut down inside the call).
// Empty when GDI+ fails.
std::string MakePng(int width, int height, const std::vector<Bgra>& pixels);

}  // namespace Testing
