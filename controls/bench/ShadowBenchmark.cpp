// Whether the blurred shadow's cost grows with the blur: a gradient shadow
// over 400 x 300 pixels with a 63 x 63 blur and with a 3 x 3 blur, and a
// plain shadow as the bare baseline, each drawn a number of times on a
// memory DC. Prints the times and the ratio blur 63 / blur 3 (goal: 1.5 or
// less).
//
//   shadow_benchmark.exe [rounds, default 20]
#include "controls/drawing/DrawManager.h"
#include "controls/drawing/Section32.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

const int kWidth = 400;
const int kHeight = 300;

double Milliseconds(int rounds, const std::function<void()>& draw) {
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < rounds; ++i)
        draw();
    ::QueryPerformanceCounter(&end);
    return (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart / rounds;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    auto canvas = DrawLib::Section32::Create(kWidth, kHeight);
    auto mask = DrawLib::Section32::Create(kWidth, kHeight);
    if (!canvas || !mask) {
        std::printf("cannot make the sections\n");
        return 1;
    }
    // A grey mask with a white frame, as a shadow mask looks.
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            mask->At(x, y) = (x < 20 || y < 20 || x >= kWidth - 20 || y >= kHeight - 20) ? 0xFFFFFF : 0x7F7F7F;
    DrawLib::MemoryDC dc(canvas->Handle());
    CDrawManager manager;
    const auto shadow = [&](bool gradient, int blur) {
        return [&, gradient, blur] { manager.DrawShadow(dc.Get(), 0, 0, kWidth, kHeight, mask->Handle(), gradient, blur, blur); };
    };
    const double plain = Milliseconds(rounds, shadow(false, 0));
    const double blur3 = Milliseconds(rounds, shadow(true, 3));
    const double blur63 = Milliseconds(rounds, shadow(true, 63));
    std::printf("shadow over %d x %d pixels, %d rounds each\n", kWidth, kHeight, rounds);
    std::printf("plain shadow:          %8.2f ms\n", plain);
    std::printf("gradient shadow 3x3:   %8.2f ms\n", blur3);
    std::printf("gradient shadow 63x63: %8.2f ms\n", blur63);
    std::printf("ratio blur 63 / blur 3: %.2f (goal <= 1.5)\n", blur63 / blur3);
    return 0;
}
