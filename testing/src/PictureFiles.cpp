#include "testing/PictureFiles.h"

#include <windows.h>

#include <gdiplus.h>
#include <objidl.h>
#include <shlwapi.h>

#include <cstring>

namespace Testing {
namespace {

template <class T>
void Append(std::string& bytes, const T& value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

std::string MakeBmp(int width, int height, const std::vector<Bgra>& pixels, int bitCount) {
    const int rowBytes = ((width * bitCount + 31) / 32) * 4;
    const bool withAlpha = bitCount == 32;
    BITMAPV5HEADER header = {};
    header.bV5Size = withAlpha ? sizeof(BITMAPV5HEADER) : sizeof(BITMAPINFOHEADER);
    header.bV5Width = width;
    header.bV5Height = height;  // bottom-up
    header.bV5Planes = 1;
    header.bV5BitCount = static_cast<WORD>(bitCount);
    header.bV5Compression = withAlpha ? BI_BITFIELDS : BI_RGB;
    header.bV5SizeImage = rowBytes * height;
    if (withAlpha) {
        header.bV5RedMask = 0x00FF0000;
        header.bV5GreenMask = 0x0000FF00;
        header.bV5BlueMask = 0x000000FF;
        header.bV5AlphaMask = 0xFF000000;
        header.bV5CSType = 0x73524742;  // LCS_sRGB, 'sRGB'
        header.bV5Intent = LCS_GM_IMAGES;
    }
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + header.bV5Size;
    file.bfSize = file.bfOffBits + header.bV5SizeImage;

    std::string bytes;
    Append(bytes, file);
    bytes.append(reinterpret_cast<const char*>(&header), header.bV5Size);
    for (int row = height - 1; row >= 0; --row) {
        std::string line;
        for (int column = 0; column < width; ++column) {
            const Bgra& p = pixels[row * width + column];
            line += static_cast<char>(p.blue);
            line += static_cast<char>(p.green);
            line += static_cast<char>(p.red);
            if (withAlpha)
                line += static_cast<char>(p.alpha);
        }
        line.resize(rowBytes, '\0');
        bytes += line;
    }
    return bytes;
}

bool FindPngEncoder(CLSID& encoder) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
        return false;
    std::vector<BYTE> buffer(size);
    Gdiplus::ImageCodecInfo* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

std::string EncodePng(int width, int height, const std::vector<Bgra>& pixels) {
    CLSID encoder = {};
    if (!FindPngEncoder(encoder))
        return std::string();
    // GDI+'s ARGB format is straight alpha, blue first in memory.
    std::vector<Bgra> copy(pixels);
    Gdiplus::Bitmap bitmap(width, height, width * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(copy.data()));
    IStream* stream = ::SHCreateMemStream(nullptr, 0);
    if (!stream)
        return std::string();
    std::string bytes;
    if (bitmap.Save(stream, &encoder, nullptr) == Gdiplus::Ok) {
        STATSTG stat = {};
        LARGE_INTEGER start = {};
        if (SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
            bytes.resize(static_cast<size_t>(stat.cbSize.QuadPart));
            ULONG read = 0;
            if (FAILED(stream->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read)) || read != bytes.size())
                bytes.clear();
        }
    }
    stream->Release();
    return bytes;
}

}  // namespace

std::string MakeBmp32(int width, int height, const std::vector<Bgra>& pixels) {
    return MakeBmp(width, height, pixels, 32);
}

std::string MakeBmp24(int width, int height, const std::vector<Bgra>& pixels) {
    return MakeBmp(width, height, pixels, 24);
}

std::string MakeIco(const std::vector<IconImage>& images) {
    std::string directory;
    Append(directory, static_cast<WORD>(0));  // reserved
    Append(directory, static_cast<WORD>(1));  // icon
    Append(directory, static_cast<WORD>(images.size()));
    std::string data;
    const DWORD firstOffset = 6 + 16 * static_cast<DWORD>(images.size());
    for (const IconImage& image : images) {
        const int size = image.size;
        const int maskRowBytes = ((size + 31) / 32) * 4;
        BITMAPINFOHEADER header = {};
        header.biSize = sizeof(header);
        header.biWidth = size;
        header.biHeight = size * 2;  // colour image and mask
        header.biPlanes = 1;
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        std::string entry;
        Append(entry, header);
        for (int i = 0; i < size * size; ++i) {
            entry += static_cast<char>(image.color.blue);
            entry += static_cast<char>(image.color.green);
            entry += static_cast<char>(image.color.red);
            entry += static_cast<char>(image.color.alpha);
        }
        entry.append(static_cast<size_t>(maskRowBytes) * size, '\0');  // all opaque

        Append(directory, static_cast<BYTE>(size >= 256 ? 0 : size));
        Append(directory, static_cast<BYTE>(size >= 256 ? 0 : size));
        Append(directory, static_cast<BYTE>(0));  // colour count
        Append(directory, static_cast<BYTE>(0));  // reserved
        Append(directory, static_cast<WORD>(1));  // planes
        Append(directory, static_cast<WORD>(32));
        Append(directory, static_cast<DWORD>(entry.size()));
        Append(directory, static_cast<DWORD>(firstOffset + data.size()));
        data += entry;
    }
    return directory + data;
}

std::string MakePng(int width, int height, const std::vector<Bgra>& pixels) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return std::string();
    std::string bytes = EncodePng(width, height, pixels);
    Gdiplus::GdiplusShutdown(token);
    return bytes;
}

}  // namespace Testing
