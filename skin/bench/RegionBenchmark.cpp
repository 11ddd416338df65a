// What building a window shape from its mask costs: a 400 x 300 elliptic
// 24-bit mask turned into a region (a) by CommonGuiLib::CreateRegionFromBitmap
// and (b) by a bare baseline in the same run: GetDIBits of the same bitmap,
// the opaque row runs collected, one ExtCreateRegion. Prints the best of
// several runs of each and their ratio; the goal is a ratio of at most 2,
// since a masked window is re-shaped at every resize.
//
//   region_benchmark.exe [runs, default 20]
#include "skin/commongui/RegionHelpers.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

const int kWidth = 400;
const int kHeight = 300;

HBITMAP MakeEllipseMask() {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, kHeight, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    RECT all = {0, 0, kWidth, kHeight};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
    ::Ellipse(dc, 0, 0, kWidth, kHeight);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

HRGN Baseline(HBITMAP bitmap) {
    const int stride = (kWidth * 3 + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * kHeight);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, kHeight, 1, 24, BI_RGB};
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, kHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    std::vector<RECT> runs;
    for (int y = 0; y < kHeight; ++y) {
        const BYTE* row = pixels.data() + static_cast<size_t>(kHeight - 1 - y) * stride;
        for (int x = 0; x < kWidth;) {
            while (x < kWidth && row[x * 3] == 255 && row[x * 3 + 1] == 255 && row[x * 3 + 2] == 255)
                ++x;
            const int start = x;
            while (x < kWidth && !(row[x * 3] == 255 && row[x * 3 + 1] == 255 && row[x * 3 + 2] == 255))
                ++x;
            if (x > start)
                runs.push_back(RECT{start, y, x, y + 1});
        }
    }
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* region = reinterpret_cast<RGNDATA*>(data.data());
    region->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(runs.size()), 0, {0, 0, kWidth, kHeight}};
    std::memcpy(region->Buffer, runs.data(), runs.size() * sizeof(RECT));
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region);
}

double BestMilliseconds(int runs, const std::function<void()>& work) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        work();
        ::QueryPerformanceCounter(&end);
        best = std::min(best, (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    CommonGuiLib::SharedBitmap mask = CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectBitmap>(MakeEllipseMask());

    HRGN reference = Baseline(mask->GetHandle());
    CommonGuiLib::SharedRegion ours = CommonGuiLib::CreateRegionFromBitmap(mask, RGB(255, 255, 255), false, 0);
    const bool same = !CommonGuiLib::IsNullGDIObject(ours) && ::EqualRgn(reference, ours->GetHandle());
    ::DeleteObject(reference);

    const double measured = BestMilliseconds(runs, [&] {
        CommonGuiLib::CreateRegionFromBitmap(mask, RGB(255, 255, 255), false, 0);
    });
    const double baseline = BestMilliseconds(runs, [&] { ::DeleteObject(Baseline(mask->GetHandle())); });
    std::printf("CreateRegionFromBitmap %dx%d ellipse: %.3f ms\n", kWidth, kHeight, measured);
    std::printf("baseline (GetDIBits, row runs, one ExtCreateRegion): %.3f ms\n", baseline);
    std::printf("ratio: %.2f (goal: at most 2)%s\n", baseline > 0 ? measured / baseline : 0.0,
                same ? "" : "  -- REGIONS DIFFER");
    return same ? 0 : 1;
}
