#pragma once
// GDI+ start-up. GDI+ counts its start-ups: the process-wide one made before
// the program's entry keeps image decoding working until the exit functions
// run, and the application holds one more of its own for its lifetime.
#include <windows.h>

class GdiplusStartupHolder {
public:
    // Starts GDI+ (version 1, no debug callback, with its background thread
    // and external codecs). A failed start-up is not reported: pictures then
    // fail to load and come out null.
    GdiplusStartupHolder();
    // Shuts this start-up down.
    ~GdiplusStartupHolder();
    GdiplusStartupHolder(const GdiplusStartupHolder&) = delete;
    GdiplusStartupHolder& operator=(const GdiplusStartupHolder&) = delete;

    // 0 when GDI+ did not start.
    ULONG_PTR GetToken() const noexcept { return m_token; }

private:
    ULONG_PTR m_token;
};

// Whether the process-wide start-up made before the program's entry
// succeeded. Asking also links that start-up into every program that asks:
// the libraries are static, and an object file nobody refers to is left out.
bool IsProcessGdiplusStarted() noexcept;
