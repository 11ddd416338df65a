// What painting a layout costs: a window of 200 Rollover elements, each
// picture a 32-bit bitmap with alpha over a fill, painted whole into a memory
// canvas (a) by the layout renderer and (b) by a bare baseline in the same
// run: the same 200 AlphaBlend and FillRect calls on the same DC. Prints the
// best of several runs of each and their ratio; the goal is a ratio of at
// most 2, since every hover repaints through the renderer.
//
//   render_benchmark.exe [runs, default 20]
#include "graphics/commongui/SharedBitmaps.h"
#include "resources/resourcelib/ManagerFactory.h"
#include "skin/renderer/LayoutRenderer.h"
#include "skin/tests/FakeControlHost.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

const int kColumns = 20;
const int kRows = 10;
const int kBoxWidth = 30;
const int kBoxHeight = 20;
const int kWidth = kColumns * kBoxWidth;
const int kHeight = kRows * kBoxHeight;
const wchar_t kBitmapPath[] = L"alpha.bmp";

HBITMAP MakeAlphaBitmap() {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kBoxWidth, -kBoxHeight, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < kBoxWidth * kBoxHeight; ++i) {
        const DWORD alpha = (i * 7) % 256;
        pixels[i] = (alpha << 24) | ((alpha / 2) << 16) | ((alpha / 3) << 8) | (alpha / 4);  // premultiplied
    }
    return bitmap;
}

std::wstring Layout() {
    std::wstring elements;
    for (int i = 0; i < kColumns * kRows; ++i) {
        elements += L"<Element name=\"e" + std::to_wstring(i) + L"\" id=\"" + std::to_wstring(i) +
                    L"\" position=\"0,0,1,1\"><Visual type=\"Rollover\"><States><State name=\"out\" "
                    L"picture=\"cell\"/></States></Visual></Element>";
    }
    const std::wstring size = L"width=\"" + std::to_wstring(kBoxWidth) + L"\" height=\"" + std::to_wstring(kBoxHeight);
    const std::wstring position = L"position=\"0,0," + std::to_wstring(kBoxWidth) + L"," + std::to_wstring(kBoxHeight);
    return L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<LayoutLib><Windows><Window name=\"w\"><Elements>" + elements +
           L"</Elements></Window></Windows><Pictures><Picture name=\"cell\" " + size + L"\"><Fill color=\"#336699\" " +
           position + L"\"/><Bitmap path=\"" + kBitmapPath + L"\" " + position +
           L"\"/></Picture></Pictures></LayoutLib>";
}

double BestMilliseconds(int runs, const std::function<void()>& paint) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        paint();
        ::GdiFlush();
        ::QueryPerformanceCounter(&end);
        best = std::min(best, (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    }
    return best;
}

RECT Box(int i) {
    const int left = (i % kColumns) * kBoxWidth;
    const int top = (i / kColumns) * kBoxHeight;
    return RECT{left, top, left + kBoxWidth, top + kBoxHeight};
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    SkinTesting::FakeControlHost host;
    host.regions.Layout(kWidth, kHeight);
    for (int i = 0; i < kColumns * kRows; ++i)
        host.AddBox(i, Box(i));
    host.data.layoutManager = LayoutLib::CreateManager(Layout());
    host.data.resourceManager = ResourceLib::CreateManager();
    const CommonGuiLib::SharedBitmap bitmap = CommonGuiLib::MakeSharedBitmap(MakeAlphaBitmap(), false);
    // As the renderer keeps a skin file after its first load.
    host.data.bitmapCache[kBitmapPath] = bitmap;
    host.window = host.data.layoutManager->GetWindow(L"w");

    HDC screen = ::GetDC(nullptr);
    HDC target = ::CreateCompatibleDC(screen);
    HBITMAP canvasBitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ previous = ::SelectObject(target, canvasBitmap);
    CDC dc;
    dc.Attach(target);

    LayoutRenderer::RenderContext context;
    context.host = &host;
    const double renderer = BestMilliseconds(runs, [&] {
        LayoutRenderer::Paint(context, dc, nullptr, RECT{0, 0, kWidth, kHeight});
    });

    HDC source = ::CreateCompatibleDC(target);
    const double baseline = BestMilliseconds(runs, [&] {
        HBRUSH brush = ::CreateSolidBrush(RGB(0x33, 0x66, 0x99));
        HGDIOBJ selected = ::SelectObject(source, bitmap->GetHandle());
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        for (int i = 0; i < kColumns * kRows; ++i) {
            const RECT box = Box(i);
            ::FillRect(target, &box, brush);
            ::AlphaBlend(target, box.left, box.top, kBoxWidth, kBoxHeight, source, 0, 0, kBoxWidth, kBoxHeight, blend);
        }
        ::SelectObject(source, selected);
        ::DeleteObject(brush);
    });
    ::DeleteDC(source);

    dc.Detach();
    ::SelectObject(target, previous);
    ::DeleteObject(canvasBitmap);
    ::DeleteDC(target);

    std::printf("layout renderer: %.3f ms for %d elements\n", renderer, kColumns * kRows);
    std::printf("bare AlphaBlend and FillRect: %.3f ms\n", baseline);
    std::printf("ratio: %.2f (goal: at most 2)\n", baseline > 0 ? renderer / baseline : 0.0);
    return 0;
}
