#include "testing/ShippedPictures.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace Testing {

namespace {

// The masters lie beside the build's bin folder, where the tests run.
std::wstring MasterPath(const std::wstring& name) {
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder(module);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + L"..\\pictures\\masters\\" + name + L".bmp";
}

template <typename T>
T Read(const std::string& bytes, size_t at) {
    T value{};
    if (at + sizeof(T) <= bytes.size())
        std::memcpy(&value, bytes.data() + at, sizeof(T));
    return value;
}

std::string Describe(COLORREF color) {
    std::ostringstream out;
    out << Rgb{color};
    return out.str();
}

// The icon sizes every icon of ours holds.
const int kIconSizes[] = {16, 32, 48};

}  // namespace

MasterPicture LoadMasterPicture(const std::wstring& name) {
    std::ifstream file(MasterPath(name).c_str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    MasterPicture picture;
    // The build writes them plainly: file header, BITMAPINFOHEADER, bottom-up BGRA rows.
    const std::uint32_t offset = Read<std::uint32_t>(bytes, 10);
    const std::int32_t width = Read<std::int32_t>(bytes, 18);
    const std::int32_t height = Read<std::int32_t>(bytes, 22);
    const std::uint16_t bits = Read<std::uint16_t>(bytes, 28);
    if (bytes.compare(0, 2, "BM") != 0 || bits != 32 || width <= 0 || height <= 0 || width > 4096 || height > 4096 ||
        offset + static_cast<size_t>(width) * height * 4 > bytes.size())
        return picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        std::memcpy(&picture.pixels[static_cast<size_t>(y) * width],
                    bytes.data() + offset + static_cast<size_t>(height - 1 - y) * width * 4, static_cast<size_t>(width) * 4);
    return picture;
}

::testing::AssertionResult DrawnLikeMaster(const DibCanvas& canvas, int left, int top, const std::wstring& name,
                                           COLORREF background, int tolerance) {
    const MasterPicture master = LoadMasterPicture(name);
    const std::string label(name.begin(), name.end());
    if (!master.width)
        return ::testing::AssertionFailure() << "no master picture " << label;
    if (left + master.width > canvas.Width() || top + master.height > canvas.Height())
        return ::testing::AssertionFailure() << label << " does not fit the canvas";
    const int back[3] = {GetRValue(background), GetGValue(background), GetBValue(background)};
    for (int y = 0; y < master.height; ++y) {
        for (int x = 0; x < master.width; ++x) {
            const Bgra& pixel = master.pixels[static_cast<size_t>(y) * master.width + x];
            const int color[3] = {pixel.red, pixel.green, pixel.blue};
            int blended[3];
            for (int c = 0; c < 3; ++c)
                blended[c] = (color[c] * pixel.alpha + back[c] * (255 - pixel.alpha) + 127) / 255;
            const COLORREF expected = RGB(blended[0], blended[1], blended[2]);
            const COLORREF shown = canvas.Pixel(left + x, top + y);
            const int shownChannels[3] = {GetRValue(shown), GetGValue(shown), GetBValue(shown)};
            for (int c = 0; c < 3; ++c) {
                if (std::abs(shownChannels[c] - blended[c]) > tolerance)
                    return ::testing::AssertionFailure()
                           << label << " over " << Describe(background) << ": pixel (" << x << "," << y << ") is "
                           << Describe(shown) << ", its source shows " << Describe(expected) << " (alpha "
                           << int(pixel.alpha) << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult IconDrawnLikeMasters(HMODULE module, int id, const std::wstring& name) {
    const std::string label(name.begin(), name.end());
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* group = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!group)
        return ::testing::AssertionFailure() << "no icon " << id << " (" << label << ")";
    // The group's directory: six bytes, then fourteen per image.
    const std::string directory(reinterpret_cast<const char*>(group), ::SizeofResource(module, found));
    const int count = Read<std::uint16_t>(directory, 4);
    for (int size : kIconSizes) {
        bool present = false;
        for (int i = 0; i < count; ++i) {
            const size_t entry = 6 + static_cast<size_t>(i) * 14;
            if (Read<std::uint8_t>(directory, entry) == size && Read<std::uint16_t>(directory, entry + 6) == 32)
                present = true;
        }
        if (!present)
            return ::testing::AssertionFailure() << label << " has no 32-bit image of " << size << " pixels";

        HICON icon = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
        if (!icon)
            return ::testing::AssertionFailure() << label << " does not load at " << size << " pixels";
        const std::wstring master = name + L"-" + std::to_wstring(size);
        for (COLORREF background : {RGB(0x2E, 0x2E, 0x2E), RGB(0xF0, 0xF0, 0xF0)}) {
            DibCanvas canvas(size, size, background);
            ::DrawIconEx(canvas.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
            const ::testing::AssertionResult drawn = DrawnLikeMaster(canvas, 0, 0, master, background, 3);
            if (!drawn) {
                ::DestroyIcon(icon);
                return drawn;
            }
        }
        ::DestroyIcon(icon);
    }
    return ::testing::AssertionSuccess();
}

}  // namespace Testing
