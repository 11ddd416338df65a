#include "graphics/gdiplus/GdiplusStartupHolder.h"

#include <gdiplus.h>

#include <cstdlib>

namespace {

ULONG_PTR StartGdiplus() {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return 0;
    return token;
}

// The process-wide start-up, made before the program's entry and undone by
// an exit function, after the statics built later have let go of their pictures.
ULONG_PTR g_processGdiplusToken = 0;

void ShutdownProcessGdiplus() {
    if (g_processGdiplusToken) {
        Gdiplus::GdiplusShutdown(g_processGdiplusToken);
        g_processGdiplusToken = 0;
    }
}

struct ProcessGdiplusStartup {
    ProcessGdiplusStartup() {
        g_processGdiplusToken = StartGdiplus();
        std::atexit(&ShutdownProcessGdiplus);
    }
} g_processGdiplusStartup;

}  // namespace

bool IsProcessGdiplusStarted() noexcept {
    return g_processGdiplusToken != 0;
}

GdiplusStartupHolder::GdiplusStartupHolder() : m_token(0) {
    m_token = StartGdiplus();
}

GdiplusStartupHolder::~GdiplusStartupHolder() {
    if (m_token)
        Gdiplus::GdiplusShutdown(m_token);
}
