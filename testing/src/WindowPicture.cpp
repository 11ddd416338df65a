#include "testing/WindowPicture.h"

#include <fstream>

namespace Testing {
namespace {

// `width` x `height` pixels of `source` from (x, y), opaque.
std::vector<Bgra> CopyPixels(HDC source, int x, int y, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(source);
    std::vector<Bgra> pixels;
    if (bitmap && bits && memory) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        if (::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY)) {
            ::GdiFlush();
            const Bgra* from = static_cast<const Bgra*>(bits);
            pixels.assign(from, from + static_cast<size_t>(width) * height);
            for (Bgra& pixel : pixels)
                pixel.alpha = 255;
        }
        ::SelectObject(memory, old);
    }
    if (memory)
        ::DeleteDC(memory);
    if (bitmap)
        ::DeleteObject(bitmap);
    return pixels;
}

bool OfThisProcess(HWND hWnd) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    return process == ::GetCurrentProcessId();
}

// What the screen shows in `rect` (screen coordinates).
std::vector<Bgra> CaptureScreen(const RECT& rect) {
    HDC screen = ::GetDC(nullptr);
    std::vector<Bgra> pixels = CopyPixels(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<Bgra> Capture(HWND hWnd, bool wholeWindow, int& width, int& height) {
    width = height = 0;
    RECT rect = {};
    if (!(wholeWindow ? ::GetWindowRect(hWnd, &rect) : ::GetClientRect(hWnd, &rect)))
        return {};
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return {};
    // Children paint apart from their parent: what any of them still owes
    // is painted first.
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::vector<Bgra> pixels;
    if (OfThisProcess(hWnd)) {
        HDC dc = wholeWindow ? ::GetWindowDC(hWnd) : ::GetDC(hWnd);
        if (!dc)
            return {};
        pixels = CopyPixels(dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
        ::ReleaseDC(hWnd, dc);
    } else {
        // Another process's window draws into that process's surface: only
        // the screen shows it.
        if (!wholeWindow)
            ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        pixels = CaptureScreen(rect);
    }
    if (!pixels.empty()) {
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }
    return pixels;
}

// Writes pictures\<name>.png beside the executable; the path, or empty.
std::wstring SavePicture(const std::vector<Bgra>& pixels, int width, int height, const std::wstring& name) {
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

}  // namespace

std::vector<Bgra> CaptureWindow(HWND hWnd, int& width, int& height) {
    return Capture(hWnd, true, width, height);
}

std::vector<Bgra> CaptureClient(HWND hWnd, int& width, int& height) {
    return Capture(hWnd, false, width, height);
}

std::wstring SaveWindowPicture(HWND hWnd, const std::wstring& name) {
    int width = 0, height = 0;
    const std::vector<Bgra> pixels = CaptureWindow(hWnd, width, height);
    return SavePicture(pixels, width, height, name);
}

std::wstring SaveScreenPicture(HWND hWnd, const std::wstring& name) {
    RECT rect = {};
    if (!::GetWindowRect(hWnd, &rect) || rect.right <= rect.left || rect.bottom <= rect.top)
        return {};
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return SavePicture(CaptureScreen(rect), rect.right - rect.left, rect.bottom - rect.top, name);
}

}  // namespace Testing
