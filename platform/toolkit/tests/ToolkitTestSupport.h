#pragma once
// A top-level window that hosts command bars the way a frame does, and
// helpers to read a bar's pixels and keep them as a PNG under build/.
#include "toolkit/CommandBars.h"
#include "toolkit/CurrentTheme.h"

#include "graphics/tests/DibCanvas.h"
#include "testing/PictureFiles.h"

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace ToolkitTests {

using SkinTesting::DibCanvas;
using SkinTesting::Rgb;

// Dispatches the thread's messages until the condition holds or the time is up.
inline bool PumpUntil(bool (*condition)(void*), void* context, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            if (!AfxGetThread() || !AfxGetThread()->PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (condition(context))
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpPending() {
    PumpUntil([](void*) { return true; }, nullptr, 0);
}

// The bar's client area as PrintClient paints it, read back from a DIB.
inline std::unique_ptr<DibCanvas> CaptureBar(Toolkit::ToolBar& bar) {
    CRect client;
    bar.GetClientRect(&client);
    auto canvas = std::make_unique<DibCanvas>(client.Width(), client.Height());
    bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->Dc()), PRF_CLIENT);
    return canvas;
}

// Keeps a picture of what a test showed, in the test's working folder.
inline void WritePng(const DibCanvas& canvas, const std::string& name) {
    std::vector<Testing::Bgra> pixels;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const COLORREF color = canvas.Pixel(x, y);
            pixels.push_back({GetBValue(color), GetGValue(color), GetRValue(color), 255});
        }
    }
    std::ofstream(name, std::ios::binary) << Testing::MakePng(canvas.Width(), canvas.Height(), pixels);
}

}  // namespace ToolkitTests
