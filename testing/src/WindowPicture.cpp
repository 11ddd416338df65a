#include "testing/WindowPicture.h"

#include <fstream>

namespace Testing {

std::vector<Bgra> CaptureWindow(HWND hWnd, int& width, int& height) {
    RECT rect = {};
    width = height = 0;
    if (!::GetWindowRect(hWnd, &rect))
        return {};
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return {};
    ::UpdateWindow(hWnd);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<Bgra> pixels;
    if (bitmap && bits) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        if (::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY)) {
            ::GdiFlush();
            const Bgra* from = static_cast<const Bgra*>(bits);
            pixels.assign(from, from + static_cast<size_t>(width) * height);
            for (Bgra& pixel : pixels)
                pixel.alpha = 255;
        }
        ::SelectObject(memory, old);
    }
    if (bitmap)
        ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

std::wstring SaveWindowPicture(HWND hWnd, const std::wstring& name) {
    int width = 0, height = 0;
    const std::vector<Bgra> pixels = CaptureWindow(hWnd, width, height);
    if (pixels.empty())
        return {};
    const std::string png = MakePng(width, height, pixels);
    if (png.empty())
        return {};
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder(module);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    folder += L"pictures";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + name + L".png";
    std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
    file.write(png.data(), static_cast<std::streamsize>(png.size()));
    return file ? path : std::wstring();
}

}  // namespace Testing
